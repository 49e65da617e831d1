#include "platform/codepage1254.h"

#include <QTest>

using namespace zelvan::platform;
using namespace Qt::Literals::StringLiterals;

class TestCodePage1254 : public QObject
{
    Q_OBJECT

private slots:
    void everyCodeRoundTrips();
    void turkishLetters_data();
    void turkishLetters();
    void missingCharactersBecomeQuestionMarks_data();
    void missingCharactersBecomeQuestionMarks();
};

void TestCodePage1254::everyCodeRoundTrips()
{
    QByteArray all;
    for (int code = 0; code < 256; ++code) {
        const char32_t ch = cp1254Char(quint8(code));
        QCOMPARE(cp1254Code(ch), code);
        all.append(char(code));
    }
    const QString text = fromCp1254(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(toCp1254(text), all);
    // The page's undefined codes stand for the C1 control of the same number.
    QCOMPARE(cp1254Char(0x81), char32_t(0x81));
    QCOMPARE(cp1254Char(0x9E), char32_t(0x9E));
}

void TestCodePage1254::turkishLetters_data()
{
    QTest::addColumn<QString>("letter");
    QTest::addColumn<int>("code");
    QTest::newRow("Ğ") << u"Ğ"_s << 0xD0;
    QTest::newRow("İ") << u"İ"_s << 0xDD;
    QTest::newRow("Ş") << u"Ş"_s << 0xDE;
    QTest::newRow("ğ") << u"ğ"_s << 0xF0;
    QTest::newRow("ı") << u"ı"_s << 0xFD;
    QTest::newRow("ş") << u"ş"_s << 0xFE;
    QTest::newRow("Ç") << u"Ç"_s << 0xC7;
    QTest::newRow("ü") << u"ü"_s << 0xFC;
    QTest::newRow("€") << u"€"_s << 0x80;
}

void TestCodePage1254::turkishLetters()
{
    QFETCH(QString, letter);
    QFETCH(int, code);
    QCOMPARE(toCp1254(letter), QByteArray(1, char(code)));
    QCOMPARE(fromCp1254(QByteArray(1, char(code))), letter);
}

void TestCodePage1254::missingCharactersBecomeQuestionMarks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    // Latin-1 letters whose places the Turkish letters took.
    QTest::newRow("Ð Ý Þ ð ý þ") << u"ÐÝÞðýþ"_s << QByteArray("??????");
    QTest::newRow("Greek") << u"aΩb"_s << QByteArray("a?b");
    QTest::newRow("one mark for a surrogate pair") << u"x😀y"_s << QByteArray("x?y");
    QTest::newRow("empty") << QString() << QByteArray();
}

void TestCodePage1254::missingCharactersBecomeQuestionMarks()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(toCp1254(text), bytes);
    for (char32_t ch : text.toUcs4()) {
        if (ch > 0x7F)
            QCOMPARE(cp1254Code(ch), -1);
    }
}

QTEST_GUILESS_MAIN(TestCodePage1254)
#include "tst_codepage1254.moc"

#include "platform/codepage1254.h"

#include <QTest>

using namespace zelvan::platform;
using namespace Qt::Literals::StringLiterals;

class TestCodePage1254 : public QObject
{
    Q_OBJECT

private slots:
    void everyCodeRoundTrips()
    {
        QByteArray all;
        for (int code = 0; code < 256; ++code) {
            QCOMPARE(cp1254Code(cp1254Char(quint8(code))), code);
            all.append(char(code));
        }
        QCOMPARE(toCp1254(fromCp1254(all)), all);
        // The page's undefined codes stand for the C1 control of the same number.
        QCOMPARE(cp1254Char(0x81), char32_t(0x81));
        QCOMPARE(cp1254Char(0x9E), char32_t(0x9E));
    }

    // Characters the page lacks become question marks.
    void texts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("Turkish letters and the euro") << u"ĞİŞğışÇü€"_s << QByteArray("\xD0\xDD\xDE\xF0\xFD\xFE\xC7\xFC\x80");
        // Latin-1 letters whose places the Turkish letters took.
        QTest::newRow("Ð Ý Þ ð ý þ") << u"ÐÝÞðýþ"_s << QByteArray("??????");
        QTest::newRow("Greek") << u"aΩb"_s << QByteArray("a?b");
        QTest::newRow("one mark for a surrogate pair") << u"x😀y"_s << QByteArray("x?y");
        QTest::newRow("empty") << QString() << QByteArray();
    }
    void texts()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(toCp1254(text), bytes);
        if (!bytes.contains('?'))
            QCOMPARE(fromCp1254(bytes), text);
    }
};

QTEST_GUILESS_MAIN(TestCodePage1254)
#include "tst_codepage1254.moc"

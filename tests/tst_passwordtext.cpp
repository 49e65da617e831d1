#include "login/passwordtext.h"
#include "platform/codepage1254.h"

#include <QTest>

using namespace zelvan;
using namespace Qt::Literals::StringLiterals;

namespace {
// The character of a code in code page 1254.
QString cp(int code)
{
    return platform::fromCp1254(QByteArray(1, char(code)));
}
} // namespace

class TestPasswordText : public QObject
{
    Q_OBJECT

private slots:
    void turkishUpperCase_data();
    void turkishUpperCase();
    void encodePassword_data();
    void encodePassword();
    void digitsNeverLoseAPosition();
    void lettersSurviveUpToTheirLastPosition_data();
    void lettersSurviveUpToTheirLastPosition();
    void resultNeverHoldsAQuote();
};

void TestPasswordText::turkishUpperCase_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("upper");
    QTest::newRow("ayşe") << u"ayşe"_s << u"AYŞE"_s;
    QTest::newRow("ılık") << u"ılık"_s << u"ILIK"_s;
    QTest::newRow("istanbul") << u"istanbul"_s << u"İSTANBUL"_s;
    QTest::newRow("Turkish letters without i") << u"çğöüş"_s << u"ÇĞÖÜŞ"_s;
    QTest::newRow("capitals stay") << u"İiIı"_s << u"İİII"_s;
    QTest::newRow("blanks kept") << u" ali "_s << u" ALİ "_s;
    QTest::newRow("one to one, with i") << u"ißi"_s << u"İßİ"_s;
    QTest::newRow("one to one, without i") << u"ß"_s << u"ß"_s;
    QTest::newRow("empty") << QString() << QString();
}

void TestPasswordText::turkishUpperCase()
{
    QFETCH(QString, text);
    QFETCH(QString, upper);
    QCOMPARE(TurkishUpperCase(text), upper);
}

void TestPasswordText::encodePassword_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("encoded");
    // a 97 -> 195 Ã, b 98 -> 198 Æ, c 99 -> 201 É
    QTest::newRow("abc") << u"abc"_s << cp(195) + cp(198) + cp(201);
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("all above 127") << u"çğışöüÇĞİŞÖÜ€"_s << QString();
    // '1' 49 -> 100 d; ç drops out but keeps its position; '2' 50 -> 104 h
    QTest::newRow("dropped positions count") << u"a1ç2"_s << cp(195) + u"dh"_s;
    // Characters the page lacks count as '?' (63): 2 * 63 + 1 = 127.
    QTest::newRow("missing character") << u"Ω"_s << cp(127);
    // Results above 127 are the page's own characters: 2 * 64 + 1 = 129, 2 * 65 + 2 = 132.
    QTest::newRow("into the upper half") << u"@A"_s << cp(129) + cp(132);
}

void TestPasswordText::encodePassword()
{
    QFETCH(QString, password);
    QFETCH(QString, encoded);
    QCOMPARE(EncodePassword(password), encoded);
}

void TestPasswordText::digitsNeverLoseAPosition()
{
    // 9 (57) is the largest digit: 2 * 57 + i stays within 255 up to position 141.
    const QString nines(50, u'9');
    const QString encoded = EncodePassword(nines);
    QCOMPARE(encoded.size(), 50);
    for (int i = 1; i <= 50; ++i)
        QCOMPARE(encoded.at(i - 1), cp(2 * 57 + i).at(0));
    QCOMPARE(EncodePassword(QString(141, u'9')).size(), 141);
    QCOMPARE(EncodePassword(QString(142, u'9')).size(), 141);
}

void TestPasswordText::lettersSurviveUpToTheirLastPosition_data()
{
    QTest::addColumn<QChar>("letter");
    QTest::addColumn<int>("lastPosition");
    QTest::newRow("z") << QChar(u'z') << 11;
    QTest::newRow("0") << QChar(u'0') << 159;
    QTest::newRow("A") << QChar(u'A') << 125;
}

void TestPasswordText::lettersSurviveUpToTheirLastPosition()
{
    QFETCH(QChar, letter);
    QFETCH(int, lastPosition);
    QCOMPARE(EncodePassword(QString(lastPosition + 5, letter)).size(), lastPosition);
}

void TestPasswordText::resultNeverHoldsAQuote()
{
    QString password;
    for (char16_t ch = 32; ch < 127; ++ch)
        password += QChar(ch);
    for (int shift = 0; shift < 50; ++shift) {
        const QString encoded = EncodePassword(password.mid(shift) + password.left(shift));
        QVERIFY(!encoded.isEmpty());
        QVERIFY(!encoded.contains(u'\''));
    }
}

QTEST_GUILESS_MAIN(TestPasswordText)
#include "tst_passwordtext.moc"

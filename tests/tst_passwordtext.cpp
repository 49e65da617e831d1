#include "login/passwordtext.h"
#include "platform/codepage1254.h"

#include <QTest>

using namespace zelvan;
using namespace Qt::Literals::StringLiterals;

namespace {
// The characters of `count` codes from `code` on, in code page 1254.
QString cp(int code, int count = 1)
{
    QByteArray codes;
    for (int i = 0; i < count; ++i)
        codes.append(char(code + i));
    return platform::fromCp1254(codes);
}
} // namespace

class TestPasswordText : public QObject
{
    Q_OBJECT

private slots:
    void turkishUpperCase()
    {
        QCOMPARE(TurkishUpperCase(u" ayşe ılık istanbul çğöüş İiIı ißi "_s), u" AYŞE ILIK İSTANBUL ÇĞÖÜŞ İİII İßİ "_s);
        QCOMPARE(TurkishUpperCase(QString()), QString());
    }

    void encodePassword_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("encoded");
        // a 97 -> 195 Ã, b 98 -> 198 Æ, c 99 -> 201 É
        QTest::newRow("abc") << u"abc"_s << cp(195) + cp(198) + cp(201);
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("Turkish letters drop") << u"çğışöüÇĞİŞÖÜ€"_s << QString();
        // '1' 49 -> 100 d; ç drops out but keeps its position; '2' 50 -> 104 h
        QTest::newRow("dropped positions count") << u"a1ç2"_s << cp(195) + u"dh"_s;
        // Characters the page lacks count as '?' (63): 2 * 63 + 1 = 127.
        QTest::newRow("missing character") << u"Ω"_s << cp(127);
        // Results above 127 are the page's own characters: 2 * 64 + 1 = 129, 2 * 65 + 2 = 132.
        QTest::newRow("into the upper half") << u"@A"_s << cp(129) + cp(132);
        // 2 * code + position must stay within 255: z (122) lasts up to position 11, 9 (57) up to 141.
        QTest::newRow("z up to position 11") << QString(16, u'z') << cp(245, 11);
        QTest::newRow("digits up to position 141") << QString(146, u'9') << cp(115, 141);
    }
    void encodePassword()
    {
        QFETCH(QString, password);
        QTEST(EncodePassword(password), "encoded");
    }

    void resultNeverHoldsAQuote()
    {
        QString password;
        for (char16_t ch = 32; ch < 127; ++ch)
            password += QChar(ch);
        for (int shift = 0; shift < 50; ++shift) {
            const QString encoded = EncodePassword(password.mid(shift) + password.left(shift));
            QVERIFY(!encoded.isEmpty() && !encoded.contains(u'\''));
        }
    }
};

QTEST_GUILESS_MAIN(TestPasswordText)
#include "tst_passwordtext.moc"

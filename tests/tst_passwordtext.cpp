#include "login/passwordtext.h"
#include "platform/codepage1254.h"

#include <QTest>

#include <numeric>

using namespace zelvan;
using namespace Qt::Literals::StringLiterals;

namespace {
// The characters of `count` codes from `code` on, in code page 1254.
QString cp(int code, int count = 1)
{
    QByteArray codes(count, 0);
    std::iota(codes.begin(), codes.end(), char(code));
    return platform::fromCp1254(codes);
}
} // namespace

class TestPasswordText : public QObject
{
    Q_OBJECT

private slots:
    // Each code becomes 2 * code + position.
    void encodePassword_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("encoded");
        QTest::newRow("Turkish letters drop") << u"çğışöüÇĞİŞÖÜ€"_s << QString();
        QTest::newRow("dropped positions count") << u"a1ç2"_s << cp(195) + u"dh"_s;
        QTest::newRow("missing character is '?'") << u"Ω"_s << cp(127);
        QTest::newRow("into the upper half") << u"@A"_s << cp(129) + cp(132);
        // Up to 255: z (122) lasts up to position 11, 9 (57) up to 141.
        QTest::newRow("z up to position 11") << QString(16, u'z') << cp(245, 11);
        QTest::newRow("digits up to position 141") << QString(146, u'9') << cp(115, 141);
    }
    void encodePassword()
    {
        QFETCH(QString, password);
        QTEST(EncodePassword(password), "encoded");
    }

    void upperCaseAndNoQuote()
    {
        QCOMPARE(TurkishUpperCase(u" ayşe ılık istanbul çğöüş İiIı ißi "_s), u" AYŞE ILIK İSTANBUL ÇĞÖÜŞ İİII İßİ "_s);
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

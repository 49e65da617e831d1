#include "login/passwordtext.h"
#include "runtime/codepage1254.h"

#include <QTest>

#include <numeric>

using namespace zelvan;
using namespace zelvan::login;
using namespace Qt::Literals::StringLiterals;

// The characters of `count` codes from `code` on, in code page 1254.
static QString cp(int code, int count = 1)
{
    QByteArray codes(count, 0);
    std::iota(codes.begin(), codes.end(), char(code));
    return runtime::fromCp1254(codes);
}

class TestPasswordText : public QObject
{
    Q_OBJECT

private slots:
    // Each code becomes 2 * code + position; Turkish letters drop, but their positions count;
    // a character the code page lacks is '?'. Codes past 255 drop, so no printable password encodes to a quote.
    void encodePasswordAndUpperCase()
    {
        QCOMPARE(EncodePassword(u"çğışöüÇĞİŞÖÜ€"_s), QString());
        QCOMPARE(EncodePassword(u"a1ç2"_s), cp(195) + u"dh"_s);
        QCOMPARE(EncodePassword(u"Ω@A"_s), cp(127) + cp(130) + cp(133));
        // Up to 255: z (122) lasts up to position 11, 9 (57) up to 141.
        QCOMPARE(EncodePassword(QString(16, u'z')), cp(245, 11));
        QCOMPARE(EncodePassword(QString(146, u'9')), cp(115, 141));
        QCOMPARE(TurkishUpperCase(u" ayşe ılık istanbul çğöüş İiIı ißi "_s), u" AYŞE ILIK İSTANBUL ÇĞÖÜŞ İİII İßİ "_s);
    }
};

QTEST_GUILESS_MAIN(TestPasswordText)
#include "tst_passwordtext.moc"

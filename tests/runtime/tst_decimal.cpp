#include "runtime/decimal.h"
#include "support/errcheck.h"

#include <QRandomGenerator>
#include <QTest>

#include <bit>
#include <limits>

using namespace zelvan;
using namespace zelvan::runtime;
using namespace Qt::Literals::StringLiterals;
using zelvan::test::textOrErr;

namespace {
const QString Max = u"79228162514264337593543950335"_s;  // 2^96 - 1

Decimal dec(const QString &text) { return Decimal::parse(text).value(); }

// An expression's value as text, or "err N". "x" parses x ("none": no number); "d x" converts
// the double x; "f x" is the floor, "with places" when it keeps a scale; "w x" gives the whole
// number and the Currency; "x r n" rounds to n places, half to even and half away from zero.
QString evaluate(const QString &expression)
{
    const QStringList t = expression.split(u' ');
    const QString &a = t.size() == 2 ? t[1] : t[0];
    return textOrErr([&] {
        switch (t.size() == 1 ? u'p' : t[t.size() - 2][0].unicode()) {
        case u'p': return Decimal::parse(a) ? Decimal::parse(a)->toString() : u"none"_s;
        case u'd': return Decimal::fromDouble(a.toDouble()).toString();
        case u'+': case u'-': case u'*':
            return (t[1] == u"+" ? dec(a) + dec(t[2]) : t[1] == u"-" ? dec(a) - dec(t[2]) : dec(a) * dec(t[2])).toString();
        case u'r': return dec(a).rounded(t[2].toInt()).toString() + u' '
                        + dec(a).rounded(t[2].toInt(), Decimal::Rounding::HalfAwayFromZero).toString();
        case u'f': return dec(a).floor().toString() + (dec(a).floor().scale() != 0 ? u" with places"_s : QString());
        default: return textOrErr([&] { return QString::number(dec(a).toInt64()); }) + u'|'
                      + textOrErr([&] { return dec(a).toCurrency().toString(); });
        }
    });
}
} // namespace

class TestDecimal : public QObject
{
    Q_OBJECT

private slots:
    void operations_data()
    {
        QTest::addColumn<QString>("expression"); QTest::addColumn<QString>("result");
        const auto row = [](QStringView expression, QStringView result) {
            QTest::newRow(qPrintable(expression.toString())) << expression.toString() << result.toString();
        };
        const QString minusMax = u"-"_s + Max;
        const auto d = [](double value) { return u"d "_s + QString::number(value, 'g', 17); };
        row(d(12081.79 / 56), u"215.74625"); row(d(-123456789012345678.0), u"-123456789012346000"); row(d(1e29), u"err 6");
        row(d(std::numeric_limits<double>::quiet_NaN()), u"err 6"); row(u"1.50", u"1.5"); row(u"-0.000", u"0");
        row(u"", u"none"); row(u"1e", u"none"); row(minusMax, minusMax); row(u"79228162514264337593543950336", u"err 6");
        // Half of the smallest step and three halves of it, to even.
        row(u"0.00000000000000000000000000005", u"0"); row(u"0.00000000000000000000000000015", u"0.0000000000000000000000000002");
        // 29 significant digits do not fit with the last digit in the fraction.
        row(u"7922816251426433759354395033.55", u"7922816251426433759354395034");
        row(u"12345678901234567890.1234567890123456", u"12345678901234567890.123456789");
        // 10.0000000000000000000000000001 needs more than 96 bits: one place goes, half to even.
        row(u"1 + 1E-28", u"1.0000000000000000000000000001"); row(u"10 + 5E-28", u"10");
        row(u"10 + 15E-28", u"10.000000000000000000000000002"); row(Max + u" + 0.4"_s, Max); row(Max + u" + 0.5"_s, u"err 6");
        row(u"79228162514264337593543950334 + 0.5", u"79228162514264337593543950334"); row(minusMax + u" - 1"_s, u"err 6");
        row(u"-0.5 * -4", u"2"); row(u"15E-14 * 1E-15", u"0.0000000000000000000000000002");
        // 9.9999999999999999999999999999 does not fit 96 bits; rounding carries.
        row(u"3.3333333333333333333333333333 * 3", u"10"); row(u"7922816251426433759354395033.5 * 10", Max);
        row(Max + u" * 1.0000000000000000000000000001"_s, u"err 6");
        row(u"1.0000000000000000000000000001 * 1.0000000000000000000000000001", u"1.0000000000000000000000000002");
        row(u"-2.5 r 0", u"-2 -3"); row(u"1.005 r 2", u"1 1.01"); row(u"9.9999 r 3", u"10 10"); row(u"f -2.00", u"-2");
        row(u"f -1E-28", u"-1"); row(u"f "_s + minusMax, minusMax); row(u"w 2.5", u"2|2.5"); row(u"w -0.00015", u"0|-0.0002");
        row(u"w 9223372036854775807", u"9223372036854775807|err 6"); row(u"w 9223372036854775807.5", u"err 6|err 6");
        row(u"w -9223372036854775808.5", u"-9223372036854775808|err 6"); row(u"w 922337203685477.58075", u"922337203685478|err 6");
        row(u"w 922337203685477.58074", u"922337203685478|922337203685477.5807");
        row(u"w -922337203685477.5808", u"-922337203685478|-922337203685477.5808");
    }
    void operations()
    {
        QFETCH(QString, expression);
        QTEST(evaluate(expression), "result");
        if (const QStringList t = expression.split(u' '); t.size() == 3 && t[1] == u"*")
            QTEST(evaluate(t[2] + u" * "_s + t[0]), "result");
    }

    // The shortcut for amounts must give what the full conversion gives, bit for bit,
    // and fail where it fails: for amounts of four places, amounts near the
    // fifteen-digit limit, halves of the last place and any bits. Then the other
    // conversions and comparisons.
    void conversions()
    {
        const double fixed[] = {-0.0, 0.00005, 0.00015, 5e-324, 99999999999.9999, 100000000000.0001, 922337203685477.5807,
                                1e300, std::numeric_limits<double>::quiet_NaN()};
        QRandomGenerator random(20260);
        for (int i = -9; i < 80000; ++i) {
            const qint64 raw = qint64(random.generate64() >> (i % 4 == 1 ? 14 : 20 + random.bounded(40)));
            const double value = i < 0 ? fixed[i + 9] : i % 4 == 2 ? std::bit_cast<double>(random.generate64())
                                 : (random.bounded(2) ? -1 : 1) * (double(raw) + (i % 4 == 3 ? 0.5 : 0.0)) / 10000.0;
            const QString at = QString::number(value, 'g', 17) + u": "_s;
            QCOMPARE(at + textOrErr([&] { return currencyFromDouble(value).toString(); }),
                     at + textOrErr([&] { return Decimal::fromDouble(value).toCurrency().toString(); }));
        }
        QCOMPARE(Decimal::fromParts(false, 0, 150, 2), Decimal::fromParts(false, 0, 15, 1));
        QCOMPARE(Decimal::fromParts(true, 0, 0, 3), Decimal()); QVERIFY(!Decimal::fromParts(true, 0, 0, 3).isNegative());
        QVERIFY(dec(u"-2"_s) < dec(u"-1.99"_s) && dec(u"1E-28"_s) > Decimal() && dec(Max) > dec(u"7922816251426433759354395033.5"_s));
        QCOMPARE(Decimal::fromCurrency(Currency::fromRaw(-15000)), dec(u"-1.5"_s));
        QCOMPARE(Decimal::fromInt64(std::numeric_limits<qint64>::min()).toString(), u"-9223372036854775808"_s);
        QCOMPARE(zelvan::test::errNumberOf([] { Decimal::fromParts(false, 0, 1, 29); }), ErrNo::Overflow);
        QCOMPARE(dec(u"-215.7463"_s).toDouble(), -215.7463); QCOMPARE(dec(Max).toDouble(), 7.922816251426434e28);
    }
};

QTEST_GUILESS_MAIN(TestDecimal)
#include "tst_decimal.moc"

#include "platform/decimal.h"
#include "support/errcheck.h"

#include <QRandomGenerator>
#include <QTest>

#include <bit>
#include <limits>
#include <optional>

using namespace zelvan::platform;
using namespace Qt::Literals::StringLiterals;
using zelvan::test::errNumberOf;
using zelvan::test::textOrErr;

namespace {
const QString Max = u"79228162514264337593543950335"_s;  // 2^96 - 1

Decimal dec(const QString &text) { return Decimal::parse(text).value(); }

// `a op b` as text, or "err N". p parses a; d converts the double a; r rounds a to
// b places, half to even and half away from zero; f is the floor; w gives the
// whole number and the Currency.
QString evaluate(const QString &a, QChar op, const QString &b)
{
    return textOrErr([&] {
        switch (op.unicode()) {
        case u'd': return Decimal::fromDouble(a.toDouble()).toString();
        case u'p': return Decimal::parse(a) ? Decimal::parse(a)->toString() : u"none"_s;
        case u'+': return (dec(a) + dec(b)).toString();
        case u'-': return (dec(a) - dec(b)).toString();
        case u'*': return (dec(a) * dec(b)).toString();
        case u'r':
            return dec(a).rounded(b.toInt(), Decimal::Rounding::HalfEven).toString() + u' '
                 + dec(a).rounded(b.toInt(), Decimal::Rounding::HalfAwayFromZero).toString();
        case u'f': {
            const Decimal floor = dec(a).floor();
            return floor.toString() + (floor.scale() != 0 ? u" with places"_s : QString());
        }
        default:
            return textOrErr([&] { return QString::number(dec(a).toInt64()); }) + u'|'
                 + textOrErr([&] { return dec(a).toCurrency().toString(); });
        }
    });
}

void row(const char *name, QStringView a, char16_t op, QStringView b, QStringView result)
{
    QTest::newRow(name) << a.toString() << QChar(op) << b.toString() << result.toString();
}
} // namespace

class TestDecimal : public QObject
{
    Q_OBJECT

private slots:
    void operations_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QChar>("op");
        QTest::addColumn<QString>("b");
        QTest::addColumn<QString>("result");
        const QString minusMax = u"-"_s + Max;
        const auto fromDouble = [](double value) { return QString::number(value, 'g', 17); };
        row("double 12081.79 / 56", fromDouble(12081.79 / 56), 'd', u"", u"215.74625");
        row("double rounded to 15 digits", fromDouble(-123456789012345678.0), 'd', u"", u"-123456789012346000");
        row("double too large", fromDouble(1e29), 'd', u"", u"err 6");
        row("double NaN", fromDouble(std::numeric_limits<double>::quiet_NaN()), 'd', u"", u"err 6");
        row("trailing zeros dropped", u"1.50", 'p', u"", u"1.5");
        row("negative zero", u"-0.000", 'p', u"", u"0");
        row("half of the smallest step to even", u"0.00000000000000000000000000005", 'p', u"", u"0");
        row("three halves of it to even", u"0.00000000000000000000000000015", 'p', u"",
            u"0.0000000000000000000000000002");
        row("maximum", minusMax, 'p', u"", minusMax);
        row("one above the maximum", u"79228162514264337593543950336", 'p', u"", u"err 6");
        // 29 significant digits do not fit with the last digit in the fraction.
        row("fraction dropped to fit", u"7922816251426433759354395033.55", 'p', u"", u"7922816251426433759354395034");
        row("digits beyond 29 rounded", u"12345678901234567890.1234567890123456", 'p', u"",
            u"12345678901234567890.123456789");
        row("empty", u"", 'p', u"", u"none");
        row("exponent without digits", u"1e", 'p', u"", u"none");
        row("exact at 28 places", u"1", '+', u"1E-28", u"1.0000000000000000000000000001");
        // 10.0000000000000000000000000001 needs more than 96 bits: one place goes.
        row("scale lowered, half to even down", u"10", '+', u"5E-28", u"10");
        row("scale lowered, half to even up", u"10", '+', u"15E-28", u"10.000000000000000000000000002");
        row("max + 0.4", Max, '+', u"0.4", Max);
        row("max - 1 + 0.5 to even", u"79228162514264337593543950334", '+', u"0.5", u"79228162514264337593543950334");
        row("max + 0.5 rounds out of range", Max, '+', u"0.5", u"err 6");
        row("-max - 1", minusMax, '-', u"1", u"err 6");
        row("signs", u"-0.5", '*', u"-4", u"2");
        row("1.5 steps to even", u"15E-14", '*', u"1E-15", u"0.0000000000000000000000000002");
        // 9.9999999999999999999999999999 does not fit 96 bits; rounding carries.
        row("rounding carries into the whole part", u"3.3333333333333333333333333333", '*', u"3", u"10");
        row("reaches max exactly", u"7922816251426433759354395033.5", '*', u"10", Max);
        row("just over max", Max, '*', u"1.0000000000000000000000000001", u"err 6");
        row("28 + 28 places", u"1.0000000000000000000000000001", '*', u"1.0000000000000000000000000001",
            u"1.0000000000000000000000000002");
        row("round -2.5", u"-2.5", 'r', u"0", u"-2 -3");
        row("round 1.005", u"1.005", 'r', u"2", u"1 1.01");
        row("round carries", u"9.9999", 'r', u"3", u"10 10");
        row("floor -2.00", u"-2.00", 'f', u"", u"-2");
        row("floor smallest negative", u"-1E-28", 'f', u"", u"-1");
        row("floor -max", minusMax, 'f', u"", minusMax);
        row("whole 2.5", u"2.5", 'w', u"", u"2|2.5");
        row("whole 3.5", u"3.5", 'w', u"", u"4|3.5");
        row("0.00015", u"-0.00015", 'w', u"", u"0|-0.0002");
        row("int64 max", u"9223372036854775807", 'w', u"", u"9223372036854775807|err 6");
        row("int64 max + 0.5 to even", u"9223372036854775807.5", 'w', u"", u"err 6|err 6");
        row("int64 min - 0.5 to even", u"-9223372036854775808.5", 'w', u"", u"-9223372036854775808|err 6");
        row("currency max", u"922337203685477.58074", 'w', u"", u"922337203685478|922337203685477.5807");
        row("rounds above currency max", u"922337203685477.58075", 'w', u"", u"922337203685478|err 6");
        row("currency min", u"-922337203685477.5808", 'w', u"", u"-922337203685478|-922337203685477.5808");
    }
    void operations()
    {
        QFETCH(QString, a);
        QFETCH(QChar, op);
        QFETCH(QString, b);
        QTEST(evaluate(a, op, b), "result");
        if (op == u'*')
            QTEST(evaluate(b, op, a), "result");
    }

    // The shortcut for amounts must give what the full conversion gives, bit for bit,
    // and fail where it fails: for amounts of four places, amounts near the
    // fifteen-digit limit, halves of the last place and any bits.
    void currencyFromDoubleAgreesWithDecimal()
    {
        QList<double> values{-0.0, 0.00005, 0.00015, 5e-324, 99999999999.9999, 100000000000.0001, 922337203685477.5807,
                             1e300, std::numeric_limits<double>::quiet_NaN()};
        QRandomGenerator random(20260);
        for (int i = 0; i < 80000; ++i) {
            const int kind = i % 4;
            const qint64 raw = qint64(random.generate64() >> (kind == 1 ? 14 : 20 + random.bounded(40)));
            const double sign = random.bounded(2) ? -1.0 : 1.0;
            values << (kind == 2 ? std::bit_cast<double>(random.generate64())
                                 : sign * (double(raw) + (kind == 3 ? 0.5 : 0.0)) / 10000.0);
        }
        for (const double value : std::as_const(values)) {
            const QString expected = textOrErr([&] { return Decimal::fromDouble(value).toCurrency().toString(); });
            if (const QString actual = textOrErr([&] { return currencyFromDouble(value).toString(); }); actual != expected)
                QFAIL(qPrintable(u"%1: %2 instead of %3"_s.arg(value, 0, 'g', 17).arg(actual, expected)));
        }
    }

    void comparisonsAndConversions()
    {
        QCOMPARE(Decimal::fromParts(false, 0, 150, 2), Decimal::fromParts(false, 0, 15, 1));
        QCOMPARE(Decimal::fromParts(true, 0, 0, 3), Decimal());
        QVERIFY(!Decimal::fromParts(true, 0, 0, 3).isNegative());
        QVERIFY(dec(u"-2"_s) < dec(u"-1.99"_s));
        QVERIFY(dec(Max) > dec(u"7922816251426433759354395033.5"_s));
        QVERIFY(dec(u"1E-28"_s) > Decimal());
        QCOMPARE(Decimal::fromCurrency(Currency::fromRaw(-15000)), dec(u"-1.5"_s));
        QCOMPARE(Decimal::fromInt64(std::numeric_limits<qint64>::min()).toString(), u"-9223372036854775808"_s);
        QCOMPARE(errNumberOf([] { Decimal::fromParts(false, 0, 1, 29); }), ErrNo::Overflow);
        QCOMPARE(dec(u"-215.7463"_s).toDouble(), -215.7463);
        QCOMPARE(dec(Max).toDouble(), 7.922816251426434e28);
    }
};

QTEST_GUILESS_MAIN(TestDecimal)
#include "tst_decimal.moc"

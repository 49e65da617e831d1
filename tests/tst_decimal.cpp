#include "platform/decimal.h"
#include "support/errcheck.h"

#include <QRandomGenerator>
#include <QTest>

#include <bit>
#include <optional>

#include <limits>

using namespace zelvan::platform;
using namespace Qt::Literals::StringLiterals;
using zelvan::test::errNumberOf;

namespace {
const QString Max = u"79228162514264337593543950335"_s;  // 2^96 - 1
const QString Overflow = u"overflow"_s;

Decimal dec(const QString &text)
{
    const std::optional<Decimal> value = Decimal::parse(text);
    if (!value)
        qFatal("not a number: %s", qPrintable(text));
    return *value;
}

// The result's text, or "overflow" when computing it overflows.
template <typename Compute>
QString outcome(Compute &&compute)
{
    QString text;
    if (errNumberOf([&] { text = compute().toString(); }) == ErrNo::Overflow)
        return Overflow;
    return text;
}
} // namespace

class TestDecimal : public QObject
{
    Q_OBJECT

private slots:
    void parseAndPrint_data();
    void parseAndPrint();
    void parseRejectsNonNumbers();
    void addition_data();
    void addition();
    void multiplication_data();
    void multiplication();
    void rounded_data();
    void rounded();
    void floor_data();
    void floor();
    void wholeAndCurrencyConversions_data();
    void wholeAndCurrencyConversions();
    void fromDoubleUsesFifteenDigits_data();
    void fromDoubleUsesFifteenDigits();
    void currencyFromDoubleAgreesWithDecimal_data();
    void currencyFromDoubleAgreesWithDecimal();
    void comparesValuesNotRepresentations();
    void toDouble();
};

void TestDecimal::parseAndPrint_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("printed");
    QTest::newRow("trailing zeros dropped") << u"1.50"_s << u"1.5"_s;
    QTest::newRow("negative zero") << u"-0.000"_s << u"0"_s;
    QTest::newRow("smallest step") << u"0.0000000000000000000000000001"_s
                                   << u"0.0000000000000000000000000001"_s;
    QTest::newRow("half of the smallest step to even") << u"0.00000000000000000000000000005"_s << u"0"_s;
    QTest::newRow("three halves of it to even") << u"0.00000000000000000000000000015"_s
                                                << u"0.0000000000000000000000000002"_s;
    QTest::newRow("maximum") << Max << Max;
    QTest::newRow("minimum") << u"-"_s + Max << u"-"_s + Max;
    QTest::newRow("one above the maximum") << u"79228162514264337593543950336"_s << Overflow;
    // 29 significant digits do not fit with the last digit in the fraction.
    QTest::newRow("fraction dropped to fit") << u"7922816251426433759354395033.55"_s
                                             << u"7922816251426433759354395034"_s;
    QTest::newRow("digits beyond 29 rounded") << u"12345678901234567890.1234567890123456"_s
                                              << u"12345678901234567890.123456789"_s;
    QTest::newRow("exponent") << u"1E28"_s << u"10000000000000000000000000000"_s;
    QTest::newRow("negative exponent") << u"-25e-3"_s << u"-0.025"_s;
    QTest::newRow("tiny") << u"1E-400"_s << u"0"_s;
    QTest::newRow("too large") << u"1E29"_s << Overflow;
}

void TestDecimal::parseAndPrint()
{
    QFETCH(QString, text);
    QFETCH(QString, printed);
    QCOMPARE(outcome([&] { return *Decimal::parse(text); }), printed);
}

void TestDecimal::parseRejectsNonNumbers()
{
    for (const QString &text : {u""_s, u"1,5"_s, u"x"_s, u"1e"_s, u"1.2.3"_s, u"- 1"_s})
        QVERIFY2(!Decimal::parse(text), qPrintable(text));
}

void TestDecimal::addition_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("subtract");
    QTest::addColumn<QString>("result");
    QTest::newRow("0.1 + 0.2") << u"0.1"_s << u"0.2"_s << false << u"0.3"_s;
    QTest::newRow("0.1 - 0.3") << u"0.1"_s << u"0.3"_s << true << u"-0.2"_s;
    QTest::newRow("-5 - -5") << u"-5"_s << u"-5"_s << true << u"0"_s;
    QTest::newRow("-1.25 + 2") << u"-1.25"_s << u"2"_s << false << u"0.75"_s;
    QTest::newRow("exact at 28 places") << u"1"_s << u"1E-28"_s << false << u"1.0000000000000000000000000001"_s;
    // 10.0000000000000000000000000001 needs more than 96 bits: one place goes.
    QTest::newRow("scale lowered") << u"10"_s << u"1E-28"_s << false << u"10"_s;
    QTest::newRow("scale lowered, half to even down") << u"10"_s << u"5E-28"_s << false << u"10"_s;
    QTest::newRow("scale lowered, half to even up") << u"10"_s << u"15E-28"_s << false
                                                    << u"10.000000000000000000000000002"_s;
    QTest::newRow("max + 0.4") << Max << u"0.4"_s << false << Max;
    QTest::newRow("max - 1 + 0.5 to even") << u"79228162514264337593543950334"_s << u"0.5"_s << false
                                           << u"79228162514264337593543950334"_s;
    QTest::newRow("max + 0.5 rounds out of range") << Max << u"0.5"_s << false << Overflow;
    QTest::newRow("max + 1") << Max << u"1"_s << false << Overflow;
    QTest::newRow("-max - 1") << u"-"_s + Max << u"1"_s << true << Overflow;
    QTest::newRow("max - max") << Max << Max << true << u"0"_s;
}

void TestDecimal::addition()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, subtract);
    QFETCH(QString, result);
    QCOMPARE(outcome([&] { return subtract ? dec(a) - dec(b) : dec(a) + dec(b); }), result);
}

void TestDecimal::multiplication_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<QString>("product");
    QTest::newRow("1.5 * 1.5") << u"1.5"_s << u"1.5"_s << u"2.25"_s;
    QTest::newRow("signs") << u"-0.5"_s << u"-4"_s << u"2"_s;
    QTest::newRow("below the smallest step") << u"1E-13"_s << u"1E-16"_s << u"0"_s;
    QTest::newRow("half the smallest step to even") << u"5E-14"_s << u"1E-15"_s << u"0"_s;
    QTest::newRow("1.5 steps to even") << u"15E-14"_s << u"1E-15"_s << u"0.0000000000000000000000000002"_s;
    // 9.9999999999999999999999999999 does not fit 96 bits; rounding carries.
    QTest::newRow("rounding carries into the whole part") << u"3.3333333333333333333333333333"_s << u"3"_s
                                                           << u"10"_s;
    QTest::newRow("max * -1") << Max << u"-1"_s << u"-"_s + Max;
    QTest::newRow("reaches max exactly") << u"7922816251426433759354395033.5"_s << u"10"_s << Max;
    QTest::newRow("just over max") << Max << u"1.0000000000000000000000000001"_s << Overflow;
    QTest::newRow("max * max") << Max << Max << Overflow;
    QTest::newRow("28 + 28 places") << u"1.0000000000000000000000000001"_s << u"1.0000000000000000000000000001"_s
                                    << u"1.0000000000000000000000000002"_s;
}

void TestDecimal::multiplication()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(QString, product);
    QCOMPARE(outcome([&] { return dec(a) * dec(b); }), product);
    QCOMPARE(outcome([&] { return dec(b) * dec(a); }), product);
}

void TestDecimal::rounded_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("places");
    QTest::addColumn<QString>("halfEven");
    QTest::addColumn<QString>("halfAway");
    QTest::newRow("2.5") << u"2.5"_s << 0 << u"2"_s << u"3"_s;
    QTest::newRow("3.5") << u"3.5"_s << 0 << u"4"_s << u"4"_s;
    QTest::newRow("-2.5") << u"-2.5"_s << 0 << u"-2"_s << u"-3"_s;
    QTest::newRow("1.005") << u"1.005"_s << 2 << u"1"_s << u"1.01"_s;
    QTest::newRow("above half") << u"1.00501"_s << 2 << u"1.01"_s << u"1.01"_s;
    QTest::newRow("below half") << u"1.00499"_s << 2 << u"1"_s << u"1"_s;
    QTest::newRow("rounds to zero") << u"-0.004"_s << 2 << u"0"_s << u"0"_s;
    QTest::newRow("already fewer places") << u"1.5"_s << 4 << u"1.5"_s << u"1.5"_s;
    QTest::newRow("carries") << u"9.9999"_s << 3 << u"10"_s << u"10"_s;
}

void TestDecimal::rounded()
{
    QFETCH(QString, value);
    QFETCH(int, places);
    QFETCH(QString, halfEven);
    QFETCH(QString, halfAway);
    QCOMPARE(dec(value).rounded(places, Decimal::Rounding::HalfEven).toString(), halfEven);
    QCOMPARE(dec(value).rounded(places, Decimal::Rounding::HalfAwayFromZero).toString(), halfAway);
    QVERIFY(dec(value).rounded(places).scale() <= places);
}

void TestDecimal::floor_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("floor");
    QTest::newRow("1.5") << u"1.5"_s << u"1"_s;
    QTest::newRow("-1.5") << u"-1.5"_s << u"-2"_s;
    QTest::newRow("-2") << u"-2.00"_s << u"-2"_s;
    QTest::newRow("0.9") << u"0.9"_s << u"0"_s;
    QTest::newRow("smallest negative") << u"-1E-28"_s << u"-1"_s;
    QTest::newRow("-max") << u"-"_s + Max << u"-"_s + Max;
}

void TestDecimal::floor()
{
    QFETCH(QString, value);
    QFETCH(QString, floor);
    const Decimal result = dec(value).floor();
    QCOMPARE(result.toString(), floor);
    QCOMPARE(result.scale(), 0);
}

void TestDecimal::wholeAndCurrencyConversions_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("asInt64");     // "overflow" when it overflows
    QTest::addColumn<QString>("asCurrency");  // likewise
    QTest::newRow("2.5") << u"2.5"_s << u"2"_s << u"2.5"_s;
    QTest::newRow("3.5") << u"3.5"_s << u"4"_s << u"3.5"_s;
    QTest::newRow("-2.5") << u"-2.5"_s << u"-2"_s << u"-2.5"_s;
    QTest::newRow("0.00005") << u"0.00005"_s << u"0"_s << u"0"_s;
    QTest::newRow("0.00015") << u"0.00015"_s << u"0"_s << u"0.0002"_s;
    QTest::newRow("-0.00025") << u"-0.00025"_s << u"0"_s << u"-0.0002"_s;
    QTest::newRow("int64 max") << u"9223372036854775807"_s << u"9223372036854775807"_s << Overflow;
    QTest::newRow("int64 max + 0.5 to even") << u"9223372036854775807.5"_s << Overflow << Overflow;
    QTest::newRow("int64 min - 0.5 to even") << u"-9223372036854775808.5"_s << u"-9223372036854775808"_s
                                             << Overflow;
    QTest::newRow("currency max") << u"922337203685477.58074"_s << u"922337203685478"_s
                                  << u"922337203685477.5807"_s;
    QTest::newRow("rounds above currency max") << u"922337203685477.58075"_s << u"922337203685478"_s
                                               << Overflow;
    QTest::newRow("currency min") << u"-922337203685477.5808"_s << u"-922337203685478"_s
                                  << u"-922337203685477.5808"_s;
}

void TestDecimal::wholeAndCurrencyConversions()
{
    QFETCH(QString, value);
    QFETCH(QString, asInt64);
    QFETCH(QString, asCurrency);
    QString whole;
    if (errNumberOf([&] { whole = QString::number(dec(value).toInt64()); }) == ErrNo::Overflow)
        whole = Overflow;
    QCOMPARE(whole, asInt64);
    QCOMPARE(outcome([&] { return dec(value).toCurrency(); }), asCurrency);
}

void TestDecimal::fromDoubleUsesFifteenDigits_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("0.1") << 0.1 << u"0.1"_s;
    QTest::newRow("0.1 + 0.2") << 0.1 + 0.2 << u"0.3"_s;
    QTest::newRow("1/3") << 1.0 / 3 << u"0.333333333333333"_s;
    QTest::newRow("12081.79 / 56") << 12081.79 / 56 << u"215.74625"_s;
    QTest::newRow("rounded to 15 digits") << 123456789012345678.0 << u"123456789012346000"_s;
    QTest::newRow("negative") << -2.5 << u"-2.5"_s;
    QTest::newRow("below the smallest step") << 1e-30 << u"0"_s;
    QTest::newRow("too large") << 1e29 << Overflow;
    QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << Overflow;
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << Overflow;
}

void TestDecimal::fromDoubleUsesFifteenDigits()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(outcome([&] { return Decimal::fromDouble(value); }), text);
}

void TestDecimal::currencyFromDoubleAgreesWithDecimal_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("amounts of four places") << 0;
    QTest::newRow("amounts near the fifteen-digit limit") << 1;
    QTest::newRow("any bits") << 2;
    QTest::newRow("halves of the last place") << 3;
}

// The shortcut for amounts must give what the full conversion gives, bit for
// bit, and fail where it fails.
void TestDecimal::currencyFromDoubleAgreesWithDecimal()
{
    QFETCH(int, kind);
    QRandomGenerator random(20260 + quint32(kind));
    QList<double> values{0.0, -0.0, 1e-5, 0.00005, 0.00015, 5e-324, 1e14, 99999999999.9999, 100000000000.0001,
                         922337203685477.5807, 1e300, std::numeric_limits<double>::quiet_NaN()};
    for (int i = 0; i < 20000; ++i) {
        const qint64 raw = qint64(random.generate64() >> (kind == 1 ? 14 : 20 + random.bounded(40)));
        const double sign = random.bounded(2) ? -1.0 : 1.0;
        switch (kind) {
        case 0:
        case 1: values << sign * double(raw) / 10000.0; break;
        case 2: values << std::bit_cast<double>(random.generate64()); break;
        default: values << sign * (double(raw) + 0.5) / 10000.0; break;
        }
    }
    for (const double value : std::as_const(values)) {
        std::optional<Currency> expected;
        std::optional<Currency> actual;
        const qint32 expectedErr = errNumberOf([&] { expected = Decimal::fromDouble(value).toCurrency(); });
        const qint32 actualErr = errNumberOf([&] { actual = currencyFromDouble(value); });
        QCOMPARE(actualErr, expectedErr);
        if (expected != actual)
            QFAIL(qPrintable(u"%1: %2 instead of %3"_s.arg(value, 0, 'g', 17).arg(actual->toString(), expected->toString())));
    }
}

void TestDecimal::comparesValuesNotRepresentations()
{
    QCOMPARE(Decimal::fromParts(false, 0, 150, 2), Decimal::fromParts(false, 0, 15, 1));
    QCOMPARE(Decimal::fromParts(true, 0, 0, 3), Decimal());
    QVERIFY(!Decimal::fromParts(true, 0, 0, 3).isNegative());
    QVERIFY(dec(u"-1"_s) < dec(u"0.5"_s));
    QVERIFY(dec(u"-2"_s) < dec(u"-1.99"_s));
    QVERIFY(dec(Max) > dec(u"7922816251426433759354395033.5"_s));
    QVERIFY(dec(u"1E-28"_s) > Decimal());
    QCOMPARE(Decimal::fromCurrency(Currency::fromRaw(-15000)), dec(u"-1.5"_s));
    QCOMPARE(Decimal::fromInt64(std::numeric_limits<qint64>::min()).toString(), u"-9223372036854775808"_s);
    QCOMPARE(errNumberOf([] { Decimal::fromParts(false, 0, 1, 29); }), ErrNo::Overflow);
}

void TestDecimal::toDouble()
{
    QCOMPARE(dec(u"0.1"_s).toDouble(), 0.1);
    QCOMPARE(dec(u"-215.7463"_s).toDouble(), -215.7463);
    QCOMPARE(dec(Max).toDouble(), 7.922816251426434e28);
    QCOMPARE(dec(u"1E-28"_s).toDouble(), 1e-28);
}

QTEST_GUILESS_MAIN(TestDecimal)
#include "tst_decimal.moc"

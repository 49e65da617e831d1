#include "platform/currency.h"
#include "support/errcheck.h"

#include <QTest>

#include <limits>

using namespace zelvan::platform;
using namespace Qt::Literals::StringLiterals;
using zelvan::test::errNumberOf;

namespace {
constexpr qint64 MaxRaw = std::numeric_limits<qint64>::max();
constexpr qint64 MinRaw = std::numeric_limits<qint64>::min();
} // namespace

class TestCurrency : public QObject
{
    Q_OBJECT

private slots:
    void fromDoubleRoundsTheExactBinaryValue_data();
    void fromDoubleRoundsTheExactBinaryValue();
    void fromDoubleOverflows_data();
    void fromDoubleOverflows();
    void additionOverflowsAtTheEdges_data();
    void additionOverflowsAtTheEdges();
    void negationOfTheMinimumOverflows();
    void multiplication_data();
    void multiplication();
    void parse_data();
    void parse();
    void toStringIsPlain_data();
    void toStringIsPlain();
    void toDoubleIsNearest();
    void compareExactSeesTheDoublesBinaryValue_data();
    void compareExactSeesTheDoublesBinaryValue();
    void fromIntChecksTheRange();
};

void TestCurrency::fromDoubleRoundsTheExactBinaryValue_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<qint64>("raw");
    // value * 10000 in floating point would give 2157462.5 and round to even.
    QTest::newRow("12081.79 / 56") << 12081.79 / 56 << qint64(2157463);
    // The double 0.00005 lies just above the half.
    QTest::newRow("0.00005 above half") << 0.00005 << qint64(1);
    QTest::newRow("-0.00005 above half") << -0.00005 << qint64(-1);
    QTest::newRow("2.5E-5 rounds to zero") << 2.5E-5 << qint64(0);
    // The double 0.00025 lies above the half; 0.00025 * 10000 is exactly 2.5.
    QTest::newRow("0.00025 above half") << 0.00025 << qint64(3);
    QTest::newRow("0.00015 below half") << 0.00015 << qint64(1);
    QTest::newRow("1/32 exact half to even down") << 0.03125 << qint64(312);
    QTest::newRow("3/32 exact half to even up") << 0.09375 << qint64(938);
    QTest::newRow("-3/32 exact half to even up") << -0.09375 << qint64(-938);
    QTest::newRow("smallest subnormal") << 5e-324 << qint64(0);
    QTest::newRow("negative zero") << -0.0 << qint64(0);
    QTest::newRow("largest that fits") << 922337203685477.5 << qint64(9223372036854775000);
    QTest::newRow("most negative that fits") << -922337203685477.5 << qint64(-9223372036854775000);
    QTest::newRow("2^53") << 9007199254740992.0 / 16 << qint64(5629499534213120000);
}

void TestCurrency::fromDoubleRoundsTheExactBinaryValue()
{
    QFETCH(double, value);
    QFETCH(qint64, raw);
    QCOMPARE(Currency::fromDouble(value).raw(), raw);
}

void TestCurrency::fromDoubleOverflows_data()
{
    QTest::addColumn<double>("value");
    QTest::newRow("just above the maximum") << 922337203685477.6;  // 922337203685477.625
    QTest::newRow("just below the minimum") << -922337203685477.6;
    QTest::newRow("large") << 1e300;
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity();
    QTest::newRow("-infinity") << -std::numeric_limits<double>::infinity();
    QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN();
}

void TestCurrency::fromDoubleOverflows()
{
    QFETCH(double, value);
    QCOMPARE(errNumberOf([&] { Currency::fromDouble(value); }), ErrNo::Overflow);
}

void TestCurrency::additionOverflowsAtTheEdges_data()
{
    QTest::addColumn<qint64>("a");
    QTest::addColumn<qint64>("b");
    QTest::addColumn<bool>("subtract");
    QTest::addColumn<qint64>("sum");  // ignored when it overflows
    QTest::addColumn<bool>("overflows");
    QTest::newRow("max + smallest") << MaxRaw << qint64(1) << false << qint64(0) << true;
    QTest::newRow("max + -smallest") << MaxRaw << qint64(-1) << false << MaxRaw - 1 << false;
    QTest::newRow("min + -smallest") << MinRaw << qint64(-1) << false << qint64(0) << true;
    QTest::newRow("min + max") << MinRaw << MaxRaw << false << qint64(-1) << false;
    QTest::newRow("min - smallest") << MinRaw << qint64(1) << true << qint64(0) << true;
    QTest::newRow("max - -smallest") << MaxRaw << qint64(-1) << true << qint64(0) << true;
    QTest::newRow("0 - min") << qint64(0) << MinRaw << true << qint64(0) << true;
    QTest::newRow("-1 - max") << qint64(-1) << MaxRaw << true << MinRaw << false;
}

void TestCurrency::additionOverflowsAtTheEdges()
{
    QFETCH(qint64, a);
    QFETCH(qint64, b);
    QFETCH(bool, subtract);
    QFETCH(qint64, sum);
    QFETCH(bool, overflows);
    const Currency x = Currency::fromRaw(a);
    const Currency y = Currency::fromRaw(b);
    Currency result;
    const qint32 err = errNumberOf([&] { result = subtract ? x - y : x + y; });
    QCOMPARE(err, overflows ? ErrNo::Overflow : 0);
    if (!overflows)
        QCOMPARE(result.raw(), sum);
}

void TestCurrency::negationOfTheMinimumOverflows()
{
    QCOMPARE(errNumberOf([] { -Currency::fromRaw(MinRaw); }), ErrNo::Overflow);
    QCOMPARE(errNumberOf([] { Currency::fromRaw(MinRaw).abs(); }), ErrNo::Overflow);
    QCOMPARE((-Currency::fromRaw(MaxRaw)).raw(), MinRaw + 1);
}

void TestCurrency::multiplication_data()
{
    QTest::addColumn<qint64>("a");
    QTest::addColumn<qint64>("b");
    QTest::addColumn<qint64>("product");  // ignored when it overflows
    QTest::addColumn<bool>("overflows");
    QTest::newRow("1.5 * 1.5") << qint64(15000) << qint64(15000) << qint64(22500) << false;
    QTest::newRow("0.0001 * 0.5 half to even down") << qint64(1) << qint64(5000) << qint64(0) << false;
    QTest::newRow("0.0003 * 0.5 half to even up") << qint64(3) << qint64(5000) << qint64(2) << false;
    QTest::newRow("-0.0003 * 0.5") << qint64(-3) << qint64(5000) << qint64(-2) << false;
    QTest::newRow("0.0001 * 0.6 above half") << qint64(1) << qint64(6000) << qint64(1) << false;
    QTest::newRow("-0.0001 * -0.4") << qint64(-1) << qint64(-4000) << qint64(0) << false;
    QTest::newRow("max * 1") << MaxRaw << qint64(10000) << MaxRaw << false;
    QTest::newRow("max * -1") << MaxRaw << qint64(-10000) << MinRaw + 1 << false;
    QTest::newRow("min * 1") << MinRaw << qint64(10000) << MinRaw << false;
    QTest::newRow("min * -1") << MinRaw << qint64(-10000) << qint64(0) << true;
    QTest::newRow("max * max") << MaxRaw << MaxRaw << qint64(0) << true;
    QTest::newRow("min * min") << MinRaw << MinRaw << qint64(0) << true;
    // 30370004.9997^2 = 922337203681802.99700009 fits; 30370005^2 does not.
    QTest::newRow("square just fits") << qint64(303700049997) << qint64(303700049997)
                                      << qint64(9223372036818029970) << false;
    QTest::newRow("square just overflows") << qint64(303700050000) << qint64(303700050000)
                                           << qint64(0) << true;
    // Products above 2^64 that come back into range after the division.
    QTest::newRow("wide intermediate") << qint64(5000000000000000000) << qint64(15000)
                                       << qint64(7500000000000000000) << false;
    QTest::newRow("min * 0.5") << MinRaw << qint64(5000) << qint64(-4611686018427387904) << false;
}

void TestCurrency::multiplication()
{
    QFETCH(qint64, a);
    QFETCH(qint64, b);
    QFETCH(qint64, product);
    QFETCH(bool, overflows);
    Currency result;
    QCOMPARE(errNumberOf([&] { result = Currency::fromRaw(a) * Currency::fromRaw(b); }),
             overflows ? ErrNo::Overflow : 0);
    if (!overflows)
        QCOMPARE(result.raw(), product);

    // The path for compilers without a 128-bit type agrees.
    qint64 portable = 0;
    QCOMPARE(detail::multiplyRawPortable(a, b, portable), !overflows);
    if (!overflows)
        QCOMPARE(portable, product);
}

void TestCurrency::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isNumber");
    QTest::addColumn<bool>("overflows");
    QTest::addColumn<qint64>("raw");
    QTest::newRow("blanks around") << u"  12.5 "_s << true << false << qint64(125000);
    QTest::newRow("plus sign") << u"+7"_s << true << false << qint64(70000);
    QTest::newRow("point first") << u".5"_s << true << false << qint64(5000);
    QTest::newRow("point last") << u"5."_s << true << false << qint64(50000);
    QTest::newRow("exponent") << u"1.5E-2"_s << true << false << qint64(150);
    QTest::newRow("exponent lower case") << u"1e3"_s << true << false << qint64(10000000);
    QTest::newRow("half to even down") << u"0.00005"_s << true << false << qint64(0);
    QTest::newRow("half to even up") << u"0.00015"_s << true << false << qint64(2);
    QTest::newRow("negative half") << u"-0.00015"_s << true << false << qint64(-2);
    QTest::newRow("just above half") << u"0.0000500000000000000000000000000000000001"_s
                                     << true << false << qint64(1);
    QTest::newRow("maximum") << u"922337203685477.5807"_s << true << false << MaxRaw;
    QTest::newRow("minimum") << u"-922337203685477.5808"_s << true << false << MinRaw;
    QTest::newRow("above maximum") << u"922337203685477.5808"_s << true << true << qint64(0);
    QTest::newRow("rounds above maximum") << u"922337203685477.58075"_s << true << true << qint64(0);
    QTest::newRow("1E15") << u"1E15"_s << true << true << qint64(0);
    QTest::newRow("tiny") << u"1E-400"_s << true << false << qint64(0);
    QTest::newRow("huge exponent") << u"1E99999999999"_s << true << true << qint64(0);
    QTest::newRow("empty") << QString() << false << false << qint64(0);
    QTest::newRow("blanks only") << u"   "_s << false << false << qint64(0);
    QTest::newRow("comma") << u"1,5"_s << false << false << qint64(0);
    QTest::newRow("inner blank") << u"1 000"_s << false << false << qint64(0);
    QTest::newRow("exponent without digits") << u"1e"_s << false << false << qint64(0);
    QTest::newRow("two signs") << u"--1"_s << false << false << qint64(0);
    QTest::newRow("point alone") << u"."_s << false << false << qint64(0);
    QTest::newRow("word") << u"abc"_s << false << false << qint64(0);
}

void TestCurrency::parse()
{
    QFETCH(QString, text);
    QFETCH(bool, isNumber);
    QFETCH(bool, overflows);
    QFETCH(qint64, raw);
    std::optional<Currency> value;
    QCOMPARE(errNumberOf([&] { value = Currency::parse(text); }), overflows ? ErrNo::Overflow : 0);
    if (overflows)
        return;
    QCOMPARE(value.has_value(), isNumber);
    if (isNumber)
        QCOMPARE(value->raw(), raw);
}

void TestCurrency::toStringIsPlain_data()
{
    QTest::addColumn<qint64>("raw");
    QTest::addColumn<QString>("text");
    QTest::newRow("fraction trimmed") << qint64(-125000) << u"-12.5"_s;
    QTest::newRow("zero") << qint64(0) << u"0"_s;
    QTest::newRow("whole") << qint64(100000000) << u"10000"_s;
    QTest::newRow("smallest") << qint64(-1) << u"-0.0001"_s;
    QTest::newRow("inner zeros kept") << qint64(10203) << u"1.0203"_s;
    QTest::newRow("maximum") << MaxRaw << u"922337203685477.5807"_s;
    QTest::newRow("minimum") << MinRaw << u"-922337203685477.5808"_s;
}

void TestCurrency::toStringIsPlain()
{
    QFETCH(qint64, raw);
    QFETCH(QString, text);
    QCOMPARE(Currency::fromRaw(raw).toString(), text);
    QCOMPARE(Currency::parse(text)->raw(), raw);
}

void TestCurrency::toDoubleIsNearest()
{
    QCOMPARE(Currency::fromRaw(2157463).toDouble(), 215.7463);
    QCOMPARE(Currency::fromRaw(-1).toDouble(), -0.0001);
    QCOMPARE(Currency::fromRaw(MaxRaw).toDouble(), 922337203685477.5807);
    QCOMPARE(Currency::fromRaw(MinRaw).toDouble(), -922337203685477.5808);
}

void TestCurrency::compareExactSeesTheDoublesBinaryValue_data()
{
    QTest::addColumn<qint64>("raw");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("order");  // -1, 0, 1; 2 for unordered
    // The double 0.1 is slightly above one tenth.
    QTest::newRow("0.1 vs 0.1") << qint64(1000) << 0.1 << -1;
    QTest::newRow("-0.1 vs -0.1") << qint64(-1000) << -0.1 << 1;
    QTest::newRow("0.5 vs 0.5") << qint64(5000) << 0.5 << 0;
    QTest::newRow("0 vs -0.0") << qint64(0) << -0.0 << 0;
    QTest::newRow("0 vs tiny") << qint64(0) << 5e-324 << -1;
    QTest::newRow("0 vs -tiny") << qint64(0) << -5e-324 << 1;
    QTest::newRow("max vs 1e300") << MaxRaw << 1e300 << -1;
    QTest::newRow("min vs -1e300") << MinRaw << -1e300 << 1;
    QTest::newRow("min vs its double") << MinRaw << -922337203685477.5808 << 1;
    QTest::newRow("vs infinity") << qint64(0) << std::numeric_limits<double>::infinity() << -1;
    QTest::newRow("vs NaN") << qint64(0) << std::numeric_limits<double>::quiet_NaN() << 2;
}

void TestCurrency::compareExactSeesTheDoublesBinaryValue()
{
    QFETCH(qint64, raw);
    QFETCH(double, value);
    QFETCH(int, order);
    const std::partial_ordering result = Currency::fromRaw(raw).compareExact(value);
    const int actual = result == std::partial_ordering::unordered ? 2 : result < 0 ? -1 : result > 0 ? 1 : 0;
    QCOMPARE(actual, order);
}

void TestCurrency::fromIntChecksTheRange()
{
    QCOMPARE(Currency::fromInt(922337203685477).raw(), qint64(9223372036854770000));
    QCOMPARE(Currency::fromInt(-922337203685477).raw(), qint64(-9223372036854770000));
    QCOMPARE(errNumberOf([] { Currency::fromInt(922337203685478); }), ErrNo::Overflow);
    QCOMPARE(errNumberOf([] { Currency::fromInt(-922337203685478); }), ErrNo::Overflow);
}

QTEST_GUILESS_MAIN(TestCurrency)
#include "tst_currency.moc"

#include "runtime/currency.h"
#include "support/errcheck.h"

#include <QTest>

#include <limits>

using namespace zelvan;
using namespace zelvan::runtime;
using namespace Qt::Literals::StringLiterals;
using zelvan::test::textOrErr;

namespace {
constexpr qint64 MaxRaw = std::numeric_limits<qint64>::max();
constexpr qint64 MinRaw = std::numeric_limits<qint64>::min();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
const QString Overflow = u"err 6"_s;

QString raw(qint64 value) { return QString::number(value); }

// The raw value (ten-thousandths) that `compute` gives, or "err 6".
template <typename Compute>
QString rawOrErr(Compute &&compute)
{
    return textOrErr([&] { return raw(compute().raw()); });
}
} // namespace

class TestCurrency : public QObject
{
    Q_OBJECT

private slots:
    // Operands and results are raw values. Exact products rounded half to even; the path for compilers without
    // a 128-bit type agrees.
    void arithmetic_data()
    {
        QTest::addColumn<qint64>("a");
        QTest::addColumn<QChar>("operation");
        QTest::addColumn<qint64>("b");
        QTest::addColumn<QString>("result");
        QTest::newRow("top plus one") << MaxRaw << QChar(u'+') << qint64(1) << Overflow;
        QTest::newRow("bottom minus top") << MinRaw << QChar(u'-') << MaxRaw << Overflow;
        QTest::newRow("down to the bottom") << qint64(-1) << QChar(u'-') << MaxRaw << raw(MinRaw);
        QTest::newRow("half down to even") << qint64(1) << QChar(u'*') << qint64(5000) << u"0"_s;
        QTest::newRow("half up to even") << qint64(-3) << QChar(u'*') << qint64(5000) << u"-2"_s;
        QTest::newRow("bottom times -1") << MinRaw << QChar(u'*') << qint64(-10000) << Overflow;
        // 30370004.9997^2 = 922337203681802.99700009 fits; 30370005^2 does not.
        QTest::newRow("largest square") << qint64(303700049997) << QChar(u'*') << qint64(303700049997) << u"9223372036818029970"_s;
        QTest::newRow("square too large") << qint64(303700050000) << QChar(u'*') << qint64(303700050000) << Overflow;
        // Above 2^64 before the division, in range after it.
        QTest::newRow("wide product") << qint64(5000000000000000000) << QChar(u'*') << qint64(15000) << u"7500000000000000000"_s;
    }
    void arithmetic()
    {
        QFETCH(qint64, a);
        QFETCH(QChar, operation);
        QFETCH(qint64, b);
        const Currency x = Currency::fromRaw(a);
        const Currency y = Currency::fromRaw(b);
        QTEST(rawOrErr([&] { return operation == u'+' ? x + y : operation == u'-' ? x - y : x * y; }), "result");
        if (operation != u'*')
            return;
        qint64 portable = 0;
        const bool fits = detail::multiplyRawPortable(a, b, portable);
        QTEST(fits ? raw(portable) : Overflow, "result");
    }

    // The bottom has no positive counterpart; whole numbers fit up to the top.
    void edges()
    {
        QCOMPARE(rawOrErr([] { return Currency::fromRaw(MinRaw).abs(); }), Overflow);
        QCOMPARE(Currency::fromInt(922337203685477).raw(), 9223372036854770000);
        QCOMPARE(rawOrErr([] { return Currency::fromInt(922337203685478); }), Overflow);
    }

    // "none": no number.
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("raw");
        QTest::newRow("exponent") << u"1.5e-2"_s << u"150"_s;
        QTest::newRow("half down to even") << u"0.00005"_s << u"0"_s;
        QTest::newRow("half up to even") << u"-0.00015"_s << u"-2"_s;
        QTest::newRow("just above half") << u"0.0000500000000000000000000000000000000001"_s << u"1"_s;
        QTest::newRow("rounds above the top") << u"922337203685477.58075"_s << Overflow;
        QTest::newRow("huge exponent") << u"1E99999999999"_s << Overflow;
        QTest::newRow("exponent without digits") << u"1e"_s << u"none"_s;
    }
    void parse()
    {
        QFETCH(QString, text);
        QTEST(textOrErr([&] { return Currency::parse(text) ? raw(Currency::parse(text)->raw()) : u"none"_s; }), "raw");
    }

    // The double's exact binary value, rounded half to even.
    void fromDouble_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        // value * 10000 in floating point would give 2157462.5 and round to even.
        QTest::newRow("exact, not scaled") << 12081.79 / 56 << u"215.7463"_s;
        QTest::newRow("0.00005 lies above the half") << -0.00005 << u"-0.0001"_s;
        QTest::newRow("exact half down") << 0.03125 << u"0.0312"_s;
        QTest::newRow("above the top") << 922337203685477.6 << Overflow;  // 922337203685477.625
        QTest::newRow("NaN") << NaN << Overflow;
    }
    void fromDouble()
    {
        QFETCH(double, value);
        QTEST(textOrErr([&] { return Currency::fromDouble(value).toString(); }), "text");
    }

    void textAndDouble_data()
    {
        QTest::addColumn<qint64>("raw");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("trailing zeros dropped") << qint64(-125000) << u"-12.5"_s << -12.5;
        QTest::newRow("inner zero kept") << qint64(10203) << u"1.0203"_s << 1.0203;
        QTest::newRow("bottom") << MinRaw << u"-922337203685477.5808"_s << -922337203685477.5808;
    }
    void textAndDouble()
    {
        QFETCH(qint64, raw);
        QTEST(Currency::fromRaw(raw).toString(), "text");
        QTEST(Currency::fromRaw(raw).toDouble(), "value");
    }
};

QTEST_GUILESS_MAIN(TestCurrency)
#include "tst_currency.moc"

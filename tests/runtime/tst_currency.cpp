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
    // Operands and results are raw values. Exact products rounded half to even. An overflowing sum of figures runs
    // end to end (tst_badinput).
    void arithmetic_data()
    {
        QTest::addColumn<qint64>("a");
        QTest::addColumn<QChar>("operation");
        QTest::addColumn<qint64>("b");
        QTest::addColumn<QString>("result");
        QTest::newRow("bottom minus top") << MinRaw << QChar(u'-') << MaxRaw << Overflow;
        QTest::newRow("down to the bottom") << qint64(-1) << QChar(u'-') << MaxRaw << raw(MinRaw);
        QTest::newRow("half down to even") << qint64(1) << QChar(u'*') << qint64(5000) << u"0"_s;
        QTest::newRow("half up to even") << qint64(-3) << QChar(u'*') << qint64(5000) << u"-2"_s;
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
    }

    // "none": no number. Exponents and halves also reach Currency from text in the fuzz corpus replay, checked
    // against Decimal.
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("raw");
        QTest::newRow("half down to even") << u"0.00005"_s << u"0"_s;
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
        // value * 10000 in floating point would give exactly -0.5 and round to even.
        QTest::newRow("0.00005 lies above the half") << -0.00005 << u"-0.0001"_s;
        QTest::newRow("exact half down") << 0.03125 << u"0.0312"_s;
        QTest::newRow("above the top") << 922337203685477.6 << Overflow;  // 922337203685477.625
    }
    void fromDouble()
    {
        QFETCH(double, value);
        QTEST(textOrErr([&] { return Currency::fromDouble(value).toString(); }), "text");
    }

    // The bottom has no positive counterpart. Other amounts' texts (trailing zeros dropped, inner zeros kept) are
    // the stock valuation's and the TDS runs' results.
    void bottomTextAndDouble()
    {
        QCOMPARE(Currency::fromRaw(MinRaw).toString(), u"-922337203685477.5808"_s);
        QCOMPARE(Currency::fromRaw(MinRaw).toDouble(), -922337203685477.5808);
    }
};

QTEST_GUILESS_MAIN(TestCurrency)
#include "tst_currency.moc"

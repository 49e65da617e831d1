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
const QString Overflow = u"err 6"_s;

Decimal dec(const QString &text) { return Decimal::parse(text).value(); }
} // namespace

class TestDecimal : public QObject
{
    Q_OBJECT

private slots:
    // Texts the number grammar takes (its edges are Currency's test); the value as text, or "err 6".
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("value");
        QTest::newRow("no minus zero") << u"-0.000"_s << u"0"_s;
        QTest::newRow("2^96") << u"79228162514264337593543950336"_s << Overflow;
        QTest::newRow("three halves of it, to even") << u"0.00000000000000000000000000015"_s << u"0.0000000000000000000000000002"_s;
        // 29 significant digits do not fit with the last digit in the fraction.
        QTest::newRow("29 digits") << u"7922816251426433759354395033.55"_s << u"7922816251426433759354395034"_s;
    }
    void parse()
    {
        QFETCH(QString, text);
        QTEST(textOrErr([&] { return dec(text).toString(); }), "value");
    }

    // The double rounded to 15 significant digits first.
    void fromDouble_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("15 digits of the quotient") << 12081.79 / 56 << u"215.74625"_s;
        QTest::newRow("too large") << 1e29 << Overflow;
    }
    void fromDouble()
    {
        QFETCH(double, value);
        QTEST(textOrErr([&] { return Decimal::fromDouble(value).toString(); }), "text");
    }

    // A product is the same both ways round.
    void arithmetic_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QChar>("operation");
        QTest::addColumn<QString>("b");
        QTest::addColumn<QString>("result");
        // 10.0000000000000000000000000001 needs more than 96 bits: one place goes, half to even.
        QTest::newRow("place dropped, half down") << u"10"_s << QChar(u'+') << u"5E-28"_s << u"10"_s;
        QTest::newRow("place dropped, half up") << u"10"_s << QChar(u'+') << u"15E-28"_s << u"10.000000000000000000000000002"_s;
        // 9.9999999999999999999999999999 does not fit 96 bits; rounding carries.
        QTest::newRow("rounding carries") << u"3.3333333333333333333333333333"_s << QChar(u'*') << u"3"_s << u"10"_s;
        QTest::newRow("product above the top") << Max << QChar(u'*') << u"1.0000000000000000000000000001"_s << Overflow;
        QTest::newRow("wide product rounded") << u"1.0000000000000000000000000001"_s << QChar(u'*')
                                              << u"1.0000000000000000000000000001"_s << u"1.0000000000000000000000000002"_s;
    }
    void arithmetic()
    {
        QFETCH(QString, a);
        QFETCH(QChar, operation);
        QFETCH(QString, b);
        const auto apply = [&](const Decimal &x, const Decimal &y) {
            return textOrErr([&] { return (operation == u'+' ? x + y : operation == u'-' ? x - y : x * y).toString(); });
        };
        QTEST(apply(dec(a), dec(b)), "result");
        if (operation == u'*')
            QTEST(apply(dec(b), dec(a)), "result");
    }

    // The program rounds to a column's scale, half to even.
    void rounded_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("places");
        QTest::addColumn<QString>("halfToEven");
        QTest::newRow("negative half") << u"-2.5"_s << 0 << u"-2"_s;
        QTest::newRow("carry into the whole part") << u"9.9999"_s << 3 << u"10"_s;
    }
    void rounded()
    {
        QFETCH(QString, value);
        QFETCH(int, places);
        QTEST(dec(value).rounded(places).toString(), "halfToEven");
    }

    // Both round half to even; "err 6" when the value does not fit.
    void toInt64AndCurrency_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("int64");
        QTest::addColumn<QString>("currency");
        QTest::newRow("half") << u"2.5"_s << u"2"_s << u"2.5"_s;
        QTest::newRow("half of the last place") << u"-0.00015"_s << u"0"_s << u"-0.0002"_s;
        QTest::newRow("half above the int64 top") << u"9223372036854775807.5"_s << Overflow << Overflow;
        QTest::newRow("half above the Currency top") << u"922337203685477.58075"_s << u"922337203685478"_s << Overflow;
    }
    void toInt64AndCurrency()
    {
        QFETCH(QString, value);
        QTEST(textOrErr([&] { return QString::number(dec(value).toInt64()); }), "int64");
        QTEST(textOrErr([&] { return dec(value).toCurrency().toString(); }), "currency");
    }

    // The shortcut for amounts must give what the full conversion gives, bit for bit, and fail where it
    // fails: for amounts of four places, amounts near the fifteen-digit limit, halves of the last place
    // and any bits.
    void currencyFromDouble()
    {
        const double fixed[] = {-0.0, 0.00005, 0.00015, 5e-324, 99999999999.9999, 100000000000.0001, 922337203685477.5807,
                                1e300, std::numeric_limits<double>::quiet_NaN()};
        QRandomGenerator random(20260);
        for (int i = -9; i < 80000; ++i) {
            const qint64 raw = qint64(random.generate64() >> (i % 4 == 1 ? 14 : 20 + random.bounded(40)));
            const double value = i < 0        ? fixed[i + 9]
                                 : i % 4 == 2 ? std::bit_cast<double>(random.generate64())
                                              : (random.bounded(2) ? -1 : 1) * (double(raw) + (i % 4 == 3 ? 0.5 : 0.0)) / 10000.0;
            const QString at = QString::number(value, 'g', 17) + u": "_s;
            QCOMPARE(at + textOrErr([&] { return runtime::currencyFromDouble(value).toString(); }),
                     at + textOrErr([&] { return Decimal::fromDouble(value).toCurrency().toString(); }));
        }
    }

    void otherConversionsAndOrder()
    {
        QCOMPARE(Decimal::fromParts(false, 0, 150, 2), Decimal::fromParts(false, 0, 15, 1));
        QVERIFY(dec(u"-2"_s) < dec(u"-1.99"_s));
        QCOMPARE(Decimal::fromCurrency(Currency::fromRaw(-15000)), dec(u"-1.5"_s));
        QCOMPARE(dec(u"-215.7463"_s).toDouble(), -215.7463);
    }
};

QTEST_GUILESS_MAIN(TestDecimal)
#include "tst_decimal.moc"

#include "platform/currency.h"
#include "support/errcheck.h"

#include <QTest>

#include <limits>

using namespace zelvan::platform;
using namespace Qt::Literals::StringLiterals;
using zelvan::test::textOrErr;

namespace {
constexpr qint64 MaxRaw = std::numeric_limits<qint64>::max();
constexpr qint64 MinRaw = std::numeric_limits<qint64>::min();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
} // namespace

class TestCurrency : public QObject
{
    Q_OBJECT

private slots:
    // On raw values: + - * of a and b, n negates a, a is Abs(a), i is fromInt(a).
    // On texts: p parses to a raw value ("none": no number), d converts the
    // double the text holds, s prints the raw value the text holds, v is its double.
    void operations_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QChar>("op");
        QTest::addColumn<QString>("b");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, qint64 a, char16_t op, qint64 b, const QString &raw) {
            QTest::newRow(name) << QString::number(a) << QChar(op) << QString::number(b) << raw;
        };
        const auto text = [](const char *name, const QString &input, char16_t op, const QString &expected) {
            QTest::newRow(name) << input << QChar(op) << QString() << expected;
        };
        const QString overflow = u"err 6"_s;
        row("max + smallest", MaxRaw, '+', 1, overflow);
        row("min + max", MinRaw, '+', MaxRaw, u"-1"_s);
        row("min - smallest", MinRaw, '-', 1, overflow);
        row("-1 - max", -1, '-', MaxRaw, QString::number(MinRaw));
        row("-min", MinRaw, 'n', 0, overflow);
        row("Abs(min)", MinRaw, 'a', 0, overflow);
        row("0.0001 * 0.5 half to even down", 1, '*', 5000, u"0"_s);
        row("-0.0003 * 0.5 half to even up", -3, '*', 5000, u"-2"_s);
        row("max * -1", MaxRaw, '*', -10000, QString::number(MinRaw + 1));
        row("min * -1", MinRaw, '*', -10000, overflow);
        // 30370004.9997^2 = 922337203681802.99700009 fits; 30370005^2 does not.
        row("square just fits", 303700049997, '*', 303700049997, u"9223372036818029970"_s);
        row("square just overflows", 303700050000, '*', 303700050000, overflow);
        // Products above 2^64 that come back into range after the division.
        row("wide intermediate", 5000000000000000000, '*', 15000, u"7500000000000000000"_s);
        row("min * 0.5", MinRaw, '*', 5000, u"-4611686018427387904"_s);
        row("largest whole number", 922337203685477, 'i', 0, u"9223372036854770000"_s);
        row("whole number too large", 922337203685478, 'i', 0, overflow);
        const auto number = [](double value) { return QString::number(value, 'g', 17); };
        text("blanks around", u"  12.5 "_s, 'p', u"125000"_s);
        text("point first", u".5"_s, 'p', u"5000"_s);
        text("exponent", u"1.5e-2"_s, 'p', u"150"_s);
        text("half to even down", u"0.00005"_s, 'p', u"0"_s);
        text("negative half to even up", u"-0.00015"_s, 'p', u"-2"_s);
        text("just above half", u"0.0000500000000000000000000000000000000001"_s, 'p', u"1"_s);
        text("minimum", u"-922337203685477.5808"_s, 'p', QString::number(MinRaw));
        text("rounds above maximum", u"922337203685477.58075"_s, 'p', u"err 6"_s);
        text("huge exponent", u"1E99999999999"_s, 'p', u"err 6"_s);
        text("comma", u"1,5"_s, 'p', u"none"_s);
        text("exponent without digits", u"1e"_s, 'p', u"none"_s);
        text("point alone", u"."_s, 'p', u"none"_s);
        // value * 10000 in floating point would give 2157462.5 and round to even.
        text("12081.79 / 56", number(12081.79 / 56), 'd', u"215.7463"_s);
        // The double 0.00005 lies just above the half; 0.00015 below it.
        text("0.00005 above half", number(-0.00005), 'd', u"-0.0001"_s);
        text("0.00015 below half", number(0.00015), 'd', u"0.0001"_s);
        text("1/32 exact half to even down", number(0.03125), 'd', u"0.0312"_s);
        text("3/32 exact half to even up", number(-0.09375), 'd', u"-0.0938"_s);
        text("largest that fits", number(922337203685477.5), 'd', u"922337203685477.5"_s);
        text("just above the maximum", number(922337203685477.6), 'd', u"err 6"_s);  // 922337203685477.625
        text("NaN", number(NaN), 'd', u"err 6"_s);
        text("fraction trimmed", u"-125000"_s, 's', u"-12.5"_s);
        text("inner zeros kept", u"10203"_s, 's', u"1.0203"_s);
        text("maximum", QString::number(MaxRaw), 's', u"922337203685477.5807"_s);
        // c compares exactly with the double's binary value: -1, 0, 1; 2 for unordered.
        const auto compare = [&](const char *name, qint64 raw, double value, const char16_t *order) {
            QTest::newRow(name) << QString::number(raw) << QChar(u'c') << number(value) << QString::fromUtf16(order);
        };
        compare("0.1 vs 0.1", 1000, 0.1, u"-1");  // the double 0.1 is slightly above one tenth
        compare("-0.1 vs -0.1", -1000, -0.1, u"1");
        compare("0.5 vs 0.5", 5000, 0.5, u"0");
        compare("min vs its double", MinRaw, -922337203685477.5808, u"1");
        compare("vs infinity", 0, std::numeric_limits<double>::infinity(), u"-1");
        compare("vs NaN", 0, NaN, u"2");
        text("nearest double", u"2157463"_s, 'v', number(215.7463));
        text("nearest double to min", QString::number(MinRaw), 'v', number(-922337203685477.5808));
    }
    void operations()
    {
        QFETCH(QString, a);
        QFETCH(QChar, op);
        QFETCH(QString, b);
        QFETCH(QString, expected);
        const Currency x = Currency::fromRaw(a.toLongLong());
        const Currency y = Currency::fromRaw(b.toLongLong());
        QCOMPARE(textOrErr([&] {
                     switch (op.unicode()) {
                     case u'p': return Currency::parse(a) ? QString::number(Currency::parse(a)->raw()) : u"none"_s;
                     case u'd': return Currency::fromDouble(a.toDouble()).toString();
                     case u's': return x.toString();
                     case u'v': return QString::number(x.toDouble(), 'g', 17);
                     case u'c': {
                         const std::partial_ordering order = x.compareExact(b.toDouble());
                         return QString::number(order == std::partial_ordering::unordered ? 2 : order < 0 ? -1 : order > 0);
                     }
                     case u'i': return QString::number(Currency::fromInt(a.toLongLong()).raw());
                     }
                     return QString::number((op == u'+'   ? x + y
                                             : op == u'-' ? x - y
                                             : op == u'*' ? x * y
                                             : op == u'n' ? -x
                                                          : x.abs()).raw());
                 }),
                 expected);
        if (op == u'*') {  // the path for compilers without a 128-bit type agrees
            qint64 portable = 0;
            const bool fits = detail::multiplyRawPortable(a.toLongLong(), b.toLongLong(), portable);
            QCOMPARE(fits ? QString::number(portable) : u"err 6"_s, expected);
        }
    }
};

QTEST_GUILESS_MAIN(TestCurrency)
#include "tst_currency.moc"

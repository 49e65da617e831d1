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
QString number(double value) { return QString::number(value, 'g', 17); }
} // namespace

class TestCurrency : public QObject
{
    Q_OBJECT

private slots:
    // On raw values: + - * of a and b, n negates a, a is Abs(a), i is fromInt(a), c compares a
    // exactly with the double b: -1, 0, 1; 2 for unordered. On texts: p parses to a raw value
    // ("none": no number), d converts the double the text holds, s prints the raw value the
    // text holds, v is its double.
    void operations_data()
    {
        QTest::addColumn<QString>("a"); QTest::addColumn<QChar>("op"); QTest::addColumn<QString>("b");
        QTest::addColumn<QString>("expected");
        const auto raw = [](qint64 a, char16_t op, qint64 b, QStringView expected) {
            QTest::addRow("%lld %c %lld", a, char(op), b) << QString::number(a) << QChar(op) << QString::number(b)
                                                          << expected.toString();
        };
        const auto text = [](char16_t op, const QString &input, QStringView expected, const QString &b = {}) {
            QTest::addRow("%c '%s' %s", char(op), qPrintable(input), qPrintable(b)) << input << QChar(op) << b
                                                                                   << expected.toString();
        };
        const auto overflow = u"err 6";
        raw(MaxRaw, '+', 1, overflow); raw(MinRaw, '+', MaxRaw, u"-1"); raw(MinRaw, '-', 1, overflow);
        raw(-1, '-', MaxRaw, QString::number(MinRaw)); raw(MinRaw, 'n', 0, overflow); raw(MinRaw, 'a', 0, overflow);
        // Halves to even, down and up.
        raw(1, '*', 5000, u"0"); raw(-3, '*', 5000, u"-2"); raw(MaxRaw, '*', -10000, QString::number(MinRaw + 1));
        raw(MinRaw, '*', -10000, overflow);
        // 30370004.9997^2 = 922337203681802.99700009 fits; 30370005^2 does not.
        raw(303700049997, '*', 303700049997, u"9223372036818029970"); raw(303700050000, '*', 303700050000, overflow);
        // Products above 2^64 that come back into range after the division.
        raw(5000000000000000000, '*', 15000, u"7500000000000000000"); raw(MinRaw, '*', 5000, u"-4611686018427387904");
        raw(922337203685477, 'i', 0, u"9223372036854770000"); raw(922337203685478, 'i', 0, overflow);
        text('p', u"  12.5 "_s, u"125000"); text('p', u".5"_s, u"5000"); text('p', u"1.5e-2"_s, u"150");
        text('p', u"0.00005"_s, u"0"); text('p', u"-0.00015"_s, u"-2"); text('p', u"1,5"_s, u"none");
        text('p', u"0.0000500000000000000000000000000000000001"_s, u"1"); text('p', u"1e"_s, u"none");
        text('p', u"-922337203685477.5808"_s, QString::number(MinRaw)); text('p', u"922337203685477.58075"_s, overflow);
        text('p', u"1E99999999999"_s, overflow); text('p', u"."_s, u"none");
        // value * 10000 in floating point would give 2157462.5 and round to even.
        text('d', number(12081.79 / 56), u"215.7463");
        // The double 0.00005 lies just above the half; 0.00015 below it. 1/32 and 3/32 are exact halves.
        text('d', number(-0.00005), u"-0.0001"); text('d', number(0.00015), u"0.0001");
        text('d', number(0.03125), u"0.0312"); text('d', number(-0.09375), u"-0.0938");
        text('d', number(922337203685477.5), u"922337203685477.5"); text('d', number(NaN), overflow);
        text('d', number(922337203685477.6), overflow);  // 922337203685477.625
        text('s', u"-125000"_s, u"-12.5"); text('s', u"10203"_s, u"1.0203");
        text('s', QString::number(MaxRaw), u"922337203685477.5807");
        text('v', u"2157463"_s, number(215.7463)); text('v', QString::number(MinRaw), number(-922337203685477.5808));
        // The double 0.1 is slightly above one tenth.
        text('c', u"1000"_s, u"-1", number(0.1)); text('c', u"-1000"_s, u"1", number(-0.1));
        text('c', u"5000"_s, u"0", number(0.5)); text('c', QString::number(MinRaw), u"1", number(-922337203685477.5808));
        text('c', u"0"_s, u"-1", number(std::numeric_limits<double>::infinity())); text('c', u"0"_s, u"2", number(NaN));
    }
    void operations()
    {
        QFETCH(QString, a); QFETCH(QChar, op); QFETCH(QString, b); QFETCH(QString, expected);
        const Currency x = Currency::fromRaw(a.toLongLong()), y = Currency::fromRaw(b.toLongLong());
        const std::partial_ordering order = x.compareExact(b.toDouble());
        const QString actual = textOrErr([&] {
            switch (op.unicode()) {
            case u'p': return Currency::parse(a) ? QString::number(Currency::parse(a)->raw()) : u"none"_s;
            case u'd': return Currency::fromDouble(a.toDouble()).toString();
            case u's': return x.toString(); case u'v': return number(x.toDouble());
            case u'i': return QString::number(Currency::fromInt(a.toLongLong()).raw());
            case u'c': return QString::number(order < 0 ? -1 : order > 0 ? 1 : order == 0 ? 0 : 2);
            }
            const Currency result = op == u'+' ? x + y : op == u'-' ? x - y : op == u'*' ? x * y : op == u'n' ? -x : x.abs();
            return QString::number(result.raw());
        });
        QCOMPARE(actual, expected);
        if (op == u'*') {  // the path for compilers without a 128-bit type agrees
            qint64 portable = 0;
            const bool fits = detail::multiplyRawPortable(a.toLongLong(), b.toLongLong(), portable);
            QCOMPARE(fits ? QString::number(portable) : u"err 6"_s, expected);
        }
    }
};

QTEST_GUILESS_MAIN(TestCurrency)
#include "tst_currency.moc"

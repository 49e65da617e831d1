#include "platform/variant.h"
#include "support/errcheck.h"

#include <QTest>

using namespace zelvan::platform;
using namespace Qt::Literals::StringLiterals;
using zelvan::test::textOrErr;

Q_DECLARE_METATYPE(zelvan::platform::Variant)

namespace {

Variant f(double value) { return Variant::dbl(value); }
Variant cur(const char16_t *text) { return Variant::currency(*Currency::parse(QStringView(text))); }
Variant dec(const char16_t *text) { return Variant::decimal(*Decimal::parse(QStringView(text))); }
Variant str(const char16_t *text) { return Variant::string(QString::fromUtf16(text)); }

// "Type:text", or "Null": one column says both the type and the value.
QString typed(const Variant &v) { return v.isNull() ? u"Null"_s : v.typeName() + u':' + v.toString(); }

// The value converted by the runtime's functions that `targets` stand for, as
// text or "err N", joined by '|'.
QString converted(const Variant &v, const QString &targets)
{
    QStringList results;
    for (const QChar to : targets) {
        results << textOrErr([&] {
            switch (to.unicode()) {
            case u'?': return Variant::boolean(v.toBool()).toString();
            case u'B': return QString::number(v.toByte());
            case u'I': return QString::number(v.toInteger());
            case u'L': return QString::number(v.toLong());
            case u'C': return v.toCurrency().toString();
            case u'D': return v.toDecimal().toString();
            case u'F': return Variant::dbl(v.toDouble()).toString();
            case u'T': return Variant::date(v.toDate()).toString();
            case u'i': return typed(v.intPart());
            case u'a': return typed(v.abs());
            case u'n': return typed(-v);
            default: return v.toString();
            }
        });
    }
    return results.join(u'|');
}

void row(const char *name, const Variant &value, const char16_t *to, const char16_t *expected)
{
    QTest::newRow(name) << value << QString::fromUtf16(to) << QString::fromUtf16(expected);
}
} // namespace

class TestVariant : public QObject
{
    Q_OBJECT

private slots:
    // ? CBool, B CByte, I CInt, L CLng, C CCur, D CDec, F CDbl, T CDate, S CStr;
    // i Int, a Abs, n negation, these with the result's type.
    void conversions_data()
    {
        QTest::addColumn<Variant>("value");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("expected");
        row("2.5 to even", f(2.5), u"L", u"2");
        row("Integer top half to even", f(32766.5), u"I", u"32766");
        row("Integer top rounds over", f(32767.5), u"I", u"err 6");
        row("Integer bottom", f(-32768.5), u"Iia", u"-32768|Double:-32769|Double:32768.5");
        row("-0.5", f(-0.5), u"B?", u"0|True");
        row("Byte -0.6", f(-0.6), u"B", u"err 6");
        row("Currency -3.5", cur(u"-3.5"), u"Lian", u"-4|Currency:-4|Currency:3.5|Currency:3.5");
        row("Currency min", cur(u"-922337203685477.5808"), u"ian", u"err 6|err 6|err 6");
        row("Decimal -2.5", dec(u"-2.5"), u"Iian", u"-2|Decimal:-3|Decimal:2.5|Decimal:2.5");
        row("Decimal huge", dec(u"1E25"), u"L", u"err 6");
        row("text trimmed", str(u" -2.5 "), u"IFian", u"-2|-2.5|Double:-3|Double:2.5|Double:2.5");
        row("text just above half", str(u"2.50000000000000000001"), u"L", u"3");
        row("text no number", str(u"12a"), u"LCDF?Tia", u"err 13|err 13|err 13|err 13|err 13|err 13|err 13|err 13");
        row("True", Variant::boolean(true), u"IBCFian", u"-1|err 6|-1|-1|Integer:-1|Integer:1|Integer:1");
        row("Empty", Variant(), u"B?CSian", u"0|False|0||Integer:0|Integer:0|Integer:0");
        row("Null", Variant::null(), u"L?CSTian", u"err 94|err 94|err 94|err 94|err 94|Null|Null|Null");
        row("Date", Variant::date(45352.75), u"Lian",
            u"45353|Date:01.03.2024|Date:01.03.2024 18:00:00|Date:29.10.1775 18:00:00");
        row("Long min", Variant::longInt(-2147483647 - 1), u"ian",
            u"Long:-2147483648|Double:2147483648|Double:2147483648");
        row("Byte", Variant::byte(5), u"ian", u"Byte:5|Byte:5|Integer:-5");
        row("false with blanks", str(u" false "), u"?", u"False");
        row("numeric text to Boolean", str(u"0.000"), u"?", u"False");
        row("0.1 + 0.2", f(0.1 + 0.2), u"DS", u"0.3|0.3");
        row("text too large for Double", str(u"1E400"), u"F", u"err 6");
        row("15 digits", f(123456789012345.0), u"S", u"123456789012345");
        row("16 digits", f(1234567890123456.0), u"S", u"1.23456789012346E+15");
        row("0.0001", f(0.0001), u"S", u"0.0001");
        row("1E-05", f(0.00001), u"S", u"1E-05");
        row("negative zero", f(-0.0), u"S", u"0");
        row("time only", Variant::date(0.5), u"S", u"12:00:00");
        // Before the epoch the fraction still counts forward within the day.
        row("pre-epoch", f(-1.25), u"T", u"29.12.1899 06:00:00");
        row("first day", f(-657434.0), u"T", u"01.01.0100");
        row("last day", f(2958465.0), u"T", u"31.12.9999");
        row("date rounds to midnight", Variant::date(0.99999999), u"S", u"31.12.1899");
        row("T separator", str(u"2024-03-01T13:45:30.250"), u"T", u"01.03.2024 13:45:30");
        row("Turkish date and time", str(u" 01.03.2024 00:00:01 "), u"T", u"01.03.2024 00:00:01");
        row("midnight", str(u"2024-03-01 00:00:00"), u"T", u"01.03.2024");
        row("no such day", str(u"2024-02-30"), u"T", u"err 13");
        row("hour 25", str(u"2024-03-01 25:00:00"), u"T", u"err 13");
        row("trailing text", str(u"2024-03-01 13:45:30x"), u"T", u"err 13");
        row("number text", str(u"45352"), u"T", u"err 13");
        row("after the last day", f(2958466.0), u"T", u"err 6");
    }
    void conversions()
    {
        QFETCH(Variant, value);
        QFETCH(QString, to);
        QTEST(converted(value, to), "expected");
    }

    void secondsSurviveTheDateNumber()
    {
        for (const QDate date : {QDate(100, 1, 1), QDate(1899, 12, 29), QDate(2024, 3, 1), QDate(9999, 12, 31)}) {
            for (int second = 0; second < 86400; second += 7) {
                const QDateTime at(date, QTime::fromMSecsSinceStartOfDay(second * 1000 + 7));
                QCOMPARE(Variant::dateTime(at).toDateTime(), at);
            }
        }
    }

    // One sample of each type; small values, so that nothing grows. Each letter
    // is the type of a sum, the right operand in the order of the samples.
    void additionResultTypes()
    {
        const QList<Variant> samples = {Variant(), Variant::boolean(true), Variant::byte(2), Variant::integer(3),
                                        Variant::longInt(4), f(0.5), cur(u"1.5"), dec(u"2.25"), Variant::date(45352),
                                        str(u"7"), Variant::null()};
        const QStringList table = {u"IIIILFCDTSN"_s, u"IIIILFCDTFN"_s, u"IIBILFCDTFN"_s, u"IIIILFCDTFN"_s,
                                   u"LLLLLFCDTFN"_s, u"FFFFFFCDTFN"_s, u"CCCCCCCDTCN"_s, u"DDDDDDDDTDN"_s,
                                   u"TTTTTTTTTTN"_s, u"SFFFFFCDTSN"_s, u"NNNNNNNNNNN"_s};
        const QHash<QString, QChar> letters = {{u"Byte"_s, u'B'}, {u"Integer"_s, u'I'}, {u"Long"_s, u'L'},
                                               {u"Double"_s, u'F'}, {u"Currency"_s, u'C'}, {u"Decimal"_s, u'D'},
                                               {u"Date"_s, u'T'}, {u"String"_s, u'S'}, {u"Null"_s, u'N'}};
        for (qsizetype i = 0; i < samples.size(); ++i) {
            QString sums;
            for (const Variant &b : samples)
                sums += letters.value(typed(samples[i] + b).section(u':', 0, 0), u'?');
            QCOMPARE(sums, table[i]);
        }
    }

    // '+', '-', '*' give the typed result; 'c' the order "-1", "0", "1" or "Null".
    void operators_data()
    {
        QTest::addColumn<Variant>("a");
        QTest::addColumn<Variant>("b");
        QTest::addColumn<QChar>("op");
        QTest::addColumn<QString>("result");
        const auto add = [](const char *name, const Variant &a, char16_t op, const Variant &b, const char16_t *r) {
            QTest::newRow(name) << a << b << QChar(op) << QString::fromUtf16(r);
        };
        add("Byte + Byte grows", Variant::byte(200), '+', Variant::byte(100), u"Integer:300");
        add("Long max + 1 grows", Variant::longInt(2147483647), '+', Variant::longInt(1), u"Double:2147483648");
        add("True + True", Variant::boolean(true), '+', Variant::boolean(true), u"Integer:-2");
        add("Currency max + 0.0001", cur(u"922337203685477.5807"), '+', cur(u"0.0001"), u"err 6");
        add("Decimal max + 1", dec(u"79228162514264337593543950335"), '+', Variant::integer(1), u"err 6");
        add("Double too large", f(1e308), '*', Variant::integer(10), u"err 6");
        add("Currency + 0.00005", cur(u"0.5"), '+', f(0.00005), u"Currency:0.5001");
        add("Currency * Currency to even", cur(u"0.0003"), '*', cur(u"0.5"), u"Currency:0.0002");
        add("Decimal + Double", dec(u"0.1"), '+', f(0.2), u"Decimal:0.3");
        add("text - text subtracts", str(u"2"), '-', str(u"0.5"), u"Double:1.5");
        add("text no number + Long", str(u"a"), '+', Variant::longInt(1), u"err 13");
        add("Date + 1.5", Variant::date(45352), '+', f(1.5), u"Date:02.03.2024 12:00:00");
        add("Date - Date", Variant::date(45352.5), '-', Variant::date(45350), u"Double:2.5");
        add("Currency * Null", cur(u"1"), '*', Variant::null(), u"Null");
        add("Empty * Empty", Variant(), '*', Variant(), u"Integer:0");
        add("Null vs 1", Variant::null(), 'c', Variant::longInt(1), u"Null");
        add("Empty vs text", Variant(), 'c', str(u"a"), u"-1");
        add("Currency vs Double", cur(u"0.1"), 'c', f(0.1), u"-1");
        add("Long vs Currency", Variant::longInt(-2147483648), 'c', cur(u"-2147483648.0001"), u"1");
        add("Decimal vs Double", dec(u"0.1"), 'c', f(0.1), u"0");
        add("text vs text is exact", str(u"abc"), 'c', str(u"ABC"), u"1");
        add("trailing blank counts", str(u"a"), 'c', str(u"a "), u"-1");
        add("numeric texts compare as text", str(u"10"), 'c', str(u"9"), u"-1");
        add("number vs numeric text", cur(u"2.5"), 'c', str(u" 2.50 "), u"0");
        add("text vs number", str(u"abc"), 'c', Variant::longInt(1), u"err 13");
        add("Date vs date text", Variant::date(45352), 'c', str(u"2024-03-01"), u"0");
        add("Date vs other text", Variant::date(45352), 'c', str(u"x"), u"err 13");
    }
    void operators()
    {
        QFETCH(Variant, a);
        QFETCH(Variant, b);
        QFETCH(QChar, op);
        QFETCH(QString, result);
        const auto text = [](std::optional<int> value) { return value ? QString::number(*value) : u"Null"_s; };
        QCOMPARE(textOrErr([&] {
                     return op == u'c' ? text(Variant::compare(a, b))
                                       : typed(op == u'+' ? a + b : op == u'-' ? a - b : a * b);
                 }),
                 result);
        if (op != u'c' || result.startsWith(u"err"))
            return;
        const bool isNull = result == u"Null";
        QCOMPARE(text(Variant::compare(b, a)), isNull ? result : QString::number(-result.toInt()));
        const std::optional<bool> equals = Variant::equals(a, b);
        QCOMPARE(equals ? text(int(*equals)) : u"Null"_s, isNull ? result : text(int(result == u"0")));
    }
};

QTEST_GUILESS_MAIN(TestVariant)
#include "tst_variant.moc"

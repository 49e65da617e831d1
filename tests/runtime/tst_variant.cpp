#include "runtime/variant.h"
#include "support/errcheck.h"

#include <QTest>

using namespace zelvan;
using namespace zelvan::runtime;
using namespace Qt::Literals::StringLiterals;
using zelvan::test::textOrErr;

Q_DECLARE_METATYPE(zelvan::runtime::Variant)

namespace {

Variant f(double value) { return Variant::dbl(value); }
Variant cur(const char16_t *text) { return Variant::currency(*Currency::parse(QStringView(text))); }
Variant dec(const char16_t *text) { return Variant::decimal(*Decimal::parse(QStringView(text))); }
Variant str(const char16_t *text) { return Variant::string(QString::fromUtf16(text)); }
Variant lng(qint32 value) { return Variant::longInt(value); }
Variant day(double oleDate) { return Variant::date(oleDate); }

// "Type:text", or "Null": one column says both the type and the value.
QString typed(const Variant &v) { return v.isNull() ? u"Null"_s : v.typeName() + u':' + v.toString(); }
QString order(std::optional<int> value) { return value ? QString::number(*value) : u"Null"_s; }

// The value converted by the runtime's functions that `ops` stand for, or combined with b,
// as text or "err N", joined by '|'.
QString converted(const Variant &v, const QString &ops, const Variant &b)
{
    QStringList results;
    for (const QChar op : ops)
        results << textOrErr([&] {
            switch (op.unicode()) {
            case u'?': return Variant::boolean(v.toBool()).toString();
            case u'B': case u'I': case u'L':
                return QString::number(op == u'B' ? v.toByte() : op == u'I' ? v.toInteger() : v.toLong());
            case u'C': return v.toCurrency().toString(); case u'D': return v.toDecimal().toString();
            case u'F': return Variant::dbl(v.toDouble()).toString(); case u'T': return Variant::date(v.toDate()).toString();
            case u'i': case u'a': case u'n': return typed(op == u'i' ? v.intPart() : op == u'a' ? v.abs() : -v);
            case u'+': case u'-': case u'*': return typed(op == u'+' ? v + b : op == u'-' ? v - b : v * b);
            case u'<': return order(Variant::compare(v, b));
            default: return v.toString();
            }
        });
    return results.join(u'|');
}

} // namespace

class TestVariant : public QObject
{
    Q_OBJECT

private slots:
    // ? CBool, B CByte, I CInt, L CLng, C CCur, D CDec, F CDbl, T CDate, S CStr;
    // i Int, a Abs, n negation, + - * with b, these with the result's type;
    // < the order of a and b: "-1", "0", "1" or "Null".
    void values_data()
    {
        QTest::addColumn<Variant>("a"); QTest::addColumn<QString>("ops"); QTest::addColumn<Variant>("b");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const Variant &a, const char16_t *ops, const Variant &b, const char16_t *r) {
            QTest::newRow(name) << a << QString::fromUtf16(ops) << b << QString::fromUtf16(r);
        };
        const Variant null = Variant::null(), yes = Variant::boolean(true);
        row("2.5 to even", f(2.5), u"LIB", {}, u"2|2|2"); row("Integer top rounds over", f(32767.5), u"I", {}, u"err 6");
        row("Integer bottom", f(-32768.5), u"Iia", {}, u"-32768|Double:-32769|Double:32768.5");
        row("-0.5", f(-0.5), u"B?", {}, u"0|True"); row("Byte -0.6", f(-0.6), u"B", {}, u"err 6");
        row("Currency -3.5", cur(u"-3.5"), u"Lian", {}, u"-4|Currency:-4|Currency:3.5|Currency:3.5");
        row("Currency min", cur(u"-922337203685477.5808"), u"ian", {}, u"err 6|err 6|err 6");
        row("Decimal -2.5", dec(u"-2.5"), u"Iian", {}, u"-2|Decimal:-3|Decimal:2.5|Decimal:2.5");
        row("text trimmed", str(u" -2.5 "), u"IFian", {}, u"-2|-2.5|Double:-3|Double:2.5|Double:2.5");
        row("1E25", dec(u"1E25"), u"L", {}, u"err 6"); row("above half", str(u"2.50000000000000000001"), u"L", {}, u"3");
        row("text no number", str(u"12a"), u"LCDF?Tia", {}, u"err 13|err 13|err 13|err 13|err 13|err 13|err 13|err 13");
        row("True", yes, u"IBCFian", {}, u"-1|err 6|-1|-1|Integer:-1|Integer:1|Integer:1");
        row("Empty", {}, u"B?CSian", {}, u"0|False|0||Integer:0|Integer:0|Integer:0");
        row("Null", null, u"L?CSTian", {}, u"err 94|err 94|err 94|err 94|err 94|Null|Null|Null");
        row("Date", day(45352.75), u"Lian", {},
            u"45353|Date:01.03.2024|Date:01.03.2024 18:00:00|Date:29.10.1775 18:00:00");
        row("Long min", lng(-2147483647 - 1), u"ian", {}, u"Long:-2147483648|Double:2147483648|Double:2147483648");
        row("Byte", Variant::byte(5), u"ian", {}, u"Byte:5|Byte:5|Integer:-5"); row("1E400", str(u"1E400"), u"F", {}, u"err 6");
        row("false with blanks", str(u" false "), u"?", {}, u"False"); row("0.000", str(u"0.000"), u"?", {}, u"False");
        row("15 digits", f(123456789012345.0), u"S", {}, u"123456789012345"); row("0.0001", f(0.0001), u"S", {}, u"0.0001");
        row("16 digits", f(1234567890123456.0), u"S", {}, u"1.23456789012346E+15"); row("-0", f(-0.0), u"S", {}, u"0");
        row("1E-05", f(0.00001), u"S", {}, u"1E-05"); row("time only", day(0.5), u"S", {}, u"12:00:00");
        // Before the epoch the fraction still counts forward within the day.
        row("pre-epoch", f(-1.25), u"T", {}, u"29.12.1899 06:00:00"); row("past the end", f(2958466.0), u"T", {}, u"err 6");
        row("first day", f(-657434.0), u"T", {}, u"01.01.0100"); row("last day", f(2958465.0), u"T", {}, u"31.12.9999");
        row("date rounds to midnight", day(0.99999999), u"S", {}, u"31.12.1899");
        row("T separator", str(u"2024-03-01T13:45:30.250"), u"T", {}, u"01.03.2024 13:45:30");
        row("Turkish date and time", str(u" 01.03.2024 00:00:01 "), u"T", {}, u"01.03.2024 00:00:01");
        for (const char16_t *text : {u"2024-02-30", u"2024-03-01 25:00:00", u"2024-03-01 13:45:30x", u"45352"})
            row(qPrintable(QString::fromUtf16(text)), str(text), u"T", {}, u"err 13");
        row("Byte + Byte grows", Variant::byte(200), u"+", Variant::byte(100), u"Integer:300");
        row("Long grows", lng(2147483647), u"+", lng(1), u"Double:2147483648"); row("True + True", yes, u"+", yes, u"Integer:-2");
        row("Currency max + 0.0001", cur(u"922337203685477.5807"), u"+", cur(u"0.0001"), u"err 6");
        row("Double too large", f(1e308), u"*", Variant::integer(10), u"err 6");
        row("Currency + 0.00005", cur(u"0.5"), u"+", f(0.00005), u"Currency:0.5001");
        row("Decimal + 0.2", dec(u"0.1"), u"+", f(0.2), u"Decimal:0.3"); row("text - text", str(u"2"), u"-", str(u"0.5"), u"Double:1.5");
        row("Date +- 1.5", day(45352), u"+-", f(1.5), u"Date:02.03.2024 12:00:00|Date:28.02.2024 12:00:00");
        row("Date - Date", day(45352.5), u"-", day(45350), u"Double:2.5");
        row("Currency * Null", cur(u"1"), u"*", null, u"Null"); row("Empty * Empty", {}, u"*", {}, u"Integer:0");
        row("text no number + Long", str(u"a"), u"+", lng(1), u"err 13"); row("Null vs 1", null, u"<", lng(1), u"Null");
        row("Empty vs text", {}, u"<", str(u"a"), u"-1"); row("Currency vs Double", cur(u"0.1"), u"<", f(0.1), u"-1");
        row("Long vs Currency", lng(-2147483648), u"<", cur(u"-2147483648.0001"), u"1");
        row("Decimal vs Double", dec(u"0.1"), u"<", f(0.1), u"0"); row("text exact", str(u"abc"), u"<", str(u"ABC"), u"1");
        row("trailing blank counts", str(u"a"), u"<", str(u"a "), u"-1"); row("10 vs 9", str(u"10"), u"<", str(u"9"), u"-1");
        row("number vs numeric text", cur(u"2.5"), u"<", str(u" 2.50 "), u"0");
        row("text vs number", str(u"abc"), u"<", lng(1), u"err 13"); row("Date vs x", day(45352), u"<", str(u"x"), u"err 13");
        row("Date vs date text", day(45352), u"<", str(u"2024-03-01"), u"0");
    }
    // An order also holds the other way round, and agrees with equals().
    void values()
    {
        QFETCH(Variant, a); QFETCH(QString, ops); QFETCH(Variant, b); QFETCH(QString, expected);
        QCOMPARE(converted(a, ops, b), expected);
        if (ops != u"<"_s || expected.startsWith(u"err"))
            return;
        const bool isNull = expected == u"Null";
        QCOMPARE(order(Variant::compare(b, a)), isNull ? expected : QString::number(-expected.toInt()));
        const std::optional<bool> equals = Variant::equals(a, b);
        QCOMPARE(equals ? order(int(*equals)) : u"Null"_s, isNull ? expected : order(int(expected == u"0")));
    }

    // Every 7 seconds of four days keep their time through the date number. Then the type of
    // each sum, one letter per Variant::Type, the right operand in the order of the samples.
    void sweeps()
    {
        for (const QDate date : {QDate(100, 1, 1), QDate(1899, 12, 29), QDate(2024, 3, 1), QDate(9999, 12, 31)})
            for (int ms = 7; ms < 86400000; ms += 7000) {
                const QDateTime at(date, QTime::fromMSecsSinceStartOfDay(ms));
                QCOMPARE(Variant::dateTime(at).toDateTime(), at);
            }
        const QList<Variant> samples = {Variant(), Variant::boolean(true), Variant::byte(2), Variant::integer(3),
                                        Variant::longInt(4), f(0.5), cur(u"1.5"), dec(u"2.25"), Variant::date(45352),
                                        str(u"7"), Variant::null()};
        QString sums;
        for (const Variant &a : samples) {
            for (const Variant &b : samples) sums += u"ENXBILCDFTS"_s[int((a + b).type())];
            sums += u' ';
        }
        QCOMPARE(sums, u"IIIILFCDTSN IIIILFCDTFN IIBILFCDTFN IIIILFCDTFN LLLLLFCDTFN FFFFFFCDTFN CCCCCCCDTCN "
                       u"DDDDDDDDTDN TTTTTTTTTTN SFFFFFCDTSN NNNNNNNNNNN "_s);
    }
};

QTEST_GUILESS_MAIN(TestVariant)
#include "tst_variant.moc"

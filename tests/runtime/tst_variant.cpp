#include "runtime/variant.h"
#include "support/errcheck.h"

#include <QTest>

#include <algorithm>

using namespace zelvan;
using namespace zelvan::runtime;
using namespace Qt::Literals::StringLiterals;
using zelvan::test::textOrErr;

namespace {

// The runtime's conversion functions, each giving its result as text.
using Conversion = QString (*)(const Variant &);
QString CBool(const Variant &v) { return Variant::boolean(v.toBool()).toString(); }
QString CByte(const Variant &v) { return QString::number(v.toByte()); }
QString CInt(const Variant &v) { return QString::number(v.toInteger()); }
QString CLng(const Variant &v) { return QString::number(v.toLong()); }
QString CCur(const Variant &v) { return v.toCurrency().toString(); }
QString CDbl(const Variant &v) { return Variant::dbl(v.toDouble()).toString(); }
QString CDate(const Variant &v) { return Variant::date(v.toDate()).toString(); }
QString CStr(const Variant &v) { return v.toString(); }

Variant f(double value) { return Variant::dbl(value); }
Variant cur(const char16_t *text) { return Variant::currency(*Currency::parse(QStringView(text))); }
Variant dec(const char16_t *text) { return Variant::decimal(*Decimal::parse(QStringView(text))); }
Variant str(const char16_t *text) { return Variant::string(QString::fromUtf16(text)); }
Variant lng(qint32 value) { return Variant::longInt(value); }
Variant day(double oleDate) { return Variant::date(oleDate); }
const Variant Null = Variant::null();
const Variant True = Variant::boolean(true);
const QString Overflow = u"err 6"_s;
const QString Mismatch = u"err 13"_s;
const QString InvalidUseOfNull = u"err 94"_s;

// A result as its TypeName and its text, or "Null", or the error it raises.
template <typename Compute>
QString typed(Compute &&compute)
{
    return textOrErr([&] {
        const Variant v = compute();
        return v.isNull() ? u"Null"_s : v.typeName() + u':' + v.toString();
    });
}
QString order(std::optional<int> value) { return value ? QString::number(*value) : u"Null"_s; }

} // namespace

Q_DECLARE_METATYPE(zelvan::runtime::Variant)
Q_DECLARE_METATYPE(Conversion)
Q_DECLARE_METATYPE(QList<zelvan::runtime::Variant::Type>)

class TestVariant : public QObject
{
    Q_OBJECT

private slots:
    // Whole numbers round halves to even before the range is checked.
    void conversions_data()
    {
        QTest::addColumn<Variant>("value");
        QTest::addColumn<Conversion>("conversion");
        QTest::addColumn<QString>("result");
        QTest::newRow("Double half to even") << f(2.5) << &CLng << u"2"_s;
        QTest::newRow("Integer top rounds over") << f(32767.5) << &CInt << Overflow;
        QTest::newRow("-0.5 is Byte 0") << f(-0.5) << &CByte << u"0"_s;
        QTest::newRow("-0.6 is below Byte") << f(-0.6) << &CByte << Overflow;
        QTest::newRow("-0.5 is True") << f(-0.5) << &CBool << u"True"_s;
        QTest::newRow("Currency half to even") << cur(u"-3.5") << &CLng << u"-4"_s;
        QTest::newRow("Decimal half to even") << dec(u"-2.5") << &CInt << u"-2"_s;
        QTest::newRow("text half to even, trimmed") << str(u" -2.5 ") << &CInt << u"-2"_s;
        QTest::newRow("True is -1") << True << &CInt << u"-1"_s;
        QTest::newRow("Date to Long") << day(45352.75) << &CLng << u"45353"_s;
        QTest::newRow("text beyond Double") << str(u"1E400") << &CDbl << Overflow;
        QTest::newRow("false with blanks") << str(u" false ") << &CBool << u"False"_s;
        QTest::newRow("zero as text is False") << str(u"0.000") << &CBool << u"False"_s;
        QTest::newRow("Empty is False") << Variant() << &CBool << u"False"_s;
        QTest::newRow("Empty is no text") << Variant() << &CStr << QString();
        QTest::newRow("Null to Long") << Null << &CLng << InvalidUseOfNull;
        QTest::newRow("Null to text") << Null << &CStr << InvalidUseOfNull;
        QTest::newRow("Null to Date") << Null << &CDate << InvalidUseOfNull;
        QTest::newRow("no number to Long") << str(u"12a") << &CLng << Mismatch;
        QTest::newRow("no number to Currency") << str(u"12a") << &CCur << Mismatch;
        QTest::newRow("no number to Double") << str(u"12a") << &CDbl << Mismatch;
        QTest::newRow("no number to Boolean") << str(u"12a") << &CBool << Mismatch;
        QTest::newRow("15 digits") << f(123456789012345.0) << &CStr << u"123456789012345"_s;
        QTest::newRow("16 digits") << f(1234567890123456.0) << &CStr << u"1.23456789012346E+15"_s;
        QTest::newRow("0.0001") << f(0.0001) << &CStr << u"0.0001"_s;
        QTest::newRow("0.00001") << f(0.00001) << &CStr << u"1E-05"_s;
        QTest::newRow("minus zero") << f(-0.0) << &CStr << u"0"_s;
        QTest::newRow("time only") << day(0.5) << &CStr << u"12:00:00"_s;
        QTest::newRow("date rounds to midnight") << day(0.99999999) << &CStr << u"31.12.1899"_s;
        // Before the epoch the fraction still counts forward within the day.
        QTest::newRow("before the epoch") << f(-1.25) << &CDate << u"29.12.1899 06:00:00"_s;
        QTest::newRow("first day") << f(-657434.0) << &CDate << u"01.01.0100"_s;
        QTest::newRow("last day") << f(2958465.0) << &CDate << u"31.12.9999"_s;
        QTest::newRow("past the last day") << f(2958466.0) << &CDate << Overflow;
        QTest::newRow("T separator") << str(u"2024-03-01T13:45:30.250") << &CDate << u"01.03.2024 13:45:30"_s;
        QTest::newRow("Turkish date and time") << str(u" 01.03.2024 00:00:01 ") << &CDate << u"01.03.2024 00:00:01"_s;
        QTest::newRow("no such day") << str(u"2024-02-30") << &CDate << Mismatch;
        QTest::newRow("no such hour") << str(u"2024-03-01 25:00:00") << &CDate << Mismatch;
        QTest::newRow("trailing text") << str(u"2024-03-01 13:45:30x") << &CDate << Mismatch;
        QTest::newRow("a number is no date text") << str(u"45352") << &CDate << Mismatch;
    }
    void conversions()
    {
        QFETCH(Variant, value);
        QFETCH(Conversion, conversion);
        QTEST(textOrErr([&] { return conversion(value); }), "result");
    }

    void intAbsAndNegation_data()
    {
        QTest::addColumn<Variant>("value");
        QTest::addColumn<QString>("intPart");
        QTest::addColumn<QString>("abs");
        QTest::addColumn<QString>("negated");
        QTest::newRow("Currency") << cur(u"-3.5") << u"Currency:-4"_s << u"Currency:3.5"_s << u"Currency:3.5"_s;
        QTest::newRow("Currency bottom") << cur(u"-922337203685477.5808") << Overflow << Overflow << Overflow;
        QTest::newRow("Decimal") << dec(u"-2.5") << u"Decimal:-3"_s << u"Decimal:2.5"_s << u"Decimal:2.5"_s;
        QTest::newRow("text") << str(u" -2.5 ") << u"Double:-3"_s << u"Double:2.5"_s << u"Double:2.5"_s;
        QTest::newRow("True") << True << u"Integer:-1"_s << u"Integer:1"_s << u"Integer:1"_s;
        QTest::newRow("Empty") << Variant() << u"Integer:0"_s << u"Integer:0"_s << u"Integer:0"_s;
        QTest::newRow("Null") << Null << u"Null"_s << u"Null"_s << u"Null"_s;
        QTest::newRow("Date") << day(45352.75) << u"Date:01.03.2024"_s << u"Date:01.03.2024 18:00:00"_s
                              << u"Date:29.10.1775 18:00:00"_s;
        QTest::newRow("Long bottom grows") << lng(-2147483647 - 1) << u"Long:-2147483648"_s << u"Double:2147483648"_s
                                           << u"Double:2147483648"_s;
        QTest::newRow("Byte") << Variant::byte(5) << u"Byte:5"_s << u"Byte:5"_s << u"Integer:-5"_s;
    }
    void intAbsAndNegation()
    {
        QFETCH(Variant, value);
        QTEST(typed([&] { return value.intPart(); }), "intPart");
        QTEST(typed([&] { return value.abs(); }), "abs");
        QTEST(typed([&] { return -value; }), "negated");
    }

    void arithmetic_data()
    {
        QTest::addColumn<Variant>("a");
        QTest::addColumn<QChar>("operation");
        QTest::addColumn<Variant>("b");
        QTest::addColumn<QString>("result");
        QTest::newRow("Byte grows") << Variant::byte(200) << QChar(u'+') << Variant::byte(100) << u"Integer:300"_s;
        QTest::newRow("Long grows") << lng(2147483647) << QChar(u'+') << lng(1) << u"Double:2147483648"_s;
        QTest::newRow("True + True") << True << QChar(u'+') << True << u"Integer:-2"_s;
        QTest::newRow("Double too large") << f(1e308) << QChar(u'*') << Variant::integer(10) << Overflow;
        QTest::newRow("Currency + Double") << cur(u"0.5") << QChar(u'+') << f(0.00005) << u"Currency:0.5001"_s;
        QTest::newRow("Decimal + Double") << dec(u"0.1") << QChar(u'+') << f(0.2) << u"Decimal:0.3"_s;
        QTest::newRow("text - text") << str(u"2") << QChar(u'-') << str(u"0.5") << u"Double:1.5"_s;
        QTest::newRow("no number + Long") << str(u"a") << QChar(u'+') << lng(1) << Mismatch;
        QTest::newRow("Date + days") << day(45352) << QChar(u'+') << f(1.5) << u"Date:02.03.2024 12:00:00"_s;
        QTest::newRow("Date - Date") << day(45352.5) << QChar(u'-') << day(45350) << u"Double:2.5"_s;
        QTest::newRow("Currency * Null") << cur(u"1") << QChar(u'*') << Null << u"Null"_s;
        QTest::newRow("Empty * Empty") << Variant() << QChar(u'*') << Variant() << u"Integer:0"_s;
    }
    void arithmetic()
    {
        QFETCH(Variant, a);
        QFETCH(QChar, operation);
        QFETCH(Variant, b);
        QTEST(typed([&] { return operation == u'+' ? a + b : operation == u'-' ? a - b : a * b; }), "result");
    }

    // The type of a + b for each b of the samples, in their order: Empty, Boolean, Byte, Integer, Long, Double,
    // Currency, Decimal, Date, String, Null.
    void sumTypes_data()
    {
        QTest::addColumn<Variant>("a");
        QTest::addColumn<QList<Variant::Type>>("types");
        using enum Variant::Type;
        const auto row = [](const char *name, const Variant &a, const QList<Variant::Type> &types) { QTest::newRow(name) << a << types; };
        row("Empty", Variant(), {Integer, Integer, Integer, Integer, Long, Double, Currency, Decimal, Date, String, Null});
        row("Boolean", True, {Integer, Integer, Integer, Integer, Long, Double, Currency, Decimal, Date, Double, Null});
        row("Byte", Variant::byte(2), {Integer, Integer, Byte, Integer, Long, Double, Currency, Decimal, Date, Double, Null});
        row("Integer", Variant::integer(3), {Integer, Integer, Integer, Integer, Long, Double, Currency, Decimal, Date, Double, Null});
        row("Long", lng(4), {Long, Long, Long, Long, Long, Double, Currency, Decimal, Date, Double, Null});
        row("Double", f(0.5), {Double, Double, Double, Double, Double, Double, Currency, Decimal, Date, Double, Null});
        row("Currency", cur(u"1.5"), {Currency, Currency, Currency, Currency, Currency, Currency, Currency, Decimal, Date, Currency, Null});
        row("Decimal", dec(u"2.25"), {Decimal, Decimal, Decimal, Decimal, Decimal, Decimal, Decimal, Decimal, Date, Decimal, Null});
        row("Date", day(45352), {Date, Date, Date, Date, Date, Date, Date, Date, Date, Date, Null});
        row("String", str(u"7"), {String, Double, Double, Double, Double, Double, Currency, Decimal, Date, String, Null});
        row("Null", Variant::null(), {Null, Null, Null, Null, Null, Null, Null, Null, Null, Null, Null});
    }
    void sumTypes()
    {
        QFETCH(Variant, a);
        QFETCH(QList<Variant::Type>, types);
        const Variant samples[] = {Variant(), True, Variant::byte(2), Variant::integer(3), lng(4), f(0.5), cur(u"1.5"), dec(u"2.25"),
                                   day(45352), str(u"7"), Variant::null()};
        const auto nameOf = [&samples](Variant::Type type) {
            return std::find_if(std::begin(samples), std::end(samples), [type](const Variant &v) { return v.type() == type; })->typeName();
        };
        QStringList actual;
        QStringList expected;
        for (qsizetype i = 0; i < types.size(); ++i) {
            actual.append((a + samples[i]).typeName());
            expected.append(nameOf(types[i]));
        }
        QCOMPARE(actual, expected);
    }

    // An order holds the other way round too, and agrees with equals().
    void compare_data()
    {
        QTest::addColumn<Variant>("a");
        QTest::addColumn<Variant>("b");
        QTest::addColumn<QString>("order");
        QTest::newRow("Null") << Null << lng(1) << u"Null"_s;
        QTest::newRow("Empty is the empty text") << Variant() << str(u"a") << u"-1"_s;
        QTest::newRow("Currency and the double 0.1") << cur(u"0.1") << f(0.1) << u"-1"_s;
        QTest::newRow("Long and Currency") << lng(-2147483647 - 1) << cur(u"-2147483648.0001") << u"1"_s;
        QTest::newRow("Decimal and Double") << dec(u"0.1") << f(0.1) << u"0"_s;
        QTest::newRow("text exact") << str(u"abc") << str(u"ABC") << u"1"_s;
        QTest::newRow("trailing blank counts") << str(u"a") << str(u"a ") << u"-1"_s;
        QTest::newRow("numbers as text") << str(u"10") << str(u"9") << u"-1"_s;
        QTest::newRow("number and numeric text") << cur(u"2.5") << str(u" 2.50 ") << u"0"_s;
        QTest::newRow("Date and date text") << day(45352) << str(u"2024-03-01") << u"0"_s;
        QTest::newRow("text and number") << str(u"abc") << lng(1) << Mismatch;
        QTest::newRow("Date and text") << day(45352) << str(u"x") << Mismatch;
    }
    void compare()
    {
        QFETCH(Variant, a);
        QFETCH(Variant, b);
        QFETCH(QString, order);
        QCOMPARE(textOrErr([&] { return ::order(Variant::compare(a, b)); }), order);
        if (order == Mismatch)
            return;
        const bool isNull = order == u"Null";
        QCOMPARE(::order(Variant::compare(b, a)), isNull ? order : QString::number(-order.toInt()));
        const std::optional<bool> equals = Variant::equals(a, b);
        QCOMPARE(equals.has_value(), !isNull);
        QCOMPARE(equals.value_or(false), order == u"0");
    }

    // Every 7 seconds of four days keep their time through the date number.
    void dateTimeRoundTrip()
    {
        for (const QDate date : {QDate(100, 1, 1), QDate(1899, 12, 29), QDate(2024, 3, 1), QDate(9999, 12, 31)})
            for (int ms = 7; ms < 86400000; ms += 7000) {
                const QDateTime at(date, QTime::fromMSecsSinceStartOfDay(ms));
                QCOMPARE(Variant::dateTime(at).toDateTime(), at);
            }
    }
};

QTEST_GUILESS_MAIN(TestVariant)
#include "tst_variant.moc"

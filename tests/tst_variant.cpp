#include "platform/variant.h"
#include "support/errcheck.h"

#include <QTest>

#include <limits>

using namespace zelvan::platform;
using namespace Qt::Literals::StringLiterals;
using zelvan::test::errNumberOf;

Q_DECLARE_METATYPE(zelvan::platform::Variant)

namespace {

Variant cur(const char16_t *text)
{
    return Variant::currency(*Currency::parse(QStringView(text)));
}

Variant dec(const char16_t *text)
{
    return Variant::decimal(*Decimal::parse(QStringView(text)));
}

Variant str(const char16_t *text)
{
    return Variant::string(QString::fromUtf16(text));
}

// "Type:text" of a value, "Null" for Null, or "err N" when producing it
// raises error N: one column says both the type and the value.
template <typename Compute>
QString describe(Compute &&compute)
{
    QString text;
    const qint32 err = errNumberOf([&] {
        const Variant v = compute();
        text = v.isNull() ? u"Null"_s : v.typeName() + u':' + v.toString();
    });
    return err != 0 ? u"err "_s + QString::number(err) : text;
}

const Variant CurrencyMin = Variant::currency(Currency::fromRaw(std::numeric_limits<qint64>::min()));
const Variant LongMin = Variant::longInt(std::numeric_limits<qint32>::min());

} // namespace

class TestVariant : public QObject
{
    Q_OBJECT

private slots:
    void wholeConversionsRoundHalfToEven_data();
    void wholeConversionsRoundHalfToEven();
    void toBool_data();
    void toBool();
    void otherConversions();
    void toStringOfNumbers_data();
    void toStringOfNumbers();
    void datesFromText_data();
    void datesFromText();
    void dateNumbersAndCalendar_data();
    void dateNumbersAndCalendar();
    void secondsOfADaySurviveTheDateNumber();
    void intAbsAndNegation_data();
    void intAbsAndNegation();
    void additionResultTypes_data();
    void additionResultTypes();
    void arithmetic_data();
    void arithmetic();
    void compare_data();
    void compare();
    void typeNames();
};

void TestVariant::wholeConversionsRoundHalfToEven_data()
{
    QTest::addColumn<Variant>("value");
    QTest::addColumn<QString>("target");
    QTest::addColumn<qint64>("expected");
    QTest::addColumn<int>("err");
    QTest::newRow("2.5") << Variant::dbl(2.5) << u"Long"_s << qint64(2) << 0;
    QTest::newRow("3.5") << Variant::dbl(3.5) << u"Long"_s << qint64(4) << 0;
    QTest::newRow("-2.5") << Variant::dbl(-2.5) << u"Long"_s << qint64(-2) << 0;
    QTest::newRow("-3.5") << Variant::dbl(-3.5) << u"Integer"_s << qint64(-4) << 0;
    QTest::newRow("2.5000001") << Variant::dbl(2.5000001) << u"Integer"_s << qint64(3) << 0;
    QTest::newRow("Integer top half to even") << Variant::dbl(32766.5) << u"Integer"_s << qint64(32766) << 0;
    QTest::newRow("Integer top rounds over") << Variant::dbl(32767.5) << u"Integer"_s << qint64(0) << 6;
    QTest::newRow("Integer bottom") << Variant::dbl(-32768.5) << u"Integer"_s << qint64(-32768) << 0;
    QTest::newRow("Long top rounds over") << Variant::dbl(2147483647.5) << u"Long"_s << qint64(0) << 6;
    QTest::newRow("Long bottom") << Variant::dbl(-2147483648.4) << u"Long"_s << qint64(-2147483648) << 0;
    QTest::newRow("Long from huge") << Variant::dbl(1e300) << u"Long"_s << qint64(0) << 6;
    QTest::newRow("Byte -0.5 to 0") << Variant::dbl(-0.5) << u"Byte"_s << qint64(0) << 0;
    QTest::newRow("Byte -0.6") << Variant::dbl(-0.6) << u"Byte"_s << qint64(0) << 6;
    QTest::newRow("Byte 255.5") << Variant::dbl(255.5) << u"Byte"_s << qint64(0) << 6;
    QTest::newRow("Byte from Integer") << Variant::integer(255) << u"Byte"_s << qint64(255) << 0;
    QTest::newRow("Currency 2.5") << cur(u"2.5") << u"Long"_s << qint64(2) << 0;
    QTest::newRow("Currency -3.5") << cur(u"-3.5") << u"Long"_s << qint64(-4) << 0;
    QTest::newRow("Currency -2.5001") << cur(u"-2.5001") << u"Long"_s << qint64(-3) << 0;
    QTest::newRow("Currency max") << Variant::currency(Currency::fromRaw(std::numeric_limits<qint64>::max()))
                                  << u"Long"_s << qint64(0) << 6;
    QTest::newRow("Decimal 2.5") << dec(u"2.5") << u"Integer"_s << qint64(2) << 0;
    QTest::newRow("Decimal huge") << dec(u"1E25") << u"Long"_s << qint64(0) << 6;
    QTest::newRow("text trimmed") << str(u" 2.5 ") << u"Integer"_s << qint64(2) << 0;
    QTest::newRow("text exponent") << str(u"1e2") << u"Byte"_s << qint64(100) << 0;
    // Text rounds from its exact digits, not from a double near them.
    QTest::newRow("text just above half") << str(u"2.50000000000000000001") << u"Long"_s << qint64(3) << 0;
    QTest::newRow("text too large") << str(u"1E30") << u"Long"_s << qint64(0) << 6;
    QTest::newRow("text no number") << str(u"12a") << u"Long"_s << qint64(0) << 13;
    QTest::newRow("empty text") << str(u"") << u"Long"_s << qint64(0) << 13;
    QTest::newRow("True") << Variant::boolean(true) << u"Integer"_s << qint64(-1) << 0;
    QTest::newRow("True to Byte") << Variant::boolean(true) << u"Byte"_s << qint64(0) << 6;
    QTest::newRow("Empty") << Variant() << u"Byte"_s << qint64(0) << 0;
    QTest::newRow("Null") << Variant::null() << u"Long"_s << qint64(0) << 94;
    QTest::newRow("Date") << Variant::date(45352.5) << u"Long"_s << qint64(45352) << 0;
}

void TestVariant::wholeConversionsRoundHalfToEven()
{
    QFETCH(Variant, value);
    QFETCH(QString, target);
    QFETCH(qint64, expected);
    QFETCH(int, err);
    qint64 result = 0;
    const qint32 raised = errNumberOf([&] {
        if (target == u"Byte")
            result = value.toByte();
        else if (target == u"Integer")
            result = value.toInteger();
        else
            result = value.toLong();
    });
    QCOMPARE(raised, err);
    if (err == 0)
        QCOMPARE(result, expected);
}

void TestVariant::toBool_data()
{
    QTest::addColumn<Variant>("value");
    QTest::addColumn<int>("expected");  // 0 false, 1 true, else the error number
    QTest::newRow("0.0") << Variant::dbl(0.0) << 0;
    QTest::newRow("-0.5") << Variant::dbl(-0.5) << 1;
    QTest::newRow("Currency 0.0001") << cur(u"0.0001") << 1;
    QTest::newRow("Decimal 0") << dec(u"0.00") << 0;
    QTest::newRow("Byte 0") << Variant::byte(0) << 0;
    QTest::newRow("TRUE") << str(u"TRUE") << 1;
    QTest::newRow("false with blanks") << str(u" false ") << 0;
    QTest::newRow("numeric text 0") << str(u"0.000") << 0;
    QTest::newRow("numeric text -2") << str(u"-2") << 1;
    QTest::newRow("other text") << str(u"yes") << 13;
    QTest::newRow("Empty") << Variant() << 0;
    QTest::newRow("Null") << Variant::null() << 94;
}

void TestVariant::toBool()
{
    QFETCH(Variant, value);
    QFETCH(int, expected);
    bool result = false;
    const qint32 err = errNumberOf([&] { result = value.toBool(); });
    QCOMPARE(err == 0 ? int(result) : err, expected);
}

void TestVariant::otherConversions()
{
    QCOMPARE(Variant::dbl(12081.79 / 56).toCurrency().raw(), qint64(2157463));
    QCOMPARE(str(u"0.00015").toCurrency().raw(), qint64(2));
    QCOMPARE(Variant::boolean(true).toCurrency().raw(), qint64(-10000));
    QCOMPARE(errNumberOf([] { Variant::dbl(1e300).toCurrency(); }), ErrNo::Overflow);
    QCOMPARE(errNumberOf([] { str(u"1.2.3").toCurrency(); }), ErrNo::TypeMismatch);
    QCOMPARE(errNumberOf([] { Variant::null().toCurrency(); }), ErrNo::InvalidUseOfNull);
    QCOMPARE(Variant().toCurrency().raw(), qint64(0));

    QCOMPARE(Variant::dbl(0.1 + 0.2).toDecimal().toString(), u"0.3"_s);
    QCOMPARE(cur(u"-1.25").toDecimal().toString(), u"-1.25"_s);
    QCOMPARE(str(u" 1.50 ").toDecimal().toString(), u"1.5"_s);
    QCOMPARE(errNumberOf([] { str(u"x").toDecimal(); }), ErrNo::TypeMismatch);

    QCOMPARE(str(u" 3.25 ").toDouble(), 3.25);
    QCOMPARE(str(u"-1E-400").toDouble(), 0.0);
    QCOMPARE(errNumberOf([] { str(u"1E400").toDouble(); }), ErrNo::Overflow);
    QCOMPARE(errNumberOf([] { str(u"1,5").toDouble(); }), ErrNo::TypeMismatch);
    QCOMPARE(cur(u"215.7463").toDouble(), 215.7463);
    QCOMPARE(Variant::boolean(true).toDouble(), -1.0);

    QCOMPARE(errNumberOf([] { Variant::null().toString(); }), ErrNo::InvalidUseOfNull);
    QCOMPARE(Variant().toString(), QString());
}

void TestVariant::toStringOfNumbers_data()
{
    QTest::addColumn<Variant>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("0.1 + 0.2") << Variant::dbl(0.1 + 0.2) << u"0.3"_s;
    QTest::newRow("15 digits") << Variant::dbl(123456789012345.0) << u"123456789012345"_s;
    QTest::newRow("16 digits") << Variant::dbl(1234567890123456.0) << u"1.23456789012346E+15"_s;
    QTest::newRow("1E+20") << Variant::dbl(1e20) << u"1E+20"_s;
    QTest::newRow("0.0001") << Variant::dbl(0.0001) << u"0.0001"_s;
    QTest::newRow("1E-05") << Variant::dbl(0.00001) << u"1E-05"_s;
    QTest::newRow("-2.5") << Variant::dbl(-2.5) << u"-2.5"_s;
    QTest::newRow("negative zero") << Variant::dbl(-0.0) << u"0"_s;
    QTest::newRow("Currency") << cur(u"-12.50") << u"-12.5"_s;
    QTest::newRow("Decimal") << dec(u"1.500") << u"1.5"_s;
    QTest::newRow("True") << Variant::boolean(true) << u"True"_s;
    QTest::newRow("False") << Variant::boolean(false) << u"False"_s;
    QTest::newRow("Integer") << Variant::integer(-32768) << u"-32768"_s;
    QTest::newRow("Byte") << Variant::byte(255) << u"255"_s;
}

void TestVariant::toStringOfNumbers()
{
    QFETCH(Variant, value);
    QFETCH(QString, text);
    QCOMPARE(value.toString(), text);
}

void TestVariant::datesFromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("printed");  // or "err N"
    QTest::newRow("ISO date") << u"2024-03-01"_s << u"01.03.2024"_s;
    QTest::newRow("ISO date and time") << u"2024-03-01 13:45:30"_s << u"01.03.2024 13:45:30"_s;
    QTest::newRow("milliseconds") << u"2024-03-01 13:45:30.250"_s << u"01.03.2024 13:45:30"_s;
    QTest::newRow("T separator") << u"2024-03-01T13:45:30"_s << u"01.03.2024 13:45:30"_s;
    QTest::newRow("Turkish date") << u" 01.03.2024 "_s << u"01.03.2024"_s;
    QTest::newRow("Turkish date and time") << u"01.03.2024 00:00:01"_s << u"01.03.2024 00:00:01"_s;
    QTest::newRow("midnight") << u"2024-03-01 00:00:00"_s << u"01.03.2024"_s;
    QTest::newRow("before the epoch") << u"1899-12-29 06:00:00"_s << u"29.12.1899 06:00:00"_s;
    QTest::newRow("no such day") << u"2024-02-30"_s << u"err 13"_s;
    QTest::newRow("short fields") << u"1.3.2024"_s << u"err 13"_s;
    QTest::newRow("slashes") << u"01/03/2024"_s << u"err 13"_s;
    QTest::newRow("hour 25") << u"2024-03-01 25:00:00"_s << u"err 13"_s;
    QTest::newRow("T after a Turkish date") << u"01.03.2024T13:45:30"_s << u"err 13"_s;
    QTest::newRow("trailing text") << u"2024-03-01 13:45:30x"_s << u"err 13"_s;
    QTest::newRow("number text") << u"45352"_s << u"err 13"_s;
}

void TestVariant::datesFromText()
{
    QFETCH(QString, text);
    QFETCH(QString, printed);
    QString result;
    const qint32 err = errNumberOf([&] { result = Variant::date(Variant::string(text).toDate()).toString(); });
    QCOMPARE(err != 0 ? u"err "_s + QString::number(err) : result, printed);
}

void TestVariant::dateNumbersAndCalendar_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QTime>("time");
    QTest::addColumn<double>("number");
    QTest::addColumn<QString>("printed");
    QTest::newRow("epoch") << QDate(1899, 12, 30) << QTime(0, 0) << 0.0 << u"00:00:00"_s;
    QTest::newRow("time only") << QDate(1899, 12, 30) << QTime(12, 0) << 0.5 << u"12:00:00"_s;
    // Before the epoch the fraction still counts forward within the day.
    QTest::newRow("before the epoch") << QDate(1899, 12, 29) << QTime(6, 0) << -1.25
                                      << u"29.12.1899 06:00:00"_s;
    QTest::newRow("day one") << QDate(1899, 12, 31) << QTime(0, 0) << 1.0 << u"31.12.1899"_s;
    QTest::newRow("2024-03-01 18:00") << QDate(2024, 3, 1) << QTime(18, 0) << 45352.75
                                      << u"01.03.2024 18:00:00"_s;
    QTest::newRow("first day") << QDate(100, 1, 1) << QTime(0, 0) << -657434.0 << u"01.01.0100"_s;
    QTest::newRow("last day") << QDate(9999, 12, 31) << QTime(0, 0) << 2958465.0 << u"31.12.9999"_s;
}

void TestVariant::dateNumbersAndCalendar()
{
    QFETCH(QDate, date);
    QFETCH(QTime, time);
    QFETCH(double, number);
    QFETCH(QString, printed);
    QCOMPARE(oleDateFrom(date, time), number);
    QCOMPARE(dateTimeFromOleDate(number), QDateTime(date, time));
    const Variant v = Variant::dateTime(QDateTime(date, time));
    QCOMPARE(v.type(), Variant::Type::Date);
    QCOMPARE(v.doubleValue(), number);
    QCOMPARE(v.toString(), printed);
    QCOMPARE(v.toDateTime(), QDateTime(date, time));
}

void TestVariant::secondsOfADaySurviveTheDateNumber()
{
    for (const QDate date : {QDate(1800, 6, 1), QDate(2024, 1, 15), QDate(9999, 12, 31)}) {
        int wrong = 0;
        for (int second = 0; second < 86400; second += 7) {
            const QTime time = QTime::fromMSecsSinceStartOfDay(second * 1000 + 7);
            if (dateTimeFromOleDate(oleDateFrom(date, time)) != QDateTime(date, time))
                ++wrong;
        }
        QVERIFY2(wrong == 0, qPrintable(date.toString(Qt::ISODate)));
    }
    QCOMPARE(Variant::date(0.99999999).toString(), u"31.12.1899"_s);  // rounds to midnight
    QCOMPARE(errNumberOf([] { Variant::dbl(2958466.0).toDate(); }), ErrNo::Overflow);
    QCOMPARE(errNumberOf([] { Variant::dbl(-657435.0).toDate(); }), ErrNo::Overflow);
    QCOMPARE(errNumberOf([] { Variant::null().toDate(); }), ErrNo::InvalidUseOfNull);
}

void TestVariant::intAbsAndNegation_data()
{
    QTest::addColumn<Variant>("value");
    QTest::addColumn<QString>("intPart");
    QTest::addColumn<QString>("abs");
    QTest::addColumn<QString>("negated");
    QTest::newRow("Currency -1.5") << cur(u"-1.5") << u"Currency:-2"_s << u"Currency:1.5"_s << u"Currency:1.5"_s;
    QTest::newRow("Currency 2.9999") << cur(u"2.9999") << u"Currency:2"_s << u"Currency:2.9999"_s
                                     << u"Currency:-2.9999"_s;
    QTest::newRow("Currency min") << CurrencyMin << u"err 6"_s << u"err 6"_s << u"err 6"_s;
    QTest::newRow("Double -1.5") << Variant::dbl(-1.5) << u"Double:-2"_s << u"Double:1.5"_s << u"Double:1.5"_s;
    QTest::newRow("Decimal -0.1") << dec(u"-0.1") << u"Decimal:-1"_s << u"Decimal:0.1"_s << u"Decimal:0.1"_s;
    QTest::newRow("Long -7") << Variant::longInt(-7) << u"Long:-7"_s << u"Long:7"_s << u"Long:7"_s;
    QTest::newRow("Long min") << LongMin << u"Long:-2147483648"_s << u"Double:2147483648"_s
                              << u"Double:2147483648"_s;
    QTest::newRow("Integer min") << Variant::integer(-32768) << u"Integer:-32768"_s << u"Long:32768"_s
                                 << u"Long:32768"_s;
    QTest::newRow("Byte 5") << Variant::byte(5) << u"Byte:5"_s << u"Byte:5"_s << u"Integer:-5"_s;
    QTest::newRow("True") << Variant::boolean(true) << u"Integer:-1"_s << u"Integer:1"_s << u"Integer:1"_s;
    QTest::newRow("text") << str(u"-2.5") << u"Double:-3"_s << u"Double:2.5"_s << u"Double:2.5"_s;
    QTest::newRow("text no number") << str(u"x") << u"err 13"_s << u"err 13"_s << u"err 13"_s;
    QTest::newRow("Date") << Variant::date(45352.75) << u"Date:01.03.2024"_s << u"Date:01.03.2024 18:00:00"_s
                          << u"Date:29.10.1775 18:00:00"_s;
    QTest::newRow("Empty") << Variant() << u"Integer:0"_s << u"Integer:0"_s << u"Integer:0"_s;
    QTest::newRow("Null") << Variant::null() << u"Null"_s << u"Null"_s << u"Null"_s;
}

void TestVariant::intAbsAndNegation()
{
    QFETCH(Variant, value);
    QFETCH(QString, intPart);
    QFETCH(QString, abs);
    QFETCH(QString, negated);
    QCOMPARE(describe([&] { return value.intPart(); }), intPart);
    QCOMPARE(describe([&] { return value.abs(); }), abs);
    QCOMPARE(describe([&] { return -value; }), negated);
}

void TestVariant::additionResultTypes_data()
{
    // One sample of each type; small values, so that nothing grows.
    const QList<Variant> samples = {Variant(),       Variant::boolean(true), Variant::byte(2),
                                    Variant::integer(3), Variant::longInt(4), Variant::dbl(0.5),
                                    cur(u"1.5"),     dec(u"2.25"),           Variant::date(45352),
                                    str(u"7"),       Variant::null()};
    // Row: left operand; columns in the order of the samples above.
    const QList<std::pair<const char *, QStringList>> table = {
        {"Empty", {u"Integer"_s, u"Integer"_s, u"Integer"_s, u"Integer"_s, u"Long"_s, u"Double"_s,
                   u"Currency"_s, u"Decimal"_s, u"Date"_s, u"String"_s, u"Null"_s}},
        {"Boolean", {u"Integer"_s, u"Integer"_s, u"Integer"_s, u"Integer"_s, u"Long"_s, u"Double"_s,
                     u"Currency"_s, u"Decimal"_s, u"Date"_s, u"Double"_s, u"Null"_s}},
        {"Byte", {u"Integer"_s, u"Integer"_s, u"Byte"_s, u"Integer"_s, u"Long"_s, u"Double"_s,
                  u"Currency"_s, u"Decimal"_s, u"Date"_s, u"Double"_s, u"Null"_s}},
        {"Integer", {u"Integer"_s, u"Integer"_s, u"Integer"_s, u"Integer"_s, u"Long"_s, u"Double"_s,
                     u"Currency"_s, u"Decimal"_s, u"Date"_s, u"Double"_s, u"Null"_s}},
        {"Long", {u"Long"_s, u"Long"_s, u"Long"_s, u"Long"_s, u"Long"_s, u"Double"_s,
                  u"Currency"_s, u"Decimal"_s, u"Date"_s, u"Double"_s, u"Null"_s}},
        {"Double", {u"Double"_s, u"Double"_s, u"Double"_s, u"Double"_s, u"Double"_s, u"Double"_s,
                    u"Currency"_s, u"Decimal"_s, u"Date"_s, u"Double"_s, u"Null"_s}},
        {"Currency", {u"Currency"_s, u"Currency"_s, u"Currency"_s, u"Currency"_s, u"Currency"_s,
                      u"Currency"_s, u"Currency"_s, u"Decimal"_s, u"Date"_s, u"Currency"_s, u"Null"_s}},
        {"Decimal", {u"Decimal"_s, u"Decimal"_s, u"Decimal"_s, u"Decimal"_s, u"Decimal"_s,
                     u"Decimal"_s, u"Decimal"_s, u"Decimal"_s, u"Date"_s, u"Decimal"_s, u"Null"_s}},
        {"Date", {u"Date"_s, u"Date"_s, u"Date"_s, u"Date"_s, u"Date"_s, u"Date"_s,
                  u"Date"_s, u"Date"_s, u"Date"_s, u"Date"_s, u"Null"_s}},
        {"String", {u"String"_s, u"Double"_s, u"Double"_s, u"Double"_s, u"Double"_s, u"Double"_s,
                    u"Currency"_s, u"Decimal"_s, u"Date"_s, u"String"_s, u"Null"_s}},
        {"Null", {u"Null"_s, u"Null"_s, u"Null"_s, u"Null"_s, u"Null"_s, u"Null"_s,
                  u"Null"_s, u"Null"_s, u"Null"_s, u"Null"_s, u"Null"_s}},
    };
    QTest::addColumn<Variant>("a");
    QTest::addColumn<Variant>("b");
    QTest::addColumn<QString>("type");
    for (qsizetype i = 0; i < table.size(); ++i) {
        for (qsizetype j = 0; j < samples.size(); ++j) {
            const QString typeB = samples[j].isNull() ? u"Null"_s : samples[j].typeName();
            QTest::addRow("%s + %s", table[i].first, qPrintable(typeB))
                << samples[i] << samples[j] << table[i].second[j];
        }
    }
}

void TestVariant::additionResultTypes()
{
    QFETCH(Variant, a);
    QFETCH(Variant, b);
    QFETCH(QString, type);
    const Variant sum = a + b;
    QCOMPARE(sum.isNull() ? u"Null"_s : sum.typeName(), type);
}

void TestVariant::arithmetic_data()
{
    QTest::addColumn<Variant>("a");
    QTest::addColumn<Variant>("b");
    QTest::addColumn<QChar>("op");
    QTest::addColumn<QString>("result");
    const Variant currencyMax = Variant::currency(Currency::fromRaw(std::numeric_limits<qint64>::max()));
    // Growth instead of overflow for the whole types.
    QTest::newRow("Byte + Byte grows") << Variant::byte(200) << Variant::byte(100) << QChar(u'+') << u"Integer:300"_s;
    QTest::newRow("Byte - Byte below 0") << Variant::byte(1) << Variant::byte(2) << QChar(u'-') << u"Integer:-1"_s;
    QTest::newRow("Byte * Byte grows twice") << Variant::byte(255) << Variant::byte(255) << QChar(u'*')
                                             << u"Long:65025"_s;
    QTest::newRow("Integer + 1 grows") << Variant::integer(32767) << Variant::integer(1) << QChar(u'+')
                                       << u"Long:32768"_s;
    QTest::newRow("Integer min - 1 grows") << Variant::integer(-32768) << Variant::integer(1) << QChar(u'-')
                                           << u"Long:-32769"_s;
    QTest::newRow("Long max + 1 grows") << Variant::longInt(2147483647) << Variant::longInt(1) << QChar(u'+')
                                        << u"Double:2147483648"_s;
    QTest::newRow("Long * Long grows") << Variant::longInt(65536) << Variant::longInt(65536) << QChar(u'*')
                                       << u"Double:4294967296"_s;
    QTest::newRow("True + True") << Variant::boolean(true) << Variant::boolean(true) << QChar(u'+')
                                 << u"Integer:-2"_s;
    // Currency and Decimal overflow; so does a Double out of range.
    QTest::newRow("Currency max + 0.0001") << currencyMax << cur(u"0.0001") << QChar(u'+') << u"err 6"_s;
    QTest::newRow("Currency min - 0.0001") << CurrencyMin << cur(u"0.0001") << QChar(u'-') << u"err 6"_s;
    QTest::newRow("Currency max * 2") << currencyMax << Variant::integer(2) << QChar(u'*') << u"err 6"_s;
    QTest::newRow("Decimal max + 1") << dec(u"79228162514264337593543950335") << Variant::integer(1)
                                     << QChar(u'+') << u"err 6"_s;
    QTest::newRow("Double too large") << Variant::dbl(1e308) << Variant::integer(10) << QChar(u'*') << u"err 6"_s;
    // A Double meeting a Currency becomes Currency first, from its exact value.
    QTest::newRow("Currency + 0.00005") << cur(u"0.5") << Variant::dbl(0.00005) << QChar(u'+')
                                        << u"Currency:0.5001"_s;
    QTest::newRow("Currency * 0.00025") << cur(u"1") << Variant::dbl(0.00025) << QChar(u'*')
                                        << u"Currency:0.0003"_s;
    QTest::newRow("Currency * Currency to even") << cur(u"0.0003") << cur(u"0.5") << QChar(u'*')
                                                 << u"Currency:0.0002"_s;
    QTest::newRow("Currency * Long") << cur(u"12.3456") << Variant::longInt(-3) << QChar(u'*')
                                     << u"Currency:-37.0368"_s;
    QTest::newRow("Decimal + Double") << dec(u"0.1") << Variant::dbl(0.2) << QChar(u'+') << u"Decimal:0.3"_s;
    QTest::newRow("Decimal * Currency") << dec(u"1.00001") << cur(u"3") << QChar(u'*') << u"Decimal:3.00003"_s;
    QTest::newRow("Double + Double") << Variant::dbl(0.1) << Variant::dbl(0.2) << QChar(u'+') << u"Double:0.3"_s;
    // Text.
    QTest::newRow("text + text joins") << str(u"1") << str(u"2") << QChar(u'+') << u"String:12"_s;
    QTest::newRow("Empty + text joins") << Variant() << str(u"ab") << QChar(u'+') << u"String:ab"_s;
    QTest::newRow("text - text subtracts") << str(u"2") << str(u"0.5") << QChar(u'-') << u"Double:1.5"_s;
    QTest::newRow("text * text multiplies") << str(u"2") << str(u"4") << QChar(u'*') << u"Double:8"_s;
    QTest::newRow("text + Long") << str(u" 1.5 ") << Variant::longInt(2) << QChar(u'+') << u"Double:3.5"_s;
    QTest::newRow("text no number + Long") << str(u"a") << Variant::longInt(1) << QChar(u'+') << u"err 13"_s;
    QTest::newRow("Empty - text") << Variant() << str(u"3") << QChar(u'-') << u"Double:-3"_s;
    // Dates.
    QTest::newRow("Date + 1.5") << Variant::date(45352) << Variant::dbl(1.5) << QChar(u'+')
                                << u"Date:02.03.2024 12:00:00"_s;
    QTest::newRow("Date - Long") << Variant::date(45352) << Variant::longInt(1) << QChar(u'-')
                                 << u"Date:29.02.2024"_s;
    QTest::newRow("Date - Date") << Variant::date(45352.5) << Variant::date(45350) << QChar(u'-')
                                 << u"Double:2.5"_s;
    QTest::newRow("Date * 2") << Variant::date(2) << Variant::integer(2) << QChar(u'*') << u"Double:4"_s;
    // Null in, Null out, for every operator.
    QTest::newRow("Null - Long") << Variant::null() << Variant::longInt(1) << QChar(u'-') << u"Null"_s;
    QTest::newRow("Currency * Null") << cur(u"1") << Variant::null() << QChar(u'*') << u"Null"_s;
    QTest::newRow("text + Null") << str(u"a") << Variant::null() << QChar(u'+') << u"Null"_s;
    QTest::newRow("Empty - Null") << Variant() << Variant::null() << QChar(u'-') << u"Null"_s;
    QTest::newRow("Empty * Empty") << Variant() << Variant() << QChar(u'*') << u"Integer:0"_s;
}

void TestVariant::arithmetic()
{
    QFETCH(Variant, a);
    QFETCH(Variant, b);
    QFETCH(QChar, op);
    QFETCH(QString, result);
    QCOMPARE(describe([&] { return op == u'+' ? a + b : op == u'-' ? a - b : a * b; }), result);
}

void TestVariant::compare_data()
{
    QTest::addColumn<Variant>("a");
    QTest::addColumn<Variant>("b");
    QTest::addColumn<QString>("order");  // "-1", "0", "1", "Null" or "err N"
    QTest::newRow("Null vs 1") << Variant::null() << Variant::longInt(1) << u"Null"_s;
    QTest::newRow("text vs Null") << str(u"a") << Variant::null() << u"Null"_s;
    QTest::newRow("Null vs Null") << Variant::null() << Variant::null() << u"Null"_s;
    QTest::newRow("Empty vs 0") << Variant() << Variant::dbl(0) << u"0"_s;
    QTest::newRow("Empty vs empty text") << Variant() << str(u"") << u"0"_s;
    QTest::newRow("Empty vs text") << Variant() << str(u"a") << u"-1"_s;
    QTest::newRow("Empty vs 1") << Variant() << Variant::integer(1) << u"-1"_s;
    QTest::newRow("True vs -1") << Variant::boolean(true) << Variant::integer(-1) << u"0"_s;
    QTest::newRow("False vs Currency 0") << Variant::boolean(false) << cur(u"0") << u"0"_s;
    // The double 0.1 lies above one tenth; Currency compares exactly.
    QTest::newRow("Currency vs Double") << cur(u"0.1") << Variant::dbl(0.1) << u"-1"_s;
    QTest::newRow("Double vs Currency") << Variant::dbl(0.1) << cur(u"0.1") << u"1"_s;
    QTest::newRow("Currency vs Double equal") << cur(u"-0.5") << Variant::dbl(-0.5) << u"0"_s;
    QTest::newRow("Long vs Double") << Variant::longInt(3) << Variant::dbl(3.0) << u"0"_s;
    QTest::newRow("Byte vs Integer") << Variant::byte(255) << Variant::integer(256) << u"-1"_s;
    QTest::newRow("Long vs Currency") << Variant::longInt(-2147483648) << cur(u"-2147483648.0001") << u"1"_s;
    QTest::newRow("Decimal vs Double") << dec(u"0.1") << Variant::dbl(0.1) << u"0"_s;
    QTest::newRow("Decimal vs huge Double") << dec(u"79228162514264337593543950335") << Variant::dbl(1e30)
                                            << u"-1"_s;
    QTest::newRow("Decimal vs Currency") << dec(u"1.50") << cur(u"1.5") << u"0"_s;
    QTest::newRow("Decimal vs Long") << dec(u"-0.0000000000000000000000000001") << Variant::longInt(0) << u"-1"_s;
    QTest::newRow("text vs text is exact") << str(u"abc") << str(u"ABC") << u"1"_s;
    QTest::newRow("trailing blank counts") << str(u"a") << str(u"a ") << u"-1"_s;
    QTest::newRow("numeric texts compare as text") << str(u"10") << str(u"9") << u"-1"_s;
    QTest::newRow("numeric text vs number") << str(u"10") << Variant::longInt(9) << u"1"_s;
    QTest::newRow("number vs numeric text") << cur(u"2.5") << str(u" 2.50 ") << u"0"_s;
    QTest::newRow("text vs number") << str(u"abc") << Variant::longInt(1) << u"err 13"_s;
    QTest::newRow("Date vs Double") << Variant::date(45352.5) << Variant::dbl(45352.5) << u"0"_s;
    QTest::newRow("Date vs date text") << Variant::date(45352) << str(u"2024-03-01") << u"0"_s;
    QTest::newRow("Date vs later date text") << Variant::date(45352) << str(u"02.03.2024") << u"-1"_s;
    QTest::newRow("Date vs other text") << Variant::date(45352) << str(u"x") << u"err 13"_s;
}

void TestVariant::compare()
{
    QFETCH(Variant, a);
    QFETCH(Variant, b);
    QFETCH(QString, order);
    const auto text = [](std::optional<int> value) { return value ? QString::number(*value) : u"Null"_s; };
    QString forward;
    QString mirrored;
    QString equal;
    const qint32 err = errNumberOf([&] {
        forward = text(Variant::compare(a, b));
        mirrored = text(Variant::compare(b, a));
        const std::optional<bool> equals = Variant::equals(a, b);
        equal = equals ? text(int(*equals)) : u"Null"_s;
    });
    if (err != 0) {
        QCOMPARE(u"err "_s + QString::number(err), order);
        return;
    }
    QCOMPARE(forward, order);
    const bool isNull = order == u"Null";
    QCOMPARE(mirrored, isNull ? order : QString::number(-order.toInt()));
    QCOMPARE(equal, isNull ? order : text(int(order == u"0")));
}

void TestVariant::typeNames()
{
    const QList<std::pair<Variant, QString>> names = {
        {Variant(), u"Empty"_s},           {Variant::null(), u"Null"_s},
        {Variant::boolean(false), u"Boolean"_s}, {Variant::byte(1), u"Byte"_s},
        {Variant::integer(1), u"Integer"_s}, {Variant::longInt(1), u"Long"_s},
        {cur(u"1"), u"Currency"_s},        {dec(u"1"), u"Decimal"_s},
        {Variant::dbl(1), u"Double"_s},    {Variant::date(1), u"Date"_s},
        {str(u""), u"String"_s},
    };
    for (const auto &[value, name] : names)
        QCOMPARE(value.typeName(), name);
    QVERIFY(Variant::boolean(true).isNumeric());
    QVERIFY(!Variant::date(1).isNumeric());
    QVERIFY(!str(u"1").isNumeric());
}

QTEST_GUILESS_MAIN(TestVariant)
#include "tst_variant.moc"

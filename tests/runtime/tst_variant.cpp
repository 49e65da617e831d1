#include "runtime/variant.h"
#include "support/errcheck.h"

#include <QTest>

using namespace zelvan;
using namespace zelvan::runtime;
using namespace Qt::Literals::StringLiterals;
using zelvan::test::textOrErr;

namespace {

// A result as its TypeName and its text, or "Null", or the error it raises.
template <typename Compute>
QString typed(Compute &&compute)
{
    return textOrErr([&] {
        const Variant v = compute();
        return v.isNull() ? u"Null"_s : v.typeName() + u':' + v.toString();
    });
}

// The runtime's conversion functions, and intPart and abs, each giving its result as text.
using Conversion = QString (*)(const Variant &);
QString CBool(const Variant &v) { return Variant::boolean(v.toBool()).toString(); }
QString CInt(const Variant &v) { return QString::number(v.toInteger()); }
QString CLng(const Variant &v) { return QString::number(v.toLong()); }
QString CStr(const Variant &v) { return v.toString(); }
QString Int(const Variant &v) { return typed([&] { return v.intPart(); }); }
QString Abs(const Variant &v) { return typed([&] { return v.abs(); }); }

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

QString order(std::optional<int> value) { return value ? QString::number(*value) : u"Null"_s; }

} // namespace

Q_DECLARE_METATYPE(zelvan::runtime::Variant)
Q_DECLARE_METATYPE(Conversion)

class TestVariant : public QObject
{
    Q_OBJECT

private slots:
    // Whole numbers round halves to even before the range is checked. Text to numbers (halves, blanks, Integer's
    // range, no number) is checked against Decimal in the fuzz corpus replay.
    void conversions_data()
    {
        QTest::addColumn<Variant>("value");
        QTest::addColumn<Conversion>("conversion");
        QTest::addColumn<QString>("result");
        QTest::newRow("Double half to even") << f(2.5) << &CLng << u"2"_s;
        QTest::newRow("Currency half to even") << cur(u"-3.5") << &CLng << u"-4"_s;
        QTest::newRow("True is -1") << True << &CInt << u"-1"_s;
        QTest::newRow("false with blanks") << str(u" false ") << &CBool << u"False"_s;
        QTest::newRow("Null to Long") << Null << &CLng << InvalidUseOfNull;
        QTest::newRow("16 digits") << f(1234567890123456.0) << &CStr << u"1.23456789012346E+15"_s;
        QTest::newRow("minus zero") << f(-0.0) << &CStr << u"0"_s;
        QTest::newRow("intPart of Currency") << cur(u"-3.5") << &Int << u"Currency:-4"_s;
        QTest::newRow("abs of the Long bottom grows") << lng(-2147483647 - 1) << &Abs << u"Double:2147483648"_s;
    }
    void conversions()
    {
        QFETCH(Variant, value);
        QFETCH(Conversion, conversion);
        QTEST(textOrErr([&] { return conversion(value); }), "result");
    }

    // Currency with Double, and a text that is no number, are the stock valuation's (tst_stockvaluation,
    // tst_badinput).
    void arithmetic_data()
    {
        QTest::addColumn<Variant>("a");
        QTest::addColumn<QChar>("operation");
        QTest::addColumn<Variant>("b");
        QTest::addColumn<QString>("result");
        QTest::newRow("Long grows") << lng(2147483647) << QChar(u'+') << lng(1) << u"Double:2147483648"_s;
        QTest::newRow("Double too large") << f(1e308) << QChar(u'*') << Variant::integer(10) << Overflow;
        QTest::newRow("Decimal + Double") << dec(u"0.1") << QChar(u'+') << f(0.2) << u"Decimal:0.3"_s;
        QTest::newRow("Date - Date") << day(45352.5) << QChar(u'-') << day(45350) << u"Double:2.5"_s;
        QTest::newRow("Currency * Null") << cur(u"1") << QChar(u'*') << Null << u"Null"_s;
    }
    void arithmetic()
    {
        QFETCH(Variant, a);
        QFETCH(QChar, operation);
        QFETCH(Variant, b);
        QTEST(typed([&] { return operation == u'+' ? a + b : operation == u'-' ? a - b : a * b; }), "result");
    }

    // An order holds the other way round too, and agrees with equals().
    void compare_data()
    {
        QTest::addColumn<Variant>("a");
        QTest::addColumn<Variant>("b");
        QTest::addColumn<QString>("order");
        QTest::newRow("Null") << Null << lng(1) << u"Null"_s;
        QTest::newRow("Currency and the double 0.1") << cur(u"0.1") << f(0.1) << u"-1"_s;
        QTest::newRow("Decimal and Double") << dec(u"0.1") << f(0.1) << u"0"_s;
        QTest::newRow("text exact") << str(u"abc") << str(u"ABC") << u"1"_s;
        QTest::newRow("number and numeric text") << cur(u"2.5") << str(u" 2.50 ") << u"0"_s;
        QTest::newRow("text and number") << str(u"abc") << lng(1) << Mismatch;
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

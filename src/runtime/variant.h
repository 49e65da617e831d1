#pragma once

#include "runtime/currency.h"
#include "runtime/dates.h"
#include "runtime/decimal.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

#include <optional>

namespace zelvan::runtime {

// The old runtime's Variant, reduced to the types this program meets. Values
// read from a database are Variants: NULL is a value of its own, distinct from
// 0 and from the empty text. Arithmetic and comparisons follow the runtime's
// rules; what a type can't hold raises Overflow (6) or Type mismatch (13).
class Variant
{
public:
    enum class Type { Empty, Null, Boolean, Byte, Integer, Long, Currency, Decimal, Double, Date, String };

    Variant() = default;  // Empty

    static Variant null();
    static Variant boolean(bool value);
    static Variant byte(quint8 value);
    static Variant integer(qint16 value);
    static Variant longInt(qint32 value);
    static Variant currency(Currency value);
    static Variant decimal(const Decimal &value);
    static Variant dbl(double value);
    // Dates are the runtime's: days since 30 December 1899, the fraction the time of day.
    static Variant date(double oleDate);
    static Variant dateTime(const QDateTime &value);   // local wall-clock date and time
    static Variant string(const QString &value);

    Type type() const { return m_type; }
    bool isNull() const { return m_type == Type::Null; }
    bool isEmpty() const { return m_type == Type::Empty; }
    bool isNumeric() const;  // Boolean, Byte, Integer, Long, Currency, Decimal, Double
    QString typeName() const; // the runtime's TypeName: "Currency", "Null" ...

    // Direct access, valid only for the matching type.
    bool boolValue() const { return m_int != 0; }
    qint64 intValue() const { return m_int; }       // Byte, Integer, Long
    // Empty, Boolean, Byte, Integer and Long as a whole number: True is -1.
    qint64 wholeValue() const
    {
        if (m_type == Type::Boolean)
            return m_int != 0 ? -1 : 0;
        return m_type == Type::Empty ? 0 : m_int;
    }
    Currency currencyValue() const { return Currency::fromRaw(m_int); }
    const Decimal &decimalValue() const { return m_decimal; }
    double doubleValue() const { return m_double; }  // Double and Date
    const QString &stringValue() const { return m_string; }

    // Conversions, as CBool, CByte, CInt, CLng, CCur, CDec, CDbl, CDate, CStr.
    // Whole numbers round halves to even. Null raises Invalid use of Null (94);
    // text that is no number (or date) raises Type mismatch (13); a value out
    // of the target's range raises Overflow (6). Empty converts to 0 or "".
    bool toBool() const;
    quint8 toByte() const;
    qint16 toInteger() const;
    qint32 toLong() const;
    Currency toCurrency() const;
    Decimal toDecimal() const;
    double toDouble() const;
    double toDate() const;
    QDateTime toDateTime() const;
    // Numbers as plain text with '.' as decimal point, no grouping; True and
    // False as "True" and "False"; dates as "dd.MM.yyyy" or "dd.MM.yyyy HH:mm:ss".
    QString toString() const;

    // Int(): the largest whole number not above the value, in the value's own
    // type (text converts to Double first). Null gives Null.
    Variant intPart() const;
    // Abs(): in the value's own type; Null gives Null, Empty gives Integer 0.
    Variant abs() const;

    // Arithmetic with the runtime's type promotion: Null in, Null out; Empty
    // counts as 0; the result takes the more precise type in the order Byte,
    // Integer, Long, Double, Currency, Decimal; Byte, Integer and Long grow into
    // the next type instead of overflowing; Currency and Decimal overflow.
    friend Variant operator+(const Variant &a, const Variant &b);
    friend Variant operator-(const Variant &a, const Variant &b);
    friend Variant operator*(const Variant &a, const Variant &b);
    Variant operator-() const;

    // Comparison: nullopt when either side is Null (the runtime's Null result,
    // which an If treats as false). Numbers compare by value across types;
    // True is -1. Text compares with text exactly; text against a number
    // compares as a number when it is one, else raises Type mismatch.
    static std::optional<int> compare(const Variant &a, const Variant &b);
    // a = b, with Null giving nullopt.
    static std::optional<bool> equals(const Variant &a, const Variant &b);

private:
    static Variant ofInt(Type type, qint64 value)
    {
        Variant v;
        v.m_type = type;
        v.m_int = value;
        return v;
    }
    static Variant ofDouble(Type type, double value)
    {
        Variant v;
        v.m_type = type;
        v.m_double = value;
        return v;
    }

    Type m_type = Type::Empty;
    qint64 m_int = 0;      // Boolean (0/1), Byte, Integer, Long, Currency raw value
    double m_double = 0;   // Double, Date
    Decimal m_decimal;
    QString m_string;
};

} // namespace zelvan::runtime

#include "runtime/variant.h"

#include "runtime/dates.h"
#include "runtime/err.h"
#include "runtime/numbertext.h"

#include <cmath>
#include <limits>

namespace zelvan::runtime {

namespace {

using Type = Variant::Type;

// The largest Decimal, 2^96 - 1, as a double bound for comparisons.
constexpr double DecimalLimit = 79228162514264337593543950335.0;

// The type an operand takes in arithmetic: Empty and Boolean count as
// Integer, text and dates as Double.
Type arithmeticType(Type type)
{
    switch (type) {
    case Type::Empty:
    case Type::Boolean:
        return Type::Integer;
    case Type::String:
    case Type::Date:
        return Type::Double;
    default:
        return type;
    }
}

// Precision order of the arithmetic result types.
int rank(Type type)
{
    switch (type) {
    case Type::Byte: return 0;
    case Type::Integer: return 1;
    case Type::Long: return 2;
    case Type::Double: return 3;
    case Type::Currency: return 4;
    case Type::Decimal: return 5;
    default: return -1;
    }
}

// A whole result in the smallest type at or above `type` that holds it:
// Byte grows into Integer, Integer into Long, Long into Double.
Variant wholeResult(qint64 value, Type type)
{
    if (type == Type::Byte && value >= 0 && value <= 255)
        return Variant::byte(quint8(value));
    if (type != Type::Long && value >= -32768 && value <= 32767)
        return Variant::integer(qint16(value));
    if (value >= std::numeric_limits<qint32>::min() && value <= std::numeric_limits<qint32>::max())
        return Variant::longInt(qint32(value));
    return Variant::dbl(double(value));
}

Variant doubleResult(double value, double a, double b)
{
    if (!std::isfinite(value) && std::isfinite(a) && std::isfinite(b))
        throw overflowError();
    return Variant::dbl(value);
}

enum class Op { Add, Subtract, Multiply };

template <typename T>
T apply(Op op, const T &a, const T &b)
{
    switch (op) {
    case Op::Add: return a + b;
    case Op::Subtract: return a - b;
    case Op::Multiply: return a * b;
    }
    return a;
}

Variant arithmetic(const Variant &a, const Variant &b, Op op)
{
    const Type ta = a.type();
    const Type tb = b.type();
    // The valuation's hot paths first: same-type Currency, Long and Double.
    if (ta == tb) {
        if (ta == Type::Currency)
            return Variant::currency(apply(op, a.currencyValue(), b.currencyValue()));
        if (ta == Type::Double)
            return doubleResult(apply(op, a.doubleValue(), b.doubleValue()), a.doubleValue(), b.doubleValue());
        if (ta == Type::Long)
            return wholeResult(apply(op, a.intValue(), b.intValue()), Type::Long);
    }
    // A stored amount with a quantity: Currency, as the general rule below gives.
    if ((ta == Type::Currency && tb == Type::Double) || (ta == Type::Double && tb == Type::Currency)) {
        const Currency x = ta == Type::Currency ? a.currencyValue() : Currency::fromDouble(a.doubleValue());
        const Currency y = tb == Type::Currency ? b.currencyValue() : Currency::fromDouble(b.doubleValue());
        return Variant::currency(apply(op, x, y));
    }
    if (ta == Type::Null || tb == Type::Null)
        return Variant::null();
    if (op == Op::Add) {
        const bool textA = ta == Type::String || ta == Type::Empty;
        const bool textB = tb == Type::String || tb == Type::Empty;
        if (textA && textB && (ta == Type::String || tb == Type::String))
            return Variant::string(a.stringValue() + b.stringValue());
    }
    if (op != Op::Multiply && (ta == Type::Date || tb == Type::Date)) {
        const double x = a.toDouble();
        const double y = b.toDouble();
        const double value = apply(op, x, y);
        if (op == Op::Subtract && ta == Type::Date && tb == Type::Date)
            return doubleResult(value, x, y);
        return Variant::date(doubleResult(value, x, y).doubleValue());
    }
    const Type na = arithmeticType(ta);
    const Type nb = arithmeticType(tb);
    const Type result = rank(na) >= rank(nb) ? na : nb;
    switch (result) {
    case Type::Byte:
    case Type::Integer:
    case Type::Long:
        return wholeResult(apply(op, a.wholeValue(), b.wholeValue()), result);
    case Type::Currency:
        return Variant::currency(apply(op, a.toCurrency(), b.toCurrency()));
    case Type::Decimal:
        return Variant::decimal(apply(op, a.toDecimal(), b.toDecimal()));
    default: {
        const double x = a.toDouble();
        const double y = b.toDouble();
        return doubleResult(apply(op, x, y), x, y);
    }
    }
}

int sign(qint64 value)
{
    return value < 0 ? -1 : value > 0 ? 1 : 0;
}

int orderOf(std::partial_ordering order)
{
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

int compareDoubles(double x, double y)
{
    return x < y ? -1 : x > y ? 1 : 0;
}

// Number families for comparison, in the order that compareNumbers pairs them.
enum class Family { Whole, Currency, Double, Decimal };

Family familyOf(Type type)
{
    switch (type) {
    case Type::Currency: return Family::Currency;
    case Type::Decimal: return Family::Decimal;
    case Type::Double:
    case Type::Date: return Family::Double;
    default: return Family::Whole;
    }
}

// Compares two numeric values (Empty, Boolean and Date included) by their
// exact values; a Double against a Decimal goes through the Double's
// 15-digit form, as the runtime converts it.
int compareNumbers(const Variant &a, const Variant &b)
{
    const Family fa = familyOf(a.type());
    const Family fb = familyOf(b.type());
    if (fa > fb)
        return -compareNumbers(b, a);
    switch (fa) {
    case Family::Whole:
        switch (fb) {
        case Family::Whole: return sign(a.wholeValue() - b.wholeValue());
        case Family::Currency: return sign(a.wholeValue() * Currency::Scale - b.currencyValue().raw());
        case Family::Double: return compareDoubles(double(a.wholeValue()), b.doubleValue());
        case Family::Decimal: return orderOf(Decimal::fromInt64(a.wholeValue()) <=> b.decimalValue());
        }
        break;
    case Family::Currency:
        switch (fb) {
        case Family::Currency: return orderOf(a.currencyValue() <=> b.currencyValue());
        case Family::Double: return orderOf(a.currencyValue().compareExact(b.doubleValue()));
        default: return orderOf(Decimal::fromCurrency(a.currencyValue()) <=> b.decimalValue());
        }
    case Family::Double:
        if (fb == Family::Double)
            return compareDoubles(a.doubleValue(), b.doubleValue());
        if (std::fabs(a.doubleValue()) >= DecimalLimit)
            return a.doubleValue() < 0 ? -1 : 1;
        return orderOf(Decimal::fromDouble(a.doubleValue()) <=> b.decimalValue());
    case Family::Decimal:
        return orderOf(a.decimalValue() <=> b.decimalValue());
    }
    return 0;
}

int compareTexts(const QString &a, const QString &b)
{
    const int c = QStringView(a).compare(QStringView(b), Qt::CaseSensitive);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

// Text against a number: as a number when the text is one (a date text
// against a date), else a type mismatch.
int compareTextWith(const QString &text, const Variant &other)
{
    if (const std::optional<double> number = parseDouble(text))
        return compareNumbers(Variant::dbl(*number), other);
    if (other.type() == Type::Date) {
        if (const std::optional<double> date = parseDateText(text, DateTextForm::Runtime))
            return compareDoubles(*date, other.doubleValue());
    }
    throw typeMismatchError();
}

} // namespace

Variant Variant::null()
{
    return ofInt(Type::Null, 0);
}

Variant Variant::boolean(bool value)
{
    return ofInt(Type::Boolean, value ? 1 : 0);
}

Variant Variant::byte(quint8 value)
{
    return ofInt(Type::Byte, value);
}

Variant Variant::integer(qint16 value)
{
    return ofInt(Type::Integer, value);
}

Variant Variant::longInt(qint32 value)
{
    return ofInt(Type::Long, value);
}

Variant Variant::currency(Currency value)
{
    return ofInt(Type::Currency, value.raw());
}

Variant Variant::decimal(const Decimal &value)
{
    Variant v;
    v.m_type = Type::Decimal;
    v.m_decimal = value;
    return v;
}

Variant Variant::dbl(double value)
{
    return ofDouble(Type::Double, value);
}

Variant Variant::date(double oleDate)
{
    return ofDouble(Type::Date, oleDate);
}

Variant Variant::dateTime(const QDateTime &value)
{
    if (!value.isValid())
        return null();
    const QDateTime local = value.toLocalTime();
    return date(oleDateFrom(local.date(), local.time()));
}

Variant Variant::string(const QString &value)
{
    Variant v;
    v.m_type = Type::String;
    v.m_string = value;
    return v;
}

bool Variant::isNumeric() const
{
    switch (m_type) {
    case Type::Boolean:
    case Type::Byte:
    case Type::Integer:
    case Type::Long:
    case Type::Currency:
    case Type::Decimal:
    case Type::Double:
        return true;
    default:
        return false;
    }
}

QString Variant::typeName() const
{
    switch (m_type) {
    case Type::Empty: return QStringLiteral(u"Empty");
    case Type::Null: return QStringLiteral(u"Null");
    case Type::Boolean: return QStringLiteral(u"Boolean");
    case Type::Byte: return QStringLiteral(u"Byte");
    case Type::Integer: return QStringLiteral(u"Integer");
    case Type::Long: return QStringLiteral(u"Long");
    case Type::Currency: return QStringLiteral(u"Currency");
    case Type::Decimal: return QStringLiteral(u"Decimal");
    case Type::Double: return QStringLiteral(u"Double");
    case Type::Date: return QStringLiteral(u"Date");
    case Type::String: return QStringLiteral(u"String");
    }
    return QString();
}

Variant Variant::intPart() const
{
    switch (m_type) {
    case Type::Null:
        return *this;
    case Type::Empty:
    case Type::Boolean:
        return integer(qint16(wholeValue()));
    case Type::Byte:
    case Type::Integer:
    case Type::Long:
        return *this;
    case Type::Currency: {
        const qint64 raw = m_int;
        const qint64 rest = raw % Currency::Scale;
        if (rest >= 0)
            return currency(Currency::fromRaw(raw - rest));
        const qint64 down = Currency::Scale + rest;
        if (raw < std::numeric_limits<qint64>::min() + down)
            throw overflowError();
        return currency(Currency::fromRaw(raw - down));
    }
    case Type::Decimal:
        return decimal(m_decimal.floor());
    case Type::Double:
        return dbl(std::floor(m_double));
    case Type::Date:
        return date(std::floor(m_double));
    case Type::String:
        return dbl(std::floor(toDouble()));
    }
    return *this;
}

Variant Variant::abs() const
{
    if (m_type == Type::Empty || m_type == Type::Boolean)
        return integer(qint16(wholeValue())).abs();
    if (m_type == Type::String)
        return dbl(toDouble()).abs();
    bool negative = m_int < 0;
    if (m_type == Type::Decimal)
        negative = m_decimal.isNegative();
    else if (m_type == Type::Double || m_type == Type::Date)
        negative = std::signbit(m_double);
    // Negation grows Integer and Long where the runtime does, and overflows Currency.
    return negative ? -*this : *this;
}

Variant operator+(const Variant &a, const Variant &b)
{
    return arithmetic(a, b, Op::Add);
}

Variant operator-(const Variant &a, const Variant &b)
{
    return arithmetic(a, b, Op::Subtract);
}

Variant operator*(const Variant &a, const Variant &b)
{
    return arithmetic(a, b, Op::Multiply);
}

Variant Variant::operator-() const
{
    switch (m_type) {
    case Type::Null:
        return *this;
    case Type::Empty:
    case Type::Boolean:
    case Type::Byte:
    case Type::Integer:
    case Type::Long:
        return wholeResult(-wholeValue(), m_type == Type::Long ? Type::Long : Type::Integer);
    case Type::Currency:
        return currency(-currencyValue());
    case Type::Decimal:
        return decimal(-m_decimal);
    case Type::Double:
        return dbl(-m_double);
    case Type::Date:
        return date(-m_double);
    case Type::String:
        return dbl(-toDouble());
    }
    return *this;
}

std::optional<int> Variant::compare(const Variant &a, const Variant &b)
{
    const Type ta = a.type();
    const Type tb = b.type();
    if (ta == Type::Null || tb == Type::Null)
        return std::nullopt;
    if (ta == Type::String || tb == Type::String) {
        if ((ta == Type::String || ta == Type::Empty) && (tb == Type::String || tb == Type::Empty))
            return compareTexts(a.stringValue(), b.stringValue());
        if (ta == Type::String)
            return compareTextWith(a.stringValue(), b);
        return -compareTextWith(b.stringValue(), a);
    }
    return compareNumbers(a, b);
}

std::optional<bool> Variant::equals(const Variant &a, const Variant &b)
{
    const std::optional<int> order = compare(a, b);
    if (!order)
        return std::nullopt;
    return *order == 0;
}

} // namespace zelvan::runtime

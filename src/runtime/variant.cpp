#include "runtime/variant.h"

#include "runtime/err.h"
#include "runtime/numbertext.h"

#include <cmath>
#include <limits>

namespace zelvan::runtime {

namespace {

using Type = Variant::Type;

constexpr qint64 MsPerDay = 86400000;
// The runtime's date range: 1 January 100 to 31 December 9999.
constexpr double MinOleDate = -657434.0;
constexpr double MaxOleDate = 2958466.0;  // exclusive
// The largest Decimal, 2^96 - 1, as a double bound for comparisons.
constexpr double DecimalLimit = 79228162514264337593543950335.0;

QDate oleEpoch()
{
    return QDate(1899, 12, 30);
}

// Halves to the even neighbour, from the double's exact value.
double roundHalfEven(double value)
{
    double whole = std::floor(value);
    const double fraction = value - whole;  // exact below 2^52, zero above
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0))
        whole += 1;
    return whole;
}

// A Currency's raw value to a whole number, halves to even.
qint64 roundCurrencyToWhole(Currency value)
{
    const qint64 raw = value.raw();
    qint64 whole = raw / Currency::Scale;
    const qint64 rest = raw % Currency::Scale;  // same sign as raw
    const qint64 twice = 2 * (rest < 0 ? -rest : rest);
    if (twice > Currency::Scale || (twice == Currency::Scale && whole % 2 != 0))
        whole += raw < 0 ? -1 : 1;
    return whole;
}

// Splits a date number into days from the epoch and the time of day in
// milliseconds, rounded to `unitMs`. Negative numbers keep their fraction
// counting forward within the day, as the runtime's dates do.
void splitOleDate(double oleDate, qint64 &days, qint64 &msOfDay, qint64 unitMs)
{
    const double whole = std::trunc(oleDate);
    const double fraction = std::fabs(oleDate - whole);
    const qint64 units = std::llround(fraction * double(MsPerDay / unitMs));
    days = qint64(whole);
    msOfDay = units * unitMs;
    if (msOfDay >= MsPerDay) {
        msOfDay -= MsPerDay;
        ++days;
    }
}

void checkDateRange(double oleDate)
{
    if (!(oleDate >= MinOleDate && oleDate < MaxOleDate))
        throw overflowError();
}

// Fixed-width digits at `pos`; -1 when they are not all digits.
int fixedDigits(QStringView text, qsizetype pos, int width)
{
    if (pos + width > text.size())
        return -1;
    int value = 0;
    for (int i = 0; i < width; ++i) {
        const char16_t ch = text[pos + i].unicode();
        if (ch < u'0' || ch > u'9')
            return -1;
        value = value * 10 + (ch - u'0');
    }
    return value;
}

// "HH:mm:ss" with an optional ".zzz" (one to three digits) at `pos`, to the end.
std::optional<QTime> parseTimeText(QStringView text, qsizetype pos)
{
    const int hour = fixedDigits(text, pos, 2);
    const int minute = fixedDigits(text, pos + 3, 2);
    const int second = fixedDigits(text, pos + 6, 2);
    if (hour < 0 || minute < 0 || second < 0 || text[pos + 2] != u':' || text[pos + 5] != u':')
        return std::nullopt;
    pos += 8;
    int ms = 0;
    if (pos < text.size()) {
        if (text[pos] != u'.')
            return std::nullopt;
        const qsizetype digits = text.size() - pos - 1;
        if (digits < 1 || digits > 3)
            return std::nullopt;
        ms = fixedDigits(text, pos + 1, int(digits));
        if (ms < 0)
            return std::nullopt;
        for (qsizetype i = digits; i < 3; ++i)
            ms *= 10;
    }
    const QTime time(hour, minute, second, ms);
    if (!time.isValid())
        return std::nullopt;
    return time;
}

// The date texts a database or a user gives: "yyyy-MM-dd", "dd.MM.yyyy",
// each optionally with a time (after a blank, or after 'T' for the ISO form).
std::optional<double> parseDateText(QStringView text)
{
    text = text.trimmed();
    int year = -1;
    int month = -1;
    int day = -1;
    if (text.size() >= 10 && text[4] == u'-' && text[7] == u'-') {
        year = fixedDigits(text, 0, 4);
        month = fixedDigits(text, 5, 2);
        day = fixedDigits(text, 8, 2);
    } else if (text.size() >= 10 && text[2] == u'.' && text[5] == u'.') {
        day = fixedDigits(text, 0, 2);
        month = fixedDigits(text, 3, 2);
        year = fixedDigits(text, 6, 4);
    }
    if (year < 0 || month < 0 || day < 0)
        return std::nullopt;
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    QTime time(0, 0);
    if (text.size() > 10) {
        const bool iso = text[4] == u'-';
        const QChar separator = text[10];
        if (!(separator == u' ' || (iso && separator == u'T')))
            return std::nullopt;
        const std::optional<QTime> parsed = parseTimeText(text, 11);
        if (!parsed)
            return std::nullopt;
        time = *parsed;
    }
    return oleDateFrom(date, time);
}

QString twoDigits(qint64 value)
{
    return QString::number(value).rightJustified(2, u'0');
}

QString dateText(double oleDate)
{
    qint64 days = 0;
    qint64 ms = 0;
    splitOleDate(oleDate, days, ms, 1000);
    const qint64 seconds = ms / 1000;
    const QString time = twoDigits(seconds / 3600) + u':' + twoDigits(seconds / 60 % 60) + u':'
                         + twoDigits(seconds % 60);
    if (days == 0)
        return time;
    const QDate date = oleEpoch().addDays(days);
    QString text = twoDigits(date.day()) + u'.' + twoDigits(date.month()) + u'.'
                   + QString::number(date.year()).rightJustified(4, u'0');
    if (ms != 0)
        text += u' ' + time;
    return text;
}

// Empty, Boolean, Byte, Integer and Long as a whole number: True is -1.
qint64 wholeValue(const Variant &v)
{
    if (v.type() == Type::Boolean)
        return v.boolValue() ? -1 : 0;
    return v.type() == Type::Empty ? 0 : v.intValue();
}

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
        return wholeResult(apply(op, wholeValue(a), wholeValue(b)), result);
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
        case Family::Whole: return sign(wholeValue(a) - wholeValue(b));
        case Family::Currency: return sign(wholeValue(a) * Currency::Scale - b.currencyValue().raw());
        case Family::Double: return compareDoubles(double(wholeValue(a)), b.doubleValue());
        case Family::Decimal: return orderOf(Decimal::fromInt64(wholeValue(a)) <=> b.decimalValue());
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
        if (const std::optional<double> date = parseDateText(text))
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

namespace {

template <typename... Fs>
struct Overloaded : Fs...
{
    using Fs::operator()...;
};
template <typename... Fs>
Overloaded(Fs...) -> Overloaded<Fs...>;

// One dispatch for the conversions: the value as a whole number (Empty,
// Boolean, Byte, Integer, Long), a Currency, a Decimal, a double (Double and
// Date) or its text. Null raises Invalid use of Null.
template <typename Visitor>
auto visitValue(const Variant &v, Visitor &&visit)
{
    switch (v.type()) {
    case Type::Null:
        break;
    case Type::Empty:
    case Type::Boolean:
    case Type::Byte:
    case Type::Integer:
    case Type::Long:
        return visit(wholeValue(v));
    case Type::Currency:
        return visit(v.currencyValue());
    case Type::Decimal:
        return visit(v.decimalValue());
    case Type::Double:
    case Type::Date:
        return visit(v.doubleValue());
    case Type::String:
        return visit(v.stringValue());
    }
    throw invalidUseOfNullError();
}

template <typename T>
T orTypeMismatch(const std::optional<T> &value)
{
    if (!value)
        throw typeMismatchError();
    return *value;
}

// A whole number in [min, max], halves to even, for CByte, CInt and CLng.
qint64 toWhole(const Variant &v, qint64 min, qint64 max)
{
    const qint64 value = visitValue(v, Overloaded{
        [](qint64 whole) { return whole; },
        [](Currency c) { return roundCurrencyToWhole(c); },
        [](const Decimal &d) { return d.toInt64(); },
        [&](double d) {
            const double rounded = roundHalfEven(d);
            if (!(rounded >= double(min) && rounded <= double(max)))
                throw overflowError();
            return qint64(rounded);
        },
        [](const QString &text) {
            const NumberText number = orTypeMismatch(parseNumberText(text));
            WideUInt<7> magnitude;
            if (!roundToScale(number, 0, HalfRounding::ToEven, magnitude) || !magnitude.fitsIn(1))
                throw overflowError();
            const qint64 whole = qint64(magnitude.low64());
            return number.negative ? -whole : whole;
        },
    });
    if (value < min || value > max)
        throw overflowError();
    return value;
}

} // namespace

bool Variant::toBool() const
{
    return visitValue(*this, Overloaded{
        [](qint64 whole) { return whole != 0; },
        [](Currency c) { return c.raw() != 0; },
        [](const Decimal &d) { return !d.isZero(); },
        [](double d) { return d != 0; },
        [](const QString &text) {
            const QString trimmed = text.trimmed();
            if (trimmed.compare(u"True", Qt::CaseInsensitive) == 0)
                return true;
            if (trimmed.compare(u"False", Qt::CaseInsensitive) == 0)
                return false;
            return !orTypeMismatch(parseNumberText(text)).isZero();
        },
    });
}

quint8 Variant::toByte() const
{
    return quint8(toWhole(*this, 0, 255));
}

qint16 Variant::toInteger() const
{
    return qint16(toWhole(*this, -32768, 32767));
}

qint32 Variant::toLong() const
{
    return qint32(toWhole(*this, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()));
}

Currency Variant::toCurrency() const
{
    return visitValue(*this, Overloaded{
        [](qint64 whole) { return Currency::fromRaw(whole * Currency::Scale); },
        [](Currency c) { return c; },
        [](const Decimal &d) { return d.toCurrency(); },
        [](double d) { return Currency::fromDouble(d); },
        [](const QString &text) { return orTypeMismatch(Currency::parse(text)); },
    });
}

Decimal Variant::toDecimal() const
{
    return visitValue(*this, Overloaded{
        [](qint64 whole) { return Decimal::fromInt64(whole); },
        [](Currency c) { return Decimal::fromCurrency(c); },
        [](const Decimal &d) { return d; },
        [](double d) { return Decimal::fromDouble(d); },
        [](const QString &text) { return orTypeMismatch(Decimal::parse(text)); },
    });
}

double Variant::toDouble() const
{
    return visitValue(*this, Overloaded{
        [](qint64 whole) { return double(whole); },
        [](Currency c) { return c.toDouble(); },
        [](const Decimal &d) { return d.toDouble(); },
        [](double d) { return d; },
        [](const QString &text) { return orTypeMismatch(parseDouble(text)); },
    });
}

double Variant::toDate() const
{
    double value = 0;
    switch (m_type) {
    case Type::Null:
        throw invalidUseOfNullError();
    case Type::Date:
        return m_double;
    case Type::String: {
        const std::optional<double> parsed = parseDateText(m_string);
        if (!parsed)
            throw typeMismatchError();
        value = *parsed;
        break;
    }
    default:
        value = toDouble();
        break;
    }
    checkDateRange(value);
    return value;
}

QDateTime Variant::toDateTime() const
{
    return dateTimeFromOleDate(toDate());
}

QString Variant::toString() const
{
    switch (m_type) {
    case Type::Null:
        throw invalidUseOfNullError();
    case Type::Empty:
        return QString();
    case Type::Boolean:
        return m_int != 0 ? QStringLiteral(u"True") : QStringLiteral(u"False");
    case Type::Byte:
    case Type::Integer:
    case Type::Long:
        return QString::number(m_int);
    case Type::Currency:
        return currencyValue().toString();
    case Type::Decimal:
        return m_decimal.toString();
    case Type::Double:
        return doubleToString(m_double);
    case Type::Date:
        checkDateRange(m_double);
        return dateText(m_double);
    case Type::String:
        return m_string;
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
        return integer(qint16(wholeValue(*this)));
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
        return integer(qint16(wholeValue(*this))).abs();
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
        return wholeResult(-wholeValue(*this), m_type == Type::Long ? Type::Long : Type::Integer);
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

double oleDateFrom(const QDate &date, const QTime &time)
{
    const qint64 days = oleEpoch().daysTo(date);
    const double fraction = double(time.isValid() ? time.msecsSinceStartOfDay() : 0) / double(MsPerDay);
    return days >= 0 ? double(days) + fraction : double(days) - fraction;
}

QDateTime dateTimeFromOleDate(double oleDate)
{
    qint64 days = 0;
    qint64 ms = 0;
    splitOleDate(oleDate, days, ms, 1);
    return QDateTime(oleEpoch().addDays(days), QTime::fromMSecsSinceStartOfDay(int(ms)));
}

} // namespace zelvan::runtime

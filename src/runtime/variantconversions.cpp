// The conversions CBool, CByte, CInt, CLng, CCur, CDec, CDbl, CDate and CStr.
#include "runtime/variant.h"

#include "runtime/dates.h"
#include "runtime/err.h"
#include "runtime/numbertext.h"

#include <cmath>
#include <limits>

namespace zelvan::runtime {

namespace {

using Type = Variant::Type;

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
        return visit(v.wholeValue());
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
        const std::optional<double> parsed = parseDateText(m_string, DateTextForm::Runtime);
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

} // namespace zelvan::runtime

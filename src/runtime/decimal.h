#pragma once

#include "runtime/currency.h"

#include <QString>
#include <QStringView>

#include <compare>
#include <optional>

namespace zelvan::runtime {

// The old runtime's Decimal: a sign, a 96-bit unsigned integer mantissa and a
// power-of-ten scale from 0 to 28. Value = (-1)^sign * mantissa / 10^scale.
// SQL Server DECIMAL and NUMERIC values read into this type without loss.
class Decimal
{
public:
    static constexpr int MaxScale = 28;

    Decimal() = default;  // zero, scale 0

    static Decimal fromInt64(qint64 value);
    static Decimal fromCurrency(Currency value);  // scale 4
    // The double rounded to 15 significant digits first, as the runtime does;
    // NaN or out of range: overflow.
    static Decimal fromDouble(double value);
    // mantissa = hi * 2^64 + lo; scale 0..28.
    static Decimal fromParts(bool negative, quint32 hi, quint64 lo, int scale);
    // Plain decimal text as for Currency::parse. More than 28 places round
    // half to even; more than 29 significant integer digits throw overflow.
    static std::optional<Decimal> parse(QStringView text);

    bool isNegative() const { return m_negative && !isZero(); }
    bool isZero() const { return m_hi == 0 && m_lo == 0; }
    int scale() const { return m_scale; }
    quint32 hi() const { return m_hi; }
    quint64 lo() const { return m_lo; }

    // Plain decimal text without grouping; trailing zeros of the fraction
    // are dropped ("1.5", "-3", "0").
    QString toString() const;
    double toDouble() const;
    Currency toCurrency() const;       // half to even; throws overflow
    qint64 toInt64() const;            // half to even; throws overflow
    Decimal floor() const;             // largest whole number not above

    // Rounded to `places` decimals (0..28): half to even, or half away from zero.
    enum class Rounding { HalfEven, HalfAwayFromZero };
    Decimal rounded(int places, Rounding mode = Rounding::HalfEven) const;

    // Arithmetic as the runtime does it: exact when the result fits 96 bits
    // with the needed scale, else the scale is reduced (rounding half to even)
    // until it fits; a whole part that cannot fit throws overflow.
    Decimal operator+(const Decimal &other) const;
    Decimal operator-(const Decimal &other) const;
    Decimal operator*(const Decimal &other) const;
    Decimal operator-() const;
    Decimal abs() const;

    // Compares values, not representations: 1.50 == 1.5.
    std::strong_ordering operator<=>(const Decimal &other) const;
    bool operator==(const Decimal &other) const { return (*this <=> other) == 0; }

private:
    quint64 m_lo = 0;
    quint32 m_hi = 0;
    quint8 m_scale = 0;
    bool m_negative = false;
};

// Decimal::fromDouble(value).toCurrency(), without the detour through digits
// when the double is the nearest one to an amount of at most four places (as
// a MONEY value stored as a double always is).
Currency currencyFromDouble(double value);

} // namespace zelvan::runtime

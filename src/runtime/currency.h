#pragma once

#include <QString>
#include <QStringView>

#include <compare>
#include <cstdint>
#include <optional>

namespace zelvan::runtime {

// Fixed-point money: a signed 64-bit count of ten-thousandths. Every store
// rounds to four places, halves to the even neighbour; a value out of range
// raises the overflow error (Err 6).
class Currency
{
public:
    static constexpr qint64 Scale = 10000;

    constexpr Currency() = default;
    static constexpr Currency fromRaw(qint64 tenThousandths)
    {
        Currency c;
        c.m_raw = tenThousandths;
        return c;
    }
    static Currency fromInt(qint64 whole);           // throws overflow
    // The double's exact binary value rounded to four places, halves to even
    // (12081.79 / 56 gives 215.7463). NaN, infinity or out of range: overflow.
    static Currency fromDouble(double value);
    // Plain decimal text: optional blanks, sign, digits, '.' and digits,
    // optional exponent. Extra places round half to even. nullopt when the
    // text is not a number; throws overflow when it does not fit.
    static std::optional<Currency> parse(QStringView text);

    constexpr qint64 raw() const { return m_raw; }
    double toDouble() const;
    // Plain decimal text without grouping or trailing zeros: "-12.5", "0".
    QString toString() const;
    // The same text as Latin-1 into `text`, for writers of many values that
    // cannot afford a string each; returns its length.
    static constexpr int MaxTextLength = 25;  // "-922337203685477.5808"
    int writeText(char (&text)[MaxTextLength]) const;

    Currency operator+(Currency other) const;  // throws overflow
    Currency operator-(Currency other) const;  // throws overflow
    Currency operator-() const;                // throws overflow
    Currency operator*(Currency other) const;  // exact product, rounded half to even
    Currency &operator+=(Currency other) { return *this = *this + other; }
    Currency &operator-=(Currency other) { return *this = *this - other; }
    Currency abs() const { return m_raw < 0 ? -*this : *this; }

    // Against a double's exact binary value, without rounding either side;
    // unordered for NaN.
    std::partial_ordering compareExact(double value) const;

    constexpr auto operator<=>(const Currency &) const = default;

private:
    qint64 m_raw = 0;
};

namespace detail {
// The product's raw value without a 128-bit integer type: what compilers
// lacking one use. False when the product does not fit.
bool multiplyRawPortable(qint64 a, qint64 b, qint64 &result);
} // namespace detail

} // namespace zelvan::runtime

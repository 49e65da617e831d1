#include "runtime/decimal.h"

#include "runtime/err.h"
#include "runtime/numbertext.h"
#include "runtime/wideint.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zelvan::runtime {

namespace {

using Mantissa = WideUInt<3>;

// The digits divided away from a mantissa: the first of them (the one next
// to the new last digit) and whether any after it was nonzero.
struct Dropped
{
    quint32 first = 0;
    bool rest = false;

    bool roundsUp(bool odd, Decimal::Rounding mode) const
    {
        if (mode == Decimal::Rounding::HalfAwayFromZero)
            return first >= 5;
        return first > 5 || (first == 5 && (rest || odd));
    }
};

template <int N>
void dropDigit(WideUInt<N> &value, Dropped &dropped)
{
    dropped.rest |= dropped.first != 0;
    dropped.first = value.divSmall(10);
}

// |value| * 10^(places - scale) rounded to a whole number; places <= scale.
template <int N>
WideUInt<N> dropDigits(WideUInt<N> value, int count, Decimal::Rounding mode)
{
    Dropped dropped;
    for (int i = 0; i < count; ++i)
        dropDigit(value, dropped);
    if (count > 0 && dropped.roundsUp(value.isOdd(), mode))
        value.addSmall(1);
    return value;
}

bool fitsInt64(quint64 magnitude, bool negative, qint64 &out)
{
    constexpr quint64 MinMagnitude = quint64(1) << 63;
    if (magnitude > (negative ? MinMagnitude : MinMagnitude - 1))
        return false;
    out = negative ? qint64(quint64(0) - magnitude) : qint64(magnitude);
    return true;
}

quint64 magnitudeOf(qint64 value)
{
    return value < 0 ? quint64(0) - quint64(value) : quint64(value);
}

// Brings an exact result to a representable one: while the scale is above 28
// or the mantissa needs more than 96 bits, one digit goes, and the digits that
// went round the rest half to even. A whole part too large overflows.
template <int N>
Decimal reduceToDecimal(bool negative, WideUInt<N> value, int scale)
{
    for (;;) {
        Dropped dropped;
        bool any = false;
        while (scale > Decimal::MaxScale || !value.fitsIn(3)) {
            if (scale == 0)
                throw overflowError();
            dropDigit(value, dropped);
            any = true;
            --scale;
        }
        if (!any || !dropped.roundsUp(value.isOdd(), Decimal::Rounding::HalfEven))
            break;
        value.addSmall(1);
        if (value.fitsIn(3))
            break;
        // Rounding up reached 2^96: the rounded value loses one more digit.
    }
    const Mantissa mantissa = Mantissa::from(value);
    return Decimal::fromParts(negative, mantissa.limb[2], mantissa.low64(), scale);
}

Mantissa mantissaOf(const Decimal &d)
{
    Mantissa m = Mantissa::fromU64(d.lo());
    m.limb[2] = d.hi();
    return m;
}

Decimal fromNumberText(const NumberText &number)
{
    if (number.isZero())
        return Decimal();
    const int wholeDigits = int(number.digits.size()) + number.exponent;
    int scale = std::clamp(-number.exponent, 0, Decimal::MaxScale);
    scale = std::min(scale, std::max(0, 29 - wholeDigits));
    for (;; --scale) {
        WideUInt<7> scaled;
        if (roundToScale(number, scale, HalfRounding::ToEven, scaled) && scaled.fitsIn(3)) {
            const Mantissa mantissa = Mantissa::from(scaled);
            return Decimal::fromParts(number.negative, mantissa.limb[2], mantissa.low64(), scale);
        }
        if (scale == 0)
            throw overflowError();
    }
}

} // namespace

Decimal Decimal::fromInt64(qint64 value)
{
    return fromParts(value < 0, 0, magnitudeOf(value), 0);
}

Decimal Decimal::fromCurrency(Currency value)
{
    return fromParts(value.raw() < 0, 0, magnitudeOf(value.raw()), 4);
}

Decimal Decimal::fromDouble(double value)
{
    if (!std::isfinite(value))
        throw overflowError();
    return fromNumberText(numberTextFromDouble(value));
}

Currency currencyFromDouble(double value)
{
    // With at most 15 significant digits, an amount r / 10^4 whose nearest
    // double is `value` is also the value's rounding to 15 digits: the double
    // lies within half a unit in the 16th digit of it.
    constexpr double Limit = 1e15;
    const double scaled = value * double(Currency::Scale);
    if (scaled > -Limit && scaled < Limit) {
        const qint64 raw = std::llround(scaled);
        if (double(raw) / double(Currency::Scale) == value)
            return Currency::fromRaw(raw);
    }
    return Decimal::fromDouble(value).toCurrency();
}

Decimal Decimal::fromParts(bool negative, quint32 hi, quint64 lo, int scale)
{
    if (scale < 0 || scale > MaxScale)
        throw overflowError();
    Decimal d;
    d.m_lo = lo;
    d.m_hi = hi;
    d.m_scale = quint8(scale);
    d.m_negative = negative && (hi != 0 || lo != 0);
    return d;
}

std::optional<Decimal> Decimal::parse(QStringView text)
{
    const std::optional<NumberText> number = parseNumberText(text);
    if (!number)
        return std::nullopt;
    return fromNumberText(*number);
}

QString Decimal::toString() const
{
    char digits[30];
    int count = toDecimalDigits(mantissaOf(*this), digits);
    QString text;
    text.reserve(count + 3);
    if (isNegative())
        text += u'-';
    int scale = m_scale;
    while (scale > 0 && count > 1 && digits[count - 1] == '0') {
        --count;
        --scale;
    }
    if (scale > 0 && digits[count - 1] == '0')
        scale = 0;  // the mantissa was zero
    const int whole = count - scale;
    if (whole <= 0)
        text += u'0';
    for (int i = 0; i < whole; ++i)
        text += QLatin1Char(digits[i]);
    if (scale > 0) {
        text += u'.';
        for (int i = whole; i < 0; ++i)
            text += u'0';
        for (int i = std::max(whole, 0); i < count; ++i)
            text += QLatin1Char(digits[i]);
    }
    return text;
}

double Decimal::toDouble() const
{
    static constexpr double Powers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (m_hi == 0 && m_lo < (quint64(1) << 53) && m_scale <= 22) {
        // Both operands exact: one correctly rounded division.
        const double value = double(m_lo) / Powers[m_scale];
        return isNegative() ? -value : value;
    }
    return *parseDouble(toString());
}

Currency Decimal::toCurrency() const
{
    WideUInt<4> value = WideUInt<4>::from(mantissaOf(*this));
    if (m_scale >= 4)
        value = dropDigits(value, m_scale - 4, Rounding::HalfEven);
    else
        value.mulPow10(4 - m_scale);
    qint64 raw = 0;
    if (!value.fitsIn(2) || !fitsInt64(value.low64(), isNegative(), raw))
        throw overflowError();
    return Currency::fromRaw(raw);
}

qint64 Decimal::toInt64() const
{
    const Mantissa value = dropDigits(mantissaOf(*this), m_scale, Rounding::HalfEven);
    qint64 result = 0;
    if (!value.fitsIn(2) || !fitsInt64(value.low64(), isNegative(), result))
        throw overflowError();
    return result;
}

Decimal Decimal::floor() const
{
    Mantissa value = mantissaOf(*this);
    Dropped dropped;
    for (int i = 0; i < m_scale; ++i)
        dropDigit(value, dropped);
    if (isNegative() && (dropped.first != 0 || dropped.rest))
        value.addSmall(1);  // cannot carry out: at least one digit went
    return fromParts(isNegative(), value.limb[2], value.low64(), 0);
}

Decimal Decimal::rounded(int places, Rounding mode) const
{
    places = std::clamp(places, 0, MaxScale);
    if (places >= m_scale)
        return *this;
    const Mantissa value = dropDigits(mantissaOf(*this), m_scale - places, mode);
    return fromParts(isNegative(), value.limb[2], value.low64(), places);
}

static Decimal addSigned(const Decimal &a, bool bNegative, const Decimal &b)
{
    const int scale = std::max(a.scale(), b.scale());
    WideUInt<7> x = WideUInt<7>::from(mantissaOf(a));
    WideUInt<7> y = WideUInt<7>::from(mantissaOf(b));
    x.mulPow10(scale - a.scale());
    y.mulPow10(scale - b.scale());
    const bool aNegative = a.isNegative();
    if (aNegative == bNegative) {
        x.add(y);
        return reduceToDecimal(aNegative, x, scale);
    }
    if (compare(x, y) >= 0) {
        x.sub(y);
        return reduceToDecimal(aNegative, x, scale);
    }
    y.sub(x);
    return reduceToDecimal(bNegative, y, scale);
}

Decimal Decimal::operator+(const Decimal &other) const
{
    return addSigned(*this, other.isNegative(), other);
}

Decimal Decimal::operator-(const Decimal &other) const
{
    return addSigned(*this, !other.isNegative() && !other.isZero(), other);
}

Decimal Decimal::operator*(const Decimal &other) const
{
    const WideUInt<6> product = multiplyFull(mantissaOf(*this), mantissaOf(other));
    return reduceToDecimal(isNegative() != other.isNegative(), product, m_scale + other.m_scale);
}

Decimal Decimal::operator-() const
{
    return fromParts(!isNegative(), m_hi, m_lo, m_scale);
}

Decimal Decimal::abs() const
{
    return fromParts(false, m_hi, m_lo, m_scale);
}

std::strong_ordering Decimal::operator<=>(const Decimal &other) const
{
    const bool negative = isNegative();
    if (negative != other.isNegative())
        return negative ? std::strong_ordering::less : std::strong_ordering::greater;
    const int scale = std::max(m_scale, other.m_scale);
    WideUInt<7> x = WideUInt<7>::from(mantissaOf(*this));
    WideUInt<7> y = WideUInt<7>::from(mantissaOf(other));
    x.mulPow10(scale - m_scale);
    y.mulPow10(scale - other.m_scale);
    const int c = negative ? compare(y, x) : compare(x, y);
    return c < 0 ? std::strong_ordering::less
                 : c > 0 ? std::strong_ordering::greater : std::strong_ordering::equal;
}

} // namespace zelvan::runtime

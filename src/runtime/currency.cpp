#include "runtime/currency.h"

#include "runtime/err.h"
#include "runtime/numbertext.h"
#include "runtime/wideint.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <limits>

namespace zelvan::runtime {

namespace {

constexpr qint64 Max = std::numeric_limits<qint64>::max();
constexpr qint64 Min = std::numeric_limits<qint64>::min();
constexpr quint64 MinMagnitude = quint64(1) << 63;

quint64 magnitude(qint64 value)
{
    return value < 0 ? quint64(0) - quint64(value) : quint64(value);
}

// A signed raw value from a magnitude; false when it does not fit.
bool fromMagnitude(quint64 mag, bool negative, qint64 &out)
{
    if (negative) {
        if (mag > MinMagnitude)
            return false;
        out = qint64(quint64(0) - mag);
        return true;
    }
    if (mag > quint64(Max))
        return false;
    out = qint64(mag);
    return true;
}

// The quotient of a division by 10000 rounded half to even, from its
// remainder; false when the rounded quotient does not fit.
bool roundedQuotient(quint64 quotient, quint32 remainder, bool negative, qint64 &out)
{
    if (remainder > 5000 || (remainder == 5000 && (quotient & 1) != 0)) {
        if (quotient == std::numeric_limits<quint64>::max())
            return false;
        ++quotient;
    }
    return fromMagnitude(quotient, negative, out);
}

// A nonnegative finite double times 10000, exactly: the whole part and where
// the fraction lies against one half. The double is m * 2^e with a 53-bit m,
// and 10000 = 625 * 2^4, so m * 625 still fits 64 bits and only a shift remains.
struct ScaledDouble
{
    enum Fraction { Zero, BelowHalf, Half, AboveHalf };
    bool tooLarge = false;
    quint64 whole = 0;
    Fraction fraction = Zero;
};

ScaledDouble scaleByTenThousand(double value)
{
    ScaledDouble result;
    // value = mantissa * 2^exponent, read from the bits (subnormals included).
    const quint64 bits = std::bit_cast<quint64>(value);
    const int biased = int((bits >> 52) & 0x7FF);
    const quint64 fraction = bits & ((quint64(1) << 52) - 1);
    const quint64 mantissa = biased == 0 ? fraction : fraction | (quint64(1) << 52);
    const int exponent = biased == 0 ? -1074 : biased - 1075;
    if (mantissa == 0)
        return result;
    const quint64 n = mantissa * 625;
    const int shift = exponent + 4;
    if (shift >= 0) {
        if (shift >= 64 || n > (std::numeric_limits<quint64>::max() >> shift))
            result.tooLarge = true;
        else
            result.whole = n << shift;
        return result;
    }
    const int right = -shift;
    if (right >= 64) {
        result.fraction = ScaledDouble::BelowHalf;  // n < 2^63 <= half of 2^right
        return result;
    }
    result.whole = n >> right;
    const quint64 rest = n & ((quint64(1) << right) - 1);
    const quint64 half = quint64(1) << (right - 1);
    if (rest == 0)
        result.fraction = ScaledDouble::Zero;
    else if (rest < half)
        result.fraction = ScaledDouble::BelowHalf;
    else if (rest == half)
        result.fraction = ScaledDouble::Half;
    else
        result.fraction = ScaledDouble::AboveHalf;
    return result;
}

bool multiplyRaw(qint64 a, qint64 b, qint64 &result)
{
#if defined(__SIZEOF_INT128__)
    __extension__ typedef unsigned __int128 UInt128;
    const bool negative = (a < 0) != (b < 0);
    const UInt128 product = UInt128(magnitude(a)) * magnitude(b);
    if ((product >> 64) == 0) {
        // The common case: a 64-bit division, which compilers turn into a multiplication.
        const quint64 low = quint64(product);
        return roundedQuotient(low / 10000, quint32(low % 10000), negative, result);
    }
    const UInt128 quotient = product / 10000;
    if ((quotient >> 64) != 0)
        return false;
    return roundedQuotient(quint64(quotient), quint32(product % 10000), negative, result);
#else
    return detail::multiplyRawPortable(a, b, result);
#endif
}

} // namespace

bool detail::multiplyRawPortable(qint64 a, qint64 b, qint64 &result)
{
    WideUInt<4> product = multiplyFull(WideUInt<2>::fromU64(magnitude(a)),
                                       WideUInt<2>::fromU64(magnitude(b)));
    const quint32 remainder = product.divSmall(10000);
    if (!product.fitsIn(2))
        return false;
    return roundedQuotient(product.low64(), remainder, (a < 0) != (b < 0), result);
}

Currency Currency::fromInt(qint64 whole)
{
    if (whole > Max / Scale || whole < Min / Scale)
        throw overflowError();
    return fromRaw(whole * Scale);
}

Currency Currency::fromDouble(double value)
{
    if (!std::isfinite(value))
        throw overflowError();
    const ScaledDouble scaled = scaleByTenThousand(std::fabs(value));
    if (scaled.tooLarge)
        throw overflowError();
    quint64 whole = scaled.whole;
    const bool up = scaled.fraction == ScaledDouble::AboveHalf
                    || (scaled.fraction == ScaledDouble::Half && (whole & 1) != 0);
    if (up)
        ++whole;  // whole < 2^64 - 1: n < 2^63 before any shift
    qint64 raw = 0;
    if (!fromMagnitude(whole, value < 0, raw))
        throw overflowError();
    return fromRaw(raw);
}

std::optional<Currency> Currency::parse(QStringView text)
{
    const std::optional<NumberText> number = parseNumberText(text);
    if (!number)
        return std::nullopt;
    WideUInt<7> scaled;
    qint64 raw = 0;
    if (!roundToScale(*number, 4, HalfRounding::ToEven, scaled) || !scaled.fitsIn(2)
        || !fromMagnitude(scaled.low64(), number->negative, raw)) {
        throw overflowError();
    }
    return fromRaw(raw);
}

double Currency::toDouble() const
{
    constexpr qint64 Exact = qint64(1) << 53;
    if (m_raw > -Exact && m_raw < Exact)
        return double(m_raw) / double(Scale);  // one correctly rounded division
    return *parseDouble(toString());
}

QString Currency::toString() const
{
    char text[MaxTextLength];
    return QString::fromLatin1(text, writeText(text));
}

int Currency::writeText(char (&text)[MaxTextLength]) const
{
    const quint64 mag = magnitude(m_raw);
    char *p = text;
    if (m_raw < 0)
        *p++ = '-';
    p = std::to_chars(p, text + MaxTextLength, mag / Scale).ptr;
    if (auto fraction = mag % Scale) {
        *p++ = '.';
        for (quint64 unit = Scale / 10; fraction != 0; unit /= 10) {
            *p++ = char('0' + fraction / unit);
            fraction %= unit;
        }
    }
    return int(p - text);
}

Currency Currency::operator+(Currency other) const
{
    const qint64 b = other.m_raw;
    if ((b > 0 && m_raw > Max - b) || (b < 0 && m_raw < Min - b))
        throw overflowError();
    return fromRaw(m_raw + b);
}

Currency Currency::operator-(Currency other) const
{
    const qint64 b = other.m_raw;
    if ((b < 0 && m_raw > Max + b) || (b > 0 && m_raw < Min + b))
        throw overflowError();
    return fromRaw(m_raw - b);
}

Currency Currency::operator-() const
{
    if (m_raw == Min)
        throw overflowError();
    return fromRaw(-m_raw);
}

Currency Currency::operator*(Currency other) const
{
    qint64 raw = 0;
    if (!multiplyRaw(m_raw, other.m_raw, raw))
        throw overflowError();
    return fromRaw(raw);
}

std::partial_ordering Currency::compareExact(double value) const
{
    if (std::isnan(value))
        return std::partial_ordering::unordered;
    if (std::isinf(value))
        return value > 0 ? std::partial_ordering::less : std::partial_ordering::greater;
    const ScaledDouble scaled = scaleByTenThousand(std::fabs(value));
    if (scaled.tooLarge || scaled.whole > MinMagnitude)
        return value > 0 ? std::partial_ordering::less : std::partial_ordering::greater;
    const bool exact = scaled.fraction == ScaledDouble::Zero;
    if (value >= 0) {
        // this against whole + fraction
        if (m_raw < 0 || quint64(m_raw) < scaled.whole)
            return std::partial_ordering::less;
        if (quint64(m_raw) > scaled.whole)
            return std::partial_ordering::greater;
        return exact ? std::partial_ordering::equivalent : std::partial_ordering::less;
    }
    // this against -(whole + fraction)
    if (m_raw >= 0 || magnitude(m_raw) < scaled.whole)
        return std::partial_ordering::greater;
    if (magnitude(m_raw) > scaled.whole)
        return std::partial_ordering::less;
    return exact ? std::partial_ordering::equivalent : std::partial_ordering::greater;
}

} // namespace zelvan::runtime

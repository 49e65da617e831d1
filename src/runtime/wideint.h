#pragma once

#include <QtGlobal>

#include <array>
#include <cstdint>

namespace zelvan::runtime {

// A fixed-size unsigned integer of N 32-bit limbs, least significant first.
// Only the few operations that exact Currency and Decimal arithmetic need;
// plain C++, so that it builds the same with every compiler.
template <int N>
struct WideUInt
{
    std::array<quint32, N> limb{};

    static constexpr WideUInt fromU64(quint64 value)
    {
        WideUInt w;
        w.limb[0] = quint32(value);
        if constexpr (N > 1)
            w.limb[1] = quint32(value >> 32);
        return w;
    }

    // The low limbs of a narrower or wider number; the caller checks fitsIn().
    template <int M>
    static constexpr WideUInt from(const WideUInt<M> &other)
    {
        WideUInt w;
        for (int i = 0; i < N && i < M; ++i)
            w.limb[i] = other.limb[i];
        return w;
    }

    constexpr bool isZero() const
    {
        for (quint32 l : limb) {
            if (l != 0)
                return false;
        }
        return true;
    }

    constexpr bool isOdd() const { return (limb[0] & 1u) != 0; }

    // True when the value needs no more than `limbs` limbs.
    constexpr bool fitsIn(int limbs) const
    {
        for (int i = limbs; i < N; ++i) {
            if (limb[i] != 0)
                return false;
        }
        return true;
    }

    constexpr quint64 low64() const
    {
        quint64 value = limb[0];
        if constexpr (N > 1)
            value |= quint64(limb[1]) << 32;
        return value;
    }

    // Adds in place; returns the carry out of the top limb.
    constexpr bool add(const WideUInt &other)
    {
        quint64 carry = 0;
        for (int i = 0; i < N; ++i) {
            const quint64 sum = quint64(limb[i]) + other.limb[i] + carry;
            limb[i] = quint32(sum);
            carry = sum >> 32;
        }
        return carry != 0;
    }

    constexpr bool addSmall(quint32 value)
    {
        quint64 carry = value;
        for (int i = 0; i < N && carry != 0; ++i) {
            const quint64 sum = quint64(limb[i]) + carry;
            limb[i] = quint32(sum);
            carry = sum >> 32;
        }
        return carry != 0;
    }

    // Subtracts in place; the caller makes sure that other <= *this.
    constexpr void sub(const WideUInt &other)
    {
        quint64 borrow = 0;
        for (int i = 0; i < N; ++i) {
            const quint64 diff = quint64(limb[i]) - other.limb[i] - borrow;
            limb[i] = quint32(diff);
            borrow = (diff >> 32) != 0 ? 1 : 0;
        }
    }

    // Multiplies in place; returns true when the product lost high bits.
    constexpr bool mulSmall(quint32 factor)
    {
        quint64 carry = 0;
        for (int i = 0; i < N; ++i) {
            const quint64 product = quint64(limb[i]) * factor + carry;
            limb[i] = quint32(product);
            carry = product >> 32;
        }
        return carry != 0;
    }

    // Divides in place; returns the remainder.
    constexpr quint32 divSmall(quint32 divisor)
    {
        quint64 remainder = 0;
        for (int i = N - 1; i >= 0; --i) {
            const quint64 part = (remainder << 32) | limb[i];
            limb[i] = quint32(part / divisor);
            remainder = part % divisor;
        }
        return quint32(remainder);
    }

    // Multiplies by 10^exponent; returns true when the product lost high bits.
    constexpr bool mulPow10(int exponent)
    {
        bool lost = false;
        for (; exponent >= 9; exponent -= 9)
            lost |= mulSmall(1000000000u);
        quint32 factor = 1;
        for (; exponent > 0; --exponent)
            factor *= 10;
        if (factor > 1)
            lost |= mulSmall(factor);
        return lost;
    }

    friend constexpr int compare(const WideUInt &a, const WideUInt &b)
    {
        for (int i = N - 1; i >= 0; --i) {
            if (a.limb[i] != b.limb[i])
                return a.limb[i] < b.limb[i] ? -1 : 1;
        }
        return 0;
    }
};

// The full product of an N-limb and an M-limb number.
template <int N, int M>
constexpr WideUInt<N + M> multiplyFull(const WideUInt<N> &a, const WideUInt<M> &b)
{
    WideUInt<N + M> result;
    for (int i = 0; i < N; ++i) {
        quint64 carry = 0;
        for (int j = 0; j < M; ++j) {
            const quint64 t = quint64(a.limb[i]) * b.limb[j] + result.limb[i + j] + carry;
            result.limb[i + j] = quint32(t);
            carry = t >> 32;
        }
        result.limb[i + M] = quint32(carry);
    }
    return result;
}

// The digits of a number, most significant first, without leading zeros
// ("0" for zero). `out` must hold 10 * N characters; returns the count.
template <int N>
int toDecimalDigits(WideUInt<N> value, char *out)
{
    char reversed[10 * N];
    int count = 0;
    do {
        quint32 chunk = value.divSmall(1000000000u);
        const bool last = value.isZero();
        for (int i = 0; i < 9 && (!last || chunk != 0); ++i) {
            reversed[count++] = char('0' + chunk % 10);
            chunk /= 10;
        }
    } while (!value.isZero());
    if (count == 0)
        reversed[count++] = '0';
    for (int i = 0; i < count; ++i)
        out[i] = reversed[count - 1 - i];
    return count;
}

} // namespace zelvan::runtime

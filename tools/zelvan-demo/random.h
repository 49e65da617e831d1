#pragma once

#include <QtGlobal>

#include <array>
#include <cstddef>

namespace zelvan::demo {

// xoshiro256** seeded through splitmix64. Our own generator and integer-only
// helpers, so that one seed gives the same instance with every compiler and
// standard library (std:: distributions differ between them).
class Random
{
public:
    explicit Random(quint64 seed)
    {
        for (auto &word : m_state)
            word = splitmix64(seed);
    }

    quint64 next()
    {
        const quint64 result = rotl(m_state[1] * 5, 7) * 9;
        const quint64 t = m_state[1] << 17;
        m_state[2] ^= m_state[0];
        m_state[3] ^= m_state[1];
        m_state[1] ^= m_state[2];
        m_state[0] ^= m_state[3];
        m_state[2] ^= t;
        m_state[3] = rotl(m_state[3], 45);
        return result;
    }

    // Uniform in [0, bound), without the bias of a plain modulo.
    quint64 below(quint64 bound)
    {
        if (bound <= 1)
            return 0;
        const quint64 limit = ~quint64(0) - (~quint64(0) % bound);
        quint64 value;
        do {
            value = next();
        } while (value >= limit);
        return value % bound;
    }

    // Uniform in [low, high].
    qint64 between(qint64 low, qint64 high) { return low + qint64(below(quint64(high - low) + 1)); }

    bool percent(int p) { return below(100) < quint64(p); }
    bool perMille(int p) { return below(1000) < quint64(p); }

    template<typename T, std::size_t N>
    const T &pick(const T (&items)[N])
    {
        return items[below(N)];
    }

    // A seed for an independent stream, so that one table's size does not
    // shift the values of the next.
    static quint64 streamSeed(quint64 seed, quint64 stream) { return seed ^ (0x9E3779B97F4A7C15ull * (stream + 1)); }

private:
    static quint64 rotl(quint64 x, int k) { return (x << k) | (x >> (64 - k)); }
    static quint64 splitmix64(quint64 &x)
    {
        quint64 z = (x += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    std::array<quint64, 4> m_state{};
};

} // namespace zelvan::demo

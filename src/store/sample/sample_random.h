#pragma once

#include <QtGlobal>

namespace qv::store::sample {

// splitmix64's finaliser: a well-spread 64-bit hash of x.
constexpr quint64 mixBits(quint64 x)
{
    x ^= x >> 30;
    x *= 0xbf58476d1ce4e5b9ULL;
    x ^= x >> 27;
    x *= 0x94d049bb133111ebULL;
    x ^= x >> 31;
    return x;
}

// A uniform value in [0, 1) from a hash, using its top 53 bits.
constexpr double unitOf(quint64 hash)
{
    return static_cast<double>(hash >> 11) * (1.0 / 9007199254740992.0);
}

// The generator's own random numbers (splitmix64). The standard library's
// distributions differ between implementations; these give the same sample
// auction for a seed everywhere.
class SampleRandom {
public:
    explicit SampleRandom(quint64 seed) : state_(seed) {}

    quint64 next()
    {
        state_ += 0x9e3779b97f4a7c15ULL;
        return mixBits(state_);
    }

    // A whole number in [0, n); n must be positive.
    int below(int n) { return static_cast<int>((next() >> 32) % static_cast<quint64>(n)); }

    // A whole number in [low, high].
    int between(int low, int high) { return low + below(high - low + 1); }

    double unit() { return unitOf(next()); }

    bool chance(double probability) { return unit() < probability; }

private:
    quint64 state_;
};

} // namespace qv::store::sample

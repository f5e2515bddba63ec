#include "state/rng.h"

#include <bit>
#include <cstring>

namespace kisharin {

namespace {
std::uint64_t splitmix(std::uint64_t& x) {
    std::uint64_t z = (x += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}
std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
}  // namespace

void DefaultRng::reseed(double seed) {
    std::uint64_t x = std::bit_cast<std::uint64_t>(seed);
    for (auto& v : s_) v = splitmix(x);
}

double DefaultRng::next() {
    const std::uint64_t result = rotl(s_[1] * 5, 7) * 9;
    const std::uint64_t t = s_[1] << 17;
    s_[2] ^= s_[0];
    s_[3] ^= s_[1];
    s_[1] ^= s_[2];
    s_[0] ^= s_[3];
    s_[2] ^= t;
    s_[3] = rotl(s_[3], 45);
    // 53 random bits make a double in [0, 1).
    return static_cast<double>(result >> 11) * 0x1.0p-53;
}

}  // namespace kisharin

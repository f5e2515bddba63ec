// The game's one source of chance: a uniform generator in [0, 1) that is re-seeded
// from the clock at the moments the rules name.
#pragma once

#include <cstdint>

namespace kisharin {

class Rng {
public:
    virtual ~Rng() = default;
    // Next value, uniform in [0, 1).
    virtual double next() = 0;
    // Restart the sequence from a seed; the same seed gives the same sequence.
    virtual void reseed(double seed) = 0;

    // A value in 1..m: Int(r * m) + 1.
    int pick(int m) { return static_cast<int>(next() * m) + 1; }
    // A 1-in-m chance: Int(r * m) = 0.
    bool oneIn(int m) { return static_cast<int>(next() * m) == 0; }
};

// The generator used in play: xoshiro256** started from the seed through splitmix64.
class DefaultRng final : public Rng {
public:
    explicit DefaultRng(double seed = 0) { reseed(seed); }
    double next() override;
    void reseed(double seed) override;

private:
    std::uint64_t s_[4]{};
};

}  // namespace kisharin

// FNV-1a, 64 bits: a stamp of bytes or of small numbers that is the same on every
// computer and in every run (a game's seed for the computer's own generator, the stamp of
// the station file a record was played on).
#pragma once

#include <cstdint>
#include <string_view>

namespace kisharin {

class Fnv1a {
  public:
    void add(std::uint64_t v) {
        h_ ^= v;
        h_ *= 1099511628211ULL;
    }
    void addBytes(std::string_view bytes) {
        for (unsigned char c : bytes) add(c);
    }
    std::uint64_t value() const { return h_; }

  private:
    std::uint64_t h_ = 1469598103934665603ULL;
};

}  // namespace kisharin

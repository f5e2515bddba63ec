// Basic number types of the game and the bounds of the railway tables.
#pragma once

#include <cstdint>

namespace kisharin {

using Integer = std::int16_t;  // counters, lines, positions, kinds
using Long = std::int32_t;     // money and points

inline constexpr int kMaxLine = 750;      // lines are 1..750; line 0 is never used
inline constexpr int kMaxPosition = 100;  // positions 0..100; 0 is the line itself
inline constexpr int kLineSlots = kMaxLine + 1;
inline constexpr int kPositionSlots = kMaxPosition + 1;
inline constexpr int kDestinationCount = 8;
inline constexpr int kRegionCount = 8;

// A station is a (line, position) pair.
struct Station {
    int line = 0;
    int pos = 0;
    friend bool operator==(const Station&, const Station&) = default;
};

}  // namespace kisharin

// Money and points stay within nine digits: a sum that would pass the limit stops at it,
// so no payment, reward or penalty can wrap a player's money or points round, and a save
// slot holding more than the limit is one no game wrote.
#pragma once

#include <algorithm>

#include "state/types.h"

namespace kisharin {

inline constexpr Long kMoneyLimit = 999'999'999;  // money is -kMoneyLimit .. kMoneyLimit
inline constexpr Long kPointLimit = 999'999'999;  // points likewise

// value + amount, held within -limit .. limit.
constexpr Long addHeld(Long value, long long amount, Long limit) {
    const long long sum =
        static_cast<long long>(value) + std::clamp<long long>(amount, -(2LL * limit), 2LL * limit);
    return static_cast<Long>(std::clamp<long long>(sum, -static_cast<long long>(limit), limit));
}

// Adds to a player's money or points in place (amount may be negative).
constexpr void addMoney(Long& money, long long amount) {
    money = addHeld(money, amount, kMoneyLimit);
}
constexpr void addPoints(Long& points, long long amount) {
    points = addHeld(points, amount, kPointLimit);
}

}  // namespace kisharin

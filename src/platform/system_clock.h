// The computer's own clock.
#pragma once

#include "state/clock.h"

namespace kisharin {

class SystemClock final : public Clock {
  public:
    static constexpr long kTimerTicksPerSecond = 64;

    double now() override;
    // Seconds since midnight in steps of 1/64 s, the resolution of a desktop timer.
    double timer() override;
};

}  // namespace kisharin

// The computer's own clock.
#pragma once

#include "state/clock.h"

namespace kisharin {

class SystemClock final : public Clock {
public:
    double now() override;
    double timer() override;
};

}  // namespace kisharin

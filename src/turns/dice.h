// The die of the dice window as a model: a face is drawn every 80 ms until half a second
// has passed (in short mode the first face stands), then the face shown is the roll. The
// window only paints the faces; tests and the simulator roll it without one.
#pragma once

#include "state/rng.h"

namespace kisharin {

inline constexpr int kDieTickMs = 80;
inline constexpr int kDieRollMs = 500;
inline constexpr int kDieShowMs = 1000;  // the face stays in view before the window closes

class DieRoll {
  public:
    // One tick of the die's timer, elapsedMs after the window opened: a new face; the
    // roll stops once half a second has passed, or at once in short mode. Returns true
    // while the die goes on rolling.
    bool tick(Rng& rng, int elapsedMs, bool shortMode) {
        if (stopped_) return false;
        face_ = rng.pick(6);
        ++ticks_;
        stopped_ = elapsedMs > kDieRollMs || shortMode;
        return !stopped_;
    }
    int face() const { return face_; }
    bool stopped() const { return stopped_; }
    int ticks() const { return ticks_; }

    // A whole roll without a window: ticks every 80 ms until it stops.
    int rollThrough(Rng& rng, bool shortMode) {
        while (tick(rng, (ticks_ + 1) * kDieTickMs, shortMode)) {
        }
        return face_;
    }

  private:
    int face_ = 1;
    int ticks_ = 0;
    bool stopped_ = false;
};

}  // namespace kisharin

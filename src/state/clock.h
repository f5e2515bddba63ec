// The clock the rules see: the date and time of day, and seconds since midnight
// (the value the generator is re-seeded from).
#pragma once

namespace kisharin {

class Clock {
public:
    virtual ~Clock() = default;
    // Now, as days since 1899-12-30 with the time of day as the fraction.
    virtual double now() = 0;
    // Seconds since midnight, with a fraction.
    virtual double timer() = 0;
};

// A clock whose timer is read once, when it is made: every reading gives that one. A
// window's set-up is given one moment, however often it looks (and a game's record holds
// that one reading).
class OneReading final : public Clock {
public:
    explicit OneReading(Clock& c) : c_(c), value_(c.timer()) {}
    double now() override { return c_.now(); }
    double timer() override { return value_; }

private:
    Clock& c_;
    double value_;
};

// A clock stopped at one moment: a scene drawn again as it was drawn (a ride the host
// showed, a ride played again) is given the game's time and the timer it was drawn from.
class StoppedClock final : public Clock {
public:
    StoppedClock(double now, double timer) : now_(now), timer_(timer) {}
    double now() override { return now_; }
    double timer() override { return timer_; }

private:
    double now_, timer_;
};

}  // namespace kisharin

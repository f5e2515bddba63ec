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

}  // namespace kisharin

#include "platform/system_clock.h"

#include <sys/time.h>

#include <ctime>

#include "state/datetime.h"

namespace kisharin {

namespace {
void localNow(std::tm& tm, long& micros) {
    timeval tv{};
    ::gettimeofday(&tv, nullptr);
    const time_t secs = tv.tv_sec;
    ::localtime_r(&secs, &tm);
    micros = tv.tv_usec;
}
}  // namespace

double SystemClock::now() {
    std::tm tm{};
    long micros = 0;
    localNow(tm, micros);
    return toSerial({tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec});
}

double SystemClock::timer() {
    std::tm tm{};
    long micros = 0;
    localNow(tm, micros);
    // A desktop timer ticks about 64 times a second: draws re-seeded within one tick
    // start from the same seed (both players usually start together).
    const long ticks = micros * kTimerTicksPerSecond / 1000000;
    return tm.tm_hour * 3600.0 + tm.tm_min * 60.0 + tm.tm_sec +
           static_cast<double>(ticks) / kTimerTicksPerSecond;
}

}  // namespace kisharin

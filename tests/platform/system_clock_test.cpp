// The computer's clock ticks as a desktop timer does, so that the draws the rules
// re-seed from it agree within one tick.
#include "platform/system_clock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <thread>

#include "state/rng.h"
#include "state/station_draw.h"
#include "support/railway_builder.h"

namespace kisharin {
namespace {

TEST(SystemClockTimer, StepsInSixtyFourthsOfASecondWithinTheDay) {
    SystemClock clock;
    for (int i = 0; i < 200; ++i) {
        const double t = clock.timer();
        EXPECT_GE(t, 0.0);
        EXPECT_LT(t, 86400.0);
        EXPECT_EQ(t * 64, std::floor(t * 64)) << t;
    }
}

// What the game does between two draws (a few milliseconds at most).
void busy() {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
}

TEST(SystemClockTimer, TwoReadingsInOneTickAgree) {
    SystemClock clock;
    // Two readings 2 ms apart fall into one tick unless a tick ends between them; a few
    // tries rule that out.
    bool agreed = false;
    for (int i = 0; i < 5 && !agreed; ++i) {
        const double a = clock.timer();
        busy();
        agreed = a == clock.timer();
    }
    EXPECT_TRUE(agreed);
}

TEST(SystemClockTimer, TwoStartDrawsReseededInOneTickPickTheSameStation) {
    // Eight lines of 100 stations: two independent draws rarely meet by chance.
    const RailwayData d = testing::makeEightRegions(100);
    SystemClock clock;
    DefaultRng rng;
    const std::vector<std::string> anywhere;
    bool together = false;
    for (int i = 0; i < 5 && !together; ++i) {
        const auto first = drawStationIn(d, rng, clock, anywhere, Reseed::EveryAttempt);
        busy();
        const auto second = drawStationIn(d, rng, clock, anywhere, Reseed::EveryAttempt);
        ASSERT_TRUE(first && second);
        together = first->line == second->line && first->pos == second->pos;
    }
    EXPECT_TRUE(together);
}

}  // namespace
}  // namespace kisharin

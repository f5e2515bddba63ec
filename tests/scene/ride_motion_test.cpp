// The ride's animation: acceleration, braking, the stop with the last board near the
// middle, and the points the open window pays.
#include <gtest/gtest.h>

#include <limits>

#include "scene/ride.h"
#include "state/saturate.h"
#include "support/fakes.h"
#include "support/railway_builder.h"

namespace kisharin {
namespace {

RideLayout rideOf(int travelled) {
    GameState s;
    testing::TestLine l;
    l.name = "本線";
    for (int i = 1; i <= 60; ++i) l.stations.push_back("駅" + std::to_string(i));
    l.prefs = {"東京都"};
    testing::addLine(s, 1, l);
    s.playerRosen[0] = 1;
    s.startEki[0] = 1;
    s.playerEki[0] = static_cast<Integer>(1 + travelled);
    testing::FakeClock clock;
    DefaultRng rng(1);
    return layoutRide(s, rng, clock, false, false);
}

int ticksToArrive(const RideLayout& r) {
    RideMotion m(r);
    while (!m.tick()) {
        if (m.ticks() > 100000) return -1;
    }
    return m.ticks();
}

TEST(RideMotion, TheWorkedDurations) {
    EXPECT_EQ(ticksToArrive(rideOf(1)), 57);
    EXPECT_EQ(ticksToArrive(rideOf(4)), 138);
    EXPECT_EQ(ticksToArrive(rideOf(9)), 272);
    EXPECT_EQ(ticksToArrive(rideOf(15)), 223);  // 16 boards: the higher top speed
}

TEST(RideMotion, SpeedStaysWithinItsBoundsAndTheLastBoardStopsNearTheMiddle) {
    for (int travelled = 1; travelled <= 40; ++travelled) {
        const RideLayout r = rideOf(travelled);
        RideMotion m(r);
        int previous = m.speed();
        bool braked = false;
        while (!m.tick()) {
            ASSERT_LE(m.speed(), r.maxSpeed) << travelled;
            ASSERT_LE(std::abs(m.speed() - previous), 9) << travelled;  // one step, or the jump up to 10
            if (m.speed() < previous) braked = true;
            if (braked) {
                ASSERT_GE(m.speed(), 10) << travelled;
            }
            previous = m.speed();
            ASSERT_LT(m.ticks(), 5000);
        }
        // The strip's right end has just passed the stop point: the last board's left
        // edge lies at most stopMargin - 673 on the window, one tick's move from there.
        const int lastBoard = m.left() + r.boards.back().left;
        EXPECT_LE(lastBoard, r.stopMargin - ride::kBoardStep) << travelled;
        EXPECT_GT(lastBoard, r.stopMargin - ride::kBoardStep - r.maxSpeed - 1) << travelled;
    }
}

TEST(RideMotion, ShortRidesCrawlTheLastStretchAtTen) {
    const RideLayout r = rideOf(1);
    RideMotion m(r);
    while (!m.tick()) {
    }
    EXPECT_EQ(m.speed(), 10);
}

TEST(RideMotion, TicksAfterArrivalDoNothing) {
    RideMotion m(rideOf(2));
    while (!m.tick()) {
    }
    const int left = m.left(), ticks = m.ticks();
    EXPECT_FALSE(m.tick());
    EXPECT_TRUE(m.arrived());
    EXPECT_EQ(m.left(), left);
    EXPECT_EQ(m.ticks(), ticks);
}

TEST(RidePoints, TenPointsATickHeldAtThePointLimit) {
    GameState s;
    s.curPlayer = 1;
    s.playerPoint[1] = -35;
    rideScoreTick(s);
    EXPECT_EQ(s.playerPoint[1], -25);
    EXPECT_EQ(s.playerPoint[0], 0);
    s.playerPoint[1] = kPointLimit - 4;
    rideScoreTick(s);
    EXPECT_EQ(s.playerPoint[1], kPointLimit);
}

// The two timers on one time line: tmrMain every tick until arrival, then the hold;
// tmrScore every second until the window closes.
Long pointsOfARide(int travelled, int tickMs) {
    GameState s;
    RideMotion m(rideOf(travelled));
    int t = 0;
    while (!m.tick()) t += tickMs;
    t += tickMs;
    const int closesAt = t + ride::kHoldMs;
    for (int score = ride::kScoreMs; score < closesAt; score += ride::kScoreMs) rideScoreTick(s);
    return s.playerPoint[0];
}

TEST(RidePoints, AScreenOpenFiveAndAHalfSecondsPaysFifty) {
    // 57 ticks of 各停 (80 ms) are 4.56 s; with the 1 s hold the screen is open 5.56 s.
    EXPECT_EQ(pointsOfARide(1, 80), 50);
    // 特急 (10 ms): 0.57 s and the hold pay one tick.
    EXPECT_EQ(pointsOfARide(1, 10), 10);
}

}  // namespace
}  // namespace kisharin

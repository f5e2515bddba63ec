// The race of the betting window and the betting event around it.
#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <vector>

#include "support/fakes.h"
#include "turn_fixture.h"
#include "turns/events.h"
#include "turns/messages.h"
#include "turns/race.h"
#include "support/commands.h"
#include "turns/computer.h"

namespace kisharin::testing {
namespace {

// Hands out the queued values, then the pattern over and over.
class PatternRng : public Rng {
  public:
    std::deque<double> first;
    std::vector<double> pattern{0.5};
    size_t i = 0;
    double next() override {
        if (!first.empty()) {
            const double v = first.front();
            first.pop_front();
            return v;
        }
        return pattern[i++ % pattern.size()];
    }
    void reseed(double) override {}
};

// Odds value v for pick(10): the odds o come from (o - 0.5) / 10.
double oddsValue(int o) {
    return (o - 0.5) / 10.0;
}
// A tick without bursts where lane i steps steps[i] (1..5) pixels.
std::vector<double> steadyTick(std::array<int, kLanes> steps) {
    std::vector<double> v;
    for (int st : steps) {
        v.push_back(0.9);             // burst draw 7: no burst
        v.push_back((st - 0.5) / 5);  // step st
    }
    return v;
}

TEST(Race, OddsOneToTenPayFactorsOneToFive) {
    const std::map<int, int> expected = {{1, 1}, {2, 1}, {3, 2}, {4, 2}, {5, 3},
                                         {6, 3}, {7, 4}, {8, 4}, {9, 5}, {10, 5}};
    for (auto [odds, factor] : expected) EXPECT_EQ(oddsFactor(odds), factor) << odds;

    PatternRng rng;
    rng.first = {0.0, 0.15, 0.35, 0.85, 0.999};
    Race race(rng);
    EXPECT_EQ(race.odds(0), 1);
    EXPECT_EQ(race.odds(1), 2);
    EXPECT_EQ(race.odds(2), 4);
    EXPECT_EQ(race.odds(3), 9);
    EXPECT_EQ(race.odds(4), 10);
    EXPECT_EQ(race.factor(2), 2);
    EXPECT_EQ(race.factor(4), 5);
    for (int i = 0; i < kLanes; ++i) EXPECT_EQ(race.left(i), kRacerStartLeft);
    EXPECT_EQ(oddsText(7), "オッズ：７倍");
    EXPECT_EQ(oddsText(10), "オッズ：１０倍");
}

TEST(Race, BurstsComeOneTimeInEightAndStayWithinTheLaneFactor) {
    DefaultRng rng(11);
    for (int factor = 1; factor <= 5; ++factor) {
        int bursts = 0, most = 0;
        const int draws = 40000;
        for (int n = 0; n < draws; ++n) {
            const int b = Race::burst(rng, factor);
            ASSERT_GE(b, 0);
            ASSERT_LE(b, 6 - factor);
            if (b > 0) ++bursts;
            most = std::max(most, b);
        }
        EXPECT_EQ(most, 6 - factor) << "factor " << factor;
        EXPECT_NEAR(bursts / double(draws), 1.0 / 8, 0.01) << "factor " << factor;
    }
    // A burst draw of 0 bursts; any other does not and draws nothing more.
    PatternRng zero;
    zero.pattern = {0.0};
    EXPECT_EQ(Race::burst(zero, 1), 1);
    PatternRng one;
    one.first = {0.124, 0.99};
    EXPECT_EQ(Race::burst(one, 1), 5);
    PatternRng none;
    none.first = {0.125, 0.0};
    EXPECT_EQ(Race::burst(none, 1), 0);
    EXPECT_EQ(none.next(), 0.0);  // the burst size was not drawn
}

TEST(Race, LowerLaneWinsWhenTwoCrossInOneTick) {
    PatternRng rng;
    for (int i = 0; i < kLanes; ++i) rng.first.push_back(oddsValue(9));
    // Lanes 2 and 4 (index 1 and 3) run at 5 px a tick, the others at 1.
    rng.pattern = steadyTick({1, 5, 1, 5, 1});
    Race race(rng);
    const RaceOutcome out = runRace(race, rng, 100000, [](int) { return 3; });
    EXPECT_EQ(out.winner, 2);
    EXPECT_EQ(race.winner(), 1);
    EXPECT_EQ(out.lane, 4);
    EXPECT_EQ(race.winPoints(), 0);  // lane 4 crossed too, but second
    // 656 - 5t < 65 first at t = 119; lane 4 stands exactly where lane 2 does.
    EXPECT_EQ(race.ticks(), 119);
    EXPECT_EQ(race.left(1), 656 - 5 * 119);
    EXPECT_EQ(race.left(3), race.left(1));
    EXPECT_EQ(winnerText(out.winner), "１着　２コース");
}

TEST(Race, TheLaneSelectedWhenTheWinnerCrossesDecides) {
    auto race = [](int changeAt, int from, int to) {
        PatternRng rng;
        for (int i = 0; i < kLanes; ++i) rng.first.push_back(oddsValue(9));
        rng.pattern = steadyTick({1, 1, 5, 1, 1});  // lane 3 wins at tick 119
        Race r(rng);
        runRace(r, rng, 100000, [&](int tick) { return tick >= changeAt ? to : from; });
        return r;
    };
    // Changed to the winner's lane just before the finish: the bet wins.
    Race won = race(119, 0, 2);
    EXPECT_EQ(won.laneAtFinish(), 2);
    EXPECT_EQ(won.winPoints(), 5000);  // 100000 yen at factor 5
    // Changed away from it during the race: the bet loses.
    Race lost = race(60, 2, 4);
    EXPECT_EQ(lost.laneAtFinish(), 4);
    EXPECT_EQ(lost.winPoints(), 0);
    // A change after the winner crossed counts no more.
    Race late = race(120, 2, 0);
    EXPECT_EQ(late.winPoints(), 5000);
}

TEST(Race, RacersStopAtTheLeftEdgeAndKeepRunningAfterTheWinner) {
    PatternRng rng;
    for (int i = 0; i < kLanes; ++i) rng.first.push_back(oddsValue(1));
    rng.pattern = steadyTick({5, 5, 5, 5, 5});
    Race race(rng);
    race.start(1000);
    race.tick(rng, 0);
    EXPECT_EQ(race.left(0), 651);
    EXPECT_FALSE(race.decided());
    while (!race.decided()) race.tick(rng, 0);
    EXPECT_EQ(race.winner(), 0);
    EXPECT_EQ(race.winPoints(), 10);  // 1000 / 100 x factor 1
    for (int n = 0; n < 200; ++n) race.tick(rng, 4);
    for (int i = 0; i < kLanes; ++i) EXPECT_EQ(race.left(i), 0);
    EXPECT_EQ(race.winner(), 0);
    EXPECT_EQ(race.laneAtFinish(), 0);  // the later lane change does not count
    EXPECT_EQ(race.winPoints(), 10);
}

TEST(Race, ARacerOnTheGoalsRightEdgeHasNotFinished) {
    PatternRng rng;
    for (int i = 0; i < kLanes; ++i) rng.first.push_back(oddsValue(5));
    rng.pattern = steadyTick({1, 1, 1, 1, 1});
    Race race(rng);
    race.start(5000);
    for (int n = 0; n < 591; ++n) race.tick(rng, 2);
    EXPECT_EQ(race.left(0), 65);  // the goal's right edge
    EXPECT_FALSE(race.decided());
    race.tick(rng, 2);
    EXPECT_TRUE(race.decided());
    EXPECT_EQ(race.winner(), 0);  // all five crossed in this tick: the first lane wins
    EXPECT_EQ(race.winPoints(), 0);
}

TEST(Race, NoTickBeforeTheStart) {
    PatternRng rng;
    Race race(rng);
    race.tick(rng, 0);
    EXPECT_EQ(race.ticks(), 0);
    EXPECT_EQ(race.left(0), kRacerStartLeft);
}

TEST(Race, StakeListOffersWhatThePlayerCanPayAlignedOnTheRight) {
    EXPECT_EQ(stakeEntry(1000), "  1,000円");
    EXPECT_EQ(stakeEntry(5000), "  5,000円");
    EXPECT_EQ(stakeEntry(10000), " 10,000円");
    EXPECT_EQ(stakeEntry(50000), " 50,000円");
    EXPECT_EQ(stakeEntry(100000), "100,000円");
    EXPECT_TRUE(offeredStakes(999).empty());
    EXPECT_EQ(offeredStakes(1000), std::vector<Long>{1000});
    EXPECT_EQ(offeredStakes(29999), (std::vector<Long>{1000, 5000, 10000}));
    EXPECT_EQ(offeredStakes(30000), (std::vector<Long>{1000, 5000, 10000, 30000}));
    EXPECT_EQ(offeredStakes(5000000).size(), 6u);
}

// The betting event on a race-course station, with the window scripted.
class Betting : public BoardTest {
  protected:
    struct Log : EventLog {
        std::vector<BetRecord> bets;
        void special(const SpecialEventRecord&) override {}
        void bet(const BetRecord& b) override { bets.push_back(b); }
    } log;
    PatternRng race;
    Game bg{s, screens, race, clock};

    void SetUp() override {
        BoardTest::SetUp();
        bg.eventLog = &log;
        bg.seatBoth(screens);
        s.raceName = "競艇";
        s.playerPoint[0] = 200;
    }
    // Odds o on every lane; lane `fast` (0..4) wins.
    void fix(int o, int fast) {
        for (int i = 0; i < kLanes; ++i) race.first.push_back(oddsValue(o));
        std::array<int, kLanes> steps{1, 1, 1, 1, 1};
        steps[static_cast<size_t>(fast)] = 5;
        race.pattern = steadyTick(steps);
    }
};

TEST_F(Betting, NineHundredNinetyNineYenIsNoRaceDay) {
    s.playerMoney[0] = 999;
    screens.bets.push_back({0, 0, 0, 0, false});
    賭け事イベント(bg);
    EXPECT_TRUE(screens.messages.empty());
    EXPECT_TRUE(screens.raceOdds.empty());
    EXPECT_EQ(s.playerMoney[0], 999);
    EXPECT_TRUE(log.bets.empty());
}

TEST_F(Betting, OneThousandYenBetsTheOnlyEntryOffered) {
    s.playerMoney[0] = 1000;
    fix(3, 1);
    screens.bets.push_back({5, 1, 0, 0, false});  // asks for the last entry: only 1000 is there
    賭け事イベント(bg);
    EXPECT_EQ(screens.messages.front(), "今日は競艇開催日！");
    EXPECT_EQ(s.betStake, 1000);
    EXPECT_EQ(s.playerMoney[0], 0);
    EXPECT_EQ(s.playerPoint[0], 200 + 20);  // 1000 / 100 x factor 2 (odds 3)
    EXPECT_EQ(screens.messages.back(), "おめでとう！！　ポイント：+20");
}

TEST_F(Betting, AWinPaysPointsOnlyAndTheStakeIsPaid) {
    s.playerMoney[0] = 150000;
    fix(9, 2);
    screens.bets.push_back({5, 2, 0, 0, false});
    賭け事イベント(bg);
    EXPECT_EQ(s.playerMoney[0], 50000);
    EXPECT_EQ(s.playerPoint[0], 5200);
    ASSERT_EQ(log.bets.size(), 1u);
    const BetRecord& b = log.bets[0];
    EXPECT_EQ(b.player, 0);
    EXPECT_EQ(b.stake, 100000);
    EXPECT_EQ(b.lane, 3);
    EXPECT_EQ(b.winner, 3);
    EXPECT_EQ(b.points, 5000);
    EXPECT_FALSE(b.cancelled);
}

TEST_F(Betting, ALossCostsTheStakeAndFiftyPoints) {
    s.playerMoney[0] = 30000;
    fix(1, 4);
    screens.bets.push_back({2, 0, 0, 0, false});  // 10000 yen on lane 1
    賭け事イベント(bg);
    EXPECT_EQ(s.playerMoney[0], 20000);
    EXPECT_EQ(s.playerPoint[0], 150);
    EXPECT_EQ(screens.messages.back(), kMsgBetLost);
    ASSERT_EQ(log.bets.size(), 1u);
    EXPECT_EQ(log.bets[0].winner, 5);
    EXPECT_EQ(log.bets[0].points, -50);
}

TEST_F(Betting, NotBettingCostsNothing) {
    s.playerMoney[0] = 30000;
    screens.bets.push_back({0, 0, 0, 0, true});
    賭け事イベント(bg);
    EXPECT_EQ(s.playerMoney[0], 30000);
    EXPECT_EQ(s.playerPoint[0], 200);
    EXPECT_EQ(screens.messages, std::vector<std::string>{"今日は競艇開催日！"});
    ASSERT_EQ(log.bets.size(), 1u);
    EXPECT_TRUE(log.bets[0].cancelled);
    EXPECT_EQ(log.bets[0].stake, 0);
}

TEST_F(Betting, AHumanEndingOnARaceCourseBetsTheComputerNever) {
    // 本3 is a horse-racing course.
    s.playerMoney[0] = 30000;
    roll(2);
    testing::rideTo(g, 3);
    EXPECT_EQ(s.raceName, "競馬");
    ASSERT_EQ(screens.raceOdds.size(), 1u);
    EXPECT_NE(std::find(screens.messages.begin(), screens.messages.end(), "今日は競馬開催日！"),
              screens.messages.end());
    // The computer's seat on the same station throws the travel event instead.
    s.comOpponent = True;
    ComputerSeat computer;
    g.seats[1] = &computer;
    ASSERT_EQ(s.curPlayer, 1);
    place(1, 1, 1);
    路線読み込み(g.s, g.line, *g.metrics);
    roll(2);
    testing::rideTo(g, 3);
    EXPECT_EQ(s.playerEki[1], 3);
    EXPECT_EQ(screens.raceOdds.size(), 1u);
}

}  // namespace
}  // namespace kisharin::testing

// The computer's three strengths, judged by their decisions in positions made by hand;
// their shares of wins are measured by the simulator, not here.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "board/route.h"
#include "support/fakes.h"
#include "turn_fixture.h"
#include "turns/computer.h"
#include "turns/events.h"
#include "turns/race.h"
#include "turns/strong_route.h"

namespace kisharin::testing {
namespace {

TEST(StrengthKinds, TheBeginnerTakesTheSlowTrainThePlannerTheFurthestItCanPay) {
    GameState s;
    buildFareTable(s);
    s.shortMode = True;
    // よわい: 各停 whenever the stations it may go can be paid; never works otherwise.
    EXPECT_EQ(weakKind(s, 1, 12, 30000), 1);
    EXPECT_EQ(weakKind(s, 3, 3, 450), 1);
    EXPECT_EQ(weakKind(s, 1, 12, 899), 0);
    EXPECT_EQ(weakKind(s, 4, 7, 30000), 4);  // the line's own kind stays
    // つよい in short mode: 特急 goes furthest; near the point 急行 reaches it as surely
    // and costs less; without the money for 特急 and its reserve, the next best.
    EXPECT_EQ(strongKind(s, 1, 12, 30000), 3);
    EXPECT_EQ(strongKind(s, 1, 2, 30000), 2);
    EXPECT_EQ(strongKind(s, 1, 12, 500 * 12 + kStrongReserve - 1), 2);
    EXPECT_EQ(strongKind(s, 1, 12, 2000), 1);
    EXPECT_EQ(strongKind(s, 1, 12, 100), 0);  // not even 各停: it works
    EXPECT_DOUBLE_EQ(expectedProgress(1, 5), (1 + 2 + 3 + 4 + 5 + 5) / 6.0);
    EXPECT_DOUBLE_EQ(expectedProgress(3, 5), (3 + 5 * 5) / 6.0);
    // With the ride window the slow trains' rides pay many more points: 急行 beats 特急.
    s.shortMode = False;
    EXPECT_GT(ridePointsFor(6, 2), 2 * ridePointsFor(6, 3));
    EXPECT_EQ(strongKind(s, 1, 12, 30000), 2);
    // よわい with the ride window hurries: the fastest whose fare it has, else the next.
    EXPECT_EQ(weakKind(s, 1, 12, 30000), 3);
    EXPECT_EQ(weakKind(s, 1, 12, 500 * 12 - 1), 2);
    EXPECT_EQ(weakKind(s, 3, 3, 450), 1);
    EXPECT_EQ(weakKind(s, 1, 3, 449), 0);
}

// 本線 1..20 in 東京都; from 本1 a flight (羽田 → 千歳) reaches 孤島 in one station, and
// 本線 reaches it at its far end, 19 stations on.
RailwayData flightOrRails() {
    TestLine rails = line("本線", 20);
    rails.links.assign(20, "");
    rails.links[0] = "2\\1";
    rails.links[19] = "3\\1";
    TestLine air{"飛行機（空路）", {"羽田", "千歳"}, {"東京都", "北海道"}, {"1\\1", "3\\1"}, {}};
    TestLine island{"離島線", {"孤島"}, {"北海道"}, {"1\\20;2\\2"}, {}};
    return makeRailway({rails, air, island});
}

bool flies(const std::vector<RoutePoint>& route) {
    return std::any_of(route.begin(), route.end(), [](const RoutePoint& r) { return r.line == 2; });
}

// The game's route counts stations and flies; つよい counts turns and the work a fare
// costs: without the money it keeps to the rails, with plenty it flies.
TEST(StrengthRoute, APoorPlannerKeepsToTheRailsARichOneFlies) {
    GameState s;
    static_cast<RailwayData&>(s) = flightOrRails();
    buildFareTable(s);
    s.curPlayer = 0;
    s.playerRosen[0] = 1;
    s.playerEki[0] = 1;
    for (int d = 1; d <= kDestinationCount; ++d) {
        s.mokutekitiRosen[d] = 3;
        s.mokutekitiEki[d] = 1;
    }
    道のり(s);
    ASSERT_TRUE(flies(s.routeList));

    const std::vector<RoutePoint> poor = strongRoute(s, 20000);
    ASSERT_EQ(poor.size(), 3u);  // 孤島, 本20, 本1
    EXPECT_EQ(poor.front(), (RoutePoint{3, 1, 20, "P3-1"}));
    EXPECT_EQ(poor[1].line, 1);
    EXPECT_EQ(poor[1].pos, 20);
    EXPECT_EQ(poor.back().pos, 1);
    EXPECT_TRUE(flies(strongRoute(s, kStrongRichMoney)));

    // Standing on the destination the way is the station itself; none when all are reached.
    s.playerRosen[0] = 3;
    EXPECT_EQ(strongRoute(s, 0).size(), 1u);
    for (int d = 1; d <= kDestinationCount; ++d) s.mokutekitiDone[d] = True;
    EXPECT_TRUE(strongRoute(s, 0).empty());
}

class StrengthTurns : public BoardTest {
  protected:
    ComputerSeat strong{Strength::Strong};
    ComputerSeat weak{Strength::Weak};
};

// The planner's ride points come from the ride window's own model: what the scripted
// windows pay for a real ride set up and run to the platform is what it expected.
TEST_F(StrengthTurns, TheRidePointsThePlannerCountsAreWhatTheRideWindowPays) {
    s.shortMode = False;
    screens.modelRides = true;
    for (int kind : {1, 2, 3}) {
        SCOPED_TRACE(kind);
        place(0, 1, 1);
        s.curPlayer = 0;
        路線読み込み(s, g.line, *g.metrics);
        s.question = Question::None;
        ASSERT_TRUE(testing::chooseKind(g, kind));
        roll(kind == 1 ? 4 : 2);
        const long long before = screens.ridePoints;
        const int to = 1 + (kind == 1 ? 4 : 2 * kind);
        rng.values = {0.9, 0.9};  // neither cut short nor overshooting
        ASSERT_TRUE(testing::rideTo(g, to));
        EXPECT_EQ(screens.ridePoints - before, ridePointsFor(to - 1, kind));
    }
}

TEST_F(StrengthTurns, ThePlannerStopsOnTheOtherPlayersStationWhenItLiesOnTheWay) {
    g.seats[1] = &strong;
    for (int d = 1; d <= 8; ++d) {
        s.mokutekitiRosen[d] = 1;
        s.mokutekitiEki[d] = 10;
    }
    place(1, 1, 2);
    place(0, 1, 7);
    s.curPlayer = 1;
    s.playerMoney[1] = 30000;
    showBoard(g);
    screens.dice.push_back(3);  // 特急: 9 stations, the point (本10) 8 away
    const Long before = s.playerPoint[0];
    ASSERT_TRUE(playSeatTurn(g));
    EXPECT_EQ(strong.last.target, 7);  // three short of the point, on the other player
    EXPECT_EQ(s.playerEki[1], 7);
    EXPECT_EQ(s.playerPoint[0], before - 50);  // the meeting rule took its 50 points
    // Too far short of the point (more than kStrongMeetingDetour): it goes on.
    place(0, 1, 3);
    place(1, 1, 2);
    s.curPlayer = 1;
    showBoard(g);
    screens.dice.push_back(3);
    ASSERT_TRUE(playSeatTurn(g));
    EXPECT_EQ(s.playerEki[1], 10);
}

// The turn follows the planner's own way: a poor planner rides on along 本線, a rich
// one changes to the flight at once.
TEST_F(StrengthTurns, ThePlannerFliesOnlyWithTheMoneyForIt) {
    setUpTwoPlayers(s, flightOrRails(), dir.path() + "履歴", "はなこ");
    g.seats[1] = &strong;
    for (const Long money : {Long{20000}, Long{200000}}) {
        SCOPED_TRACE(money);
        place(0, 1, 15);
        place(1, 1, 1);
        s.curPlayer = 1;
        s.playerMoney[1] = money;
        showBoard(g);
        screens.dice.push_back(2);
        ASSERT_TRUE(playSeatTurn(g));
        if (money < kStrongRichMoney) {
            EXPECT_TRUE(strong.last.transfers.empty());
            EXPECT_EQ(s.playerRosen[1], 1);
            EXPECT_GT(s.playerEki[1], 1);
        } else {
            EXPECT_EQ(strong.last.transfers, (std::vector<Station>{{2, 1}}));
            EXPECT_EQ(s.playerRosen[1], 2);
            EXPECT_EQ(s.playerEki[1], 2);
        }
    }
}

TEST_F(StrengthTurns, WarpAndGodAnswersFollowTheStrength) {
    s.curPlayer = 1;
    s.routeList = {{1, 10, 31, "k"}};
    s.routeCount = 1;
    const auto warp = [&](ComputerSeat& seat) {
        g.seats[1] = &seat;
        g.answers.warp = false;
        s.questionRegion = 2;
        bool jumped = false;
        openQuestion(g, Question::Warp, [&](Game& later) { jumped = later.answers.warp; });
        settleQuestion(g);
        return jumped;
    };
    EXPECT_TRUE(warp(strong));  // 31 > 30 into an open region
    EXPECT_FALSE(warp(weak));
    ComputerSeat normal;
    EXPECT_FALSE(warp(normal));  // ふつう waits for more than 40
    s.mokutekitiDone[2] = True;
    EXPECT_FALSE(warp(strong));  // that region's destination is reached

    // The god: the open destination in the prefecture of fewest stations (離島線's one).
    for (int d = 1; d <= 8; ++d) s.mokutekitiDone[d] = d > 2;
    s.mokutekitiRosen[1] = 1;
    s.mokutekitiEki[1] = 3;  // 東京都: ten stations
    s.mokutekitiRosen[2] = 3;
    s.mokutekitiEki[2] = 1;  // 北海道: 孤島 and 千歳
    EXPECT_EQ(strongGodPick(s), "北海道");
    s.routeList[0].distance = 15;
    EXPECT_EQ(strongGodPick(s), "");  // near enough: stays
    g.seats[1] = &weak;
    std::string asked = "?";
    openQuestion(g, Question::God, [&](Game& later) { asked = later.answers.god; });
    settleQuestion(g);
    EXPECT_EQ(asked, "");
}

TEST(StrengthBets, TheBeginnerRisksLittleOnTheLongShotThePlannerBetsWhereThePointsAre) {
    const Race race(std::array<int, kLanes>{2, 9, 5, 10, 7});
    const BetChoice w = weakBet(race, 200000);
    EXPECT_TRUE(w.bet);
    EXPECT_EQ(w.lane, 3);
    EXPECT_EQ(w.stake, 1000);
    EXPECT_FALSE(weakBet(race, 999).bet);

    const std::array<double, kLanes> chance = winChances(race, kStrongBetTrials);
    EXPECT_NEAR(std::accumulate(chance.begin(), chance.end(), 0.0), 1.0, 1e-9);
    EXPECT_GT(chance[0], chance[3]);                        // the lowest odds run fastest
    EXPECT_EQ(winChances(race, 50), winChances(race, 50));  // the same race, the same judgement
    // Rich: the largest stake that leaves the reserve, where points are expected.
    const BetChoice rich = strongBet(race, 130000);
    ASSERT_TRUE(rich.bet);
    EXPECT_EQ(rich.stake, 100000);
    const double p = chance[static_cast<size_t>(rich.lane)];
    EXPECT_GT(p * 1000 * race.factor(rich.lane) - (1 - p) * 50, 0);
    // Poor: 1000 yen wins at most 50 points and loses 50: no bet unless it pays.
    const BetChoice poor = strongBet(race, 1500);
    if (poor.bet) {
        const double q = chance[static_cast<size_t>(poor.lane)];
        EXPECT_GT(q * 10 * race.factor(poor.lane) - (1 - q) * 50, 0);
    }
}

}  // namespace
}  // namespace kisharin::testing

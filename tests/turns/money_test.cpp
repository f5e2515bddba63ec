// A work turn and the points display.
#include "turns/money.h"

#include <gtest/gtest.h>

#include "board/startup.h"
#include "support/fakes.h"
#include "support/railway_builder.h"
#include "support/scripted_screens.h"
#include "turns/happenings.h"
#include "support/commands.h"

namespace kisharin {
namespace {

struct WorkFixture : ::testing::Test {
    GameState s;
    testing::ScriptedScreens screens;
    testing::FakeClock clock;

    void SetUp() override {
        buildEventTables(s);
        s.playerName[0] = "たろう";
        s.playerName[1] = "じろう";
        s.playerMoney[0] = 500;
        s.playerMoney[1] = 7;
        s.susumuSteps = 9;
    }
};

TEST_F(WorkFixture, TheJobIsDrawnFromAllEightAndPaysItsRateTimesTheHours) {
    const std::vector<std::pair<double, std::string>> draws = {{0.0, "肉体労働だ～：時給　1300円"},
                                                               {0.124, "肉体労働だ～：時給　1300円"},
                                                               {0.125, "ティッシュ配るぞ～：時給　850円"},
                                                               {0.76, "ボランティア：時給　100円"},
                                                               {0.999, "泥棒：時給　10000円"}};
    for (const auto& [r, offer] : draws) {
        testing::SequenceRng rng({r});
        Game g{s, screens, rng, clock};
        g.seatBoth(screens);
        const size_t from = screens.messages.size();
        screens.dice = {3};
        doWork(g);
        ASSERT_EQ(screens.since(from).size(), 2u);
        EXPECT_EQ(screens.since(from)[0], offer) << r;
    }
}

TEST_F(WorkFixture, ThiefForSixHoursEarnsSixtyThousand) {
    testing::SequenceRng rng({0.99});
    Game g{s, screens, rng, clock};
    g.seatBoth(screens);
    screens.dice = {6};
    const int refreshes = screens.refreshes;
    doWork(g);
    EXPECT_EQ(screens.messages,
              (std::vector<std::string>{"泥棒：時給　10000円", "6時間、働いた！　：60000円"}));
    EXPECT_EQ(s.playerMoney[0], 60500);
    EXPECT_EQ(s.playerMoney[1], 7);  // only the player who works is paid
    EXPECT_EQ(s.susumuSteps, 0);
    EXPECT_GT(screens.refreshes, refreshes);  // the money label shows the new sum
    EXPECT_EQ(screens.rolls, 1);
}

TEST_F(WorkFixture, VolunteeringOneHourForThePlayerTwo) {
    testing::SequenceRng rng({0.8});
    Game g{s, screens, rng, clock};
    g.seatBoth(screens);
    s.curPlayer = 1;
    screens.dice = {1};
    doWork(g);
    EXPECT_EQ(screens.messages.back(), "1時間、働いた！　：100円");
    EXPECT_EQ(s.playerMoney[1], 107);
}

TEST_F(WorkFixture, TheWorkButtonAlwaysPassesTheTurn) {
    testing::ScratchDir dir;
    static_cast<RailwayData&>(s) = testing::makeEightRegions(3);
    s.historyBase = dir.file("履歴");
    s.playerRosen[0] = 1, s.playerEki[0] = 1;
    s.playerRosen[1] = 2, s.playerEki[1] = 2;
    s.mokutekitiRosen[1] = 1, s.mokutekitiEki[1] = 3;
    s.mokutekitiRosen[2] = 2, s.mokutekitiEki[2] = 3;
    s.playerMoney[0] = 1000000;  // plenty of money: work is still allowed
    testing::SequenceRng rng({0.3});
    Game g{s, screens, rng, clock};
    g.seatBoth(screens);
    screens.dice = {2};
    testing::work(g);
    EXPECT_EQ(s.curPlayer, 1);
    EXPECT_EQ(s.playerMoney[0], 1000000 + 3000 * 2);
    // The route belongs to the player about to move.
    ASSERT_EQ(s.routeCount, 2);
    EXPECT_EQ(s.routeList[0], (RoutePoint{2, 3, 1, "P2-3"}));
    EXPECT_EQ(s.routeList[1], (RoutePoint{2, 2, 1, "P2-3"}));
}

TEST(Points, BothPlayersAreListedWithTheirSigns) {
    GameState s;
    testing::ScriptedScreens screens;
    testing::SequenceRng rng({0.5});
    testing::FakeClock clock;
    Game g{s, screens, rng, clock};
    g.seatBoth(screens);
    s.playerName[0] = "たろう";
    s.playerName[1] = "コンピュータ";
    s.playerPoint[0] = -50;
    s.playerPoint[1] = 1234;
    s.curPlayer = 1;
    cmdPoint_Click(g);
    EXPECT_EQ(screens.messages,
              std::vector<std::string>{"たろう：-50ポイント　，　コンピュータ：1234ポイント"});
    EXPECT_EQ(s.playerPoint[0], -50);
    EXPECT_EQ(s.playerPoint[1], 1234);
}

}  // namespace
}  // namespace kisharin

// The destination check, the end of the game, the earthquake's new draw and the two
// destination windows.
#include "turns/destinations.h"

#include <gtest/gtest.h>

#include <set>

#include "board/route.h"
#include "state/regions.h"
#include "state/saturate.h"
#include "support/fakes.h"
#include "support/railway_builder.h"
#include "support/scripted_screens.h"

namespace kisharin {
namespace {

struct DestinationFixture : ::testing::Test {
    GameState s;
    testing::ScriptedScreens screens;
    DefaultRng rng{42};
    testing::FakeClock clock;
    Game g = testing::seatedGame(s, screens, rng, clock);

    void SetUp() override {
        buildRegionTables(s);
        static_cast<RailwayData&>(s) = testing::makeEightRegions(6);
        s.playerName[0] = "たろう";
        s.playerName[1] = "じろう";
        for (int d = 1; d <= 8; ++d) setDestination(d, d, 2);
    }
    void setDestination(int d, int line, int pos, bool done = false) {
        s.mokutekitiRosen[d] = static_cast<Integer>(line);
        s.mokutekitiEki[d] = static_cast<Integer>(pos);
        s.mokutekitiDone[d] = done;
    }
    void stand(int player, int line, int pos) {
        s.curPlayer = static_cast<Integer>(player);
        s.playerRosen[player] = static_cast<Integer>(line);
        s.playerEki[player] = static_cast<Integer>(pos);
    }
};

TEST_F(DestinationFixture, TheFirstToArriveIsRewardedTheSecondGetsOnePoint) {
    stand(0, 3, 2);
    s.playerMoney[0] = 500;
    checkArrival(g, 2);
    EXPECT_TRUE(s.mokutekitiDone[3]);
    EXPECT_TRUE(s.moveDone);
    EXPECT_EQ(s.playerPoint[0], 100);
    EXPECT_EQ(s.playerMoney[0], 100500);
    EXPECT_EQ(s.arriveCount[0], 1);
    EXPECT_GE(screens.refreshes, 1);
    EXPECT_EQ(screens.messages, std::vector<std::string>{"たろう　到着！　ポイント：+100　祝金：+10万円"});

    s.moveDone = False;
    stand(1, 3, 2);
    checkArrival(g, 2);
    EXPECT_TRUE(s.moveDone);
    EXPECT_EQ(s.playerPoint[1], 1);
    EXPECT_EQ(s.playerMoney[1], 0);
    EXPECT_EQ(s.arriveCount[1], 0);
    EXPECT_EQ(screens.messages.back(), "もう到着済み…残念だったね…　ポイント：+1");
    EXPECT_FALSE(g.ended);
    EXPECT_EQ(screens.results, 0);
}

TEST_F(DestinationFixture, RewardsStopAtTheLimitsOfMoneyAndPoints) {
    stand(0, 3, 2);
    s.playerMoney[0] = kMoneyLimit - 500;
    s.playerPoint[0] = kPointLimit - 1;
    checkArrival(g, 2);
    EXPECT_EQ(s.playerMoney[0], kMoneyLimit);
    EXPECT_EQ(s.playerPoint[0], kPointLimit);
    // Penalties stop at the other end.
    s.playerPoint[0] = -kPointLimit + 10;
    addPoints(s.playerPoint[0], -50);
    EXPECT_EQ(s.playerPoint[0], -kPointLimit);
    addMoney(s.playerMoney[0], -3LL * kMoneyLimit);
    EXPECT_EQ(s.playerMoney[0], -kMoneyLimit);
}

TEST_F(DestinationFixture, ARideThatEndedElsewhereOrAnotherLineNeverCounts) {
    stand(0, 5, 2);
    checkArrival(g, 3);  // the ride stopped short of the clicked 3, on a destination
    stand(0, 4, 3);
    checkArrival(g, 2);  // went past the clicked destination
    s.ekiLink(1, 2) = "5\\2";
    stand(0, 1, 2);  // the same place as destination 5, but on line 1
    setDestination(1, 1, 4);
    checkArrival(g, 2);
    EXPECT_FALSE(s.moveDone);
    EXPECT_TRUE(screens.messages.empty());
    EXPECT_EQ(s.playerPoint[0], 0);
    for (int d = 1; d <= 8; ++d) EXPECT_FALSE(s.mokutekitiDone[d]);
}

TEST_F(DestinationFixture, TwoDestinationsOnOneStationAreEachHandled) {
    setDestination(2, 6, 4, true);
    setDestination(7, 6, 4);
    stand(1, 6, 4);
    checkArrival(g, 4);  // a click on one's own station: nothing moved, the check runs
    EXPECT_EQ(screens.messages, (std::vector<std::string>{"もう到着済み…残念だったね…　ポイント：+1",
                                                          "じろう　到着！　ポイント：+100　祝金：+10万円"}));
    EXPECT_EQ(s.playerPoint[1], 101);
    EXPECT_TRUE(s.mokutekitiDone[7]);
}

TEST_F(DestinationFixture, TheEighthDestinationEndsTheGame) {
    for (int d = 1; d <= 7; ++d) s.mokutekitiDone[d] = True;
    int doneAtResults = 0;
    screens.onResults = [&](const GameState& st) {
        for (int d = 1; d <= 8; ++d) doneAtResults += st.mokutekitiDone[d] ? 1 : 0;
    };
    stand(1, 8, 2);
    checkArrival(g, 2);
    EXPECT_EQ(screens.messages, (std::vector<std::string>{"じろう　到着！　ポイント：+100　祝金：+10万円",
                                                          "お疲れ様でした！　結果発表です。"}));
    EXPECT_EQ(screens.results, 1);
    EXPECT_EQ(doneAtResults, 8);
    EXPECT_EQ(s.playerPoint[1], 100);  // the results show the last award
    EXPECT_TRUE(g.ended);
    checkArrival(g, 2);  // nothing after the end
    EXPECT_EQ(screens.results, 1);
    EXPECT_EQ(s.playerPoint[1], 100);
}

TEST_F(DestinationFixture, TheEarthquakeMovesOnlyOpenDestinationsEachInItsRegion) {
    setDestination(2, 2, 5, true);
    setDestination(6, 6, 1, true);
    std::set<std::pair<int, int>> seen;
    for (int quake = 0; quake < 20; ++quake) {
        clock.time += 1;
        地震目的地変更(g);
        for (int d = 1; d <= 8; ++d) {
            const int line = s.mokutekitiRosen[d], pos = s.mokutekitiEki[d];
            EXPECT_EQ(regionOf(s, s.ekiPref(line, pos)), d);
            EXPECT_GE(pos, 1);
            EXPECT_LE(pos, 6);
            if (d == 1) seen.insert({line, pos});
        }
        EXPECT_EQ(s.mokutekitiEki[2], 5);
        EXPECT_EQ(s.mokutekitiEki[6], 1);
        EXPECT_TRUE(s.mokutekitiDone[2]);
        EXPECT_FALSE(s.mokutekitiDone[1]);
    }
    EXPECT_GT(seen.size(), 2u);             // the destinations really move
    EXPECT_TRUE(screens.messages.empty());  // the earthquake's own message is the event's
}

TEST_F(DestinationFixture, ARegionalEarthquakeKeepsNewDestinationsApartFromLowerOnes) {
    testing::TestLine area{"宇都宮線", {}, {"栃木県"}};
    for (int i = 1; i <= 9; ++i) area.stations.push_back("駅" + std::to_string(i));
    static_cast<RailwayData&>(s) = testing::makeRailway({area});
    s.playArea = 3;
    for (int d = 1; d <= 8; ++d) setDestination(d, 1, d, d % 3 == 0);
    for (int quake = 0; quake < 30; ++quake) {
        clock.time += 1;
        地震目的地変更(g);
        for (int d = 1; d <= 8; ++d)
            for (int j = 1; j < d; ++j)
                if (!s.mokutekitiDone[d]) {
                    EXPECT_NE(s.mokutekitiEki[d], s.mokutekitiEki[j]) << d << " and " << j;
                }
        EXPECT_EQ(s.mokutekitiEki[3], 3);
        EXPECT_EQ(s.mokutekitiEki[6], 6);
    }
}

TEST_F(DestinationFixture, AnAreaWithoutEightStationsLeavesTheDestinationsAlone) {
    testing::TestLine area{"短い線", {"一", "二", "三"}, {"栃木県"}};
    static_cast<RailwayData&>(s) = testing::makeRailway({area});
    s.playArea = 3;
    for (int d = 1; d <= 8; ++d) setDestination(d, 1, 1 + d % 3);
    const auto before = s.mokutekitiEki;
    地震目的地変更(g);  // must return rather than draw for ever
    EXPECT_EQ(s.mokutekitiEki, before);
}

TEST_F(DestinationFixture, TheListShowsEveryDestinationColouredByItsState) {
    s.ekiName(5, 0) = "とても長い名前の路線でございます本当に";
    setDestination(2, 2, 3, true);
    const DestinationListModel m = destinationListModel(s);
    EXPECT_EQ(m.caption, "目的地");
    ASSERT_EQ(m.labels.size(), 8u);
    EXPECT_EQ(m.labels[0].text, "線1：駅1-2　（北海道）");
    EXPECT_EQ(m.labels[0].color, rgb(0, 0, 255));
    EXPECT_EQ(m.labels[1].text, "線2：駅2-3　（青森県）");
    EXPECT_EQ(m.labels[1].color, rgb(255, 0, 0));
    EXPECT_EQ(m.labels[0].pointSize, kDestinationPointSize);
    // 19 + 1 + 5 + 2 + 3 + 1 = 31 characters: the small font.
    EXPECT_EQ(m.labels[4].pointSize, 10);
    EXPECT_EQ((std::pair{m.labels[3].column, m.labels[3].row}), (std::pair{0, 3}));
    EXPECT_EQ((std::pair{m.labels[4].column, m.labels[4].row}), (std::pair{1, 0}));
    EXPECT_EQ((std::pair{m.labels[7].column, m.labels[7].row}), (std::pair{1, 3}));
}

TEST_F(DestinationFixture, TheCourseListsTheRouteFromThePlayerToTheDestination) {
    testing::TestLine a{"東海道線", {"東京", "品川", "横浜"}, {"東京都"}, {"", "2\\1"}};
    testing::TestLine b{"京急線", {"品川", "羽田空港"}, {"東京都"}, {"1\\2"}};
    static_cast<RailwayData&>(s) = testing::makeRailway({a, b});
    for (int d = 1; d <= 8; ++d) setDestination(d, 2, 2, d != 4);
    stand(0, 1, 1);
    道のり(s);
    const CourseModel m = courseModel(s);
    EXPECT_EQ(m.caption, "最短目的地");
    EXPECT_EQ(m.text(),
              "東海道線\n　東京駅\n↓\n東海道線\n　品川駅\n↓\n京急線\n　品川駅\n↓\n京急線\n　羽田空港駅\n");
    s.routeList.clear();
    s.routeCount = 0;
    EXPECT_EQ(courseModel(s).text(), "");
}

}  // namespace
}  // namespace kisharin

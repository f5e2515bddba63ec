// Recording arrivals in the history file and conquering lines.
#include "turns/history.h"

#include <gtest/gtest.h>

#include "board/history_file.h"
#include "platform/text_file.h"
#include "state/error.h"
#include "support/fakes.h"
#include "support/railway_builder.h"
#include "support/scripted_screens.h"

namespace kisharin {
namespace {

struct ArrivalFixture : ::testing::Test {
    testing::ScratchDir dir;
    GameState s;
    testing::ScriptedScreens screens;
    testing::SequenceRng rng{{0.5}};
    testing::FakeClock clock;
    Game g = testing::seatedGame(s, screens, rng, clock);

    void SetUp() override {
        testing::TestLine a{"山手線", {"東京", "神田", "秋葉原"}, {"東京都"}, {"2\\1"}};
        testing::TestLine b{"中央線", {"東京", "御茶ノ水"}, {"東京都"}, {"1\\1"}};
        testing::TestLine air{"飛行機（羽田－千歳）", {"羽田", "千歳"}, {"東京都", "北海道"}};
        static_cast<RailwayData&>(s) = testing::makeRailway({a, b, air});
        s.historyBase = dir.file("履歴");
        s.curPlayer = 1;
    }
    void arrive(int line, int pos) {
        s.playerRosen[s.curPlayer] = static_cast<Integer>(line);
        s.playerEki[s.curPlayer] = static_cast<Integer>(pos);
        到達履歴(g);
    }
    std::string file(int player) {
        const std::string path = historyPath(s, player);
        return fileExists(path) ? readFileBytes(path) : "";
    }
};

TEST_F(ArrivalFixture, ANewStationIsAppendedOnceInTheOrderReached) {
    arrive(1, 3);
    arrive(1, 3);
    arrive(1, 1);
    EXPECT_EQ(file(1), "1 3\r\n1 1\r\n");
    EXPECT_EQ(file(0), "");
    EXPECT_TRUE(s.visited[1](1, 3));
    EXPECT_FALSE(s.visited[0](1, 3));
    // What was written reads back as the same flags.
    std::vector<std::string> notices;
    EXPECT_TRUE(loadHistory(historyPath(s, 1), notices) == s.visited[1]);
    EXPECT_TRUE(notices.empty());
}

TEST_F(ArrivalFixture, AStationIsRecordedPerLine) {
    arrive(1, 1);
    EXPECT_FALSE(s.visited[1](2, 1));  // the same place on 中央線 is another station
    arrive(2, 1);                      // the transfer onto it records it there
    EXPECT_TRUE(s.visited[1](2, 1));
    EXPECT_EQ(file(1), "1 1\r\n2 1\r\n");
}

TEST_F(ArrivalFixture, TheLastStationOfALineConquersIt) {
    arrive(1, 1);
    arrive(1, 2);
    EXPECT_TRUE(screens.conquests.empty());
    arrive(1, 3);
    EXPECT_EQ(screens.conquests, std::vector<int>{1});
    EXPECT_EQ(screens.messages, std::vector<std::string>{"「山手線」制覇！　ポイント：+１００"});
    EXPECT_EQ(s.playerPoint[1], 100);
    EXPECT_EQ(s.playerPoint[0], 0);
}

TEST_F(ArrivalFixture, StationsOfEarlierGamesCountAndACompleteLineIsNotConqueredAgain) {
    s.visited[1](2, 2) = True;  // from the history read at the board's start
    arrive(2, 1);               // reached by a transfer
    EXPECT_EQ(screens.conquests, std::vector<int>{2});
    EXPECT_EQ(s.playerPoint[1], 100);
    arrive(2, 1);
    arrive(2, 2);
    EXPECT_EQ(screens.conquests.size(), 1u);
    EXPECT_EQ(s.playerPoint[1], 100);
    EXPECT_EQ(file(1), "2 1\r\n");
}

TEST_F(ArrivalFixture, AirRoutesAreRecordedButNeverConquered) {
    arrive(3, 1);
    arrive(3, 2);
    EXPECT_EQ(file(1), "3 1\r\n3 2\r\n");
    EXPECT_TRUE(screens.conquests.empty());
    EXPECT_TRUE(screens.messages.empty());
    EXPECT_EQ(s.playerPoint[1], 0);
}

TEST_F(ArrivalFixture, ShortModeSkipsTheCelebrationButGivesMessageAndPoints) {
    s.shortMode = True;
    s.curPlayer = 0;
    arrive(2, 1);
    arrive(2, 2);
    EXPECT_TRUE(screens.conquests.empty());
    EXPECT_EQ(screens.messages, std::vector<std::string>{"「中央線」制覇！　ポイント：+１００"});
    EXPECT_EQ(s.playerPoint[0], 100);
}

TEST_F(ArrivalFixture, AFailedWriteIsReportedAndTheStationStaysUnrecorded) {
    const std::string good = s.historyBase;
    s.historyBase = dir.file("ない/履歴");  // a folder that does not exist
    // The last station of 中央線 but one is already there: a failed write conquers nothing.
    s.visited[1](2, 2) = True;
    EXPECT_NO_THROW(arrive(2, 1));
    ASSERT_EQ(screens.messages.size(), 1u);
    EXPECT_NE(screens.messages[0].find(historyPath(s, 1)), std::string::npos);
    EXPECT_FALSE(s.visited[1](2, 1));  // not marked, so the next arrival tries again
    EXPECT_TRUE(screens.conquests.empty());
    EXPECT_EQ(s.playerPoint[1], 0);
    s.historyBase = good;
    arrive(2, 1);
    EXPECT_TRUE(s.visited[1](2, 1));
    EXPECT_EQ(file(1), "2 1\r\n");
    EXPECT_EQ(screens.conquests, std::vector<int>{2});
}

TEST_F(ArrivalFixture, APositionOffTheLineRecordsNothing) {
    arrive(1, 0);
    arrive(1, 4);
    arrive(0, 1);
    EXPECT_EQ(file(1), "");
}

}  // namespace
}  // namespace kisharin

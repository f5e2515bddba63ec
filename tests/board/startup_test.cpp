#include "board/startup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "board/station_file.h"
#include "platform/data_home.h"
#include "platform/text_file.h"
#include "state/railway.h"
#include "state/regions.h"
#include "support/fakes.h"
#include "support/railway_builder.h"

namespace kisharin {
namespace {

using testing::FakeClock;
using testing::ScratchDir;

// A board folder with a station file and both histories.
class BoardFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        makeDirectories(dir.path() + "GameData");
        s.appDir = dir.path();
        s.historyBase = dir.path() + "GameData/履歴";
        writeStation(testing::makeEightRegions(12));
        writeLinesAtomic(s.historyBase + "0.txt", {"3 2"});
        writeLinesAtomic(s.historyBase + "1.txt", {});
    }
    void writeStation(const RailwayData& d) {
        writeBytesAtomic(dir.file("GameData/駅.txt"), formatStationFile(d, "header"));
    }
    ScratchDir dir;
    GameState s;
    FakeClock clock;
    DefaultRng rng;
};

TEST_F(BoardFolder, LoadReadsTheNetworkTheHistoriesAndTheFixedTables) {
    loadBoardData(s);
    EXPECT_EQ(lineCount(s), 8);
    EXPECT_EQ(s.mapDataDir, dir.path() + "MapData/");
    EXPECT_TRUE(s.visited[0](3, 2));
    EXPECT_FALSE(s.visited[1](3, 2));
    EXPECT_EQ(s.kindFare[3], 500);
    EXPECT_EQ(s.regionName[2], "東北地方");
}

TEST_F(BoardFolder, ABrokenStationFileLoadsNothingAtAll) {
    loadBoardData(s);
    const GameState before = s;
    writeLinesAtomic(s.historyBase + "1.txt", {"1 1"});
    writeBytesAtomic(dir.file("GameData/駅.txt"), "header\r\nx\r\n");
    EXPECT_THROW(loadBoardData(s), DataError);
    EXPECT_EQ(stationCount(s, 1), 12);
    EXPECT_TRUE(s.visited[1] == before.visited[1]);  // the history was not taken either
}

TEST_F(BoardFolder, ABadHistoryLineIsSkippedWithANoticeAndTheGameStarts) {
    writeLinesAtomic(s.historyBase + "1.txt", {"1 1", "oops", "2 2"});
    std::vector<std::string> notices;
    ASSERT_NO_THROW(notices = startBoard(s, rng, clock));
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find("2行目"), std::string::npos) << notices[0];
    EXPECT_TRUE(s.visited[1](1, 1));
    EXPECT_TRUE(s.visited[1](2, 2));
    // Nothing the player wrote is lost: the file is left as it was.
    EXPECT_EQ(readLines(s.historyBase + "1.txt"), (std::vector<std::string>{"1 1", "oops", "2 2"}));
}

TEST_F(BoardFolder, AMissingHistoryIsAnEmptyOne) {
    std::remove((s.historyBase + "1.txt").c_str());
    std::vector<std::string> notices;
    ASSERT_NO_THROW(notices = loadBoardData(s));
    EXPECT_TRUE(notices.empty());
    EXPECT_TRUE(s.visited[1] == VisitedTable{});
    EXPECT_TRUE(s.visited[0](3, 2));
}

TEST_F(BoardFolder, NewGameSetsMoneyKindsClockAndStarts) {
    s.playerPoint[0] = 99;
    clock.serial = 46000.25;
    startBoard(s, rng, clock);
    EXPECT_EQ(s.gameClock, 46000.25);
    EXPECT_EQ(s.playSeconds, 0);
    EXPECT_EQ(s.curPlayer, 0);
    EXPECT_EQ(s.selKind, 1);
    for (int p = 0; p < 2; ++p) {
        EXPECT_EQ(s.playerMoney[p], 30000);
        EXPECT_EQ(s.playerKind[p], 1);
        EXPECT_EQ(s.playerPoint[p], 0);
        EXPECT_TRUE(isStation(s, s.playerRosen[p], s.playerEki[p]));
        EXPECT_EQ(s.playerScroll[p], scrollValueFor(s.playerEki[p], 12));
    }
}

TEST_F(BoardFolder, BothPlayersStartTogetherWhenDrawnInTheSameTick) {
    clock.step = 0;
    startBoard(s, rng, clock);
    EXPECT_EQ(s.playerRosen[0], s.playerRosen[1]);
    EXPECT_EQ(s.playerEki[0], s.playerEki[1]);
}

TEST_F(BoardFolder, WholeCountryPutsDestinationIInRegionI) {
    for (int seed = 0; seed < 20; ++seed) {
        clock.time = seed * 3.7;
        clock.step = 0.01;
        startBoard(s, rng, clock);
        for (int i = 1; i <= 8; ++i) {
            EXPECT_EQ(regionOf(s, s.ekiPref(s.mokutekitiRosen[i], s.mokutekitiEki[i])), i);
            EXPECT_FALSE(s.mokutekitiDone[i]);
        }
    }
}

TEST_F(BoardFolder, RegionalPlayKeepsEverythingInTheAreaAndDestinationsApart) {
    RailwayData d = testing::makeEightRegions(2);
    // Kanto gets a second line so that it holds eight stations.
    testing::addLine(d, 9,
                     {"関東線",
                      {"k1", "k2", "k3", "k4", "k5", "k6"},
                      {"東京都", "千葉県", "埼玉県", "群馬県", "茨城県", "神奈川県"}});
    writeStation(d);
    s.playArea = 3;
    for (int seed = 0; seed < 30; ++seed) {
        clock.time = seed;
        clock.step = 0.001;
        startBoard(s, rng, clock);
        std::set<std::pair<int, int>> seen;
        for (int i = 1; i <= 8; ++i) {
            EXPECT_EQ(regionOf(s, s.ekiPref(s.mokutekitiRosen[i], s.mokutekitiEki[i])), 3);
            seen.insert({s.mokutekitiRosen[i], s.mokutekitiEki[i]});
        }
        EXPECT_EQ(seen.size(), 8u);  // exactly the eight stations of Kanto
        for (int p = 0; p < 2; ++p) EXPECT_EQ(regionOf(s, s.ekiPref(s.playerRosen[p], s.playerEki[p])), 3);
    }
}

TEST_F(BoardFolder, AnAreaWithTooFewStationsIsRefusedInsteadOfLoopingForever) {
    s.playArea = 5;  // 近畿 has 12 stations: fine
    EXPECT_NO_THROW(startBoard(s, rng, clock));
    writeStation(testing::makeEightRegions(3));
    // Each refusal names the station file it comes from.
    const auto refusal = [&] {
        try {
            startBoard(s, rng, clock);
        } catch (const DataError& e) {
            EXPECT_EQ(e.file(), s.appDir + "GameData/駅.txt");
            return e.what_wrong();
        }
        return std::string("(started)");
    };
    s.playArea = 6;  // 中国 has only three
    EXPECT_EQ(refusal(), "中国地方の駅が 8 駅に足りないため、目的地を決められません");
    RailwayData d = testing::makeEightRegions(3);
    d.ekiPref(7, 1) = d.ekiPref(7, 2) = d.ekiPref(7, 3) = "東京都";  // no 四国 at all
    writeStation(d);
    s.playArea = 0;
    EXPECT_EQ(refusal(), "四国地方の駅がないため、目的地を決められません");
    s.playArea = 7;
    EXPECT_EQ(refusal(), "四国地方の駅がないため、出発駅を決められません");
    writeStation(RailwayData{});
    EXPECT_EQ(refusal(), "路線が一つもないため、ゲームを始められません");
}

TEST_F(BoardFolder, ResumedGameKeepsWhatWasLoaded) {
    s.resumeGame = true;
    s.curPlayer = 1;
    s.playerKind[1] = 3;
    s.playerRosen[0] = 4;
    s.playerEki[0] = 7;
    s.mokutekitiRosen[2] = 6;
    s.playerMoney[1] = 123;
    startBoard(s, rng, clock);
    EXPECT_EQ(s.selKind, 3);
    EXPECT_EQ(s.playerRosen[0], 4);
    EXPECT_EQ(s.playerEki[0], 7);
    EXPECT_EQ(s.mokutekitiRosen[2], 6);
    EXPECT_EQ(s.playerMoney[1], 123);
}

TEST(Scroll, BringsTheStationIntoViewWithinTheBarsRange) {
    EXPECT_EQ(scrollMaxFor(1), 35 + 50 - 433);
    EXPECT_EQ(scrollValueFor(1, 1), 0);
    EXPECT_EQ(scrollValueFor(10, 40), 0);     // 350 - 383 < 0
    EXPECT_EQ(scrollValueFor(11, 40), 0);     // 385 - 383, back to the gap above station 1
    EXPECT_EQ(scrollValueFor(40, 40), 1002);  // near the end, in the gap above station 29
    EXPECT_EQ(scrollMaxFor(40), 1017);
}

TEST(Scroll, ShowsTheStationAndNoBoxCutAtTheTop) {
    const int boxHeight = 25;
    for (int n = 1; n <= 60; ++n)
        for (int pos = 1; pos <= n; ++pos) {
            SCOPED_TRACE("line of " + std::to_string(n) + " stations, station " + std::to_string(pos));
            const int v = scrollValueFor(pos, n);
            ASSERT_GE(v, 0);
            ASSERT_LE(v, std::max(0, scrollMaxFor(n)));
            const int boxTop = pos * kStationPitch - 8;
            EXPECT_GE(boxTop, v);
            EXPECT_LE(boxTop + boxHeight, v + kViewportHeight);
            for (int i = 1; i <= n; ++i) {  // no box straddles the top edge of the view
                const int top = i * kStationPitch - 8;
                EXPECT_FALSE(top < v && top + boxHeight > v) << "station " << i << " is cut";
            }
        }
}

TEST(Caption, NamesThePlayerAndThePrefecture) {
    GameState s;
    s.playerName[1] = "はなさん";
    s.curPlayer = 1;
    s.playerRosen[1] = 2;
    s.playerEki[1] = 3;
    s.ekiPref(2, 3) = "京都府";
    EXPECT_EQ(turnCaption(s), "はなさんの番です（京都府）");
}

}  // namespace
}  // namespace kisharin

#include <gtest/gtest.h>

#include "platform/text_file.h"
#include "setup/results.h"
#include "setup/save_slot.h"
#include "setup/settings.h"
#include "state/datetime.h"
#include "support/fakes.h"
#include "support/railway_builder.h"

namespace kisharin {
namespace {

GameState sampleGame() {
    GameState s;
    s.playArea = 3;
    s.gameClock = toSerial({2007, 5, 12, 13, 45, 10});
    s.playSeconds = 3725;
    s.curPlayer = 1;
    for (int d = 1; d <= 8; ++d) {
        s.mokutekitiRosen[d] = static_cast<Integer>(d);
        s.mokutekitiEki[d] = static_cast<Integer>(d + 1);
        s.mokutekitiDone[d] = d == 4;
    }
    s.playerMoney[0] = 30000;
    s.playerMoney[1] = -500;
    s.playerPoint[0] = 120;
    s.playerPoint[1] = -50;
    s.playerScroll[0] = 35;
    s.playerKind[0] = 3;
    s.playerKind[1] = 4;
    s.arriveCount[1] = 1;
    s.playerRosen[0] = 2;
    s.playerEki[0] = 3;
    s.playerRosen[1] = 8;
    s.playerEki[1] = 1;
    return s;
}

TEST(SaveSlot, LinesFollowTheSlotLayout) {
    const auto lines = slotLines(sampleGame());
    ASSERT_EQ(lines.size(), 42u);
    EXPECT_EQ(lines[0], " 3 ");
    EXPECT_EQ(lines[1], "2007/05/12 13:45:10");
    EXPECT_EQ(lines[2], " 3725 ");
    EXPECT_EQ(lines[3], " 1 ");
    EXPECT_EQ(lines[13], "True");  // destination 4 reached
    EXPECT_EQ(lines[4], "False");
    EXPECT_EQ(lines[14], " 4 ");  // its line
    EXPECT_EQ(lines[28], " 30000 ");
    EXPECT_EQ(lines[35], "-500 ");
    EXPECT_EQ(lines[36], "-50 ");
    EXPECT_EQ(lines[41], " 1 ");
    EXPECT_EQ(slotClockText(toSerial({2007, 5, 12, 0, 0, 0})), "2007/05/12");
}

TEST(SaveSlot, WrittenSlotReadsBackTheSameGame) {
    testing::ScratchDir dir;
    const GameState saved = sampleGame();
    writeSlot(dir.path(), 2, saved);
    EXPECT_TRUE(fileExists(dir.file("GameData2.txt")));
    EXPECT_EQ(readLines(dir.file("GameData2.txt")).size(), 42u);

    GameState loaded;
    readSlot(dir.path(), 2, loaded);
    EXPECT_EQ(loaded.playArea, saved.playArea);
    EXPECT_DOUBLE_EQ(loaded.gameClock, saved.gameClock);
    EXPECT_EQ(loaded.playSeconds, saved.playSeconds);
    EXPECT_EQ(loaded.curPlayer, saved.curPlayer);
    EXPECT_EQ(loaded.mokutekitiDone, saved.mokutekitiDone);
    EXPECT_EQ(loaded.mokutekitiRosen, saved.mokutekitiRosen);
    EXPECT_EQ(loaded.mokutekitiEki, saved.mokutekitiEki);
    EXPECT_EQ(loaded.playerMoney, saved.playerMoney);
    EXPECT_EQ(loaded.playerPoint, saved.playerPoint);
    EXPECT_EQ(loaded.playerScroll, saved.playerScroll);
    EXPECT_EQ(loaded.playerKind, saved.playerKind);
    EXPECT_EQ(loaded.arriveCount, saved.arriveCount);
    EXPECT_EQ(loaded.playerRosen, saved.playerRosen);
    EXPECT_EQ(loaded.playerEki, saved.playerEki);
}

TEST(SaveSlot, MidnightClockWithoutTimeIsAccepted) {
    GameState s = sampleGame();
    s.gameClock = toSerial({2020, 1, 2, 0, 0, 0});
    auto lines = slotLines(s);
    EXPECT_EQ(lines[1], "2020/01/02");
    GameState loaded;
    applySlotLines(loaded, lines, "GameData1.txt");
    EXPECT_DOUBLE_EQ(loaded.gameClock, s.gameClock);
}

TEST(SaveSlot, BrokenSlotIsRefusedNamingTheLineAndChangesNothing) {
    const auto good = slotLines(sampleGame());
    struct Case {
        int line;  // 1-based line to spoil, 0 to cut the file short
        std::string text;
        int reported;
    };
    const Case cases[] = {
        {1, " 9 ", 1},
        {2, "きのう", 2},
        {3, " 1.5 ", 3},
        {4, " 2 ", 4},
        {5, "Maybe", 5},
        {6, " 0 ", 6},
        {7, " 101 ", 7},
        {29, "abc", 29},
        {32, " 6 ", 32},
        {33, " 9 ", 33},
        {42, "", 42},
        {41, " 751 ", 41},
        {0, "", 31},
        // Money and points no game reaches (play holds them within nine digits).
        {29, " 2147483647 ", 29},
        {30, "-1000000000 ", 30},
        {36, " 1000000000 ", 36},
    };
    for (const Case& c : cases) {
        auto lines = good;
        if (c.line == 0)
            lines.resize(30);
        else
            lines[static_cast<size_t>(c.line - 1)] = c.text;
        GameState s;
        s.playerMoney[0] = 777;
        s.playArea = 5;
        try {
            applySlotLines(s, lines, "GameData3.txt");
            ADD_FAILURE() << "line " << c.line << " was accepted";
        } catch (const DataError& e) {
            EXPECT_EQ(e.file(), "GameData3.txt");
            EXPECT_EQ(e.line(), c.reported) << e.what();
        }
        EXPECT_EQ(s.playerMoney[0], 777);
        EXPECT_EQ(s.playArea, 5);
    }
}

TEST(SaveSlot, ANulInALineIsShownAndDoesNotCutTheMessageShort) {
    auto lines = slotLines(sampleGame());
    lines[2] = std::string(" 12\0x34 ", 8);
    GameState s;
    try {
        applySlotLines(s, lines, "GameData2.txt");
        FAIL() << "accepted";
    } catch (const DataError& e) {
        EXPECT_EQ(e.line(), 3);
        EXPECT_NE(std::string(e.what()).find("「 12␀x34 」）"), std::string::npos) << e.what();
    }
}

TEST(SaveSlot, MissingSlotIsADataError) {
    testing::ScratchDir dir;
    GameState s;
    EXPECT_THROW(readSlot(dir.path(), 1, s), DataError);
}

TEST(SaveSlot, StationsOutsideTheRailwayAreReported) {
    GameState s;
    static_cast<RailwayData&>(s) = testing::makeEightRegions(3);
    for (int d = 1; d <= 8; ++d) s.mokutekitiRosen[d] = static_cast<Integer>(d), s.mokutekitiEki[d] = 2;
    s.playerRosen[0] = 1, s.playerEki[0] = 1, s.playerRosen[1] = 8, s.playerEki[1] = 3;
    EXPECT_NO_THROW(checkSlotStations(s, "GameData1.txt"));
    s.playerEki[1] = 4;
    try {
        checkSlotStations(s, "GameData1.txt");
        ADD_FAILURE();
    } catch (const DataError& e) {
        EXPECT_EQ(e.line(), 42);
    }
    s.playerEki[1] = 3;
    s.mokutekitiRosen[2] = 9;
    try {
        checkSlotStations(s, "GameData1.txt");
        ADD_FAILURE();
    } catch (const DataError& e) {
        EXPECT_EQ(e.line(), 9);
    }
}

TEST(Results, PlayTimeLeavesOutZeroParts) {
    EXPECT_EQ(playTimeText(3725), "1時間2分");
    EXPECT_EQ(playTimeText(3600), "1時間");
    EXPECT_EQ(playTimeText(120), "2分");
    EXPECT_EQ(playTimeText(59), "");
}

TEST(Results, LabelsShowPlainNumbers) {
    GameState s = sampleGame();
    s.playerName[0] = "たろさん";
    s.playerMoney[0] = 1234567;
    const ResultsModel m = resultsModel(s);
    EXPECT_EQ(m.man[0], "たろさん");
    EXPECT_EQ(m.money[0], "金額　　：1234567円");
    EXPECT_EQ(m.money[1], "金額　　：-500円");
    EXPECT_EQ(m.point[1], "ポイント：-50P");
    EXPECT_EQ(m.arrive[1], "到達数 ：1回");
    EXPECT_EQ(m.playTime, "PlayTime：1時間2分");
}

}  // namespace
}  // namespace kisharin

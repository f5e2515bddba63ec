// Whole games from the board's opening to the results, played by the computer's rules
// through the board's handlers.
#include <gtest/gtest.h>

#include "platform/data_home.h"
#include "state/regions.h"
#include "support/fakes.h"
#include "support/railway_builder.h"
#include "support/scripted_screens.h"
#include "turns/computer.h"
#include "turns/messages.h"
#include "turns/turn.h"

namespace kisharin::testing {
namespace {

// Eight lines of six stations, one per region, chained end to start, with a
// shinkansen across all eight regions, written as the game's station file.
void writeNetwork(const std::string& appDir) {
    std::vector<std::string> out = {"header"};
    auto record = [&](int number, const std::string& name, const std::vector<std::string>& stations,
                      const std::vector<std::string>& prefs, const std::vector<std::string>& links) {
        std::string l = std::to_string(number), n = name, y = "よみ", p = "1\\255\\255\\255\\0\\0", m;
        for (size_t i = 0; i < stations.size(); ++i) {
            l += "\t" + links[i];
            n += "\t" + stations[i];
            y += "\tえき";
            p += "\t" + prefs[i];
            m += "\t";
        }
        for (const auto& s : {l, n, y, p, m}) out.push_back(s);
    };
    for (int r = 1; r <= 8; ++r) {
        std::vector<std::string> st, pr, li(6);
        for (int i = 1; i <= 6; ++i)
            st.push_back("駅" + std::to_string(r) + "-" + std::to_string(i)),
                pr.push_back(kFirstPrefOfRegion[r]);
        if (r > 1) li[0] = std::to_string(r - 1) + "\\6";
        if (r < 8) li[5] = std::to_string(r + 1) + "\\1";
        li[2] = "9\\" + std::to_string(r);
        record(r, "線" + std::to_string(r), st, pr, li);
    }
    std::vector<std::string> st, pr, li;
    for (int r = 1; r <= 8; ++r)
        st.push_back("新" + std::to_string(r)), pr.push_back(kFirstPrefOfRegion[r]),
            li.push_back(std::to_string(r) + "\\3");
    record(9, "列島新幹線", st, pr, li);
    makeDirectories(appDir + "GameData");
    writeCp932(appDir + "GameData/駅.txt", out);
}

class WholeGameTest : public ::testing::Test {
  protected:
    ScratchDir dir;
    GameState s;
    ScriptedScreens screens;
    DefaultRng rng{7};
    FakeClock clock;

    void SetUp() override {
        writeNetwork(dir.path());
        s.appDir = dir.path();
        s.historyBase = dir.path() + "履歴";
        writeCp932(dir.file("履歴0.txt"), {});
        writeCp932(dir.file("履歴1.txt"), {});
        s.playerName[0] = "たろう";
        s.playerName[1] = "じろう";
        s.shortMode = True;
        clock.step = 0.37;  // the timer moves between re-seeds
    }
};

TEST_F(WholeGameTest, TwoPlayersPlayToTheResults) {
    Game g{s, screens, rng, clock};
    g.seatBoth(screens);
    openBoard(g);
    int turns = 0, expected = 0;
    while (!g.ended && turns < 3000) {
        ASSERT_EQ(s.curPlayer, expected) << "turn " << turns;
        playComputerRules(g, false);
        ++turns;
        if (!g.ended) expected = 1 - expected;
    }
    ASSERT_TRUE(g.ended) << "no end after " << turns << " turns";
    EXPECT_EQ(screens.results, 1);
    for (int d = 1; d <= 8; ++d) EXPECT_TRUE(s.mokutekitiDone[d]);
    EXPECT_EQ(s.arriveCount[0] + s.arriveCount[1], 8);
    EXPECT_EQ(screens.messages.back(), kMsgGameOver);
    EXPECT_GE(s.playerMoney[0], 0);
    EXPECT_GE(s.playerMoney[1], 0);
}

TEST_F(WholeGameTest, TheComputerAnswersEveryHumanTurnWithPauses) {
    s.comOpponent = True;
    Game g{s, screens, rng, clock};
    ComputerSeat computer;
    g.seats = {&screens, &computer};
    openBoard(g);
    int humanTurns = 0;
    while (!g.ended && humanTurns < 3000) {
        ASSERT_EQ(s.curPlayer, 0);
        ASSERT_TRUE(screens.boardEnabled);
        const double before = screens.seconds;
        playComputerRules(g, false);
        ++humanTurns;
        // The human's turn has ended; the turn loop plays the computer's, which ends
        // with the human to move and the board enabled again.
        if (!g.ended) {
            EXPECT_FALSE(screens.boardEnabled);
            EXPECT_TRUE(playSeatTurn(g));
        }
        if (!g.ended) {
            EXPECT_GE(screens.seconds - before, 1.0);  // at least one pause of the computer
        }
    }
    ASSERT_TRUE(g.ended);
    EXPECT_EQ(screens.results, 1);
}

}  // namespace
}  // namespace kisharin::testing

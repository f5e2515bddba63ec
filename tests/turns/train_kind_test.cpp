// Exactly one train kind shows selected at any time, and it is the kind whose fare the
// board shows and whose steps the die gives.
#include <gtest/gtest.h>

#include "turns/turn_fixture.h"
#include "support/commands.h"

namespace kisharin::testing {
namespace {

class TrainKindTest : public BoardTest {
  protected:
    // The board as the player sees it agrees with the rules' kind.
    void expectOneKindShown(const char* when) {
        int set = 0, shown = 0;
        for (int k = 1; k <= 5; ++k)
            if (g.board.optKind[k].value) ++set, shown = k;
        EXPECT_EQ(set, 1) << when;
        EXPECT_EQ(shown, s.selKind) << when;
        EXPECT_EQ(g.board.lblSusumu, "１駅" + std::to_string(s.kindFare[s.selKind]) + "円かかります。")
            << when;
        const bool special = s.selKind >= 4;
        for (int k = 1; k <= 3; ++k) EXPECT_EQ(g.board.optKind[k].visible, !special) << when;
    }
    void transferTo(int line, int pos) {
        for (int k = 1; k < s.norikaeCount; ++k)
            if (s.norikaeList(k, 0) == line && s.norikaeList(k, 1) == pos &&
                s.norikaeList(k, 2) == s.playerEki[s.curPlayer]) {
                testing::changeAtLabel(g, k);
                return;
            }
        ADD_FAILURE() << "no label to " << line << "," << pos;
    }
};

TEST_F(TrainKindTest, AfterARideOnTheShinkansenTheNextOrdinaryLineShowsOneKind) {
    place(0, 1, 5);
    路線読み込み(g.s, g.line, *g.metrics);
    testing::chooseKind(g, 2);  // 急行 on 本線
    expectOneKindShown("急行 chosen");
    transferTo(2, 3);
    expectOneKindShown("on 東北新幹線");
    EXPECT_EQ(s.selKind, 4);
    roll(1);
    testing::rideTo(g, 4);  // one station on the shinkansen; the turn passes
    ASSERT_EQ(s.curPlayer, 1);
    expectOneKindShown("player 2 on 本線 after player 1's shinkansen ride");
    EXPECT_EQ(s.selKind, 1);  // player 2's own kind

    roll(1);
    testing::rideTo(g, 9);
    ASSERT_EQ(s.curPlayer, 0);
    expectOneKindShown("player 1 back on 東北新幹線");
    EXPECT_EQ(s.selKind, 4);
    // Back on the ordinary line the kind last set there returns, alone.
    place(0, 2, 3);
    路線読み込み(g.s, g.line, *g.metrics);
    transferTo(1, 5);
    expectOneKindShown("player 1 back on 本線");
    EXPECT_EQ(s.selKind, 1);  // the ordinary kind whose button was set last
}

TEST_F(TrainKindTest, TheComputerOnAnOrdinaryLineAfterThePlaneShowsOneKind) {
    place(0, 1, 10);
    路線読み込み(g.s, g.line, *g.metrics);
    transferTo(4, 1);  // the air route
    expectOneKindShown("on the air route");
    EXPECT_EQ(s.selKind, 5);
    roll(1);
    testing::rideTo(g, 2);
    ASSERT_EQ(s.curPlayer, 1);
    expectOneKindShown("player 2 after the flight");
    EXPECT_EQ(s.selKind, 1);
    // The kinds the line forces cannot be picked by the player.
    testing::chooseKind(g, 3);
    expectOneKindShown("特急 picked");
    EXPECT_FALSE(g.board.optKind[4].enabled);
    EXPECT_FALSE(g.board.optKind[5].enabled);
}

TEST_F(TrainKindTest, AResumedGameSavedOnTheShinkansenOpensOnItsOrdinaryLineWithOneKind) {
    s.resumeGame = True;
    s.playerKind[0] = 4;  // saved while on the shinkansen; now on 本線
    place(0, 1, 2);
    showBoard(g);
    expectOneKindShown("resumed");
    EXPECT_LE(s.selKind, 3);
}

}  // namespace
}  // namespace kisharin::testing

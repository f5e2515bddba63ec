#include "turns/board_model.h"
#include "turns/turn.h"
#include "turns/money.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "turns/messages.h"
#include "turns/turn_fixture.h"
#include "support/commands.h"

namespace kisharin::testing {
namespace {

using ::testing::ElementsAre;

class TurnTest : public BoardTest {};

TEST_F(TurnTest, TheRollNeedsTheFareOfOneStation) {
    s.playerMoney[0] = 149;
    roll(3);
    EXPECT_THAT(screens.messages, ElementsAre(kMsgNoMoney));
    EXPECT_EQ(screens.rolls, 0);
    EXPECT_EQ(s.susumuSteps, 0);
    EXPECT_TRUE(boardModel(g).cmdSusumuVisible);
    EXPECT_EQ(g.board.lblSusumu, "１駅150円かかります。");
    s.playerMoney[0] = 150;
    testing::roll(g);
    EXPECT_EQ(s.susumuSteps, 3);
}

TEST_F(TurnTest, TheKindMultipliesTheDieAndLocksTheChoice) {
    testing::chooseKind(g, 3);
    roll(6);
    EXPECT_EQ(s.susumuSteps, 18);
    EXPECT_EQ(g.board.lblSusumu, " 特急：１８駅進めます。");
    EXPECT_EQ(s.rideInfo.caption, "特急");
    EXPECT_EQ(s.rideInfo.color, rgb(255, 0, 0));
    EXPECT_EQ(s.rideInfo.value, 10);
    for (int k = 1; k <= 3; ++k) EXPECT_FALSE(boardModel(g).optKind[k].enabled);
    EXPECT_FALSE(boardModel(g).cmdSusumuVisible);
    EXPECT_FALSE(boardModel(g).cmdWorkVisible);
    EXPECT_FALSE(boardModel(g).cmdSaveVisible);
    roll(1);  // the button is gone: a second roll does nothing
    EXPECT_EQ(s.susumuSteps, 18);
    EXPECT_EQ(screens.rolls, 1);
}

TEST_F(TurnTest, TheShinkansenUsesTheDieAsItIs) {
    place(0, 2, 1);
    新幹線判別(g);
    路線読み込み(g.s, g.line, *g.metrics);
    roll(6);
    EXPECT_EQ(s.susumuSteps, 6);
    EXPECT_EQ(g.board.lblSusumu, " 新幹線：６駅進めます。");
}

TEST_F(TurnTest, TheHandOverKeepsEachPlayersKindAndScroll) {
    testing::chooseKind(g, 2);
    g.line.scrollValue = 0;
    s.playerKind[1] = 3;
    順番チェンジ(g);
    EXPECT_EQ(s.curPlayer, 1);
    EXPECT_EQ(s.playerKind[0], 2);
    EXPECT_EQ(s.selKind, 3);
    EXPECT_EQ(g.board.lblManName, "はなこの番です（東京都）");
    EXPECT_EQ(g.board.manNameColor, rgb(255, 0, 0));
    s.playerScroll[0] = 9999;  // out of range: ignored
    g.line.scrollValue = 0;
    順番チェンジ(g);
    EXPECT_EQ(s.curPlayer, 0);
    EXPECT_EQ(s.selKind, 2);
    EXPECT_EQ(s.playerKind[1], 3);
    EXPECT_EQ(g.line.scrollValue, 0);
    EXPECT_EQ(g.board.manNameColor, rgb(0, 0, 255));
}

TEST_F(TurnTest, AHumanOnARaceCourseBetsTheComputerDoesNot) {
    roll(2);
    testing::rideTo(g, 3);
    EXPECT_EQ(s.raceName, "競馬");
    s.raceName.clear();
    s.comOpponent = True;
    testing::FunctionSeat computer;
    g.seats[1] = &computer;
    computer.turn = [&](Game& game) {
        EXPECT_FALSE(game.board.boardEnabled);
        EXPECT_FALSE(screens.boardEnabled);
        place(1, 1, 1);
        roll(2);
        testing::rideTo(game, 3);
    };
    place(1, 1, 5);
    s.curPlayer = 0;
    place(0, 1, 6);
    路線読み込み(g.s, g.line, *g.metrics);
    roll(1);
    testing::rideTo(g, 7);
    EXPECT_EQ(computer.turns, 0);  // not inside the human's click
    EXPECT_EQ(runTurnLoop(g, 5), 1);
    EXPECT_EQ(computer.turns, 1);
    EXPECT_EQ(s.playerEki[1], 3);
    EXPECT_TRUE(s.raceName.empty());
    EXPECT_EQ(s.curPlayer, 0);
    EXPECT_TRUE(g.board.boardEnabled);
    EXPECT_TRUE(screens.boardEnabled);
}

TEST_F(TurnTest, ClaimingTheOwnStationAfterTheRollHandsOverAFreshTurn) {
    // Standing on an open destination, the player rolls first and then clicks the own
    // station: no ride, but the destination passes the turn. The next player must start
    // with a roll of their own, not with the die left over.
    s.mokutekitiRosen[4] = 1, s.mokutekitiEki[4] = 1;
    testing::chooseKind(g, 2);
    roll(5);
    ASSERT_EQ(s.susumuSteps, 10);
    lblEki_MouseMove(g.s, g.line, 4);
    ASSERT_TRUE(g.line.ekiHover);
    testing::rideTo(g, 1);
    ASSERT_TRUE(s.mokutekitiDone[4]);
    ASSERT_EQ(s.curPlayer, 1);
    EXPECT_EQ(s.susumuSteps, 0);
    EXPECT_TRUE(boardModel(g).cmdSusumuVisible);
    EXPECT_TRUE(boardModel(g).cmdWorkVisible);
    EXPECT_TRUE(boardModel(g).cmdSaveVisible);
    for (int k = 1; k <= 3; ++k) EXPECT_TRUE(boardModel(g).optKind[k].enabled);
    EXPECT_EQ(g.board.lblSusumu, "１駅150円かかります。");
    EXPECT_FALSE(g.line.ekiHover);
    EXPECT_EQ(g.line.hoverEki, 0);
    // Player 2 cannot ride on player 1's die: a click within that reach does nothing.
    testing::rideTo(g, 8);
    EXPECT_EQ(s.playerEki[1], 10);
    EXPECT_EQ(s.curPlayer, 1);
    EXPECT_EQ(s.playerKind[0], 2);
}

TEST_F(TurnTest, TheRouteSearchFollowsTheHandOver) {
    s.mokutekitiRosen[1] = 1, s.mokutekitiEki[1] = 8;
    finishTurn(g);
    ASSERT_EQ(s.curPlayer, 1);
    ASSERT_GE(s.routeCount, 2);
    EXPECT_EQ(s.routeList.back().line, 1);
    EXPECT_EQ(s.routeList.back().pos, 10);  // the route starts where player 2 stands
    EXPECT_EQ(s.routeList.front().pos, 8);
}

TEST_F(TurnTest, ThePauseWaitsOneSecond) {
    間(g);
    EXPECT_DOUBLE_EQ(screens.seconds, 1.0);
}

TEST_F(TurnTest, TheBoardModelShowsTheControls) {
    const BoardModel m = boardModel(g);
    EXPECT_EQ(m.lblManName, "たろうの番です（東京都）");
    EXPECT_EQ(m.lblMoney, moneyText(30000));
    EXPECT_EQ(m.lblTrainName, "本線");
    EXPECT_EQ(m.optKind[3].caption, "特急");
    EXPECT_TRUE(m.optKind[1].value);
    EXPECT_FALSE(m.optKind[4].enabled);
}

TEST(FullWidthNumber, WritesEveryDigitFullWidth) {
    EXPECT_EQ(fullWidthNumber(12), "１２");
    EXPECT_EQ(fullWidthNumber(-50), "-５０");
    EXPECT_EQ(fullWidthNumber(0), "０");
}

}  // namespace
}  // namespace kisharin::testing

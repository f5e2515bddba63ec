#include "turns/board_model.h"
#include "turns/boarding.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "turns/messages.h"
#include "turns/turn_fixture.h"
#include "support/commands.h"

namespace kisharin::testing {
namespace {

using ::testing::ElementsAre;

class BoardingTest : public BoardTest {};

TEST_F(BoardingTest, ARideChargesTheStationsTravelledAndPassesTheTurn) {
    roll(4);
    testing::rideTo(g, 5);
    EXPECT_EQ(s.playerEki[0], 5);
    EXPECT_EQ(s.startEki[0], 1);
    EXPECT_EQ(s.playerMoney[0], 30000 - 4 * 150);
    EXPECT_EQ(g.lastRide.fare, 600);
    EXPECT_EQ(rng.reseeds, 1);  // re-seeded from the timer at the click
    EXPECT_EQ(s.curPlayer, 1);
    EXPECT_EQ(s.susumuSteps, 0);
    EXPECT_TRUE(boardModel(g).cmdSusumuVisible);
    EXPECT_TRUE(g.board.optKind[1].enabled);
    EXPECT_TRUE(s.visited[0](1, 5));
    EXPECT_TRUE(screens.messages.empty());
}

TEST_F(BoardingTest, ACutRideStopsShortChargesLessAndIsNoArrival) {
    s.mokutekitiRosen[1] = 1, s.mokutekitiEki[1] = 5;
    s.mokutekitiRosen[2] = 1, s.mokutekitiEki[2] = 3;
    roll(4);
    rng.values = {0.0, 0.5};  // cut; k = Int(0.5 * 3) + 1 = 2
    testing::rideTo(g, 5);
    EXPECT_EQ(s.playerEki[0], 3);
    EXPECT_TRUE(s.rideCut);
    EXPECT_EQ(s.playerMoney[0], 30000 - 2 * 150);
    // 本3 is a race course: the race day follows (the scripted player does not bet).
    EXPECT_THAT(screens.messages, ElementsAre(kMsgRideCut, raceDayText("競馬")));
    EXPECT_FALSE(s.mokutekitiDone[1]);
    EXPECT_FALSE(s.mokutekitiDone[2]);
    EXPECT_EQ(s.curPlayer, 1);
}

TEST_F(BoardingTest, AOneStationRideIsNeverCutButMayOvershoot) {
    roll(1);
    rng.values = {0.0, 0.0, 0.2};  // the cut's chance is ignored; overshoot by Int(2) + 1 = 3
    testing::rideTo(g, 2);
    EXPECT_FALSE(s.rideCut);
    EXPECT_TRUE(s.overslept);
    EXPECT_EQ(s.playerEki[0], 5);
    EXPECT_EQ(s.playerMoney[0], 30000 - 4 * 150);  // the extra stations are paid too
    EXPECT_EQ(s.playerPoint[0], -50);
    EXPECT_THAT(screens.messages, ElementsAre(kMsgOverslept));
}

TEST_F(BoardingTest, AnOvershootStopsAtTheEndOfTheLine) {
    roll(6);
    rng.values = {0.5, 0.0, 0.95};  // overshoot by 10 from station 7
    testing::rideTo(g, 7);
    EXPECT_EQ(s.playerEki[0], 10);
    EXPECT_EQ(s.playerMoney[0], 30000 - 9 * 150);
}

TEST_F(BoardingTest, ARideToTheLastStationNeverOvershoots) {
    place(0, 1, 8);
    路線読み込み(g.s, g.line, *g.metrics);
    roll(2);
    rng.values = {0.5};
    rng.quiet = 0.0;  // every further chance would strike (a disaster moves the player after)
    testing::rideTo(g, 10);
    EXPECT_FALSE(s.overslept);
    EXPECT_EQ(g.lastRide.end, 10);
}

TEST_F(BoardingTest, DebtIsForgivenForFiftyPointsBeforeTheMeeting) {
    s.playerMoney[0] = 1000;
    place(1, 1, 4);
    testing::chooseKind(g, 3);
    roll(1);  // 特急: 3 stations
    testing::rideTo(g, 4);
    EXPECT_THAT(screens.messages, ElementsAre(kMsgDebt, kMsgDebtForgiven, kMsgMeeting));
    EXPECT_EQ(s.playerMoney[0], 0);
    EXPECT_EQ(s.playerPoint[0], -50 + 50);
    EXPECT_EQ(s.playerPoint[1], -50);
}

TEST_F(BoardingTest, ClicksOutOfReachOrOnTheOwnStationMakeNoRide) {
    roll(2);
    testing::rideTo(g, 4);
    testing::rideTo(g, 1);
    EXPECT_EQ(s.playerEki[0], 1);
    EXPECT_EQ(s.curPlayer, 0);
    EXPECT_EQ(rng.reseeds, 0);
    EXPECT_TRUE(screens.messages.empty());
    EXPECT_EQ(s.susumuSteps, 2);
}

TEST_F(BoardingTest, ClickingTheOwnStationOnAPendingDestinationClaimsIt) {
    s.mokutekitiRosen[4] = 1, s.mokutekitiEki[4] = 1;
    testing::rideTo(g, 1);
    EXPECT_TRUE(s.mokutekitiDone[4]);
    EXPECT_EQ(s.playerPoint[0], 100);
    EXPECT_EQ(s.curPlayer, 1);
}

TEST_F(BoardingTest, TransfersChangeLinesAndForceTheKindOfSpecialLines) {
    testing::changeAtLabel(g, 1);  // a label of station 5: the player stands on 1
    EXPECT_EQ(s.playerRosen[0], 1);
    place(0, 1, 5);
    路線読み込み(g.s, g.line, *g.metrics);
    testing::chooseKind(g, 3);
    testing::changeAtLabel(g, 1);
    EXPECT_EQ(s.playerRosen[0], 2);
    EXPECT_EQ(s.playerEki[0], 3);
    EXPECT_EQ(s.selKind, 4);
    EXPECT_EQ(g.board.lblSusumu, "１駅5000円かかります。");
    for (int k = 1; k <= 3; ++k) EXPECT_FALSE(g.board.optKind[k].visible);
    EXPECT_EQ(g.line.title, "東北新幹線");
    EXPECT_EQ(g.line.scrollValue, 0);
    EXPECT_EQ(s.curPlayer, 0);  // a transfer does not end the turn
    // Back on the ordinary line: the kind last set there.
    ASSERT_EQ(s.norikaeList(1, 2), 3);
    testing::changeAtLabel(g, 1);
    EXPECT_EQ(s.playerRosen[0], 1);
    EXPECT_EQ(s.selKind, 3);
    EXPECT_TRUE(g.board.optKind[1].visible);
}

TEST_F(BoardingTest, AirRoutesForceTheAeroplane) {
    place(0, 1, 10);
    路線読み込み(g.s, g.line, *g.metrics);
    testing::changeAtLabel(g, 3);
    EXPECT_EQ(s.playerRosen[0], 4);
    EXPECT_EQ(s.selKind, 5);
    roll(6);
    EXPECT_EQ(s.susumuSteps, 6);
}

TEST_F(BoardingTest, NoTransferAfterTheRoll) {
    place(0, 1, 5);
    路線読み込み(g.s, g.line, *g.metrics);
    roll(1);
    testing::changeAtLabel(g, 1);
    EXPECT_EQ(s.playerRosen[0], 1);
    EXPECT_THAT(screens.messages, ElementsAre("サイを投げてからの、乗り換えはできません"));
}

TEST_F(BoardingTest, ALinkThatNamesNoStationIsNotFollowed) {
    place(0, 1, 5);
    s.ekiLink(1, 5) = "9\\1";
    路線読み込み(g.s, g.line, *g.metrics);
    testing::changeAtLabel(g, 1);
    EXPECT_EQ(s.playerRosen[0], 1);
    EXPECT_EQ(s.playerEki[0], 5);
}

}  // namespace
}  // namespace kisharin::testing

// Commands sent straight to the rules, as a player at another computer or a script would
// send them: every command is checked against the turn's phase and the sender, whatever
// the board's buttons show.
#include <gtest/gtest.h>

#include <algorithm>

#include "maps/picker.h"
#include "setup/save_slot.h"
#include "turn_fixture.h"
#include "turns/board_model.h"
#include "turns/command.h"
#include "turns/events.h"
#include "turns/messages.h"
#include "turns/race.h"

namespace kisharin::testing {
namespace {

class Commands : public BoardTest {
  protected:
    Verdict send(const Command& c) { return apply(g, c); }
    Station at(int p) const { return {s.playerRosen[p], s.playerEki[p]}; }
    bool can(const Command& c) const { return refusal(g, c).empty(); }
};

// The two holes a review found by calling the handlers directly: a cheaper kind after a
// 特急 roll, and work after a roll.
TEST_F(Commands, AfterTheRollNeitherTheKindNorWorkCanBeChanged) {
    ASSERT_TRUE(send(Command::chooseKind(0, 3)));
    screens.dice.push_back(6);
    ASSERT_TRUE(send(Command::roll(0)));
    ASSERT_EQ(s.susumuSteps, 18);
    const std::string shown = g.board.lblSusumu;

    const Verdict kind = send(Command::chooseKind(0, 1));
    EXPECT_FALSE(kind);
    EXPECT_EQ(kind.reason, kRefuseAfterRoll);
    EXPECT_EQ(s.selKind, 3);
    EXPECT_EQ(g.board.lblSusumu, shown);

    const Long money = s.playerMoney[0];
    const size_t messages = screens.messages.size();
    const Verdict work = send(Command::work(0));
    EXPECT_FALSE(work);
    EXPECT_EQ(work.reason, kRefuseAfterRoll);
    EXPECT_EQ(s.playerMoney[0], money);
    EXPECT_EQ(s.curPlayer, 0);
    EXPECT_EQ(screens.messages.size(), messages);  // no job was offered

    // The ride is paid at the 特急 fare.
    ASSERT_TRUE(send(Command::ride(0, {1, 10})));
    EXPECT_EQ(s.playerMoney[0], money - s.kindFare[3] * 9);
    EXPECT_EQ(s.curPlayer, 1);
}

TEST_F(Commands, TurnCommandsAreRefusedWithTheirReasonAndChangeNothing) {
    struct Case {
        const char* what;
        Command c;
        const char* reason;
    };
    const Case beforeRoll[] = {
        {"the other player", Command::roll(1), kRefuseNotYourTurn},
        {"no such player", Command::work(7), kRefuseNotYourTurn},
        {"a ride before the roll", Command::ride(0, {1, 2}), kRefuseBeforeRoll},
        {"the own station, no destination", Command::ride(0, {1, 1}), kRefuseNothingToClaim},
        {"a station of another line", Command::ride(0, {2, 1}), kRefuseNoStation},
        {"past the line's end", Command::ride(0, {1, 11}), kRefuseNoStation},
        {"a kind the line does not run", Command::chooseKind(0, 4), kRefuseKind},
        {"a change away from the own station", Command::changeLine(0, {1, 5}, {2, 3}), kRefuseNotHere},
        {"a change to a line not linked here", Command::changeLine(0, {1, 1}, {2, 3}), kRefuseNoLink},
        {"a warp answer without the question", Command::answerWarp(0, true), kRefuseNoQuestion},
        {"a god answer without the question", Command::answerGod(0, "東京都"), kRefuseNoQuestion},
        {"a bet without a race", Command::placeBet(0, 1000), kRefuseNoQuestion},
    };
    const GameState before = s;
    for (const Case& k : beforeRoll) {
        SCOPED_TRACE(k.what);
        const Verdict v = send(k.c);
        EXPECT_FALSE(v);
        EXPECT_EQ(v.reason, k.reason);
        EXPECT_EQ(refusal(g, k.c), k.reason);  // the query agrees with apply
    }
    EXPECT_EQ(at(0), (Station{1, 1}));
    EXPECT_EQ(s.playerMoney, before.playerMoney);
    EXPECT_EQ(s.curPlayer, 0);
    EXPECT_EQ(screens.rolls, 0);
    EXPECT_TRUE(screens.messages.empty());

    // Rolled two with 各停: three stations are out of reach; a change is answered with the
    // message the board always gave.
    place(0, 1, 5);
    路線読み込み(s, g.line, *g.metrics);
    roll(2);
    EXPECT_EQ(send(Command::ride(0, {1, 8})).reason, kRefuseOutOfReach);
    EXPECT_EQ(send(Command::changeLine(0, {1, 5}, {2, 3})).reason, kMsgNoTransferAfterRoll);
    EXPECT_EQ(screens.messages, (std::vector<std::string>{kMsgNoTransferAfterRoll}));
    EXPECT_EQ(send(Command::roll(0)).reason, kRefuseAfterRoll);
    EXPECT_EQ(at(0), (Station{1, 5}));
    EXPECT_TRUE(send(Command::ride(0, {1, 7})));
    EXPECT_EQ(s.curPlayer, 1);
}

TEST_F(Commands, AChangeIsLegalByTheRailwayNotByTheStripsLabels) {
    place(0, 1, 5);
    路線読み込み(s, g.line, *g.metrics);
    g.line.transfers.clear();  // however the strip is drawn
    EXPECT_TRUE(can(Command::changeLine(0, {1, 5}, {2, 3})));
    EXPECT_TRUE(send(Command::changeLine(0, {1, 5}, {3, 1})));
    EXPECT_EQ(at(0), (Station{3, 1}));
    EXPECT_EQ(s.curPlayer, 0);  // a change does not end the turn
    // On the 新幹線 the kind is the line's: no other can be chosen.
    place(0, 1, 5);
    ASSERT_TRUE(send(Command::changeLine(0, {1, 5}, {2, 3})));
    EXPECT_EQ(s.selKind, 4);
    EXPECT_EQ(send(Command::chooseKind(0, 1)).reason, kRefuseKind);
}

TEST_F(Commands, TheBoardEnablesItsControlsFromTheRules) {
    BoardModel m = boardModel(g);
    EXPECT_TRUE(m.cmdSusumuVisible && m.cmdWorkVisible && m.cmdSaveVisible);
    EXPECT_TRUE(can(Command::roll(0)) && can(Command::work(0)) && canSave(g, 0) &&
                can(Command::chooseKind(0, 2)));
    EXPECT_FALSE(can(Command::roll(1)));
    roll(3);
    m = boardModel(g);
    EXPECT_FALSE(m.cmdSusumuVisible || m.cmdWorkVisible || m.cmdSaveVisible);
    for (int k = 1; k <= 3; ++k) EXPECT_FALSE(m.optKind[k].enabled);
    EXPECT_FALSE(can(Command::work(0)) || can(Command::chooseKind(0, 2)));
    EXPECT_TRUE(canSave(g, 0));  // the start of this turn
    EXPECT_TRUE(can(Command::ride(0, {1, 4})));
    EXPECT_FALSE(can(Command::ride(0, {1, 5})));
}

TEST_F(Commands, NothingIsTakenWhileACommandRunsOrAfterTheEnd) {
    // During the ride's window the game is busy: a second command is refused.
    s.shortMode = False;
    Verdict nested{true, {}};
    screens.onRide = [&](const GameState&) {
        nested = apply(g, Command::work(0));
        return 0;
    };
    roll(2);
    ASSERT_TRUE(send(Command::ride(0, {1, 3})));
    EXPECT_FALSE(nested);
    EXPECT_EQ(nested.reason, kRefuseBusy);
    EXPECT_FALSE(s.commandRunning);

    // The last destination claimed: the game is over and takes nothing more.
    for (int d = 1; d <= 8; ++d) s.mokutekitiDone[d] = True;
    s.mokutekitiDone[1] = False;
    s.mokutekitiRosen[1] = 1;
    s.mokutekitiEki[1] = 10;
    ASSERT_EQ(at(1), (Station{1, 10}));
    ASSERT_TRUE(send(Command::ride(1, {1, 10})));  // the claim on the own station
    EXPECT_TRUE(g.ended);
    EXPECT_EQ(screens.results, 1);
    EXPECT_EQ(send(Command::roll(s.curPlayer)).reason, kRefuseOver);
    EXPECT_EQ(send(Command::work(1 - s.curPlayer)).reason, kRefuseOver);
}

// A seat that answers as a hostile remote player might: for the wrong player, with a
// prefecture that does not exist, a stake never offered, a second bet.
class HostileSeat : public Seat {
  public:
    std::vector<Verdict> verdicts;
    void answerWarp(Game& g, int, const std::string&, const std::string&) override {
        verdicts.push_back(apply(g, Command::answerWarp(1 - g.s.curPlayer, true)));
    }
    void answerGod(Game& g) override {
        verdicts.push_back(apply(g, Command::answerGod(g.s.curPlayer, "ムー大陸")));
    }
    void runBet(Game& g, Race& race) override {
        const int p = g.s.curPlayer;
        verdicts.push_back(apply(g, Command::placeBet(p, 7777)));
        verdicts.push_back(apply(g, Command::roll(p)));
        verdicts.push_back(apply(g, Command::placeBet(p, 1000)));
        verdicts.push_back(apply(g, Command::placeBet(p, 1000)));
        verdicts.push_back(apply(g, Command::declineBet(p)));
        while (!race.decided()) race.tick(g.rng, 0);
    }
};

TEST_F(Commands, AnswersAreTakenOnlyFromTheAskedPlayerAndOnlyWhenTheyFit) {
    HostileSeat hostile;
    g.seats = {&hostile, &hostile};
    rng.values = {(1 - 0.5) / 8};  // the hole leads to 北海道
    ワープ(g);
    EXPECT_EQ(at(0), (Station{1, 1}));
    氏神(g);
    EXPECT_EQ(at(0), (Station{1, 1}));
    EXPECT_TRUE(mapPick().pickedPref.empty());
    s.raceName = "競馬";
    s.playerMoney[0] = 30000;
    賭け事イベント(g);
    ASSERT_EQ(hostile.verdicts.size(), 7u);
    EXPECT_EQ(hostile.verdicts[0].reason, kRefuseNotYourTurn);
    EXPECT_EQ(hostile.verdicts[1].reason, kRefuseNoPrefecture);
    EXPECT_EQ(hostile.verdicts[2].reason, kRefuseStake);
    EXPECT_EQ(hostile.verdicts[3].reason, kRefuseBusy);
    EXPECT_TRUE(hostile.verdicts[4]);
    EXPECT_EQ(hostile.verdicts[5].reason, kRefuseNoQuestion);  // the race has started
    EXPECT_EQ(hostile.verdicts[6].reason, kRefuseNoQuestion);
    EXPECT_EQ(s.betStake, 1000);  // the one bet taken is the one paid
    EXPECT_EQ(s.playerMoney[0], 29000);
    EXPECT_EQ(s.question, Question::None);
}

}  // namespace
}  // namespace kisharin::testing

namespace kisharin::testing {
namespace {

// The probes of a review, sent as a player at another computer would send them.
TEST_F(Commands, ARollWithoutTheFareIsRefusedWithItsReason) {
    s.playerMoney[0] = s.kindFare[1] - 1;
    const Verdict v = send(Command::roll(0));
    EXPECT_EQ(v.reason, kMsgNoMoney);
    EXPECT_EQ(s.turnPhase, TurnPhase::Choosing);
    EXPECT_EQ(screens.rolls, 0);
    EXPECT_TRUE(send(Command::work(0)));  // what the player does instead
}

// The god's answer is the command's: a map window picking another prefecture while the
// question is open (the host's 路線図 during its guest's turn) changes nothing.
class AnswerThenPick : public Seat {
  public:
    std::string picked;
    void answerWarp(Game&, int, const std::string&, const std::string&) override {}
    void answerGod(Game& g) override {
        apply(g, Command::answerGod(g.s.curPlayer, ""));
        mapPick().pickedPref = picked;  // another window's choice, after the answer
    }
    void runBet(Game&, Race&) override {}
};

TEST_F(Commands, TheGodsAnswerCannotBeChangedByAWindow) {
    AnswerThenPick seat;
    seat.picked = "宮城県";  // a prefecture of another line: a draw there would move the player
    g.seats = {&seat, &seat};
    const Station before = at(0);
    rng.values = {0.3, 0.5};  // what a draw in 宮城県 would take: 東北新幹線 station 3
    氏神(g);
    EXPECT_EQ(at(0), before);
}

// A player at another computer: asked, it answers later by commands of its own.
class LaterSeat : public EmptySeat {
  public:
    bool atBoard() const override { return false; }
    bool answersLater() const override { return true; }
};

// The lane of a running race is a command of the player who bet: taken until the finish,
// counted from the next tick, and the one chosen last decides.
TEST_F(Commands, ALaneChosenDuringTheRaceCounts) {
    LaterSeat remote;
    g.seats = {&remote, &remote};
    Race race(std::array<int, kLanes>{1, 2, 3, 4, 5});
    openBetQuestion(g, race);
    EXPECT_EQ(send(Command::chooseLane(0, 1)).reason, kRefuseNoQuestion);  // before the bet
    ASSERT_TRUE(send(Command::placeBet(0, 1000)));
    EXPECT_EQ(send(Command::chooseLane(1, 1)).reason, kRefuseNotYourTurn);
    EXPECT_EQ(send(Command::chooseLane(0, 5)).reason, kRefuseLane);
    ASSERT_TRUE(send(Command::chooseLane(0, 3)));
    DefaultRng r(7);
    while (!race.decided()) {
        if (race.ticks() == 20) {
            ASSERT_TRUE(send(Command::chooseLane(0, 4)));
        }
        race.tick(r);
    }
    EXPECT_EQ(race.laneAtFinish(), 4);
    EXPECT_EQ(send(Command::chooseLane(0, 2)).reason, kRefuseNoQuestion);  // after the finish
    closeQuestion(g);
}

}  // namespace
}  // namespace kisharin::testing

namespace kisharin::testing {
namespace {

// A save in the middle of a turn (after the roll, a question open, a guest gone) keeps the
// start of that turn, and says so; it is never refused in silence.
TEST_F(Commands, ASaveInTheMiddleOfATurnKeepsTheTurnsStart) {
    g.gameDataDir = dir.path();
    const Long points = s.playerPoint[0];
    roll(3);
    s.playerPoint[0] = points + 500;  // what the turn changed since its start
    const Verdict v = send(Command::save(0, 2));
    ASSERT_TRUE(v) << v.reason;
    EXPECT_TRUE(v.savedTurnStart);
    GameState back;
    readSlot(dir.path(), 2, back);
    EXPECT_EQ(back.playerPoint[0], points);
    EXPECT_EQ(back.playerEki[0], s.playerEki[0]);
    EXPECT_EQ(send(Command::save(0, 4)).reason, kRefuseSlot);
}

}  // namespace
}  // namespace kisharin::testing

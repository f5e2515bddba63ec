// The computer player: its kind table, its moves along the route through the board's
// handlers, its pauses and target marker, and the turns where the route gives it no way
// forward.
#include <gtest/gtest.h>

#include "board/route.h"
#include "board/startup.h"
#include "support/scripted_player.h"
#include "turns/board_model.h"
#include "turns/computer.h"
#include "turns/messages.h"
#include "turns/turn_fixture.h"

namespace kisharin::testing {
namespace {

// Scripted windows that also note each pause of the computer and what the board showed
// at that moment.
class WatchedScreens : public ScriptedScreens {
  public:
    int pauses = 0;
    std::function<void()> onPause;
    void pause(double secs) override {
        ++pauses;
        if (onPause) onPause();
        ScriptedScreens::pause(secs);
    }
};

// Line 1 "本線": 30 stations; station 5 is one end of a walkway (line 2, station 1) that
// leads on to line 3; station 20 meets the shinkansen (line 4); station 30 the airport.
// Line 2 "連絡通路": 3 stations. Line 3 "支線": 10 stations. Line 4 "北新幹線": 8 stations.
// Line 5 "飛行機（北）": 2 stations. Line 6 "離島線": one station linked to nothing.
RailwayData computerNetwork() {
    TestLine main{"本線", {}, {"東京都"}, std::vector<std::string>(30), {}};
    for (int i = 1; i <= 30; ++i) main.stations.push_back("本" + std::to_string(i));
    main.links[4] = "2\\1";
    main.links[19] = "4\\1";
    main.links[29] = "5\\1";
    main.marks = {"", "", "競馬"};
    TestLine walk{"連絡通路", {"通路1", "通路2", "通路3"}, {"東京都"}, {"1\\5;3\\1"}, {}};
    TestLine branch{"支線", {}, {"千葉県"}, {"2\\1"}, {}};
    for (int i = 1; i <= 10; ++i) branch.stations.push_back("支" + std::to_string(i));
    TestLine shin{"北新幹線", {}, {"宮城県"}, {"1\\20"}, {}};
    for (int i = 1; i <= 8; ++i) shin.stations.push_back("新" + std::to_string(i));
    TestLine air{"飛行機（北）", {"羽田", "千歳"}, {"東京都", "北海道"}, {"1\\30"}, {}};
    TestLine island{"離島線", {"孤島"}, {"沖縄県"}, {}, {}};
    return makeRailway({main, walk, branch, shin, air, island});
}

class ComputerTest : public ::testing::Test {
  protected:
    ScratchDir dir;
    GameState s;
    WatchedScreens screens;
    QueueRng rng;
    FakeClock clock;
    Game g = testing::seatedGame(s, screens, rng, clock);
    ComputerSeat computer;  // player 2

    void SetUp() override {
        g.seats[1] = &computer;
        setUpTwoPlayers(s, computerNetwork(), dir.path() + "履歴", "コンピュータ");
        s.comOpponent = True;
        s.shortMode = True;
        place(0, 3, 10);
        // Destinations parked on the island, out of reach, unless a test sets them.
        for (int d = 1; d <= 8; ++d) setDestination(d, 6, 1);
    }

    void place(int p, int line, int pos) {
        s.playerRosen[p] = static_cast<Integer>(line);
        s.playerEki[p] = static_cast<Integer>(pos);
    }
    void setDestination(int d, int line, int pos) {
        s.mokutekitiRosen[d] = static_cast<Integer>(line);
        s.mokutekitiEki[d] = static_cast<Integer>(pos);
    }
    // The computer (player 2) to move from (line, pos), its board shown and its route
    // searched, as the hand-over leaves them.
    void computerAt(int line, int pos, Long money) {
        place(1, line, pos);
        s.playerMoney[1] = money;
        s.curPlayer = 1;
        showBoardWithoutTurn();
        screens.messages.clear();
        screens.pauses = 0;
    }
    // The board shown; the turn loop does not run, so the test starts the turn itself.
    void showBoardWithoutTurn() { showBoard(g); }
};

// --- The kind table ---------------------------------------------------------------------

TEST(ComputerKind, OrdinaryLinesChooseByDistanceAndWorkWhenTheFareIsTooHigh) {
    GameState s;
    buildFareTable(s);
    // Up to 5 stations 各停, 6 to 11 急行, 12 and more 特急, whatever kind was selected.
    for (int sel = 1; sel <= 3; ++sel) {
        EXPECT_EQ(computerKind(s, sel, 1, 100000), 1);
        EXPECT_EQ(computerKind(s, sel, 5, 100000), 1);
        EXPECT_EQ(computerKind(s, sel, 6, 100000), 2);
        EXPECT_EQ(computerKind(s, sel, 11, 100000), 2);
        EXPECT_EQ(computerKind(s, sel, 12, 100000), 3);
    }
    // 各停 and 急行 need the fare of every station to the next point.
    EXPECT_EQ(computerKind(s, 1, 5, 750), 1);
    EXPECT_EQ(computerKind(s, 1, 5, 749), 0);
    EXPECT_EQ(computerKind(s, 1, 6, 1800), 2);
    EXPECT_EQ(computerKind(s, 1, 6, 1799), 0);
    EXPECT_EQ(computerKind(s, 1, 11, 3299), 0);
    // 特急 goes with the fare of all d stations, or with 9,000 yen when d is longer.
    EXPECT_EQ(computerKind(s, 1, 12, 6000), 3);
    EXPECT_EQ(computerKind(s, 1, 12, 5999), 0);
    EXPECT_EQ(computerKind(s, 1, 40, 9000), 3);
    EXPECT_EQ(computerKind(s, 1, 40, 8999), 0);
    EXPECT_EQ(computerKind(s, 1, 0, 100000), 0);  // no distance: nothing to ride
}

TEST(ComputerKind, TheLineForcedKindsHaveTheirOwnMoneyFloors) {
    GameState s;
    buildFareTable(s);
    // 新幹線: the fare of all d stations, or 30,000 yen.
    EXPECT_EQ(computerKind(s, 4, 2, 10000), 4);
    EXPECT_EQ(computerKind(s, 4, 2, 9999), 0);
    EXPECT_EQ(computerKind(s, 4, 7, 30000), 4);
    EXPECT_EQ(computerKind(s, 4, 7, 29999), 0);
    EXPECT_EQ(computerKind(s, 4, 12, 30000), 4);  // the distance never picks another kind
    // 飛行機: 40,000 yen whatever the distance.
    EXPECT_EQ(computerKind(s, 5, 1, 40000), 5);
    EXPECT_EQ(computerKind(s, 5, 1, 39999), 0);
    EXPECT_EQ(computerKind(s, 5, 3, 40000), 5);
}

// --- Moves along the route --------------------------------------------------------------

TEST_F(ComputerTest, ADieShortOfTheNextPointMovesAsFarAsAllowedTowardsIt) {
    setDestination(1, 1, 26);
    computerAt(1, 2, 30000);  // 24 stations: 特急
    screens.dice.push_back(2);
    const ComputerTurn t = コンピュータ(g);
    EXPECT_EQ(t.action, ComputerTurn::Action::Move);
    EXPECT_EQ(t.distance, 24);
    EXPECT_EQ(t.kind, 3);
    EXPECT_EQ(t.steps, 6);
    EXPECT_EQ(t.target, 8);
    EXPECT_EQ(s.playerEki[1], 8);
    EXPECT_EQ(s.playerMoney[1], 30000 - 6 * 500);
    EXPECT_EQ(screens.pauses, 3);
    EXPECT_EQ(s.curPlayer, 0);  // the hand-over ran
    EXPECT_TRUE(g.board.boardEnabled);
}

// The board's timer drives the computer's turn: each step ends where a one-second pause
// comes, nothing waits inside the game, and a turn left behind between two steps (a game
// loaded meanwhile) is dropped and planned again from the board as it is.
TEST_F(ComputerTest, TheTurnIsPlayedInStepsAndTheDriverOwnsThePauses) {
    setDestination(1, 1, 26);
    computerAt(1, 2, 30000);
    screens.dice = {2, 2};
    auto playSteps = [&] {
        std::vector<int> at;
        for (SeatStep st = playSeatStep(g);; st = playSeatStep(g)) {
            EXPECT_TRUE(st.played);
            at.push_back(s.playerEki[1]);
            if (!st.step.more || !st.played) break;
            EXPECT_EQ(st.step.pause, kComputerPause);
        }
        return at;
    };
    ASSERT_TRUE(playSeatStep(g).step.more);  // planned
    ASSERT_TRUE(playSeatStep(g).step.more);  // the kind chosen
    EXPECT_EQ(s.selKind, 3);
    ++g.turnNumber;  // loaded in the pause: the turn starts again at its plan
    EXPECT_EQ(playSteps(), (std::vector<int>{2, 2, 2, 8}));  // plan, kind, roll, ride
    EXPECT_EQ(screens.pauses, 0);
    EXPECT_EQ(computer.last.target, 8);
    EXPECT_EQ(s.playerMoney[1], 30000 - 6 * 500);  // one ride paid
    EXPECT_EQ(s.curPlayer, 0);
    EXPECT_FALSE(playSeatStep(g).played);  // the board's player is to move
}

TEST_F(ComputerTest, MovesDownTheLineAndStopsOnTheNextPointWhenTheDieReachesIt) {
    setDestination(1, 1, 2);
    computerAt(1, 6, 30000);  // 4 stations down: 各停
    s.selKind = 3;
    screens.dice.push_back(6);
    const ComputerTurn t = コンピュータ(g);
    EXPECT_EQ(t.kind, 1);
    EXPECT_EQ(t.target, 2);
    EXPECT_EQ(s.playerEki[1], 2);
    EXPECT_EQ(s.playerMoney[1], 30000 - 4 * 150 + 100000);
    EXPECT_TRUE(s.mokutekitiDone[1]);
    EXPECT_EQ(s.arriveCount[1], 1);
}

TEST_F(ComputerTest, TheTargetIsMarkedLightGreenAndScrolledIntoViewBeforeTheClick) {
    setDestination(1, 1, 29);
    computerAt(1, 1, 30000);
    screens.dice.push_back(5);  // 特急: 15 stations, to station 16
    Long fillAtLastPause = 0;
    PixelRect boxAtLastPause;
    int scrollAtLastPause = -1;
    screens.onPause = [&] {
        fillAtLastPause = g.line.station(16).fill;
        boxAtLastPause = g.line.station(16).box;
        scrollAtLastPause = g.line.scrollValue;
    };
    ASSERT_GT(g.line.station(16).box.top, g.line.scrollValue + kViewportHeight);  // out of view at first
    コンピュータ(g);
    EXPECT_EQ(fillAtLastPause, rgb(192, 255, 192));
    // The marked box lies within the board's view when the click comes.
    EXPECT_GE(boxAtLastPause.top, scrollAtLastPause);
    EXPECT_LE(boxAtLastPause.top + boxAtLastPause.height, scrollAtLastPause + kViewportHeight);
    EXPECT_EQ(s.playerEki[1], 16);
}

// A turn starts with the own station in view, though the scroll kept from the player's
// last turn shows the top of the line (a tornado or an overslept ride moved it since).
TEST_F(ComputerTest, ATurnStartsWithTheOwnStationInView) {
    place(0, 1, 29);
    s.playerScroll[0] = 0;
    s.curPlayer = 1;
    finishTurn(g);
    ASSERT_EQ(s.curPlayer, 0);
    const PixelRect box = g.line.station(29).box;
    EXPECT_GT(g.line.scrollValue, 0);
    EXPECT_GE(box.top, g.line.scrollValue);
    EXPECT_LE(box.top + box.height, g.line.scrollValue + kViewportHeight);
}

TEST_F(ComputerTest, TakesTheExpressWithTooLittleMoneyForAllStationsAndTheDebtRuleFollows) {
    setDestination(1, 1, 24);
    computerAt(1, 1, 9000);     // 23 stations would cost 11,500 yen
    screens.dice.push_back(6);  // 18 stations, to station 19 ...
    // ... and the train oversleeps 3 stations: no cut, an overshoot, k = 3.
    rng.values = {0.5, 0.0, 0.25};
    const ComputerTurn t = コンピュータ(g);
    EXPECT_EQ(t.kind, 3);
    EXPECT_EQ(t.target, 19);
    EXPECT_EQ(s.playerEki[1], 22);
    EXPECT_EQ(s.playerMoney[1], 0);     // 21 stations, 10,500 yen: the debt is forgiven
    EXPECT_EQ(s.playerPoint[1], -100);  // 50 for oversleeping, 50 for the debt
    EXPECT_NE(std::find(screens.messages.begin(), screens.messages.end(), kMsgDebtForgiven),
              screens.messages.end());
}

TEST_F(ComputerTest, WorksWhenTheFareIsTooHighAndTheTurnPasses) {
    setDestination(1, 1, 24);
    computerAt(1, 1, 8999);
    screens.dice.push_back(3);  // the hours worked
    const ComputerTurn t = コンピュータ(g);
    EXPECT_EQ(t.action, ComputerTurn::Action::Work);
    EXPECT_EQ(screens.rolls, 1);  // the work's die only
    EXPECT_GT(s.playerMoney[1], 8999);
    EXPECT_EQ(s.playerEki[1], 1);
    EXPECT_EQ(s.curPlayer, 0);
    EXPECT_EQ(screens.pauses, 1);
}

TEST_F(ComputerTest, ChangesToTheShinkansenAndRidesItWithItsFloor) {
    setDestination(1, 4, 8);
    computerAt(1, 20, 30000);  // on the shinkansen 7 stations: 35,000 yen, but 30,000 do
    screens.dice.push_back(4);
    const ComputerTurn t = コンピュータ(g);
    ASSERT_EQ(t.transfers.size(), 1u);
    EXPECT_EQ(t.transfers[0], (Station{4, 1}));
    EXPECT_EQ(t.kind, 4);
    EXPECT_EQ(t.steps, 4);
    EXPECT_EQ(s.playerRosen[1], 4);
    EXPECT_EQ(s.playerEki[1], 5);
    EXPECT_EQ(s.playerMoney[1], 30000 - 4 * 5000);
}

TEST_F(ComputerTest, FliesWithFortyThousandYenAndWorksWithLess) {
    setDestination(1, 5, 2);
    computerAt(5, 1, 39999);
    screens.dice.push_back(2);
    EXPECT_EQ(コンピュータ(g).action, ComputerTurn::Action::Work);

    s.playerMoney[1] = 40000;
    place(0, 3, 10);
    s.curPlayer = 1;
    showBoardWithoutTurn();
    screens.dice.push_back(1);
    const ComputerTurn t = コンピュータ(g);
    EXPECT_EQ(t.kind, 5);
    EXPECT_EQ(s.playerEki[1], 2);
    EXPECT_EQ(s.playerMoney[1], 40000 - 30000 + 100000);
}

TEST_F(ComputerTest, NeverBetsWhenItStopsOnARaceCourse) {
    setDestination(1, 1, 4);
    computerAt(1, 1, 30000);
    screens.dice.push_back(2);  // 各停: two stations, onto the race course at station 3
    const ComputerTurn t = コンピュータ(g);
    EXPECT_EQ(t.target, 3);
    EXPECT_EQ(s.playerEki[1], 3);
    EXPECT_TRUE(screens.raceOdds.empty());  // no betting window opened
    EXPECT_EQ(std::count(screens.messages.begin(), screens.messages.end(), raceDayText("競馬")), 0);
    EXPECT_EQ(s.playerMoney[1], 30000 - 300);
    EXPECT_EQ(s.curPlayer, 0);
}

// --- Claims, transfers and the turns without a way forward ------------------------------

TEST_F(ComputerTest, WithARouteOfOnePointItClaimsTheStationItStandsOn) {
    setDestination(2, 3, 7);
    computerAt(3, 7, 500);
    ASSERT_EQ(s.routeCount, 1);
    const ComputerTurn t = コンピュータ(g);
    EXPECT_EQ(t.action, ComputerTurn::Action::Claim);
    EXPECT_EQ(screens.pauses, 1);
    EXPECT_EQ(screens.rolls, 0);
    EXPECT_TRUE(s.mokutekitiDone[2]);
    EXPECT_EQ(s.playerMoney[1], 500 + 100000);
    EXPECT_EQ(s.curPlayer, 0);
}

TEST_F(ComputerTest, ChangingLinesOntoTheDestinationClaimsItWithTwoPauses) {
    setDestination(1, 2, 1);
    computerAt(1, 5, 100);
    const ComputerTurn t = コンピュータ(g);
    EXPECT_EQ(t.action, ComputerTurn::Action::Claim);
    EXPECT_EQ(t.transfers, (std::vector<Station>{{2, 1}}));
    EXPECT_EQ(screens.pauses, 2);
    EXPECT_TRUE(s.mokutekitiDone[1]);
    EXPECT_EQ(s.curPlayer, 0);
}

TEST_F(ComputerTest, FollowsAWalkwayThatChangesLinesTwiceAtTheSamePlace) {
    setDestination(1, 3, 4);
    computerAt(1, 5, 30000);
    ASSERT_EQ(s.routeCount, 4);  // (3,4) (3,1) (2,1) (1,5)
    screens.dice.push_back(6);
    const ComputerTurn t = コンピュータ(g);
    EXPECT_EQ(t.transfers, (std::vector<Station>{{2, 1}, {3, 1}}));
    EXPECT_EQ(t.action, ComputerTurn::Action::Move);
    EXPECT_EQ(s.playerRosen[1], 3);
    EXPECT_EQ(s.playerEki[1], 4);
    EXPECT_TRUE(s.mokutekitiDone[1]);
    EXPECT_EQ(s.curPlayer, 0);
}

TEST_F(ComputerTest, WorksWhenNoOpenDestinationCanBeReached) {
    computerAt(1, 10, 1000);
    ASSERT_EQ(s.routeCount, 0);
    screens.dice.push_back(2);
    const ComputerTurn t = コンピュータ(g);
    EXPECT_EQ(t.action, ComputerTurn::Action::Work);
    EXPECT_GT(s.playerMoney[1], 1000);
    EXPECT_EQ(s.curPlayer, 0);
    EXPECT_TRUE(boardModel(g).cmdSusumuVisible);
}

TEST_F(ComputerTest, WorksWhenTheRouteChangesLinesWhereNoTransferLabelLeads) {
    setDestination(1, 3, 4);
    computerAt(1, 7, 30000);
    // A route that changes to the branch at station 7, which has no link there.
    s.routeList = {{3, 4, 5, ""}, {3, 1, 5, ""}, {1, 7, 5, ""}};
    s.routeCount = 3;
    screens.dice.push_back(1);
    const ComputerTurn t = コンピュータ(g);
    EXPECT_EQ(t.action, ComputerTurn::Action::Work);
    EXPECT_TRUE(t.transfers.empty());
    EXPECT_EQ((Station{s.playerRosen[1], s.playerEki[1]}), (Station{1, 7}));
    EXPECT_EQ(s.curPlayer, 0);
}

TEST_F(ComputerTest, AClickThatCannotEndTheMoveTurnsIntoWorkWithTheBoardReady) {
    // A route whose only point is a station that is no destination: clicking it claims
    // nothing.
    computerAt(1, 3, 30000);
    s.routeList = {{1, 3, 0, ""}};
    s.routeCount = 1;
    screens.dice.push_back(4);
    const ComputerTurn t = コンピュータ(g);
    EXPECT_EQ(t.action, ComputerTurn::Action::Work);
    EXPECT_EQ(s.curPlayer, 0);
    EXPECT_TRUE(boardModel(g).cmdSusumuVisible);
    EXPECT_EQ(s.susumuSteps, 0);
}

// --- Whole games ------------------------------------------------------------------------

// Eight regions of three lines (a main line of 12 and two branches of 6), the main lines
// chained end to start, a shinkansen across all regions and an air route from region 1
// to region 8.
RailwayData eightRegionNetwork() {
    std::vector<TestLine> lines;
    for (int r = 1; r <= 8; ++r) {
        const int m = 3 * r - 2;
        TestLine main{
            "本線" + std::to_string(r), {}, {kFirstPrefOfRegion[r]}, std::vector<std::string>(12), {}};
        for (int i = 1; i <= 12; ++i)
            main.stations.push_back("本" + std::to_string(r) + "-" + std::to_string(i));
        if (r > 1) main.links[0] = std::to_string(m - 3) + "\\12";
        if (r < 8) main.links[11] = std::to_string(m + 3) + "\\1";
        main.links[3] = std::to_string(m + 1) + "\\1;25\\" + std::to_string(r);
        main.links[7] = std::to_string(m + 2) + "\\1";
        if (r == 1) main.links[5] = "26\\1";
        if (r == 8) main.links[5] = "26\\2";
        main.marks = {"", "競馬"};
        lines.push_back(main);
        for (int b = 1; b <= 2; ++b) {
            // The guardian god's picker answers 東京都 to the human: a branch of region 3 lies there.
            const std::string pref = r == 3 && b == 2 ? "東京都" : kFirstPrefOfRegion[r];
            TestLine br{"支線" + std::to_string(r) + "-" + std::to_string(b), {}, {pref}, {}, {}};
            for (int i = 1; i <= 6; ++i) br.stations.push_back("支" + std::to_string(i));
            br.links = {std::to_string(m) + "\\" + (b == 1 ? "4" : "8")};
            lines.push_back(br);
        }
    }
    TestLine shin{"列島新幹線", {}, {}, {}, {}};
    for (int r = 1; r <= 8; ++r) {
        shin.stations.push_back("新" + std::to_string(r));
        shin.prefs.push_back(kFirstPrefOfRegion[r]);
        shin.links.push_back(std::to_string(3 * r - 2) + "\\4");
    }
    lines.push_back(shin);
    lines.push_back(TestLine{"飛行機（縦断）",
                             {"北空港", "南空港"},
                             {kFirstPrefOfRegion[1], kFirstPrefOfRegion[8]},
                             {"1\\6", "22\\6"},
                             {}});
    return makeRailway(lines);
}

TEST(ComputerGames, EveryComputerTurnPassesTheTurnAndEveryGameEnds) {
    ScratchDir dir;
    const RailwayData network = eightRegionNetwork();
    for (int seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        GameState s;
        static_cast<RailwayData&>(s) = network;
        buildFareTable(s);
        buildRegionTables(s);
        s.historyBase = dir.path() + "履歴" + std::to_string(seed) + "-";
        s.playerName[0] = "たろう";
        s.playerName[1] = "コンピュータ";
        s.comOpponent = True;
        s.shortMode = True;
        ScriptedScreens screens;
        DefaultRng rng(seed);
        FakeClock clock;
        clock.step = 0.37;
        // Both seats play by themselves: the turn loop alone plays the whole game.
        Game g{s, screens, rng, clock};
        testing::ScriptedPlayer player;
        ComputerSeat computer;
        g.seats = {&player, &computer};
        setupNewGame(s, rng, clock);
        drawDestinations(s, rng, clock);
        buildEventTables(s);
        showBoard(g);
        int turns = 0, stalled = 0;
        while (!g.ended && turns < 4000) {
            const int mover = s.curPlayer;
            ASSERT_TRUE(playSeatTurn(g));
            ++turns;
            if (!g.ended && s.curPlayer == mover) ++stalled;  // every turn passes
        }
        EXPECT_TRUE(g.ended) << turns << " turns";
        EXPECT_EQ(stalled, 0);
        EXPECT_FALSE(playSeatTurn(g));  // nothing is played after the end
        EXPECT_EQ(s.arriveCount[0] + s.arriveCount[1], 8);
        EXPECT_GE(s.playerMoney[1], 0);
    }
}

}  // namespace
}  // namespace kisharin::testing

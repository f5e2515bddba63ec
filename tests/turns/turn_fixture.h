// A small board for the turn and line-display tests: a game state on a hand-made
// network, scripted screens, a generator that hands out queued values, a fake clock.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <utility>

#include "board/line_display.h"
#include "state/regions.h"
#include "support/fakes.h"
#include "support/railway_builder.h"
#include "support/scripted_screens.h"
#include "turns/boarding.h"
#include "turns/game.h"
#include "turns/happenings.h"
#include "turns/turn.h"
#include "support/commands.h"

namespace kisharin::testing {

// Returns the queued values in order, then `quiet` (0.9: no cut, no overshoot, no
// happening). reseed() only counts.
class QueueRng : public Rng {
  public:
    std::deque<double> values;
    double quiet = 0.9;
    int reseeds = 0;
    double next() override {
        if (values.empty()) return quiet;
        const double v = values.front();
        values.pop_front();
        return v;
    }
    void reseed(double) override { ++reseeds; }
};

// Line 1 "本線": ten stations 本1..本10 in 東京都; 本5 links to 東北新幹線 station 3, 本3 is a
// race course. Line 2 "東北新幹線": five stations in 宮城県; its station 3 links back.
// Line 3 "離島線": one station in 北海道. Line 4 "飛行機（空路）": two stations.
inline RailwayData smallNetwork() {
    TestLine main{
        "本線", {}, {"東京都"}, {"", "", "", "", "2\\3;3\\1", "", "", "", "", "4\\1"}, {"", "", "競馬"}};
    for (int i = 1; i <= 10; ++i) main.stations.push_back("本" + std::to_string(i));
    TestLine shin{"東北新幹線", {"東京", "大宮", "仙台", "盛岡", "新青森"}, {"宮城県"}, {"", "", "1\\5"}, {}};
    TestLine island{"離島線", {"孤島"}, {"北海道"}, {"1\\5"}, {}};
    TestLine air{"飛行機（空路）", {"羽田", "千歳"}, {"東京都", "北海道"}, {"1\\10"}, {}};
    return makeRailway({main, shin, island, air});
}

// A game of two players on the given railway, as a new game leaves it: fares, regions
// and happenings built, 30,000 yen each on ordinary trains, histories in historyBase.
inline void setUpTwoPlayers(GameState& s, RailwayData railway, const std::string& historyBase,
                            const std::string& name2) {
    static_cast<RailwayData&>(s) = std::move(railway);
    buildFareTable(s);
    buildRegionTables(s);
    buildEventTables(s);
    s.historyBase = historyBase;
    s.playerName[0] = "たろう";
    s.playerName[1] = name2;
    for (int p = 0; p < 2; ++p) {
        s.playerMoney[p] = 30000;
        s.playerKind[p] = 1;
    }
}

class BoardTest : public ::testing::Test {
  protected:
    ScratchDir dir;
    GameState s;
    ScriptedScreens screens;
    QueueRng rng;
    FakeClock clock;
    Game g = testing::seatedGame(s, screens, rng, clock);

    void SetUp() override {
        setUpTwoPlayers(s, smallNetwork(), dir.path() + "履歴", "はなこ");
        place(0, 1, 1);
        place(1, 1, 10);
        // Destinations out of the way unless a test sets them: 離島線 station 1.
        for (int d = 1; d <= 8; ++d) {
            s.mokutekitiRosen[d] = 3;
            s.mokutekitiEki[d] = 1;
        }
        s.shortMode = True;
        showBoard(g);
        screens.messages.clear();
    }

    void place(int p, int line, int pos) {
        s.playerRosen[p] = static_cast<Integer>(line);
        s.playerEki[p] = static_cast<Integer>(pos);
    }
    // Rolls with the given face (the kind as selected).
    void roll(int face) {
        screens.dice.push_back(face);
        testing::roll(g);
    }
    Long fill(int i) const { return g.line.station(i).fill; }
};

}  // namespace kisharin::testing

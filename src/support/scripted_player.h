// The scripted player of the simulator: it plays the computer's rules without their
// pauses, and answers the questions by fixed rules of its own.
//  - Warp hole: jumps when the nearest open destination is more than 40 away.
//  - Guardian god: more than 25 away, picks the prefecture of that nearest destination;
//    otherwise closes the picker and stays.
//  - Race: bets on the favourite (the lane of the lowest odds, the first of equals) the
//    largest stake offered that is at most a tenth of the money, else the least one,
//    and keeps the lane until the finish.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "turns/command.h"
#include "turns/computer.h"
#include "turns/events.h"
#include "turns/game.h"
#include "turns/race.h"
#include "turns/seat.h"

namespace kisharin::testing {

class ScriptedPlayer : public Seat {
  public:
    int warpQuestions = 0, godPicks = 0;
    ComputerTurn last;  // what its last turn did

    bool playsItself() const override { return true; }
    void playTurn(Game& g) override { last = playComputerRules(g, false); }

    void answerWarp(Game& g, int, const std::string&, const std::string&) override {
        ++warpQuestions;
        apply(g, Command::answerWarp(g.s.curPlayer, routeLength(g.s) > 40));
    }
    void answerGod(Game& g) override {
        ++godPicks;
        const GameState& s = g.s;
        std::string pref;
        if (routeLength(s) > 25 && !s.routeList.empty())
            pref = s.ekiPref(s.routeList.front().line, s.routeList.front().pos);
        apply(g, Command::answerGod(s.curPlayer, pref));
    }
    void runBet(Game& g, Race& race) override { favouriteBet(g, race); }

    static void favouriteBet(Game& g, Race& race) {
        const GameState& s = g.s;
        const int p = s.curPlayer;
        const std::vector<Long> stakes = offeredStakes(s.playerMoney[p]);
        if (stakes.empty()) {
            apply(g, Command::declineBet(p));
            return;
        }
        Long stake = stakes.front();
        for (Long st : stakes)
            if (st * 10 <= s.playerMoney[p]) stake = std::max(stake, st);
        int lane = 0;
        for (int i = 1; i < kLanes; ++i)
            if (race.odds(i) < race.odds(lane)) lane = i;
        if (!apply(g, Command::placeBet(p, stake))) return;
        apply(g, Command::chooseLane(p, lane));
        // A race always ends: every tick moves every racer towards the goal.
        while (!race.decided()) raceTick(g);
    }
};

}  // namespace kisharin::testing

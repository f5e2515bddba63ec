// Whole games played headless: both players follow the simple policy through the same
// handlers as the board's clicks, the windows are scripted and nothing waits.
#pragma once

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "board/line_display.h"
#include "board/startup.h"
#include "state/clock.h"
#include "state/game_state.h"
#include "state/rng.h"
#include "support/scripted_screens.h"
#include "turns/game.h"
#include "turns/happenings.h"
#include "turns/simple_policy.h"
#include "turns/turn.h"

namespace kisharin::sim {

// A clock that moves with the time the windows would have taken, so that the timer the
// game re-seeds from keeps changing, and the same run gives the same games.
class SimClock : public Clock {
  public:
    SimClock(const testing::ScriptedScreens& screens, double startSerial, double startTimer)
        : screens_(screens), serial_(startSerial), timer_(startTimer) {}
    double now() override { return serial_ + screens_.seconds / 86400.0; }
    double timer() override {
        calls_ += 1;
        return std::fmod(timer_ + screens_.seconds + calls_ * 0.001, 86400.0);
    }

  private:
    const testing::ScriptedScreens& screens_;
    double serial_, timer_;
    long calls_ = 0;
};

// What a turn looked like when it began: right after the route search for the mover.
struct TurnStart {
    int player = 0;
    Station at;
    std::vector<bool> done;
    long routeLength = 0;
    std::vector<Station> route;
};

inline TurnStart turnStart(const GameState& s) {
    TurnStart t;
    t.player = s.curPlayer;
    t.at = {s.playerRosen[t.player], s.playerEki[t.player]};
    for (int d = 1; d <= kDestinationCount; ++d) t.done.push_back(s.mokutekitiDone[d]);
    t.routeLength = s.routeList.empty() ? 0 : s.routeList[0].distance;
    for (int i = 0; i < s.routeCount && i < static_cast<int>(s.routeList.size()); ++i)
        t.route.push_back(
            {s.routeList[static_cast<size_t>(i)].line, s.routeList[static_cast<size_t>(i)].pos});
    return t;
}

struct GameResult {
    int turns = 0;
    bool ended = false;  // false: stuck, not over within the turn limit
};

struct TurnReport {
    TurnStart start;
    PolicyTurn turn;
    Station end;
    Long fare = 0;
    std::vector<std::string> messages;
    Long money = 0, points = 0;
};

// Plays one game on s (railway, fares and regions loaded; visited as the histories
// stand): a new game in s.playArea, then turns until the results or maxTurns.
inline GameResult playGame(GameState& s, testing::ScriptedScreens& screens, Rng& rng, Clock& clock,
                           int maxTurns, const std::function<void(const Game&)>& onStart,
                           const std::function<void(const Game&, int, const TurnReport&)>& onTurn) {
    s.shortMode = True;
    s.comOpponent = False;
    s.resumeGame = False;
    Game g{s, screens, rng, clock};
    setupNewGame(s, rng, clock);
    drawDestinations(s, rng, clock);
    buildEventTables(s);
    showBoard(g);
    if (onStart) onStart(g);
    GameResult r;
    double counted = screens.seconds;
    while (!g.ended && r.turns < maxTurns) {
        ++r.turns;
        TurnReport rep;
        rep.start = turnStart(s);
        const size_t firstMessage = screens.messages.size();
        g.lastRide = {};
        rep.turn = playSimpleTurn(g);
        const int p = rep.start.player;
        rep.end = {s.playerRosen[p], s.playerEki[p]};
        if (rep.turn.action == PolicyTurn::Action::Move && g.lastRide.line != 0) {
            rep.end = {g.lastRide.line, g.lastRide.end};
            rep.fare = g.lastRide.fare;
        }
        rep.messages = screens.since(firstMessage);
        rep.money = s.playerMoney[p];
        rep.points = s.playerPoint[p];
        // One second of the windows is one tick of the board's clock.
        while (screens.seconds - counted >= 1.0) {
            tmrMain_Timer(g);
            counted += 1.0;
        }
        if (onTurn) onTurn(g, r.turns, rep);
    }
    r.ended = g.ended;
    return r;
}

}  // namespace kisharin::sim

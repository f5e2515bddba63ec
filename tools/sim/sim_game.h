// Whole games played headless. Player 2 is the computer opponent, started by the
// hand-over as in the desktop game; player 1 plays as a human who follows the same
// decision rules, bets on race-course stations and answers the warp hole and the
// guardian god by fixed rules of its own. The windows are scripted and nothing waits.
#pragma once

#include <algorithm>
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
#include "turns/computer.h"
#include "turns/event_log.h"
#include "turns/events.h"
#include "turns/game.h"
#include "turns/happenings.h"
#include "turns/race.h"
#include "turns/turn.h"

namespace kisharin::sim {

// The windows of the scripted human (player 1). The computer never reaches them: the
// rules decide the warp and the god for it and it never bets.
//  - Warp hole: jumps when the nearest open destination is more than 40 away.
//  - Guardian god: more than 25 away, picks the prefecture of that nearest destination;
//    otherwise closes the picker and stays.
//  - Race: bets on the favourite (the lane of the lowest odds, the first of equals) the
//    largest stake offered that is at most a tenth of the money, else the least one,
//    and keeps the lane until the finish.
class SimScreens : public testing::ScriptedScreens {
  public:
    int warpQuestions = 0, godPicks = 0;

    bool askYesNo(const GameState& s, const std::string&, const std::string&) override {
        ++warpQuestions;
        return routeLength(s) > 40;
    }
    std::string pickPrefecture(GameState& s) override {
        ++godPicks;
        if (routeLength(s) <= 25 || s.routeList.empty()) return "";
        return s.ekiPref(s.routeList.front().line, s.routeList.front().pos);
    }
    RaceOutcome runBet(GameState& s, Rng& rng) override { return scriptedBet(s, rng); }

    static RaceOutcome scriptedBet(GameState& s, Rng& rng) {
        Race race(rng);
        const std::vector<Long> stakes = offeredStakes(s.playerMoney[s.curPlayer]);
        s.betStake = 0;
        s.betWinPoints = 0;
        if (stakes.empty()) {
            s.betCancelled = True;
            return {};
        }
        Long stake = stakes.front();
        for (Long st : stakes)
            if (st * 10 <= s.playerMoney[s.curPlayer]) stake = std::max(stake, st);
        int lane = 0;
        for (int i = 1; i < kLanes; ++i)
            if (race.odds(i) < race.odds(lane)) lane = i;
        race.start(stake);
        // A race always ends: every tick moves every racer towards the goal.
        while (!race.decided()) race.tick(rng, lane);
        s.betCancelled = False;
        s.betStake = stake;
        s.betWinPoints = race.winPoints();
        return {race.laneAtFinish() + 1, race.winner() + 1};
    }
};

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
    Long money = 0, points = 0;
};

inline TurnStart turnStart(const GameState& s) {
    TurnStart t;
    t.player = s.curPlayer;
    t.at = {s.playerRosen[t.player], s.playerEki[t.player]};
    for (int d = 1; d <= kDestinationCount; ++d) t.done.push_back(s.mokutekitiDone[d]);
    t.routeLength = s.routeList.empty() || s.routeCount < 1 ? 0 : s.routeList[0].distance;
    for (int i = 0; i < s.routeCount && i < static_cast<int>(s.routeList.size()); ++i)
        t.route.push_back(
            {s.routeList[static_cast<size_t>(i)].line, s.routeList[static_cast<size_t>(i)].pos});
    t.money = s.playerMoney[t.player];
    t.points = s.playerPoint[t.player];
    return t;
}

struct GameResult {
    int turns = 0;
    bool ended = false;  // false: stuck, not over within the turn limit
    // Chances the rules gave: travel-event draws (a special event 1 in 100 each) and
    // race days of the human.
    int eventDraws = 0;
    int raceDays = 0;
};

struct TurnReport {
    TurnStart start;
    ComputerTurn turn;
    Station end;
    Long fare = 0;
    std::vector<std::string> messages;
    Long money = 0, points = 0;
};

// Who is told of the game: its start, every turn as it ends, and the events and bets as
// they happen (with the number of the turn they belong to).
struct GameObserver {
    std::function<void(const Game&)> onStart;
    std::function<void(const Game&, int turn, const TurnReport&)> onTurn;
    std::function<void(int turn, const SpecialEventRecord&)> onSpecial;
    std::function<void(int turn, const BetRecord&)> onBet;
};

namespace detail {

class ForwardingLog : public EventLog {
  public:
    ForwardingLog(const GameObserver& o, const int& turn) : o_(o), turn_(turn) {}
    void special(const SpecialEventRecord& r) override {
        if (o_.onSpecial) o_.onSpecial(turn_, r);
    }
    void bet(const BetRecord& r) override {
        if (o_.onBet) o_.onBet(turn_, r);
    }

  private:
    const GameObserver& o_;
    const int& turn_;
};

}  // namespace detail

// Plays one game on s (railway, fares and regions loaded; visited as the histories
// stand): a new game in s.playArea against the computer, then turns until the results
// or maxTurns (both players' turns counted).
inline GameResult playGame(GameState& s, SimScreens& screens, Rng& rng, Clock& clock, int maxTurns,
                           const GameObserver& observer = {}) {
    s.shortMode = True;
    s.comOpponent = True;
    s.resumeGame = False;
    Game g{s, screens, rng, clock};
    GameResult r;
    detail::ForwardingLog log(observer, r.turns);
    g.eventLog = &log;
    // The hand-over starts the computer's turn as its last step; the simulator runs it
    // right after the hand-over has returned, so that each turn is reported on its own.
    bool computerDue = false;
    g.computerTurn = [&computerDue](Game&) { computerDue = true; };

    setupNewGame(s, rng, clock);
    drawDestinations(s, rng, clock);
    buildEventTables(s);
    showBoard(g);
    if (observer.onStart) observer.onStart(g);
    double counted = screens.seconds;

    auto playTurn = [&](bool computer) {
        ++r.turns;
        TurnReport rep;
        rep.start = turnStart(s);
        const size_t firstMessage = screens.messages.size();
        g.lastRide = {};
        s.moveDone = False;
        rep.turn = computer ? コンピュータ(g) : playComputerRules(g, false);
        const int p = rep.start.player;
        rep.end = {s.playerRosen[p], s.playerEki[p]};
        if (rep.turn.action == ComputerTurn::Action::Move && g.lastRide.line != 0) {
            rep.end = {g.lastRide.line, g.lastRide.end};
            rep.fare = g.lastRide.fare;
        }
        // A station click that ended the move drew the travel event, or for the human
        // on a race course, the race day.
        if (rep.turn.action != ComputerTurn::Action::Work && s.moveDone) {
            Station clicked = rep.end;
            if (rep.turn.action == ComputerTurn::Action::Claim)
                clicked = rep.turn.transfers.empty() ? rep.start.at : rep.turn.transfers.back();
            const std::string& mark = s.ekiMark(clicked.line, clicked.pos);
            if (!computer && isRaceCourse(mark))
                ++r.raceDays;
            else if (!g.ended)
                ++r.eventDraws;
        }
        rep.messages = screens.since(firstMessage);
        rep.money = s.playerMoney[p];
        rep.points = s.playerPoint[p];
        // One second of the windows is one tick of the board's clock.
        while (screens.seconds - counted >= 1.0) {
            tmrMain_Timer(g);
            counted += 1.0;
        }
        if (observer.onTurn) observer.onTurn(g, r.turns, rep);
    };

    while (!g.ended && r.turns < maxTurns) {
        if (computerDue) {
            computerDue = false;
            playTurn(true);
        } else {
            playTurn(false);
        }
    }
    r.ended = g.ended;
    return r;
}

}  // namespace kisharin::sim

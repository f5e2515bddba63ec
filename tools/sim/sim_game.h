// Whole games played headless through the turn loop. Player 2 is the computer opponent's
// seat; player 1 is the scripted player, who follows the same decision rules without the
// pauses, bets on race-course stations and answers the warp hole and the guardian god by
// fixed rules of its own. The windows are scripted and nothing waits.
#pragma once

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "board/line_display.h"
#include "board/startup.h"
#include "record/game_record.h"
#include "state/clock.h"
#include "state/game_state.h"
#include "state/rng.h"
#include "support/scripted_player.h"
#include "support/scripted_screens.h"
#include "turns/computer.h"
#include "turns/event_log.h"
#include "turns/events.h"
#include "turns/game.h"
#include "turns/happenings.h"
#include "turns/race.h"
#include "turns/turn.h"

namespace kisharin::sim {

// The windows of the simulator: scripted, nothing waits, the time they would have taken
// is added up.
using SimScreens = testing::ScriptedScreens;

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
    // race days of the players who bet (the computer bets at よわい and つよい).
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

// Who plays each side: the scripted player (player 1 only) or the computer opponent at
// one of its strengths.
enum class SideKind { Script, Weak, Normal, Strong };

struct Sides {
    SideKind p1 = SideKind::Script;
    SideKind p2 = SideKind::Normal;
    bool normalMode = false;  // rides as the ride window pays them (else short mode)
};

// Player 2 played at the other end of a connection (kisharin-sim --remote): the game
// shows everything through its presenter (which also sends it there), and asks its seat,
// whose turns and answers arrive over the connection.
class RemoteSide {
  public:
    virtual ~RemoteSide() = default;
    // The presenter of the game, showing through `inner` as well.
    virtual Screens& presenter() = 0;
    // Player 2's seat for the game g, once the other end has joined it.
    virtual Seat& join(Game& g) = 0;
    // What player 2's last turn did, as the other end played it.
    virtual ComputerTurn last() const = 0;
    // Lets player 2's turn be played at the other end: the connection's events until the
    // turn has passed (or the game is over). False when it did not pass in time.
    virtual bool playTurn(Game& g) = 0;
    // The game is over: the other end leaves.
    virtual void leave() = 0;
};

inline Strength strengthOf(SideKind k) {
    return k == SideKind::Weak ? Strength::Weak : k == SideKind::Strong ? Strength::Strong : Strength::Normal;
}

// The seat of one side and what its last turn did.
class SideSeat {
  public:
    explicit SideSeat(SideKind k) : kind_(k), computer_(strengthOf(k)) {}
    Seat& seat() { return kind_ == SideKind::Script ? static_cast<Seat&>(player_) : computer_; }
    const ComputerTurn& last() const { return kind_ == SideKind::Script ? player_.last : computer_.last; }

  private:
    SideKind kind_;
    testing::ScriptedPlayer player_;
    ComputerSeat computer_;
};

// Plays one game on s (railway, fares and regions loaded; visited as the histories
// stand): a new game in s.playArea with the two sides, then turns until the results or
// maxTurns (both players' turns counted).
// With `remote`, player 2 plays at the other end of its connection.
inline GameResult playGame(GameState& s, SimScreens& screens, Rng& rng, Clock& clock, int maxTurns,
                           const GameObserver& observer = {}, const Sides& sides = {},
                           RemoteSide* remote = nullptr, RecordWriter* record = nullptr,
                           bool freshRecord = false) {
    s.shortMode = sides.normalMode ? False : True;
    screens.modelRides = sides.normalMode;
    s.comOpponent = True;
    s.resumeGame = False;
    Game g{s, remote ? remote->presenter() : screens, rng, clock};
    SideSeat side1(sides.p1), side2(sides.p2);
    g.seats = {&side1.seat(), remote ? &remote->join(g) : &side2.seat()};
    struct Leave {
        RemoteSide* r;
        ~Leave() {
            if (r) r->leave();
        }
    } leave{remote};
    GameResult r;
    detail::ForwardingLog log(observer, r.turns);
    g.eventLog = &log;

    if (record) {
        auto seatName = [](SideKind k) -> std::string {
            return k == SideKind::Script ? "script" : "com:" + std::string(strengthCaption(strengthOf(k)));
        };
        record->start(s, {seatName(sides.p1), remote ? "net" : seatName(sides.p2)},
                      {g.seat(0).betsOnRaces(), g.seat(1).betsOnRaces()}, freshRecord);
        g.record = record;
    }
    setupNewGame(s, rng, clock);
    drawDestinations(s, rng, clock);
    if (record) record->board(s);
    buildEventTables(s);
    showBoard(g);
    if (observer.onStart) observer.onStart(g);
    double counted = screens.seconds;

    // One turn of the seat to move, through the turn loop; false when nobody plays it.
    auto playTurn = [&]() {
        const bool bets = g.seat(s.curPlayer).betsOnRaces();
        const SideSeat& side = s.curPlayer == 0 ? side1 : side2;
        const bool fromRemote = remote && s.curPlayer == 1;
        TurnReport rep;
        rep.start = turnStart(s);
        const size_t firstMessage = screens.messages.size();
        ++r.turns;  // events of the turn are reported with its number
        if (!(fromRemote ? remote->playTurn(g) : playSeatTurn(g))) {
            --r.turns;
            return false;
        }
        rep.turn = fromRemote ? remote->last() : side.last();
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
            if (bets && isRaceCourse(mark))
                ++r.raceDays;
            else if (!g.ended)
                ++r.eventDraws;
        }
        rep.messages = screens.since(firstMessage);
        rep.money = s.playerMoney[p];
        rep.points = s.playerPoint[p];
        // One second of the windows is one tick of the board's clock.
        while (screens.seconds - counted >= 1.0) {
            apply(g, Command::clockTick(s.curPlayer));
            counted += 1.0;
        }
        if (observer.onTurn) observer.onTurn(g, r.turns, rep);
        return true;
    };

    while (!g.ended && r.turns < maxTurns)
        if (!playTurn()) break;
    r.ended = g.ended;
    return r;
}

}  // namespace kisharin::sim

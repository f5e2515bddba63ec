#include "turns/computer.h"

#include <cstdlib>

#include "board/line_display.h"
#include "turns/command.h"
#include "turns/events.h"
#include "turns/race.h"
#include "turns/turn.h"

namespace kisharin {

int computerKind(const GameState& s, int selected, int d, Long money) {
    if (d < 1) return 0;
    const auto fare = [&](int kind) { return static_cast<long long>(s.kindFare[kind]); };
    const long long m = money;
    if (selected == 4) return m < fare(4) * d && m < fare(4) * 6 ? 0 : 4;
    if (selected == 5) return m < kPlaneMoneyFloor ? 0 : 5;
    if (d <= 5) return m < fare(1) * d ? 0 : 1;
    if (d <= 11) return m < fare(2) * d ? 0 : 2;
    return m < fare(3) * d && m < fare(3) * 18 ? 0 : 3;
}

namespace {

class Turn {
  public:
    Turn(Game& g, bool pauses) : g_(g), s_(g.s), pauses_(pauses), p_(g.s.curPlayer) {}

    ComputerTurn play() {
        int count = s_.routeCount;
        // No open destination can be reached from here: earn money; an event or the
        // other player's arrivals may change that.
        if (count < 1 || static_cast<int>(s_.routeList.size()) < count) return pauseThenWork();
        if (count == 1) return claim();
        pause();

        // Change lines as long as the route changes lines at the player's station: a
        // walk between two stations of one place is a second change at the same spot.
        while (true) {
            const RoutePoint& last = point(count);
            const RoutePoint& next = point(count - 1);
            if (last.pos != s_.playerEki[p_] || next.line == last.line) break;
            const Station here{s_.playerRosen[p_], s_.playerEki[p_]};
            if (!apply(g_, Command::changeLine(p_, here, {next.line, next.pos}))) return work();
            if (s_.playerRosen[p_] != next.line || s_.playerEki[p_] != next.pos) return work();
            t_.transfers.push_back({next.line, next.pos});
            // The new line is on the board while the computer pauses.
            g_.screens.refreshBoard(s_);
            --count;
            if (count == 1) return claim();
        }

        const RoutePoint& next = point(count - 1);
        const int e = s_.playerEki[p_];
        if (next.line != s_.playerRosen[p_]) return work();
        const int d = std::abs(next.pos - e);
        t_.distance = d;
        const int kind = computerKind(s_, s_.selKind, d, s_.playerMoney[p_]);
        if (kind == 0) return work();
        if (kind <= 3) apply(g_, Command::chooseKind(p_, kind));
        g_.screens.refreshBoard(s_);  // the kind chosen is on the board during the pause

        pause();
        apply(g_, Command::roll(p_));
        if (s_.susumuSteps <= 0 || s_.turnPhase != TurnPhase::Rolled) return work();  // no money for it
        t_.kind = s_.selKind;
        t_.steps = s_.susumuSteps;
        const int factor = stepFactor(t_.kind);
        t_.die = factor ? t_.steps / factor : t_.steps;
        t_.target = d > t_.steps ? (next.pos > e ? e + t_.steps : e - t_.steps) : next.pos;

        スクロール位置決め(s_, g_.line, t_.target);
        if (t_.target >= 1 && t_.target <= g_.line.stationCount())
            g_.line.station(t_.target).fill = kColorReachable;
        g_.screens.refreshBoard(s_);
        pause();
        t_.action = ComputerTurn::Action::Move;
        click(t_.target);
        return t_;
    }

  private:
    // Route point i, counted from 1 at the destination.
    const RoutePoint& point(int i) const { return s_.routeList[static_cast<size_t>(i - 1)]; }

    void pause() {
        if (pauses_) 間(g_);
    }

    ComputerTurn pauseThenWork() {
        pause();
        return work();
    }

    ComputerTurn work() {
        t_.action = ComputerTurn::Action::Work;
        apply(g_, Command::work(p_));
        return t_;
    }

    // The player stands on the destination: clicking the own station claims it.
    ComputerTurn claim() {
        pause();
        t_.action = ComputerTurn::Action::Claim;
        t_.target = s_.playerEki[p_];
        click(t_.target);
        return t_;
    }

    // A station click that did not end the move (nothing to claim, nothing in reach)
    // would leave the turn hanging: the computer works instead.
    void click(int station) {
        s_.moveDone = False;
        if (apply(g_, Command::ride(p_, {s_.playerRosen[p_], station})) && (s_.moveDone || g_.ended)) return;
        resetForNextRoll(g_);
        g_.screens.refreshBoard(s_);
        work();
    }

    Game& g_;
    GameState& s_;
    const bool pauses_;
    const int p_;
    ComputerTurn t_;
};

}  // namespace

ComputerTurn playComputerRules(Game& g, bool pauses) {
    return Turn(g, pauses).play();
}

ComputerTurn コンピュータ(Game& g) {
    return playComputerRules(g, true);
}

void ComputerSeat::playTurn(Game& g) {
    last = コンピュータ(g);
}

void ComputerSeat::answerWarp(Game& g, int region, const std::string&, const std::string&) {
    const GameState& s = g.s;
    apply(g, Command::answerWarp(s.curPlayer, routeLength(s) > 40 && !s.mokutekitiDone[region]));
}

void ComputerSeat::answerGod(Game& g) {
    const GameState& s = g.s;
    std::string pref;
    if (routeLength(s) > 25) {
        bool anyOpen = false;
        for (int d = 1; d <= kDestinationCount; ++d) anyOpen = anyOpen || !s.mokutekitiDone[d];
        if (anyOpen) {
            int d;
            do d = g.rng.pick(kDestinationCount);
            while (s.mokutekitiDone[d]);
            pref = s.ekiPref(s.mokutekitiRosen[d], s.mokutekitiEki[d]);
        }
    }
    apply(g, Command::answerGod(s.curPlayer, pref));
}

void ComputerSeat::runBet(Game& g, Race&) {
    apply(g, Command::declineBet(g.s.curPlayer));
}

}  // namespace kisharin

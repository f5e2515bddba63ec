#include "turns/simple_policy.h"

#include <cstdlib>

#include "board/line_display.h"
#include "turns/boarding.h"
#include "turns/money.h"
#include "turns/turn.h"

namespace kisharin {

namespace {

// The transfer label of the player's station that leads to (line, pos), or 0.
int transferLabelTo(const GameState& s, int line, int pos) {
    for (int k = 1; k < s.norikaeCount; ++k)
        if (s.norikaeList(k, 0) == line && s.norikaeList(k, 1) == pos &&
            s.norikaeList(k, 2) == s.playerEki[s.curPlayer])
            return k;
    return 0;
}

// The kind to take for d stations to the next point, or 0 to work instead.
int chooseKind(const GameState& s, int d) {
    const Long money = s.playerMoney[s.curPlayer];
    const int sel = s.selKind;
    if (sel == 4) return money < s.kindFare[4] * d && money < s.kindFare[4] * 6 ? 0 : 4;
    if (sel == 5) return money < 40000 ? 0 : 5;
    if (d <= 5) return money < s.kindFare[1] * d ? 0 : 1;
    if (d <= 11) return money < s.kindFare[2] * d ? 0 : 2;
    return money < s.kindFare[3] * d && money < s.kindFare[3] * 18 ? 0 : 3;
}

void work(Game& g, PolicyTurn& t) {
    t.action = PolicyTurn::Action::Work;
    cmdWork_Click(g);
}

void claim(Game& g, PolicyTurn& t, bool pause) {
    if (pause) 間(g);
    t.action = PolicyTurn::Action::Claim;
    t.target = g.s.playerEki[g.s.curPlayer];
    lblEki_Click(g, t.target);
}

}  // namespace

PolicyTurn playSimpleTurn(Game& g, bool pause) {
    GameState& s = g.s;
    PolicyTurn t;
    t.kind = s.selKind;
    const int p = s.curPlayer;
    int count = s.routeCount;
    // No destination can be reached from here: earn money and wait for the network to
    // change (an event may carry the player elsewhere).
    if (count <= 0 || static_cast<int>(s.routeList.size()) < count) {
        work(g, t);
        return t;
    }
    if (count == 1) {
        claim(g, t, pause);
        return t;
    }
    if (pause) 間(g);

    // Change lines for as long as the route changes lines at the player's station.
    while (count >= 2) {
        const RoutePoint& last = s.routeList[static_cast<size_t>(count - 1)];
        const RoutePoint& next = s.routeList[static_cast<size_t>(count - 2)];
        if (last.pos != s.playerEki[p] || next.line == last.line) break;
        const int k = transferLabelTo(s, next.line, next.pos);
        if (k == 0) break;
        lblNorikae_Click(g, k);
        t.transfers.push_back({s.playerRosen[p], s.playerEki[p]});
        --count;
        if (count == 1) {
            claim(g, t, pause);
            return t;
        }
    }

    const RoutePoint& next = s.routeList[static_cast<size_t>(count - 2)];
    const int e = s.playerEki[p];
    const int d = std::abs(next.pos - e);
    const int kind = next.line == s.playerRosen[p] && d > 0 ? chooseKind(s, d) : 0;
    if (kind == 0) {
        work(g, t);
        return t;
    }
    if (kind <= 3) optKind_Click(g, kind);
    t.kind = kind;
    if (pause) 間(g);
    cmdSusumu_Click(g);
    if (s.susumuSteps <= 0) {
        work(g, t);
        return t;
    }
    t.steps = s.susumuSteps;
    const int factor = stepFactor(kind);
    t.die = factor ? t.steps / factor : t.steps;
    t.target = d > t.steps ? (next.pos > e ? e + t.steps : e - t.steps) : next.pos;
    スクロール位置決め(g, t.target);
    if (t.target >= 1 && t.target <= g.line.stationCount()) g.line.station(t.target).fill = kColorReachable;
    if (pause) 間(g);
    t.action = PolicyTurn::Action::Move;
    lblEki_Click(g, t.target);
    return t;
}

}  // namespace kisharin

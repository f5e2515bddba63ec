#include "turns/strong_route.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <queue>

#include "board/route.h"
#include "board/route_graph.h"
#include "turns/boarding.h"

namespace kisharin {

namespace {

// What the search keeps between turns: the lines' kinds for the graph it was made for,
// and its tables, reused.
struct Scratch {
    std::uint64_t graph = 0;
    std::vector<signed char> forced;  // per line: 0, 4 (新幹線) or 5 (飛行機)
    std::vector<double> dist;
    std::vector<std::int32_t> pred;
    std::vector<char> done;
};

double turnsPerStation(int forced, double perYen, const GameState& s) {
    if (forced == 5) return kTurnsPerFlight + perYen * static_cast<double>(s.kindFare[5]);
    if (forced == 4) return kTurnsPerShinkansenStation + perYen * static_cast<double>(s.kindFare[4]);
    return kTurnsPerOrdinaryStation + perYen * static_cast<double>(s.kindFare[2]);
}

}  // namespace

std::vector<RoutePoint> strongRoute(const GameState& s, Long money) {
    const int p = s.curPlayer;
    std::shared_ptr<const RouteGraph> own;
    const RouteGraph* g = &searchGraph(s, own);
    const int startLine = s.playerRosen[p], startPos = s.playerEki[p];
    if (!g->isStation(startLine, startPos)) return {};

    thread_local Scratch w;
    if (w.graph != g->serial() || w.forced.size() != static_cast<size_t>(g->lines()) + 1) {
        w.graph = g->serial();
        w.forced.assign(static_cast<size_t>(g->lines()) + 1, 0);
        for (int line = 1; line <= g->lines(); ++line)
            w.forced[static_cast<size_t>(line)] = static_cast<signed char>(forcedKind(s, line));
    }
    const size_t n = static_cast<size_t>(g->size());
    w.dist.assign(n, -1);
    w.pred.assign(n, -1);
    w.done.assign(n, 0);

    // The open destinations, and the lines they lie on (stops of the walk along a line).
    std::vector<Station> pending;
    for (int d = 1; d <= kDestinationCount; ++d)
        if (!s.mokutekitiDone[d] && g->isStation(s.mokutekitiRosen[d], s.mokutekitiEki[d]))
            pending.push_back({s.mokutekitiRosen[d], s.mokutekitiEki[d]});
    if (pending.empty()) return {};
    const auto isPending = [&](int node) {
        for (const Station& d : pending)
            if (g->node(d.line, d.pos) == node) return true;
        return false;
    };

    const double perYen = money >= kStrongRichMoney ? kTurnsPerYenRich : kTurnsPerYenPoor;
    using Item = std::pair<double, std::int32_t>;
    std::priority_queue<Item, std::vector<Item>, std::greater<>> frontier;
    const auto relax = [&](int to, double cost, int from) {
        double& d = w.dist[static_cast<size_t>(to)];
        if (w.done[static_cast<size_t>(to)] || (d >= 0 && d <= cost)) return;
        d = cost;
        w.pred[static_cast<size_t>(to)] = from;
        frontier.push({cost, to});
    };
    const int start = g->node(startLine, startPos);
    relax(start, 0, -1);
    int goal = -1;
    while (!frontier.empty()) {
        const auto [cost, node] = frontier.top();
        frontier.pop();
        if (w.done[static_cast<size_t>(node)] || cost > w.dist[static_cast<size_t>(node)]) continue;
        w.done[static_cast<size_t>(node)] = 1;
        if (isPending(node)) {
            goal = node;
            break;
        }
        const int line = g->lineOf(node), pos = g->posOf(node);
        const double step = turnsPerStation(w.forced[static_cast<size_t>(line)], perYen, s);
        int below = g->linkBelow(node), above = g->linkAbove(node);
        stopAtDestinations(pending, line, pos, below, above);
        if (below > 0) relax(node - (pos - below), cost + step * (pos - below), node);
        if (above > 0) relax(node + (above - pos), cost + step * (above - pos), node);
        for (const std::int32_t to : g->linksOf(node)) relax(to, cost + kTurnsPerChange, node);
    }
    if (goal < 0) return {};

    // Its length in stations, as the game's route counts it.
    return routeOfWalk(*g, goal, [&](int node) { return w.pred[static_cast<size_t>(node)]; });
}

}  // namespace kisharin

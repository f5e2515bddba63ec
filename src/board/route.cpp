#include "board/route.h"

#include <cstdint>
#include <queue>
#include <vector>

#include "state/railway.h"

namespace kisharin {

namespace {

constexpr int kNodeSlots = kLineSlots * kPositionSlots;

constexpr int nodeOf(int line, int pos) {
    return line * kPositionSlots + pos;
}

// Per-node bookkeeping of one search. The stamp tells which search an entry belongs
// to, so that the tables need no clearing between searches.
struct SearchScratch {
    std::vector<std::uint32_t> stamp = std::vector<std::uint32_t>(kNodeSlots, 0);
    std::vector<std::uint8_t> settled = std::vector<std::uint8_t>(kNodeSlots, 0);
    std::vector<Long> dist = std::vector<Long>(kNodeSlots, 0);
    std::vector<std::uint32_t> entry = std::vector<std::uint32_t>(kNodeSlots, 0);  // order of entry
    std::vector<int> pred = std::vector<int>(kNodeSlots, -1);
    std::vector<std::uint32_t> destStamp = std::vector<std::uint32_t>(kNodeSlots, 0);
    std::vector<std::uint32_t> countStamp = std::vector<std::uint32_t>(kLineSlots, 0);
    std::vector<int> stations = std::vector<int>(kLineSlots, 0);  // stations of a line, once per search
    std::uint32_t current = 0;
};

struct FrontierItem {
    Long dist;
    std::uint32_t entry;
    int node;
    // std::priority_queue keeps the largest on top: "larger" means farther or later.
    bool operator<(const FrontierItem& o) const {
        if (dist != o.dist) return dist > o.dist;
        return entry > o.entry;
    }
};

class Search {
  public:
    Search(const GameState& s, SearchScratch& w) : s_(s), w_(w) {
        if (++w_.current == 0) {  // the stamp wrapped round: start the tables afresh
            std::fill(w_.stamp.begin(), w_.stamp.end(), 0);
            std::fill(w_.destStamp.begin(), w_.destStamp.end(), 0);
            std::fill(w_.countStamp.begin(), w_.countStamp.end(), 0);
            w_.current = 1;
        }
        lines_ = lineCount(s);
        for (int d = 1; d <= kDestinationCount; ++d) {
            const int line = s.mokutekitiRosen[d], pos = s.mokutekitiEki[d];
            if (RailTable<bool>::inRange(line, pos)) w_.destStamp[nodeOf(line, pos)] = w_.current;
        }
    }

    // The goal node, or -1 when no pending destination can be reached.
    int run(int startLine, int startPos) {
        const int start = nodeOf(startLine, startPos);
        touch(start);
        w_.settled[start] = 1;
        w_.dist[start] = 0;
        w_.pred[start] = -1;
        int n = start;
        for (;;) {
            if (isPendingDestination(n)) return n;
            expand(n);
            n = nextNode();
            if (n < 0) return -1;
            w_.settled[n] = 1;
        }
    }

    Long dist(int node) const { return w_.dist[node]; }
    int pred(int node) const { return w_.pred[node]; }

  private:
    bool isPendingDestination(int node) const {
        const int line = node / kPositionSlots, pos = node % kPositionSlots;
        for (int d = 1; d <= kDestinationCount; ++d)
            if (s_.mokutekitiRosen[d] == line && s_.mokutekitiEki[d] == pos && !s_.mokutekitiDone[d])
                return true;
        return false;
    }

    // A station the walk along a line stops at: a destination or a transfer point.
    bool isStop(int line, int pos) const {
        return w_.destStamp[nodeOf(line, pos)] == w_.current || !s_.ekiLink(line, pos).empty();
    }

    int stationsOf(int line) {
        if (w_.countStamp[line] != w_.current) {
            w_.countStamp[line] = w_.current;
            w_.stations[line] = stationCount(s_, line);
        }
        return w_.stations[line];
    }

    // The same test as isStation, with the counts of this search.
    bool isStationHere(int line, int pos) {
        return line >= 1 && line <= lines_ && pos >= 1 && pos <= stationsOf(line);
    }

    void touch(int node) {
        if (w_.stamp[node] != w_.current) {
            w_.stamp[node] = w_.current;
            w_.settled[node] = 0;
            w_.entry[node] = 0;  // 0: not in the frontier
        }
    }

    void relax(int node, Long dist, int from) {
        touch(node);
        if (w_.settled[node]) return;
        if (w_.entry[node] != 0 && dist >= w_.dist[node]) return;
        w_.dist[node] = dist;
        w_.pred[node] = from;
        w_.entry[node] = ++entries_;
        frontier_.push({dist, entries_, node});
    }

    void expand(int node) {
        const int line = node / kPositionSlots, pos = node % kPositionSlots;
        const Long base = w_.dist[node];
        const int n = stationsOf(line);
        for (int p = pos - 1; p >= 1; --p)
            if (isStop(line, p)) {
                relax(nodeOf(line, p), base + (pos - p), node);
                break;
            }
        for (int p = pos + 1; p <= n; ++p)
            if (isStop(line, p)) {
                relax(nodeOf(line, p), base + (p - pos), node);
                break;
            }
        for (const Link& l : parseLinks(s_.ekiLink(line, pos)))
            if (isStationHere(l.line, l.pos)) relax(nodeOf(l.line, l.pos), base + 1, node);
    }

    int nextNode() {
        while (!frontier_.empty()) {
            const FrontierItem top = frontier_.top();
            frontier_.pop();
            // Entries left behind by an improvement, or of nodes already settled, are stale.
            if (w_.settled[top.node] || w_.entry[top.node] != top.entry) continue;
            return top.node;
        }
        return -1;
    }

    const GameState& s_;
    SearchScratch& w_;
    std::priority_queue<FrontierItem> frontier_;
    std::uint32_t entries_ = 0;
    int lines_ = 0;
};

}  // namespace

std::string routeKey(int line, int pos) {
    return "P" + std::to_string(line) + "-" + std::to_string(pos);
}

void 道のり(GameState& s) {
    s.routeList.clear();
    s.routeCount = 0;
    const int p = s.curPlayer;
    const int startLine = s.playerRosen[p], startPos = s.playerEki[p];
    if (!isStation(s, startLine, startPos)) return;

    thread_local SearchScratch scratch;
    Search search(s, scratch);
    const int goal = search.run(startLine, startPos);
    if (goal < 0) return;

    const Long total = search.dist(goal);
    const std::string key = routeKey(goal / kPositionSlots, goal % kPositionSlots);
    std::vector<RoutePoint> route;
    for (int n = goal; n >= 0; n = search.pred(n))
        route.push_back(
            {static_cast<Integer>(n / kPositionSlots), static_cast<Integer>(n % kPositionSlots), total, key});

    // Of three consecutive points on one line the middle one goes, from the start end on.
    for (size_t k = route.size(); k >= 3; --k)
        if (route[k - 3].line == route[k - 2].line && route[k - 2].line == route[k - 1].line)
            route.erase(route.begin() + static_cast<std::ptrdiff_t>(k - 2));

    s.routeList = std::move(route);
    s.routeCount = static_cast<Integer>(s.routeList.size());
}

}  // namespace kisharin

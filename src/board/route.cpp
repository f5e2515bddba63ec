#include "board/route.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "board/route_graph.h"
#include "state/railway.h"

namespace kisharin {

namespace {

struct FrontierItem {
    std::uint32_t entry;
    std::int32_t node;
};

// Every edge costs 1 to 99 stations, so every distance in the frontier lies within 99 of
// the nearest one: a ring of 128 buckets by distance holds the frontier. Each bucket is
// filled in order of entry, so taking buckets from the front gives the nearest record
// and, between equal distances, the one that entered first.
constexpr int kBuckets = 128;
constexpr int kLongestEdge = kMaxPosition - 1;
static_assert(kLongestEdge < kBuckets);

struct Bucket {
    std::vector<FrontierItem> items;
    size_t head = 0;
};

// What one search knows of a station. The stamp tells which search the entry belongs
// to, so that the table needs no clearing between searches.
struct NodeState {
    std::uint32_t stamp = 0;
    std::uint32_t entry = 0;  // order of entry into the frontier; 0: not in it
    Long dist = 0;
    std::int32_t pred = -1;
    bool settled = false;
};

// For every station, the fewest stations (and changes of line) from it to a pending
// destination, walking the network one station at a time; kInfinite when none can be
// reached. It depends only on the graph and the pending destinations, which change a few
// times a game, so it is kept until they change.
constexpr std::int32_t kInfinite = INT32_MAX / 2;

struct Remaining {
    std::uint64_t graph = 0;  // serial of the graph it was made for; 0: none yet
    std::array<std::int32_t, kDestinationCount> pending{};
    int pendingCount = -1;
    std::vector<std::int32_t> dist;
    std::vector<std::int32_t> queue;

    // Breadth first from the pending destinations, along the links backwards: every
    // step, to the next station on a line or over a link, costs one.
    void compute(const RouteGraph& g, const std::array<std::int32_t, kDestinationCount>& from, int count) {
        graph = g.serial();
        pending = from;
        pendingCount = count;
        dist.assign(static_cast<size_t>(g.size()), kInfinite);
        queue.clear();
        for (int i = 0; i < count; ++i) {
            const std::int32_t n = from[static_cast<size_t>(i)];
            if (dist[static_cast<size_t>(n)] == 0) continue;
            dist[static_cast<size_t>(n)] = 0;
            queue.push_back(n);
        }
        for (size_t head = 0; head < queue.size(); ++head) {
            const std::int32_t y = queue[head];
            const std::int32_t next = dist[static_cast<size_t>(y)] + 1;
            auto reach = [&](std::int32_t x) {
                if (dist[static_cast<size_t>(x)] != kInfinite) return;
                dist[static_cast<size_t>(x)] = next;
                queue.push_back(x);
            };
            const int line = g.lineOf(y), pos = g.posOf(y);
            if (pos > 1) reach(y - 1);
            if (pos < g.stations(line)) reach(y + 1);
            for (const std::int32_t x : g.linkedFrom(y)) reach(x);
        }
    }

    bool isFor(const RouteGraph& g, const std::array<std::int32_t, kDestinationCount>& from,
               int count) const {
        return graph == g.serial() && pendingCount == count && pending == from;
    }
};

struct SearchScratch {
    Remaining remaining;
    std::vector<NodeState> nodes;
    std::array<Bucket, kBuckets> frontier;  // kept between searches for its memory
    std::uint32_t current = 0;
};

class Search {
  public:
    Search(const GameState& s, const RouteGraph& g, SearchScratch& w) : g_(g), w_(w) {
        if (w_.nodes.size() < static_cast<size_t>(g.size())) w_.nodes.resize(static_cast<size_t>(g.size()));
        if (++w_.current == 0) {  // the stamp wrapped round: start the table afresh
            for (NodeState& n : w_.nodes) n.stamp = 0;
            w_.current = 1;
        }
        for (Bucket& b : w_.frontier) {
            b.items.clear();
            b.head = 0;
        }
        for (int d = 1; d <= kDestinationCount; ++d) {
            const int line = s.mokutekitiRosen[d], pos = s.mokutekitiEki[d];
            if (!g_.isStation(line, pos)) continue;
            // Destinations, reached or not, are stops of the walk along their line.
            destinations_[destinationCount_++] = {line, pos};
            destinationLines_.set(static_cast<size_t>(line));
            if (!s.mokutekitiDone[d]) pending_[pendingCount_++] = g_.node(line, pos);
        }
        std::sort(pending_.begin(), pending_.begin() + pendingCount_);
        if (!w_.remaining.isFor(g_, pending_, pendingCount_))
            w_.remaining.compute(g_, pending_, pendingCount_);
    }

    // The goal node, or -1 when no pending destination can be reached.
    int run(int startLine, int startPos) {
        const int start = g_.node(startLine, startPos);
        // The goal lies this far away. A station from which no route of that length
        // leads on to a pending destination is on no shortest route, and leaving it out
        // changes neither the order in which the others are settled nor their
        // predecessors: they are never entered into the frontier.
        bound_ = w_.remaining.dist[static_cast<size_t>(start)];
        if (bound_ >= kInfinite) return -1;
        NodeState& first = touch(start);
        first.settled = true;
        first.dist = 0;
        first.pred = -1;
        int n = start;
        for (;;) {
            if (isPendingDestination(n)) return n;
            expand(n);
            n = nextNode();
            if (n < 0) return -1;
            state(n).settled = true;
        }
    }

    Long dist(int node) const { return w_.nodes[static_cast<size_t>(node)].dist; }
    int pred(int node) const { return w_.nodes[static_cast<size_t>(node)].pred; }

  private:
    NodeState& state(int node) { return w_.nodes[static_cast<size_t>(node)]; }

    bool isPendingDestination(int node) const {
        for (int i = 0; i < pendingCount_; ++i)
            if (pending_[static_cast<size_t>(i)] == node) return true;
        return false;
    }

    NodeState& touch(int node) {
        NodeState& n = state(node);
        if (n.stamp != w_.current) {
            n.stamp = w_.current;
            n.settled = false;
            n.entry = 0;
        }
        return n;
    }

    [[gnu::always_inline]] void relax(int node, Long dist, int from) {
        if (dist + w_.remaining.dist[static_cast<size_t>(node)] > bound_) return;
        NodeState& n = touch(node);
        if (n.settled) return;
        if (n.entry != 0 && dist >= n.dist) return;
        n.dist = dist;
        n.pred = from;
        n.entry = ++entries_;
        w_.frontier[static_cast<size_t>(dist % kBuckets)].items.push_back({entries_, node});
        ++waiting_;
    }

    // Edges in the order the ties need: toward position 1, toward the end, then the
    // transfers in the order of the link text.
    void expand(int node) {
        const int line = g_.lineOf(node), pos = g_.posOf(node);
        const Long base = state(node).dist;
        int below = g_.linkBelow(node);
        int above = g_.linkAbove(node);
        if (destinationLines_.test(static_cast<size_t>(line)))
            stopAtDestinations(std::span(destinations_.data(), static_cast<size_t>(destinationCount_)), line,
                               pos, below, above);
        if (below > 0) relax(node - (pos - below), base + (pos - below), node);
        if (above > 0) relax(node + (above - pos), base + (above - pos), node);
        for (const std::int32_t target : g_.linksOf(node)) relax(target, base + 1, node);
    }

    int nextNode() {
        while (waiting_ > 0) {
            Bucket& b = w_.frontier[static_cast<size_t>(nearest_ % kBuckets)];
            if (b.head == b.items.size()) {
                b.items.clear();
                b.head = 0;
                ++nearest_;
                continue;
            }
            const FrontierItem top = b.items[b.head++];
            --waiting_;
            // Entries left behind by an improvement, or of nodes already settled, are stale.
            const NodeState& n = state(top.node);
            if (n.settled || n.entry != top.entry) continue;
            return top.node;
        }
        return -1;
    }

    const RouteGraph& g_;
    SearchScratch& w_;
    std::array<Station, kDestinationCount> destinations_{};
    std::bitset<kLineSlots> destinationLines_;
    int destinationCount_ = 0;
    std::array<std::int32_t, kDestinationCount> pending_{};
    int pendingCount_ = 0;
    std::uint32_t entries_ = 0;
    Long bound_ = 0;      // length of the route to the goal
    Long nearest_ = 0;    // distance of the bucket taken from
    size_t waiting_ = 0;  // records in the buckets, stale ones included
};

}  // namespace

std::string routeKey(int line, int pos) {
    return "P" + std::to_string(line) + "-" + std::to_string(pos);
}

const RouteGraph& searchGraph(const GameState& s, std::shared_ptr<const RouteGraph>& own) {
    if (s.routeGraph) return *s.routeGraph;
    own = buildRouteGraph(s);
    return *own;
}

std::vector<RoutePoint> routeOfWalk(const RouteGraph& g, int goal, const std::function<int(int)>& pred,
                                    std::optional<Long> length) {
    std::vector<RoutePoint> route;
    for (int n = goal; n >= 0; n = pred(n))
        route.push_back({static_cast<Integer>(g.lineOf(n)), static_cast<Integer>(g.posOf(n)), 0, {}});
    // Of three consecutive points on one line the middle one goes, from the start end on.
    for (size_t k = route.size(); k >= 3; --k)
        if (route[k - 3].line == route[k - 2].line && route[k - 2].line == route[k - 1].line)
            route.erase(route.begin() + static_cast<std::ptrdiff_t>(k - 2));
    if (!length) {
        length = 0;
        for (size_t k = 1; k < route.size(); ++k)
            *length += route[k].line == route[k - 1].line ? std::abs(route[k].pos - route[k - 1].pos) : 1;
    }
    const std::string key = routeKey(g.lineOf(goal), g.posOf(goal));
    for (RoutePoint& r : route) {
        r.distance = *length;
        r.key = key;
    }
    return route;
}

void 道のり(GameState& s) {
    s.routeList.clear();
    s.routeCount = 0;
    const int p = s.curPlayer;
    const int startLine = s.playerRosen[p], startPos = s.playerEki[p];
    std::shared_ptr<const RouteGraph> own;
    const RouteGraph& graph = searchGraph(s, own);
    if (!graph.isStation(startLine, startPos)) return;
    thread_local SearchScratch scratch;
    Search search(s, graph, scratch);
    const int goal = search.run(startLine, startPos);
    if (goal < 0) return;
    s.routeList = routeOfWalk(
        graph, goal, [&](int n) { return search.pred(n); }, search.dist(goal));
    s.routeCount = static_cast<Integer>(s.routeList.size());
}

}  // namespace kisharin

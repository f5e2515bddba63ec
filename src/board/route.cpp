#include "board/route.h"

#include <algorithm>
#include <array>
#include <cstdint>
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

struct SearchScratch {
    std::vector<NodeState> nodes;
    std::array<Bucket, kBuckets> frontier;  // kept between searches for its memory
    std::uint32_t current = 0;
};

class Search {
  public:
    Search(const GameState& s, const RouteGraph& g, SearchScratch& w) : s_(s), g_(g), w_(w) {
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
            if (!s.mokutekitiDone[d]) pending_[pendingCount_++] = g_.node(line, pos);
        }
    }

    // The goal node, or -1 when no pending destination can be reached.
    int run(int startLine, int startPos) {
        const int start = g_.node(startLine, startPos);
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

    void relax(int node, Long dist, int from) {
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
        for (int i = 0; i < destinationCount_; ++i) {
            const Station& d = destinations_[static_cast<size_t>(i)];
            if (d.line != line) continue;
            if (d.pos < pos && d.pos > below) below = d.pos;
            if (d.pos > pos && (above == 0 || d.pos < above)) above = d.pos;
        }
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

    const GameState& s_;
    const RouteGraph& g_;
    SearchScratch& w_;
    std::array<Station, kDestinationCount> destinations_{};
    int destinationCount_ = 0;
    std::array<int, kDestinationCount> pending_{};
    int pendingCount_ = 0;
    std::uint32_t entries_ = 0;
    Long nearest_ = 0;    // distance of the bucket taken from
    size_t waiting_ = 0;  // records in the buckets, stale ones included
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
    // Railway tables without a graph (built by hand, not read from the station file) get
    // one for this search alone.
    std::shared_ptr<const RouteGraph> own;
    const RouteGraph* graph = s.routeGraph.get();
    if (!graph) {
        own = buildRouteGraph(s);
        graph = own.get();
    }
    if (!graph->isStation(startLine, startPos)) return;
    thread_local SearchScratch scratch;
    Search search(s, *graph, scratch);
    const int goal = search.run(startLine, startPos);
    if (goal < 0) return;

    const Long total = search.dist(goal);
    const std::string key = routeKey(graph->lineOf(goal), graph->posOf(goal));
    std::vector<RoutePoint> route;
    for (int n = goal; n >= 0; n = search.pred(n))
        route.push_back(
            {static_cast<Integer>(graph->lineOf(n)), static_cast<Integer>(graph->posOf(n)), total, key});

    // Of three consecutive points on one line the middle one goes, from the start end on.
    for (size_t k = route.size(); k >= 3; --k)
        if (route[k - 3].line == route[k - 2].line && route[k - 2].line == route[k - 1].line)
            route.erase(route.begin() + static_cast<std::ptrdiff_t>(k - 2));

    s.routeList = std::move(route);
    s.routeCount = static_cast<Integer>(s.routeList.size());
}

}  // namespace kisharin

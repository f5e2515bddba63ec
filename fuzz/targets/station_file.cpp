// The station file reader on any bytes: it refuses with a message naming 駅.txt and a
// line of it, or gives tables that the game writes back and reads back the same; on
// those tables the route search over the graph finds the same routes as the plain scan.
#include <algorithm>
#include <vector>

#include "board/route.h"
#include "board/route_graph.h"
#include "board/station_file.h"
#include "fuzz_support.h"
#include "state/railway.h"
#include "support/route_linear.h"

using namespace kisharin;

namespace {

// Routes from a few starts to destinations spread over the stations, some reached.
void compareRoutes(RailwayData& d) {
    static GameState g;  // built once: a GameState is large
    std::vector<Station> stations;
    const int lines = lineCount(d);
    for (int l = 1; l <= lines; ++l)
        for (int p = 1; p <= stationCount(d, l); ++p) stations.push_back({l, p});
    if (stations.empty()) return;
    d.routeGraph = buildRouteGraph(d);
    static_cast<RailwayData&>(g) = std::move(d);
    const size_t n = stations.size();
    for (int k = 1; k <= kDestinationCount; ++k) {
        const Station& st = stations[(n * static_cast<size_t>(k) * 5) / 41 % n];
        g.mokutekitiRosen[k] = static_cast<Integer>(st.line);
        g.mokutekitiEki[k] = static_cast<Integer>(st.pos);
        g.mokutekitiDone[k] = k % 3 == 0;
    }
    for (size_t i = 0; i < std::min<size_t>(n, 4); ++i) {
        const Station& start = stations[(i * 7 + 1) % n];
        g.curPlayer = static_cast<Integer>(i % 2);
        g.playerRosen[g.curPlayer] = static_cast<Integer>(start.line);
        g.playerEki[g.curPlayer] = static_cast<Integer>(start.pos);
        道のり(g);
        const std::vector<RoutePoint> fast = g.routeList;
        const Integer fastCount = g.routeCount;
        testing::routeLinear(g);
        fuzz::require(
            fast == g.routeList && fastCount == g.routeCount,
            "the route over the graph differs from the plain scan from " + routeKey(start.line, start.pos));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes = fuzz::asBytes(data, size);
    RailwayData d;
    try {
        d = parseStationFile(bytes, "駅.txt");
    } catch (const DataError& e) {
        fuzz::checkRefusal(e, "駅.txt", fuzz::lineCountOf(bytes));
        return 0;
    }
    std::string once, twice;
    try {
        once = formatStationFile(d, "header");
        twice = formatStationFile(parseStationFile(once, "written"), "header");
    } catch (const GameError& e) {
        fuzz::fail(std::string("tables read from the file cannot be written and read back: ") + e.what());
    }
    fuzz::require(once == twice, "the file the game writes reads back differently");
    compareRoutes(d);
    return 0;
}

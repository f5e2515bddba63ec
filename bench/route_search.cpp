// The route search from every station of the railway network: median and worst time of
// one search, and how much slower the plain linear-scan search is on the same starts.
// Uses the shipped GameData/駅.txt when it is there, otherwise a generated network of
// the same size as the game's (750 lines). The graph is built once, as the board's load
// does. One search is timed on the thread's own CPU clock, so that other programs on a
// busy machine do not count.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <random>

#include "board/route.h"
#include "board/route_graph.h"
#include "board/station_file.h"
#include "state/railway.h"
#include "support/railway_builder.h"
#include "support/route_linear.h"

namespace kisharin {
namespace {

struct Network {
    GameState s;
    std::vector<Station> stations;
    bool real = false;
};

void generate(GameState& s, std::mt19937& gen) {
    const int lines = kMaxLine;
    std::vector<int> sizes(lines + 1);
    for (int l = 1; l <= lines; ++l) {
        testing::TestLine t;
        t.name = "線" + std::to_string(l);
        sizes[l] = std::uniform_int_distribution<int>(2, 40)(gen);
        for (int p = 1; p <= sizes[l]; ++p) t.stations.push_back("駅" + std::to_string(p));
        t.prefs = {"東京都"};
        testing::addLine(s, l, t);
    }
    for (int i = 0; i < 4000; ++i) {
        const int a = std::uniform_int_distribution<int>(1, lines)(gen);
        const int b = std::uniform_int_distribution<int>(1, lines)(gen);
        if (a == b) continue;
        const int pa = std::uniform_int_distribution<int>(1, sizes[a])(gen);
        const int pb = std::uniform_int_distribution<int>(1, sizes[b])(gen);
        auto link = [&](int l, int p, int tl, int tp) {
            std::string& t = s.ekiLink(l, p);
            t += (t.empty() ? "" : ";") + std::to_string(tl) + "\\" + std::to_string(tp);
        };
        link(a, pa, b, pb);
        link(b, pb, a, pa);
    }
}

Network& network() {
    static Network net = [] {
        Network n;
        std::mt19937 gen(99);
        const auto path = std::filesystem::path(KISHARIN_SHIPPED_DATA_DIR) / "GameData/駅.txt";
        if (std::filesystem::exists(path)) {
            static_cast<RailwayData&>(n.s) = readStationFile(path.string());
            n.real = true;
        } else {
            generate(n.s, gen);
        }
        n.s.routeGraph = buildRouteGraph(n.s);
        for (int l = 1; l <= lineCount(n.s); ++l)
            for (int p = 1; p <= stationCount(n.s, l); ++p) n.stations.push_back({l, p});
        // Eight destinations far apart; the first three already reached.
        for (int d = 1; d <= 8; ++d) {
            const Station st = n.stations[(n.stations.size() * static_cast<size_t>(d)) / 9];
            n.s.mokutekitiRosen[d] = static_cast<Integer>(st.line);
            n.s.mokutekitiEki[d] = static_cast<Integer>(st.pos);
            n.s.mokutekitiDone[d] = d <= 3;
        }
        return n;
    }();
    return net;
}

double threadMicros() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

template <typename Search>
double timeFrom(GameState& s, const Station& st, Search search) {
    s.playerRosen[0] = static_cast<Integer>(st.line);
    s.playerEki[0] = static_cast<Integer>(st.pos);
    const double t0 = threadMicros();
    search(s);
    const double t1 = threadMicros();
    benchmark::DoNotOptimize(s.routeCount);
    return t1 - t0;
}

// One search from every station: median and worst of the real search; the linear scan
// on every 25th start, with the ratio of the total times on those starts.
void BM_RouteFromEveryStation(benchmark::State& state) {
    Network& net = network();
    GameState& s = net.s;
    std::vector<double> heap, heapSample, linearSample;
    for (auto _ : state) {
        heap.clear();
        heapSample.clear();
        linearSample.clear();
        for (size_t i = 0; i < net.stations.size(); ++i) {
            const double t = timeFrom(s, net.stations[i], [](GameState& g) { 道のり(g); });
            heap.push_back(t);
            if (i % 25 == 0) {
                heapSample.push_back(t);
                linearSample.push_back(
                    timeFrom(s, net.stations[i], [](GameState& g) { testing::routeLinear(g); }));
            }
        }
    }
    std::sort(heap.begin(), heap.end());
    std::vector<double> lin = linearSample;
    std::sort(lin.begin(), lin.end());
    double heapSum = 0, linearSum = 0;
    for (double t : heapSample) heapSum += t;
    for (double t : linearSample) linearSum += t;
    state.counters["real_data"] = net.real ? 1 : 0;
    state.counters["stations"] = static_cast<double>(net.stations.size());
    state.counters["median_us"] = heap[heap.size() / 2];
    state.counters["worst_us"] = heap.back();
    state.counters["linear_median_us"] = lin[lin.size() / 2];
    state.counters["linear_worst_us"] = lin.back();
    state.counters["linear_to_heap"] = linearSum / heapSum;
}
BENCHMARK(BM_RouteFromEveryStation)->Iterations(1)->Unit(benchmark::kMillisecond);

// Steady throughput of the real search from a spread of starts.
void BM_RouteSearch(benchmark::State& state) {
    Network& net = network();
    size_t i = 0;
    for (auto _ : state) {
        const Station& st = net.stations[(i++ * 7919) % net.stations.size()];
        net.s.playerRosen[0] = static_cast<Integer>(st.line);
        net.s.playerEki[0] = static_cast<Integer>(st.pos);
        道のり(net.s);
        benchmark::DoNotOptimize(net.s.routeCount);
    }
}
BENCHMARK(BM_RouteSearch)->Unit(benchmark::kMicrosecond);

// The first search after a destination is reached or moved, which also measures every
// station's distance to the pending destinations anew (later searches reuse it).
void BM_RouteSearchAfterDestinationsChange(benchmark::State& state) {
    Network& net = network();
    size_t i = 0;
    for (auto _ : state) {
        const Station& st = net.stations[(i++ * 7919) % net.stations.size()];
        net.s.mokutekitiDone[4] = !net.s.mokutekitiDone[4];
        net.s.playerRosen[0] = static_cast<Integer>(st.line);
        net.s.playerEki[0] = static_cast<Integer>(st.pos);
        道のり(net.s);
        benchmark::DoNotOptimize(net.s.routeCount);
    }
    net.s.mokutekitiDone[4] = False;
}
BENCHMARK(BM_RouteSearchAfterDestinationsChange)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

}  // namespace
}  // namespace kisharin

BENCHMARK_MAIN();

// The decisions of the computer at つよい on the shipped railway: the kind of a turn (in
// short mode and with the ride window's points), the god's prefecture, and the bet with
// its trial races. Each is one decision as a turn makes it; the target is 2 ms.
#include <benchmark/benchmark.h>

#include <random>

#include "board/route.h"
#include "board/route_graph.h"
#include "board/startup.h"
#include "state/regions.h"
#include "support/fakes.h"
#include "support/railway_builder.h"
#include "turns/computer.h"
#include "turns/race.h"
#include "turns/strong_route.h"

namespace kisharin {
namespace {

GameState& shipped() {
    static GameState s = [] {
        GameState g;
        testing::ScratchDir* dir = new testing::ScratchDir;  // kept for the run
        testing::writeCp932(dir->file("履歴0.txt"), {});
        testing::writeCp932(dir->file("履歴1.txt"), {});
        g.appDir = std::string(KISHARIN_SHIPPED_DATA_DIR) + "/";
        g.historyBase = dir->path() + "履歴";
        loadBoardData(g);
        DefaultRng rng(5);
        testing::FakeClock clock;
        setupNewGame(g, rng, clock);
        drawDestinations(g, rng, clock);
        道のり(g);
        return g;
    }();
    return s;
}

void BM_StrongKind(benchmark::State& state) {
    GameState& s = shipped();
    s.shortMode = state.range(0) == 0;
    int d = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(strongKind(s, 1, d, 30000));
        d = d % 30 + 1;
    }
}
BENCHMARK(BM_StrongKind)->Arg(0)->Arg(1)->ArgNames({"ride_window"});

// The planner's own way from stations all over the shipped railway, poor and rich.
void BM_StrongRoute(benchmark::State& state) {
    GameState& s = shipped();
    const int p = s.curPlayer;
    const Station home{s.playerRosen[p], s.playerEki[p]};
    std::mt19937 gen(3);
    std::vector<Station> from;
    while (from.size() < 64) {
        const int line = std::uniform_int_distribution<int>(1, s.routeGraph->lines())(gen);
        if (s.routeGraph->stations(line) > 0) from.push_back({line, 1});
    }
    size_t i = 0;
    for (auto _ : state) {
        s.playerRosen[p] = static_cast<Integer>(from[i % from.size()].line);
        s.playerEki[p] = 1;
        benchmark::DoNotOptimize(strongRoute(s, state.range(0)));
        ++i;
    }
    s.playerRosen[p] = static_cast<Integer>(home.line);
    s.playerEki[p] = static_cast<Integer>(home.pos);
}
BENCHMARK(BM_StrongRoute)->Arg(20000)->Arg(200000)->ArgNames({"money"})->Unit(benchmark::kMicrosecond);

void BM_StrongGodPick(benchmark::State& state) {
    GameState& s = shipped();
    s.routeList = {{1, 1, 100, "k"}};
    for (auto _ : state) benchmark::DoNotOptimize(strongGodPick(s));
}
BENCHMARK(BM_StrongGodPick)->Unit(benchmark::kMicrosecond);

void BM_StrongBet(benchmark::State& state) {
    std::mt19937 gen(7);
    for (auto _ : state) {
        std::array<int, kLanes> odds{};
        for (int& o : odds) o = std::uniform_int_distribution<int>(1, 10)(gen);
        const Race race(odds);
        benchmark::DoNotOptimize(strongBet(race, 130000));
    }
}
BENCHMARK(BM_StrongBet)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kisharin

BENCHMARK_MAIN();

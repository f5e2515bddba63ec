// Whole simulated games per second: a scripted human against the computer, on the
// shipped railway (as kisharin-sim plays them: the data loaded once, every game started
// from it by assignment, the histories carried from game to game) and on a generated
// network of 8 regions (24 lines) with a shinkansen across them.
#include <benchmark/benchmark.h>

#include "../tools/sim/sim_game.h"
#include "board/startup.h"
#include "platform/data_home.h"
#include "support/fakes.h"
#include "support/railway_builder.h"

namespace {

using namespace kisharin;

void writeNetwork(const std::string& appDir) {
    std::vector<std::string> out = {"header"};
    int number = 0;
    auto record = [&](const std::string& name, const std::vector<std::string>& prefs,
                      const std::vector<std::string>& links) {
        ++number;
        std::string l = std::to_string(number), n = name, y = "よみ", p = "1\\0\\0\\0\\0\\0", m;
        for (size_t i = 0; i < prefs.size(); ++i) {
            l += "\t" + links[i];
            n += "\t" + name + "駅" + std::to_string(i + 1);
            y += "\tえき";
            p += "\t" + prefs[i];
            m += "\t";
        }
        for (const auto& s : {l, n, y, p, m}) out.push_back(s);
    };
    // Per region r: main line 3r-2 (15 stations), branches 3r-1 and 3r (8 stations) from
    // its stations 5 and 10; main lines chained end to start; line 25 the shinkansen.
    for (int r = 1; r <= 8; ++r) {
        const std::string pref = testing::kFirstPrefOfRegion[r];
        const int m = 3 * r - 2;
        std::vector<std::string> links(15);
        if (r > 1) links[0] = std::to_string(m - 3) + "\\15";
        if (r < 8) links[14] = std::to_string(m + 3) + "\\1";
        links[4] = std::to_string(m + 1) + "\\1";
        links[9] = std::to_string(m + 2) + "\\1";
        links[2] = "25\\" + std::to_string(r);
        record("本線" + std::to_string(r), std::vector<std::string>(15, pref), links);
        for (int b = 1; b <= 2; ++b) {
            std::vector<std::string> bl(8);
            bl[0] = std::to_string(m) + "\\" + std::to_string(b == 1 ? 5 : 10);
            record("支線" + std::to_string(r) + "-" + std::to_string(b), std::vector<std::string>(8, pref),
                   bl);
        }
    }
    std::vector<std::string> prefs, links;
    for (int r = 1; r <= 8; ++r)
        prefs.push_back(testing::kFirstPrefOfRegion[r]), links.push_back(std::to_string(3 * r - 2) + "\\3");
    record("列島新幹線", prefs, links);
    makeDirectories(appDir + "GameData");
    testing::writeCp932(appDir + "GameData/駅.txt", out);
}

void BM_SimulatedGames(benchmark::State& state) {
    testing::ScratchDir dir;
    writeNetwork(dir.path());
    testing::writeCp932(dir.file("履歴0.txt"), {});
    testing::writeCp932(dir.file("履歴1.txt"), {});
    GameState base;
    base.appDir = dir.path();
    base.historyBase = dir.path() + "履歴";
    loadBoardData(base);
    DefaultRng rng(1);
    long turns = 0, games = 0;
    for (auto _ : state) {
        GameState s = base;
        sim::SimScreens screens;
        sim::SimClock clock(screens, 45000.5, 1000.0 + static_cast<double>(games) * 37.0);
        const auto r = sim::playGame(s, screens, rng, clock, 5000);
        turns += r.turns;
        ++games;
        benchmark::DoNotOptimize(s.playerPoint[0]);
    }
    state.SetItemsProcessed(games);
    state.counters["turns_per_game"] = games ? static_cast<double>(turns) / static_cast<double>(games) : 0;
    state.counters["games_per_s"] =
        benchmark::Counter(static_cast<double>(games), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SimulatedGames)->Unit(benchmark::kMillisecond);

void BM_ShippedGames(benchmark::State& state) {
    testing::ScratchDir dir;
    testing::writeCp932(dir.file("履歴0.txt"), {});
    testing::writeCp932(dir.file("履歴1.txt"), {});
    GameState base;
    base.appDir = std::string(KISHARIN_SHIPPED_DATA_DIR) + "/";
    base.historyBase = dir.path() + "履歴";
    base.playerName[0] = "プレイヤー1";
    base.playerName[1] = "プレイヤー2";
    loadBoardData(base);
    DefaultRng rng(3);
    GameState s = base;
    Array1D<VisitedTable, 2> visited = base.visited;
    long turns = 0, games = 0, stuck = 0;
    for (auto _ : state) {
        s = base;
        s.visited = visited;
        sim::SimScreens screens;
        sim::SimClock clock(screens, 45000.375 + static_cast<double>(games),
                            3607.0 * static_cast<double>(games));
        const auto r = sim::playGame(s, screens, rng, clock, 5000);
        visited = s.visited;
        turns += r.turns;
        stuck += r.ended ? 0 : 1;
        ++games;
        benchmark::DoNotOptimize(s.playerPoint[0]);
    }
    state.SetItemsProcessed(games);
    state.counters["turns_per_game"] = games ? static_cast<double>(turns) / static_cast<double>(games) : 0;
    state.counters["stuck"] = static_cast<double>(stuck);
}
BENCHMARK(BM_ShippedGames)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

}  // namespace

BENCHMARK_MAIN();

// The story window's model 「対戦の記録」 of 1,000 simulated games, each from a record of its
// own: game i from seed i, over every pairing of player 1 (scripted, or the computer at each
// strength) with player 2 (the computer at each strength), in short and normal mode. Each
// story is checked against the game itself: both players' points and money after every
// turn as the simulator's game had them, and the record's own end line. The first
// difference stops the benchmark with the game and the turn. Reports the median time per
// game. KISHARIN_STORY_GAMES=N plays fewer (or more) games.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "../tools/sim/story_check.h"
#include "support/fakes.h"

namespace {

using namespace kisharin;

struct Games {
    testing::ScratchDir dir;
    std::vector<std::string> records;
    std::vector<std::vector<sim::TurnFigures>> figures;
    long turns = 0;
    Games() {
        const char* n = std::getenv("KISHARIN_STORY_GAMES");
        const int games = n ? std::max(1, std::atoi(n)) : 1000;
        for (int i = 1; i <= games; ++i) {
            records.push_back(dir.file(std::to_string(i) + ".jsonl"));
            figures.push_back(sim::writeCheckedGame(records.back(), i));
            turns += static_cast<long>(figures.back().size()) - 1;
        }
    }
};

void BM_StoriesOfAThousandGames(benchmark::State& state) {
    static const Games games;
    std::vector<double> ms;
    for (auto _ : state) {
        ms.clear();
        for (std::size_t i = 0; i < games.records.size(); ++i) {
            const auto t0 = std::chrono::steady_clock::now();
            const std::vector<Story> stories = readStories(games.records[i], shippedDataDir());
            ms.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
            const std::string wrong =
                stories.size() != 1 ? "not one story"
                                    : sim::storyMismatch(stories[0], games.figures[i], games.records[i]);
            if (!wrong.empty()) {
                std::fprintf(stderr, "bench_story_games: game %zu (seed %zu): %s\n", i + 1, i + 1,
                             wrong.c_str());
                std::exit(1);
            }
        }
    }
    std::sort(ms.begin(), ms.end());
    state.counters["games"] = static_cast<double>(ms.size());
    state.counters["turns"] = static_cast<double>(games.turns);
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["p90_ms"] = ms[ms.size() * 9 / 10];
    state.counters["max_ms"] = ms.back();
}
BENCHMARK(BM_StoriesOfAThousandGames)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();

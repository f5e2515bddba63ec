// The story window's model 「対戦の記録」: telling every game of a big simulator record (the
// record played again, watched turn by turn), and one game of 200 turns, which the story
// window must open within 100 ms. Run with --benchmark_repetitions for the median.
#include <benchmark/benchmark.h>

#include "../tools/sim/sim_record.h"
#include "record/story.h"
#include "support/fakes.h"

namespace {

using namespace kisharin;

struct Records {
    testing::ScratchDir dir;
    std::string all = dir.file("all.jsonl"), long200 = dir.file("200.jsonl");
    int games = 0, turns = 0;
    Records() {
        for (int t : sim::writeSimRecord(all, 17, 24)) {
            ++games;
            turns += t;
        }
        // A game stopped at its 200th turn (the first seed whose game lasts that long).
        for (double seed = 1;; ++seed)
            if (sim::writeSimRecord(long200, seed, 1, 200,
                                    {sim::SideKind::Weak, sim::SideKind::Weak, false})[0] == 200)
                break;
    }
};

const Records& records() {
    static const Records r;
    return r;
}

void BM_StoryOfAllGamesOfARecord(benchmark::State& state) {
    const Records& r = records();
    for (auto _ : state) {
        const std::vector<Story> stories = readStories(r.all, shippedDataDir());
        benchmark::DoNotOptimize(stories.data());
    }
    state.counters["games"] = r.games;
    state.counters["turns"] = r.turns;
}
BENCHMARK(BM_StoryOfAllGamesOfARecord)->Unit(benchmark::kMillisecond);

void BM_StoryOfA200TurnGame(benchmark::State& state) {
    const Records& r = records();
    for (auto _ : state) {
        const std::vector<Story> stories = readStories(r.long200, shippedDataDir());
        benchmark::DoNotOptimize(stories.data());
    }
}
BENCHMARK(BM_StoryOfA200TurnGame)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

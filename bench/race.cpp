// The race of the betting window run without a window: the time of one whole race, and
// how long a race lasts on the track and how often each lane factor wins.
#include <benchmark/benchmark.h>

#include <array>

#include "state/rng.h"
#include "turns/race.h"

namespace {

using namespace kisharin;

void BM_WholeRace(benchmark::State& state) {
    DefaultRng rng(1);
    long ticks = 0, races = 0;
    std::array<long, 6> winsByFactor{}, lanesByFactor{};
    for (auto _ : state) {
        Race race(rng);
        runRace(race, rng, 100000, [](int) { return 0; });
        benchmark::DoNotOptimize(race.winPoints());
        ticks += race.ticks();
        ++races;
        ++winsByFactor[static_cast<size_t>(race.factor(race.winner()))];
        for (int i = 0; i < kLanes; ++i) ++lanesByFactor[static_cast<size_t>(race.factor(i))];
    }
    state.counters["ticks_per_race"] = double(ticks) / double(races);
    state.counters["seconds_on_track"] = double(ticks) * kRaceTickMs / 1000.0 / double(races);
    // A lane of factor f wins this share of the races it runs in.
    for (int f = 1; f <= 5; ++f)
        state.counters["win_share_factor" + std::to_string(f)] =
            double(winsByFactor[static_cast<size_t>(f)]) /
            double(std::max(1L, lanesByFactor[static_cast<size_t>(f)]));
}
BENCHMARK(BM_WholeRace);

}  // namespace

BENCHMARK_MAIN();

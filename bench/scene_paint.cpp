// Painting one ride scene: reading the line's train picture and every fill of its
// colouring, the sky and the night. Also the flight (aeroplane and two clouds) and the
// celebration's colouring alone.
#include <benchmark/benchmark.h>

#include <memory>

#include "scene/paint.h"
#include "state/datetime.h"

namespace {

using namespace kisharin;

class StillClock final : public Clock {
  public:
    double now() override { return 0; }
    double timer() override { return 36000; }
};

std::unique_ptr<GameState> ride(const std::string& name, const std::string& desc, int hour) {
    auto s = std::make_unique<GameState>();
    s->appDir = std::string(KISHARIN_SHIPPED_DATA_DIR) + "/";
    s->playerRosen[0] = 1;
    s->ekiName(1, 0) = name;
    s->ekiPref(1, 0) = desc;
    s->gameClock = toSerial({2024, 4, 1, hour, 0, 0});
    return s;
}

void paintRide(benchmark::State& st, const std::string& name, const std::string& desc, int hour) {
    auto s = ride(name, desc, hour);
    DefaultRng rng;
    StillClock clock;
    for (auto _ : st) {
        ScenePaint p = 塗りつぶし(*s, rng, clock);
        if (!p.stoppedBecause.empty()) st.SkipWithError(p.stoppedBecause.c_str());
        benchmark::DoNotOptimize(p.train.px.data());
    }
}

// The most fills a day ride has: picture 1 fills all four colours.
void BM_PaintRide_ShinkansenDay(benchmark::State& st) {
    paintRide(st, "東北新幹線", "1\\0;80;50\\0;135;84\\128;195;169\\217;237;230\\0", 12);
}
// The most fills a ride has: a commuter at night (colours, sky, lit windows, greys).
void BM_PaintRide_CommuterNight(benchmark::State& st) {
    paintRide(st, "山手線", "3\\92;147;40\\154;205;50\\204;230;152\\240;248;230\\1", 22);
}
void BM_PaintRide_Flight(benchmark::State& st) {
    paintRide(st, "飛行機（羽田～新千歳）", "", 12);
}

void BM_PaintCelebration(benchmark::State& st) {
    auto s = ride("東北新幹線", "1\\0;80;50\\0;135;84\\128;195;169\\217;237;230\\0", 12);
    for (auto _ : st) benchmark::DoNotOptimize(制覇塗りつぶし(*s, nullptr).px.data());
}

}  // namespace

BENCHMARK(BM_PaintRide_ShinkansenDay)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintRide_CommuterNight)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintRide_Flight)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintCelebration)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();

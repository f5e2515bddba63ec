// The ride window's costs per frame: one animation tick of the model, one frame of the
// strip painted offscreen with the most boards a ride can have (特急 over 18 stations and
// 10 more overslept: 29 boards), and the voice's time to the first sample of an
// announcement.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <memory>

#include "platform/speech.h"
#include "qt_bench.h"
#include "screens/frmEki.h"
#include "support/fakes.h"
#include "support/railway_builder.h"

using namespace kisharin;

namespace {

constexpr int kMostBoards = 29;

GameState longestRide() {
    GameState s;
    testing::TestLine l;
    l.name = "東海道本線";
    for (int i = 1; i <= 40; ++i) l.stations.push_back("長い名前の駅" + std::to_string(i));
    l.prefs = {"静岡県"};
    l.descriptor = "3\\200;0;0\\0;120;0\\0;0;200\\230;230;230\\1";
    testing::addLine(s, 1, l);
    s.appDir = std::string(KISHARIN_SHIPPED_DATA_DIR) + "/";
    s.playerRosen[0] = 1;
    s.startEki[0] = 1;
    s.playerEki[0] = kMostBoards;
    s.rideInfo = {"特急", rgb(255, 0, 0), 10};
    s.gameClock = 45000.5;
    return s;
}

void BM_RideModelTick(benchmark::State& state) {
    GameState s = longestRide();
    testing::FakeClock clock;
    DefaultRng rng(1);
    const RideLayout layout = layoutRide(s, rng, clock, false, false);
    RideMotion m(layout);
    for (auto _ : state) {
        if (m.tick()) m = RideMotion(layout);
        benchmark::DoNotOptimize(m.left());
    }
}
BENCHMARK(BM_RideModelTick);

void BM_RideFrameOffscreen(benchmark::State& state) {
    GameState s = longestRide();
    testing::FakeClock clock;
    DefaultRng rng(1);
    auto w = std::make_unique<FrmEki>(s, rng, clock, nullptr);
    QImage frame(994, 519, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        // Tick and paint, as tmrMain does; a new ride when this one has arrived.
        w->advance(1);
        if (w->motion().arrived()) {
            state.PauseTiming();
            w = std::make_unique<FrmEki>(s, rng, clock, nullptr);
            state.ResumeTiming();
        }
        QPainter p(&frame);
        w->render(p);
    }
    state.counters["boards"] = kMostBoards;
}
BENCHMARK(BM_RideFrameOffscreen)->Unit(benchmark::kMicrosecond);

// Opening the window: painting, the strip's layout and the boards' faces.
void BM_RideWindowSetUp(benchmark::State& state) {
    GameState s = longestRide();
    testing::FakeClock clock;
    DefaultRng rng(1);
    for (auto _ : state) {
        FrmEki w(s, rng, clock, nullptr);
        benchmark::DoNotOptimize(w.scene().layout.stripWidth);
    }
}
BENCHMARK(BM_RideWindowSetUp)->Unit(benchmark::kMillisecond);

void BM_AnnouncementToFirstSample(benchmark::State& state) {
    JapaneseVoice voice(findVoiceFiles(), nullptr);
    if (!voice.canSynthesise()) {
        state.SkipWithError("Open JTalk or its voice is not installed");
        return;
    }
    for (auto _ : state) {
        // The engine hands the sentence over whole: its first sample comes with the last.
        auto sound = voice.synthesise("しながわです");
        if (!sound) state.SkipWithError("synthesis failed");
        benchmark::DoNotOptimize(sound);
    }
}
BENCHMARK(BM_AnnouncementToFirstSample)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

int main(int argc, char** argv) {
    return kisharin::runWindowBenchmarks(argc, argv);
}

// 「もう一度見る」 at 16×: one frame is a turn played from the record and the window drawn
// again (the board, the players beside it, the messages), for every turn of a long
// simulator game on the shipped railway. At 16× a turn lasts 93 ms, but a frame must stay
// within 16 ms so that the window never stutters: the counters give the median and the
// worst frame of the game.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include "../tools/sim/sim_record.h"
#include "qt_bench.h"
#include "screens/frmReplay.h"
#include "screens/look.h"
#include "support/fakes.h"

using namespace kisharin;

namespace {

struct LongGame {
    testing::ScratchDir dir;
    std::string path = dir.file("long.jsonl");
    int turns = 0;
    // The whole country, both players the computer: the first seed whose game passes 200 turns.
    LongGame() {
        for (double seed = 1; turns < 200; ++seed)
            turns = sim::writeSimRecord(path, seed, 1, 5000,
                                        {sim::SideKind::Normal, sim::SideKind::Normal, false})[0];
    }
};

void BM_ReplayFrameAt16x(benchmark::State& state) {
    static const LongGame game;
    static const QtTextMetrics metrics;
    std::vector<double> frames;
    for (auto _ : state) {
        FrmReplay w(std::make_unique<RecordPlayer>(game.path, shippedDataDir(), 0, nullptr, &metrics));
        w.show();
        w.setSpeed(16);
        w.togglePause();  // the frames are stepped here, not by the window's timer
        QApplication::processEvents();
        while (!w.player().atEnd()) {
            const auto t0 = std::chrono::steady_clock::now();
            w.stepOnce();
            QApplication::processEvents();
            benchmark::DoNotOptimize(w.grab());
            frames.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
        }
    }
    std::sort(frames.begin(), frames.end());
    state.counters["turns"] = game.turns;
    state.counters["median_ms"] = frames[frames.size() / 2];
    state.counters["p99_ms"] = frames[frames.size() * 99 / 100];
    state.counters["worst_ms"] = frames.back();
}
BENCHMARK(BM_ReplayFrameAt16x)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    return runWindowBenchmarks(argc, argv);
}

// 「もう一度見る」 at 16×: one frame is a turn played from the record and the window drawn
// again (the board, the players beside it, the messages), for every turn of a long
// simulator game on the shipped railway. At 16× a turn lasts 93 ms, but a frame must stay
// within 16 ms so that the window never stutters: the counters give the median and the
// worst frame of the game, and of its parts.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include "../tools/sim/sim_record.h"
#include "qt_bench.h"
#include "screens/frmMain.h"
#include "screens/frmReplay.h"
#include "screens/look.h"
#include "screens/mapSheet.h"
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

using Clock = std::chrono::steady_clock;

double ms(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

void report(benchmark::State& state, const char* name, std::vector<double> v) {
    std::sort(v.begin(), v.end());
    state.counters[std::string(name) + "_median_ms"] = v[v.size() / 2];
    state.counters[std::string(name) + "_worst_ms"] = v.back();
}

// frame: the turn played with the window's models set (`turn`), then the event loop's
// layouts and repaint of what changed (`repaint`), as on the screen. Beside it, the board
// rendered whole offscreen (`board`), and the turn of the rules alone (`rules`).
void BM_ReplayFrameAt16x(benchmark::State& state) {
    static const LongGame game;
    static const KeptTextMetrics metrics;
    std::vector<double> frames, turns, repaints, boards, rules;
    for (auto _ : state) {
        FrmReplay w(std::make_unique<RecordPlayer>(game.path, shippedDataDir(), 0, nullptr, &metrics));
        w.show();
        w.setSpeed(16);
        w.togglePause();  // the frames are stepped here, not by the window's timer
        QApplication::processEvents();
        while (!w.player().atEnd()) {
            const auto t0 = Clock::now();
            w.stepOnce();
            const auto t1 = Clock::now();
            QApplication::processEvents();
            const auto t2 = Clock::now();
            benchmark::DoNotOptimize(w.board()->grab());
            const auto t3 = Clock::now();
            frames.push_back(ms(t0, t2));
            turns.push_back(ms(t0, t1));
            repaints.push_back(ms(t1, t2));
            boards.push_back(ms(t2, t3));
        }
        RecordPlayer alone(game.path, shippedDataDir(), 0, nullptr, &metrics);
        for (auto t0 = Clock::now(); alone.step(); t0 = Clock::now()) rules.push_back(ms(t0, Clock::now()));
    }
    state.counters["turns"] = game.turns;
    report(state, "frame", frames);
    report(state, "turn", turns);
    report(state, "repaint", repaints);
    report(state, "board", boards);
    report(state, "rules", rules);
}
BENCHMARK(BM_ReplayFrameAt16x)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    return runWindowBenchmarks(argc, argv);
}

// The detailed map's window on the shipped data: a drag of the zoom bar from the whole
// prefecture to the largest canvas (as the bar now draws, once where it is let go, and
// as it drew before, at every step it passed), and one notch of the wheel near the top
// of the bar, each from the input to the painted canvas.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>
#include <cstdlib>
#include <memory>

#include "screens/frmOneMap.h"

using namespace kisharin;

namespace {

struct Window {
    explicit Window(const char* pref) : button(QStringLiteral("路線図")) {
        s.mapDataDir = std::string(KISHARIN_SHIPPED_DATA_DIR) + "/MapData/";
        s.pickedPref = pref;
        s.prefPicked = True;
        map = std::make_unique<FrmOneMap>(s, &button);
        map->show();
        map->Form_Activate();
    }
    void paint() { map->canvas()->repaint(); }
    GameState s;
    QPushButton button;
    std::unique_ptr<FrmOneMap> map;
};

// Arg 0: the bar as it is (drawn on release); 1: tracking, as before.
void BM_ZoomBarDrag(benchmark::State& state, const char* pref) {
    Window w(pref);
    QScrollBar* bar = w.map->zoomBar();
    bar->setTracking(state.range(0) != 0);
    for (auto _ : state) {
        bar->setSliderDown(true);
        for (int v = 1; v <= OneMap::kZoomMax; ++v) bar->setSliderPosition(v);
        bar->setSliderDown(false);
        w.paint();
        state.PauseTiming();
        bar->setValue(0);
        state.ResumeTiming();
    }
    state.SetLabel(std::string(pref) + (state.range(0) ? ", drawn at every step" : ", drawn where let go"));
}
BENCHMARK_CAPTURE(BM_ZoomBarDrag, hokkaido, "北海道")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ZoomBarDrag, tokyo, "東京都")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ZoomBarDrag, osaka, "大阪府")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One notch of the wheel from zoom 9 to 10 (2400 to 2600 px) over the canvas's centre.
void BM_WheelNotch(benchmark::State& state, const char* pref) {
    Window w(pref);
    MapCanvas* canvas = w.map->canvas();
    for (auto _ : state) {
        state.PauseTiming();
        w.map->zoomBar()->setValue(OneMap::kZoomMax - 1);
        const QPoint at = canvas->mapFrom(w.map->floor(), QPoint(300, 300));
        state.ResumeTiming();
        QWheelEvent e(QPointF(at), QPointF(canvas->mapToGlobal(at)), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(canvas, &e);
        w.paint();
    }
    state.SetLabel(pref);
}
BENCHMARK_CAPTURE(BM_WheelNotch, hokkaido, "北海道")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WheelNotch, tokyo, "東京都")->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

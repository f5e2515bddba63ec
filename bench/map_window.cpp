// The railway maps' windows on the shipped data, each from the input to the painted
// frame (the window's repaint done): a drag of the zoom bar from the whole prefecture to
// the largest canvas (drawn once where it is let go, and at every step it passes), a
// notch of the wheel on every zoom of the bar, a drag of the map at three zooms,
// opening the detailed map from a click on the picker, and opening the picker. Run it
// with QT_SCALE_FACTOR=2 too for a screen scaled x2. The time column is the latency: the
// CPU column counts only the main thread, and the map's lines are stroked on every
// processor.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEnterEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QThreadPool>
#include <QWheelEvent>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>

#include "maps/picker.h"
#include "qt_bench.h"
#include "screens/frmMap.h"
#include "screens/frmOneMap.h"

using namespace kisharin;

namespace {

// Lets the windows shown be exposed (the offscreen screen paints only exposed windows).
void settle() {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

std::string shippedMaps() {
    return std::string(KISHARIN_SHIPPED_DATA_DIR) + "/MapData/";
}

// Counts the paintings of the maps: the detailed map's canvas and the picker's map.
struct PaintCount : QObject {
    int canvas = 0, japan = 0;
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Paint) {
            if (o->objectName() == QLatin1String("picMain")) ++canvas;
            if (o->objectName() == QLatin1String("Picture1")) ++japan;
        }
        return false;
    }
};
PaintCount* paints = nullptr;

// Runs the event loop until the counter has moved on: the window is on the screen and
// painted.
void untilPainted(const int& counter) {
    const int before = counter;
    while (counter == before) QApplication::processEvents(QEventLoop::AllEvents, 5);
}

struct Window {
    explicit Window(const char* pref) : button(QStringLiteral("路線図")) {
        s.mapDataDir = shippedMaps();
        mapPick().pickedPref = pref;
        mapPick().prefPicked = True;
        map = std::make_unique<FrmOneMap>(s, &button);
        map->show();
        map->Form_Activate();
        settle();
        paint();
    }
    void paint() { map->canvas()->repaint(); }
    // A notch of the wheel over frame pixel at.
    void wheel(QPoint at, int eighths) {
        MapCanvas* canvas = map->canvas();
        const QPoint local = canvas->mapFrom(map->floor(), at);
        QWheelEvent e(QPointF(local), QPointF(canvas->mapToGlobal(local)), QPoint(), QPoint(0, eighths),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(canvas, &e);
    }
    GameState s;
    QPushButton button;
    std::unique_ptr<FrmOneMap> map;
};

// The board's "路線図" to the picker's first painted frame, the first time in a game: the
// outlines of Japan are read then (registered first, so that nothing has read them yet).
void openPickerUntilPainted(benchmark::State& state) {
    GameState s;
    s.mapDataDir = shippedMaps();
    QPushButton button(QStringLiteral("路線図"));
    for (auto _ : state) {
        FrmMap* picker = FrmMap::showViewing(s, &button, nullptr);
        untilPainted(paints->japan);
        state.PauseTiming();
        delete picker;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
}
void BM_OpenPickerFirst(benchmark::State& state) {
    openPickerUntilPainted(state);
}
BENCHMARK(BM_OpenPickerFirst)->Iterations(1)->Unit(benchmark::kMillisecond);

// Arg 0: the bar as it is (drawn on release); 1: tracking, drawn at every step.
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
        w.paint();
        state.ResumeTiming();
    }
    state.SetLabel(std::string(pref) + (state.range(0) ? ", drawn at every step" : ", drawn where let go"));
}
BENCHMARK_CAPTURE(BM_ZoomBarDrag, hokkaido, "北海道")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ZoomBarDrag, tokyo, "東京都")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ZoomBarDrag, osaka, "大阪府")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One notch of the wheel over the frame's centre (a zoom step of the view into the whole
// prefecture) on the canvas of zoom Arg of the bar, painted.
void BM_ZoomStep(benchmark::State& state, const char* pref) {
    Window w(pref);
    w.map->zoomBar()->setValue(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        w.map->initButton()->click();
        w.paint();
        state.ResumeTiming();
        w.wheel(QPoint(300, 300), 120);
        w.paint();
    }
    if (w.map->model().zoomDepth() != 1) state.SkipWithError("the wheel did not zoom");
    state.SetLabel(pref);
}
BENCHMARK_CAPTURE(BM_ZoomStep, hokkaido, "北海道")
    ->DenseRange(0, OneMap::kZoomMax)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ZoomStep, tokyo, "東京都")
    ->DenseRange(0, OneMap::kZoomMax)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ZoomStep, osaka, "大阪府")
    ->DenseRange(0, OneMap::kZoomMax)
    ->Unit(benchmark::kMillisecond);

// The whole frame of the first view painted into an image of the screen's resolution
// (Arg: 1 or 2), as the canvas paints it: the lines stroked, the labels written.
void BM_PaintFrame(benchmark::State& state, const char* pref) {
    Window w(pref);
    const MapSheet* sheet = w.map->canvas()->sheet();
    const int ratio = static_cast<int>(state.range(0));
    QImage image(OneMap::kFrame * ratio, OneMap::kFrame * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    for (auto _ : state) {
        QPainter p(&image);
        sheet->paint(p, QRect(0, 0, OneMap::kFrame, OneMap::kFrame));
    }
    state.SetLabel(std::string(pref) + " x" + std::to_string(ratio));
}
BENCHMARK_CAPTURE(BM_PaintFrame, aomori, "青森県")->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PaintFrame, tokyo, "東京都")->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The map held at the frame's centre and moved by the mouse, 7 pixels a move back and
// forth, at zoom Arg 0; each move painted: Arg 1 = 1 repaints the whole frame, 0 paints
// what the window has to (the moved canvas keeps what the screen shows and paints the
// strip it uncovers).
void BM_Pan(benchmark::State& state, const char* pref) {
    Window w(pref);
    w.map->zoomBar()->setValue(static_cast<int>(state.range(0)));
    w.paint();
    MapCanvas* canvas = w.map->canvas();
    const QPoint at = canvas->mapFrom(w.map->floor(), QPoint(300, 300));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), QPointF(canvas->mapToGlobal(at)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(canvas, &press);
    const bool whole = state.range(1) != 0;
    const int paintsBefore = paints->canvas;
    int step = 0;
    for (auto _ : state) {
        const QPoint global =
            w.map->floor()->mapToGlobal(QPoint(300 + (step % 8 < 4 ? step % 8 : 8 - step % 8) * 7, 300));
        ++step;
        QMouseEvent move(QEvent::MouseMove, QPointF(canvas->mapFromGlobal(global)), QPointF(global),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(canvas, &move);
        if (whole)
            w.paint();
        else
            QCoreApplication::sendPostedEvents(w.map.get(), QEvent::UpdateRequest);
    }
    // (At zoom 0 the strip a move uncovers is the frame's floor, not the canvas.)
    if (whole && paints->canvas - paintsBefore < static_cast<int>(state.iterations()))
        state.SkipWithError("the canvas was not painted");
    state.SetLabel(std::string(pref) + (whole ? ", the whole frame repainted" : ", as the window repaints"));
}
BENCHMARK_CAPTURE(BM_Pan, hokkaido, "北海道")
    ->ArgsProduct({{0, 5, 10}, {1, 0}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Pan, tokyo, "東京都")->ArgsProduct({{0, 5, 10}, {1, 0}})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Pan, osaka, "大阪府")->ArgsProduct({{0, 5, 10}, {1, 0}})->Unit(benchmark::kMillisecond);

// A click on the picker's label of the prefecture (code) to the detailed map's first
// painted frame: reading its data, drawing and painting. The same prefecture opened again
// is neither read nor measured again; code 0 opens each of the 47 once, in turn, as a
// player's first look at each. Arg 1: the pointer came onto the label before the click,
// and the data was read meanwhile (as a player's pointer rests a moment on the name
// before the click); 0: the click alone.
void BM_OpenMap(benchmark::State& state, int code) {
    GameState s;
    s.mapDataDir = shippedMaps();
    QPushButton button(QStringLiteral("路線図"));
    const bool each = code == 0;
    double slowest = 0;
    double slowestAhead = 0;  // from the pointer's coming to the map read and painted ahead
    std::string slowestName;
    for (auto _ : state) {
        state.PauseTiming();
        if (each) code = code % 47 + 1;
        FrmMap* picker = FrmMap::showViewing(s, &button, nullptr);
        settle();
        QLabel* label = picker->prefLabel(code);
        const QPointF inside(4, 4);
        if (state.range(0) != 0) {
            const auto came = std::chrono::steady_clock::now();
            QEnterEvent enter(inside, inside, QPointF(label->mapToGlobal(QPoint(4, 4))));
            QApplication::sendEvent(label, &enter);
            QThreadPool::globalInstance()->waitForDone();
            const double ahead =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - came).count();
            slowestAhead = std::max(slowestAhead, ahead);
        }
        QMouseEvent release(QEvent::MouseButtonRelease, inside, QPointF(label->mapToGlobal(QPoint(4, 4))),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        QApplication::sendEvent(label, &release);
        FrmOneMap* map = FrmOneMap::instance();
        if (!map) {
            state.SkipWithError("no map opened");
            break;
        }
        untilPainted(paints->canvas);
        const double took =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        if (took > slowest) {
            slowest = took;
            slowestName = prefectureCaption(code);
        }
        state.PauseTiming();
        delete map;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
    state.counters["slowest_ms"] = slowest;
    if (state.range(0) != 0) state.counters["slowest_ahead_ms"] = slowestAhead;
    state.SetLabel((each ? "each prefecture once, slowest " + slowestName : prefectureCaption(code)) +
                   (state.range(0) ? ", read while the pointer came" : ", the click alone"));
}
BENCHMARK_CAPTURE(BM_OpenMap, each_once, 0)->Arg(0)->Arg(1)->Iterations(47)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenMap, hokkaido, 1)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenMap, tokyo, 13)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenMap, osaka, 27)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The board's "路線図" to the picker's first painted frame, the outlines of Japan read
// before.
void BM_OpenPicker(benchmark::State& state) {
    openPickerUntilPainted(state);
}
BENCHMARK(BM_OpenPicker)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return kisharin::runWindowBenchmarks(argc, argv, [](QApplication& app) {
        paints = new PaintCount;
        app.installEventFilter(paints);
    });
}

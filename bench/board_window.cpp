// The board on the shipped railway, from an input to the repainted window: a notch of
// the wheel over the strip of the longest line, a click on a transfer label that shows
// another line (between the longest line and the longest line it meets), and a key
// moving the focus frame.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <algorithm>
#include <cstdlib>
#include <memory>

#include "board/line_display.h"
#include "board/startup.h"
#include "board/station_file.h"
#include "qt_bench.h"
#include "screens/frmMain.h"
#include "screens/look.h"
#include "screens/qtScreens.h"
#include "screens/stripView.h"
#include "state/railway.h"
#include "state/regions.h"
#include "support/fakes.h"

using namespace kisharin;

namespace {

// The longest line of the railway.
int longestLine(const RailwayData& d) {
    int best = 1;
    for (int L = 1; L <= lineCount(d); ++L)
        if (stationCount(d, L) > stationCount(d, best)) best = L;
    return best;
}

// A game of two people at this board, player 1 standing on `line` at `pos`, the board shown.
struct Board {
    Board() {
        static_cast<RailwayData&>(s) =
            readStationFile(std::string(KISHARIN_SHIPPED_DATA_DIR) + "/GameData/駅.txt");
        buildFareTable(s);
        buildRegionTables(s);
        s.historyBase = dir.path() + "履歴";
        g.metrics = &metrics;
        g.seatBoth(here);
    }
    void open(int line, int pos) {
        s.playerRosen[0] = static_cast<Integer>(line);
        s.playerEki[0] = static_cast<Integer>(pos);
        board = std::make_unique<FrmMain>(g, dir.path());
        screens.setBoard(board.get());
        board->show();
        board->open();
        QApplication::processEvents();
    }
    // The transfer label of the displayed line at station `at` leading to (line, pos); 0 if none.
    int label(int at, int line, int pos) const {
        for (size_t k = 0; k < g.line.transfers.size(); ++k) {
            const TransferView& t = g.line.transfers[k];
            if (t.station == at && t.line == line && t.pos == pos) return static_cast<int>(k) + 1;
        }
        return 0;
    }
    void click(int k) {
        const QPoint at = toQRect(g.line.transfers[static_cast<size_t>(k - 1)].rect).center();
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), board->strip()->mapToGlobal(QPointF(at)),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(board->strip(), &press);
    }

    testing::ScratchDir dir;
    GameState s;
    QtScreens screens;
    DefaultRng rng{1};
    testing::FakeClock clock;
    QtTextMetrics metrics;
    Game g{s, screens, rng, clock};
    QtSeat here{screens};
    std::unique_ptr<FrmMain> board;
};

// A notch of the wheel over the strip, down the line and back up at its end.
void BM_WheelNotchOnTheLongestLine(benchmark::State& state) {
    Board b;
    const int L = longestLine(b.s);
    b.open(L, 1);
    StripView* strip = b.board->strip();
    int delta = -120;
    for (auto _ : state) {
        const int before = b.g.line.scrollValue;
        const QPoint at(100, before + 200);
        QWheelEvent e(QPointF(at), QPointF(strip->mapToGlobal(at)), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(strip, &e);
        b.board->repaint();
        if (b.g.line.scrollValue == before) delta = -delta;  // an end of the line
    }
    state.SetLabel(b.s.ekiName(L, 0) + ", " + std::to_string(stationCount(b.s, L)) + " stations");
}
BENCHMARK(BM_WheelNotchOnTheLongestLine)->Unit(benchmark::kMillisecond);

// A click on a transfer label: the other line is read and painted. The longest line's
// station meeting the longest other line, there and back.
void BM_SwitchLines(benchmark::State& state) {
    Board b;
    const int A = longestLine(b.s);
    int atA = 0, B = 0, atB = 0;
    for (int i = 1; i <= stationCount(b.s, A); ++i)
        for (const Station& to : transfersAt(b.s, A, i))
            if (to.line != A && (B == 0 || stationCount(b.s, to.line) > stationCount(b.s, B))) {
                const auto back = transfersAt(b.s, to.line, to.pos);
                if (std::find(back.begin(), back.end(), Station{A, i}) == back.end()) continue;
                atA = i;
                B = to.line;
                atB = to.pos;
            }
    if (B == 0) {
        state.SkipWithError("the longest line meets no line that leads back");
        return;
    }
    b.open(A, atA);
    bool onA = true;
    for (auto _ : state) {
        const int k = onA ? b.label(atA, B, atB) : b.label(atB, A, atA);
        if (k == 0) {
            state.SkipWithError("no transfer label back");
            break;
        }
        b.click(k);
        b.board->repaint();
        onA = !onA;
    }
    state.SetLabel(b.s.ekiName(A, 0) + " (" + std::to_string(stationCount(b.s, A)) + ") ⇄ " +
                   b.s.ekiName(B, 0) + " (" + std::to_string(stationCount(b.s, B)) + ")");
}
BENCHMARK(BM_SwitchLines)->Unit(benchmark::kMillisecond);

// A key moving the focus frame between the transfer labels of the own station (the
// longest line's station with the most of them), lit and shown as under the pointer.
void BM_KeyStepOnTheLongestLine(benchmark::State& state) {
    Board b;
    const int L = longestLine(b.s);
    int at = 1;
    for (int i = 1; i <= stationCount(b.s, L); ++i)
        if (transfersAt(b.s, L, i).size() > transfersAt(b.s, L, at).size()) at = i;
    b.open(L, at);
    StripView* strip = b.board->strip();
    strip->setFocus();
    bool down = true;
    for (auto _ : state) {
        QKeyEvent press(QEvent::KeyPress, down ? Qt::Key_Down : Qt::Key_Up, Qt::NoModifier);
        QApplication::sendEvent(strip, &press);
        b.board->repaint();
        down = !down;
    }
    if (!strip->focusTarget()) state.SkipWithError("no label was framed");
    state.SetLabel(b.s.ekiName(L, at) + ", " + std::to_string(transfersAt(b.s, L, at).size()) + " labels");
}
BENCHMARK(BM_KeyStepOnTheLongestLine)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return kisharin::runWindowBenchmarks(argc, argv);
}

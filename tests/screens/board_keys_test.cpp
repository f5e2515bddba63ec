// A turn on the board played from the keyboard alone: ↓/↑ move a frame over what a
// click could pick on the strip, Enter picks it; nothing else can be framed or picked,
// and nothing at all while the computer is to move.
#include <QHelpEvent>
#include <QLabel>
#include <QScrollBar>
#include <QTest>
#include <QToolTip>
#include <tuple>

#include "board/startup.h"
#include "screen_support.h"
#include "screens/desktopGame.h"
#include "screens/frmInit.h"
#include "screens/frmMain.h"
#include "screens/stripView.h"
#include "state/regions.h"
#include "support/commands.h"
#include "turns/strip_keys.h"

using namespace kisharin;
using namespace kisharin::testing;

namespace {

// A key as the keyboard gives it: to the widget that has the focus.
void key(QWidget* window, Qt::Key k) {
    QWidget* to = QApplication::focusWidget();
    QTest::keyClick(to && window->isAncestorOf(to) ? to : window, k);
}

// The targets the frame passes over from the first to the last, by ↓ after ↑ to the top.
std::vector<StripTarget> walk(FrmMain* board) {
    StripView* strip = board->strip();
    StripTarget before;
    do {
        before = strip->focusTarget();
        key(board, Qt::Key_Up);
    } while (strip->focusTarget() != before);
    std::vector<StripTarget> seen{strip->focusTarget()};
    for (;;) {
        key(board, Qt::Key_Down);
        if (strip->focusTarget() == seen.back()) return seen;
        seen.push_back(strip->focusTarget());
    }
}

// The frame is painted around the target, and the target lies inside the viewport.
void framedInView(FrmMain* board, const LineDisplayModel& m, StripTarget t) {
    QVERIFY(t);
    const QRect r = toQRect(targetRect(m, t));
    const int top = board->strip()->y() + r.top();
    QVERIFY2(top >= 0 && top + r.height() <= kViewportHeight, qPrintable(QString::number(top)));
    const QImage img = board->strip()->grab().toImage();
    QCOMPARE(img.pixelColor(r.left() - 4, r.center().y()), QColor(230, 60, 0));
}

// Whether a click on the own station would claim a destination there.
bool destinationHere(const GameState& s, int p) {
    for (int d = 1; d <= kDestinationCount; ++d)
        if (s.mokutekitiRosen[d] == s.playerRosen[p] && s.mokutekitiEki[d] == s.playerEki[p]) return true;
    return false;
}

}  // namespace

class BoardKeysTest : public QObject {
    Q_OBJECT
  private slots:
    void aWholeTurnFromTheKeyboard();
};

void BoardKeysTest::aWholeTurnFromTheKeyboard() {
    EventWindowAnswers events;  // a warp or the god may come up on the ride
    DesktopGame game;
    QVERIFY(game.start());
    game.init()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(game.init()));
    QTest::keyClick(game.init(), Qt::Key_Return);  // "はじめから", two people
    QTRY_VERIFY(game.board());
    FrmMain* board = game.board();
    board->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(board));
    Game& g = game.game();
    GameState& s = game.state();
    QTRY_VERIFY(
        board->findChild<QLabel*>(QStringLiteral("lblManName"))->text().startsWith(QStringLiteral("たろう")));

    // Before the roll the keys frame the labels beside the own station (and the station
    // itself only when a destination waits there), never another station.
    const int e = s.playerEki[0];
    std::vector<StripTarget> seen = walk(board);
    QCOMPARE(seen.size(), size_t{2} + (destinationHere(s, 0) ? 1 : 0));
    for (StripTarget t : seen)
        QVERIFY(t.station ? t.station == e : g.line.transfers[size_t(t.transfer - 1)].station == e);
    // The framed label shows where its line goes, as under the pointer; Enter changes to it.
    const TransferView to = g.line.transfers[size_t(seen.back().transfer - 1)];
    framedInView(board, g.line, seen.back());
    QVERIFY(g.line.hintVisible);
    QCOMPARE(g.line.hintText, to.directions);
    // Its tool tip names the keys.
    const QPoint over = toQRect(to.rect).center();
    QHelpEvent tip(QEvent::ToolTip, over, board->strip()->mapToGlobal(over));
    QApplication::sendEvent(board->strip(), &tip);
    QVERIFY2(QToolTip::text().contains(QStringLiteral("Enter")), qPrintable(QToolTip::text()));
    key(board, Qt::Key_Return);
    QTRY_COMPARE(int(s.playerRosen[0]), to.line);
    QCOMPARE(int(s.playerEki[0]), to.pos);
    QVERIFY(!board->strip()->focusTarget());  // another line: the frame starts afresh

    // The kind and the roll by their keys.
    key(board, Qt::Key_1);
    QCOMPARE(int(s.selKind), 1);
    key(board, Qt::Key_S);
    QTRY_VERIFY(s.susumuSteps > 0 && !s.commandRunning);
    const int here = s.playerEki[0], steps = s.susumuSteps, line = s.playerRosen[0];
    board->activateWindow();  // the die's window has come and gone
    QVERIFY(QTest::qWaitForWindowActive(board));

    // Looked away along the line, ↓ brings the frame and its station back into view.
    const int n = g.line.stationCount();
    board->scrollBar()->setValue(here <= n / 2 ? board->scrollBar()->maximum() : 0);
    key(board, Qt::Key_Down);
    StripTarget t = board->strip()->focusTarget();
    QVERIFY(t.station);
    framedInView(board, g.line, t);
    // A station within reach lights up as under the pointer; the own one (framed when a
    // destination waits there) keeps its colour.
    QCOMPARE(g.line.station(t.station).fill, t.station == here ? kColorCurrent : kColorReachable);

    // After the roll the frame goes over the stations within reach, and over nothing else.
    seen = walk(board);
    std::vector<StripTarget> reach;
    for (int i = 1; i <= n; ++i)
        if (std::abs(i - here) <= steps && (i != here || destinationHere(s, 0)))
            reach.push_back({.station = i});
    QCOMPARE(seen, reach);
    framedInView(board, g.line, seen.back());

    // Player 2 is now the computer's seat. Enter rides to the framed station.
    FunctionSeat computer;
    int framedWhileComputerMoved = -1;
    bool movedByKeys = true;
    RideRecord ridden;  // player 1's ride, as the computer's turn begins
    computer.turn = [&](Game& gg) {
        ridden = gg.lastRide;
        // Even on a board left enabled, the keys frame nothing and pick nothing.
        const auto before = std::tuple(s.playerRosen[1], s.playerEki[1], s.turnPhase, s.selKind);
        board->setBoardEnabled(true);
        key(board, Qt::Key_Down);
        QTest::keyClick(board->strip(), Qt::Key_Down);
        QTest::keyClick(board->strip(), Qt::Key_Return);
        QTest::keyClick(board->strip(), Qt::Key_Space);
        framedWhileComputerMoved = board->strip()->focusTarget() ? 1 : 0;
        movedByKeys = before != std::tuple(s.playerRosen[1], s.playerEki[1], s.turnPhase, s.selKind);
        board->setBoardEnabled(false);
        apply(gg, Command::work(1));
    };
    g.seats[1] = &computer;
    const int target = seen.back().station;
    key(board, Qt::Key_Return);
    QTRY_COMPARE(computer.turns, 1);
    if (target == here) {
        // The own station framed last: a destination waits there, and Enter claims it.
        bool claimed = false;
        for (int d = 1; d <= kDestinationCount; ++d)
            claimed = claimed || (s.mokutekitiRosen[d] == line && s.mokutekitiEki[d] == here && s.mokutekitiDone[d]);
        QVERIFY(claimed);
    } else {
        // Enter rode from here to the framed station. Like any ride it may stop short of it
        // or go past it (one in sixty each), and an event after it may move the player on.
        QCOMPARE(ridden.player, 0);
        QCOMPARE(ridden.start, here);
        if (!ridden.cut && !ridden.overslept)
            QCOMPARE(ridden.end, target);
        else
            QVERIFY((ridden.end - here) * (target - here) > 0);
    }
    QCOMPARE(framedWhileComputerMoved, 0);
    QVERIFY(!movedByKeys);
    QTRY_COMPARE(int(s.curPlayer), 0);
    g.seats[1] = g.seats[0];
}

int main(int argc, char** argv) {
    TestFolders f(linkedRailway(30));
    QApplication app(argc, argv);
    BoardKeysTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "board_keys_test.moc"

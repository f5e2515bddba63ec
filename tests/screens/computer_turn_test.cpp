// The computer's turn in the board window: before its click the station it heads for is
// painted light green on the board and scrolled into view, while the board takes no
// input. The board is saved as a picture at that moment (computer-target.png in
// KISHARIN_SCREENSHOT_DIR, else a temporary folder of the test's own).
#include <QDir>
#include <QImage>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "screen_support.h"
#include "screens/desktopGame.h"
#include "screens/frmInit.h"
#include "screens/frmMain.h"
#include "screens/stripView.h"

using namespace kisharin;
using namespace kisharin::testing;

class ComputerTurnTest : public QObject {
    Q_OBJECT
  private slots:
    void theTargetShowsLightGreenBeforeTheClick();
};

namespace {
// A point of the box's fill: inside its border, left of the station name written in it.
QPoint inside(const PixelRect& box) {
    return {box.left + 4, box.top + box.height / 2};
}
}  // namespace

void ComputerTurnTest::theTargetShowsLightGreenBeforeTheClick() {
    DesktopGame game;
    QVERIFY(game.start());
    FrmInit* init = game.init();
    pressStart(init, true);
    QTRY_VERIFY(game.board());
    FrmMain* board = game.board();
    GameState& s = game.state();
    const LineDisplayModel& line = game.game().line;

    // Watch the computer's turns for a marked station.
    int marked = 0;
    bool enabledWhileMarked = false;
    QImage stripShot, boardShot;
    PixelRect box;
    QPoint onBoard;
    QTimer spy;
    spy.setInterval(1);
    QObject::connect(&spy, &QTimer::timeout, [&] {
        if (marked || s.curPlayer != 1) return;
        for (int i = 1; i <= line.stationCount(); ++i)
            if (line.station(i).fill == rgb(192, 255, 192)) marked = i;
        if (!marked) return;
        enabledWhileMarked = board->isEnabled();
        box = line.station(marked).box;
        onBoard = board->strip()->mapTo(board, inside(box));
        stripShot = board->strip()->grab().toImage();
        boardShot = board->grab().toImage();
    });
    spy.start();
    // The human works each turn until the computer has ridden once.
    for (int turn = 0; turn < 12 && !marked; ++turn) {
        QTRY_VERIFY_WITH_TIMEOUT(s.curPlayer == 0 && board->isEnabled() && line.stationCount() > 0, 20000);
        if (marked) break;
        QTest::mouseClick(board->findChild<QPushButton*>(QStringLiteral("cmdWork")), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(marked || (s.curPlayer == 0 && board->isEnabled()), 20000);
    }
    QVERIFY2(marked > 0, "the computer never rode in twelve turns");
    QVERIFY(!enabledWhileMarked);

    // The marked box is painted light green on the board, within the visible part.
    QCOMPARE(stripShot.pixelColor(inside(box) * stripShot.devicePixelRatio()), QColor(192, 255, 192));
    QVERIFY2(board->rect().contains(onBoard), "the marked station is scrolled out of view");
    QCOMPARE(boardShot.pixelColor(onBoard * boardShot.devicePixelRatio()), QColor(192, 255, 192));

    // Into the folder screenshots are collected in, else into one of this run's own,
    // removed afterwards: a fixed name in the shared temporary folder would be another
    // user's file the next time.
    const ScratchDir own;
    const QByteArray dir = qgetenv("KISHARIN_SCREENSHOT_DIR");
    const QString path =
        QDir(dir.isEmpty() ? QString::fromStdString(own.path()) : QString::fromLocal8Bit(dir))
            .filePath(QStringLiteral("computer-target.png"));
    QVERIFY(boardShot.save(path));
    QTRY_VERIFY_WITH_TIMEOUT(s.curPlayer == 0 && board->isEnabled(), 20000);
}

int main(int argc, char** argv) {
    // One line of 30 stations in every region: the computer's destination usually lies
    // beyond the first screen of the board. The lines are linked, so a computer whose
    // own line has no open destination left still has one to ride to.
    TestFolders f(linkedRailway(30));
    // The marker shows for the computer's last pause only: at a twentieth of real time
    // that is 50 ms, long enough to be seen on a busy machine.
    setTimeScale(0.05);
    QApplication app(argc, argv);
    ComputerTurnTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "computer_turn_test.moc"

// The desktop game on the railway data it ships with: the setup window, a new game
// against the computer, one turn of each player, and the course to the nearest
// destination.
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "screen_support.h"
#include "screens/desktopGame.h"
#include "screens/frmInit.h"
#include "screens/frmMain.h"
#include "screens/stripView.h"
#include "state/railway.h"

using namespace kisharin;
using namespace kisharin::testing;

class ShippedDataTest : public QObject {
    Q_OBJECT
  private slots:
    void oneRoundAgainstTheComputer();
};

void ShippedDataTest::oneRoundAgainstTheComputer() {
    EventWindowAnswers events;  // a warp, the god or a race day may come up on the ride
    DesktopGame game;
    QVERIFY(game.start());
    FrmInit* init = game.init();
    QVERIFY(init->loadProblems().empty());
    pressStart(init, true);
    QTRY_VERIFY_WITH_TIMEOUT(game.board(), 20000);
    FrmMain* board = game.board();
    GameState& s = game.state();
    QVERIFY(lineCount(s) > 100);
    QTRY_VERIFY(game.game().line.stationCount() > 0);
    QCOMPARE(int{s.curPlayer}, 0);
    QCOMPARE(board->findChild<QLabel*>(QStringLiteral("lblTrainName"))->text(),
             QString::fromStdString(s.ekiName(s.playerRosen[0], 0)));

    // Roll with the cheapest kind the line allows, then ride one station.
    QTest::mouseClick(board->findChild<QPushButton*>(QStringLiteral("cmdSusumu")), Qt::LeftButton);
    QTRY_VERIFY(s.susumuSteps > 0);
    const int n = game.game().line.stationCount();
    const int here = s.playerEki[0];
    const int to = here < n ? here + 1 : here - 1;
    QVERIFY(to >= 1);
    QTest::mouseClick(board->strip(), Qt::LeftButton, {},
                      board->strip()->mapFrom(board, board->stationRect(to).center()));
    // The computer plays its turn and hands the board back.
    QTRY_VERIFY_WITH_TIMEOUT(s.curPlayer == 0 && board->isEnabled() && s.susumuSteps == 0, 20000);
    const QString caption = board->findChild<QLabel*>(QStringLiteral("lblManName"))->text();
    QVERIFY(caption.startsWith(QString::fromStdString(s.playerName[0] + "の番です（")));
    // Both players' stations are in their histories.
    QVERIFY(!readFileBytes(userDataDir() + "GameData/履歴0.txt").empty());
    QVERIFY(!readFileBytes(userDataDir() + "GameData/履歴1.txt").empty());
}

int main(int argc, char** argv) {
    ScratchDir home;
    ::setenv("KISHARIN_DATA_HOME", home.path().c_str(), 1);
    ::unsetenv("KISHARIN_DATA_DIR");
    setTimeScale(0.01);
    QApplication app(argc, argv);
    ShippedDataTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "shipped_data_test.moc"

// A whole game in the windows against the computer, as a person would play it: roll,
// click a pink destination within reach, work when the fare cannot be paid, until the
// results window; closing it ends the program.
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <cstdlib>
#include <memory>

#include <QTableWidget>

#include "record/game_list.h"
#include "record/game_record.h"
#include "record/story.h"
#include "screen_support.h"
#include "screens/desktopGame.h"
#include "screens/frmEnd.h"
#include "screens/frmGames.h"
#include "screens/frmInit.h"
#include "screens/frmMain.h"
#include "screens/stripView.h"

using namespace kisharin;
using namespace kisharin::testing;

class WholeGameTest : public QObject {
    Q_OBJECT
  private slots:
    void playToTheResults();
};

namespace {

// The station a person would click: their own when it is a pending destination, else the
// nearest pending one within reach, else the reachable station closest to one.
int chooseTarget(const GameState& s, const LineDisplayModel& line, bool rolled) {
    const int here = s.playerEki[0];
    int best = 0, bestGap = 1 << 30;
    for (int d = 1; d <= 8; ++d) {
        if (s.mokutekitiDone[d] || s.mokutekitiRosen[d] != s.playerRosen[0]) continue;
        const int pos = s.mokutekitiEki[d];
        if (pos == here) return here;
        if (!rolled) continue;
        const int dist = std::abs(pos - here);
        if (dist <= s.susumuSteps) {
            if (dist < bestGap) best = pos, bestGap = dist;
            continue;
        }
        // Out of reach: go as far toward it as the die allows.
        const int toward = here + (pos > here ? s.susumuSteps : -s.susumuSteps);
        if (toward >= 1 && toward <= line.stationCount() && best == 0) best = toward;
    }
    if (best == 0 && rolled) best = here < line.stationCount() ? here + 1 : here - 1;
    return best;
}

}  // namespace

void WholeGameTest::playToTheResults() {
    EndWatch end;
    DesktopGame game;
    game.listGames = true;
    QVERIFY(game.start());
    QTest::mouseClick(game.init()->findChild<QPushButton*>(QStringLiteral("cmdGo")), Qt::LeftButton);
    EventWindowAnswers events;  // a warp or the god may come up on a move
    QTRY_VERIFY(game.board());
    FrmMain* board = game.board();
    GameState& s = game.state();
    QVERIFY(s.comOpponent);
    QVERIFY(s.shortMode);
    QCOMPARE(int{s.playArea}, 8);

    // The results window: read it, then close it as a player would.
    QStringList results;
    QTimer watch;
    watch.setInterval(5);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* w = qobject_cast<FrmEnd*>(QApplication::activeModalWidget());
        if (!w || !results.isEmpty()) return;
        QCOMPARE(w->windowTitle(), QStringLiteral("終了"));
        for (const char* name : {"lblMan0", "lblMan1", "lblArrive0", "lblArrive1", "lblPlayTime", "Label4"})
            results << w->findChild<QLabel*>(QString::fromLatin1(name))->text();
        w->findChild<QPushButton*>(QStringLiteral("cmdEnd"))->click();
    });
    watch.start();

    auto button = [&](const char* name) { return board->findChild<QPushButton*>(QString::fromLatin1(name)); };
    for (int turn = 0; turn < 300 && end.ended == 0; ++turn) {
        // Wait for the player's own turn with the board usable.
        QTRY_VERIFY_WITH_TIMEOUT(end.ended || (s.curPlayer == 0 && board->isEnabled() && s.susumuSteps == 0 &&
                                               game.game().line.stationCount() > 0),
                                 20000);
        if (end.ended) break;
        const LineDisplayModel& line = game.game().line;
        int target = chooseTarget(s, line, false);
        if (target == 0) {
            if (s.playerMoney[0] < s.kindFare[s.selKind]) {
                QTest::mouseClick(button("cmdWork"), Qt::LeftButton);
                QTRY_VERIFY_WITH_TIMEOUT(end.ended || s.curPlayer == 1 || !board->isEnabled(), 5000);
                continue;
            }
            QTest::mouseClick(button("cmdSusumu"), Qt::LeftButton);
            QTRY_VERIFY(s.susumuSteps > 0);
            target = chooseTarget(s, line, true);
        }
        QVERIFY2(target >= 1 && target <= line.stationCount(),
                 qPrintable(QStringLiteral("target %1 line %2 here %3 steps %4 n %5")
                                .arg(target)
                                .arg(s.playerRosen[0])
                                .arg(s.playerEki[0])
                                .arg(s.susumuSteps)
                                .arg(line.stationCount())));
        const QPoint at = board->strip()->mapFrom(board, board->stationRect(target).center());
        QTest::mouseClick(board->strip(), Qt::LeftButton, {}, at);
        QTest::qWait(5);
    }
    QTRY_COMPARE(end.ended, 1);
    QCOMPARE(results.size(), 6);
    QCOMPARE(results[0], QStringLiteral("たろうさん"));
    QCOMPARE(results[1], QStringLiteral("こむさん"));
    QCOMPARE(results[2], QStringLiteral("到達数 ：%1回").arg(s.arriveCount[0]));
    QCOMPARE(s.arriveCount[0] + s.arriveCount[1], 8);
    QVERIFY(results[4].startsWith(QStringLiteral("PlayTime：")));
    QCOMPARE(results[5], QStringLiteral("お疲れ様でした！！"));
    for (int d = 1; d <= 8; ++d) QVERIFY(s.mokutekitiDone[d]);

    // The record the windows wrote plays again, headless, to the same end.
    const std::vector<ReplayEnd> again = replayRecord(recordPath(game.gameDataDir()), s.appDir);
    QCOMPARE(again.size(), std::size_t{1});
    QVERIFY(again[0].ended && again[0].matches);
    for (int p = 0; p < 2; ++p) {
        QCOMPARE(again[0].points[static_cast<std::size_t>(p)], static_cast<long long>(s.playerPoint[p]));
        QCOMPARE(again[0].money[static_cast<std::size_t>(p)], static_cast<long long>(s.playerMoney[p]));
        QCOMPARE(again[0].arrived[static_cast<std::size_t>(p)], static_cast<int>(s.arriveCount[p]));
    }

    // The game is in the list of games with its figures, and a copy of its record.
    const GameListRead list = readGameList(game.gameDataDir());
    QVERIFY(list.notices.empty());
    QCOMPARE(list.entries.size(), std::size_t{1});
    const GameEntry& e = list.entries[0];
    QVERIFY(e.finished());
    QCOMPARE(e.area, 8);
    QCOMPARE(e.seats[1], std::string("com:ふつう"));
    QCOMPARE(e.turns, game.game().turnNumber);
    for (std::size_t p = 0; p < 2; ++p) {
        QCOMPARE(e.points[p], static_cast<long long>(s.playerPoint[static_cast<int>(p)]));
        QCOMPARE(e.money[p], static_cast<long long>(s.playerMoney[static_cast<int>(p)]));
        QCOMPARE(e.arrived[p], static_cast<int>(s.arriveCount[static_cast<int>(p)]));
    }
    const std::string kept = keptRecordPath(game.gameDataDir(), e);
    QCOMPARE(readFileBytes(kept), readFileBytes(recordPath(game.gameDataDir())));

    // Its story's chart is the record's game turn by turn, and watching it again ends in
    // the results this game had.
    const std::vector<Story> story = readStories(kept, s.appDir);
    QCOMPARE(story.size(), std::size_t{1});
    RecordPlayer again1(kept, s.appDir);
    for (std::size_t turn = 1; again1.step(); ++turn) {
        QVERIFY(turn < story[0].turns.size());
        for (int p = 0; p < 2; ++p)
            QCOMPARE(story[0].turns[turn].points[static_cast<std::size_t>(p)], again1.state().playerPoint[p]);
    }
    QCOMPARE(story[0].turns.size(), static_cast<std::size_t>(again1.turns() + 1));
    for (int p = 0; p < 2; ++p) {
        QCOMPARE(again1.state().playerPoint[p], s.playerPoint[p]);
        QCOMPARE(again1.state().playerMoney[p], s.playerMoney[p]);
        QCOMPARE(again1.state().arriveCount[p], s.arriveCount[p]);
    }

    // The list window shows it; Enter opens its story, and its record saves as a file.
    std::string opened;
    FrmGames w(game.gameDataDir(), nullptr, [&](const std::string& f) { opened = f; });
    w.show();
    QCOMPARE(w.table()->rowCount(), 1);
    QCOMPARE(w.table()->item(0, 6)->text(),
             QStringLiteral("%1 ／ %2").arg(s.playerPoint[0]).arg(s.playerPoint[1]));
    QCOMPARE(w.table()->item(0, 10)->text(), QStringLiteral("終了"));
    QTest::keyClick(w.table(), Qt::Key_Return);
    QCOMPARE(opened, kept);
    const QString saved = QString::fromStdString(game.gameDataDir()) + QStringLiteral("saved.jsonl");
    QVERIFY(w.saveRecordTo(saved));
    QCOMPARE(readFileBytes(saved.toStdString()), readFileBytes(kept));
}

int main(int argc, char** argv) {
    // Kyushu only: its one line has eight stations, so every station is a destination.
    TestFolders f(makeEightRegions(8), {"たろう", "こむ", " 1 ", " 0 ", " 1 ", " 8 "});
    QApplication app(argc, argv);
    WholeGameTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "whole_game_test.moc"

// A board closed and a game saved with 「保存して終了」 are listed as left games with their
// records; the list, opened from the setup window, tells a damaged line and filters.
#include <QComboBox>
#include <QLabel>
#include <QTableWidget>

#include "record/game_list.h"
#include "screen_support.h"
#include "screens/desktopGame.h"
#include "screens/frmGames.h"
#include "screens/frmMain.h"

using namespace kisharin;
using namespace kisharin::testing;

class GamesListTest : public QObject {
    Q_OBJECT
  private slots:
    void leftGamesAreListedAndShown();
};

namespace {
// A game of two people at this board, one work turn played.
std::unique_ptr<DesktopGame> workedGame() {
    auto game = std::make_unique<DesktopGame>();
    game->listGames = true;
    if (!game->start()) qFatal("setup window did not open");
    pressStart(game->init(), false);
    if (!QTest::qWaitFor([&] { return game->board() != nullptr; })) qFatal("no board");
    QTest::mouseClick(game->board()->findChild<QPushButton*>(QStringLiteral("cmdWork")), Qt::LeftButton);
    if (!QTest::qWaitFor([&] { return game->state().curPlayer == 1; })) qFatal("the turn did not pass");
    return game;
}
}  // namespace

void GamesListTest::leftGamesAreListedAndShown() {
    EndWatch end;
    std::string dir;
    {
        auto game = workedGame();
        dir = game->gameDataDir();
        game->board()->close();
        QCOMPARE(end.ended, 1);
    }
    {
        auto game = workedGame();
        whenModal([](QWidget* picker) {
            whenModal([](QWidget* box) { press(box, QMessageBox::Ok); }, picker);
            picker->findChild<QPushButton*>(QStringLiteral("cmdSave(1)"))->click();
        });
        QTest::mouseClick(game->board()->findChild<QPushButton*>(QStringLiteral("cmdSave")), Qt::LeftButton);
        QTRY_COMPARE(end.ended, 2);
    }
    const GameListRead list = readGameList(dir);
    QCOMPARE(list.entries.size(), std::size_t{2});
    QCOMPARE(int(list.entries[0].end), int(GameEnd::Closed));
    QCOMPARE(int(list.entries[1].end), int(GameEnd::Saved));
    QCOMPARE(list.entries[0].turns, 2);
    QVERIFY(fileExists(keptRecordPath(dir, list.entries[1])));

    // A damaged line is told, naming the file and line; the games around it are shown.
    appendBytes(gameListPath(dir), "{\"v\":1}\n", "\n");
    auto game = std::make_unique<DesktopGame>();
    QVERIFY(game->start());
    whenModal([&](QWidget* shown) {
        // The list (not its notice of the damaged line, should that come up first), closed
        // whatever the checks find, so that a failing check cannot hold the test.
        QWidget* w = qobject_cast<QMessageBox*>(shown) ? shown->parentWidget() : shown;
        const std::unique_ptr<QWidget, void (*)(QWidget*)> closing(w, [](QWidget* d) { d->close(); });
        auto* games = qobject_cast<FrmGames*>(w);
        QVERIFY(games);
        QCOMPARE(games->windowTitle(), QStringLiteral("これまでの対戦"));
        QCOMPARE(games->notices().size(), std::size_t{1});
        QVERIFY(games->notices()[0].find(gameListPath(dir) + "」の3行目") != std::string::npos);
        QTRY_VERIFY(games->findChild<QMessageBox*>(QStringLiteral("msgGameListProblems")));
        QCOMPARE(games->table()->rowCount(), 2);
        QCOMPARE(games->table()->item(0, 10)->text(), QStringLiteral("中断（保存）"));  // newest first
        // The selected game's story and record can be opened and saved.
        QVERIFY(games->findChild<QPushButton*>(QStringLiteral("cmdStory"))->isEnabled());
        QVERIFY(games->findChild<QPushButton*>(QStringLiteral("cmdSaveRecord"))->isEnabled());
        games->findChild<QComboBox*>(QStringLiteral("cboEnd"))->setCurrentIndex(1);  // finished only
        QCOMPARE(games->table()->rowCount(), 0);
        games->findChild<QComboBox*>(QStringLiteral("cboEnd"))->setCurrentIndex(2);       // left only
        games->findChild<QComboBox*>(QStringLiteral("cboOpponent"))->setCurrentIndex(1);  // a person
        QCOMPARE(games->table()->rowCount(), 2);
        games->findChild<QComboBox*>(QStringLiteral("cboOpponent"))->setCurrentIndex(3);  // ふつう
        QCOMPARE(games->table()->rowCount(), 0);
        QVERIFY(games->findChild<QLabel*>(QStringLiteral("lblWins"))
                    ->text()
                    .contains(QStringLiteral("ふつう：対戦なし")));
    });
    QTest::mouseClick(game->init()->findChild<QPushButton*>(QStringLiteral("cmdGames")), Qt::LeftButton);
}

int main(int argc, char** argv) {
    TestFolders f(makeEightRegions(8), {"たろう", "はなこ", " 0 ", " 0 ", " 1 ", " 8 "});
    QApplication app(argc, argv);
    GamesListTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "games_list_test.moc"

// A board closed and a game saved with 「保存して終了」 are listed as left games with their
// records; the list, opened from the setup window, tells a damaged line and filters.
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QTableWidget>

#include "platform/text_file.h"
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

    // A damaged line is told, naming the file and line; the games around it are shown. The
    // first game's record went (the bound on the records), a game joined as the guest has
    // its record at the host.
    appendBytes(gameListPath(dir), "{\"v\":1}\n", "\n");
    QVERIFY(::unlink(keptRecordPath(dir, list.entries[0]).c_str()) == 0);
    GameEntry joined = list.entries[0];
    joined.seats = {"net", "man"};
    addGame(dir, joined, "");
    const std::string bad = dir + "こわれた記録.jsonl";
    writeBytesAtomic(bad, "{\"t\":\"start\"}\n");
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
        QCOMPARE(games->table()->rowCount(), 3);
        QCOMPARE(games->table()->item(1, 10)->text(), QStringLiteral("中断（保存）"));  // newest first
        QStringList kept;
        for (int r = 0; r < 3; ++r) kept << games->table()->item(r, 11)->text();
        QCOMPARE(kept, (QStringList{QStringLiteral("記録はホストにあります"), QStringLiteral("あり"),
                                    QStringLiteral("記録なし")}));
        // The selected game's story and record can be opened and saved, when it is here.
        auto* story = games->findChild<QPushButton*>(QStringLiteral("cmdStory"));
        QVERIFY(!story->isEnabled());
        games->table()->selectRow(1);
        QVERIFY(story->isEnabled());
        QVERIFY(games->findChild<QPushButton*>(QStringLiteral("cmdSaveRecord"))->isEnabled());
        // 「記録を開く」 (Alt+F) opens any record file; one that does not read is told with
        // its file and line.
        QString told;
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* files = qobject_cast<QFileDialog*>(modal)) {
                files->selectFile(QString::fromStdString(bad));
                static_cast<QDialog*>(files)->accept();
            } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                told = box->text();
                box->close();
            }
        });
        answer.start();
        games->findChild<QMessageBox*>(QStringLiteral("msgGameListProblems"))->close();  // the list's keys
        games->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(games));
        QTest::keyClick(games, Qt::Key_F, Qt::AltModifier);  // the button's click comes a moment later
        QTRY_VERIFY(!told.isEmpty());
        answer.stop();
        QVERIFY2(told.contains(QString::fromStdString(bad) + QStringLiteral("」の1行目")), qPrintable(told));
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

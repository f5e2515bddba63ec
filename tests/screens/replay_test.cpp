// 「もう一度見る」 on a real record of simulated games, driven by its keys: it plays a turn a
// tick, pauses, steps one turn, speeds up to 16× and shows the game's own results at the
// end; a ride scene holds the play until it has closed; the story window and the list open
// it; a damaged record is told with its file and line; the player's folder is not touched.
#include <QCheckBox>
#include <QDirIterator>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <map>

#include "../../tools/sim/sim_record.h"
#include "record/game_list.h"
#include "record/story.h"
#include "screen_support.h"
#include "screens/frmEki.h"
#include "screens/frmEnd.h"
#include "screens/frmGames.h"
#include "screens/frmMain.h"
#include "screens/frmReplay.h"
#include "screens/frmStory.h"
#include "screens/look.h"
#include "setup/results.h"

using namespace kisharin;
using namespace kisharin::testing;

class ReplayTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void theKeysPauseStepAndSpeedUpToTheResults();
    void aRideSceneHoldsThePlayUntilItCloses();
    void theStoryAndTheListOpenItAndABrokenRecordIsTold();

  private:
    ScratchDir dir_, home_;
    std::string rec_, rideRec_, gameData_;
    std::vector<Story> stories_;
};

namespace {

// Every file under a folder with its bytes.
std::map<QString, QByteArray> filesUnder(const std::string& folder) {
    std::map<QString, QByteArray> out;
    QDirIterator it(QString::fromStdString(folder), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        if (f.open(QIODevice::ReadOnly)) out[path] = f.readAll();
    }
    return out;
}

}  // namespace

void ReplayTest::initTestCase() {
    setTimeScale(0.01);  // the ride window's timings
    ::setenv("KISHARIN_DATA_HOME", home_.path().c_str(), 1);
    gameData_ = ensureUserGameData(shippedDataDir());
    rec_ = dir_.file("GameRecord.jsonl");
    sim::writeSimRecord(rec_, 4, 2, 5000, {sim::SideKind::Strong, sim::SideKind::Strong, false});
    stories_ = readStories(rec_, shippedDataDir());
    // A game of the normal mode, whose rides open the ride window.
    rideRec_ = dir_.file("rides.jsonl");
    sim::writeSimRecord(rideRec_, 6, 1, 40, {sim::SideKind::Weak, sim::SideKind::Normal, true});
    // The player's folder holds a list with this game and a save slot, as after playing.
    GameEntry e{.names = {"たろう", "はなこ"}, .seats = {"man", "com:つよい"}};
    addGame(gameData_, e, rec_);
    writeBytesAtomic(gameData_ + "GameData1.txt", "a slot\r\n");
}

void ReplayTest::theKeysPauseStepAndSpeedUpToTheResults() {
    const auto before = filesUnder(home_.path());
    QPointer<FrmReplay> w = FrmReplay::openRecord(rec_, shippedDataDir(), 0, nullptr);
    QVERIFY(w);
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QCOMPARE(w->windowTitle(), QStringLiteral("もう一度見る"));
    QVERIFY(w->board()->watching());
    const Story& story = stories_[0];
    auto pointsAre = [&](int turn) {
        for (int p = 0; p < 2; ++p)
            if (w->player().state().playerPoint[p] !=
                story.turns[static_cast<std::size_t>(turn)].points[static_cast<std::size_t>(p)])
                return false;
        return true;
    };
    // A turn a tick at 1×; Space pauses it.
    QTRY_VERIFY_WITH_TIMEOUT(w->player().turns() >= 1, 5000);
    QTest::keyClick(w, Qt::Key_Space);
    QVERIFY(w->paused());
    QVERIFY(!w->findChild<QTimer*>(QStringLiteral("tmrReplay"))->isActive());
    const int t = w->player().turns();
    QVERIFY(pointsAre(t));
    // → and N step one turn each while paused.
    QTest::keyClick(w, Qt::Key_Right);
    QCOMPARE(w->player().turns(), t + 1);
    QVERIFY(pointsAre(t + 1));
    QTest::keyClick(w, Qt::Key_N);
    QCOMPARE(w->player().turns(), t + 2);
    QVERIFY(pointsAre(t + 2));
    // 6 is 16×, where the ride scene and the voice are off; Space plays on to the end.
    auto* ride = w->findChild<QCheckBox*>(QStringLiteral("chkRide"));
    ride->setChecked(true);
    QTest::keyClick(w, Qt::Key_6);
    QCOMPARE(w->speed(), 16);
    QVERIFY(!ride->isChecked() && !ride->isEnabled());
    QVERIFY(!w->findChild<QCheckBox*>(QStringLiteral("chkVoice"))->isEnabled());
    QTest::keyClick(w, Qt::Key_Space);
    QVERIFY(!w->paused());
    QTRY_VERIFY_WITH_TIMEOUT(w->results(), 60000);
    QCOMPARE(static_cast<std::size_t>(w->player().turns()) + 1, story.turns.size());
    // The results are the game's own, as the results window words them.
    const ResultsModel m = resultsModel(w->player().state());
    for (int p = 0; p < 2; ++p) {
        QCOMPARE(w->player().state().playerPoint[p], story.end.points[static_cast<std::size_t>(p)]);
        QCOMPARE(w->player().state().playerMoney[p], story.end.money[static_cast<std::size_t>(p)]);
        for (const auto& [name, text] : {std::pair{"lblPoint", m.point[p]}, std::pair{"lblMoney", m.money[p]},
                                         std::pair{"lblArrive", m.arrive[p]}})
            QCOMPARE(w->results()->findChild<QLabel*>(QString::fromLatin1(name) + QString::number(p))->text(),
                     qs(text));
    }
    QVERIFY(w->results()->isVisible());
    // Every message of the game is in the window's log, none in a box.
    const MessageLog& log = w->player().game().messages;
    QVERIFY(log.added() > 0);
    QCOMPARE(w->messages()->document()->blockCount(), static_cast<int>(log.entries().size()));
    QVERIFY(!QApplication::activeModalWidget());
    if (const char* shots = std::getenv("KISHARIN_REPLAY_SHOT"))
        w->grab().save(QString::fromLocal8Bit(shots));
    w->results()->close();
    w->activateWindow();
    QTest::keyClick(w, Qt::Key_Escape);
    QTRY_VERIFY(!w);
    // Nothing of the player's was written: histories, list, kept records, slots.
    QVERIFY(before == filesUnder(home_.path()));
}

void ReplayTest::aRideSceneHoldsThePlayUntilItCloses() {
    QPointer<FrmReplay> w = FrmReplay::openRecord(rideRec_, shippedDataDir(), 0, nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QTest::keyClick(w, Qt::Key_Space);
    QTest::keyClick(w, Qt::Key_R);
    QVERIFY(w->findChild<QCheckBox*>(QStringLiteral("chkRide"))->isChecked());
    // Step until a turn with a ride: its scene opens, and nothing plays on while it stands.
    for (int i = 0; i < 200 && !w->ride() && !w->results(); ++i) QTest::keyClick(w, Qt::Key_N);
    QVERIFY(w->ride());
    const int t = w->player().turns();
    QTest::keyClick(w, Qt::Key_N);
    QCOMPARE(w->player().turns(), t);
    // Space over the ride window pauses and plays on as over the replay's own.
    auto* pause = w->findChild<QPushButton*>(QStringLiteral("cmdPause"));
    QVERIFY(QTest::qWaitForWindowActive(w->ride()));
    QTest::keyClick(w->ride(), Qt::Key_Space);
    QCOMPARE(pause->text(), QStringLiteral("一時停止"));
    QTest::keyClick(w->ride(), Qt::Key_Space);
    QCOMPARE(pause->text(), QStringLiteral("再開"));
    QTRY_VERIFY_WITH_TIMEOUT(!w->ride(), 30000);
    w->activateWindow();  // the keys go to the window in front
    QVERIFY(QTest::qWaitForWindowActive(w));
    QTest::keyClick(w, Qt::Key_N);
    QCOMPARE(w->player().turns(), t + 1);
    w->close();
    QTRY_VERIFY(!w);
}

void ReplayTest::theStoryAndTheListOpenItAndABrokenRecordIsTold() {
    // The story window's button plays the game it shows.
    QPointer<FrmStory> story = FrmStory::openRecord(rec_, shippedDataDir(), nullptr);
    QVERIFY(story);
    story->showGame(1);
    story->findChild<QPushButton*>(QStringLiteral("cmdReplay"))->click();
    FrmReplay* fromStory = story->findChild<FrmReplay*>();
    QVERIFY(fromStory);
    QCOMPARE(fromStory->player().index(), 1);
    story->close();
    QTRY_VERIFY(!story);
    // The list's button beside 「対戦の記録」 plays the selected game's kept record.
    {
        FrmGames list(gameData_, nullptr);
        list.show();
        auto* button = list.findChild<QPushButton*>(QStringLiteral("cmdReplay"));
        QVERIFY(button->isEnabled());
        button->click();
        FrmReplay* fromList = list.findChild<FrmReplay*>();
        QVERIFY(fromList);
        QCOMPARE(fromList->player().index(), 1);  // the record's last game
    }
    // A damaged line: a box names the file and the line, and no window opens.
    const std::string bad = dir_.file("bad.jsonl");
    writeBytesAtomic(bad, readFileBytes(rec_).substr(0, readFileBytes(rec_).find('\n') + 1) + "{\"t\":1}\n");
    QString told;
    whenModal([&](QWidget* box) {
        told = static_cast<QMessageBox*>(box)->text();
        box->close();
    });
    QVERIFY(!FrmReplay::openRecord(bad, shippedDataDir(), 0, nullptr));
    QVERIFY2(told.contains(QString::fromStdString(bad)) && told.contains(QStringLiteral("の2行目")),
             qPrintable(told));
}

QTEST_MAIN(ReplayTest)
#include "replay_test.moc"

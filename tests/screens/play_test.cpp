// Plays the desktop game as a person would: the setup window, a turn on the board,
// changing lines, saving into slot 2, continuing from it, and erasing the memories.
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <memory>

#include "screen_support.h"
#include "screens/desktopGame.h"
#include "screens/frmInit.h"
#include "screens/frmMain.h"
#include "screens/frmMessage.h"
#include "screens/frmSlots.h"
#include "screens/stripView.h"
#include "setup/save_slot.h"
#include "turns/money.h"

using namespace kisharin;
using namespace kisharin::testing;

namespace {
TestFolders* folders = nullptr;

template <typename T>
T* child(QWidget* w, const char* name) {
    T* c = w->findChild<T*>(QString::fromUtf8(name));
    if (!c) qFatal("no control %s", name);
    return c;
}

QString text(QWidget* w, const char* label) {
    return child<QLabel>(w, label)->text();
}

// Clicks station label i of the displayed line where a person would: on the strip.
void clickStation(FrmMain* board, int i) {
    const QRect at = board->stationRect(i);
    QVERIFY(!at.isEmpty());
    const QPoint inStrip = board->strip()->mapFrom(board, at.center());
    QTest::mouseClick(board->strip(), Qt::LeftButton, {}, inStrip);
}

// Starts the setup window, sets the player 2 option and presses "はじめから".
std::unique_ptr<DesktopGame> newGame(bool computer) {
    auto game = std::make_unique<DesktopGame>();
    if (!game->start()) qFatal("setup window did not open");
    FrmInit* init = game->init();
    pressStart(init, computer);
    return game;
}
}  // namespace

class PlayTest : public QObject {
    Q_OBJECT
  private slots:
    void setupWindowShowsTheSettingsAndLimitsNames();
    void aTurnOnTheBoard();
    void changingLinesAtTheCurrentStation();
    void saveIntoSlot2AndContinueFromIt();
    void leavingThePickersChangesNothing();
    void eraseTheMemories();
};

void PlayTest::setupWindowShowsTheSettingsAndLimitsNames() {
    DesktopGame game;
    QVERIFY(game.start());
    FrmInit* init = game.init();
    QCOMPARE(init->windowTitle(), QStringLiteral("ゲーム設定"));
    QVERIFY(init->loadProblems().empty());
    auto* name0 = child<QLineEdit>(init, "txtName(0)");
    QCOMPARE(name0->text(), QStringLiteral("たろう"));
    QVERIFY(child<QRadioButton>(init, "optPlayer(0)")->isChecked());
    QVERIFY(child<QRadioButton>(init, "optShort(1)")->isChecked());
    QVERIFY(child<QRadioButton>(init, "optArea(0)")->isChecked());
    QVERIFY(!child<QPushButton>(init, "cmdContinue")->isEnabled());  // no slot yet

    name0->clear();
    QTest::keyClicks(name0, QStringLiteral("abcdef"));
    QCOMPARE(name0->text(), QStringLiteral("abc"));
    name0->setText(QStringLiteral("じろうです"));
    QCOMPARE(name0->text(), QStringLiteral("じろう"));

    // An empty name: the start buttons do nothing.
    name0->clear();
    QTest::mouseClick(child<QPushButton>(init, "cmdGo"), Qt::LeftButton);
    settle();
    QVERIFY(!game.board());
    QVERIFY(init->isVisible());
}

void PlayTest::aTurnOnTheBoard() {
    EventWindowAnswers events;  // a warp or the god may come up on the ride
    auto game = newGame(false);
    QTRY_VERIFY(game->board());
    FrmMain* board = game->board();
    GameState& s = game->state();
    QCOMPARE(board->windowTitle(), QStringLiteral("キシャリン"));
    // The settings were written as the game started.
    QCOMPARE(readLines(folders->gameData("NameData.txt")),
             (std::vector<std::string>{"たろう", "はなこ", " 0 ", " 1 ", " 1 ", " 0 "}));
    QCOMPARE(s.playerName[0], std::string("たろうさん"));

    QTRY_VERIFY(text(board, "lblManName").startsWith(QStringLiteral("たろうさんの番です（")));
    QCOMPARE(child<QLabel>(board, "lblManName")->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QCOMPARE(text(board, "lblMoney"), QString::fromStdString(moneyText(30000)));
    QVERIFY(text(board, "lblMoney").contains(QStringLiteral("30,000")));
    QVERIFY(text(board, "lblJikoku").contains(QStringLiteral("：")));

    // Roll: the die window comes and goes, the stations allowed are shown.
    QTest::mouseClick(child<QPushButton>(board, "cmdSusumu"), Qt::LeftButton);
    QTRY_VERIFY(s.susumuSteps > 0);
    QVERIFY(text(board, "lblSusumu").contains(QStringLiteral("駅進めます。")));
    QVERIFY(!child<QPushButton>(board, "cmdSusumu")->isVisible());
    QVERIFY(!child<QPushButton>(board, "cmdSave")->isVisible());
    QVERIFY(!child<QRadioButton>(board, "optKind(1)")->isEnabled());

    // A click on a station out of reach does nothing.
    const int from = s.playerEki[0];
    const int n = board->strip() ? static_cast<int>(game->game().line.stations.size()) : 0;
    QCOMPARE(n, 10);
    // Click the neighbour, always within reach.
    const int to = from < n ? from + 1 : from - 1;
    // Pointing at it lights its box green on the board.
    const QPoint inStrip = board->strip()->mapFrom(board, board->stationRect(to).center());
    QTest::mouseMove(board->strip(), inStrip);
    QTRY_COMPARE(game->game().line.station(to).fill, kColorReachable);
    const QRect box = toQRect(game->game().line.station(to).box);
    QCOMPARE(board->strip()->grab().toImage().pixelColor(box.left() + 3, box.top() + 3),
             QColor(192, 255, 192));
    clickStation(board, to);
    // The ride, its messages and the hand-over: player 2's turn, in red.
    QTRY_COMPARE(s.curPlayer, Integer{1});
    QTRY_VERIFY(text(board, "lblManName").startsWith(QStringLiteral("はなこさんの番です（")));
    QCOMPARE(child<QLabel>(board, "lblManName")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QCOMPARE(text(board, "lblMoney"), QString::fromStdString(moneyText(s.playerMoney[1])));
    QVERIFY(child<QPushButton>(board, "cmdSusumu")->isVisible());
    QVERIFY(s.visited[0](s.playerRosen[0], s.playerEki[0]) || s.playerEki[0] != to);

    // The points button shows both players' points in the message window, coloured
    // for player 2.
    QString shown;
    QColor back;
    whenModal([&](QWidget* w) {
        auto* m = qobject_cast<FrmMessage*>(w);
        if (m) shown = m->text(), back = m->background();
    });
    QTest::mouseClick(child<QPushButton>(board, "cmdPoint"), Qt::LeftButton);
    QTRY_VERIFY(!shown.isEmpty());
    QVERIFY(shown.startsWith(QStringLiteral("たろうさん：")));
    QVERIFY(shown.contains(QStringLiteral("ポイント　，　はなこさん：")));
    QCOMPARE(back, QColor(255, 192, 255));

    // Work for player 2: money goes up, the turn comes back to player 1.
    const Long money1 = s.playerMoney[1];
    QTest::mouseClick(child<QPushButton>(board, "cmdWork"), Qt::LeftButton);
    QTRY_COMPARE(s.curPlayer, Integer{0});
    QVERIFY(s.playerMoney[1] > money1);
}

void PlayTest::changingLinesAtTheCurrentStation() {
    auto game = newGame(false);
    QTRY_VERIFY(game->board());
    FrmMain* board = game->board();
    GameState& s = game->state();
    QTRY_VERIFY(!text(board, "lblTrainName").isEmpty());
    const int line = s.playerRosen[0];
    const int pos = s.playerEki[0];
    QCOMPARE(text(board, "lblTrainName"), QString::fromStdString(s.ekiName(line, 0)));
    // Every station of the test railway has two transfer labels; those of the current
    // station lead to the neighbouring lines.
    int k = 0;
    const auto& transfers = game->game().line.transfers;
    for (size_t j = 0; j < transfers.size(); ++j)
        if (transfers[j].station == pos) k = static_cast<int>(j) + 1;
    QVERIFY(k > 0);
    const int target = transfers[static_cast<size_t>(k - 1)].line;
    // Hovering over it shows the directions.
    const QRect at = board->transferRect(k);
    QTest::mouseMove(board->strip(), board->strip()->mapFrom(board, at.center()));
    QTRY_VERIFY(game->game().line.hintVisible);
    QTest::mouseClick(board->strip(), Qt::LeftButton, {}, board->strip()->mapFrom(board, at.center()));
    QTRY_COMPARE(int{s.playerRosen[0]}, target);
    QCOMPARE(text(board, "lblTrainName"), QString::fromStdString(s.ekiName(target, 0)));
    QCOMPARE(int{s.curPlayer}, 0);  // changing lines is free and does not end the turn
}

void PlayTest::saveIntoSlot2AndContinueFromIt() {
    EndWatch end;
    GameState saved;
    {
        auto game = newGame(false);
        QTRY_VERIFY(game->board());
        FrmMain* board = game->board();
        GameState& s = game->state();
        // One work turn so that the saved game is not the fresh one.
        QTest::mouseClick(child<QPushButton>(board, "cmdWork"), Qt::LeftButton);
        QTRY_COMPARE(s.curPlayer, Integer{1});
        bool confirmed = false;
        whenModal([&](QWidget* picker) {
            QCOMPARE(picker->windowTitle(), QStringLiteral("中断"));
            whenModal(
                [&](QWidget* box) {
                    auto* mb = qobject_cast<QMessageBox*>(box);
                    QVERIFY(mb);
                    QCOMPARE(mb->windowTitle(), QStringLiteral("お疲れ様でした"));
                    QCOMPARE(mb->text(), QStringLiteral("保存しました。ゲームを終了します。"));
                    confirmed = true;
                    press(box, QMessageBox::Ok);
                },
                picker);
            child<QPushButton>(picker, "cmdSave(2)")->click();
        });
        QTest::mouseClick(child<QPushButton>(board, "cmdSave"), Qt::LeftButton);
        QTRY_VERIFY(confirmed);
        QTRY_COMPARE(end.ended, 1);
        saved.playerMoney = s.playerMoney;
        saved.playerRosen = s.playerRosen;
        saved.playerEki = s.playerEki;
        saved.mokutekitiRosen = s.mokutekitiRosen;
        saved.mokutekitiEki = s.mokutekitiEki;
        saved.curPlayer = s.curPlayer;
    }
    const auto lines = readLines(folders->gameData("GameData2.txt"));
    QCOMPARE(lines.size(), size_t{42});
    QCOMPARE(lines[0], std::string(" 0 "));
    QCOMPARE(lines[3], std::string(" 1 "));

    // A new run: "つづきから" is enabled and only slot 2 can be chosen.
    DesktopGame game;
    QVERIFY(game.start());
    FrmInit* init = game.init();
    QVERIFY(child<QPushButton>(init, "cmdContinue")->isEnabled());
    // The area on the screen is remembered, but the continued game keeps its own.
    child<QRadioButton>(init, "optArea(3)")->setChecked(true);
    whenModal([&](QWidget* picker) {
        auto* load = qobject_cast<FrmLoadData*>(picker);
        QVERIFY(load);
        QVERIFY(!load->cmdLoad(1)->isEnabled());
        QVERIFY(load->cmdLoad(2)->isEnabled());
        QVERIFY(!load->cmdLoad(3)->isEnabled());
        load->cmdLoad(2)->click();
    });
    QTest::mouseClick(child<QPushButton>(init, "cmdContinue"), Qt::LeftButton);
    QTRY_VERIFY(game.board());
    GameState& s = game.state();
    QVERIFY(s.resumeGame);
    QCOMPARE(int{s.playArea}, 0);
    QCOMPARE(readLines(folders->gameData("NameData.txt"))[5], std::string(" 3 "));
    QCOMPARE(s.curPlayer, saved.curPlayer);
    QCOMPARE(s.playerMoney, saved.playerMoney);
    QCOMPARE(s.playerRosen, saved.playerRosen);
    QCOMPARE(s.playerEki, saved.playerEki);
    QCOMPARE(s.mokutekitiRosen, saved.mokutekitiRosen);
    QCOMPARE(s.mokutekitiEki, saved.mokutekitiEki);
    QTRY_VERIFY(text(game.board(), "lblManName").startsWith(QStringLiteral("はなこさんの番です")));
}

void PlayTest::leavingThePickersChangesNothing() {
    EndWatch end;
    // A broken slot 3 is refused with a message naming it; the setup window stays.
    std::vector<std::string> broken = slotLines(GameState{});
    broken[1] = "きのう";
    writeCp932(folders->gameData("GameData3.txt"), broken);
    DesktopGame game;
    QVERIFY(game.start());
    FrmInit* init = game.init();
    QString warning;
    whenModal([&](QWidget* picker) {
        auto* load = qobject_cast<FrmLoadData*>(picker);
        QVERIFY(load);
        whenModal(
            [&](QWidget* box) {
                warning = qobject_cast<QMessageBox*>(box)->text();
                press(box, QMessageBox::Ok);
                whenModal([](QWidget* p) { p->close(); });  // then leave the picker
            },
            picker);
        load->cmdLoad(3)->click();
    });
    QTest::mouseClick(child<QPushButton>(init, "cmdContinue"), Qt::LeftButton);
    QTRY_VERIFY(!warning.isEmpty());
    QVERIFY(warning.contains(QStringLiteral("GameData3.txt")));
    QVERIFY(warning.contains(QStringLiteral("2行目")));
    settle();
    QVERIFY(!game.board());
    QVERIFY(init->isVisible());
    std::remove(folders->gameData("GameData3.txt").c_str());

    // Leaving the save picker returns to the board with the game going on.
    auto running = newGame(false);
    QTRY_VERIFY(running->board());
    whenModal([](QWidget* picker) { picker->close(); });
    QTest::mouseClick(child<QPushButton>(running->board(), "cmdSave"), Qt::LeftButton);
    settle();
    QCOMPARE(end.ended, 0);
    QVERIFY(running->board()->isVisible());
}

void PlayTest::eraseTheMemories() {
    auto game = newGame(false);
    QTRY_VERIFY(game->board());
    // The start station is recorded in the history of player 1.
    QTRY_VERIFY(!readFileBytes(folders->gameData("履歴0.txt")).empty());
    game.reset();

    DesktopGame setup;
    QVERIFY(setup.start());
    FrmInit* init = setup.init();
    // No: both files stay as they are.
    QString title, question;
    whenModal([&](QWidget* box) {
        title = box->windowTitle();
        question = qobject_cast<QMessageBox*>(box)->text();
        QCOMPARE(qobject_cast<QMessageBox*>(box)->defaultButton(),
                 qobject_cast<QMessageBox*>(box)->button(QMessageBox::No));
        press(box, QMessageBox::No);
    });
    QTest::mouseClick(child<QPushButton>(init, "cmdMemories"), Qt::LeftButton);
    QTRY_COMPARE(title, QStringLiteral("消しちゃうの？"));
    QVERIFY(question.startsWith(QStringLiteral("今まで巡った旅の足跡をすべて消去します。")));
    QVERIFY(question.endsWith(QStringLiteral("よろしいですか？")));
    QVERIFY(!readFileBytes(folders->gameData("履歴0.txt")).empty());

    // Yes: both are empty, and the player is told so.
    QString doneTitle, doneText;
    whenModal([&](QWidget* box) {
        whenModal(
            [&](QWidget* done) {
                doneTitle = done->windowTitle();
                doneText = qobject_cast<QMessageBox*>(done)->text();
                press(done, QMessageBox::Ok);
            },
            box);
        press(box, QMessageBox::Yes);
    });
    QTest::mouseClick(child<QPushButton>(init, "cmdMemories"), Qt::LeftButton);
    QTRY_COMPARE(doneTitle, QStringLiteral("さびしいね"));
    QCOMPARE(doneText, QStringLiteral("消去しました。"));
    QCOMPARE(readFileBytes(folders->gameData("履歴0.txt")), std::string());
    QCOMPARE(readFileBytes(folders->gameData("履歴1.txt")), std::string());
    QVERIFY(init->isVisible());
}

int main(int argc, char** argv) {
    TestFolders f(linkedRailway(10));
    folders = &f;
    QApplication app(argc, argv);
    PlayTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "play_test.moc"

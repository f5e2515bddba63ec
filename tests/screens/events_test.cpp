// The windows of the special events and of race betting: the betting window "勝負！！",
// the event pictures on the board, the disaster's slide and the earthquake's shaking.
#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <cmath>
#include <vector>

#include "board/line_display.h"
#include "screen_support.h"
#include "screens/desktopGame.h"
#include "screens/eventPictures.h"
#include "screens/frmBet.h"
#include "screens/frmInit.h"
#include "screens/frmMain.h"
#include "screens/look.h"
#include "screens/qtScreens.h"
#include "state/regions.h"
#include "turns/board_model.h"
#include "turns/events.h"
#include "turns/messages.h"

using namespace kisharin;
using namespace kisharin::testing;

namespace {

template <typename T>
T* child(QWidget* w, const QString& name) {
    T* c = w->findChild<T*>(name);
    if (!c) qFatal("no control %s", qPrintable(name));
    return c;
}

// Mean colour of a picture.
QColor mean(const QImage& img) {
    double r = 0, g = 0, b = 0;
    const int n = img.width() * img.height();
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            r += c.red(), g += c.green(), b += c.blue();
        }
    return QColor(int(r / n), int(g / n), int(b / n));
}

int opaquePixels(const QImage& img) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) n += img.pixelColor(x, y).alpha() > 128;
    return n;
}

// Where the board window's x stands after each move.
class MoveWatch : public QObject {
  public:
    std::vector<int> xs;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Move) xs.push_back(static_cast<QMoveEvent*>(e)->pos().x());
        return false;
    }
};

}  // namespace

class EventsTest : public QObject {
    Q_OBJECT
  private slots:
    void betWindowOffersTheStakesAndOddsItShows();
    void betWindowTextsAreNotCutOff();
    void betWindowRefusesItsCloseBox();
    void notBettingClosesAtOnceAndCancels();
    void aRaceRunsDecidesAndClosesByItself();
    void eachRaceKindHasItsTrackAndRacer();
    void theFiveEventPicturesShowWhatTheyAre();
    void aDisasterSlidesAcrossTheBoardWhilePlayGoesOn();
    void warpAndGodStandInTheMiddleUntilHidden();
    void anEarthquakeShakesTheBoardAndLeavesItALittleLeft();
    void aHumanEndingOnARaceCourseBetsOverTheBoard();
    void closingTheWindowsOfAnEventChangesNothing();
};

void EventsTest::betWindowOffersTheStakesAndOddsItShows() {
    GameState s;
    s.raceName = "競輪";
    s.playerMoney[0] = 30000;
    DefaultRng rng(3);
    BetWindow bet(s, rng);
    FrmBet& w = bet.w;
    QCOMPARE(w.windowTitle(), QStringLiteral("勝負！！"));
    auto* money = child<QComboBox>(&w, "cboMoney");
    QCOMPARE(money->count(), 4);
    QCOMPARE(money->itemText(0), QStringLiteral("  1,000円"));
    QCOMPARE(money->itemText(2), QStringLiteral(" 10,000円"));
    QCOMPARE(money->itemText(3), QStringLiteral(" 30,000円"));
    QCOMPARE(money->currentIndex(), 0);
    // The entries line up on the right only in a font of fixed pitch.
    const QFontMetrics m(money->font());
    QCOMPARE(m.horizontalAdvance(QStringLiteral("  1,000円")),
             m.horizontalAdvance(QStringLiteral("100,000円")));
    QCOMPARE(m.horizontalAdvance(QStringLiteral(" 10,000円")),
             m.horizontalAdvance(QStringLiteral("100,000円")));
    for (int i = 0; i < kLanes; ++i) {
        QCOMPARE(child<QLabel>(&w, QStringLiteral("lblOdds%1").arg(i))->text(),
                 qs("オッズ：" + fullWidthNumber(w.race().odds(i)) + "倍"));
        QVERIFY(w.race().odds(i) >= 1 && w.race().odds(i) <= 10);
        auto* o = child<QRadioButton>(&w, QStringLiteral("optNo%1").arg(i));
        QCOMPARE(o->text(), qs(fullWidthNumber(i + 1) + "コース"));
        QCOMPARE(o->isChecked(), i == 0);
    }
    QCOMPARE(child<QPushButton>(&w, "cmdStart")->text(), QStringLiteral("出走"));
    QCOMPARE(child<QPushButton>(&w, "cmdStop")->text(), QStringLiteral("勝負しない"));
    QVERIFY(!child<QLabel>(&w, "lblMessage")->isVisibleTo(&w));
    QCOMPARE(child<QWidget>(&w, "picBack")->size(), QSize(745, 305));
}

void EventsTest::betWindowTextsAreNotCutOff() {
    GameState s;
    s.raceName = "競艇";
    s.playerMoney[0] = 1000000;
    SequenceRng rng({0.99});  // odds of 10 on every lane: the longest odds text
    BetWindow bet(s, rng);
    FrmBet& w = bet.w;
    w.show();
    w.cmdStart_Click();
    for (int i = 0; i < 400 && !w.race().decided(); ++i) w.Timer_Timer();
    QApplication::processEvents();
    QStringList clipped;
    for (QLabel* l : w.findChildren<QLabel*>()) {
        if (!l->isVisibleTo(&w) || l->text().isEmpty()) continue;
        const QFontMetrics m(l->font());
        if (m.horizontalAdvance(l->text()) > l->contentsRect().width() ||
            m.height() > l->contentsRect().height())
            clipped << l->objectName() + "「" + l->text() + "」";
    }
    for (QAbstractButton* b : w.findChildren<QAbstractButton*>())
        if (b->sizeHint().width() > b->width() + 1) clipped << b->objectName() + "「" + b->text() + "」";
    auto* money = child<QComboBox>(&w, "cboMoney");
    for (int i = 0; i < money->count(); ++i)
        if (QFontMetrics(money->font()).horizontalAdvance(money->itemText(i)) + 30 > money->width())
            clipped << money->itemText(i);
    QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(", ")));
    QCOMPARE(child<QLabel>(&w, "lblOdds0")->text(), QStringLiteral("オッズ：１０倍"));
}

void EventsTest::betWindowRefusesItsCloseBox() {
    GameState s;
    s.raceName = "競馬";
    s.playerMoney[0] = 5000;
    DefaultRng rng(4);
    BetWindow bet(s, rng);
    FrmBet& w = bet.w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(!w.close());
    QTest::keyClick(&w, Qt::Key_Escape);
    settle();
    QVERIFY(w.isVisible());
}

void EventsTest::notBettingClosesAtOnceAndCancels() {
    GameState s;
    s.raceName = "競艇";
    s.playerMoney[0] = 100000;
    DefaultRng rng(5);
    BetWindow bet(s, rng);
    FrmBet& w = bet.w;
    whenModal([](QWidget* m) { child<QPushButton>(m, "cmdStop")->click(); });
    QCOMPARE(w.exec(), int(QDialog::Rejected));
    QCOMPARE(w.race().stake(), 0);
    QCOMPARE(w.outcome().winner, 0);
    QVERIFY(!w.race().started());
}

void EventsTest::aRaceRunsDecidesAndClosesByItself() {
    GameState s;
    s.raceName = "競馬";
    s.playerMoney[0] = 60000;
    DefaultRng rng(6);
    BetWindow bet(s, rng);
    FrmBet& w = bet.w;
    bool lockedWhileRunning = false;
    whenModal([&](QWidget* m) {
        child<QComboBox>(m, "cboMoney")->setCurrentIndex(3);  // 30,000円
        child<QPushButton>(m, "cmdStart")->click();
        lockedWhileRunning = !child<QPushButton>(m, "cmdStart")->isEnabled() &&
                             !child<QPushButton>(m, "cmdStop")->isEnabled() &&
                             !child<QComboBox>(m, "cboMoney")->isEnabled();
        // The lane options stay free: change to lane 5 during the race.
        auto* five = child<QRadioButton>(m, "optNo4");
        QVERIFY(five->isEnabled());
        five->click();
        // The close box is refused while the racers run.
        QVERIFY(!m->close());
    });
    QCOMPARE(w.exec(), int(QDialog::Accepted));
    QVERIFY(lockedWhileRunning);
    QCOMPARE(w.race().stake(), 30000);  // the stake the rules took with the bet
    QVERIFY(w.race().decided());
    QCOMPARE(w.race().laneAtFinish(), 4);
    const int winner = w.race().winner();
    QCOMPARE(Long(w.race().winPoints()), winner == 4 ? 300 * w.race().factor(4) : 0);
    auto* message = child<QLabel>(&w, "lblMessage");
    QVERIFY(message->isVisibleTo(&w));
    QCOMPARE(message->text(), qs("１着　" + fullWidthNumber(winner + 1) + "コース"));
    QCOMPARE(w.outcome().lane, 5);
    QCOMPARE(w.outcome().winner, winner + 1);
}

void EventsTest::eachRaceKindHasItsTrackAndRacer() {
    const char* kinds[] = {"競馬", "競艇", "競輪"};
    const QColor tracks[] = {QColor(183, 128, 94), QColor(12, 141, 245), QColor(192, 192, 192)};
    QImage racers[3];
    for (int k = 0; k < 3; ++k) {
        GameState s;
        s.raceName = kinds[k];
        s.playerMoney[0] = 1000;
        DefaultRng rng(7);
        BetWindow bet(s, rng);
        FrmBet& w = bet.w;
        const QImage track = child<QWidget>(&w, "picBack")->grab().toImage();
        QCOMPARE(track.pixelColor(300, 60), tracks[k]);
        // The racer stands at its start, at left 656 and top 40 in lane 1.
        racers[k] = track.copy(656, 40, 44, 33);
        int differing = 0;
        for (int y = 0; y < 33; ++y)
            for (int x = 0; x < 44; ++x) differing += racers[k].pixelColor(x, y) != tracks[k];
        QVERIFY2(differing > 150, kinds[k]);
        QVERIFY(opaquePixels(racerPicture(k + 1).toImage()) > 150);
    }
    QVERIFY(racerPicture(1).toImage() != racerPicture(2).toImage());
    QVERIFY(racerPicture(2).toImage() != racerPicture(3).toImage());
    QVERIFY(racerPicture(0).isNull());
}

void EventsTest::theFiveEventPicturesShowWhatTheyAre() {
    QImage pics[6];
    for (int k = 1; k <= 5; ++k) {
        pics[k] = eventPicture(k).toImage();
        QCOMPARE(pics[k].size(), QSize(kEventPictureWidth, kEventPictureHeight));
        for (int j = 1; j < k; ++j) QVERIFY(pics[j] != pics[k]);
    }
    const QColor tornado = mean(pics[1]), fire = mean(pics[2]), tsunami = mean(pics[3]);
    const QColor warp = mean(pics[4]), god = mean(pics[5]);
    // A grey storm, a red-orange blaze, a blue wave, a dark hole, a golden glow.
    QVERIFY(std::abs(tornado.red() - tornado.blue()) < 40);
    QVERIFY(fire.red() > fire.blue() + 40);
    QVERIFY(tsunami.blue() > tsunami.red() + 40);
    QVERIFY(warp.lightness() < 80);
    QVERIFY(god.lightness() > 170 && god.red() > god.blue());
    QVERIFY(eventPicture(6).isNull());
}

void EventsTest::aDisasterSlidesAcrossTheBoardWhilePlayGoesOn() {
    GameState s;
    QtScreens screens;
    DefaultRng rng(8);
    FakeClock clock;
    Game g{s, screens, rng, clock};
    FrmMain board(g, "");
    screens.setBoard(&board);
    board.show();
    QLabel* picE = board.picE();
    const int screenTop = child<QWidget>(&board, "picScreen")->y();
    screens.showDisaster(s, 3);  // returns at once
    QVERIFY(picE->isVisible());
    QCOMPARE(picE->pos(), QPoint(-picE->width(), screenTop + 10));
    QVERIFY(child<QTimer>(&board, "tmrNature")->isActive());
    // A message comes up over the board; the picture goes on moving behind it.
    s.messageText = disasterText(disasterKindText(3));
    screens.showMessage(s);
    QVERIFY(board.picEModel().left > -picE->width());
    QTRY_VERIFY_WITH_TIMEOUT(!picE->isVisible(), 5000);
    QVERIFY(board.picEModel().left > board.frameGeometry().width());
    QVERIFY(board.picEModel().left <= board.frameGeometry().width() + 50);
    QVERIFY(!child<QTimer>(&board, "tmrNature")->isActive());
}

void EventsTest::warpAndGodStandInTheMiddleUntilHidden() {
    GameState s;
    QtScreens screens;
    DefaultRng rng(9);
    FakeClock clock;
    Game g{s, screens, rng, clock};
    FrmMain board(g, "");
    screens.setBoard(&board);
    board.show();
    auto* picScreen = child<QWidget>(&board, "picScreen");
    for (int picture : {kPictureWarp, kPictureGod}) {
        screens.showEventPicture(s, picture);
        QVERIFY(board.picE()->isVisible());
        QCOMPARE(board.picE()->x(), picScreen->width() / 2 - board.picE()->width() / 2);
        QCOMPARE(board.picE()->pixmap().toImage(), eventPicture(picture).toImage());
        // No slide: the timer that would move it is not running.
        QVERIFY(!child<QTimer>(&board, "tmrNature")->isActive());
        screens.showEventPicture(s, 0);
        QVERIFY(!board.picE()->isVisible());
    }
}

void EventsTest::anEarthquakeShakesTheBoardAndLeavesItALittleLeft() {
    GameState s;
    static_cast<RailwayData&>(s) = makeEightRegions(4);
    buildRegionTables(s);
    for (int d = 1; d <= 8; ++d) {
        s.mokutekitiRosen[d] = static_cast<Integer>(d);
        s.mokutekitiEki[d] = 1;
    }
    s.mokutekitiDone[5] = true;
    QtScreens screens;
    DefaultRng rng(10);
    FakeClock clock;
    Game g{s, screens, rng, clock};
    FrmMain board(g, "");
    screens.setBoard(&board);
    board.move(300, 200);
    board.show();
    QVERIFY(QTest::qWaitForWindowExposed(&board));
    const int x0 = board.x();
    MoveWatch watch;
    board.installEventFilter(&watch);
    地震(g);
    const int step = static_cast<int>(std::lround(100 * board.logicalDpiX() / 1440.0));
    QVERIFY(step > 0);
    QCOMPARE(board.x(), x0 - step);
    QCOMPARE(int(watch.xs.size()), 11);
    for (size_t i = 0; i < watch.xs.size(); ++i) QCOMPARE(watch.xs[i], i % 2 == 0 ? x0 - step : x0);
    QCOMPARE(s.mokutekitiRosen[5], 5);
    QCOMPARE(s.mokutekitiEki[5], 1);
    // The message window has closed; the board's message log (key L) still says it.
    board.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&board));
    QTest::keyClick(&board, Qt::Key_L);
    QTRY_VERIFY(board.messageLog() && board.messageLog()->isVisible());
    QVERIFY(board.messageLog()->list()->item(0)->text().endsWith(
        QStringLiteral("目的地が変わってしまったぞ～！！")));
}

void EventsTest::aHumanEndingOnARaceCourseBetsOverTheBoard() {
    DesktopGame game;
    QVERIFY(game.start());
    FrmInit* init = game.init();
    pressStart(init, false);
    QTRY_VERIFY(game.board());
    FrmMain* board = game.board();
    GameState& s = game.state();
    // One station before the race course at the end of line 1: a one-station ride to the
    // last station is neither cut short nor overshoots.
    s.curPlayer = 0;
    s.playerRosen[0] = 1;
    s.playerEki[0] = 5;
    s.playerMoney[0] = 50000;
    路線読み込み(s, game.game().line, *game.game().metrics);
    board->refresh();
    QCOMPARE(s.ekiMark(1, 6), std::string("競馬"));

    // Bet the first stake on lane 1 when the betting window opens over the board.
    bool sawBet = false, overBoard = false;
    QTimer watch;
    watch.setInterval(1);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* w = qobject_cast<FrmBet*>(QApplication::activeModalWidget());
        if (!w || sawBet) return;
        sawBet = true;
        overBoard = w->parentWidget() == board;
        w->cmdStart_Click();
    });
    watch.start();
    QTest::mouseClick(child<QPushButton>(board, "cmdSusumu"), Qt::LeftButton);
    QTRY_VERIFY(s.susumuSteps > 0);
    board->lblEki_Click(6);
    QTRY_VERIFY_WITH_TIMEOUT(s.curPlayer == 1, 10000);
    QVERIFY(sawBet);
    QVERIFY(overBoard);
    QCOMPARE(s.raceName, std::string("競馬"));
    QVERIFY(!s.betCancelled);
    QCOMPARE(s.betStake, 1000);
    QVERIFY(s.messageText == kMsgBetLost || s.messageText == betWonText(s.betWinPoints));
}

void EventsTest::closingTheWindowsOfAnEventChangesNothing() {
    GameState s;
    s.raceName = "競馬";
    s.playerMoney[0] = 20000;
    SeatedGame game(s);
    DefaultRng rng(12);
    EventWindowAnswers answers;
    // The god's map closed with its close box: no prefecture, the player stays.
    QCOMPARE(game.askGod(), std::string());
    QVERIFY(!game.askWarp(2, "ワープ　東北地方へ"));
    // The betting window closed: no bet, the race never started.
    Race race(rng);
    openBetQuestion(game.g, race);
    game.here.runBet(game.g, race);
    closeQuestion(game.g);
    QVERIFY(!race.started());
    QVERIFY(!race.decided());
    QCOMPARE(answers.answered, 3);
}

int main(int argc, char** argv) {
    RailwayData railway = makeEightRegions(6);
    railway.ekiMark(1, 6) = "競馬";
    TestFolders folders(railway);
    QApplication app(argc, argv);
    EventsTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "events_test.moc"

// The small windows on their own: the message window, the dice window, the results,
// the course window that a new click replaces, and the board during the computer's turn.
#include <sys/stat.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTest>
#include <QUrl>
#include <QWheelEvent>
#include <memory>

#include "screen_support.h"
#include "screens/desktopGame.h"
#include "screens/frmDice.h"
#include "screens/frmEnd.h"
#include "screens/frmInit.h"
#include "screens/frmMain.h"
#include "screens/frmMessage.h"
#include "screens/frmMokutekiti.h"
#include "screens/frmSlots.h"
#include "screens/look.h"
#include "screens/qtScreens.h"
#include "screens/stripView.h"
#include "setup/save_slot.h"

using namespace kisharin;
using namespace kisharin::testing;

namespace {
TestFolders* folders = nullptr;
}

class WindowsTest : public QObject {
    Q_OBJECT
  private slots:
    void messageIsColouredForThePlayerAndClosesItself();
    void messageClosedEarlyReturnsAtOnce();
    void diceInShortModeStopsAtTheFirstTickAndHolds();
    void diceRollsForHalfASecondOtherwise();
    void diceCannotBeClosedBeforeItStops();
    void aQuestionDefaultsToNo();
    void resultsShowTheScoresAndEndTheProgramWhenClosed();
    void courseWindowIsReplacedAtEachClick();
    void boardIsDisabledWhileTheComputerMoves();
    void closingTheBoardEndsTheGameWithoutSaving();
    void theStripScrollsWithTheWheelWithinItsRange();
    void brokenSettingsFallBackWithAMessage();
    void startingWhileTheSettingsWarningIsOpen();
    void aLongAddressIsWrittenBackWhole();
    void webMapOpensTheAddressInTheBrowser();
    void longStationNamesFitTheirBoxes();
    void textIsDrawnInAJapaneseFont();
    void slotWithStationsTheDataLacksReturnsToSetup();
    void theManualOpensFromSetupAndBoardOrSaysWhy();
    void enterInTheOpenStrengthListChoosesThere();
};

// Takes the addresses the web map button hands to the desktop.
void WindowsTest::messageIsColouredForThePlayerAndClosesItself() {
    GameState s;
    s.messageText = "お金がないですよ！働いてください！";
    for (int p = 0; p <= 1; ++p) {
        s.curPlayer = static_cast<Integer>(p);
        FrmMessage m(s, nullptr);
        QCOMPARE(m.windowTitle(), QStringLiteral("メッセージ"));
        QCOMPARE(m.text(), QStringLiteral("お金がないですよ！働いてください！"));
        QCOMPARE(m.background(), p == 0 ? QColor(192, 255, 255) : QColor(255, 192, 255));
        QElapsedTimer t;
        t.start();
        m.exec();  // returns when its timer closes it (2 s, run at 1/100 here)
        QVERIFY(t.elapsed() < 2000);
    }
}

void WindowsTest::messageClosedEarlyReturnsAtOnce() {
    GameState s;
    s.messageText = "当駅どまりです。お忘れ物にご注意ください。";
    FrmMessage m(s, nullptr);
    QTimer::singleShot(0, &m, &QDialog::close);
    m.exec();
    QVERIFY(!m.isVisible());
}

void WindowsTest::diceInShortModeStopsAtTheFirstTickAndHolds() {
    GameState s;
    s.shortMode = true;
    SequenceRng rng({0.9, 0.1, 0.5});  // faces 6, 1, 4
    FrmDice d(s, rng, nullptr);
    d.exec();
    QVERIFY(d.stopped());
    QCOMPARE(rng.drawn(), size_t{1});
    QCOMPARE(d.face(), 6);
}

namespace {
// The die's roll is judged by the clock: it is run at its own pace, so that a busy
// machine still sees several of its turns.
struct RealTime {
    RealTime() { setTimeScale(1.0); }
    ~RealTime() { setTimeScale(0.01); }
};
}  // namespace

void WindowsTest::diceRollsForHalfASecondOtherwise() {
    const RealTime pace;
    GameState s;
    SequenceRng rng({0.0, 0.2, 0.4, 0.6, 0.8, 0.95});
    FrmDice d(s, rng, nullptr);
    d.exec();
    QVERIFY(d.stopped());
    QVERIFY(rng.drawn() >= 2);  // 0.5 s is several 80 ms ticks
    const int expected =
        static_cast<int>(std::vector<double>{0.0, 0.2, 0.4, 0.6, 0.8, 0.95}[(rng.drawn() - 1) % 6] * 6) + 1;
    QCOMPARE(d.face(), expected);  // the face shown last is the one thrown
}

void WindowsTest::diceCannotBeClosedBeforeItStops() {
    // Closing the die while it turns would let a player keep the face he likes.
    const RealTime pace;
    GameState s;
    SequenceRng rng({0.0, 0.2, 0.4, 0.6, 0.8, 0.95});
    FrmDice d(s, rng, nullptr);
    bool stoppedAtClose = true;
    QTimer::singleShot(0, &d, [&] {
        stoppedAtClose = d.stopped();
        d.close();
        QTest::keyClick(&d, Qt::Key_Escape);
    });
    d.exec();
    QVERIFY(!stoppedAtClose);
    QVERIFY(d.stopped());
    QVERIFY(rng.drawn() >= 2);
}

void WindowsTest::aQuestionDefaultsToNo() {
    // A jump into the warp hole is taken only when the player says so: Enter answers no.
    // The region stands in the window itself, which is wide enough for its whole title.
    QString region, question, title;
    int width = 0, titleWidth = 0;
    whenModal([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        QVERIFY(box);
        region = box->findChild<QLabel*>(QStringLiteral("lblWarpRegion"))->text();
        question = box->informativeText(), title = box->windowTitle(), width = box->width();
        titleWidth = QFontMetrics(QApplication::font("QMdiSubWindowTitleBar")).horizontalAdvance(title);
        QCOMPARE(box->icon(), QMessageBox::Question);
        QTest::keyClick(box, Qt::Key_Return);
    });
    GameState s;
    SeatedGame game(s);
    QVERIFY(!game.askWarp(5, "ワープ　近畿地方へ"));
    QCOMPARE(question, QStringLiteral("飛び込みますか？"));
    QCOMPARE(title, QStringLiteral("ワープ　近畿地方へ"));
    QCOMPARE(region, title);
    QVERIFY(width >= titleWidth + 120);  // the title bar's icon and buttons take about 120 px
}

void WindowsTest::resultsShowTheScoresAndEndTheProgramWhenClosed() {
    EndWatch end;
    GameState s;
    s.playerName[0] = "たろうさん";
    s.playerName[1] = "はなこさん";
    s.playerPoint[0] = 320;
    s.playerMoney[1] = -500;
    s.arriveCount[0] = 5;
    s.arriveCount[1] = 3;
    s.playSeconds = 3725;
    {
        FrmEnd w(s, nullptr);
        QCOMPARE(w.windowTitle(), QStringLiteral("終了"));
        auto label = [&](const char* n) { return w.findChild<QLabel*>(QString::fromLatin1(n))->text(); };
        QCOMPARE(label("lblMan1"), QStringLiteral("はなこさん"));
        QCOMPARE(label("lblPoint0"), QStringLiteral("ポイント：320P"));
        QCOMPARE(label("lblMoney1"), QStringLiteral("金額　　：-500円"));
        QCOMPARE(label("lblArrive0"), QStringLiteral("到達数 ：5回"));
        QCOMPARE(label("lblPlayTime"), QStringLiteral("PlayTime：1時間2分"));
        QTimer::singleShot(0, [&] { w.findChild<QPushButton*>(QStringLiteral("cmdEnd"))->click(); });
        w.exec();
        QCOMPARE(end.ended, 1);
    }
    FrmEnd w(s, nullptr);
    QTimer::singleShot(0, &w, &QDialog::close);  // the close box ends it too
    w.exec();
    QCOMPARE(end.ended, 2);
}

void WindowsTest::courseWindowIsReplacedAtEachClick() {
    DesktopGame game;
    QVERIFY(game.start());
    QTest::mouseClick(game.init()->findChild<QPushButton*>(QStringLiteral("cmdGo")), Qt::LeftButton);
    QTRY_VERIFY(game.board());
    FrmMain* board = game.board();
    QTRY_VERIFY(game.game().line.stationCount() > 0);
    auto* cmdCourse = board->findChild<QPushButton*>(QStringLiteral("cmdCourse"));
    QTest::mouseClick(cmdCourse, Qt::LeftButton);
    QPointer<FrmCourse> first = board->course();
    QVERIFY(first);
    QVERIFY(first->isVisible());
    QCOMPARE(first->windowTitle(), QStringLiteral("最短目的地"));
    QVERIFY(first->courseText().contains(QStringLiteral("駅")));
    QVERIFY(!first->isModal());
    QTest::mouseClick(cmdCourse, Qt::LeftButton);
    QTRY_VERIFY(!first);  // the old one is gone
    QVERIFY(board->course());
    QCOMPARE(board->findChildren<FrmCourse*>().size(), qsizetype{1});
    // The board is still usable beside it.
    QVERIFY(board->isEnabled());
}

void WindowsTest::boardIsDisabledWhileTheComputerMoves() {
    DesktopGame game;
    QVERIFY(game.start());
    FrmInit* init = game.init();
    pressStart(init, true);
    QTRY_VERIFY(game.board());
    FrmMain* board = game.board();
    GameState& s = game.state();
    QTRY_VERIFY(board->isEnabled() && game.game().line.stationCount() > 0);
    bool disabledSeen = false;
    QTimer spy;
    spy.setInterval(1);
    QObject::connect(&spy, &QTimer::timeout, [&] {
        if (s.curPlayer == 1 && !board->isEnabled()) disabledSeen = true;
    });
    spy.start();
    QTest::mouseClick(board->findChild<QPushButton*>(QStringLiteral("cmdWork")), Qt::LeftButton);
    QTRY_COMPARE(s.curPlayer, Integer{0});
    QVERIFY(disabledSeen);
    QTRY_VERIFY(board->isEnabled());
    QTRY_VERIFY(board->findChild<QLabel*>(QStringLiteral("lblManName"))
                    ->text()
                    .startsWith(QStringLiteral("たろうさん")));
}

void WindowsTest::closingTheBoardEndsTheGameWithoutSaving() {
    EndWatch end;
    DesktopGame game;
    QVERIFY(game.start());
    QTest::mouseClick(game.init()->findChild<QPushButton*>(QStringLiteral("cmdGo")), Qt::LeftButton);
    QTRY_VERIFY(game.board());
    QTRY_VERIFY(game.game().line.stationCount() > 0);
    game.board()->close();
    QCOMPARE(end.ended, 1);
    for (int n = 1; n <= 3; ++n)
        QVERIFY(!fileExists(folders->gameData("GameData" + std::to_string(n) + ".txt")));
}

void WindowsTest::theStripScrollsWithTheWheelWithinItsRange() {
    DesktopGame game;
    QVERIFY(game.start());
    QTest::mouseClick(game.init()->findChild<QPushButton*>(QStringLiteral("cmdGo")), Qt::LeftButton);
    QTRY_VERIFY(game.board());
    FrmMain* board = game.board();
    QTRY_VERIFY(game.game().line.stationCount() > 0);
    // Twelve stations: a strip of 12 x 35 + 50 = 470 px in a viewport of 433.
    QScrollBar* bar = board->scrollBar();
    QCOMPARE(bar->maximum(), 37);
    bar->setValue(0);
    auto wheel = [&](QWidget* over, int delta) {
        QWheelEvent e(QPointF(5, 5), over->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(over, &e);
    };
    wheel(board->strip(), -120);  // toward the user: down, but not past the end
    QCOMPARE(bar->value(), 37);
    QCOMPARE(board->strip()->y(), -37);
    wheel(board->strip(), -120);
    QCOMPARE(bar->value(), 37);
    wheel(bar, 120);  // over the bar itself: the same step
    QCOMPARE(bar->value(), 0);
    QCOMPARE(board->strip()->y(), 0);
}

void WindowsTest::brokenSettingsFallBackWithAMessage() {
    writeCp932(folders->gameData("NameData.txt"), {"たろう", "はなこ", " 0 ", " 5 ", " 1 "});
    QString warning;
    whenModal([&](QWidget* box) {
        warning = qobject_cast<QMessageBox*>(box)->text();
        press(box, QMessageBox::Ok);
    });
    DesktopGame game;
    QVERIFY(game.start());
    QTRY_VERIFY(!warning.isEmpty());
    QVERIFY(warning.contains(QStringLiteral("NameData.txt」の4行目")));
    QVERIFY(warning.contains(QStringLiteral("NameData.txt」の6行目")));
    // The shipped values stand in: short mode Off, the whole country.
    FrmInit* init = game.init();
    QVERIFY(init->findChild<QRadioButton*>(QStringLiteral("optShort(1)"))->isChecked());
    QVERIFY(init->findChild<QRadioButton*>(QStringLiteral("optArea(0)"))->isChecked());
    QCOMPARE(init->settings().name1, std::string("たろう"));
    // Starting the game writes a whole file again.
    QTest::mouseClick(init->findChild<QPushButton*>(QStringLiteral("cmdGo")), Qt::LeftButton);
    QTRY_VERIFY(game.board());
    QCOMPARE(readLines(folders->gameData("NameData.txt")).size(), size_t{6});
}

// The settings warning belongs to the setup window. A start that comes while it is open
// (here a click sent straight to the button) closes the setup window and the box with it.
void WindowsTest::startingWhileTheSettingsWarningIsOpen() {
    makeDirectories(folders->home.path() + "GameData");
    writeCp932(folders->gameData("NameData.txt"), {"たろう", "はなこ", " 0 ", " 5 ", " 1 "});
    DesktopGame game;
    QVERIFY(game.start());
    QTRY_VERIFY(qobject_cast<QMessageBox*>(QApplication::activeModalWidget()));
    const QPointer<QWidget> box = QApplication::activeModalWidget();
    const QString warning = qobject_cast<QMessageBox*>(box.data())->text();
    QCOMPARE(warning.count(QStringLiteral("既定")), 0);  // each line says what stands in
    QVERIFY(warning.contains(QStringLiteral("NameData.txt」の4行目")));
    QTest::mouseClick(game.init()->findChild<QPushButton*>(QStringLiteral("cmdGo")), Qt::LeftButton);
    QTRY_VERIFY(game.board());
    QTRY_VERIFY(box.isNull());
    QVERIFY(game.board()->isVisible());
}

// The address field holds more than a line edit's usual 32,767 characters: starting the
// game writes the address of URL.txt back as it was.
void WindowsTest::aLongAddressIsWrittenBackWhole() {
    const std::string address = "https://example.invalid/map?q=" + std::string(40000, 'a');
    makeDirectories(folders->home.path() + "GameData");
    writeCp932(folders->gameData("URL.txt"), {address});
    // The next start copies the shipped address again.
    const auto restore = qScopeGuard([] { std::remove(folders->gameData("URL.txt").c_str()); });
    DesktopGame game;
    QVERIFY(game.start());
    QVERIFY(game.init()->loadProblems().empty());
    QTest::mouseClick(game.init()->findChild<QPushButton*>(QStringLiteral("cmdGo")), Qt::LeftButton);
    QTRY_VERIFY(game.board());
    QCOMPARE(readLines(folders->gameData("URL.txt")), std::vector<std::string>{address});
}

void WindowsTest::webMapOpensTheAddressInTheBrowser() {
    // A stand-in for the desktop's opener (xdg-open): notes the address and ends with the
    // given status (3: no browser installed).
    ScratchDir bin;
    const std::string opened = bin.file("opened.txt"), opener = bin.file("xdg-open");
    auto install = [&](int status) {
        writeBytesAtomic(opener,
                         "#!/bin/sh\necho \"$1\" > '" + opened + "'\nexit " + std::to_string(status) + "\n");
        ::chmod(opener.c_str(), 0755);
        std::remove(opened.c_str());
    };
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QByteArray::fromStdString(bin.path()));
    DesktopGame game;
    QVERIFY(game.start());
    QTest::mouseClick(game.init()->findChild<QPushButton*>(QStringLiteral("cmdGo")), Qt::LeftButton);
    QTRY_VERIFY(game.board());
    FrmMain* board = game.board();
    QTRY_VERIFY(game.game().line.stationCount() > 0);
    QString told;
    auto clickAndListen = [&] {
        told.clear();
        whenModal([&](QWidget* box) {
            told = qobject_cast<QMessageBox*>(box)->text();
            press(box, QMessageBox::Ok);
        });
        QTest::mouseClick(board->findChild<QPushButton*>(QStringLiteral("cmdMap")), Qt::LeftButton);
    };

    install(0);
    QTest::mouseClick(board->findChild<QPushButton*>(QStringLiteral("cmdMap")), Qt::LeftButton);
    QTRY_VERIFY(fileExists(opened));
    QTRY_COMPARE(QString::fromStdString(readFileBytes(opened)), QStringLiteral("https://example.invalid/map\n"));
    QTest::qWait(50);
    QVERIFY(!QApplication::activeModalWidget());  // opened: nothing to say

    // No browser installed: the opener gives up, and the player hears of it.
    install(3);
    clickAndListen();
    QTRY_VERIFY(told.contains(QStringLiteral("ブラウザを起動できませんでした")));
    QVERIFY(fileExists(opened));
    // No opener at all.
    std::remove(opener.c_str());
    clickAndListen();
    QTRY_VERIFY(told.contains(QStringLiteral("https://example.invalid/map")));
    qputenv("PATH", path);

    // Without an address no browser can be started: the player is told, the game goes on.
    game.state().webMapUrl.clear();
    told.clear();
    whenModal([&](QWidget* box) {
        told = qobject_cast<QMessageBox*>(box)->text();
        press(box, QMessageBox::Ok);
    });
    QTest::mouseClick(board->findChild<QPushButton*>(QStringLiteral("cmdMap")), Qt::LeftButton);
    QTRY_VERIFY(told.contains(QStringLiteral("ブラウザを起動できませんでした")));
    QVERIFY(board->isEnabled());
}

void WindowsTest::longStationNamesFitTheirBoxes() {
    // In the board's own bold font, every row within the box's frame.
    StationView st;
    st.box = {30, 27, kStationLabelWidth, kBoxHeight};
    for (const char* name :
         {"空港第２ビル（成田第２・第３ターミナル）", "トヨタモビリティ富山 Gスクエア五福前（五福末広町）"}) {
        st.name = name, st.fontSize = kStationSmallFontSize;
        const StationCaption c = stationCaption(st);
        const QFontMetrics fm(uiFont(c.fontSize, true));
        QVERIFY(c.lines.size() == 2 && 2 * fm.height() <= st.box.height - 2);
        for (const std::string& row : c.lines)
            QVERIFY2(fm.horizontalAdvance(qs(row)) <= st.box.width - 4, name);
    }
}

void WindowsTest::textIsDrawnInAJapaneseFont() {
    for (const QFont& f : {uiFont(9), uiFont(11, true), titleFont(30)}) {
        const QFontInfo info(f);
        QVERIFY2(info.family().startsWith(QStringLiteral("IPA")) ||
                     info.family().startsWith(QStringLiteral("M PLUS")),
                 qPrintable(info.family()));
        const QFontMetrics m(f);
        for (const QChar c : QStringLiteral("駅ぁア線鉄ヶ★：")) QVERIFY2(m.inFont(c), qPrintable(QString(c)));
    }
    QCOMPARE(QFontInfo(uiFont(9)).family(), QStringLiteral("IPAPGothic"));
    // The board's sizes come from the same font.
    QtTextMetrics metrics;
    QVERIFY(metrics.width("新千歳空港", 9) > metrics.width("千歳", 9));
    QCOMPARE(metrics.height(9), QFontMetrics(uiFont(9)).height());
}

void WindowsTest::slotWithStationsTheDataLacksReturnsToSetup() {
    // A well-formed slot whose player 2 stands on a line the railway does not have.
    GameState saved;
    for (int d = 1; d <= 8; ++d)
        saved.mokutekitiRosen[d] = static_cast<Integer>(d), saved.mokutekitiEki[d] = 1;
    for (int p = 0; p <= 1; ++p) saved.playerRosen[p] = 1, saved.playerEki[p] = 1, saved.playerKind[p] = 1;
    saved.playerRosen[1] = 700;
    writeSlot(folders->home.path() + "GameData/", 1, saved);

    DesktopGame game;
    QVERIFY(game.start());
    FrmInit* first = game.init();
    QString told;
    whenModal([&](QWidget* picker) {
        whenModal(
            [&](QWidget* box) {
                told = qobject_cast<QMessageBox*>(box)->text();
                press(box, QMessageBox::Ok);
            },
            picker);
        qobject_cast<FrmLoadData*>(picker)->cmdLoad(1)->click();
    });
    QTest::mouseClick(first->findChild<QPushButton*>(QStringLiteral("cmdContinue")), Qt::LeftButton);
    QTRY_VERIFY(!told.isEmpty());
    QVERIFY2(told.contains(QStringLiteral("GameData1.txt」の41行目")), qPrintable(told));
    // A fresh setup window takes over; no board was opened.
    QTRY_VERIFY(game.init() && game.init()->isVisible());
    QVERIFY(!game.board());
    std::remove(folders->gameData("GameData1.txt").c_str());
}

// 「遊び方」 in the setup window and F1 on the board hand the manual to the browser; without
// a browser, the player is told which file to open.
void WindowsTest::theManualOpensFromSetupAndBoardOrSaysWhy() {
    ScratchDir bin;
    const std::string opened = bin.file("opened.txt"), opener = bin.file("xdg-open");
    writeBytesAtomic(opener, "#!/bin/sh\necho \"$1\" >> '" + opened + "'\nexit ${KISHARIN_TEST_OPENER:-0}\n");
    ::chmod(opener.c_str(), 0755);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QByteArray::fromStdString(bin.path()));
    const std::string manual = folders->shipped.file("Manual.htm"), url = "file://" + manual + "\n";
    writeBytesAtomic(manual, "<html></html>");
    const auto restore = qScopeGuard([&] { qputenv("PATH", path), std::remove(manual.c_str()); });
    DesktopGame game;
    QVERIFY(game.start());
    auto* button = game.init()->findChild<QPushButton*>(QStringLiteral("cmdManual"));
    button->click();
    QTRY_VERIFY(fileExists(opened) && readFileBytes(opened) == url);
    qputenv("KISHARIN_TEST_OPENER", "3");  // xdg-open: no browser installed
    QString told;
    whenModal(
        [&](QWidget* box) { told = qobject_cast<QMessageBox*>(box)->text(), press(box, QMessageBox::Ok); });
    button->click();
    QTRY_VERIFY(told.contains(QStringLiteral("ブラウザを開けなかった")) && told.contains(qs(manual)));
    qunsetenv("KISHARIN_TEST_OPENER");
    pressStart(game.init(), false);
    QTRY_VERIFY(game.board());
    QVERIFY(QTest::qWaitForWindowActive(game.board()));
    QTest::keyClick(game.board(), Qt::Key_F1);
    QTRY_COMPARE(readFileBytes(opened), url + url + url);
}

// Enter in the open strength list takes the strength under the cursor there; the game
// does not start. Enter elsewhere still starts it.
void WindowsTest::enterInTheOpenStrengthListChoosesThere() {
    DesktopGame game;
    QVERIFY(game.start());
    FrmInit* init = game.init();
    QVERIFY(QTest::qWaitForWindowActive(init));
    init->findChild<QRadioButton*>(QStringLiteral("optPlayer(1)"))->setChecked(true);
    QComboBox* box = init->strengthBox();
    box->setCurrentIndex(0);
    box->showPopup();
    QTRY_VERIFY(box->view()->isVisible());
    QTest::keyClick(box->view(), Qt::Key_Down);
    QTest::keyClick(box->view(), Qt::Key_Return);
    QTRY_VERIFY(!box->view()->isVisible());
    QCOMPARE(box->currentIndex(), 1);
    QVERIFY(!game.board());
    QTest::keyClick(box, Qt::Key_Return);
    QTRY_VERIFY(game.board());
}

int main(int argc, char** argv) {
    TestFolders f(linkedRailway(12));
    folders = &f;
    QApplication app(argc, argv);
    WindowsTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "windows_test.moc"

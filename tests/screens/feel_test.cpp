// How the windows feel in the hand: the detailed map's zoom bar and corner marks, the
// map and the picker kept over the board, Qt's own buttons in Japanese.
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>
#include <atomic>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <functional>
#include <set>
#include <thread>

#include "maps/picker.h"
#include "record/game_record.h"
#include "screen_support.h"
#include "screens/desktopGame.h"
#include "screens/frmEki.h"
#include "screens/frmInit.h"
#include "screens/frmMain.h"
#include "screens/frmMap.h"
#include "screens/frmMokutekiti.h"
#include "screens/frmOneMap.h"
#include "screens/frmSlots.h"
#include "screens/placement.h"
#include "screens/translations.h"
#include "setup/save_slot.h"
#include "setup/slot_summary.h"

using namespace kisharin;
using namespace kisharin::testing;

namespace {

// The detailed map of the small 東京都 of the fixtures, opened on its own.
struct OpenMap {
    explicit OpenMap(GameState& s) : button(QStringLiteral("路線図")) {
        s.mapDataDir = std::string(KISHARIN_TEST_FIXTURES) + "/MapData/";
        mapPick().pickedPref = "東京都";
        mapPick().prefPicked = True;
        map = new FrmOneMap(s, &button);
        map->show();
        map->Form_Activate();
    }
    ~OpenMap() { delete map; }
    QPushButton button;
    QPointer<FrmOneMap> map;
};

// How many strongly red pixels the canvas shows within `r` pixels of p.
int redAround(QWidget* canvas, QPointF p, int r) {
    const QImage img = canvas->grab().toImage();
    int n = 0;
    for (int y = int(p.y()) - r; y <= int(p.y()) + r; ++y)
        for (int x = int(p.x()) - r; x <= int(p.x()) + r; ++x) {
            if (!img.rect().contains(x, y)) continue;
            const QColor c = img.pixelColor(x, y);
            if (c.red() > 180 && c.green() < 80 && c.blue() < 80) ++n;
        }
    return n;
}

// A sound device that counts what it is given to play.
class CountingOutput final : public SoundOutput {
  public:
    explicit CountingOutput(std::atomic<int>* played) : played_(played) {}
    bool play(const Sound& sound) override {
        if (!sound.samples.empty()) ++*played_;
        return true;
    }

  private:
    std::atomic<int>* played_;
};

// Player 1 rides a line of ten stations from 3 to 2, in voice mode.
GameState voiceRide() {
    GameState s;
    TestLine l;
    l.name = "本線";
    for (int i = 1; i <= 10; ++i) l.stations.push_back("駅" + std::to_string(i));
    l.prefs = {"東京都"};
    l.descriptor = "3\\200;0;0\\0;120;0\\0;0;200\\230;230;230\\0";
    addLine(s, 1, l);
    s.appDir = std::string(KISHARIN_SHIPPED_DATA_DIR) + "/";
    s.curPlayer = 0;
    s.playerRosen[0] = 1;
    s.startEki[0] = 3;
    s.playerEki[0] = 2;
    s.ekiYomi(1, 2) = "えきに";
    s.rideInfo = {"各停", rgb(0, 0, 0), 80};
    s.gameClock = 45000 + 10.0 / 24;
    s.voiceMode = true;
    return s;
}

}  // namespace

// Calls onPaint at every painting of the widgets it is installed on.
struct PaintWatch : QObject {
    std::function<void()> onPaint;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) onPaint();
        return false;
    }
};

class FeelTest : public QObject {
    Q_OBJECT
  private slots:
    void aDragOfTheZoomBarDrawsOnceWhereItIsLetGo();
    void thePickedCornersStayMarkedOnANewPicture();
    void theMapAndThePickerStayOverTheBoard();
    void qtsOwnButtonsSpeakJapanese();
    void theRidesShareOneSoundStreamOpenedBeforeArrival();
    void theCourseFitsItsLongestLineName();
    void theRideWindowFitsASmallScreen();
    void theSlotPickerSaysWhatEachSlotHolds();
    void theWheelZoomsTheMapAroundThePointer();
    void aTurnIsPlayedFromTheKeyboard();
    void theRideGlidesBetweenItsTicks();
};

void FeelTest::aDragOfTheZoomBarDrawsOnceWhereItIsLetGo() {
    GameState s;
    OpenMap m(s);
    QScrollBar* bar = m.map->zoomBar();
    const int before = m.map->model().drawCount();
    bar->setSliderDown(true);
    for (int v = 1; v <= 6; ++v) bar->setSliderPosition(v);
    QCOMPARE(m.map->model().drawCount(), before);  // passing the steps draws nothing
    bar->setSliderDown(false);
    QCOMPARE(m.map->model().drawCount(), before + 1);
    QCOMPARE(m.map->model().zoomValue(), 6);
    QCOMPARE(m.map->canvas()->geometry(), QRect(-600, -600, 1800, 1800));
    // A click on the bar's arrow is one step, drawn at once.
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    QCOMPARE(m.map->model().drawCount(), before + 2);
    QCOMPARE(m.map->model().zoomValue(), 5);
    // "描画中" is up while a step draws; a quick drawing is on the screen before the box
    // could be, so the box is not painted: it would only flicker at every step.
    auto* box = m.map->findChild<QLabel*>(QStringLiteral("txtIng"));
    QVERIFY(box);
    QVERIFY(QTest::qWaitForWindowExposed(m.map));
    int boxPaints = 0;
    PaintWatch watch;
    watch.onPaint = [&] { ++boxPaints; };
    box->installEventFilter(&watch);
    bool upWhileDrawing = false;
    OneMap& model = m.map->model();
    const std::function<void(bool)> busy = model.busy;
    model.busy = [&](bool on) {
        busy(on);
        if (on) upWhileDrawing = box->isVisible();
    };
    // (The box is painted at once after a drawing that kept the player waiting; a machine
    // loaded enough to take that long for the last one sees it painted.)
    const bool waited = m.map->lastDrawing() >= FrmOneMap::kSlowDrawing;
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(model.zoomValue(), 6);
    QVERIFY(upWhileDrawing);
    QTest::qWait(50);
    QVERIFY(!box->isVisible());
    QCOMPARE(boxPaints, waited ? 1 : 0);
}

void FeelTest::thePickedCornersStayMarkedOnANewPicture() {
    GameState s;
    OpenMap m(s);
    MapCanvas* canvas = m.map->canvas();
    // Spots with no label, so that the presses fall on the map.
    const QPoint a(560, 40), b(590, 590);
    QTest::mousePress(canvas, Qt::LeftButton, {}, a);
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, a);
    QTest::mousePress(canvas, Qt::RightButton, {}, b);
    QTest::mouseRelease(canvas, Qt::RightButton, {}, b);
    QVERIFY(redAround(canvas, b, 6) > 4);
    // The zoom bar draws anew; the corners still hold, so they are still marked, where
    // they lie on the larger canvas.
    m.map->zoomBar()->setValue(2);
    const OneMap& model = m.map->model();
    QCOMPARE(model.drawCount(), 2);
    const CanvasScale c = model.scale();
    const QPointF moved(c.pixelX(*textFloat(model.txtX2())), c.pixelY(*textFloat(model.txtY2())));
    QVERIFY(moved.x() > 900);
    QVERIFY(redAround(canvas, moved, 6) > 4);
    // "変更" zooms into the marked area: the map is that area now, and is not marked over.
    QTest::mouseClick(m.map->zoomButton(), Qt::LeftButton);
    QCOMPARE(model.zoomDepth(), 1);
    const CanvasScale z = model.scale();
    const QPointF corner(z.pixelX(*textFloat(model.txtX2())), z.pixelY(*textFloat(model.txtY2())));
    QCOMPARE(redAround(canvas, corner, 6), 0);
    QCOMPARE(redAround(canvas, QPointF(300, 300), 40), 0);
    // A new corner is marked again.
    QTest::mousePress(canvas, Qt::RightButton, {}, QPoint(300, 300));
    QTest::mouseRelease(canvas, Qt::RightButton, {}, QPoint(300, 300));
    QVERIFY(redAround(canvas, QPointF(300, 300), 6) > 4);
}

void FeelTest::theMapAndThePickerStayOverTheBoard() {
    DesktopGame game;
    QVERIFY(game.start());
    pressStart(game.init(), true);
    QTRY_VERIFY(game.board());
    FrmMain* board = game.board();
    QVERIFY(QTest::qWaitForWindowExposed(board));
    const QRect screen = board->screen()->availableGeometry();
    QTest::mouseClick(board->findChild<QPushButton*>(QStringLiteral("cmdMap2")), Qt::LeftButton);
    QPointer<FrmMap> picker = FrmMap::viewing();
    QVERIFY(picker);
    // The window manager keeps a window above the one it belongs to.
    QVERIFY(picker->windowHandle());
    QCOMPARE(picker->windowHandle()->transientParent(), board->windowHandle());
    QVERIFY2(screen.contains(picker->frameGeometry()), "the picker lies wholly on the screen");
    QCOMPARE(picker->frameGeometry().topLeft(),
             placedOver(picker->frameGeometry().size(), board->frameGeometry(), screen));
    QTest::mouseClick(picker->prefLabel(13), Qt::LeftButton);
    QTRY_VERIFY(FrmOneMap::instance());
    QPointer<FrmOneMap> map = FrmOneMap::instance();
    QCOMPARE(map->windowHandle()->transientParent(), board->windowHandle());
    QCOMPARE(map->windowType(), Qt::Dialog);  // X window managers hear of the owner only so
    QCOMPARE(map->frameGeometry().topLeft(),
             placedOver(map->frameGeometry().size(), board->frameGeometry(), screen));
    // Kept above without belonging to the board as a widget: the computer's turn, which
    // disables the board, leaves the map usable.
    board->setBoardEnabled(false);
    QVERIFY(map->isEnabled());
    board->setBoardEnabled(true);
    map->close();
    QTRY_VERIFY(!map);
}

void FeelTest::qtsOwnButtonsSpeakJapanese() {
    QVERIFY2(installQtJapanese(*QCoreApplication::instance()),
             "qtbase_ja.qm is installed with qt6-translations-l10n");
    QMessageBox box(QMessageBox::Question, QStringLiteral("ワープ"), QStringLiteral("？"),
                    QMessageBox::Yes | QMessageBox::No);
    QVERIFY2(box.button(QMessageBox::Yes)->text().startsWith(QStringLiteral("はい")),
             qPrintable(box.button(QMessageBox::Yes)->text()));
    QVERIFY2(box.button(QMessageBox::No)->text().startsWith(QStringLiteral("いいえ")),
             qPrintable(box.button(QMessageBox::No)->text()));
}

void FeelTest::theRidesShareOneSoundStreamOpenedBeforeArrival() {
    std::atomic<int> opened = 0, played = 0;
    setSoundOutputOpener([&] {
        ++opened;
        return std::make_unique<CountingOutput>(&played);
    });
    FakeClock clock;
    DefaultRng rng(1);
    for (int ride = 0; ride < 2; ++ride) {
        GameState s = voiceRide();
        FrmEki w(s, rng, clock, nullptr);
        // Without the event loop the train does not move: the stream is opened meanwhile.
        for (int i = 0; i < 400 && opened == 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        QCOMPARE(opened.load(), 1);
        QVERIFY(!w.motion().arrived());
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [&] { w.done(-1); });
        watchdog.start(30000);
        QCOMPARE(w.exec(), int(QDialog::Accepted));
    }
    QCOMPARE(opened.load(), 1);  // one stream for both arrivals
    if (JapaneseVoice(findVoiceFiles(), nullptr).canSynthesise()) QCOMPARE(played.load(), 2);
    setSoundOutputOpener({});
}

void FeelTest::theCourseFitsItsLongestLineName() {
    GameState s;
    addLine(s, 1, line("JR陸羽東線(奥の細道湯けむりライン)", 30));
    addLine(s, 2, line("JR奥羽本線", 30));
    s.routeList = {RoutePoint{2, 12, 40, "x"}, RoutePoint{1, 27, 40, "x"}};
    FrmCourse w(s, nullptr);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto* text = w.findChild<QTextEdit*>(QStringLiteral("txtCourse"));
    QVERIFY(text->toPlainText().contains(QStringLiteral("(奥の細道湯けむりライン)")));
    for (QTextBlock b = text->document()->begin(); b.isValid(); b = b.next())
        QVERIFY2(b.layout()->lineCount() <= 1, qPrintable(b.text()));
    QVERIFY(!text->horizontalScrollBar()->isVisible());
}

void FeelTest::theRideWindowFitsASmallScreen() {
    GameState s = voiceRide();
    s.voiceMode = false;
    s.playerPoint[0] = 1234567;
    FakeClock clock;
    DefaultRng rng(1);
    FrmEki w(s, rng, clock, nullptr);
    QCOMPARE(w.size(), QSize(994, 519));  // as drawn, before it is shown
    // The test screen is 800 pixels wide, like a 1280-pixel screen scaled by 1.5.
    const QRect screen = w.screen()->availableGeometry();
    QVERIFY(screen.width() < 994);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(w.fit() < 1.0);
    QVERIFY2(screen.contains(w.frameGeometry()), "the ride lies wholly on the screen");
    for (const char* name : {"lblRosenName", "lblShubetu", "lblPoint", "lblScore"}) {
        auto* l = w.findChild<QLabel*>(QString::fromLatin1(name));
        QVERIFY2(w.rect().contains(l->geometry()), name);
    }
    auto* score = w.findChild<QLabel*>(QStringLiteral("lblScore"));
    QVERIFY(score->fontMetrics().horizontalAdvance(QStringLiteral("1234567")) <= score->width());
    // The whole scene is drawn smaller: the rail still runs across the window.
    const QImage img = w.grab().toImage();
    QCOMPARE(img.pixelColor(img.width() / 2, static_cast<int>(465 * w.fit())), QColor(Qt::black));
}

void FeelTest::theSlotPickerSaysWhatEachSlotHolds() {
    ScratchDir dir;
    GameState s;
    static_cast<RailwayData&>(s) = linkedRailway(6);
    s.playerName[0] = "たろう";
    s.playerName[1] = "はなこ";
    s.playArea = 3;
    s.gameClock = 45000 + 10.5 / 24;
    for (int d = 1; d <= 8; ++d) s.mokutekitiRosen[d] = static_cast<Integer>(d), s.mokutekitiEki[d] = 1;
    for (int p = 0; p <= 1; ++p) s.playerKind[p] = 1;
    s.playerRosen[0] = 2, s.playerEki[0] = 3, s.playerMoney[0] = 12345;
    s.playerRosen[1] = 5, s.playerEki[1] = 1, s.playerMoney[1] = -700;
    writeSlot(dir.path(), 1, s);
    writeBytesAtomic(slotPath(dir.path(), 3), "壊れています\r\n");
    s.slotExists[1] = s.slotExists[3] = true;

    // Saved on 2026/03/14 at 15:09 (the slot file's time), by the players its record names.
    std::tm when{0, 9, 15, 14, 2, 126, 0, 0, -1, 0, nullptr};
    const auto saved = std::chrono::system_clock::from_time_t(std::mktime(&when));
    std::filesystem::last_write_time(slotPath(dir.path(), 1), std::chrono::file_clock::from_sys(saved));
    writeBytesAtomic(slotRecordPath(dir.path(), 1),
                     "{\"t\":\"start\",\"names\":[\"じろうさん\",\"さぶろうさん\"]}\n");

    FrmLoadData picker(s, dir.path(), nullptr);
    auto text = [&](int n) {
        return picker.findChild<QLabel*>(QStringLiteral("lblSlot(%1)").arg(n))->text();
    };
    const QString one = text(1);
    for (const QString& part :
         {QStringLiteral("保存：2026/03/14 15:09"), QStringLiteral("関東版"), QStringLiteral("じろうさん"),
          QStringLiteral("￥12,345"), qs(s.ekiName(2, 3) + "駅"), QStringLiteral("さぶろうさん"),
          QStringLiteral("-￥700"), qs(s.ekiName(5, 0))})
        QVERIFY2(one.contains(part), qPrintable(part + QStringLiteral(" in ") + one));
    QVERIFY(!one.contains(QStringLiteral("たろう")) && !one.contains(qs(slotClockText(s.gameClock))));
    // A record older than its slot is an earlier game's: the setup window's names stand in.
    std::filesystem::last_write_time(slotRecordPath(dir.path(), 1),
                                     std::chrono::file_clock::from_sys(saved) - std::chrono::hours(1));
    const FrmLoadData stale(s, dir.path(), nullptr, {"しろうさん", "ごろうさん"});
    QVERIFY(stale.findChild<QLabel*>(QStringLiteral("lblSlot(1)"))
                ->text()
                .contains(QStringLiteral("しろうさん")));
    QCOMPARE(text(2), QStringLiteral("（空き）"));
    QVERIFY2(text(3).contains(QStringLiteral("GameData3.txt")), qPrintable(text(3)));
    // Back to the setup window, nothing loaded.
    picker.show();
    picker.cmdBack()->click();
    QVERIFY(!picker.isVisible());
    QCOMPARE(picker.result(), int(QDialog::Rejected));
    QCOMPARE(picker.loadedSlot(), 0);
}

void FeelTest::theWheelZoomsTheMapAroundThePointer() {
    GameState s;
    OpenMap m(s);
    MapCanvas* canvas = m.map->canvas();
    const OneMap& model = m.map->model();
    const QPoint at(450, 150);  // in the frame, where the canvas lies at first
    const CanvasScale c0 = model.scale();
    const double lon = c0.lonAt(at.x()), lat = c0.latAt(at.y());
    auto turn = [&](int eighths) {
        const QPoint local = canvas->mapFrom(m.map->floor(), at);
        QWheelEvent e(QPointF(local), QPointF(canvas->mapToGlobal(local)), QPoint(), QPoint(0, eighths),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(canvas, &e);
    };
    const MapView whole = model.view();
    turn(120);  // a notch: a zoom step of the view, the canvas and the bar as they were
    QCOMPARE(model.zoomDepth(), 1);
    QCOMPARE(m.map->zoomBar()->value(), 0);
    turn(60);  // half a notch does nothing yet
    QCOMPARE(model.zoomDepth(), 1);
    turn(60);
    QCOMPARE(model.zoomDepth(), 2);
    QCOMPARE(canvas->geometry(), QRect(0, 0, 600, 600));
    const CanvasScale c2 = model.scale();
    QVERIFY(std::abs(canvas->x() + c2.pixelX(static_cast<float>(lon)) - at.x()) <= 1.5);
    QVERIFY(std::abs(canvas->y() + c2.pixelY(static_cast<float>(lat)) - at.y()) <= 1.5);
    turn(-240);  // back out to the whole prefecture
    QCOMPARE(model.view(), whole);
}

void FeelTest::aTurnIsPlayedFromTheKeyboard() {
    DesktopGame game;
    QVERIFY(game.start());
    FrmInit* init = game.init();
    init->findChild<QRadioButton*>(QStringLiteral("optPlayer(1)"))->setChecked(true);
    init->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(init));
    QTest::keyClick(init, Qt::Key_Return);  // "はじめから"
    QTRY_VERIFY(game.board());
    FrmMain* board = game.board();
    board->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(board));
    auto* work = board->findChild<QPushButton*>(QStringLiteral("cmdWork"));
    QVERIFY2(work->toolTip().contains(QStringLiteral("キー：A")), qPrintable(work->toolTip()));
    // The kinds.
    auto* express = board->findChild<QRadioButton*>(QStringLiteral("optKind(2)"));
    QVERIFY(express->isEnabled());
    QTest::keyClick(board, Qt::Key_2);
    QVERIFY(express->isChecked());
    QCOMPARE(int(game.state().selKind), 2);
    // The course window and the map picker, which open without waiting.
    QTest::keyClick(board, Qt::Key_C);
    QTRY_VERIFY(board->findChild<FrmCourse*>());
    QTest::keyClick(board, Qt::Key_M);
    QTRY_VERIFY(FrmMap::viewing());
    FrmMap::viewing()->close();
    QTRY_VERIFY(!FrmMap::viewing());
    // The destination list is modal: it is closed here as soon as it opens.
    bool listed = false;
    whenModal([&](QWidget* w) {
        listed = w->objectName() == QStringLiteral("frmMokutekiti");
        w->close();
    });
    board->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(board));
    QTest::keyClick(board, Qt::Key_D);
    QTRY_VERIFY(listed);
    // While the board is disabled (the computer's turn) the keys do nothing.
    board->setBoardEnabled(false);
    QTest::keyClick(board, Qt::Key_M);
    settle();
    QVERIFY(!FrmMap::viewing());
    board->setBoardEnabled(true);
}

void FeelTest::theRideGlidesBetweenItsTicks() {
    setTimeScale(1.0);  // real time: ticks of 100 ms, frames of 16 ms
    GameState s = voiceRide();
    s.voiceMode = false;
    s.rideInfo.value = 100;
    FakeClock clock;
    DefaultRng rng(1);
    FrmEki w(s, rng, clock, nullptr);
    std::set<int> ticked{w.motion().left()};
    QObject::connect(w.findChild<QTimer*>(QStringLiteral("tmrMain")), &QTimer::timeout,
                     [&] { ticked.insert(w.motion().left()); });
    std::vector<int> painted;
    PaintWatch watch;
    watch.onPaint = [&] { painted.push_back(w.shownLeft()); };
    w.installEventFilter(&watch);
    w.show();
    QTest::qWait(1500);
    setTimeScale(0.01);
    const int ticks = w.motion().ticks();
    QVERIFY(ticks >= 5);
    // About six pictures a tick; a busy machine may drop some.
    QVERIFY2(painted.size() > static_cast<size_t>(3 * ticks / 2),
             qPrintable(QString::number(painted.size())));
    // Pictures between the ticks' places, and never ahead of the last tick.
    const long between =
        std::count_if(painted.begin(), painted.end(), [&](int x) { return !ticked.count(x); });
    QVERIFY2(between >= ticks / 2, qPrintable(QString::number(between)));
    for (size_t i = 1; i < painted.size(); ++i) QVERIFY(painted[i] <= painted[i - 1]);  // the strip runs left
}

int main(int argc, char** argv) {
    TestFolders f(linkedRailway(12));
    std::filesystem::copy(std::string(KISHARIN_TEST_FIXTURES) + "/MapData", f.shipped.path() + "MapData",
                          std::filesystem::copy_options::recursive);
    QApplication app(argc, argv);
    FeelTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "feel_test.moc"

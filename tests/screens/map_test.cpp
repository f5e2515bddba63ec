// The railway maps on screen: the board's "路線図" opens the picker, a click opens the
// detailed map, which is dragged and zoomed; the picker in move mode.
#include <QEnterEvent>
#include <QHelpEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QThreadPool>
#include <QToolTip>
#include <QWheelEvent>
#include <filesystem>

#include "maps/picker.h"
#include "screen_support.h"
#include "screens/desktopGame.h"
#include "screens/frmInit.h"
#include "screens/frmMain.h"
#include "screens/frmMap.h"
#include "screens/frmOneMap.h"
#include "screens/qtScreens.h"

using namespace kisharin;
using namespace kisharin::testing;

namespace {
TestFolders* folders = nullptr;

// A detailed map of the small 東京都 of the fixtures, opened on its own.
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
}  // namespace

class MapTest : public QObject {
  private:
    Q_OBJECT
  private slots:
    void boardButtonOpensThePickerAndIsDisabledWhileAMapIsOpen();
    void theMapFollowsTheMouseWhenDragged();
    void aPressOnALabelActsOnTheMapUnderIt();
    void theZoomBarEnlargesTheCanvasAroundItsCentre();
    void zoomingIntoTwoCornersAndBack();
    void afterTheWheelABoxAndItsButtonsShowWhatTheySay();
    void thePickerAndTheMapAnswerTheKeys();
    void theCanvasPaintedPieceByPieceIsTheWholePicture();
    void theLinesPaintedAheadAreTheWholePicture();
    void faultyMapDataIsReportedAndNothingIsDrawn();
    void thePickerInMoveModeReturnsNothingWhenClosed();
    void thePickerInMoveModeRecordsAClickWithoutOpeningTheMap();
};

void MapTest::boardButtonOpensThePickerAndIsDisabledWhileAMapIsOpen() {
    DesktopGame game;
    QVERIFY(game.start());
    QTest::mouseClick(game.init()->findChild<QPushButton*>(QStringLiteral("cmdGo")), Qt::LeftButton);
    QTRY_VERIFY(game.board());
    FrmMain* board = game.board();
    auto* cmdMap2 = board->findChild<QPushButton*>(QStringLiteral("cmdMap2"));
    QTest::mouseClick(cmdMap2, Qt::LeftButton);
    QPointer<FrmMap> picker = FrmMap::viewing();
    QVERIFY(picker);
    QVERIFY(picker->isVisible());
    QVERIFY(!picker->isModal());
    QVERIFY(!picker->message()->isVisible());  // the move-mode notice
    for (int code = 1; code <= 47; ++code) {
        QLabel* l = picker->prefLabel(code);
        QVERIFY(l->isVisible());
        QVERIFY2(l->fontMetrics().horizontalAdvance(l->text()) <= l->width() - 2, qPrintable(l->text()));
    }
    QVERIFY(board->isEnabled());
    // Closing the picker without a click opens nothing.
    picker->close();
    QTRY_VERIFY(!picker);
    QVERIFY(!FrmOneMap::instance());
    QVERIFY(cmdMap2->isEnabled());

    QTest::mouseClick(cmdMap2, Qt::LeftButton);
    picker = FrmMap::viewing();
    QTest::mouseClick(picker->prefLabel(13), Qt::LeftButton);
    QTRY_VERIFY(!picker);
    QPointer<FrmOneMap> map = FrmOneMap::instance();
    QVERIFY(map);
    QVERIFY(map->isVisible());
    QCOMPARE(map->size(), QSize(675, 661));
    QCOMPARE(mapPick().pickedPref, std::string("東京都"));
    QVERIFY(!mapPick().prefPicked);
    QVERIFY(map->model().mapShown());
    QVERIFY(!cmdMap2->isEnabled());
    QVERIFY(!map->zoomBackButton()->isEnabled());
    // The computer's turn disables the board, not the map beside it.
    board->setBoardEnabled(false);
    QVERIFY(map->isEnabled());
    QVERIFY(map->zoomBar()->isEnabled());
    board->setBoardEnabled(true);
    QVERIFY(!cmdMap2->isEnabled());
    map->close();
    QTRY_VERIFY(!map);
    QVERIFY(cmdMap2->isEnabled());
}

void MapTest::theMapFollowsTheMouseWhenDragged() {
    GameState s;
    OpenMap m(s);
    MapCanvas* canvas = m.map->canvas();
    QCOMPARE(canvas->geometry(), QRect(0, 0, 600, 600));
    // A spot with no label on it.
    QPoint at(590, 590);
    QVERIFY(!m.map->model().picture().labelAt(at.x(), at.y()));
    QTest::mousePress(canvas, Qt::LeftButton, {}, at);
    QCOMPARE(canvas->cursor().shape(), Qt::BitmapCursor);
    QTest::mouseMove(canvas, at + QPoint(-40, -25));
    QCOMPARE(canvas->pos(), QPoint(-40, -25));            // it follows while held
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, at);  // the same spot of the moved canvas
    QCOMPARE(canvas->geometry(), QRect(-40, -25, 600, 600));
    QCOMPARE(m.map->model().canvas(), (CanvasRect{-40, -25, 600, 600}));
    QCOMPARE(m.map->model().cursor(), 1);
    QCOMPARE(m.map->model().drawCount(), 1);
}

void MapTest::aPressOnALabelActsOnTheMapUnderIt() {
    GameState s;
    OpenMap m(s);
    const MapPicture& pic = m.map->model().picture();
    const MapLabel* l = nullptr;
    for (const MapLabel& x : pic.labels)
        if (x.visible) l = &x;
    QVERIFY(l);
    const QPoint at(l->x + 2, l->y + 3);
    QCOMPARE(pic.labelAt(at.x(), at.y()), l);
    QTest::mousePress(m.map->canvas(), Qt::RightButton, {}, at);
    QTest::mouseRelease(m.map->canvas(), Qt::RightButton, {}, at);
    const CanvasScale c = m.map->model().scale();
    QVERIFY(std::abs(*textFloat(m.map->model().txtX2()) - c.lonAt(at.x())) < 1e-4);
    QVERIFY(std::abs(*textFloat(m.map->model().txtY2()) - c.latAt(at.y())) < 1e-4);
    QCOMPARE(m.map->model().txtX1(), std::string());
    QCOMPARE(m.map->canvas()->pos(), QPoint(0, 0));  // a right press does not pan
    // Resting on a label shows its line; beside the labels nothing.
    QHelpEvent over(QEvent::ToolTip, at, m.map->canvas()->mapToGlobal(at));
    QApplication::sendEvent(m.map->canvas(), &over);
    QTRY_COMPARE(QToolTip::text(), qs(l->hint));
    const QPoint empty(590, 590);
    QVERIFY(!pic.labelAt(empty.x(), empty.y()));
    QHelpEvent beside(QEvent::ToolTip, empty, m.map->canvas()->mapToGlobal(empty));
    QApplication::sendEvent(m.map->canvas(), &beside);
    QTRY_VERIFY(QToolTip::text().isEmpty() || !QToolTip::isVisible());
}

void MapTest::theZoomBarEnlargesTheCanvasAroundItsCentre() {
    GameState s;
    OpenMap m(s);
    m.map->zoomBar()->setValue(3);
    QCOMPARE(m.map->canvas()->geometry(), QRect(-300, -300, 1200, 1200));
    QVERIFY(m.map->zoomBar()->isEnabled());
    m.map->zoomBar()->setValue(10);
    QCOMPARE(m.map->canvas()->geometry(), QRect(-1000, -1000, 2600, 2600));
    m.map->zoomBar()->setValue(0);
    QCOMPARE(m.map->canvas()->geometry(), QRect(0, 0, 600, 600));
    QCOMPARE(m.map->model().drawCount(), 4);
}

void MapTest::zoomingIntoTwoCornersAndBack() {
    GameState s;
    OpenMap m(s);
    OneMap& model = m.map->model();
    QTest::mouseClick(m.map->zoomButton(), Qt::LeftButton);  // no corners yet
    QCOMPARE(model.zoomDepth(), 0);
    auto corners = [&](QPoint a, QPoint b) {
        QTest::mousePress(m.map->canvas(), Qt::LeftButton, {}, a);
        QTest::mouseRelease(m.map->canvas(), Qt::LeftButton, {}, a);
        QTest::mousePress(m.map->canvas(), Qt::RightButton, {}, b);
        QTest::mouseRelease(m.map->canvas(), Qt::RightButton, {}, b);
        QTest::mouseClick(m.map->zoomButton(), Qt::LeftButton);
    };
    corners({100, 100}, {400, 300});
    corners({100, 100}, {400, 300});
    QCOMPARE(model.zoomDepth(), 2);
    QVERIFY(m.map->zoomBackButton()->isEnabled());
    QTest::mouseClick(m.map->zoomBackButton(), Qt::LeftButton);
    QCOMPARE(model.zoomDepth(), 1);
    QVERIFY(!m.map->zoomBackButton()->isEnabled());
    QTest::mouseClick(m.map->initButton(), Qt::LeftButton);
    QCOMPARE(model.zoomDepth(), 0);
    QCOMPARE(model.view().left, 138.98f);
}

// Three notches of the wheel, a box (left and right button), "変更" showing it; Escape closes.
void MapTest::afterTheWheelABoxAndItsButtonsShowWhatTheySay() {
    GameState s;
    OpenMap m(s);
    OneMap& model = m.map->model();
    for (int i = 0; i < 3; ++i) {
        QWheelEvent e(QPointF(420, 380), QPointF(m.map->canvas()->mapToGlobal(QPoint(420, 380))), QPoint(),
                      QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(m.map->canvas(), &e);
    }
    const CanvasScale c = model.scale();
    QTest::mouseClick(m.map->canvas(), Qt::LeftButton, {}, QPoint(60, 80));
    QTest::mouseClick(m.map->canvas(), Qt::RightButton, {}, QPoint(540, 560));
    QTest::mouseClick(m.map->zoomButton(), Qt::LeftButton);
    QCOMPARE(model.view().left, static_cast<float>(c.lonAt(60)));
    QCOMPARE(model.view().top, static_cast<float>(c.latAt(80)));
    QVERIFY(m.map->zoomBackButton()->isEnabled());
    QTest::keyClick(m.map, Qt::Key_Escape);
    QTRY_VERIFY(!m.map);
}

// The picker's keys: arrows and Tab move, Enter opens the map, Escape closes as × does.
void MapTest::thePickerAndTheMapAnswerTheKeys() {
    GameState s;
    QPushButton button;
    s.mapDataDir = std::string(KISHARIN_TEST_FIXTURES) + "/MapData/";
    QPointer<FrmMap> picker = FrmMap::showViewing(s, &button, nullptr);
    for (const auto key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Tab}) QTest::keyClick(picker, key);
    QCOMPARE(picker->keyPref(), 13);  // 東京都, 千葉県, and the code after it
    QTest::keyClick(picker, Qt::Key_Return);
    QTRY_VERIFY(!picker);
    QVERIFY(FrmOneMap::instance() && FrmOneMap::instance()->model().mapShown());
    delete FrmOneMap::instance();
    picker = FrmMap::showViewing(s, &button, nullptr);
    QTest::keyClick(picker, Qt::Key_Escape);
    QTRY_VERIFY(!picker);
    QCOMPARE(mapPick().pickedPref, std::string());
}

namespace {
// The pixels of the canvas, painted in odd pieces that split lines and labels at a screen
// scale, that differ from the whole picture painted at once. (A line cut short at a piece's
// edge can smooth its edge pixels a shade apart, a level or two of 255; a line or label
// left out is hundreds.)
int piecesApartFromTheWhole(MapCanvas* canvas, const MapPicture& pic, int ratio) {
    QImage whole(pic.width * ratio, pic.height * ratio, QImage::Format_RGB32);
    whole.setDevicePixelRatio(ratio);
    whole.fill(Qt::white);
    {
        QPainter p(&whole);
        paintMapPicture(p, pic);
    }
    const int step = ratio == 1 ? 173 : 311;
    const auto apart = [](QRgb a, QRgb b) {
        return std::max(
            {std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
    };
    int differing = 0;
    for (int y = 0; y < pic.height; y += step)
        for (int x = 0; x < pic.width; x += step) {
            const QRect piece = QRect(x, y, step, step) & QRect(0, 0, pic.width, pic.height);
            QImage got(piece.size() * ratio, QImage::Format_RGB32);
            got.setDevicePixelRatio(ratio);
            got.fill(Qt::black);
            canvas->render(&got, QPoint(), QRegion(piece));
            const QImage want = whole.copy(QRect(piece.topLeft() * ratio, piece.size() * ratio));
            for (int py = 0; py < got.height(); ++py)
                for (int px = 0; px < got.width(); ++px)
                    if (apart(got.pixel(px, py), want.pixel(px, py)) > 8) ++differing;
        }
    return differing;
}

std::string shippedMaps() {
    return std::string(KISHARIN_SHIPPED_DATA_DIR) + "/MapData/";
}
}  // namespace

void MapTest::theCanvasPaintedPieceByPieceIsTheWholePicture() {
    // The shipped 東京都: long lines and labels close together.
    GameState s;
    QPushButton button;
    s.mapDataDir = shippedMaps();
    mapPick().pickedPref = "東京都";
    mapPick().prefPicked = True;
    FrmOneMap map(s, &button);
    map.show();
    map.Form_Activate();
    const MapPicture& pic = map.model().picture();
    QVERIFY(pic.lines.size() > 100);
    QVERIFY(pic.paintOrder().size() > 10);
    // The whole prefecture (many points on one pixel) and a canvas larger than the frame,
    // on a plain screen and on one scaled x2.
    for (const int zoom : {0, 3}) {
        map.zoomBar()->setValue(zoom);
        for (const int ratio : {1, 2}) QCOMPARE(piecesApartFromTheWhole(map.canvas(), pic, ratio), 0);
    }
}

void MapTest::theLinesPaintedAheadAreTheWholePicture() {
    // The pointer rested on 東京都's name in the picker: the lines of its first view were
    // painted ahead, at the screen's resolution, and the map's frames write the names
    // over them.
    {
        GameState s;
        QPushButton button;
        s.mapDataDir = shippedMaps();
        FrmMap* picker = FrmMap::showViewing(s, &button, nullptr);
        // On its way to 東京都 the pointer passes over 北海道 and 大阪府.
        const QPointF at(4, 4);
        for (const int code : {1, 27, 13}) {
            QLabel* passed = picker->prefLabel(code);
            QEnterEvent enter(at, at, QPointF(passed->mapToGlobal(at.toPoint())));
            QApplication::sendEvent(passed, &enter);
            QTest::qWait(code == 1 ? 3 : 0);
        }
        QThreadPool::globalInstance()->waitForDone();
        QLabel* name = picker->prefLabel(13);
        QTest::mouseClick(name, Qt::LeftButton, {}, at.toPoint());
        QPointer<FrmOneMap> map = FrmOneMap::instance();
        QVERIFY(map);
        QCOMPARE(map->model().data().pref, std::string("東京都"));
        QVERIFY(map->canvas()->sheet()->linesPaintedAhead());
        delete map;
    }
    for (const int ratio : {1, 2}) {
        GameState s;
        QPushButton button;
        s.mapDataDir = shippedMaps();
        readMapAhead(s.mapDataDir, "東京都", ratio);
        QThreadPool::globalInstance()->waitForDone();
        mapPick().pickedPref = "東京都";
        mapPick().prefPicked = True;
        FrmOneMap map(s, &button);
        map.show();
        map.Form_Activate();
        QVERIFY(map.canvas()->sheet()->linesPaintedAhead());
        QCOMPARE(piecesApartFromTheWhole(map.canvas(), map.model().picture(), ratio), 0);
        // A larger canvas has lines of its own.
        map.zoomBar()->setValue(1);
        QVERIFY(!map.canvas()->sheet()->linesPaintedAhead());
        QCOMPARE(piecesApartFromTheWhole(map.canvas(), map.model().picture(), ratio), 0);
    }
}

void MapTest::faultyMapDataIsReportedAndNothingIsDrawn() {
    GameState s;
    QPushButton button;
    s.mapDataDir = std::string(KISHARIN_TEST_FIXTURES) + "/MapData/";
    mapPick().pickedPref = "北海道";  // no fixture
    mapPick().prefPicked = True;
    FrmOneMap map(s, &button);
    map.show();
    map.Form_Activate();
    QVERIFY(!map.model().mapShown());
    QVERIFY(map.message()->text().contains(QStringLiteral("読み込めませんでした")));
    QTRY_VERIFY(map.findChild<QMessageBox*>(QStringLiteral("msgMapError")));
    auto* box = map.findChild<QMessageBox*>(QStringLiteral("msgMapError"));
    QVERIFY(box->text().contains(QStringLiteral("MapData/北海道/PL.dat")));
    QVERIFY(!button.isEnabled());
    map.close();
    QVERIFY(button.isEnabled());
}

void MapTest::thePickerInMoveModeReturnsNothingWhenClosed() {
    GameState s;
    mapPick().pickedPref = "京都府";
    QtScreens screens;
    whenModal([](QWidget* w) {
        auto* picker = qobject_cast<FrmMap*>(w);
        QVERIFY(picker);
        QVERIFY(picker->message()->isVisible());
        QCOMPARE(picker->message()->text(), QStringLiteral("※移動したくない場合は「×」で閉じてください。"));
        picker->close();
    });
    SeatedGame game(s);
    QCOMPARE(game.askGod(), std::string());
    QCOMPARE(mapPick().pickedPref, std::string());
}

void MapTest::thePickerInMoveModeRecordsAClickWithoutOpeningTheMap() {
    GameState s;
    QtScreens screens;
    whenModal([](QWidget* w) { QTest::mouseClick(qobject_cast<FrmMap*>(w)->prefLabel(27), Qt::LeftButton); });
    QCOMPARE(SeatedGame(s).askGod(), std::string("大阪府"));
    QVERIFY(!mapPick().prefPicked);
    QVERIFY(!FrmOneMap::instance());
}

int main(int argc, char** argv) {
    TestFolders f(linkedRailway(12));
    folders = &f;
    std::filesystem::copy(std::string(KISHARIN_TEST_FIXTURES) + "/MapData", f.shipped.path() + "MapData",
                          std::filesystem::copy_options::recursive);
    QApplication app(argc, argv);
    MapTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "map_test.moc"

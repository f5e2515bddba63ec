// The detailed map's behaviour: opening a prefecture, panning, zooming and the zoom bar.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "board/text_metrics.h"
#include "maps/kept_map.h"
#include "maps/one_map.h"
#include "maps/picker.h"
#include "support/fakes.h"

namespace kisharin {
namespace {

class OneMapTest : public ::testing::Test {
  protected:
    void SetUp() override {
        s.mapDataDir = std::string(KISHARIN_TEST_FIXTURES) + "/MapData/";
        open("東京都");
    }
    void open(const std::string& pref) {
        mapPick().pickedPref = pref;
        mapPick().prefPicked = True;
        opened = map.Form_Activate();
    }
    GameState s;
    OneMap map{s, fixedTextMetrics()};
    bool opened = false;
};

TEST_F(OneMapTest, APickedPrefectureIsLoadedAndDrawnOnce) {
    EXPECT_TRUE(opened);
    EXPECT_FALSE(mapPick().prefPicked);
    EXPECT_TRUE(map.mapShown());
    EXPECT_FLOAT_EQ(map.view().left, 138.98f);
    EXPECT_EQ(map.picture().lines.size(), 2u + 3u + 3u);
    EXPECT_EQ(map.picture().labels.size(), 6u);
    EXPECT_EQ(map.zoomDepth(), 0);
    EXPECT_FALSE(map.zoomBackEnabled());
    // Switching back to the window without a new pick changes nothing.
    EXPECT_FALSE(map.Form_Activate());
    EXPECT_EQ(map.drawCount(), 1);
}

TEST_F(OneMapTest, FaultyDataShowsNoMapAndSaysWhy) {
    open("存在しない県");
    EXPECT_TRUE(opened);
    EXPECT_FALSE(map.mapShown());
    EXPECT_TRUE(map.picture().lines.empty());
    EXPECT_TRUE(map.data().empty());
    EXPECT_NE(map.loadError().find("MapData/存在しない県/PL.dat"), std::string::npos);
    EXPECT_NE(map.lblMes().find("読み込めません"), std::string::npos);
    // Nothing reacts while no map is shown.
    map.picMain_MouseDown(MouseButton::Left, 139.5f, 35.2f);
    EXPECT_EQ(map.txtX1(), "");
    map.cmdInit_Click();
    map.scrZoom_Change(3);
    EXPECT_FALSE(map.mapShown());
    EXPECT_EQ(map.canvas(), (CanvasRect{0, 0, 600, 600}));
    // A good prefecture afterwards loads from scratch.
    open("東京都");
    EXPECT_TRUE(map.mapShown());
    EXPECT_EQ(map.loadError(), "");
}

// A prefecture opened again is not read again, unless one of its files changed since.
TEST_F(OneMapTest, AMapOpenedAgainSeesItsFilesChanged) {
    testing::ScratchDir dir;
    std::filesystem::copy(std::filesystem::u8path(s.mapDataDir + "東京都"),
                          std::filesystem::u8path(dir.file("東京都")));
    s.mapDataDir = dir.path();
    open("東京都");
    ASSERT_TRUE(map.mapShown());
    open("東京都");
    EXPECT_TRUE(map.mapShown());
    EXPECT_EQ(map.loadError(), "");
    {
        std::ofstream news(std::filesystem::u8path(dir.file("東京都/NEWS.dat")), std::ios::trunc);
        news << "138.9\n139.9\n35.5\n";
    }
    open("東京都");
    EXPECT_FALSE(map.mapShown());
    EXPECT_NE(map.loadError().find("東京都/NEWS.dat"), std::string::npos) << map.loadError();
}

// A prefecture read ahead (while the pointer rests on its name) is what its opening shows,
// not read again; a file changed after the read ahead is seen at the opening. Only the
// prefecture asked for last is read.
TEST_F(OneMapTest, AMapReadAheadIsTakenUnlessAFileChangedSince) {
    testing::ScratchDir dir;
    for (const char* pref : {"東京都", "神奈川県"})
        std::filesystem::copy(std::filesystem::u8path(s.mapDataDir + "東京都"),
                              std::filesystem::u8path(dir.file(pref)));
    s.mapDataDir = dir.path();
    const int passedOver = wantReadAhead(dir.path(), "東京都");
    const int restedOn = wantReadAhead(dir.path(), "神奈川県");
    EXPECT_EQ(readAhead(passedOver), nullptr);
    EXPECT_FALSE(readAheadWanted(passedOver));
    EXPECT_TRUE(readAheadWanted(restedOn));
    const std::shared_ptr<const MapData> ahead = readAhead(restedOn);
    ASSERT_NE(ahead, nullptr);
    EXPECT_EQ(ahead->pref, "神奈川県");
    open("神奈川県");
    ASSERT_TRUE(map.mapShown());
    EXPECT_EQ(&map.data(), ahead.get());

    ASSERT_NE(readAhead(wantReadAhead(dir.path(), "東京都")), nullptr);
    {
        std::ofstream news(std::filesystem::u8path(dir.file("東京都/NEWS.dat")), std::ios::trunc);
        news << "138.9\n139.9\n35.5\n";
    }
    open("東京都");
    EXPECT_FALSE(map.mapShown());
    EXPECT_NE(map.loadError().find("東京都/NEWS.dat"), std::string::npos) << map.loadError();
    // Faulty data read ahead gives nothing; the opening reads it and says why.
    EXPECT_EQ(readAhead(wantReadAhead(dir.path(), "東京都")), nullptr);
    open("東京都");
    EXPECT_NE(map.loadError().find("東京都/NEWS.dat"), std::string::npos) << map.loadError();
}

TEST_F(OneMapTest, TheMapFollowsTheMouseWhenDragged) {
    const CanvasScale c = map.scale();
    map.picMain_MouseDown(MouseButton::Left, static_cast<float>(c.lonAt(100)),
                          static_cast<float>(c.latAt(100)));
    EXPECT_EQ(map.cursor(), 2);
    EXPECT_TRUE(map.dragging());
    // Dropped 30 px right and 20 px lower on the canvas as it was.
    map.picMain_DragDrop(static_cast<float>(c.lonAt(130)), static_cast<float>(c.latAt(120)));
    EXPECT_EQ(map.cursor(), 1);
    EXPECT_EQ(map.canvas(), (CanvasRect{30, 20, 600, 600}));
    EXPECT_EQ(map.drawCount(), 1);  // moved, not redrawn
    // Dropped outside the canvas, on the frame: the pressed point comes under the mouse.
    const CanvasScale c2 = map.scale();
    map.picMain_MouseDown(MouseButton::Left, static_cast<float>(c2.lonAt(50)),
                          static_cast<float>(c2.latAt(60)));
    map.picFloor_DragDrop(10, 15);
    EXPECT_EQ(map.canvas(), (CanvasRect{-40, -45, 600, 600}));
    // The map is never dragged wholly out of sight.
    map.picMain_MouseDown(MouseButton::Left, static_cast<float>(c2.lonAt(0)),
                          static_cast<float>(c2.latAt(0)));
    map.picFloor_DragDrop(2000, -2000);
    EXPECT_EQ(map.canvas().left, 560);
    EXPECT_EQ(map.canvas().top, 40 - 600);
}

TEST_F(OneMapTest, PressesOnALabelActAsPressesOnTheMapUnderIt) {
    const MapLabel& l = map.picture().labels.at(2);
    const CanvasScale c = map.scale();
    map.lblEki_MouseDown(3, MouseButton::Right, 4, 5);
    EXPECT_NEAR(*textFloat(map.txtX2()), c.lonAt(l.x + 4), 1e-4);
    EXPECT_NEAR(*textFloat(map.txtY2()), c.latAt(l.y + 5), 1e-4);
    EXPECT_EQ(map.txtX1(), "");
    EXPECT_FALSE(map.dragging());
    map.lblEki_MouseDown(3, MouseButton::Left, 4, 5);
    EXPECT_TRUE(map.dragging());
    EXPECT_NEAR(*textFloat(map.txtY1()), c.latAt(l.y + 5), 1e-4);
    map.lblEki_DragDrop(3, 14, 5);  // dropped 10 px to the right inside the same label
    EXPECT_EQ(map.canvas(), (CanvasRect{10, 0, 600, 600}));
}

TEST_F(OneMapTest, ZoomingNeedsBothCornersAndStepsBackThroughEarlierZooms) {
    map.cmdZoom_Click();  // no corners yet
    EXPECT_EQ(map.zoomDepth(), 0);
    EXPECT_FALSE(map.zoomed());
    map.picMain_MouseDown(MouseButton::Left, 139.2f, 35.4f);
    map.picMain_DragDrop(139.2f, 35.4f);
    map.picMain_MouseDown(MouseButton::Right, 139.6f, 35.1f);
    map.cmdZoom_Click();
    EXPECT_EQ(map.zoomDepth(), 1);
    EXPECT_FALSE(map.zoomBackEnabled());
    EXPECT_TRUE(map.zoomed());
    EXPECT_FLOAT_EQ(map.view().left, 139.2f);
    EXPECT_FLOAT_EQ(map.view().top, 35.4f);
    const MapView first = map.view();
    map.picMain_MouseDown(MouseButton::Left, 139.3f, 35.3f);
    map.picMain_MouseDown(MouseButton::Right, 139.4f, 35.25f);
    map.cmdZoom_Click();
    EXPECT_EQ(map.zoomDepth(), 2);
    EXPECT_TRUE(map.zoomBackEnabled());
    EXPECT_FLOAT_EQ(map.view().left, 139.3f);
    map.cmdZoomBack_Click();
    EXPECT_EQ(map.zoomDepth(), 1);
    EXPECT_FALSE(map.zoomBackEnabled());
    EXPECT_EQ(map.view(), first);
    map.cmdZoomBack_Click();  // the first zoom is not undone by it
    EXPECT_EQ(map.zoomDepth(), 1);
    map.cmdInit_Click();
    EXPECT_EQ(map.zoomDepth(), 0);
    EXPECT_FALSE(map.zoomed());
    EXPECT_FLOAT_EQ(map.view().left, 138.98f);
}

TEST_F(OneMapTest, ZoomingOntoOnePointChangesNothing) {
    map.picMain_MouseDown(MouseButton::Left, 139.2f, 35.4f);
    map.picMain_MouseDown(MouseButton::Right, 139.6f, 35.1f);
    map.cmdZoom_Click();
    map.picMain_MouseDown(MouseButton::Left, 139.3f, 35.3f);
    map.picMain_MouseDown(MouseButton::Right, 139.4f, 35.25f);
    map.cmdZoom_Click();
    const MapView before = map.view();
    const int draws = map.drawCount();
    map.picMain_MouseDown(MouseButton::Left, 139.35f, 35.28f);
    map.picFloor_DragDrop(100, 100);
    map.picMain_MouseDown(MouseButton::Right, 139.35f, 35.28f);
    const CanvasRect moved = map.canvas();
    map.cmdZoom_Click();
    EXPECT_EQ(map.view(), before);
    EXPECT_EQ(map.canvas(), moved);
    EXPECT_EQ(map.zoomDepth(), 2);
    EXPECT_TRUE(map.zoomBackEnabled());
    EXPECT_EQ(map.drawCount(), draws);
    map.cmdZoomBack_Click();  // and stepping back still leads to the first zoom
    EXPECT_FLOAT_EQ(map.view().left, 139.2f);
}

TEST_F(OneMapTest, TheZoomBarGrowsTheCanvasAroundItsCentre) {
    map.scrZoom_Change(3);
    EXPECT_EQ(map.canvas(), (CanvasRect{-300, -300, 1200, 1200}));
    EXPECT_EQ(map.picture().width, 1200);
    EXPECT_TRUE(map.zoomBarEnabled());
    map.scrZoom_Change(10);
    EXPECT_EQ(map.canvas(), (CanvasRect{-1000, -1000, 2600, 2600}));
    map.scrZoom_Change(0);
    EXPECT_EQ(map.canvas(), (CanvasRect{0, 0, 600, 600}));
    // The same view on a larger canvas: a label moves with the scale.
    const int x0 = map.picture().labels[0].x;
    map.scrZoom_Change(2);
    EXPECT_NEAR(map.picture().labels[0].x, x0 * 1000 / 600, 1);
    // "初期値" keeps the canvas's size, where the bar put it.
    map.cmdInit_Click();
    EXPECT_EQ(map.canvas(), (CanvasRect{-200, -200, 1000, 1000}));
}

TEST_F(OneMapTest, TheZoomBarNeverLeavesTheMapOutOfSight) {
    map.scrZoom_Change(2);
    const CanvasScale c = map.scale();
    map.picMain_MouseDown(MouseButton::Left, static_cast<float>(c.lonAt(0)), static_cast<float>(c.latAt(0)));
    map.picFloor_DragDrop(2000, 2000);
    EXPECT_EQ(map.canvas(), (CanvasRect{560, 560, 1000, 1000}));
    map.scrZoom_Change(1);  // shrinks around its centre, which would put it beside the frame
    EXPECT_EQ(map.canvas(), (CanvasRect{560, 560, 800, 800}));
    map.scrZoom_Change(3);
    EXPECT_EQ(map.canvas(), (CanvasRect{360, 360, 1200, 1200}));
    const CanvasScale c3 = map.scale();
    map.picMain_MouseDown(MouseButton::Left, static_cast<float>(c3.lonAt(1199)),
                          static_cast<float>(c3.latAt(1199)));
    map.picFloor_DragDrop(-2000, -2000);
    EXPECT_EQ(map.canvas(), (CanvasRect{40 - 1200, 40 - 1200, 1200, 1200}));
    map.scrZoom_Change(1);
    EXPECT_EQ(map.canvas(), (CanvasRect{40 - 800, 40 - 800, 800, 800}));
}

// The map point under frame pixel (x, y).
std::pair<double, double> under(const OneMap& m, int x, int y) {
    return {m.scale().lonAt(x - m.canvas().left), m.scale().latAt(y - m.canvas().top)};
}

// Each notch of the wheel is a step of the view around the pointer, kept for "１つ前";
// after three, a box and "変更" fill the frame, "初期値" shows the whole prefecture again.
TEST_F(OneMapTest, TheWheelIsOneMoreZoomAndTheButtonsKeepTheirMeaning) {
    const MapView whole = map.view();
    const auto pointed = under(map, 420, 380);
    map.wheelZoom(1, 420, 380);
    const MapView first = map.view();
    map.wheelZoom(2, 420, 380);
    EXPECT_NEAR(map.view().top - map.view().bottom, 0.421875 * (whole.top - whole.bottom), 1e-4);
    EXPECT_NEAR(under(map, 420, 380).first, pointed.first, 1e-4);
    const MapView wheeled = map.view();  // a box from its lower right corner, the map dragged aside
    const auto [x1, y1] = under(map, 60, 80);
    const auto [x2, y2] = under(map, 540, 560);
    map.picMain_MouseDown(MouseButton::Right, static_cast<float>(x1), static_cast<float>(y1));
    map.picMain_MouseDown(MouseButton::Left, static_cast<float>(x2), static_cast<float>(y2));
    map.picFloor_DragDrop(300, 300);
    map.cmdZoom_Click();
    EXPECT_EQ(map.canvas(), (CanvasRect{0, 0, 600, 600}));
    EXPECT_TRUE(std::abs(map.scale().pixelX(x1)) < 1 && std::abs(map.scale().pixelY(y1)) < 1);
    EXPECT_NEAR(map.scale().pixelY(y2), 600, 20);  // made square in whole kilometres
    map.cmdZoomBack_Click();
    EXPECT_EQ(map.view(), wheeled);
    for (int i = 0; i < 2; ++i) map.cmdZoomBack_Click();
    EXPECT_EQ(map.view(), first);
    map.cmdInit_Click();
    EXPECT_EQ(map.view(), whole);
    // Out no further than the whole prefecture, in no closer than a kilometre.
    map.wheelZoom(-1, 50, 50);
    EXPECT_EQ(map.zoomDepth(), 0);
    map.wheelZoom(60, 300, 300);
    EXPECT_NEAR((map.view().top - map.view().bottom) * 111.12, 1.15, 0.2);
}

// No shipped prefecture's first view cuts a piece of its outline (北海道's eastern tip
// and the islands off it among them).
TEST(ShippedFirstViews, NoPieceOfAPrefectureIsCutAtTheEdge) {
    const std::string dir = std::string(KISHARIN_SHIPPED_DATA_DIR) + "/MapData/";
    for (int code = 1; code <= kPrefCount; ++code) {
        const MapData d = データ読込(dir, prefectureCaption(code));
        const MapView v = firstView(d);
        const MapView own = 座標設定(d.boundW, d.boundE, d.boundS, d.boundN);
        for (const std::string& key : d.prefLineOnly) {
            // The pieces the prefecture's own box reaches are whole in the first view.
            bool reached = false;
            for (const GeoPoint& p : d.line.at(key))
                reached |= p.lon >= own.left && p.lon <= own.right && p.lat <= own.top && p.lat >= own.bottom;
            if (!reached) continue;
            int in = 0;
            for (const GeoPoint& p : d.line.at(key))
                in += p.lon >= v.left && p.lon <= v.right && p.lat <= v.top && p.lat >= v.bottom;
            EXPECT_TRUE(in == 0 || in == static_cast<int>(d.line.at(key).size())) << d.pref << " " << key;
        }
    }
    GameState s;
    s.mapDataDir = dir, mapPick().pickedPref = "北海道", mapPick().prefPicked = True;
    OneMap map{s, fixedTextMetrics()};
    map.Form_Activate();
    EXPECT_GT(map.view().right, 145.82f);  // 納沙布岬
    EXPECT_LT(map.view().right, 147.5f);   // not out to the far islands beyond it
}

TEST(CornerTextTest, FloatsRoundTripThroughTheirText) {
    for (float v : {139.7006f, 35.51636f, -0.5f, 0.0f}) EXPECT_EQ(textFloat(floatText(v)), v);
    EXPECT_EQ(textFloat(""), std::nullopt);
    EXPECT_EQ(textFloat("abc"), std::nullopt);
    EXPECT_EQ(textFloat("12x"), std::nullopt);
}

}  // namespace
}  // namespace kisharin

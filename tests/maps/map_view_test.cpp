// The view of a prefecture, projecting it onto the canvas, and the station labels.
#include <gtest/gtest.h>

#include <random>

#include "board/text_metrics.h"
#include "maps/map_view.h"

namespace kisharin {
namespace {

TEST(MapViewTest, FirstViewOfAWidePrefectureAddsOneMoreMarginDownThanAcross) {
    const MapView v = 座標設定(139.0f, 140.0f, 35.0f, 35.5f);
    EXPECT_FLOAT_EQ(v.left, 138.98f);
    EXPECT_FLOAT_EQ(v.right, 140.02f);
    EXPECT_NEAR(v.top, 35.51636, 2e-5);
    EXPECT_NEAR(v.bottom, 34.64834, 2e-5);
    // About 94.5 km across and 96.5 km down.
    const double kmLon = 90.908;
    EXPECT_NEAR((v.right - v.left) * kmLon, 94.5, 0.2);
    EXPECT_NEAR((v.top - v.bottom) * 111.12, 96.5, 0.2);
}

TEST(MapViewTest, FirstViewOfATallPrefectureKeepsTheLatitudeMargin) {
    const MapView v = 座標設定(139.0f, 139.5f, 35.0f, 36.0f);
    EXPECT_FLOAT_EQ(v.top, 36.02f);
    EXPECT_FLOAT_EQ(v.bottom, 34.98f);
    EXPECT_LT(v.left, 139.0f);
    // Square in kilometres apart from the margins: 111 km down plus 4.4 km.
    const float kmLon = static_cast<float>(std::cos(35.5 * 3.1415927 / 180) * 40074.785 / 360);
    EXPECT_NEAR((v.right - 139.0f) * kmLon, 111 + 4.4448, 0.01);
}

TEST(MapViewTest, EqualExtentsCountAsWide) {
    // 0.5 degrees of latitude is 55.56 km -> 56; pick a width that also rounds to 56.
    const float kmLon = static_cast<float>(std::cos(35.25f * 3.1415927f / 180) * 40074.785f / 360);
    const float w = 56.0f / kmLon;
    const MapView v = 座標設定(139.0f, 139.0f + w, 35.0f, 35.5f);
    EXPECT_FLOAT_EQ(v.left, 138.98f);  // the wide case moves west and east by the margin
}

// The mainland inside the box, an island across the eastern edge of 座標設定's view, one
// far out in the sea: the first view takes in the island whole, not the far one.
TEST(MapViewTest, TheFirstViewCutsNoPieceOfThePrefecture) {
    MapData d;
    d.boundW = 139.0f, d.boundE = 140.0f, d.boundS = 35.0f, d.boundN = 35.5f;
    d.line = {{"main", {{35.05, 139.05}, {35.45, 139.95}}},
              {"near", {{35.3, 140.0}, {35.1, 140.3}}},
              {"far", {{30.0, 142.0}, {30.1, 142.1}}}};
    d.prefLineOnly = {"main", "near", "far"};
    EXPECT_TRUE(firstView(d).right > 140.3f && firstView(d).bottom > 30.1f);
    d.prefLineOnly = {"main", "far"};
    EXPECT_EQ(firstView(d), 座標設定(139.0f, 140.0f, 35.0f, 35.5f));
}

TEST(MapViewTest, SquaringAZoomKeepsTheTopLeftCorner) {
    const MapView wide = squareView({139.0f, 140.0f, 35.5f, 35.3f});
    EXPECT_FLOAT_EQ(wide.left, 139.0f);
    EXPECT_FLOAT_EQ(wide.right, 140.0f);
    EXPECT_FLOAT_EQ(wide.top, 35.5f);
    EXPECT_NEAR(wide.bottom, 35.5 - 91 / 111.12, 1e-4);
    const MapView tall = squareView({139.0f, 139.1f, 36.0f, 35.0f});
    EXPECT_FLOAT_EQ(tall.bottom, 35.0f);
    EXPECT_GT(tall.right, 140.2f);
    // One point: nothing to see.
    EXPECT_TRUE(squareView({139.0f, 139.0f, 35.0f, 35.0f}).empty());
}

TEST(MapViewTest, ProjectionPutsTheViewCornersOnTheCanvasCornersAndRoundsHalvesToEven) {
    const CanvasScale c{{139.0f, 140.0f, 36.0f, 35.0f}, 600, 600};
    EXPECT_EQ(c.toPixel(36.0, 139.0), (CanvasPoint{0, 0}));
    EXPECT_EQ(c.toPixel(35.0, 140.0), (CanvasPoint{600, 600}));
    EXPECT_EQ(c.toPixel(35.5, 139.25), (CanvasPoint{150, 300}));
    const CanvasScale half{{0.0f, 4.0f, 0.0f, -4.0f}, 4, 4};  // one pixel per degree
    EXPECT_EQ(half.toPixel(-0.5, 0.5), (CanvasPoint{0, 0}));
    EXPECT_EQ(half.toPixel(-1.5, 1.5), (CanvasPoint{2, 2}));
    EXPECT_EQ(half.toPixel(-2.5, 2.5), (CanvasPoint{2, 2}));
    EXPECT_NEAR(c.lonAt(150), 139.25, 1e-6);
    EXPECT_NEAR(c.latAt(300), 35.5, 1e-6);
}

MapLabel label(int x, int y, int w, int h) {
    MapLabel l;
    l.x = x;
    l.y = y;
    l.w = w;
    l.h = h;
    return l;
}

std::vector<bool> visibility(const std::vector<MapLabel>& ls) {
    std::vector<bool> v;
    for (const auto& l : ls) v.push_back(l.visible);
    return v;
}

TEST(MapViewTest, ThinningHidesTheLabelExaminedFirst) {
    // Same place: the lower index gives way.
    std::vector<MapLabel> same = {label(10, 10, 30, 12), label(10, 10, 30, 12)};
    駅非重(same);
    EXPECT_EQ(visibility(same), (std::vector<bool>{false, true}));
    // Touching edges count; a gap of one pixel does not.
    std::vector<MapLabel> touch = {label(0, 0, 10, 10), label(10, 10, 10, 10), label(40, 0, 10, 10),
                                   label(51, 0, 10, 10)};
    駅非重(touch);
    EXPECT_EQ(visibility(touch), (std::vector<bool>{false, true, true, true}));
    // Only the corners of the label examined count: a narrow label inside a wide one is
    // hidden whichever comes first, but the wide one is never hidden by the narrow one.
    std::vector<MapLabel> inside = {label(0, 0, 100, 12), label(40, 0, 10, 12)};
    駅非重(inside);
    EXPECT_EQ(visibility(inside), (std::vector<bool>{true, false}));
    // A hidden label no longer hides others: 1 hits 2, 2 hits 3; 1 goes, 2 goes, 3 stays.
    std::vector<MapLabel> chain = {label(0, 0, 20, 10), label(15, 5, 20, 10), label(30, 10, 20, 10)};
    駅非重(chain);
    EXPECT_EQ(visibility(chain), (std::vector<bool>{false, false, true}));
}

TEST(MapViewTest, FastThinningGivesTheSameResultAsComparingEveryPair) {
    std::mt19937 gen(12345);
    for (int round = 0; round < 20; ++round) {
        const int n = 50 + round * 40;
        const int spread = 200 + round * 100;
        std::uniform_int_distribution<int> pos(-50, spread), wid(12, 70), hei(10, 16);
        std::vector<MapLabel> ls;
        for (int k = 0; k < n; ++k) ls.push_back(label(pos(gen), pos(gen), wid(gen), hei(gen)));
        if (round % 3 == 0) ls.push_back(ls[5]);  // exact duplicates too
        auto slow = ls;
        駅非重_総当たり(slow);
        駅非重(ls);
        ASSERT_EQ(visibility(ls), visibility(slow)) << "round " << round;
    }
}

// A map zoomed far in spreads its labels over most of the int range, with clusters that
// still overlap; the fast rule agrees there too (its grid grows coarser instead of huge).
TEST(MapViewTest, FastThinningAgreesWhenLabelsLieFarApart) {
    std::mt19937 gen(777);
    std::uniform_int_distribution<int> far(-2'000'000'000, 2'000'000'000), near(-40, 40), wid(12, 70);
    std::vector<MapLabel> ls;
    for (int cluster = 0; cluster < 40; ++cluster) {
        const int cx = far(gen), cy = far(gen);
        for (int k = 0; k < 6; ++k) ls.push_back(label(cx + near(gen), cy + near(gen), wid(gen), 12));
    }
    ls.push_back(label(2'147'483'600, 2'147'483'600, 40, 12));  // its right edge lies past int
    ls.push_back(label(2'147'483'620, 2'147'483'605, 40, 12));
    auto slow = ls;
    駅非重_総当たり(slow);
    駅非重(ls);
    EXPECT_EQ(visibility(ls), visibility(slow));
    EXPECT_FALSE(ls[ls.size() - 2].visible);
}

class EmphasisTest : public ::testing::Test {
  protected:
    void SetUp() override {
        s.ekiName(1, 0) = "山手線";
        const char* names[] = {"", "東京", "新宿", "品川", "渋谷", "大宮"};
        for (int p = 1; p <= 5; ++p) {
            s.ekiName(1, p) = names[p];
            s.ekiPref(1, p) = p == 5 ? "埼玉県" : "東京都";
        }
        s.playerName[0] = "たろう";
        s.playerName[1] = "はなこ";
        s.playerRosen[0] = 1;
        s.playerEki[0] = 5;
        s.playerRosen[1] = 1;
        s.playerEki[1] = 5;
        for (const char* n : {"東京", "新宿", "東京", "品川"}) {
            MapLabel l = label(0, 0, 20, 10);
            l.caption = n;
            pic.labels.push_back(l);
        }
    }
    GameState s;
    MapPicture pic;
};

TEST_F(EmphasisTest, DestinationsAndPlayersAreColouredOnTheFirstLabelOfTheirName) {
    s.mokutekitiRosen[1] = 1;
    s.mokutekitiEki[1] = 1;      // 東京
    s.mokutekitiDone[1] = true;  // reached destinations are shown too
    s.playerEki[1] = 3;          // player 2 at 品川
    pic.labels[0].visible = false;
    pic.labels[3].visible = false;
    駅強調(s, "東京都", fixedTextMetrics(), pic);
    EXPECT_TRUE(pic.labels[0].visible);
    EXPECT_EQ(pic.labels[0].color, rgb(255, 0, 255));
    EXPECT_EQ(pic.labels[0].pointSize, kEmphasisPoint);
    EXPECT_EQ(pic.labels[0].w, fixedTextMetrics().width("東京", kEmphasisPoint));
    EXPECT_EQ(pic.labels[2].color, kWindowText);  // the second 東京 stays plain
    EXPECT_TRUE(pic.labels[3].visible);
    EXPECT_EQ(pic.labels[3].color, rgb(255, 0, 0));
    EXPECT_GT(pic.labels[3].z, pic.labels[0].z);
    EXPECT_EQ(pic.lblMes, "");  // player 1 is in 埼玉県, not looked for here
    EXPECT_EQ(pic.paintOrder().back(), &pic.labels[3]);
}

TEST_F(EmphasisTest, APlayerOverridesADestinationOnTheSameLabel) {
    s.mokutekitiRosen[2] = 1;
    s.mokutekitiEki[2] = 2;
    s.playerEki[0] = 2;
    駅強調(s, "東京都", fixedTextMetrics(), pic);
    EXPECT_EQ(pic.labels[1].color, rgb(0, 0, 255));
}

TEST_F(EmphasisTest, MissingLabelsAreReportedDestinationFirstThenPlayersInOrder) {
    s.mokutekitiRosen[1] = 1;
    s.mokutekitiEki[1] = 4;  // 渋谷 has no label
    s.mokutekitiRosen[3] = 1;
    s.mokutekitiEki[3] = 4;
    s.playerEki[0] = 4;
    s.playerEki[1] = 4;
    駅強調(s, "東京都", fixedTextMetrics(), pic);
    EXPECT_EQ(pic.lblMes, "目的地、たろう、はなこ、の駅が見当たりませんでした。");
    s.playerEki[1] = 1;
    駅強調(s, "東京都", fixedTextMetrics(), pic);
    EXPECT_EQ(pic.lblMes, "目的地、たろう、の駅が見当たりませんでした。");
}

TEST(MapViewTest, DrawingProjectsEveryRecordAndLabelsOnlyWithPlatforms) {
    MapData d;
    d.pref = "試験県";
    d.prefLineOnly = {"A"};
    d.line["A"] = {{36.0, 139.0}, {35.0, 140.0}};
    d.line["unused"] = {{36.0, 139.0}, {35.0, 139.0}};
    d.lineRr = {{"R1", {{35.5, 139.0}, {35.5, 140.0}}, "11"}, {"R2", {{35.5, 139.0}, {35.5, 140.0}}, "12"}};
    d.sameStation = {{139.5, 35.5, "新宿", "中央線"}};
    GameState s;
    const MapView v{139.0f, 140.0f, 36.0f, 35.0f};
    MapPicture none = 描画(d, v, 600, 600, s, fixedTextMetrics());
    ASSERT_EQ(none.lines.size(), 3u);
    EXPECT_EQ(none.lines[0].color, rgb(0, 0, 255));
    EXPECT_EQ(none.lines[0].width, 3);
    EXPECT_EQ(none.lines[0].points, (std::vector<CanvasPoint>{{0, 0}, {600, 600}}));
    EXPECT_EQ(none.lines[1].width, 2);
    EXPECT_EQ(none.lines[2].width, 1);
    EXPECT_TRUE(none.labels.empty());  // no platforms, no labels

    d.lineSt = {{"P", {{35.5, 139.5}, {35.5, 139.501}}, "新宿"}};
    MapPicture pic = 描画(d, v, 1200, 1200, s, fixedTextMetrics());
    ASSERT_EQ(pic.lines.size(), 4u);
    EXPECT_EQ(pic.lines[3].color, rgb(0, 255, 0));
    ASSERT_EQ(pic.labels.size(), 1u);
    EXPECT_EQ(pic.labels[0].x, 600);
    EXPECT_EQ(pic.labels[0].y, 600);
    EXPECT_EQ(pic.labels[0].hint, "中央線");
    EXPECT_EQ(pic.labelAt(601, 601), &pic.labels[0]);
    EXPECT_EQ(pic.labelAt(599, 601), nullptr);
}

}  // namespace
}  // namespace kisharin

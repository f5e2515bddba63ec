#include "board/line_display.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/encoding.h"

#include "board/text_metrics.h"
#include "state/datetime.h"
#include "turns/turn_fixture.h"

namespace kisharin::testing {
namespace {

class LineDisplayTest : public BoardTest {};

TEST_F(LineDisplayTest, StripGeometryFollowsTheStations) {
    const LineDisplayModel& m = g.line;
    EXPECT_EQ(m.title, "本線");
    EXPECT_EQ(m.stationCount(), 10);
    EXPECT_EQ(m.stripHeight, 10 * 35 + 50);
    EXPECT_EQ(m.scrollMax, 400 - 433);  // shorter than the viewport: negative
    const StationView& st = m.station(4);
    EXPECT_EQ(st.label.left, 30);
    EXPECT_EQ(st.label.top, 140);
    EXPECT_EQ(st.box.left, 30);
    EXPECT_EQ(st.box.top, 132);
    EXPECT_TRUE(st.connector);
    EXPECT_EQ(st.connectorX, 30 + st.label.width / 2);
    EXPECT_EQ(st.connectorY1, st.label.top + st.label.height);
    EXPECT_EQ(st.connectorY2, st.connectorY1 + 35 - st.box.height);
    // The connector reaches the next box exactly.
    EXPECT_EQ(st.connectorY2, m.station(5).box.top);
    EXPECT_FALSE(m.station(10).connector);
}

TEST_F(LineDisplayTest, TheWholeBoxOfAStationTakesThePointer) {
    const LineDisplayModel& m = g.line;
    const PixelRect box = m.station(4).box;
    const int x = box.left + box.width / 2;
    EXPECT_EQ(hitTest(m, x, box.top).station, 4);  // above the name, inside the frame
    EXPECT_EQ(hitTest(m, x, box.top + box.height - 1).station, 4);
    EXPECT_EQ(hitTest(m, box.left, box.top + 12).station, 4);
    EXPECT_EQ(hitTest(m, box.left + box.width - 1, box.top + 12).station, 4);
    // The gap between two boxes and the space beside them are the background.
    EXPECT_EQ(hitTest(m, x, box.top - 1).station, 0);
    EXPECT_EQ(hitTest(m, x, box.top + box.height).station, 0);
    EXPECT_EQ(hitTest(m, box.left - 1, box.top + 12).station, 0);
    EXPECT_EQ(hitTest(m, box.left + box.width, box.top + 12).station, 0);
    // Every station is hit at the middle of its box, never a neighbour.
    for (int i = 1; i <= m.stationCount(); ++i) {
        const PixelRect b = m.station(i).box;
        EXPECT_EQ(hitTest(m, b.left + b.width / 2, b.top + b.height / 2).station, i);
    }
}

TEST_F(LineDisplayTest, LongNamesUseTheSmallFontAndOneStationHasNoConnector) {
    s.ekiName(3, 1) = "あいうえおかきくけこさ";  // 11 characters
    s.ekiName(1, 2) = "あいうえおかきくけこ";    // 10 characters
    路線読み込み(g.s, g.line, *g.metrics);
    EXPECT_EQ(g.line.station(2).fontSize, 9);
    place(0, 3, 1);
    路線読み込み(g.s, g.line, *g.metrics);
    ASSERT_EQ(g.line.stationCount(), 1);
    EXPECT_EQ(g.line.station(1).fontSize, 7);
    EXPECT_FALSE(g.line.station(1).connector);
    EXPECT_EQ(g.line.title, "離島線");
}

TEST_F(LineDisplayTest, BoxColoursOverwriteInOrder) {
    s.mokutekitiRosen[1] = 1, s.mokutekitiEki[1] = 7;
    s.mokutekitiRosen[2] = 1, s.mokutekitiEki[2] = 8, s.mokutekitiDone[2] = True;
    s.mokutekitiRosen[3] = 1, s.mokutekitiEki[3] = 3;  // special and a destination
    s.ekiMark(1, 1) = "競艇";                          // special and the current station
    路線読み込み(g.s, g.line, *g.metrics);
    EXPECT_EQ(fill(2), kColorWhite);
    EXPECT_EQ(fill(7), kColorDestination);
    EXPECT_EQ(fill(8), kColorWhite);  // reached: no longer pink
    EXPECT_EQ(fill(3), kColorDestination);
    EXPECT_EQ(fill(1), kColorCurrent);
}

TEST_F(LineDisplayTest, StarsMarkVisitedStationsOfTheCurrentPlayer) {
    s.visited[0](1, 4) = True;
    s.visited[1](1, 6) = True;
    路線読み込み(g.s, g.line, *g.metrics);
    EXPECT_TRUE(g.line.station(4).star);
    EXPECT_FALSE(g.line.station(6).star);
    EXPECT_TRUE(g.line.station(1).star);  // the arrival here was just recorded
    const StationView& st = g.line.station(4);
    EXPECT_EQ(st.starRect.left + st.starRect.width, st.label.left);
    EXPECT_EQ(st.starRect.top, st.label.top);
}

TEST_F(LineDisplayTest, BackgroundTakesTheRegionOfTheCurrentStation) {
    const Long kanto = s.regionColor[regionOf(s, "東京都")];
    EXPECT_EQ(g.line.background, kanto);
    place(0, 3, 1);  // 北海道
    路線読み込み(g.s, g.line, *g.metrics);
    EXPECT_EQ(g.line.background, s.regionColor[1]);
    s.ekiPref(3, 1) = "どこでもない県";
    路線読み込み(g.s, g.line, *g.metrics);
    EXPECT_EQ(g.line.background, s.regionColor[1]);  // no region: stays as it was
}

TEST_F(LineDisplayTest, TransferLabelsAndTheirList) {
    const auto& t = g.line.transfers;
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(s.norikaeCount, 4);
    EXPECT_EQ(s.norikaeList(1, 0), 2);
    EXPECT_EQ(s.norikaeList(1, 1), 3);
    EXPECT_EQ(s.norikaeList(1, 2), 5);
    EXPECT_EQ(s.norikaeList(2, 0), 3);
    EXPECT_EQ(s.norikaeList(3, 2), 10);
    EXPECT_EQ(t[0].caption, "東北新幹線");
    EXPECT_EQ(t[0].rect.left, 30 + 120 + 10);
    EXPECT_EQ(t[0].rect.top, g.line.station(5).box.top);
    EXPECT_EQ(t[1].rect.left, t[0].rect.left + t[0].rect.width + 10);
    EXPECT_EQ(t[0].directions, "大宮・東京 方面 ― 盛岡・新青森 方面");
    EXPECT_EQ(t[1].directions, "");  // a line of one station
}

TEST_F(LineDisplayTest, DirectionTextAtTheEndsOfALine) {
    EXPECT_EQ(directionText(s, 2, 1), "大宮・新青森 方面");
    EXPECT_EQ(directionText(s, 2, 2), "東京 方面 ― 仙台・新青森 方面");
    EXPECT_EQ(directionText(s, 2, 4), "仙台・東京 方面 ― 新青森 方面");
    EXPECT_EQ(directionText(s, 2, 5), "盛岡・東京 方面");
    EXPECT_EQ(directionText(s, 4, 1), "千歳 方面");
    EXPECT_EQ(directionText(s, 4, 2), "羽田 方面");
}

// Every caption 200 pixels wide: two labels fit in a row from x0 = 160 (a third would
// end at 780, beyond the strip).
class WideMetrics : public TextMetrics {
  public:
    int width(const std::string&, int) const override { return 200; }
    int height(int) const override { return 15; }
};

TEST_F(LineDisplayTest, ManyTransferLabelsWrapInsideTheStripEachRowBelowTheLast) {
    WideMetrics wide;
    g.metrics = &wide;
    s.ekiLink(1, 2) = "2\\1;2\\2;2\\3;2\\4;2\\5;4\\1;4\\2";
    路線読み込み(g.s, g.line, *g.metrics);
    std::vector<TransferView> row;
    for (const auto& t : g.line.transfers)
        if (t.station == 2) row.push_back(t);
    ASSERT_EQ(row.size(), 7u);
    const int top = g.line.station(2).box.top;
    EXPECT_EQ(row[0].rect.left, 160);
    EXPECT_EQ(row[1].rect.left, 370);
    EXPECT_EQ(row[1].rect.top, top);
    for (size_t k = 2; k < row.size(); ++k) {
        EXPECT_EQ(row[k].rect.left, k % 2 ? 370 : 160) << k;
        EXPECT_EQ(row[k].rect.top, top + static_cast<int>(k / 2) * (15 + 5)) << k;
    }
    for (const auto& t : row) EXPECT_LE(t.rect.left + t.rect.width, 750);
}

TEST_F(LineDisplayTest, ALabelWiderThanARowStandsAloneInItsRow) {
    class Huge : public TextMetrics {
      public:
        int width(const std::string& t, int) const override { return t == "東北新幹線" ? 650 : 40; }
        int height(int) const override { return 15; }
    } huge;
    g.metrics = &huge;
    s.ekiLink(1, 2) = "4\\1;2\\1;4\\2";
    路線読み込み(g.s, g.line, *g.metrics);
    std::vector<TransferView> row;
    for (const auto& t : g.line.transfers)
        if (t.station == 2) row.push_back(t);
    ASSERT_EQ(row.size(), 3u);
    const int top = g.line.station(2).box.top;
    EXPECT_EQ(row[0].rect.top, top);
    EXPECT_EQ(row[1].rect.left, 160);  // alone in the second row, however wide
    EXPECT_EQ(row[1].rect.top, top + 20);
    EXPECT_EQ(row[2].rect.left, 160);
    EXPECT_EQ(row[2].rect.top, top + 40);
}

TEST_F(LineDisplayTest, AStationWithVeryManyTransfersTakesASmallerFontToKeepToTwoRows) {
    // Ten characters: 90 pixels at size 8, 80 at 7, 70 at 6 (fixed metrics). Fourteen
    // labels take three rows at 8 and 7 (six a row), two at 6 (seven a row).
    s.ekiName(2, 0) = "東北新幹線東北新幹線";
    std::string links;
    for (int i = 0; i < 14; ++i) links += (i ? ";" : "") + std::string("2\\1");
    s.ekiLink(1, 2) = links;
    路線読み込み(g.s, g.line, *g.metrics);
    std::set<int> tops;
    for (const auto& t : g.line.transfers) {
        if (t.station == 2) {
            EXPECT_EQ(t.fontSize, 6);
            EXPECT_EQ(t.rect.height, fixedTextMetrics().height(6));
            EXPECT_LE(t.rect.left + t.rect.width, 750);
            tops.insert(t.rect.top);
        } else {
            EXPECT_EQ(t.fontSize, kTransferFontSize) << t.station;  // a station with few keeps the size
        }
    }
    EXPECT_EQ(tops.size(), 2u);
}

TEST_F(LineDisplayTest, TransferLabelsStopAtTheSizeOfTheirList) {
    std::string links;
    for (int i = 0; i < 160; ++i) links += (i ? ";" : "") + std::string("2\\1");
    s.ekiLink(1, 2) = links;
    EXPECT_NO_THROW(路線読み込み(g.s, g.line, *g.metrics));
    EXPECT_EQ(s.norikaeCount, 151);
    EXPECT_EQ(g.line.transfers.size(), 150u);
}

TEST_F(LineDisplayTest, ScrollingStaysInRange) {
    // A long line: 30 stations.
    for (int i = 11; i <= 30; ++i) s.ekiName(1, i) = "本" + std::to_string(i), s.ekiPref(1, i) = "東京都";
    路線読み込み(g.s, g.line, *g.metrics);
    EXPECT_EQ(g.line.scrollMax, 30 * 35 + 50 - 433);
    EXPECT_EQ(scrollValueForStation(s, 3), 0);
    EXPECT_EQ(scrollValueForStation(s, 20), 20 * 35 - 433 + 50 - 15);  // into the gap above a box
    EXPECT_EQ(scrollValueForStation(s, 30), g.line.scrollMax - 15);
    スクロール位置決め(g.s, g.line, 30);
    EXPECT_EQ(g.line.scrollValue, g.line.scrollMax - 15);
    onMouseWheel(g.line, -120);  // toward the user, at the bottom
    EXPECT_EQ(g.line.scrollValue, g.line.scrollMax);
    onMouseWheel(g.line, 120);
    EXPECT_EQ(g.line.scrollValue, g.line.scrollMax - 50);
    g.line.wheelBusy = True;  // a wheel message while one is handled does nothing
    onMouseWheel(g.line, 120);
    EXPECT_EQ(g.line.scrollValue, g.line.scrollMax - 50);
    g.line.wheelBusy = False;
    for (int i = 0; i < 20; ++i) vbWheelPlus(g.line);
    EXPECT_EQ(g.line.scrollValue, 0);
    EXPECT_FALSE(setScrollValue(g.line, g.line.scrollMax + 1));
    EXPECT_EQ(g.line.scrollValue, 0);
    scTate_Change(g.line, 100);
    EXPECT_EQ(g.line.scrollValue, 100);
}

TEST_F(LineDisplayTest, AShortLineNeverScrolls) {
    place(0, 3, 1);
    路線読み込み(g.s, g.line, *g.metrics);
    スクロール位置決め(g.s, g.line, 1);
    vbWheelMinus(g.line);
    EXPECT_EQ(g.line.scrollValue, 0);
}

TEST_F(LineDisplayTest, HoverHighlightsOnlyReachableStations) {
    lblEki_MouseMove(g.s, g.line, 3);  // no move pending
    EXPECT_FALSE(g.line.ekiHover);
    EXPECT_EQ(fill(3), kColorSpecial);
    s.mokutekitiRosen[1] = 1, s.mokutekitiEki[1] = 4;
    路線読み込み(g.s, g.line, *g.metrics);
    roll(3);
    lblEki_MouseMove(g.s, g.line, 5);  // 4 away: out of reach
    EXPECT_FALSE(g.line.ekiHover);
    lblEki_MouseMove(g.s, g.line, 1);  // own station
    EXPECT_FALSE(g.line.ekiHover);
    lblEki_MouseMove(g.s, g.line, 4);
    EXPECT_TRUE(g.line.ekiHover);
    EXPECT_EQ(fill(4), kColorReachable);
    // Straight on to another label: the first highlight stays.
    lblEki_MouseMove(g.s, g.line, 3);
    EXPECT_EQ(g.line.hoverEki, 4);
    EXPECT_EQ(fill(3), kColorSpecial);
    picEki_MouseMove(g.s, g.line);
    EXPECT_FALSE(g.line.ekiHover);
    EXPECT_EQ(fill(4), kColorDestination);
    EXPECT_EQ(fill(1), kColorCurrent);
    lblEki_MouseMove(g.s, g.line, 3);
    EXPECT_EQ(fill(3), kColorReachable);
    picEki_MouseMove(g.s, g.line);
    EXPECT_EQ(fill(3), kColorSpecial);
}

TEST_F(LineDisplayTest, TransferHintShowsAboveTheLabelUntilTheBackground) {
    lblNorikae_MouseMove(g.line, *g.metrics, 1);
    EXPECT_TRUE(g.line.hintVisible);
    EXPECT_EQ(g.line.hintText, "大宮・東京 方面 ― 盛岡・新青森 方面");
    EXPECT_EQ(g.line.hintRect.left, g.line.transfers[0].rect.left);
    EXPECT_EQ(g.line.hintRect.top, g.line.transfers[0].rect.top - 20);
    lblNorikae_MouseMove(g.line, *g.metrics, 2);  // still showing the first until the pointer leaves
    EXPECT_EQ(g.line.hintText, "大宮・東京 方面 ― 盛岡・新青森 方面");
    picEki_MouseMove(g.s, g.line);
    EXPECT_FALSE(g.line.hintVisible);
    EXPECT_FALSE(g.line.norikaeHover);
}

TEST_F(LineDisplayTest, ClockShowsOneMinutePerSecondOfPlay) {
    s.gameClock = toSerial({2024, 1, 5, 23, 58, 0});
    s.playSeconds = 0;
    EXPECT_EQ(lblJikokuText(s), "1/5 23：58");
    playClockTick(g.s);
    playClockTick(g.s);
    EXPECT_EQ(s.playSeconds, 2);
    EXPECT_EQ(lblJikokuText(s), "1/6 00：00");
}

TEST(FixedTextMetrics, CountsCharactersNotBytes) {
    const TextMetrics& m = fixedTextMetrics();
    EXPECT_EQ(m.width("本線", 9), 20);
    EXPECT_EQ(m.width("ab", 9), 10);
    EXPECT_EQ(m.width("ｱｲ", 10), 10);  // half-width katakana are narrow
    EXPECT_EQ(charCount("あいう"), 3);
}

}  // namespace
}  // namespace kisharin::testing

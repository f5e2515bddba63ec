// A prefecture's railway map in the conquest record: the track between two reached
// stations is told apart, and reached names stay in front of the others.
#include <gtest/gtest.h>

#include "maps/conquest_map.h"

namespace kisharin {
namespace {

// A straight track west to east at 35.0 N through A (139.00), B (139.10) and C (139.20),
// one vertex every 0.005 degrees; each platform is a short line on the track.
MapData threeStations() {
    MapData d;
    d.pref = "東京都";
    d.boundW = 138.9f, d.boundE = 139.3f, d.boundS = 34.9f, d.boundN = 35.1f;
    MapLineRecord track{"R1", {}, "11"};
    for (int i = 0; i <= 60; ++i) track.points.push_back({35.0, 138.95 + 0.005 * i});
    d.lineRr.push_back(track);
    const char* names[3] = {"A", "B", "C"};
    for (int s = 0; s < 3; ++s) {
        const double lon = 139.0 + 0.1 * s;
        d.lineSt.push_back(
            {std::string("S") + names[s], {{35.0, lon - 0.001}, {35.0, lon + 0.001}}, names[s]});
        d.sameStation.push_back({lon, 35.0, names[s], "線"});
    }
    return d;
}

TEST(ConquestMap, OnlyTheTrackBetweenTwoReachedStationsIsColoured) {
    const MapData d = threeStations();
    const CanvasScale c{{138.9f, 139.3f, 35.1f, 34.9f}, 400, 400};
    const auto reachedAB = [](const std::string& n) { return n == "A" || n == "B"; };
    const std::vector<MapPolyline> pieces = reachedTracks(d, c, reachedAB, rgb(0, 0, 255), 3);
    ASSERT_EQ(pieces.size(), 1u);
    // From A (139.00) to B (139.10), and not a pixel towards C.
    EXPECT_NEAR(pieces[0].points.front().x, c.pixelX(139.0), 3);
    EXPECT_NEAR(pieces[0].points.back().x, c.pixelX(139.1), 3);
    EXPECT_EQ(pieces[0].color, rgb(0, 0, 255));
    // A alone: nothing between two reached stations.
    EXPECT_TRUE(reachedTracks(
                    d, c, [](const std::string& n) { return n == "A"; }, 0, 3)
                    .empty());
}

TEST(ConquestMap, ReachedNamesAreColouredAndKeptWhereNamesOverlap) {
    MapData d = threeStations();
    // Another name right on top of B's.
    d.sameStation.insert(d.sameStation.begin() + 1, {139.1, 35.0, "B2", "線"});
    const MapPicture pic = conquestMapPicture(
        d, 400, fixedTextMetrics(), [](const std::string& n) { return n == "B"; }, rgb(255, 0, 0));
    const auto label = [&](const std::string& n) {
        for (const MapLabel& l : pic.labels)
            if (l.caption == n) return l;
        return MapLabel{};
    };
    EXPECT_TRUE(label("B").visible);
    EXPECT_EQ(label("B").color, rgb(255, 0, 0));
    EXPECT_EQ(label("B").text(), "★B");
    EXPECT_FALSE(label("B2").visible);
    EXPECT_EQ(label("A").color, kUnreachedGrey);
}

// A grey name gives way to a reached one lying within it; reached ones only to each other.
TEST(ConquestMap, GreyNamesGiveWayToReachedOnesWhicheverHoldsTheOther) {
    std::vector<MapLabel> labels(5);
    const int at[5][3] = {{0, 0, 100}, {20, 2, 30}, {25, 4, 30}, {200, 0, 30}, {210, 5, 30}};
    for (int i = 0; i < 5; ++i)
        labels[i].x = at[i][0], labels[i].y = at[i][1], labels[i].w = at[i][2], labels[i].h = 10,
        labels[i].star = i == 1 || i == 2;
    到達駅優先非重(labels);
    std::vector<std::pair<int, bool>> got;
    for (const MapLabel& l : labels) got.emplace_back(l.x, l.visible);
    EXPECT_EQ(got, (std::vector<std::pair<int, bool>>{
                       {0, false}, {200, false}, {210, true}, {20, false}, {25, true}}));
}

}  // namespace
}  // namespace kisharin

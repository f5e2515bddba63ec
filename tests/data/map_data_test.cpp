// The railway maps of the data builder: its geometry, the maps it builds from small
// hand-made data, and the 47 maps the game ships, read with the game's own reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <set>

#include "board/station_file.h"
#include "databuilder/geometry.h"
#include "databuilder/map_files.h"
#include "databuilder/network.h"
#include "databuilder/open_data.h"
#include "maps/map_data.h"
#include "platform/text_file.h"
#include "state/error.h"
#include "state/railway.h"
#include "state/regions.h"

namespace kisharin::databuilder {
namespace {

namespace fs = std::filesystem;

double metres(const GeoPt& a, const GeoPt& b) {
    return distanceMetres(a.lat, a.lng, b.lat, b.lng);
}

double lengthOf(const Polyline& l) {
    double sum = 0;
    for (size_t i = 0; i + 1 < l.size(); ++i) sum += metres(l[i], l[i + 1]);
    return sum;
}

// A point dx metres east and dy metres north of (35, 139).
GeoPt at(double dx, double dy) {
    return GeoPt{139.0 + dx / (kMetresPerDegree * std::cos(35.0 * 3.14159265358979 / 180)),
                 35.0 + dy / kMetresPerDegree};
}

// ---- Geometry -------------------------------------------------------------------

TEST(MapGeometry, SimplifyingKeepsEveryDroppedVertexWithinTheTolerance) {
    // A winding track: a slow sine with a little jitter, 2 km long.
    Polyline track;
    for (int i = 0; i <= 400; ++i)
        track.push_back(at(i * 5.0, 60 * std::sin(i / 40.0) + ((i * 7919) % 13) * 0.1));
    for (const double tol : {1.0, 5.0, 20.0}) {
        const Polyline s = simplify(track, tol);
        EXPECT_EQ(s.front(), track.front());
        EXPECT_EQ(s.back(), track.back());
        EXPECT_LT(s.size(), track.size());
        for (const GeoPt& p : track) EXPECT_LE(distanceToLineMetres(s, p), tol + 0.01) << tol;
    }
    EXPECT_LT(simplify(track, 20).size(), simplify(track, 1).size());

    // A straight run loses its middle; a bend larger than the tolerance stays.
    EXPECT_EQ(simplify({at(0, 0), at(50, 1), at(100, -1), at(150, 0)}, 5).size(), 2u);
    const Polyline bend = simplify({at(0, 0), at(50, 15), at(100, 30), at(150, 0)}, 5);
    ASSERT_EQ(bend.size(), 3u);
    EXPECT_EQ(bend[1], at(100, 30));
    // A closed ring keeps its shape rather than collapsing onto its first vertex.
    const Polyline ring = simplify({at(0, 0), at(100, 0), at(100, 100), at(0, 100), at(0, 0)}, 5);
    EXPECT_EQ(ring.size(), 5u);
}

TEST(MapGeometry, ClippingKeepsTheRunsNearTheBoxWithTheirOutsideNeighbours) {
    Box box;
    box.add(GeoPt{0, 0});
    box.add(GeoPt{10, 10});
    // In, out far to the east, back in: two pieces, each running on to the vertex outside.
    const Polyline line = {{-5, 5}, {5, 5}, {20, 5}, {30, 5}, {20, 6}, {5, 6}, {-5, 6}};
    const auto pieces = clipToBox(line, box);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0], (Polyline{{-5, 5}, {5, 5}, {20, 5}}));
    EXPECT_EQ(pieces[1], (Polyline{{20, 6}, {5, 6}, {-5, 6}}));
    // A segment passing over the box with both ends outside is kept.
    EXPECT_EQ(clipToBox({{-5, 5}, {15, 5}}, box).size(), 1u);
    EXPECT_TRUE(clipToBox({{20, 20}, {30, 30}}, box).empty());
    EXPECT_TRUE(clipToBox({{5, 5}}, box).empty());
}

TEST(MapGeometry, InsideARingFollowsItsOutlineIntoNotches) {
    // A U open to the north: the notch between the arms is outside.
    const Polyline u = {{0, 0}, {3, 0}, {3, 3}, {2, 3}, {2, 1}, {1, 1}, {1, 3}, {0, 3}};
    EXPECT_TRUE(insideRing(u, {0.5, 2}));
    EXPECT_TRUE(insideRing(u, {2.5, 2}));
    EXPECT_TRUE(insideRing(u, {1.5, 0.5}));
    EXPECT_FALSE(insideRing(u, {1.5, 2}));
    EXPECT_FALSE(insideRing(u, {4, 1}));
    EXPECT_FALSE(insideRing(u, {-1, 1}));
}

TEST(MapGeometry, APlatformFollowsTheNearestTrackRoundItsBends) {
    // An L-shaped track: 500 m east, then 500 m north; a station 20 m inside the corner.
    const Polyline l = {at(0, 0), at(500, 0), at(500, 500)};
    const Polyline far = {at(0, 1000), at(500, 1000)};
    const Polyline p = stretchAlong({&far, &l}, at(480, 20), 150, 300);
    ASSERT_GE(p.size(), 3u);
    EXPECT_NEAR(lengthOf(p), 150, 1.0);
    EXPECT_NE(std::find(p.begin(), p.end(), at(500, 0)), p.end()) << "the platform turns the corner";
    for (const GeoPt& q : p) EXPECT_LT(distanceToLineMetres(l, q), 0.5);

    // Near the end of the track the platform is cut short at the end.
    const Polyline end = stretchAlong({&l}, at(10, 5), 150, 300);
    EXPECT_NEAR(lengthOf(end), 85, 1.0);
    EXPECT_EQ(end.front(), at(0, 0));

    // No track close enough: nothing.
    EXPECT_TRUE(stretchAlong({&l}, at(150, 400), 150, 300).empty());
    EXPECT_TRUE(stretchAlong({}, at(0, 0), 150, 300).empty());
}

TEST(MapGeometry, AStraightPlatformLiesAcrossItsNeighbours) {
    const Polyline p = straightStretch(at(0, 0), at(-1000, -1000), at(1000, 1000), 150);
    ASSERT_EQ(p.size(), 2u);
    EXPECT_NEAR(metres(p[0], p[1]), 150, 0.5);
    EXPECT_NEAR(metres(p[0], at(0, 0)), 75, 0.5);
    EXPECT_NEAR(p[1].lat - 35.0, (p[1].lng - 139.0) * std::cos(35.0 * 3.14159265358979 / 180), 1e-7)
        << "north-east";
    const Polyline alone = straightStretch(at(0, 0), at(0, 0), at(0, 0), 150);
    EXPECT_NEAR(metres(alone[0], alone[1]), 150, 0.5);
}

// ---- Maps from small hand-made data ------------------------------------------------

Polyline square(double w, double s, double e, double n) {
    return {{w, s}, {e, s}, {e, n}, {w, n}, {w, s}};
}

struct Small {
    OpenData open;
    Network net;
    MapOpenData geo;
};

// 東京都: a mainland square and a far island without railways; 神奈川県 south of it.
// A線 (JR) runs from 東京都 into 神奈川県; B線 (private) lies in 東京都 without track
// data of its own, its last station on D線's track; an air route stops at an airport in
// 東京都.
Small smallMaps() {
    Small s;
    s.open.prefectures = {{13, "東京都"}, {14, "神奈川県"}};
    s.open.companies = {{2, Company{"JR東日本", 1}}, {50, Company{"私鉄", 0}}};
    s.open.lines = {
        OpenLine{10, "A線", "", 2, std::nullopt, {}}, OpenLine{20, "B線", "", 50, std::nullopt, {}},
        OpenLine{30, "C線", "", 50, std::nullopt, {}}, OpenLine{40, "D線", "", 50, std::nullopt, {}}};
    s.geo.prefectures = {
        {"神奈川県", {{square(139.0, 35.2, 139.5, 35.5)}}},
        {"東京都", {{square(139.0, 35.5, 139.5, 35.8)}, {square(142.1, 27.0, 142.2, 27.1)}}}};
    s.geo.tracks[10] = {{{139.2, 35.7}, {139.22, 35.6}, {139.2, 35.3}, {139.21, 35.1}}};
    s.geo.tracks[30] = {{{135.0, 34.0}, {135.1, 34.0}}};  // far from both
    s.geo.tracks[40] = {{{139.45, 35.75}, {139.45, 35.78}}};
    RailwayData& d = s.net.data;
    auto station = [&](int line, int pos, const char* name, const char* pref, int code, double lat,
                       double lng) {
        d.ekiName(line, pos) = name;
        d.ekiPref(line, pos) = pref;
        s.net.places.push_back(StationPlace{line, pos, code, lat, lng});
    };
    d.ekiName(1, 0) = "A線";
    station(1, 1, "北", "東京都", 10, 35.7, 139.2001);
    station(1, 2, "境", "東京都", 10, 35.6, 139.22);
    station(1, 3, "南", "神奈川県", 10, 35.3, 139.2);
    station(1, 4, "海", "神奈川県", 10, 35.15, 139.2075);  // beyond the coast of 神奈川県
    d.ekiName(2, 0) = "B線";
    station(2, 1, "東", "東京都", 20, 35.65, 139.4);
    station(2, 2, "西", "東京都", 20, 35.65, 139.3);
    station(2, 3, "坂", "東京都", 20, 35.76, 139.4501);
    d.ekiName(3, 0) = "飛行機（羽田～那覇）";
    station(3, 1, "羽田空港", "東京都", 0, 35.55, 139.45);
    return s;
}

const PrefectureMap& mapOf(const std::vector<PrefectureMap>& maps, const std::string& name) {
    for (const auto& m : maps)
        if (m.name == name) return m;
    throw std::runtime_error("no map of " + name);
}

TEST(BuildMaps, TheBoxHoldsTheIslandsWithStationsAndRoomForEveryLabel) {
    const Small s = smallMaps();
    const auto maps = buildMaps(s.open, s.net, s.geo);
    ASSERT_EQ(maps.size(), 2u);
    EXPECT_EQ(maps[0].name, "東京都");  // by prefecture code
    EXPECT_EQ(maps[1].name, "神奈川県");

    const PrefectureMap& tokyo = maps[0];
    EXPECT_DOUBLE_EQ(tokyo.bounds.w, 139.0);
    EXPECT_DOUBLE_EQ(tokyo.bounds.e, 139.5);
    EXPECT_DOUBLE_EQ(tokyo.bounds.s, 35.5);
    EXPECT_DOUBLE_EQ(tokyo.bounds.n, 35.8);
    // The island is drawn but lies outside the box.
    ASSERT_EQ(tokyo.boundary.size(), 2u);
    EXPECT_EQ(tokyo.boundary[1].key, "b2_1");
    EXPECT_EQ(tokyo.boundary[1].points.front(), (GeoPt{142.1, 27.0}));

    // The station off the coast widens 神奈川県's box, with room for its label.
    const PrefectureMap& kanagawa = maps[1];
    EXPECT_NEAR(kanagawa.bounds.s, 35.15 - kLabelRoomDegrees, 1e-5);
    EXPECT_LE(kanagawa.bounds.s, 35.15 - kLabelRoomDegrees + 1e-9);
    EXPECT_DOUBLE_EQ(kanagawa.bounds.n, 35.5);
    for (const auto& m : maps)
        for (const auto& l : m.labels) EXPECT_TRUE(m.bounds.contains(l.at)) << m.name << " " << l.station;
}

TEST(BuildMaps, TracksNearTheViewWithTheirKindAndPlatformsAtEveryStation) {
    const Small s = smallMaps();
    const auto maps = buildMaps(s.open, s.net, s.geo);
    // 東京都's view is wide and reaches south over 神奈川県: A線 runs on past the box's
    // edge (35.5) to the first vertex beyond the view's margin, not to its end (35.1).
    const PrefectureMap& tokyo = mapOf(maps, "東京都");
    ASSERT_EQ(tokyo.tracks.size(), 2u);  // C線 lies far away
    EXPECT_EQ(tokyo.tracks[0].key, "r10_1_1");
    EXPECT_EQ(tokyo.tracks[0].third, "11");
    EXPECT_EQ(tokyo.tracks[0].points, (Polyline{{139.2, 35.7}, {139.22, 35.6}, {139.2, 35.3}}));
    EXPECT_EQ(tokyo.tracks[1].key, "r40_1_1");
    EXPECT_EQ(tokyo.tracks[1].third, "12");
    // 神奈川県's view starts a little north of its box: A線 from 35.6, D線 not at all.
    const PrefectureMap& kanagawa = mapOf(maps, "神奈川県");
    ASSERT_EQ(kanagawa.tracks.size(), 1u);
    EXPECT_EQ(kanagawa.tracks[0].points, (Polyline{{139.22, 35.6}, {139.2, 35.3}, {139.21, 35.1}}));

    ASSERT_EQ(tokyo.platforms.size(), 5u);  // not for the airport
    EXPECT_EQ(tokyo.platforms[0].key, "s1_1");
    EXPECT_EQ(tokyo.platforms[0].third, "北");
    // 北 lies at the track's end: half a platform; 境 at a bend: a whole one round it.
    EXPECT_NEAR(lengthOf(tokyo.platforms[0].points), 75, 2);
    const Polyline& sakai = tokyo.platforms[1].points;
    EXPECT_NEAR(lengthOf(sakai), 150, 2);
    EXPECT_NE(std::find(sakai.begin(), sakai.end(), GeoPt{139.22, 35.6}), sakai.end());
    for (const GeoPt& p : sakai) EXPECT_LT(distanceToLineMetres(s.geo.tracks.at(10)[0], p), 1.0);
    // B線 has no track of its own: 東 and 西 lie across their neighbours, 坂 along D線.
    EXPECT_EQ(tokyo.platforms[2].key, "s2_1");
    EXPECT_NEAR(tokyo.platforms[2].points[0].lat, 35.65, 1e-5);
    EXPECT_NEAR(tokyo.platforms[2].points[1].lat, 35.65, 1e-5);
    EXPECT_NEAR(lengthOf(tokyo.platforms[2].points), 150, 2);
    for (const GeoPt& p : tokyo.platforms[4].points) EXPECT_NEAR(p.lng, 139.45, 1e-5);
    EXPECT_NEAR(lengthOf(tokyo.platforms[4].points), 150, 2);
    EXPECT_EQ(tokyo.straightPlatforms, 2);

    ASSERT_EQ(kanagawa.platforms.size(), 2u);
    EXPECT_EQ(kanagawa.straightPlatforms, 0) << "海 lies on the track beyond the coast";
}

TEST(BuildMaps, OneLabelPerStationAndLineWithTheNetworksNames) {
    Small s = smallMaps();
    const auto maps = buildMaps(s.open, s.net, s.geo);
    const PrefectureMap& tokyo = mapOf(maps, "東京都");
    ASSERT_EQ(tokyo.labels.size(), 6u);
    EXPECT_EQ(tokyo.labels[0].station, "北");
    EXPECT_EQ(tokyo.labels[0].line, "A線");
    EXPECT_EQ(tokyo.labels[0].at, (GeoPt{139.2001, 35.7}));
    EXPECT_EQ(tokyo.labels[5].station, "羽田空港");
    EXPECT_EQ(tokyo.labels[5].line, "飛行機（羽田～那覇）");

    // A station served by more lines comes after those served by fewer, in its lines' order.
    s.net.data.ekiName(2, 1) = "境";
    std::vector<std::string> order;
    const auto shared = buildMaps(s.open, s.net, s.geo);
    for (const auto& l : mapOf(shared, "東京都").labels) order.push_back(l.station + "/" + l.line);
    EXPECT_EQ(order, (std::vector<std::string>{"北/A線", "西/B線", "坂/B線", "羽田空港/飛行機（羽田～那覇）",
                                               "境/A線", "境/B線"}));

    // A name with a comma cannot be written into the files.
    s.net.data.ekiName(2, 2) = "西,東";
    EXPECT_THROW(buildMaps(s.open, s.net, s.geo), GameError);
}

TEST(BuildMaps, RefusesBoundariesThatDoNotMatchThePrefectures) {
    Small s = smallMaps();
    s.geo.prefectures.pop_back();  // 東京都 has no boundary
    EXPECT_THROW(buildMaps(s.open, s.net, s.geo), DataError);
    s = smallMaps();
    s.geo.prefectures[0].name = "神奈川";
    try {
        buildMaps(s.open, s.net, s.geo);
        FAIL();
    } catch (const DataError& e) {
        EXPECT_NE(std::string(e.what()).find("神奈川"), std::string::npos);
    }
}

TEST(BuildMaps, AnAirportLiesAtTheFirstRailwayStationServingIt) {
    OpenData o;
    o.prefectures = {{13, "東京都"}};
    o.companies = {{2, Company{"JR東日本", 1}}};
    OpenLine a{10, "A線", "えーせん", 2, std::nullopt, {}};
    a.stations = {OpenStation{1, "空港前", "空港前", "", 35.55, 139.78, 13},
                  OpenStation{2, "市内", "市内", "", 35.68, 139.76, 13}};
    o.lines = {a};
    o.airports = {Airport{"羽田空港", "はねだくうこう", "東京都", "羽田", {"空港前"}, 2},
                  Airport{"調布空港", "ちょうふくうこう", "東京都", "調布", {"市内"}, 3}};
    o.airRoutes = {AirRoute{{"羽田空港", "調布空港"}, 2}};
    const Network n = buildNetwork(o);
    ASSERT_EQ(n.places.size(), 4u);
    EXPECT_EQ(n.places[0].lineCode, 10);
    const StationPlace& haneda = n.places[2];
    EXPECT_EQ(haneda.line, 2);
    EXPECT_EQ(haneda.pos, 1);
    EXPECT_EQ(haneda.lineCode, 0);
    EXPECT_DOUBLE_EQ(haneda.lat, 35.55);
    EXPECT_DOUBLE_EQ(n.places[3].lng, 139.76);
}

class MapFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::path(KISHARIN_TEST_BINARY_DIR) / "map_data_test";
        fs::remove_all(root_);
    }
    void TearDown() override { fs::remove_all(root_); }
    fs::path root_;
};

TEST_F(MapFolder, TheGamesReaderReadsBackWhatWasWritten) {
    const Small s = smallMaps();
    const auto maps = buildMaps(s.open, s.net, s.geo);
    writeMapData(maps, root_.string());
    const std::string dir = (root_ / "MapData").string();

    const MapData tokyo = データ読込(dir, "東京都");
    EXPECT_EQ(tokyo.prefLineOnly, (std::vector<std::string>{"b1_1", "b2_1"}));
    ASSERT_EQ(tokyo.line.count("b1_1"), 1u);
    EXPECT_EQ(tokyo.line.at("b1_1").front(), (GeoPoint{35.5, 139.0}));  // latitude first
    EXPECT_FLOAT_EQ(tokyo.boundW, 139.0f);
    EXPECT_FLOAT_EQ(tokyo.boundN, 35.8f);
    ASSERT_EQ(tokyo.lineRr.size(), 2u);
    EXPECT_EQ(tokyo.lineRr[0].extra, "11");
    EXPECT_EQ(tokyo.lineRr[0].points, (GeoLine{{35.7, 139.2}, {35.6, 139.22}, {35.3, 139.2}}));
    ASSERT_EQ(tokyo.lineSt.size(), 5u);
    EXPECT_EQ(tokyo.lineSt[1].extra, "境");
    ASSERT_EQ(tokyo.sameStation.size(), 6u);
    EXPECT_EQ(tokyo.sameStation[5].name, "羽田空港");
    EXPECT_EQ(tokyo.sameStation[5].line, "飛行機（羽田～那覇）");
    EXPECT_DOUBLE_EQ(tokyo.sameStation[0].lon, 139.2001);

    // The bytes: CP932, CR LF after every record, five decimals, name first in St.dat.
    const std::string st = readFileBytes(dir + "/東京都/St.dat");
    const std::string first = "\x96\x6b,139.20010,35.70000,A\x90\xfc\r\n";  // 北 … A線
    EXPECT_EQ(st.substr(0, first.size()), first);
    EXPECT_EQ(readFileBytes(dir + "/東京都/NEWS.dat"), "139.00000\r\n139.50000\r\n35.50000\r\n35.80000\r\n");
    EXPECT_EQ(readFileBytes(dir + "/東京都/PL.dat"), "b1_1\r\nb2_1\r\n");

    // Writing the same maps again leaves the files as they are; a changed map replaces them.
    writeMapData(maps, root_.string());
    EXPECT_EQ(readFileBytes(dir + "/東京都/St.dat"), st);
    auto changed = maps;
    changed[0].labels.pop_back();
    writeMapData(changed, root_.string());
    EXPECT_EQ(データ読込(dir, "東京都").sameStation.size(), 5u);
}

TEST(MapOpenDataFiles, ReadsPolygonsAndTracksAndNamesTheFileOfAFault) {
    const auto prefs = parsePrefecturesJson(
        R"({"type":"FeatureCollection","features":[
          {"type":"Feature","properties":{"N03_001":"東京都"},"geometry":{"type":"MultiPolygon","coordinates":
            [[[[139,35],[140,35],[140,36],[139,35]],[[139.5,35.2],[139.6,35.2],[139.6,35.3],[139.5,35.2]]],
             [[[142,27],[142.1,27],[142.1,27.1],[142,27]]]]}},
          {"type":"Feature","properties":{"N03_001":"埼玉県"},"geometry":{"type":"Polygon","coordinates":
            [[[139,36],[140,36],[140,37],[139,36]]]}}]})",
        "p.json");
    ASSERT_EQ(prefs.size(), 2u);
    EXPECT_EQ(prefs[0].name, "東京都");
    ASSERT_EQ(prefs[0].parts.size(), 2u);
    EXPECT_EQ(prefs[0].parts[0].size(), 2u);  // an outer ring and a hole
    EXPECT_EQ(prefs[0].parts[1][0][0], (GeoPt{142, 27}));
    EXPECT_EQ(prefs[1].parts.size(), 1u);

    const auto tracks = parseTrackJson(
        R"({"type":"FeatureCollection","features":[{"type":"Feature","geometry":{"type":"LineString",
          "coordinates":[[139.1,35.1],[139.2,35.2]]},"properties":{}}]})",
        "polyline/1.json");
    ASSERT_EQ(tracks.size(), 1u);
    EXPECT_EQ(tracks[0][1], (GeoPt{139.2, 35.2}));

    for (const char* bad :
         {R"({"features":[{"geometry":{"type":"Point","coordinates":[1,2]}}]})",
          R"({"features":[{"geometry":{"type":"LineString","coordinates":[[1],[2,3]]}}]})",
          R"({"features":[{"geometry":{"type":"LineString","coordinates":[[1,"x"]]}}]})",
          R"({"features":[{"geometry":{"type":"LineString","coordinates":[[35.6,139.7],[35.7,139.8]]}}]})",
          R"({"type":"x"})", "{\n\"features\": [\n}"}) {
        try {
            parseTrackJson(bad, "polyline/7.json");
            ADD_FAILURE() << "accepted: " << bad;
        } catch (const DataError& e) {
            EXPECT_EQ(e.file(), "polyline/7.json");
        }
    }
    try {
        parseTrackJson(R"({"features":[{"geometry":{"type":"LineString","coordinates":[[1,2],[3,4]]}},
                         {"geometry":{"type":"LineString","coordinates":[[1,2],[3]]}}]})",
                       "polyline/8.json");
        FAIL();
    } catch (const DataError& e) {
        EXPECT_NE(e.what_wrong().find("2 番目の地物"), std::string::npos) << e.what();
    }
    try {
        readMapOpenData("/nonexistent-kisharin-opendata");
        FAIL();
    } catch (const DataError& e) {
        EXPECT_NE(e.file().find("prefectures.json"), std::string::npos) << e.file();
    }
    EXPECT_THROW(
        parsePrefecturesJson(R"({"features":[{"geometry":{"type":"Polygon","coordinates":[]}}]})", "p"),
        DataError);
    EXPECT_THROW(parsePrefecturesJson(R"({"features":[{"properties":{"N03_001":"x"},
                   "geometry":{"type":"Polygon","coordinates":[[[0,0],[1,1]]]}}]})",
                                      "p"),
                 DataError);
}

// ---- The maps the game ships ----------------------------------------------------------

const std::string kMapData = std::string(KISHARIN_SHIPPED_DATA_DIR) + "/MapData";

class ShippedMaps : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        railway_ =
            new RailwayData(readStationFile(std::string(KISHARIN_SHIPPED_DATA_DIR) + "/GameData/駅.txt"));
        GameState regions;
        buildRegionTables(regions);
        maps_ = new std::map<std::string, MapData>;
        for (const std::string& pref : allPrefectures(regions))
            maps_->emplace(pref, データ読込(kMapData, pref));
    }
    static void TearDownTestSuite() {
        delete railway_;
        delete maps_;
    }
    static RailwayData* railway_;
    static std::map<std::string, MapData>* maps_;
};
RailwayData* ShippedMaps::railway_ = nullptr;
std::map<std::string, MapData>* ShippedMaps::maps_ = nullptr;

TEST_F(ShippedMaps, OneFolderForEachOfThe47PrefecturesAndNothingElse) {
    ASSERT_EQ(maps_->size(), 47u);
    std::set<std::string> folders;
    for (const auto& entry : fs::directory_iterator(fs::u8path(kMapData))) {
        folders.insert(entry.path().filename().string());
        std::set<std::string> files;
        for (const auto& f : fs::directory_iterator(entry.path())) files.insert(f.path().filename().string());
        EXPECT_EQ(files,
                  (std::set<std::string>{"PL.dat", "L.dat", "NEWS.dat", "L_rr.dat", "L_st.dat", "St.dat"}))
            << entry.path();
    }
    std::set<std::string> names;
    for (const auto& [pref, map] : *maps_) names.insert(pref);
    EXPECT_EQ(folders, names);
}

TEST_F(ShippedMaps, EveryPrefectureHasItsBoundaryTracksPlatformsAndLabels) {
    for (const auto& [pref, m] : *maps_) {
        EXPECT_FALSE(m.prefLineOnly.empty()) << pref;
        EXPECT_EQ(m.prefLineOnly.size(), m.line.size()) << pref << ": every boundary polyline is drawn";
        EXPECT_FALSE(m.lineRr.empty()) << pref;
        EXPECT_FALSE(m.lineSt.empty()) << pref << ": without platforms the map shows no labels";
        EXPECT_LT(m.boundW, m.boundE) << pref;
        EXPECT_LT(m.boundS, m.boundN) << pref;
        for (const auto& r : m.lineRr) {
            EXPECT_TRUE(r.extra == "11" || r.extra == "12") << pref << " " << r.key;
            EXPECT_GE(r.points.size(), 2u) << pref << " " << r.key;
        }
        for (const auto& p : m.lineSt) {
            double len = 0;
            for (size_t i = 0; i + 1 < p.points.size(); ++i)
                len += distanceMetres(p.points[i].lat, p.points[i].lon, p.points[i + 1].lat,
                                      p.points[i + 1].lon);
            EXPECT_GT(len, 30) << pref << " " << p.key;
            EXPECT_LT(len, 155) << pref << " " << p.key;  // 150 m, vertices rounded to a metre
        }
    }
    // The capital opens on Tokyo, not on the islands a thousand kilometres south.
    const MapData& tokyo = maps_->at("東京都");
    EXPECT_GT(tokyo.boundS, 35.4f);
    EXPECT_LT(tokyo.boundE, 140.0f);
    EXPECT_GT(tokyo.prefLineOnly.size(), 10u) << "the islands' coasts are still drawn";
}

TEST_F(ShippedMaps, EveryStationHasItsLabelInItsPrefectureInsideTheBox) {
    // (prefecture, station, line) of every station of the railway file, counted.
    std::map<std::tuple<std::string, std::string, std::string>, int> want, have;
    for (int l = 1; l <= lineCount(*railway_); ++l)
        for (int p = 1; p <= stationCount(*railway_, l); ++p)
            ++want[{railway_->ekiPref(l, p), railway_->ekiName(l, p), railway_->ekiName(l, 0)}];
    size_t platforms = 0, railwayStations = 0;
    for (const auto& [pref, m] : *maps_) {
        for (const auto& s : m.sameStation) {
            ++have[{pref, s.name, s.line}];
            const auto lon = static_cast<float>(s.lon), lat = static_cast<float>(s.lat);
            EXPECT_TRUE(lon > m.boundW && lon < m.boundE && lat > m.boundS && lat < m.boundN)
                << pref << " " << s.name << " " << s.line;
        }
        platforms += m.lineSt.size();
    }
    EXPECT_EQ(have, want);
    for (int l = 1; l <= lineCount(*railway_); ++l)
        if (railway_->ekiName(l, 0).find("飛行機") == std::string::npos)
            railwayStations += static_cast<size_t>(stationCount(*railway_, l));
    EXPECT_EQ(platforms, railwayStations) << "a platform at every railway station";
}

TEST_F(ShippedMaps, TheWholeSetStaysSmall) {
    uintmax_t bytes = 0;
    for (const auto& f : fs::recursive_directory_iterator(fs::u8path(kMapData)))
        if (f.is_regular_file()) bytes += f.file_size();
    EXPECT_LT(bytes, 30u * 1000 * 1000);
    EXPECT_GT(bytes, 1u * 1000 * 1000);
}

TEST(ShippedMapBuild, BuildingTwiceGivesTheSameBytesAsTheShippedMaps) {
    const OpenData open = readOpenData(KISHARIN_OPENDATA_DIR);
    const Network net = buildNetwork(open);
    const MapOpenData geo = readMapOpenData(KISHARIN_OPENDATA_DIR);
    const auto one = buildMaps(open, net, geo);
    const auto two = buildMaps(open, net, geo);
    ASSERT_EQ(one.size(), 47u);
    ASSERT_EQ(two.size(), 47u);
    for (size_t i = 0; i < one.size(); ++i) {
        const auto files = mapFileBytes(one[i]);
        EXPECT_EQ(files, mapFileBytes(two[i])) << one[i].name;
        for (const auto& [file, bytes] : files)
            EXPECT_TRUE(bytes == readFileBytes(kMapData + "/" + one[i].name + "/" + file))
                << one[i].name << "/" << file << " is out of date: run make data";
    }
}

}  // namespace
}  // namespace kisharin::databuilder

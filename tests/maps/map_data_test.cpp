// Reading the six map files of a prefecture, and every fault they can hold.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>

#include "maps/map_data.h"
#include "platform/text_file.h"
#include "state/error.h"

namespace kisharin {
namespace {

const std::string kFixtures = std::string(KISHARIN_TEST_FIXTURES) + "/MapData/";

// A prefecture folder written at test time from the given files (UTF-8 lines, written
// as CP932 with CR LF); files not given are taken from a small good map.
class MapFolder {
  public:
    explicit MapFolder(std::map<std::string, std::vector<std::string>> files) {
        std::string tmpl = (std::filesystem::temp_directory_path() / "kisharin-mapdata-XXXXXX").string();
        root_ = ::mkdtemp(tmpl.data());
        std::filesystem::create_directories(root_ / "試験県");
        std::map<std::string, std::vector<std::string>> all = {
            {"PL.dat", {"A"}},
            {"L.dat", {"A,35.0 139.0 35.1 139.2"}},
            {"NEWS.dat", {"139.0", "139.2", "35.0", "35.1"}},
            {"L_rr.dat", {"R,35.0 139.0 35.1 139.1,11"}},
            {"L_st.dat", {"P,35.0 139.0 35.0 139.001,新宿"}},
            {"St.dat", {"新宿,139.7006,35.6896,中央線"}},
        };
        for (auto& [name, lines] : files) all[name] = lines;
        for (const auto& [name, lines] : all) {
            if (lines.size() == 1 && lines[0] == "<none>") continue;
            writeBytesAtomic((root_ / "試験県" / name).string(), encodeLines(lines, name));
        }
    }
    ~MapFolder() { std::filesystem::remove_all(root_); }
    std::string dir() const { return root_.string() + "/"; }
    MapData load() const { return データ読込(dir(), "試験県"); }

  private:
    std::filesystem::path root_;
};

TEST(MapDataTest, ReadsTheSixFilesIntoTheirTables) {
    const MapData d = データ読込(kFixtures, "東京都");
    EXPECT_EQ(d.pref, "東京都");
    EXPECT_EQ(d.prefLineOnly, (std::vector<std::string>{"B1", "B2"}));
    ASSERT_EQ(d.line.size(), 3u);
    EXPECT_EQ(d.line.at("B1").size(), 3u);
    EXPECT_FLOAT_EQ(d.boundW, 139.0f);
    EXPECT_FLOAT_EQ(d.boundE, 140.0f);
    EXPECT_FLOAT_EQ(d.boundS, 35.0f);
    EXPECT_FLOAT_EQ(d.boundN, 35.5f);
    ASSERT_EQ(d.lineRr.size(), 3u);
    EXPECT_EQ(d.lineRr[0].key, "R1");
    EXPECT_EQ(d.lineRr[0].extra, "11");
    ASSERT_EQ(d.lineSt.size(), 3u);
    EXPECT_EQ(d.lineSt[1].extra, "新宿");
    ASSERT_EQ(d.sameStation.size(), 6u);
    EXPECT_EQ(d.sameStation[1].name, "東京");
    EXPECT_EQ(d.sameStation[1].line, "中央線");
    EXPECT_EQ(d.vertexCount(), 3u + 3u + 2u + 6u + 6u);
}

TEST(MapDataTest, LabelRecordsAndCoordinateListsKeepTheirOrderOfValues) {
    // St.dat gives the longitude before the latitude; coordinate lists the other way.
    const MapData d = MapFolder({}).load();
    ASSERT_EQ(d.sameStation.size(), 1u);
    EXPECT_EQ(d.sameStation[0].name, "新宿");
    EXPECT_DOUBLE_EQ(d.sameStation[0].lon, 139.7006);
    EXPECT_DOUBLE_EQ(d.sameStation[0].lat, 35.6896);
    EXPECT_EQ(d.sameStation[0].line, "中央線");
    EXPECT_EQ(d.line.at("A"), (GeoLine{{35.0, 139.0}, {35.1, 139.2}}));
}

TEST(MapDataTest, EmptyFilesGiveEmptyTablesAndExtraFieldsAreIgnored) {
    const MapData d = MapFolder({{"PL.dat", {}},
                                 {"L.dat", {}},
                                 {"L_st.dat", {}},
                                 {"L_rr.dat", {"R,35.0 139.0 35.1 139.1,12,おまけ"}}})
                          .load();
    EXPECT_TRUE(d.prefLineOnly.empty());
    EXPECT_TRUE(d.lineSt.empty());
    ASSERT_EQ(d.lineRr.size(), 1u);
    EXPECT_EQ(d.lineRr[0].extra, "12");
}

TEST(MapDataTest, CoordinateListsRejectOddCountsAndNonNumbers) {
    GeoLine pts;
    std::string why;
    EXPECT_TRUE(parseCoordinates("35.0 139.0 35.1 139.2", pts, why));
    EXPECT_EQ(pts.size(), 2u);
    EXPECT_FALSE(parseCoordinates("35.0 139.0 35.1", pts, why));
    EXPECT_NE(why.find("奇数"), std::string::npos);
    EXPECT_FALSE(parseCoordinates("35.0 東経 35.1 139.2", pts, why));
    EXPECT_NE(why.find("東経"), std::string::npos);
    EXPECT_FALSE(parseCoordinates("35.0  139.0", pts, why));  // two blanks: an empty value
    EXPECT_FALSE(parseCoordinates("", pts, why));
    EXPECT_FALSE(parseCoordinates("35.0 139.0x", pts, why));
    // The globe's edges are places; a step past them, or no number at all, is not.
    EXPECT_TRUE(parseCoordinates("-90 -180 90 180", pts, why));
    EXPECT_EQ(pts, (GeoLine{{-90, -180}, {90, 180}}));
    EXPECT_FALSE(parseCoordinates("35.0 139.0 90.001 139.0", pts, why));
    EXPECT_NE(why.find("3番目"), std::string::npos) << why;
    EXPECT_FALSE(parseCoordinates("35.0 -180.5", pts, why));
    EXPECT_NE(why.find("経度"), std::string::npos) << why;
    EXPECT_FALSE(parseCoordinates("nan 139.0", pts, why));
    EXPECT_FALSE(parseCoordinates("35.0 infinity", pts, why));
}

// Each fault names the prefecture's file, the line and what is wrong, in Japanese.
struct Fault {
    const char* what;
    std::map<std::string, std::vector<std::string>> files;
    const char* file;
    int line;
    const char* says;
};

TEST(MapDataTest, EveryFaultNamesThePrefectureFileAndLine) {
    const Fault faults[] = {
        {"missing file", {{"L_st.dat", {"<none>"}}}, "L_st.dat", 0, "ありません"},
        {"NEWS too long", {{"NEWS.dat", {"1", "2", "3", "4", "5"}}}, "NEWS.dat", 5, "4行"},
        {"NEWS too short", {{"NEWS.dat", {"1", "2", "3"}}}, "NEWS.dat", 0, "4行"},
        {"NEWS not a number", {{"NEWS.dat", {"1", "二", "3", "4"}}}, "NEWS.dat", 2, "数値"},
        {"L too few fields", {{"L.dat", {"A,35 139 35.1 139.1", "B"}}}, "L.dat", 2, "項目が足りません"},
        {"empty line", {{"L_rr.dat", {"R,35 139 35 139.1,11", ""}}}, "L_rr.dat", 2, "項目が足りません"},
        {"St too few fields", {{"St.dat", {"新宿,139.7,35.6"}}}, "St.dat", 1, "項目が足りません"},
        {"duplicate PL key", {{"PL.dat", {"A", "A"}}}, "PL.dat", 2, "重複"},
        {"duplicate L key", {{"L.dat", {"A,35 139 35 139", "A,35 139 35 139"}}}, "L.dat", 2, "重複"},
        {"duplicate rr key",
         {{"L_rr.dat", {"R,35 139 35 139,11", "R,35 139 35 139,12"}}},
         "L_rr.dat",
         2,
         "重複"},
        {"duplicate st key",
         {{"L_st.dat", {"P,35 139 35 139,甲", "P,35 139 35 139,乙"}}},
         "L_st.dat",
         2,
         "重複"},
        {"odd count", {{"L_st.dat", {"P,35 139 35,甲"}}}, "L_st.dat", 1, "奇数"},
        {"not a number", {{"L.dat", {"A,35 139 35.1 abc"}}}, "L.dat", 1, "abc"},
        {"label longitude", {{"St.dat", {"新宿,東経,35.6,中央線"}}}, "St.dat", 1, "経度"},
        {"PL key not in L", {{"PL.dat", {"A", "Z"}}}, "PL.dat", 2, "Z"},
        // Values that read as numbers but stand nowhere on the globe: drawn, they would
        // put pixels billions of canvas widths away.
        {"latitude beyond the pole",
         {{"L.dat", {"A,35 139 35.1 139.1", "B,95 139 35 139"}}},
         "L.dat",
         2,
         "緯度"},
        {"infinite longitude", {{"L_rr.dat", {"R,35 inf 35 139,11"}}}, "L_rr.dat", 1, "経度"},
        {"NaN latitude", {{"L_st.dat", {"P,nan 139 35 139,甲"}}}, "L_st.dat", 1, "緯度"},
        {"NEWS east beyond 180", {{"NEWS.dat", {"139", "1e300", "35", "36"}}}, "NEWS.dat", 2, "経度の範囲"},
        {"NEWS south NaN", {{"NEWS.dat", {"139", "140", "nan", "36"}}}, "NEWS.dat", 3, "緯度の範囲"},
        {"label latitude", {{"St.dat", {"新宿,139.7,1e9,中央線"}}}, "St.dat", 1, "緯度"},
        {"label longitude", {{"St.dat", {"新宿,-inf,35.6,中央線"}}}, "St.dat", 1, "経度"},
    };
    for (const Fault& f : faults) {
        SCOPED_TRACE(f.what);
        MapFolder folder(f.files);
        try {
            folder.load();
            ADD_FAILURE() << "no error";
        } catch (const DataError& e) {
            EXPECT_EQ(e.file(), std::string("MapData/試験県/") + f.file);
            EXPECT_EQ(e.line(), f.line);
            EXPECT_NE(std::string(e.what()).find(f.says), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("試験県"), std::string::npos);
        }
    }
}

TEST(MapDataTest, FilesGivenFromMemoryReadAsFromTheFolder) {
    const std::string dir = kFixtures + "東京都/";
    std::string withheld;
    const MapFileSource files = [&](const char* file) -> std::optional<std::string> {
        if (file == withheld) return std::nullopt;
        return readFileBytes(dir + file);
    };
    const MapData a = データ読込(kFixtures, "東京都");
    const MapData b = データ読込(files, "東京都");
    EXPECT_EQ(b.prefLineOnly, a.prefLineOnly);
    EXPECT_EQ(b.line, a.line);
    EXPECT_EQ(b.boundW, a.boundW);
    EXPECT_EQ(b.boundN, a.boundN);
    ASSERT_EQ(b.lineSt.size(), a.lineSt.size());
    EXPECT_EQ(b.lineSt[1].points, a.lineSt[1].points);
    EXPECT_EQ(b.sameStation.size(), a.sameStation.size());
    // A file the source does not have is missing, and named as in the folder.
    for (const char* file : kMapFiles) {
        SCOPED_TRACE(file);
        withheld = file;
        try {
            データ読込(files, "東京都");
            ADD_FAILURE() << "no error";
        } catch (const DataError& e) {
            EXPECT_EQ(e.file(), std::string("MapData/東京都/") + file);
            EXPECT_EQ(e.line(), 0);
        }
    }
}

TEST(MapDataTest, AFileThatIsNotShiftJisIsAFault) {
    MapFolder folder({});
    writeBytesAtomic(folder.dir() + "試験県/St.dat", "\x81\x20,139,35,x\r\n");
    try {
        folder.load();
        FAIL() << "no error";
    } catch (const DataError& e) {
        EXPECT_EQ(e.line(), 1);
    }
}

}  // namespace
}  // namespace kisharin

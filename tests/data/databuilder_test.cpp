// The data builder: its JSON reader, its text fitting, train descriptors, and the
// network it builds from small hand-made open data and from the real one.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "board/station_file.h"
#include "databuilder/game_files.h"
#include "databuilder/game_text.h"
#include "databuilder/json_reader.h"
#include "databuilder/network.h"
#include "databuilder/open_data.h"
#include "databuilder/train_descriptor.h"
#include "platform/encoding.h"
#include "platform/text_file.h"
#include "state/error.h"
#include "state/railway.h"

namespace kisharin::databuilder {
namespace {

namespace fs = std::filesystem;

TEST(JsonReader, ReadsEscapedNamesAndTreatsNullMembersAsMissing) {
    const Json v = parseJson(R"({"a": [1, -2.5e1, true], "s": "\u99c5\n\ud842\udfb7\"x\"", "n": null})", "t");
    ASSERT_NE(findMember(v, "a"), nullptr);
    EXPECT_EQ((*findMember(v, "a"))[1].get<double>(), -25.0);
    EXPECT_EQ(findMember(v, "s")->get<std::string>(), "駅\n𠮷\"x\"");
    EXPECT_EQ(findMember(v, "n"), nullptr);
    EXPECT_EQ(findMember(v, "missing"), nullptr);
    EXPECT_EQ(findMember(*findMember(v, "a"), "s"), nullptr);  // an array has no members
}

TEST(JsonReader, ReportsTheLineOfAFault) {
    for (const char* bad :
         {"{\n\"a\": 1,\n\"b\" 2}", "[1,\n2,\n\"open", "{\"a\":1}\n\nx", "[\"\\q\"]", "[1,,2]"}) {
        try {
            parseJson(bad, "line/1.json");
            ADD_FAILURE() << "accepted: " << bad;
        } catch (const DataError& e) {
            EXPECT_EQ(e.file(), "line/1.json");
            EXPECT_GE(e.line(), 1);
        }
    }
    auto lineOf = [](const char* text) {
        try {
            parseJson(text, "x");
        } catch (const DataError& e) {
            return e.line();
        }
        return 0;
    };
    EXPECT_EQ(lineOf("{\n\"a\": 1,\n\"b\" 2}"), 3);
    EXPECT_EQ(lineOf("{\"a\":1}\n\nx"), 3);
    EXPECT_EQ(lineOf("[1,\n2,\n\"open"), 3);
    EXPECT_EQ(lineOf("[1,2]"), 0);
}

TEST(LineJson, LeavesOutClosedLinesAndStationsAndReadsColours) {
    const std::string open =
        R"J({"code":7,"name":"テスト線","name_kana":"てすとせん","company_code":2,"color":"#12AbFF",
      "closed":false,"station_list":[
        {"id":1,"code":70,"name":"甲(東京)","original_name":"甲","name_kana":"こう","closed":false,"lat":35.0,"lng":139.0,"prefecture":13},
        {"id":2,"code":71,"name":"乙","original_name":"乙","name_kana":"おつ","closed":true,"lat":35.1,"lng":139.0,"prefecture":13}]})J";
    const auto line = parseLineJson(open, "line/7.json");
    ASSERT_TRUE(line);
    EXPECT_EQ(line->code, 7);
    EXPECT_EQ(line->company, 2);
    ASSERT_TRUE(line->color);
    EXPECT_EQ(*line->color, (Rgb{0x12, 0xAB, 0xFF}));
    ASSERT_EQ(line->stations.size(), 1u);
    EXPECT_EQ(line->stations[0].name, "甲(東京)");
    EXPECT_EQ(line->stations[0].originalName, "甲");

    EXPECT_FALSE(parseLineJson(R"({"code":8,"name":"廃線","closed":true,"station_list":[]})", "line/8.json"));
    EXPECT_THROW(
        parseLineJson(
            R"({"code":9,"name":"x","name_kana":"x","color":"red","closed":false,"station_list":[]})",
            "line/9.json"),
        DataError);
    EXPECT_THROW(
        parseLineJson(R"({"code":9,"name_kana":"x","closed":false,"station_list":[]})", "line/9.json"),
        DataError);
}

TEST(GameText, MapsCharactersOutsideCp932ToTheirNearestEquivalent) {
    int mapped = 0;
    EXPECT_EQ(toCp932Text("森鷗外", &mapped), "森鴎外");
    EXPECT_EQ(toCp932Text("𠮷野", &mapped), "吉野");
    EXPECT_EQ(toCp932Text("Café", &mapped), "Cafe");
    EXPECT_EQ(toCp932Text("A–B", &mapped), "A－B");
    EXPECT_EQ(mapped, 4);
    EXPECT_EQ(toCp932Text("駅🚃", &mapped), "駅〓");
    EXPECT_EQ(mapped, 5);
    EXPECT_EQ(toCp932Text("JR東北本線(黒磯～盛岡)①", &mapped), "JR東北本線(黒磯～盛岡)①");
    EXPECT_EQ(mapped, 5);
    EXPECT_TRUE(representableInCp932(toCp932Text("髙﨑〜鷗", nullptr)));
}

TEST(GameText, TurnsKatakanaIntoHiragana) {
    EXPECT_EQ(toHiragana("ケーブルカー(ヴ)"), "けーぶるかー(ゔ)");
    EXPECT_EQ(toHiragana("とうきょう"), "とうきょう");
}

TEST(TrainDescriptor, PicturesByKindOfLine) {
    const Company jr{"JR東日本", 1}, metro{"東京メトロ", 2}, other{"名古屋ガイドウェイバス", 0};
    auto pic = [](const char* name, const Company* c) {
        OpenLine l;
        l.name = name;
        return trainPicture(l, c);
    };
    EXPECT_EQ(pic("東北新幹線", &jr), kShinkansen);
    EXPECT_EQ(pic("JR東海道本線(東京～熱海)", &jr), kMainLine);
    EXPECT_EQ(pic("JR山手線", &jr), kCommuter);
    EXPECT_EQ(pic("京成本線", nullptr), kCommuter);
    EXPECT_EQ(pic("東京メトロ副都心線", &metro), kSubway);
    EXPECT_EQ(pic("都営浅草線", nullptr), kSubway);
    EXPECT_EQ(pic("都営都電荒川線", nullptr), kTram);
    EXPECT_EQ(pic("広電２系統(宮島線)", nullptr), kTram);
    EXPECT_EQ(pic("OsakaMetro南港ポートタウン線", nullptr), kMonorail);
    EXPECT_EQ(pic("ゆいレール", nullptr), kMonorail);
    EXPECT_EQ(pic("南海高野山ケーブル", nullptr), kMountain);
    EXPECT_EQ(pic("ゆとりーとライン", &other), kOtherTrain);
}

TEST(TrainDescriptor, FourColoursFromTheLineColourAndTheLineFlag) {
    EXPECT_EQ(trainDescriptor(kSubway, Rgb{200, 100, 0}),
              "4\\120;60;24\\200;100;24\\228;178;128\\247;232;217\\2");
    EXPECT_EQ(trainDescriptor(kCommuter, Rgb{0, 0, 0}).substr(0, 14), "3\\24;24;24\\24;");
    EXPECT_EQ(trainDescriptor(kCommuter, Rgb{0, 0, 0}).back(), '1');
    EXPECT_EQ(trainDescriptor(kShinkansen, Rgb{0, 0, 255}).back(), '0');
    OpenLine colourless;
    colourless.code = 11327;
    colourless.company = 3;  // JR東海
    EXPECT_EQ(lineColor(colourless), (Rgb{240, 130, 0}));
    colourless.company = 40;
    EXPECT_EQ(lineColor(colourless), lineColor(colourless));
    colourless.color = Rgb{1, 2, 3};
    EXPECT_EQ(lineColor(colourless), (Rgb{1, 2, 3}));
}

TEST(Distance, OneDegreeOfLatitudeIsAbout111Kilometres) {
    EXPECT_NEAR(distanceMetres(35, 139, 36, 139), 111195, 50);
    EXPECT_NEAR(distanceMetres(35, 139, 35, 139), 0, 1e-9);
}

// ---- The network from small open data ------------------------------------------

OpenStation station(int id, const std::string& name, double lat, double lng = 139.0, int pref = 13) {
    return OpenStation{id, name, name, "", lat, lng, pref};
}

OpenData smallData() {
    OpenData o;
    o.prefectures = {{1, "北海道"}, {13, "東京都"}, {47, "沖縄県"}};
    o.companies = {{2, Company{"JR東日本", 1}}, {99, Company{"沖縄都市モノレール", 0}}};
    OpenLine a{10, "A線", "えーせん", 2, Rgb{0, 128, 0}, {}};
    a.stations = {station(1, "東", 35.0), station(2, "中", 35.01), station(3, "西", 35.02)};
    a.stations[0].kana = "ヒガシ";
    OpenLine b{20, "B線", "びーせん", 2, std::nullopt, {}};
    // 中 again (same id), then a station 250 m from 西, then one 400 m from 東.
    b.stations = {station(2, "中", 35.01), station(4, "北", 35.02 + 250.0 / 111195),
                  station(5, "南", 35.0 - 400.0 / 111195)};
    OpenLine c{30, "C線", "しーせん", 99, std::nullopt, {}};
    c.stations = {station(6, "那覇空港", 26.2, 127.65, 47), station(7, "首里", 26.22, 127.72, 47)};
    OpenLine h{5, "H線", "えいちせん", 2, std::nullopt, {}};
    h.stations = {station(8, "札幌", 43.0, 141.3, 1), station(9, "新千歳空港", 42.8, 141.7, 1)};
    o.lines = {h, a, b, c};
    o.airports = {Airport{"那覇空港", "なはくうこう", "沖縄県", "那覇", {"那覇空港"}, 2},
                  Airport{"新千歳空港", "しんちとせくうこう", "北海道", "新千歳", {"新千歳空港"}, 3},
                  Airport{"羽田空港", "はねだくうこう", "東京都", "羽田", {"東"}, 4}};
    o.airRoutes = {AirRoute{{"羽田空港", "那覇空港"}, 2}, AirRoute{{"羽田空港", "新千歳空港"}, 3}};
    o.raceCourses = {RaceCourse{"競馬", "中", 2}};
    return o;
}

std::vector<Link> linksAt(const RailwayData& d, int line, int pos) {
    return parseLinks(d.ekiLink(line, pos));
}

TEST(Network, NumbersLinesByRegionThenPutsTheAirRoutesLast) {
    const Network n = buildNetwork(smallData());
    const RailwayData& d = n.data;
    ASSERT_EQ(lineCount(d), 6);
    EXPECT_EQ(d.ekiName(1, 0), "H線");  // 北海道
    EXPECT_EQ(d.ekiName(2, 0), "A線");  // 関東, JR, えーせん before びーせん
    EXPECT_EQ(d.ekiName(3, 0), "B線");
    EXPECT_EQ(d.ekiName(4, 0), "C線");  // 九州・沖縄
    EXPECT_EQ(d.ekiName(5, 0), "飛行機（羽田～那覇）");
    EXPECT_EQ(d.ekiYomi(5, 0), "ひこうき（はねだくうこう～なはくうこう）");
    EXPECT_EQ(d.ekiPref(5, 0), "");
    EXPECT_EQ(d.ekiPref(5, 2), "沖縄県");
    EXPECT_EQ(d.ekiYomi(2, 1), "ひがし");  // katakana readings become hiragana
    EXPECT_EQ(d.ekiYomi(2, 2), "中");      // an empty reading falls back to the name
    EXPECT_EQ(n.stats.railwayLines, 4);
    EXPECT_EQ(n.stats.airRoutes, 2);
}

TEST(Network, LinksTheSameStationNearbyStationsAndAirportsBothWays) {
    const Network n = buildNetwork(smallData());
    const RailwayData& d = n.data;
    // 中: A線 2 and B線 1.
    EXPECT_EQ(linksAt(d, 2, 2), (std::vector<Link>{{3, 1}}));
    // 西 (A線 3) and 北 (B線 2) are 250 m apart; 東 and 南 (400 m) are not linked to each other.
    EXPECT_EQ(linksAt(d, 3, 2), (std::vector<Link>{{2, 3}}));
    EXPECT_EQ(linksAt(d, 2, 3), (std::vector<Link>{{3, 2}}));
    EXPECT_TRUE(linksAt(d, 3, 3).empty());
    // 羽田空港 on both routes, linked with each other and with 東 (A線 1).
    EXPECT_EQ(linksAt(d, 5, 1), (std::vector<Link>{{2, 1}, {6, 1}}));
    EXPECT_EQ(linksAt(d, 2, 1), (std::vector<Link>{{5, 1}, {6, 1}}));
    EXPECT_EQ(linksAt(d, 4, 1), (std::vector<Link>{{5, 2}}));  // 那覇空港 station
    EXPECT_EQ(n.stats.sameStationLinks, 1);
    EXPECT_EQ(n.stats.walkingLinks, 1);
    EXPECT_EQ(n.stats.sameAirportLinks, 1);
    EXPECT_EQ(n.stats.airportRailLinks, 4);  // 羽田 twice, 那覇, 新千歳
    // The race-course marker sits on 中 on both lines.
    EXPECT_EQ(d.ekiMark(2, 2), "競馬");
    EXPECT_EQ(d.ekiMark(3, 1), "競馬");
    EXPECT_EQ(n.stats.markers, 2);
}

TEST(Network, RefusesGameTablesNamingUnknownStationsOrAirports) {
    OpenData o = smallData();
    o.raceCourses.push_back(RaceCourse{"競輪", "どこにもない駅", 7});
    try {
        buildNetwork(o);
        FAIL();
    } catch (const DataError& e) {
        EXPECT_EQ(e.file(), "race_courses.tsv");
        EXPECT_EQ(e.line(), 7);
    }
    o = smallData();
    o.raceCourses[0].marker = "競泳";
    EXPECT_THROW(buildNetwork(o), DataError);
    o = smallData();
    o.airRoutes.push_back(AirRoute{{"羽田空港", "伊丹空港"}, 5});
    EXPECT_THROW(buildNetwork(o), DataError);
    o = smallData();
    o.airports[2].stations = {"ない駅"};
    EXPECT_THROW(buildNetwork(o), DataError);
    o = smallData();
    o.prefectures[13] = "東京県";
    EXPECT_THROW(buildNetwork(o), DataError);
}

TEST(Network, RefusesANetworkThatFallsApart) {
    OpenData o = smallData();
    o.airRoutes.pop_back();  // nothing reaches H線 any more
    try {
        buildNetwork(o);
        FAIL();
    } catch (const GameError& e) {
        EXPECT_NE(std::string(e.what()).find("H線"), std::string::npos) << e.what();
    }
}

TEST(Network, CutsALineLongerThanTheTableIntoLinkedSections) {
    OpenData o = smallData();
    OpenLine& longLine = o.lines[1];  // A線
    longLine.stations.clear();
    for (int i = 0; i < 150; ++i)
        longLine.stations.push_back(station(1000 + i, "駅" + std::to_string(i), 30.0 + i * 0.01));
    longLine.stations[0] = station(1, "東", 35.0);  // keeps the airport link
    o.lines[2].stations[0] = station(1001, "駅1", 30.01);
    o.raceCourses[0].station = "駅1";
    const Network n = buildNetwork(o);
    const RailwayData& d = n.data;
    EXPECT_EQ(n.stats.splitLines, 1);
    EXPECT_EQ(d.ekiName(2, 0), "A線その1");
    EXPECT_EQ(d.ekiName(3, 0), "A線その2");
    EXPECT_EQ(stationCount(d, 2) + stationCount(d, 3), 151);
    EXPECT_LE(stationCount(d, 2), 100);
    const int last = stationCount(d, 2);
    EXPECT_EQ(d.ekiName(2, last), d.ekiName(3, 1));
    const auto cut = linksAt(d, 2, last);
    EXPECT_NE(std::find(cut.begin(), cut.end(), Link{3, 1}), cut.end());
}

TEST(Network, CutsALineWithMoreLinksThanTheBoardShowsWithoutLosingAConnection) {
    // A line of 20 stations crossed by 160 short lines, 8 at each station.
    OpenData o;
    o.prefectures = {{13, "東京都"}};
    o.companies = {{2, Company{"JR東日本", 1}}};
    OpenLine main{1, "本線", "ほんせん", 2, std::nullopt, {}};
    for (int j = 0; j < 20; ++j)
        main.stations.push_back(station(1000 + j, "本" + std::to_string(j), 35.0 + j * 0.01));
    o.lines.push_back(main);
    for (int i = 0; i < 160; ++i) {
        OpenLine branch{100 + i, "支線" + std::to_string(i), "しせん", 2, std::nullopt, {}};
        branch.stations = {main.stations[static_cast<size_t>(i % 20)],
                           station(5000 + i, "支" + std::to_string(i), 40.0 + i * 0.01)};
        o.lines.push_back(branch);
    }
    const Network n = buildNetwork(o);
    const RailwayData& d = n.data;
    // Every line stays within the board's transfer labels.
    std::map<std::string, std::set<std::string>> reached;  // branch -> main stations it meets
    std::set<std::string> mainStations;
    for (int line = 1; line <= lineCount(d); ++line) {
        size_t links = 0;
        for (int pos = 1; pos <= stationCount(d, line); ++pos) {
            const auto here = linksAt(d, line, pos);
            links += here.size();
            const std::string& name = d.ekiName(line, 0);
            if (name.rfind("本線", 0) == 0) mainStations.insert(d.ekiName(line, pos));
            for (const Link& l : here)
                if (d.ekiName(l.line, 0).rfind("本線", 0) == 0 && name.rfind("支線", 0) == 0)
                    reached[name].insert(d.ekiName(l.line, l.pos));
        }
        EXPECT_LE(links, static_cast<size_t>(kMaxTransferLabels)) << d.ekiName(line, 0);
    }
    int sections = 0;
    for (int line = 1; line <= lineCount(d); ++line) sections += d.ekiName(line, 0).rfind("本線その", 0) == 0;
    EXPECT_GE(sections, 2);
    EXPECT_GE(n.stats.splitLines, 1);
    EXPECT_EQ(mainStations.size(), 20u);  // no station dropped by the cut
    // Every short line still meets the main line at its own station.
    ASSERT_EQ(reached.size(), 160u);
    for (int i = 0; i < 160; ++i)
        EXPECT_EQ(reached["支線" + std::to_string(i)], std::set<std::string>{"本" + std::to_string(i % 20)})
            << i;
}

// ---- The real open data ----------------------------------------------------------

class BuildFolders : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::path(KISHARIN_TEST_BINARY_DIR) / "databuilder_test";
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    void TearDown() override { fs::remove_all(root_); }
    fs::path root_;
};

TEST_F(BuildFolders, BuildingTwiceGivesTheSameBytesAsTheShippedData) {
    const std::vector<std::string> files = {"駅.txt", "NameData.txt", "URL.txt", "履歴0.txt", "履歴1.txt"};
    for (const char* run : {"one", "two"}) {
        const OpenData open = readOpenData(KISHARIN_OPENDATA_DIR);
        writeGameData(buildNetwork(open), (root_ / run).string());
    }
    for (const auto& f : files) {
        const std::string one = readFileBytes((root_ / "one" / "GameData" / f).string());
        EXPECT_EQ(one, readFileBytes((root_ / "two" / "GameData" / f).string())) << f;
        EXPECT_EQ(one, readFileBytes(std::string(KISHARIN_SHIPPED_DATA_DIR) + "/GameData/" + f))
            << f << " is out of date: run make data";
    }
}

TEST(OpenDataFolder, MissingFilesAreReportedByName) {
    try {
        readOpenData("/nonexistent-kisharin-opendata");
        FAIL();
    } catch (const DataError& e) {
        EXPECT_NE(e.file().find("line"), std::string::npos);
    }
}

}  // namespace
}  // namespace kisharin::databuilder

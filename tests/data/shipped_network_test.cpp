// The railway network the game ships, read with the game's own reader.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>

#include "board/station_file.h"
#include "platform/encoding.h"
#include "platform/text_file.h"
#include "state/railway.h"
#include "state/regions.h"

namespace kisharin {
namespace {

const std::string kGameData = std::string(KISHARIN_SHIPPED_DATA_DIR) + "/GameData/";

bool isAir(const RailwayData& d, int line) {
    return d.ekiName(line, 0).find("飛行機") != std::string::npos;
}

class ShippedNetwork : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        data_ = new RailwayData(readStationFile(kGameData + "駅.txt"));
        regions_ = new GameState;
        buildRegionTables(*regions_);
    }
    static void TearDownTestSuite() {
        delete data_;
        delete regions_;
    }
    static const RailwayData& d() { return *data_; }
    static int lines() { return lineCount(*data_); }

    static RailwayData* data_;
    static GameState* regions_;
};
RailwayData* ShippedNetwork::data_ = nullptr;
GameState* ShippedNetwork::regions_ = nullptr;

TEST_F(ShippedNetwork, HoldsTheWholeCountryWithinTheTables) {
    int railwayLines = 0, railwayStations = 0;
    for (int l = 1; l <= lines(); ++l) {
        const int n = stationCount(d(), l);
        EXPECT_GE(n, isAir(d(), l) ? 2 : 1) << d().ekiName(l, 0);
        EXPECT_LE(n, kMaxPosition);
        EXPECT_EQ(d().ekiLink(l, 0), std::to_string(l));
        // Nothing lies beyond the last station in any table.
        for (int p = n + 1; p <= kMaxPosition; ++p) {
            EXPECT_EQ(d().ekiYomi(l, p), "") << l << " " << p;
            EXPECT_EQ(d().ekiPref(l, p), "") << l << " " << p;
            EXPECT_EQ(d().ekiLink(l, p), "") << l << " " << p;
            EXPECT_EQ(d().ekiMark(l, p), "") << l << " " << p;
        }
        if (!isAir(d(), l)) {
            ++railwayLines;
            railwayStations += n;
        }
    }
    EXPECT_LE(lines(), kMaxLine);
    EXPECT_GE(railwayLines, 590);
    EXPECT_GE(railwayStations, 8900);
    for (int l = lines() + 1; l <= kMaxLine; ++l) EXPECT_EQ(d().ekiName(l, 1), "") << l;
}

TEST_F(ShippedNetwork, FileIsCrLfWithAHeaderAndFiveLinesALine) {
    const std::string bytes = readFileBytes(kGameData + "駅.txt");
    size_t crlf = 0;
    for (size_t i = 0; i < bytes.size(); ++i)
        if (bytes[i] == '\n') {
            ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "bare LF at byte " << i;
            ++crlf;
        }
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    EXPECT_EQ(crlf, 1 + 5 * static_cast<size_t>(lines()));
    EXPECT_TRUE(cp932ToUtf8(bytes).has_value());
}

TEST_F(ShippedNetwork, LinksAreSymmetricAndPointAtStationsOfOtherLines) {
    for (int l = 1; l <= lines(); ++l)
        for (int p = 1; p <= stationCount(d(), l); ++p) {
            const std::string& text = d().ekiLink(l, p);
            const auto links = parseLinks(text);
            // Every entry parsed: no entry was dropped as malformed.
            const size_t entries =
                text.empty() ? 0 : 1 + static_cast<size_t>(std::count(text.begin(), text.end(), ';'));
            ASSERT_EQ(links.size(), entries) << l << " " << p << " " << text;
            std::set<std::pair<int, int>> seen;
            for (const Link& k : links) {
                ASSERT_TRUE(isStation(d(), k.line, k.pos))
                    << l << " " << p << " -> " << k.line << " " << k.pos;
                EXPECT_NE(k.line, l) << "link to its own line at " << l << " " << p;
                EXPECT_TRUE(seen.insert({k.line, k.pos}).second) << "twice: " << text;
                const auto back = parseLinks(d().ekiLink(k.line, k.pos));
                EXPECT_NE(std::find(back.begin(), back.end(), Link{l, p}), back.end())
                    << k.line << " " << k.pos << " does not link back to " << l << " " << p;
            }
        }
}

TEST_F(ShippedNetwork, EveryStationReachesEveryOther) {
    std::map<std::pair<int, int>, bool> seen;
    std::vector<std::pair<int, int>> todo{{1, 1}};
    seen[{1, 1}] = true;
    auto visit = [&](int l, int p) {
        if (!seen[{l, p}]) {
            seen[{l, p}] = true;
            todo.emplace_back(l, p);
        }
    };
    while (!todo.empty()) {
        const auto [l, p] = todo.back();
        todo.pop_back();
        if (p > 1) visit(l, p - 1);
        if (p < stationCount(d(), l)) visit(l, p + 1);
        for (const Link& k : parseLinks(d().ekiLink(l, p))) visit(k.line, k.pos);
    }
    for (int l = 1; l <= lines(); ++l)
        for (int p = 1; p <= stationCount(d(), l); ++p)
            ASSERT_TRUE((seen[{l, p}]))
                << d().ekiName(l, 0) << " " << d().ekiName(l, p) << " cannot be reached";
}

TEST_F(ShippedNetwork, EveryRegionAndPrefectureHasStationsSpelledAsInTheRegionTable) {
    std::map<std::string, int> perPref;
    std::set<int> regions;
    for (int l = 1; l <= lines(); ++l)
        for (int p = 1; p <= stationCount(d(), l); ++p) {
            const std::string& pref = d().ekiPref(l, p);
            const int r = regionOf(*regions_, pref);
            ASSERT_NE(r, 0) << "「" << pref << "」 at " << d().ekiName(l, p);
            ++perPref[pref];
            regions.insert(r);
        }
    for (const std::string& pref : allPrefectures(*regions_)) EXPECT_GT(perPref[pref], 0) << pref;
    EXPECT_EQ(regions.size(), 8u);
}

TEST_F(ShippedNetwork, LinesRunFromNorthToSouthThenAirRoutes) {
    // Lines are grouped by region 1..8; a line's region is where most of its stations lie.
    int lastRegion = 1;
    bool air = false;
    for (int l = 1; l <= lines(); ++l) {
        if (isAir(d(), l)) {
            air = true;
            continue;
        }
        ASSERT_FALSE(air) << "railway line after the air routes: " << d().ekiName(l, 0);
        std::map<int, int> count;
        for (int p = 1; p <= stationCount(d(), l); ++p) ++count[regionOf(*regions_, d().ekiPref(l, p))];
        int region = 0, most = 0;
        for (const auto& [r, c] : count) {
            if (c > most) region = r, most = c;
        }
        EXPECT_GE(region, lastRegion) << d().ekiName(l, 0);
        lastRegion = region;
    }
    EXPECT_TRUE(air);
}

TEST_F(ShippedNetwork, RailwayLinesCarryAWellFormedTrainDescriptor) {
    const std::regex form(R"(([1-8])(\\(\d{1,3});(\d{1,3});(\d{1,3})){4}\\([012]))");
    std::set<std::string> pictures;
    for (int l = 1; l <= lines(); ++l) {
        const std::string& desc = d().ekiPref(l, 0);
        if (isAir(d(), l)) {
            EXPECT_EQ(desc, "") << d().ekiName(l, 0);
            continue;
        }
        std::smatch m;
        ASSERT_TRUE(std::regex_match(desc, m, form)) << d().ekiName(l, 0) << ": " << desc;
        const std::regex number(R"(\d+)");
        for (auto it = std::sregex_iterator(desc.begin(), desc.end(), number); it != std::sregex_iterator();
             ++it)
            EXPECT_LE(std::stoi(it->str()), 255) << desc;
        const std::string picture = m[1].str(), flag = m[m.size() - 1].str();
        pictures.insert(picture);
        const bool shinkansen = d().ekiName(l, 0).find("新幹線") != std::string::npos;
        EXPECT_EQ(picture == "1", shinkansen) << d().ekiName(l, 0);
        EXPECT_EQ(flag == "2", picture == "4") << d().ekiName(l, 0) << " " << desc;
    }
    EXPECT_EQ(pictures.size(), 8u) << "every train picture is used";
}

TEST_F(ShippedNetwork, AirRoutesJoinAirportsToTheRailways) {
    int routes = 0;
    for (int l = 1; l <= lines(); ++l) {
        if (!isAir(d(), l)) continue;
        ++routes;
        for (int p = 1; p <= stationCount(d(), l); ++p) {
            EXPECT_NE(d().ekiName(l, p).find("空港"), std::string::npos);
            bool toRail = false;
            for (const Link& k : parseLinks(d().ekiLink(l, p))) toRail = toRail || !isAir(d(), k.line);
            EXPECT_TRUE(toRail) << d().ekiName(l, p) << " on " << d().ekiName(l, 0);
        }
    }
    EXPECT_GE(routes, 10);
}

TEST_F(ShippedNetwork, RaceCourseMarkersSitOnTheSameStationOnEveryLine) {
    std::map<std::string, int> kinds;
    for (int l = 1; l <= lines(); ++l)
        for (int p = 1; p <= stationCount(d(), l); ++p) {
            const std::string& mark = d().ekiMark(l, p);
            if (mark.empty()) continue;
            ASSERT_TRUE(mark == "競馬" || mark == "競艇" || mark == "競輪") << mark;
            ++kinds[mark];
            // The same station on another line (same name, reached by a link) has it too.
            for (const Link& k : parseLinks(d().ekiLink(l, p))) {
                if (d().ekiName(k.line, k.pos) == d().ekiName(l, p) &&
                    d().ekiPref(k.line, k.pos) == d().ekiPref(l, p)) {
                    EXPECT_EQ(d().ekiMark(k.line, k.pos), mark)
                        << d().ekiName(l, p) << " on " << d().ekiName(k.line, 0);
                }
            }
        }
    EXPECT_GT(kinds["競馬"], 0);
    EXPECT_GT(kinds["競艇"], 0);
    EXPECT_GT(kinds["競輪"], 0);
    for (int l = 1; l <= lines(); ++l) EXPECT_EQ(d().ekiMark(l, 0), "");
}

TEST_F(ShippedNetwork, ReadingsAreNeverEmptyAndWrittenInHiragana) {
    for (int l = 1; l <= lines(); ++l)
        for (int p = 0; p <= stationCount(d(), l); ++p) {
            const std::string& y = d().ekiYomi(l, p);
            ASSERT_FALSE(y.empty()) << d().ekiName(l, p);
            // No katakana other than the long-vowel mark (U+30A1..U+30F6 are E3 82 A1..E3 83 B6).
            for (size_t i = 0; i + 2 < y.size(); ++i) {
                const auto b0 = static_cast<unsigned char>(y[i]), b1 = static_cast<unsigned char>(y[i + 1]),
                           b2 = static_cast<unsigned char>(y[i + 2]);
                const bool katakana =
                    b0 == 0xE3 && ((b1 == 0x82 && b2 >= 0xA1) || (b1 == 0x83 && b2 <= 0xB6));
                ASSERT_FALSE(katakana) << y;
            }
        }
}

TEST(ShippedPlayerFiles, HoldTheFirstSettingsAndEmptyHistories) {
    const std::vector<std::string> name = readLines(kGameData + "NameData.txt");
    ASSERT_EQ(name.size(), 6u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_GE(charCount(name[static_cast<size_t>(i)]), 1);
        EXPECT_LE(charCount(name[static_cast<size_t>(i)]), 3);
    }
    // Man, short mode Off, voice On, whole country; numbers with a blank either side.
    EXPECT_EQ(name[2], " 0 ");
    EXPECT_EQ(name[3], " 1 ");
    EXPECT_EQ(name[4], " 0 ");
    EXPECT_EQ(name[5], " 0 ");
    const std::string bytes = readFileBytes(kGameData + "NameData.txt");
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 6);
    EXPECT_EQ(bytes.find(" 0 \r\n 1 \r\n 0 \r\n 0 \r\n"), bytes.size() - 20);

    const std::string url = readFileBytes(kGameData + "URL.txt");
    EXPECT_EQ(url.rfind("https://", 0), 0u);
    EXPECT_EQ(url.find("\r\n"), url.size() - 2);
    EXPECT_EQ(readFileBytes(kGameData + "履歴0.txt"), "");
    EXPECT_EQ(readFileBytes(kGameData + "履歴1.txt"), "");
}

}  // namespace
}  // namespace kisharin

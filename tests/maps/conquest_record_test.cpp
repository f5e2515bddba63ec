// The conquest record counted from histories written by hand.
#include <gtest/gtest.h>

#include "maps/conquest_record.h"
#include "platform/text_file.h"
#include "support/fakes.h"
#include "support/railway_builder.h"

namespace kisharin {
namespace {

using testing::ScratchDir;
using testing::TestLine;

// 品川 lies on two lines; the air route has stations in two prefectures; C線 has one
// station.
RailwayData handRailway() {
    TestLine a{"A線", {"東京", "品川", "横浜"}, {"東京都", "東京都", "神奈川県"}, {"", "2\\1"}};
    TestLine b{"B線", {"品川", "大崎"}, {"東京都"}, {"1\\2"}};
    TestLine air{"飛行機 羽田-千歳", {"羽田空港", "新千歳空港"}, {"東京都", "北海道"}};
    TestLine c{"C線", {"小樽"}, {"北海道"}};
    return testing::makeRailway({a, b, air, c});
}

struct HandRecord {
    ScratchDir dir;
    ConquestInputs in;
    ConquestRecord r;
    HandRecord(const std::string& history0, const std::string& history1) {
        writeBytesAtomic(dir.file("履歴0.txt"), history0);
        writeBytesAtomic(dir.file("履歴1.txt"), history1);
        in = readConquestHistories(handRailway(), dir.file("履歴"));
        r = conquestRecord(in.railway, in.visited[0], in.visited[1]);
    }
};

// Player 1: 品川 on A線, the whole air route, the one station of C線.
// Player 2: the whole of B線 (品川 and 大崎) and 東京 on A線.
const char* const kHistory0 = "1 2\r\n3 1\r\n3 2\r\n4 1\r\n";
const char* const kHistory1 = "2 1\r\n2 2\r\n1 1\r\n";

TEST(ConquestRecord, CountsStationsOncePerPrefectureAndLeavesAirRoutesOutOfTheLines) {
    HandRecord h(kHistory0, kHistory1);
    const ConquestRecord& r = h.r;
    EXPECT_TRUE(h.in.notices.empty());
    // 東京 品川 大崎 羽田空港 横浜 新千歳空港 小樽: 品川 counts once although on two lines.
    EXPECT_EQ(r.all.stations, (Tally{{4, 3, 6}, 7}));
    // A線, B線, C線 (the air route is no line to conquer): player 1 has C線 (its one
    // station), player 2 B線; together nobody has A線's 横浜.
    EXPECT_EQ(r.all.lines, (Tally{{1, 1, 2}, 3}));
    const PlaceFigures& tokyo = r.prefs[static_cast<size_t>(prefectureCode("東京都"))];
    EXPECT_EQ(tokyo.stations, (Tally{{2, 3, 4}, 4}));
    EXPECT_EQ(tokyo.lines, (Tally{{0, 1, 1}, 2}));
    const PlaceFigures& hokkaido = r.prefs[1];
    EXPECT_EQ(hokkaido.name, "北海道");
    EXPECT_EQ(hokkaido.stations, (Tally{{2, 0, 2}, 2}));
    EXPECT_EQ(hokkaido.lines, (Tally{{1, 0, 1}, 1}));
    EXPECT_EQ(r.regions[3].name, "関東地方");
    EXPECT_EQ(r.regions[3].stations, (Tally{{2, 3, 4}, 5}));
    EXPECT_EQ(r.regions[3].lines, (Tally{{0, 1, 1}, 2}));
    // A station reached on one line is reached: player 2 reached 品川 on B線 only.
    ASSERT_NE(r.station("東京都", "品川"), nullptr);
    EXPECT_EQ(r.station("東京都", "品川")->reached, (std::array<bool, 3>{true, true, true}));
    EXPECT_EQ(r.station("神奈川県", "横浜")->reached, (std::array<bool, 3>{false, false, false}));
    // The air route is complete for player 1 but not conquered.
    EXPECT_EQ(r.lines[2].visited[0], 2);
    EXPECT_FALSE(r.lines[2].conquered(0));
}

TEST(ConquestRecord, TabSeparatedRowsInTheirOrder) {
    HandRecord h(kHistory0, kHistory1);
    const std::string tsv = conquestTsv(h.r);
    std::vector<std::string> rows;
    for (size_t at = 0, nl; (nl = tsv.find('\n', at)) != std::string::npos; at = nl + 1)
        rows.push_back(tsv.substr(at, nl - at));
    ASSERT_EQ(rows.size(), 1u + 47 + 8 + 4 + 2);
    EXPECT_EQ(rows[0], "kind\tname\tplayer1\tplayer2\ttotal");
    EXPECT_EQ(rows[1], "prefecture\t北海道\t2\t0\t2");
    EXPECT_EQ(rows[13], "prefecture\t東京都\t2\t3\t4");
    EXPECT_EQ(rows[14], "prefecture\t神奈川県\t0\t0\t1");
    EXPECT_EQ(rows[47], "prefecture\t沖縄県\t0\t0\t0");
    EXPECT_EQ(rows[48], "region\t北海道地方\t2\t0\t2");
    EXPECT_EQ(rows[50], "region\t関東地方\t2\t3\t5");
    EXPECT_EQ(rows[56], "line\tA線\t1\t1\t3");
    EXPECT_EQ(rows[58], "line\t飛行機 羽田-千歳\t2\t0\t2");
    EXPECT_EQ(rows[59], "line\tC線\t1\t0\t1");
    EXPECT_EQ(rows[60], "all\tstations\t4\t3\t7");
    EXPECT_EQ(rows[61], "all\tconquered_lines\t1\t1\t3");
}

TEST(ConquestRecord, ADamagedHistoryIsReadAsFarAsItGoesAndNotRewritten) {
    // A bad line inside and a record cut short at the end, as a crash leaves it.
    const std::string damaged = "1 2\r\nx\r\n4 1\r\n3";
    HandRecord h(damaged, "");
    ASSERT_EQ(h.in.notices.size(), 2u);
    EXPECT_NE(h.in.notices[0].find("4行目"), std::string::npos) << h.in.notices[0];
    EXPECT_NE(h.in.notices[1].find("2行目"), std::string::npos) << h.in.notices[1];
    EXPECT_EQ(readFileBytes(h.dir.file("履歴0.txt")), damaged);  // the board repairs it, not the record
    EXPECT_EQ(h.r.all.stations.reached[0], 2);
}

TEST(ConquestRecord, LinesWithFewestStationsLeftComeFirstAndConqueredOnesLast) {
    HandRecord h(kHistory0, kHistory1);
    // Player 2: A線 has 2 left, the air route 2, C線 1; B線 is conquered.
    std::vector<std::string> names;
    for (const int i : lineOrder(h.r, 1, 0, 0)) names.push_back(h.r.lines[static_cast<size_t>(i)].name);
    EXPECT_EQ(names, (std::vector<std::string>{"C線", "A線", "飛行機 羽田-千歳", "B線"}));
    // Filtered to 北海道地方, then to 神奈川県.
    EXPECT_EQ(lineOrder(h.r, 1, 1, 0), (std::vector<int>{3, 2}));
    EXPECT_EQ(lineOrder(h.r, 1, 0, prefectureCode("神奈川県")), (std::vector<int>{0}));
}

TEST(ConquestRecord, ShareStepsKeepNothingApartFromAFew) {
    EXPECT_EQ(shareStep(0, 500), 0);
    EXPECT_EQ(shareStep(1, 500), 1);
    EXPECT_EQ(shareStep(250, 500), 3);
    EXPECT_EQ(shareStep(499, 500), 4);
    EXPECT_EQ(shareStep(500, 500), 5);
    EXPECT_EQ(shareStep(0, 0), -1);
}

}  // namespace
}  // namespace kisharin

#include "board/station_file.h"

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>

#include "platform/encoding.h"
#include "platform/text_file.h"
#include "state/railway.h"
#include "support/fakes.h"
#include "support/railway_builder.h"

namespace kisharin {
namespace {

std::string file(const std::vector<std::string>& lines) { return encodeLines(lines, "駅.txt"); }

// The file line number decides the table: 2 links, 3 names, 4 readings, 5 prefectures, 6 markers.
TEST(StationFile, FileLineNumbersModFiveChooseTheTable) {
    const RailwayData d = parseStationFile(file({
                                               "路線番号など（見出し）",
                                               "1\t\t2\\1",
                                               "山手線\t品川\t大崎",
                                               "やまのてせん\tしながわ\tおおさき",
                                               "3\\0\\128\\0\\0\\0\t東京都\t東京都",
                                               "\t\t競馬",
                                               "2\t1\\2",
                                               "りんかい線\t大崎",
                                               "りんかいせん\tおおさき",
                                               "4\\0\\0\\255\\2\\0\t東京都",
                                               "",
                                           }),
                                           "駅.txt");
    EXPECT_EQ(lineCount(d), 2);
    EXPECT_EQ(d.ekiLink(1, 0), "1");
    EXPECT_EQ(d.ekiLink(1, 1), "");
    EXPECT_EQ(d.ekiLink(1, 2), "2\\1");
    EXPECT_EQ(d.ekiName(1, 0), "山手線");
    EXPECT_EQ(d.ekiName(1, 2), "大崎");
    EXPECT_EQ(d.ekiYomi(1, 1), "しながわ");
    EXPECT_EQ(d.ekiPref(1, 0), "3\\0\\128\\0\\0\\0");
    EXPECT_EQ(d.ekiPref(2, 1), "東京都");
    EXPECT_EQ(d.ekiMark(1, 2), "競馬");
    EXPECT_EQ(d.ekiLink(2, 1), "1\\2");
    EXPECT_EQ(stationCount(d, 1), 2);
    EXPECT_EQ(stationCount(d, 2), 1);
}

TEST(StationFile, HeaderIsSkippedWhateverItHolds) {
    // Even bytes that are not CP932 and tabs.
    const std::string bytes = std::string("\x81\x20\tgarbage\r\n") + file({"7", "線"}).substr(0);
    const RailwayData d = parseStationFile(bytes, "駅.txt");
    EXPECT_EQ(d.ekiName(7, 0), "線");
    EXPECT_EQ(lineCount(parseStationFile(file({"only a header"}), "駅.txt")), 0);
    EXPECT_EQ(lineCount(parseStationFile("", "駅.txt")), 0);
}

TEST(StationFile, ALinkLineWithOnlyFieldZeroStillSetsTheLine) {
    const RailwayData d = parseStationFile(file({"h", "3", "三番線\tA\tB"}), "駅.txt");
    EXPECT_EQ(d.ekiName(3, 0), "三番線");
    EXPECT_EQ(d.ekiName(3, 2), "B");
}

TEST(StationFile, TrailingTabsMakeEmptyNamesThatEndTheLine) {
    const RailwayData d = parseStationFile(file({"h", "1", "線\tA\tB\t\t\t"}), "駅.txt");
    EXPECT_EQ(stationCount(d, 1), 2);
    EXPECT_EQ(d.ekiName(1, 3), "");
}

TEST(StationFile, ALaterRecordOverwritesOnlyTheFieldsItHas) {
    const RailwayData d =
        parseStationFile(file({"h", "1", "線\tA\tB\tC", "よみ", "p", "m", "1", "新線\tX"}), "駅.txt");
    EXPECT_EQ(d.ekiName(1, 0), "新線");
    EXPECT_EQ(d.ekiName(1, 1), "X");
    EXPECT_EQ(d.ekiName(1, 2), "B");
    EXPECT_EQ(d.ekiName(1, 3), "C");
    EXPECT_EQ(d.ekiYomi(1, 0), "よみ");
}

TEST(StationFile, FormatWritesWhatTheReaderReads) {
    const RailwayData d = testing::makeRailway({
        {"A線", {"a", "b", "c"}, {"東京都"}, {"2\\1", "", "2\\1"}, {"", "競輪"}},
        {"B線", {"x"}, {"大阪府"}, {"1\\1;1\\3"}},
    });
    const RailwayData back = parseStationFile(formatStationFile(d, "header"), "駅.txt");
    EXPECT_TRUE(d.ekiLink == back.ekiLink);
    EXPECT_TRUE(d.ekiName == back.ekiName);
    EXPECT_TRUE(d.ekiYomi == back.ekiYomi);
    EXPECT_TRUE(d.ekiPref == back.ekiPref);
    EXPECT_TRUE(d.ekiMark == back.ekiMark);
}

// Each kind of fault names the file, the line and what is wrong.
struct Fault {
    const char* label;
    std::string bytes;
    int line;
    const char* words;
};

// Shown by its label in test names and listings.
void PrintTo(const Fault& f, std::ostream* os) {
    *os << f.label;
}
std::string faultName(const ::testing::TestParamInfo<Fault>& info) {
    std::string name;
    bool upper = true;
    for (const char c : std::string(info.param.label)) {
        if (std::isalnum(static_cast<unsigned char>(c)) == 0) {
            upper = true;
            continue;
        }
        name += upper ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
        upper = false;
    }
    return name;
}

class StationFileFaults : public ::testing::TestWithParam<Fault> {};

TEST_P(StationFileFaults, AreReportedWithFileAndLine) {
    const Fault& f = GetParam();
    try {
        parseStationFile(f.bytes, "GameData/駅.txt");
        FAIL() << f.label << ": no error";
    } catch (const DataError& e) {
        EXPECT_EQ(e.file(), "GameData/駅.txt") << f.label;
        EXPECT_EQ(e.line(), f.line) << f.label;
        EXPECT_NE(std::string(e.what()).find(f.words), std::string::npos) << f.label << ": " << e.what();
        EXPECT_NE(std::string(e.what()).find("GameData/駅.txt"), std::string::npos);
    }
}

std::string tooManyFields() {
    std::string row = "線";
    for (int i = 0; i < 101; ++i) row += "\t駅";
    return file({"h", "1", row});
}

INSTANTIATE_TEST_SUITE_P(
    All, StationFileFaults,
    ::testing::Values(Fault{"not cp932", file({"h", "1"}) + "\x81\x20\r\n", 3, "Shift-JIS"},
                      Fault{"line number text", file({"h", "一"}), 2, "数字ではありません"},
                      Fault{"line number blank", file({"h", "1", "a", "b", "c", "d", ""}), 7,
                            "数字ではありません"},
                      Fault{"line beyond 750", file({"h", "751"}), 2, "範囲外"},
                      Fault{"line zero", file({"h", "0"}), 2, "範囲外"},
                      Fault{"too many fields", tooManyFields(), 3, "101 個まで"},
                      Fault{"link not numbers", file({"h", "1\tA\\1"}), 2, "形ではありません"},
                      Fault{"link position beyond 100", file({"h", "1\t2\\101"}), 2, "範囲外"},
                      Fault{"link line beyond 750", file({"h", "1\t2\\1;800\\1"}), 2, "範囲外"}),
    faultName);

TEST(StationFile, MissingFileIsReported) {
    testing::ScratchDir dir;
    try {
        readStationFile(dir.file("駅.txt"));
        FAIL();
    } catch (const DataError& e) {
        EXPECT_NE(std::string(e.what()).find("見つからない"), std::string::npos);
    }
}

}  // namespace
}  // namespace kisharin

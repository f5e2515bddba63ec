#include <gtest/gtest.h>

#include "board/history_file.h"
#include "platform/text_file.h"

namespace kisharin {
namespace {

TEST(History, EachLineMarksOneStation) {
    const HistoryParse r = parseHistory("12 5\r\n1 1\r\n\r\n750 100\r\n12 5\r\n0 0\r\n");
    const VisitedTable& t = r.visited;
    EXPECT_TRUE(t(12, 5));
    EXPECT_TRUE(t(1, 1));
    EXPECT_TRUE(t(750, 100));
    EXPECT_TRUE(t(0, 0));  // line and position 0 are within the table
    EXPECT_FALSE(t(5, 12));
    EXPECT_FALSE(t(12, 4));
    EXPECT_TRUE(r.problems.empty());
    EXPECT_EQ(r.cutLine, 0);
    EXPECT_EQ(historyRecord(12, 5), "12 5");
}

TEST(History, EmptyFileMarksNothing) {
    const HistoryParse r = parseHistory("");
    EXPECT_TRUE(r.visited == VisitedTable{});
    EXPECT_TRUE(r.problems.empty());
}

TEST(History, BadLinesAreReportedWithTheirNumberAndTheRestIsRead) {
    const std::pair<std::string, int> cases[] = {
        {"1 1\r\nabc\r\n", 2}, {"1 1\r\n2  3\r\n", 2}, {"12\r\n", 1},   {"1 2 3\r\n", 1},
        {"751 1\r\n", 1},      {"1 101\r\n", 1},       {"-1 5\r\n", 1}, {"1 1\r\n2 2\r\n\x81\r\n", 3},
    };
    for (const auto& [bytes, line] : cases) {
        const HistoryParse r = parseHistory(bytes + "7 7\r\n");
        ASSERT_EQ(r.problems.size(), 1u) << bytes;
        EXPECT_EQ(r.problems[0].line, line) << bytes;
        EXPECT_FALSE(r.problems[0].what.empty());
        EXPECT_TRUE(r.visited(7, 7)) << "the line after a bad one was not read: " << bytes;
        EXPECT_EQ(r.cutLine, 0);
    }
}

TEST(History, PathIsHistoryBasePlayerDigitTxt) {
    GameState s;
    s.historyBase = "/home/a/GameData/履歴";
    EXPECT_EQ(historyPath(s, 1), "/home/a/GameData/履歴1.txt");
}

}  // namespace
}  // namespace kisharin

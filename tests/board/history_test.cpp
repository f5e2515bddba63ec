#include <gtest/gtest.h>

#include "board/history_file.h"
#include "platform/text_file.h"

namespace kisharin {
namespace {

TEST(History, EachLineMarksOneStation) {
    const VisitedTable t = parseHistory("12 5\r\n1 1\r\n\r\n750 100\r\n12 5\r\n", "履歴0.txt");
    EXPECT_TRUE(t(12, 5));
    EXPECT_TRUE(t(1, 1));
    EXPECT_TRUE(t(750, 100));
    EXPECT_FALSE(t(5, 12));
    EXPECT_FALSE(t(12, 4));
    EXPECT_EQ(historyRecord(12, 5), "12 5");
}

TEST(History, EmptyFileMarksNothing) {
    const VisitedTable t = parseHistory("", "履歴1.txt");
    EXPECT_TRUE(t == VisitedTable{});
}

TEST(History, BadLinesAreReportedWithTheirNumber) {
    const std::pair<std::string, int> cases[] = {
        {"1 1\r\nabc\r\n", 2},   {"1 1\r\n2  3\r\n", 2}, {"12\r\n", 1},    {"1 2 3\r\n", 1},
        {"751 1\r\n", 1},        {"1 101\r\n", 1},       {"1 0\r\n", 1},    {"-1 5\r\n", 1},
        {"1 1\r\n2 2\r\n\x81\r\n", 3},
    };
    for (const auto& [bytes, line] : cases) {
        try {
            parseHistory(bytes, "履歴0.txt");
            ADD_FAILURE() << "no error for " << bytes;
        } catch (const DataError& e) {
            EXPECT_EQ(e.line(), line) << bytes;
            EXPECT_EQ(e.file(), "履歴0.txt");
        }
    }
}

TEST(History, PathIsHistoryBasePlayerDigitTxt) {
    GameState s;
    s.historyBase = "/home/a/GameData/履歴";
    EXPECT_EQ(historyPath(s, 1), "/home/a/GameData/履歴1.txt");
}

}  // namespace
}  // namespace kisharin

// A history damaged by a crash or by hand never keeps the player from playing.
#include <gtest/gtest.h>

#include "board/history_file.h"
#include "platform/text_file.h"
#include "support/fakes.h"

namespace kisharin {
namespace {

using testing::ScratchDir;

TEST(HistoryRepair, ARecordCutShortAtTheEndIsDroppedAndTheFileRepaired) {
    ScratchDir dir;
    const std::string path = dir.file("履歴0.txt");
    // Crashes while appending "13 6\r\n" leave any of these ends.
    for (const std::string tail : {"1", "13", "13 ", "\x81"}) {
        writeBytesAtomic(path, "12 5\r\n" + tail);
        std::vector<std::string> notices;
        const VisitedTable t = loadHistory(path, notices);
        EXPECT_TRUE(t(12, 5)) << tail;
        ASSERT_EQ(notices.size(), 1u) << tail;
        EXPECT_NE(notices[0].find("2行目"), std::string::npos) << notices[0];
        EXPECT_NE(notices[0].find(path), std::string::npos) << notices[0];
        EXPECT_EQ(readFileBytes(path), "12 5\r\n") << tail;
        // Once repaired, the next load is quiet and the next record is whole.
        notices.clear();
        loadHistory(path, notices);
        EXPECT_TRUE(notices.empty());
        appendLine(path, "13 6");
        EXPECT_EQ(readFileBytes(path), "12 5\r\n13 6\r\n");
    }
}

TEST(HistoryRepair, AWholeRecordWithoutItsLineEndIsKept) {
    ScratchDir dir;
    const std::string path = dir.file("履歴1.txt");
    writeBytesAtomic(path, "12 5\r\n3 4");
    std::vector<std::string> notices;
    const VisitedTable t = loadHistory(path, notices);
    EXPECT_TRUE(t(3, 4));
    EXPECT_TRUE(notices.empty());
    EXPECT_EQ(readFileBytes(path), "12 5\r\n3 4");  // left as the player wrote it
}

TEST(HistoryRepair, BadLinesInsideAreNamedWithWhatToDoAndTheFileIsKept) {
    ScratchDir dir;
    const std::string path = dir.file("履歴0.txt");
    std::string bytes;
    for (int i = 1; i <= 9; ++i) bytes += i % 2 ? std::to_string(i) + " 1\r\n" : "x\r\n";
    writeBytesAtomic(path, bytes);
    std::vector<std::string> notices;
    const VisitedTable t = loadHistory(path, notices);
    for (int i = 1; i <= 9; i += 2) EXPECT_TRUE(t(i, 1)) << i;
    ASSERT_EQ(notices.size(), 1u);
    const std::string& n = notices[0];
    for (const char* line : {"2行目", "4行目", "6行目", "8行目"})
        EXPECT_NE(n.find(line), std::string::npos) << n;
    EXPECT_NE(n.find("テキストエディタ"), std::string::npos) << n;  // what the player can do
    EXPECT_EQ(readFileBytes(path), bytes);
}

TEST(HistoryRepair, ManyBadLinesAreSummedUpInsteadOfListedOneByOne) {
    ScratchDir dir;
    const std::string path = dir.file("履歴0.txt");
    std::string bytes;
    for (int i = 0; i < 40; ++i) bytes += "bad\r\n";
    writeBytesAtomic(path, bytes);
    std::vector<std::string> notices;
    loadHistory(path, notices);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find("ほかに 35 行"), std::string::npos) << notices[0];
    EXPECT_EQ(notices[0].find("6行目"), std::string::npos);
}

TEST(HistoryRepair, AMissingFileIsAnEmptyHistoryWithoutNotice) {
    ScratchDir dir;
    std::vector<std::string> notices;
    EXPECT_TRUE(loadHistory(dir.file("履歴0.txt"), notices) == VisitedTable{});
    EXPECT_TRUE(notices.empty());
}

}  // namespace
}  // namespace kisharin

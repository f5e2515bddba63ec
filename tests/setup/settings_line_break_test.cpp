// A carriage return alone inside a settings line (a file edited by hand, or cut and
// pasted) is not a line end to the reader; a name or address holding one falls back like
// any other bad value, with a message naming the file and the line, and what the game
// writes afterwards is clean.
#include <gtest/gtest.h>

#include "platform/text_file.h"
#include "setup/settings.h"
#include "support/fakes.h"

namespace kisharin {
namespace {

void writeBytes(const std::string& path, const std::string& bytes) {
    writeBytesAtomic(path, bytes);
}

TEST(SettingsLineBreak, ANameOrAddressWithACarriageReturnInsideFallsBackAndSaysWhere) {
    testing::ScratchDir user, shipped;
    writeBytes(shipped.file("NameData.txt"), "ab\r\ncd\r\n 0 \r\n 1 \r\n 1 \r\n 0 \r\n");
    writeBytes(shipped.file("URL.txt"), "https://maps.example/\r\n");
    // Name 2 holds a CR inside; the address ends in "\r" before its CR LF.
    writeBytes(user.file("NameData.txt"), "xy\r\nq\rr\r\n 1 \r\n 0 \r\n 0 \r\n 5 \r\n");
    writeBytes(user.file("URL.txt"), "https://own.example/\r\r\n");

    const SettingsLoad load = readSettings(user.path(), shipped.path());
    EXPECT_EQ(load.settings.name1, "xy");
    EXPECT_EQ(load.settings.name2, "cd");
    EXPECT_EQ(load.settings.area, 5);
    EXPECT_EQ(load.settings.url, "https://maps.example/");
    ASSERT_EQ(load.problems.size(), 2u);
    EXPECT_NE(load.problems[0].find("NameData.txt"), std::string::npos) << load.problems[0];
    EXPECT_NE(load.problems[0].find("2"), std::string::npos) << load.problems[0];
    EXPECT_NE(load.problems[0].find("改行"), std::string::npos) << load.problems[0];
    EXPECT_NE(load.problems[1].find("URL.txt"), std::string::npos) << load.problems[1];

    writeSettings(user.path(), load.settings);
    const SettingsLoad again = readSettings(user.path(), shipped.path());
    EXPECT_TRUE(again.problems.empty());
    EXPECT_EQ(again.settings, load.settings);
}

TEST(SettingsLineBreak, CarriageReturnsAtLineEndsAreStillLineEnds) {
    testing::ScratchDir user, shipped;
    writeBytes(user.file("NameData.txt"), "ab\r\ncd\n 0 \r\n 0 \r\n 0 \r\n 2 ");
    writeBytes(user.file("URL.txt"), "https://own.example/");
    const SettingsLoad load = readSettings(user.path(), shipped.path());
    EXPECT_TRUE(load.problems.empty()) << load.problems.front();
    EXPECT_EQ(load.settings.name2, "cd");
    EXPECT_EQ(load.settings.url, "https://own.example/");
}

}  // namespace
}  // namespace kisharin

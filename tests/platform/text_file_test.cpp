#include "platform/text_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/data_home.h"
#include "state/error.h"
#include "support/fakes.h"

namespace kisharin {
namespace {

using testing::ScopedEnv;
using testing::ScratchDir;

TEST(LineFiles, WritesCp932WithCrLfAndReadsItBack) {
    ScratchDir dir;
    const std::string path = dir.file("a.txt");
    writeLinesAtomic(path, {"一行目", "", " 12 ", "True"});
    EXPECT_EQ(readFileBytes(path), "\x88\xEA\x8D\x73\x96\xDA\r\n\r\n 12 \r\nTrue\r\n");
    EXPECT_EQ(readLines(path), (std::vector<std::string>{"一行目", "", " 12 ", "True"}));
}

TEST(LineFiles, AcceptsLfAndAMissingLastLineEnd) {
    EXPECT_EQ(decodeLines("a\nb\r\nc", "x"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_TRUE(decodeLines("", "x").empty());
    EXPECT_EQ(decodeLines("\r\n", "x"), std::vector<std::string>{""});
}

TEST(LineFiles, NamesTheFileAndLineOfBadBytes) {
    try {
        decodeLines("ok\r\nok\r\n\x81\x20\r\n", "駅.txt");
        FAIL() << "no error";
    } catch (const DataError& e) {
        EXPECT_EQ(e.file(), "駅.txt");
        EXPECT_EQ(e.line(), 3);
        EXPECT_NE(std::string(e.what()).find("3行目"), std::string::npos);
    }
}

TEST(LineFiles, MissingFileIsADataError) {
    ScratchDir dir;
    EXPECT_THROW(readLines(dir.file("none.txt")), DataError);
}

TEST(LineFiles, UnwritableCharacterNamesTheLineAndKeepsTheOldFile) {
    ScratchDir dir;
    const std::string path = dir.file("s.txt");
    writeLinesAtomic(path, {"old"});
    try {
        writeLinesAtomic(path, {"fine", "絵文字🚃"});
        FAIL() << "no error";
    } catch (const DataError& e) {
        EXPECT_EQ(e.line(), 2);
    }
    EXPECT_EQ(readLines(path), std::vector<std::string>{"old"});
}

TEST(LineFiles, AtomicReplaceLeavesNoTemporaryFiles) {
    ScratchDir dir;
    const std::string path = dir.file("slot.txt");
    for (int i = 0; i < 3; ++i) writeLinesAtomic(path, {std::to_string(i)});
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) files += e.is_regular_file();
    EXPECT_EQ(files, 1);
    EXPECT_EQ(readLines(path), std::vector<std::string>{"2"});
    // A folder that does not exist cannot be written, and says so.
    EXPECT_THROW(writeLinesAtomic(dir.file("no/such/dir.txt"), {"x"}), GameError);
}

TEST(LineFiles, AppendAddsOneRecordAtATime) {
    ScratchDir dir;
    const std::string path = dir.file("履歴0.txt");
    appendLine(path, "12 5");
    appendLine(path, "3 1");
    EXPECT_EQ(readFileBytes(path), "12 5\r\n3 1\r\n");
}

TEST(DataHome, EnvironmentDecidesThePlayersFolder) {
    {
        ScopedEnv a("KISHARIN_DATA_HOME", "/tmp/kh");
        ScopedEnv b("XDG_DATA_HOME", "/tmp/xdg");
        EXPECT_EQ(userDataDir(), "/tmp/kh/");
    }
    {
        ScopedEnv a("KISHARIN_DATA_HOME", nullptr);
        ScopedEnv b("XDG_DATA_HOME", "/tmp/xdg/");
        EXPECT_EQ(userDataDir(), "/tmp/xdg/kisharin/");
    }
    {
        ScopedEnv a("KISHARIN_DATA_HOME", nullptr);
        ScopedEnv b("XDG_DATA_HOME", nullptr);
        ScopedEnv c("HOME", "/home/taro");
        EXPECT_EQ(userDataDir(), "/home/taro/.local/share/kisharin/");
    }
}

TEST(DataHome, FirstUseCopiesTheShippedFilesAndKeepsThePlayers) {
    ScratchDir home, shipped;
    makeDirectories(shipped.path() + "GameData");
    writeLinesAtomic(shipped.file("GameData/NameData.txt"), {"shipped"});
    ScopedEnv env("KISHARIN_DATA_HOME", (home.path() + "sub").c_str());

    const std::string dir = ensureUserGameData(shipped.path());
    EXPECT_EQ(dir, home.path() + "sub/GameData/");
    EXPECT_EQ(readLines(dir + "NameData.txt"), std::vector<std::string>{"shipped"});
    EXPECT_TRUE(fileExists(dir + "履歴0.txt"));
    EXPECT_TRUE(readLines(dir + "履歴1.txt").empty());  // missing from shipped: empty

    writeLinesAtomic(dir + "NameData.txt", {"mine"});
    appendLine(dir + "履歴0.txt", "1 1");
    ensureUserGameData(shipped.path());
    EXPECT_EQ(readLines(dir + "NameData.txt"), std::vector<std::string>{"mine"});
    EXPECT_EQ(readLines(dir + "履歴0.txt"), std::vector<std::string>{"1 1"});
}

}  // namespace
}  // namespace kisharin

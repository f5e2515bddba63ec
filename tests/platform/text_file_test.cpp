#include "platform/text_file.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
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

TEST(LineFiles, AnAppendCutShortLeavesTheFileAsItWas) {
    ScratchDir dir;
    const std::string path = dir.file("履歴0.txt");
    appendLine(path, "12 5");
    // The file may grow by four bytes only, as on a disk that fills up during the write:
    // "123 " is written, the rest is refused.
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 6 + 4;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    bool threw = false;
    try {
        appendLine(path, "123 45");
    } catch (const GameError&) {
        threw = true;
    }
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldSignal);
    EXPECT_TRUE(threw);
    EXPECT_EQ(readFileBytes(path), "12 5\r\n");
}

TEST(LineFiles, EveryWriteGoesThroughALinkAndKeepsIt) {
    ScratchDir home, elsewhere;
    const std::string link = home.file("履歴0.txt");
    ASSERT_EQ(::symlink(elsewhere.file("kept.txt").c_str(), link.c_str()), 0);
    appendLine(link, "12 5");    // creates the file the link points at
    writeBytesAtomic(link, "");  // 思い出消去
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(readFileBytes(elsewhere.file("kept.txt")), "");
    // A relative link, through a second link.
    ASSERT_EQ(::symlink("履歴0.txt", home.file("second").c_str()), 0);
    writeLinesAtomic(home.file("second"), {"3 1"});
    EXPECT_TRUE(std::filesystem::is_symlink(home.file("second")));
    EXPECT_EQ(readLines(elsewhere.file("kept.txt")), std::vector<std::string>{"3 1"});
    // A loop is refused, as an append refuses it, and no link is replaced.
    ASSERT_EQ(::symlink("loop", home.file("loop").c_str()), 0);
    EXPECT_THROW(writeBytesAtomic(home.file("loop"), "x"), GameError);
    EXPECT_THROW(appendLine(home.file("loop"), "x"), GameError);
    EXPECT_TRUE(std::filesystem::is_symlink(home.file("loop")));
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

    // Without the railway data there is no game: one message naming the place, and no
    // empty settings written on the way.
    try {
        ensureUserGameData(shipped.path());
        ADD_FAILURE() << "accepted shipped data without 駅.txt";
    } catch (const GameError& e) {
        EXPECT_NE(std::string(e.what()).find("駅.txt"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find(shipped.path()), std::string::npos) << e.what();
    }
    EXPECT_FALSE(std::filesystem::exists(home.path() + "sub/GameData/NameData.txt"));
    writeLinesAtomic(shipped.file("GameData/駅.txt"), {"1"});

    const std::string dir = ensureUserGameData(shipped.path());
    EXPECT_EQ(dir, home.path() + "sub/GameData/");
    EXPECT_EQ(readLines(dir + "NameData.txt"), std::vector<std::string>{"shipped"});
    EXPECT_TRUE(fileExists(dir + "履歴0.txt"));
    EXPECT_TRUE(readLines(dir + "履歴1.txt").empty());  // missing from shipped: empty

    writeLinesAtomic(dir + "NameData.txt", {"mine"});
    appendLine(dir + "履歴0.txt", "1 1");
    // A game killed while saving leaves its temporary file; the next start removes it,
    // and only it.
    for (const char* name : {"GameData2.txt.tmpa1B2c3", "NameData.txt.tmpZZZZZZ", "notes.txt", "x.txt.tmp1"})
        writeBytesAtomic(dir + name, "left");
    ensureUserGameData(shipped.path());
    EXPECT_EQ(readLines(dir + "NameData.txt"), std::vector<std::string>{"mine"});
    EXPECT_EQ(readLines(dir + "履歴0.txt"), std::vector<std::string>{"1 1"});
    EXPECT_FALSE(std::filesystem::exists(dir + "GameData2.txt.tmpa1B2c3"));
    EXPECT_FALSE(std::filesystem::exists(dir + "NameData.txt.tmpZZZZZZ"));
    EXPECT_TRUE(fileExists(dir + "notes.txt"));
    EXPECT_TRUE(fileExists(dir + "x.txt.tmp1"));
}

}  // namespace
}  // namespace kisharin

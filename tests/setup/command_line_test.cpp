// `kisharin --conquest`, `--help` and `--version` answer on the terminal and end.
#include <gtest/gtest.h>

#include <sstream>

#include "board/station_file.h"
#include "platform/data_home.h"
#include "platform/text_file.h"
#include "setup/command_line.h"
#include "support/fakes.h"
#include "support/railway_builder.h"

namespace kisharin {
namespace {

using testing::ScopedEnv;
using testing::ScratchDir;

struct Run {
    int status = -1;
    std::string out, err;
};

std::optional<Run> run(std::vector<const char*> args) {
    args.insert(args.begin(), "kisharin");
    std::ostringstream out, err;
    const auto status = runCommandLine(static_cast<int>(args.size()), args.data(), out, err);
    if (!status) return std::nullopt;
    return Run{*status, out.str(), err.str()};
}

TEST(CommandLine, ConquestPrintsTheRecordOfThePlayersFolder) {
    ScratchDir shipped, home;
    makeDirectories(shipped.file("GameData"));
    makeDirectories(home.file("GameData"));
    const RailwayData d = testing::makeRailway({testing::line("A線", 3), testing::line("B線", 1)});
    writeBytesAtomic(shipped.file("GameData/駅.txt"), formatStationFile(d, "header"));
    writeBytesAtomic(home.file("GameData/履歴0.txt"), "1 1\r\n1 2\r\n1 3\r\n");
    writeBytesAtomic(home.file("GameData/履歴1.txt"), "2 1\r\nbad\r\n");
    ScopedEnv dataDir("KISHARIN_DATA_DIR", shipped.path().c_str());
    ScopedEnv dataHome("KISHARIN_DATA_HOME", home.path().c_str());

    const auto r = run({"--conquest"});
    ASSERT_TRUE(r);
    EXPECT_EQ(r->status, 0);
    EXPECT_EQ(r->out.rfind("kind\tname\tplayer1\tplayer2\ttotal\n", 0), 0u);
    EXPECT_NE(r->out.find("\nprefecture\t東京都\t3\t1\t4\n"), std::string::npos) << r->out;
    EXPECT_NE(r->out.find("\nline\tA線\t3\t0\t3\nline\tB線\t0\t1\t1\n"), std::string::npos) << r->out;
    EXPECT_NE(r->out.find("\nall\tconquered_lines\t1\t1\t2\n"), std::string::npos) << r->out;
    // The bad line of player 2's history is told on the error stream, naming the file.
    EXPECT_NE(r->err.find("履歴1.txt"), std::string::npos) << r->err;
    EXPECT_NE(r->err.find("2行目"), std::string::npos) << r->err;
}

TEST(CommandLine, HelpVersionAndUnknownOptions) {
    const auto help = run({"--help"});
    ASSERT_TRUE(help);
    EXPECT_EQ(help->status, 0);
    EXPECT_NE(help->out.find("--conquest"), std::string::npos);
    const auto version = run({"--version"});
    ASSERT_TRUE(version);
    EXPECT_EQ(version->status, 0);
    EXPECT_EQ(version->out.rfind("kisharin ", 0), 0u);
    const auto unknown = run({"--conquer"});
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->status, 2);
    EXPECT_NE(unknown->err.find("--conquer"), std::string::npos);
    // The game itself starts, with the options Qt takes.
    EXPECT_FALSE(run({}));
    EXPECT_FALSE(run({"-platform", "offscreen"}));
    EXPECT_FALSE(run({"--platform=offscreen"}));
}

}  // namespace
}  // namespace kisharin

namespace kisharin {
namespace {

// `--story FILE` opens the story window: the command line lets the program start with the
// file, whatever it is named; without a file, or with --conquest, it is refused.
TEST(CommandLine, StoryTakesOneRecordFile) {
    std::vector<const char*> args{"kisharin", "--story", "--odd-name.jsonl"};
    std::ostringstream out, err;
    EXPECT_FALSE(runCommandLine(3, args.data(), out, err));
    EXPECT_EQ(storyFileArgument(3, args.data()), "--odd-name.jsonl");
    EXPECT_FALSE(storyFileArgument(2, args.data()));
    const auto alone = run({"--story"});
    ASSERT_TRUE(alone);
    EXPECT_EQ(alone->status, 2);
    EXPECT_NE(alone->err.find("--story"), std::string::npos);
    const auto both = run({"--story", "a.jsonl", "--conquest"});
    ASSERT_TRUE(both);
    EXPECT_EQ(both->status, 2);
    EXPECT_NE(run({"--help"})->out.find("--story ファイル"), std::string::npos);
}

}  // namespace
}  // namespace kisharin

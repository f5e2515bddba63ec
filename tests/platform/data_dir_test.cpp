// Where the game looks for its shipped data and its manual: installed under
// <prefix>/bin and <prefix>/share, or run from the build tree.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/data_home.h"
#include "platform/text_file.h"
#include "support/fakes.h"

using namespace kisharin;
using kisharin::testing::ScratchDir;

namespace {

void touch(const std::string& path) {
    makeDirectories(std::filesystem::path(path).parent_path().string());
    writeBytesAtomic(path, "x");
}

}  // namespace

TEST(DataDir, InstalledGameReadsShareBesideItsBinFolder) {
    ScratchDir root;
    touch(root.file("usr/share/kisharin/GameData/駅.txt"));
    touch(root.file("usr/bin/kisharin"));
    EXPECT_EQ(findShippedDataDir(root.file("usr/bin/kisharin"), "", "/nowhere/"),
              root.file("usr/share/kisharin/"));
}

TEST(DataDir, BuildTreeReadsTheDataBesideTheProgram) {
    ScratchDir root;
    touch(root.file("build/data/GameData/駅.txt"));
    EXPECT_EQ(findShippedDataDir(root.file("build/kisharin"), "", "/nowhere/"), root.file("build/data/"));
}

TEST(DataDir, EnvironmentWinsAndAFolderWithoutTheRailwayDoesNotCount) {
    ScratchDir root;
    touch(root.file("usr/share/kisharin/GameData/駅.txt"));
    EXPECT_EQ(findShippedDataDir(root.file("usr/bin/kisharin"), "/tmp/other", "/nowhere/"), "/tmp/other/");

    // An empty share/kisharin (a removed package, say) is passed over for the configured folder.
    ScratchDir empty;
    makeDirectories(empty.file("usr/share/kisharin/GameData"));
    EXPECT_EQ(findShippedDataDir(empty.file("usr/bin/kisharin"), "", "/configured"), "/configured/");
    EXPECT_EQ(findShippedDataDir("", "", "/configured/"), "/configured/");
}

TEST(DataDir, ManualIsFoundInTheBuildTreeAndWhenInstalled) {
    ScratchDir build;
    touch(build.file("data/Manual.htm"));
    EXPECT_EQ(manualPath(build.file("data/")), build.file("data/Manual.htm"));

    ScratchDir installed;
    touch(installed.file("usr/share/doc/kisharin/Manual.htm"));
    makeDirectories(installed.file("usr/share/kisharin"));
    EXPECT_EQ(manualPath(installed.file("usr/share/kisharin/")), installed.file("usr/share/doc/kisharin/Manual.htm"));
    EXPECT_EQ(manualPath(installed.file("usr/share/kisharin")), installed.file("usr/share/doc/kisharin/Manual.htm"));

    ScratchDir none;
    EXPECT_EQ(manualPath(none.file("data/")), "");
}

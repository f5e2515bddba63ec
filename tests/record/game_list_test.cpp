// The list of games: a crash during an append or a full disk loses only that entry, damaged
// lines are told and skipped, and the bound drops the oldest game with its record.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "platform/data_home.h"
#include "platform/text_file.h"
#include "record/game_list.h"
#include "state/error.h"
#include "support/fakes.h"

namespace kisharin::testing {
namespace {

GameEntry game(long long p1, long long p2, const std::string& seat2 = "com:ふつう",
               GameEnd end = GameEnd::Results) {
    return {.number = 1,
            .when = "2026/12/09 10:00:00",
            .area = 8,
            .shortMode = true,
            .names = {"たろうさん", "こむさん"},
            .seats = {"man", seat2},
            .turns = 30,
            .points = {p1, p2},
            .money = {120000, -3000},
            .arrived = {5, 3},
            .end = end};
}

std::vector<std::string> lines(const GameListRead& r) {
    std::vector<std::string> out;
    for (const GameEntry& e : r.entries) out.push_back(entryLine(e));
    return out;
}

class GameList : public ::testing::Test {
  protected:
    ScratchDir dir;
    std::string list() const { return gameListPath(dir.path()); }
    std::string record(const std::string& text) {
        const std::string path = dir.file("GameRecord.jsonl");
        writeBytesAtomic(path, text);
        return path;
    }
};

TEST_F(GameList, EachGameIsNumberedAndKeepsACopyOfItsRecord) {
    const GameEntry a = addGame(dir.path(), game(300, 200), record("{\"t\":\"start\"}\n"));
    const GameEntry b = addGame(dir.path(), game(10, 20, "man", GameEnd::Closed), record("second\n"));
    const GameEntry c = addGame(dir.path(), game(0, 0, "net", GameEnd::Saved), "");  // no record
    EXPECT_EQ(b.number, 2);
    EXPECT_EQ(c.record, "");
    EXPECT_EQ(readFileBytes(keptRecordPath(dir.path(), a)), "{\"t\":\"start\"}\n");
    EXPECT_EQ(readFileBytes(keptRecordPath(dir.path(), b)), "second\n");
    const GameListRead r = readGameList(dir.path());
    EXPECT_EQ(lines(r), (std::vector<std::string>{entryLine(a), entryLine(b), entryLine(c)}));
    EXPECT_EQ(r.entries[1].leader(), 1);
    EXPECT_EQ(r.entries[2].leader(), -1);
}

// kill -9 in the middle of an append leaves half a line: that game is lost, told, and
// taken away when the next game is added; every game before it stays.
TEST_F(GameList, ALastLineCutShortLosesOnlyItsGame) {
    const GameEntry a = addGame(dir.path(), game(1, 2), "");
    const GameEntry b = addGame(dir.path(), game(3, 4), "");
    const std::string half = entryLine(game(5, 6)).substr(0, 50);
    appendBytes(list(), half, "\n");
    GameListRead r = readGameList(dir.path());
    EXPECT_EQ(lines(r), (std::vector<std::string>{entryLine(a), entryLine(b)}));
    ASSERT_EQ(r.notices.size(), 1u);
    EXPECT_NE(r.notices[0].find(list()), std::string::npos) << r.notices[0];
    EXPECT_NE(r.notices[0].find("3行目"), std::string::npos) << r.notices[0];
    const GameEntry c = addGame(dir.path(), game(7, 8), "");
    r = readGameList(dir.path());
    EXPECT_TRUE(r.notices.empty());
    EXPECT_EQ(lines(r), (std::vector<std::string>{entryLine(a), entryLine(b), entryLine(c)}));
}

// A damaged line in the middle and a line over the limit are told with their lines and
// skipped; the games around them are read.
TEST_F(GameList, DamagedAndOverLongLinesAreToldAndSkipped) {
    const GameEntry a = addGame(dir.path(), game(1, 2), "");
    appendBytes(list(), "{\"v\":1,\"n\":\"二\"}\n", "\n");
    appendBytes(list(), std::string(kMaxGameListLine + 10, 'x') + "\n", "\n");
    std::string bad = entryLine(game(1, 1));
    bad.replace(bad.find("\"area\":8"), 8, "\"area\":9");
    appendBytes(list(), bad + "\n", "\n");
    const GameEntry b = addGame(dir.path(), game(3, 4), "");
    const GameListRead r = readGameList(dir.path());
    EXPECT_EQ(lines(r), (std::vector<std::string>{entryLine(a), entryLine(b)}));
    ASSERT_EQ(r.notices.size(), 3u);
    EXPECT_NE(r.notices[0].find("2行目：項目 n"), std::string::npos) << r.notices[0];
    EXPECT_NE(r.notices[1].find("3行目：行が長すぎます"), std::string::npos) << r.notices[1];
    EXPECT_NE(r.notices[2].find("4行目：項目 area"), std::string::npos) << r.notices[2];
    // A kept record's name never leads out of the records' folder.
    std::string escape = entryLine(game(1, 1));
    escape.replace(escape.find("\"record\":\"\""), 11, "\"record\":\"../GameData1.txt\"");
    GameEntry e;
    std::string why;
    EXPECT_FALSE(parseEntry(escape, e, why));
}

// A disk that fills during the append: the list is as it was and the record copy goes.
TEST_F(GameList, AFullDiskLosesOnlyTheEntryBeingWritten) {
    const GameEntry a = addGame(dir.path(), game(1, 2), "");
    const std::string before = readFileBytes(list());
    const std::string rec = record("0123456789\n");
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = before.size() + 40;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    bool threw = false;
    try {
        addGame(dir.path(), game(3, 4), rec);
    } catch (const GameError&) {
        threw = true;
    }
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldSignal);
    EXPECT_TRUE(threw);
    EXPECT_EQ(readFileBytes(list()), before);
    EXPECT_FALSE(fileExists(keptRecordsDir(dir.path()) + "2.jsonl"));
    const GameEntry b = addGame(dir.path(), game(3, 4), rec);
    EXPECT_EQ(b.number, 2);
    EXPECT_EQ(lines(readGameList(dir.path())), (std::vector<std::string>{entryLine(a), entryLine(b)}));
}

// The list holds the newest kGameListKeep games: the next one drops the oldest and its record.
TEST_F(GameList, TheBoundDropsTheOldestWithItsRecord) {
    std::string full;
    makeDirectories(keptRecordsDir(dir.path()));
    for (int n = 1; n <= static_cast<int>(kGameListKeep); ++n) {
        GameEntry e = game(n, 0);
        e.number = n;
        if (n <= 2) {
            e.record = std::to_string(n) + ".jsonl";
            writeBytesAtomic(keptRecordPath(dir.path(), e), "kept\n");
        }
        full += entryLine(e) + "\n";
    }
    writeBytesAtomic(list(), full);
    const GameEntry last = addGame(dir.path(), game(9, 9), record("new\n"));
    EXPECT_EQ(last.number, static_cast<int>(kGameListKeep) + 1);
    const GameListRead r = readGameList(dir.path());
    ASSERT_EQ(r.entries.size(), kGameListKeep);
    EXPECT_EQ(r.entries.back().number, last.number);
    EXPECT_FALSE(fileExists(keptRecordsDir(dir.path()) + "1.jsonl"));
    EXPECT_TRUE(fileExists(keptRecordsDir(dir.path()) + "2.jsonl"));
    EXPECT_EQ(readFileBytes(keptRecordPath(dir.path(), last)), "new\n");
}

TEST(GameListFigures, WinsCountFinishedGamesAgainstEachStrengthAndFiltersSelect) {
    std::vector<GameEntry> games{game(300, 200, "com:よわい"), game(100, 200, "com:よわい"),
                                 game(500, 100, "com:つよい"), game(900, 0, "com:つよい", GameEnd::Closed),
                                 game(50, 40, "man"),          game(50, 40, "net")};
    games[1].shortMode = false;
    const auto wins = winsAgainstComputer(games);
    EXPECT_EQ(wins[0].games, 2);
    EXPECT_EQ(wins[0].won, 1);
    EXPECT_EQ(wins[2].games, 1);  // the game left before the results does not count
    EXPECT_EQ(wins[2].won, 1);
    auto count = [&](const GameFilter& f) {
        return std::count_if(games.begin(), games.end(), [&](const GameEntry& e) { return passes(f, e); });
    };
    EXPECT_EQ(count({}), 6);
    EXPECT_EQ(count({.opponent = "よわい"}), 2);
    EXPECT_EQ(count({.shortMode = 0}), 1);
    EXPECT_EQ(count({.finished = 0}), 1);
}

}  // namespace
}  // namespace kisharin::testing

// The list of games: a crash during an append or a full disk loses only that entry, damaged
// lines are told and skipped, the bounds drop the oldest games and records, and a guest's
// game is listed from what the guest saw.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

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
    std::vector<std::string> keptFiles() const {
        std::vector<std::string> out;
        for (const auto& f : std::filesystem::directory_iterator(keptRecordsDir(dir.path())))
            out.push_back(f.path().filename());
        return out;
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

// A disk that fills during the append: the list is as it was and the record copy goes; one
// that fills while the record is copied leaves no copy either.
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
    EXPECT_THROW(addGame(dir.path(), game(3, 4), record(std::string(before.size() + 100, 'r'))), GameError);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldSignal);
    EXPECT_TRUE(threw);
    EXPECT_EQ(readFileBytes(list()), before);
    EXPECT_TRUE(keptFiles().empty());
    const GameEntry b = addGame(dir.path(), game(3, 4), rec);
    EXPECT_EQ(b.number, 2);
    EXPECT_EQ(lines(readGameList(dir.path())), (std::vector<std::string>{entryLine(a), entryLine(b)}));
}

// The program killed (SIGKILL) while it adds games: every game it had added is listed with
// its whole record, at most the one under way is lost, and the next game is added.
TEST_F(GameList, AKillDuringTheAppendsLosesAtMostTheGameUnderWay) {
    const std::string body = std::string(64 << 10, 'r') + "\n";
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(pipeEnds[0]);
        for (int i = 0;; ++i) {
            const std::string rec = dir.file("rec" + std::to_string(i % 2));
            writeBytesAtomic(rec, body);
            const int n = addGame(dir.path(), game(i, 0), rec).number;
            if (::write(pipeEnds[1], &n, sizeof n) != sizeof n) ::_exit(1);
        }
    }
    ::close(pipeEnds[1]);
    int n = 0, added = 0;
    while (added < 40 && ::read(pipeEnds[0], &n, sizeof n) == sizeof n) added = n;
    ASSERT_EQ(::kill(child, SIGKILL), 0);
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    while (::read(pipeEnds[0], &n, sizeof n) == sizeof n) added = n;
    ::close(pipeEnds[0]);

    GameListRead r = readGameList(dir.path());
    ASSERT_GE(r.entries.size(), static_cast<std::size_t>(added));
    EXPECT_LE(r.entries.size(), static_cast<std::size_t>(added) + 1);
    for (std::size_t i = 0; i < r.entries.size(); ++i) {
        EXPECT_EQ(r.entries[i].number, static_cast<int>(i) + 1);
        EXPECT_EQ(readFileBytes(keptRecordPath(dir.path(), r.entries[i])), body);
    }
    // The next game is added, and a copy the kill left half-made goes.
    EXPECT_EQ(addGame(dir.path(), game(1, 1), "").number, static_cast<int>(r.entries.size()) + 1);
    EXPECT_TRUE(readGameList(dir.path()).notices.empty());
    for (const std::string& f : keptFiles()) EXPECT_TRUE(f.ends_with(".jsonl")) << f;
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

// The kept records together stay within their bound: the oldest go first, their games stay
// listed without a record, and the new game's record is kept however large.
TEST_F(GameList, TheRecordsTogetherStayWithinTheirBound) {
    for (const std::size_t size : {30, 30, 30, 20, 60, 150})
        addGame(dir.path(), game(1, 2), record(std::string(size - 1, 'r') + "\n"), {.recordBytes = 100});
    // 30+30+30+20 = 110 dropped the first; +60 the next two; 150 alone is kept.
    std::vector<std::string> kept;
    for (const GameEntry& e : readGameList(dir.path()).entries) kept.push_back(e.record);
    EXPECT_EQ(kept, (std::vector<std::string>{"", "", "", "", "", "6.jsonl"}));
    EXPECT_EQ(keptFiles(), std::vector<std::string>{"6.jsonl"});
}

// A guest's game, from the boards the host sent: the turns it saw begin, who reached which
// destination, the results; left before them, it is a game left.
TEST(GuestGame, TheGuestCountsWhatItSaw) {
    GuestGameTally t;
    t.welcomed(5, true);
    net::BoardView b;
    for (const int mover : {0, 0, 1, 0}) {  // two boards of the first turn, then two turns
        b.done[2] = b.curPlayer == 1;       // reached by player 2 as it moved
        b.curPlayer = mover;
        t.board(b);
    }
    GameEntry e = t.entry("2026/12/09 10:00:00");
    EXPECT_EQ(std::tuple(e.turns, e.arrived[0], e.arrived[1], e.end), std::tuple(3, 0, 1, GameEnd::Closed));
    EXPECT_EQ(opponentKind(e), "net");
    t.results({3, 5});
    e = t.entry("");
    EXPECT_EQ(std::tuple(e.arrived[0], e.arrived[1], e.end), std::tuple(3, 5, GameEnd::Results));
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

// The headless simulator as a program: its options, its JSON Lines log, its summary and
// its exit status for games that never end.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "../../tools/sim/json_line.h"
#include "../../tools/sim/sim_game.h"
#include "platform/data_home.h"
#include "record/game_record.h"
#include "state/error.h"
#include "support/fakes.h"
#include "support/railway_builder.h"

namespace kisharin::testing {
namespace {

// Eight lines of five stations, one per region; chained end to start when `linked`.
// Station 3 of every line is a race course.
void writeNetwork(const std::string& appDir, bool linked) {
    std::vector<std::string> out = {"ヘッダ"};
    for (int r = 1; r <= 8; ++r) {
        std::string l = std::to_string(r), n = "線" + std::to_string(r), y = "よみ", p = "1\\0\\0\\0\\0\\0",
                    m;
        for (int i = 1; i <= 5; ++i) {
            std::string link;
            if (linked && i == 1 && r > 1) link = std::to_string(r - 1) + "\\5";
            if (linked && i == 5 && r < 8) link = std::to_string(r + 1) + "\\1";
            l += "\t" + link;
            n += "\t駅" + std::to_string(r) + "\\" + std::to_string(i) + "\"";  // backslash and quote
            y += "\tえき";
            p += "\t" + std::string(kFirstPrefOfRegion[r]);
            m += i == 3 ? "\t競馬" : "\t";
        }
        for (const auto& s : {l, n, y, p, m}) out.push_back(s);
    }
    makeDirectories(appDir + "GameData");
    writeCp932(appDir + "GameData/駅.txt", out);
}

struct SimRun {
    int status = -1;
    std::string output;
};

SimRun runSim(const std::string& args) {
    const std::string cmd =
        std::string(KISHARIN_TEST_BINARY_DIR) + "/tools/sim/kisharin-sim " + args + " 2>&1";
    SimRun r;
    FILE* f = ::popen(cmd.c_str(), "r");
    if (!f) return r;
    char buf[512];
    while (size_t n = std::fread(buf, 1, sizeof buf, f)) r.output.append(buf, n);
    const int st = ::pclose(f);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

std::vector<std::string> lines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> v;
    for (std::string l; std::getline(in, l);) v.push_back(l);
    return v;
}

int count(const std::vector<std::string>& v, const std::string& part) {
    int n = 0;
    for (const auto& l : v) n += l.find(part) != std::string::npos;
    return n;
}

TEST(KisharinSim, PlaysWholeGamesAndLogsEveryTurn) {
    ScratchDir dir;
    writeNetwork(dir.path(), true);
    const SimRun r = runSim("--data " + dir.path() + " --seed 3 --games 4 --log " + dir.file("log.jsonl"));
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("games played: 4"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("median turns per game:"), std::string::npos);
    EXPECT_NE(r.output.find("games per second:"), std::string::npos);
    const auto log = lines(dir.file("log.jsonl"));
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front().rfind("{\"event\":\"start\",\"game\":1,\"area\":0,\"destinations\":[[", 0), 0u)
        << log.front();
    EXPECT_EQ(count(log, "\"event\":\"start\""), 4);
    EXPECT_EQ(count(log, "\"event\":\"end\""), 4);
    EXPECT_GT(count(log, "\"event\":\"turn\""), 8);
    for (const auto& l : log) {
        ASSERT_EQ(l.front(), '{');
        ASSERT_EQ(l.back(), '}');
    }
    for (const auto& l : log) {
        if (l.find("\"event\":\"turn\"") == std::string::npos) continue;
        for (const char* field : {"\"at\":[", "\"done\":[", "\"route_length\":", "\"route\":[",
                                  "\"action\":\"", "\"transfers\":[", "\"kind\":", "\"die\":", "\"steps\":",
                                  "\"target\":", "\"end\":[", "\"fare\":", "\"messages\":[",
                                  "\"money_before\":", "\"points_before\":", "\"money\":", "\"points\":"})
            ASSERT_NE(l.find(field), std::string::npos) << field << " in " << l;
    }
    // Both players move in turn, player 2 being the computer that answers each turn.
    EXPECT_GT(count(log, "\"event\":\"turn\",\"game\":1,\"turn\":2,\"player\":1,"), 0);
    // The same seed gives the same games.
    const SimRun again =
        runSim("--data " + dir.path() + " --seed 3 --games 4 --log " + dir.file("again.jsonl"));
    ASSERT_EQ(again.status, 0);
    EXPECT_EQ(lines(dir.file("again.jsonl")), log);
}

// The number after `"name":` in a log line (0 when absent).
long long numberField(const std::string& line, const std::string& name) {
    const std::string key = "\"" + name + "\":";
    const size_t at = line.find(key);
    return at == std::string::npos ? 0 : std::stoll(line.substr(at + key.size()));
}

TEST(KisharinSim, EachTurnStartsWithTheMoneyAndPointsTheLastOneLeft) {
    ScratchDir dir;
    writeNetwork(dir.path(), true);
    const SimRun r = runSim("--data " + dir.path() + " --seed 11 --games 3 --log " + dir.file("log.jsonl"));
    ASSERT_EQ(r.status, 0) << r.output;
    // Money and points of a player change between two of their turns only by what the
    // other player's turn did to them: a meeting, a gathering... Money is never touched
    // by the other player, so it carries over exactly.
    long long lastMoney[2] = {-1, -1};
    int game = 0, checked = 0;
    for (const auto& l : lines(dir.file("log.jsonl"))) {
        if (l.find("\"event\":\"start\"") != std::string::npos) {
            lastMoney[0] = lastMoney[1] = -1;
            ++game;
        }
        if (l.find("\"event\":\"turn\"") == std::string::npos) continue;
        const int p = static_cast<int>(numberField(l, "player"));
        if (lastMoney[p] >= 0) {
            EXPECT_EQ(numberField(l, "money_before"), lastMoney[p]) << "game " << game << ": " << l;
            ++checked;
        }
        lastMoney[p] = numberField(l, "money");
    }
    EXPECT_GT(checked, 20);
}

TEST(KisharinSim, LogsBetsAndSpecialEventsAndCountsThemAgainstTheirChances) {
    ScratchDir dir;
    writeNetwork(dir.path(), true);
    const SimRun r = runSim("--data " + dir.path() + " --seed 5 --games 40 --log " + dir.file("log.jsonl"));
    ASSERT_EQ(r.status, 0) << r.output;
    const auto log = lines(dir.file("log.jsonl"));
    // Player 1 stops on race courses and bets; the computer never does.
    int bets = 0;
    for (const auto& l : log) {
        if (l.find("\"event\":\"bet\"") == std::string::npos) continue;
        ++bets;
        EXPECT_NE(l.find("\"player\":0,"), std::string::npos) << l;
        for (const char* field : {"\"turn\":", "\"stake\":", "\"lane\":", "\"winner\":", "\"points\":"})
            EXPECT_NE(l.find(field), std::string::npos) << field << " in " << l;
        // A win pays a hundredth of the stake times the lane's factor 1..5; a loss costs
        // 50 points.
        const long long points = numberField(l, "points"), unit = numberField(l, "stake") / 100;
        ASSERT_GE(unit, 10) << l;
        if (numberField(l, "lane") == numberField(l, "winner")) {
            EXPECT_EQ(points % unit, 0) << l;
            EXPECT_GE(points / unit, 1) << l;
            EXPECT_LE(points / unit, 5) << l;
        } else {
            EXPECT_EQ(points, -50) << l;
        }
    }
    EXPECT_GT(bets, 0);
    int specials = 0;
    for (const auto& l : log) {
        if (l.find("\"event\":\"special\"") == std::string::npos) continue;
        ++specials;
        bool known = false;
        for (const char* kind : {"災害", "ワープ", "氏神", "全員集合", "地震"})
            known = known || l.find(std::string("\"kind\":\"") + kind + "\"") != std::string::npos;
        EXPECT_TRUE(known) << l;
        EXPECT_NE(l.find("\"moves\":["), std::string::npos) << l;
    }
    EXPECT_GT(specials, 0);
    EXPECT_NE(r.output.find("special events in "), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("(rules: 10.00)"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("race days of the players who bet: "), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("computer (player 2) wins: "), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("games ended: 40"), std::string::npos) << r.output;
}

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Player 2 at the other end of a real localhost connection, deciding from what a guest is
// shown: the same games, byte for byte, as with player 2 at this computer; with the ride
// window and a planner that bets and asks the god too.
TEST(KisharinSim, PlayerTwoOverTheNetworkPlaysTheSameGames) {
    ScratchDir dir;
    for (const std::string opts :
         {"--seed 7 --games 2", "--seed 4 --games 1 --area 3 --p2 strong --normal"}) {
        SCOPED_TRACE(opts);
        const SimRun here = runSim(opts + " --log " + dir.file("here.jsonl"));
        const SimRun remote = runSim(opts + " --remote --log " + dir.file("remote.jsonl"));
        ASSERT_EQ(here.status, 0) << here.output;
        ASSERT_EQ(remote.status, 0) << remote.output;
        // Player 2's turns were played over the connection, and none of its commands was refused.
        const size_t at = remote.output.find("player 2 over localhost: ");
        ASSERT_NE(at, std::string::npos) << remote.output;
        EXPECT_GT(std::stol(remote.output.substr(at + 25)), 50) << remote.output;
        EXPECT_NE(remote.output.find("refused or unanswered: 0\n"), std::string::npos) << remote.output;
        const std::string log = fileText(dir.file("here.jsonl"));
        EXPECT_GT(count(lines(dir.file("here.jsonl")), "\"event\":\"turn\",\"game\":1,\"turn\":40,"), 0);
        EXPECT_TRUE(log == fileText(dir.file("remote.jsonl")));
    }
}

TEST(KisharinSim, AGameThatCannotEndIsReportedStuck) {
    ScratchDir dir;
    writeNetwork(dir.path(), false);  // no line reaches another: most destinations are out of reach
    const SimRun r = runSim("--data " + dir.path() + " --games 1");
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_NE(r.output.find("stuck"), std::string::npos) << r.output;
}

TEST(KisharinSim, RefusesBadOptionsAndMissingData) {
    ScratchDir dir;
    EXPECT_EQ(runSim("--area 9").status, 2);
    EXPECT_EQ(runSim("--games x").status, 2);
    EXPECT_EQ(runSim("--bogus").status, 2);
    const SimRun r = runSim("--data " + dir.path());
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.output.find("駅.txt"), std::string::npos) << r.output;
}

// The scripted player's bet: the favourite lane, a tenth of the money at most, placed
// through the rules' commands.
TEST(ScriptedPlayer, BetsOnTheFavouriteWithATenthOfTheMoneyAtMost) {
    struct Case {
        Long money;
        Long stake;  // 0: no bet
    };
    for (const Case c : {Case{999, 0}, Case{1000, 1000}, Case{9999, 1000}, Case{50000, 5000},
                         Case{99999, 5000}, Case{100000, 10000}, Case{2000000, 100000}}) {
        SCOPED_TRACE(c.money);
        GameState s;
        s.curPlayer = 0;
        s.playerMoney[0] = c.money;
        sim::SimScreens screens;
        testing::FakeClock clock;
        DefaultRng rng(static_cast<double>(c.money));
        Game g{s, screens, rng, clock};
        Race race(rng);
        openBetQuestion(g, race);
        testing::ScriptedPlayer::favouriteBet(g, race);
        closeQuestion(g);
        if (c.stake == 0) {
            EXPECT_FALSE(race.started());
            continue;
        }
        ASSERT_TRUE(race.decided());
        EXPECT_EQ(race.stake(), c.stake);
        int favourite = 0;
        for (int i = 1; i < kLanes; ++i)
            if (race.odds(i) < race.odds(favourite)) favourite = i;
        EXPECT_EQ(race.laneAtFinish(), favourite);
        EXPECT_EQ(race.winPoints(), race.winner() == favourite ? c.stake / 100 * race.factor(favourite) : 0);
    }
}

TEST(KisharinSim, HelpPrintsTheUsageAndSucceeds) {
    for (const char* opt : {"--help", "-h", "--games 3 --help"}) {
        const SimRun r = runSim(opt);
        EXPECT_EQ(r.status, 0) << opt << "\n" << r.output;
        EXPECT_NE(r.output.find("使い方: kisharin-sim"), std::string::npos) << r.output;
        EXPECT_NE(r.output.find("--area"), std::string::npos) << r.output;
        EXPECT_EQ(r.output.find("知らないオプション"), std::string::npos) << r.output;
    }
}

TEST(JsonString, EscapesQuotesBackslashesAndControlCharacters) {
    EXPECT_EQ(sim::jsonString("12\\5;40\\1"), "\"12\\\\5;40\\\\1\"");
    EXPECT_EQ(sim::jsonString("言う\"はい\""), "\"言う\\\"はい\\\"\"");
    EXPECT_EQ(sim::jsonString("a\nb\tc\r"), "\"a\\nb\\tc\\r\"");
    EXPECT_EQ(sim::jsonString(std::string("\x01\x1f", 2)), "\"\\u0001\\u001f\"");
    EXPECT_EQ(sim::JsonObject().field("s", "x").field("n", 3).line(), "{\"s\":\"x\",\"n\":3}\n");
}

}  // namespace
}  // namespace kisharin::testing

namespace kisharin::testing {
namespace {

std::vector<std::string> endLines(const std::string& path) {
    std::vector<std::string> out;
    for (const std::string& l : lines(path))
        if (l.find("\"t\":\"end\"") != std::string::npos) out.push_back(l);
    return out;
}

// Every game of a record plays again to the end it wrote: both computers at each strength,
// short mode and the ride window (its score ticks, bets, lane choices and celebrations).
TEST(GameRecord, SimulatedGamesReplayToTheSameEnd) {
    ScratchDir dir;
    for (const std::string opts :
         {"--seed 2 --games 3 --p1 weak --p2 strong", "--seed 5 --games 2 --p1 strong --p2 normal --normal",
          "--seed 9 --games 2 --p2 weak --normal --area 3"}) {
        SCOPED_TRACE(opts);
        const std::string rec = dir.file("rec.jsonl");
        ASSERT_EQ(runSim(opts + " --record " + rec).status, 0);
        const std::vector<std::string> ends = endLines(rec);
        const std::vector<ReplayEnd> games = replayRecord(rec, shippedDataDir());
        ASSERT_EQ(games.size(), ends.size());
        for (size_t i = 0; i < games.size(); ++i) {
            EXPECT_TRUE(games[i].ended && games[i].matches) << i;
            EXPECT_NE(ends[i].find("\"points\":[" + std::to_string(games[i].points[0]) + "," +
                                   std::to_string(games[i].points[1]) + "]"),
                      std::string::npos);
        }
    }
    // The program prints the same numbers.
    const std::string rec = dir.file("rec.jsonl");
    const std::string cmd = "KISHARIN_DATA_DIR=" + shippedDataDir() + " " + KISHARIN_TEST_BINARY_DIR +
                            "/kisharin --replay " + rec + " 2>&1";
    FILE* f = ::popen(cmd.c_str(), "r");
    ASSERT_TRUE(f);
    std::string out;
    char buf[256];
    while (size_t n = std::fread(buf, 1, sizeof buf, f)) out.append(buf, n);
    EXPECT_EQ(WEXITSTATUS(::pclose(f)), 0) << out;
    EXPECT_EQ(out.rfind("game 1\npoints ", 0), 0u) << out;
}

// A damaged record is refused with its file and line; one that no longer agrees with the
// game (a command the rules refuse on replay) is too, and never half-played silently.
TEST(GameRecord, ADamagedOrDivergingRecordNamesItsLine) {
    ScratchDir dir;
    const std::string rec = dir.file("rec.jsonl");
    ASSERT_EQ(runSim("--seed 4 --games 1 --record " + rec).status, 0);
    std::vector<std::string> ls = lines(rec);
    auto write = [&](const std::vector<std::string>& edited) {
        std::ofstream out(rec, std::ios::trunc);
        for (const auto& l : edited) out << l << "\n";
    };
    auto expectFault = [&](const std::vector<std::string>& edited, const std::string& part) {
        write(edited);
        try {
            replayRecord(rec, shippedDataDir());
            ADD_FAILURE() << "replayed: " << part;
        } catch (const DataError& e) {
            EXPECT_NE(std::string(e.what()).find(part), std::string::npos) << e.what();
            EXPECT_EQ(e.file(), rec);
        }
    };
    size_t roll = 0;
    while (ls[roll].find("\"kind\":\"roll\"") == std::string::npos) ++roll;
    // A save at the start of a turn (the board's player's) is no step of the game.
    std::vector<std::string> saved = ls;
    saved.insert(
        saved.begin() + static_cast<long>(roll),
        {"{\"t\":\"cmd\",\"c\":{\"kind\":\"save\",\"player\":0,\"slot\":2}}", "{\"t\":\"save\",\"slot\":2}"});
    write(saved);
    EXPECT_TRUE(replayRecord(rec, shippedDataDir()).at(0).matches);
    std::vector<std::string> bad = ls;
    bad[roll] = "{\"t\":\"cmd\",\"c\":{\"kind\":\"fly\",\"player\":0}}";
    expectFault(bad, "行目");
    bad = ls;
    bad[roll] = "{\"t\":\"cmd\",\"c\":{\"kind\":\"work\",\"player\":1}}";  // not player 2's turn
    expectFault(bad, "食い違い");
    bad = ls;
    bad[0].replace(bad[0].find("\"data\":\"") + 8, 4, "0000");
    expectFault(bad, "違う駅データ");
}

}  // namespace
}  // namespace kisharin::testing

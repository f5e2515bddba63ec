// The story of a game told from its record, against what the simulator's own log says
// happened in each turn: the points and money, the events and bets, the destinations, the
// journeys and the end.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "../../tools/sim/story_check.h"
#include "platform/data_home.h"
#include "record/game_record.h"
#include "record/story.h"
#include "record/story_map.h"
#include "state/error.h"
#include "support/fakes.h"

namespace kisharin::testing {
namespace {

using nlohmann::json;

int runSimProgram(const std::string& args) {
    const std::string cmd =
        std::string(KISHARIN_TEST_BINARY_DIR) + "/tools/sim/kisharin-sim " + args + " >/dev/null 2>&1";
    return WEXITSTATUS(std::system(cmd.c_str()));
}

// The simulator's log, per game: its turn, special, bet and end lines.
std::map<int, std::vector<json>> logByGame(const std::string& path) {
    std::map<int, std::vector<json>> out;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        json j = json::parse(line);
        if (j.contains("game")) out[j["game"].get<int>()].push_back(std::move(j));
    }
    return out;
}

// Every game's story against the log: after each turn the mover's points and money are
// those the game had, the other player's are unchanged since their own turn, the events
// and bets stand at their turns, and the end is the replay's.
TEST(Story, EachTurnIsTheGamesOwnAndTheEndIsTheReplays) {
    ScratchDir dir;
    const std::string rec = dir.file("rec.jsonl"), log = dir.file("log.jsonl");
    int games = 0;
    for (const std::string opts :
         {"--seed 2 --games 3 --p1 weak --p2 strong", "--seed 7 --games 2 --p1 strong --p2 weak --normal",
          "--seed 11 --games 2 --p2 normal --area 5"}) {
        SCOPED_TRACE(opts);
        ASSERT_EQ(runSimProgram(opts + " --record " + rec + " --log " + log), 0);
        const std::vector<Story> stories = readStories(rec, shippedDataDir());
        const std::vector<ReplayEnd> ends = replayRecord(rec, shippedDataDir());
        const auto logged = logByGame(log);
        ASSERT_EQ(stories.size(), logged.size());
        ASSERT_EQ(stories.size(), ends.size());
        for (std::size_t i = 0; i < stories.size(); ++i) {
            SCOPED_TRACE("game " + std::to_string(i + 1));
            ++games;
            const Story& st = stories[i];
            std::array<long long, 2> points = st.turns[0].points, money = st.turns[0].money;
            int turns = 0, specials = 0, bets = 0;
            for (const json& j : logged.at(static_cast<int>(i) + 1)) {
                const std::string ev = j["event"];
                if (ev == "turn") {
                    const int t = j["turn"], p = j["player"];
                    ASSERT_LT(static_cast<std::size_t>(t), st.turns.size());
                    // What the turn began with is what the story had after the turn before.
                    EXPECT_EQ(points[static_cast<std::size_t>(p)], j["points_before"].get<long long>()) << t;
                    EXPECT_EQ(money[static_cast<std::size_t>(p)], j["money_before"].get<long long>()) << t;
                    EXPECT_EQ(st.turns[static_cast<std::size_t>(t)].player, p);
                    EXPECT_EQ(st.turns[static_cast<std::size_t>(t)].points[static_cast<std::size_t>(p)],
                              j["points"].get<long long>())
                        << t;
                    EXPECT_EQ(st.turns[static_cast<std::size_t>(t)].money[static_cast<std::size_t>(p)],
                              j["money"].get<long long>())
                        << t;
                    points = st.turns[static_cast<std::size_t>(t)].points;
                    money = st.turns[static_cast<std::size_t>(t)].money;
                    turns = t;
                } else if (ev == "special" || ev == "bet") {
                    const auto kind = ev == "bet" ? StoryEntry::Kind::Bet : StoryEntry::Kind::Special;
                    (ev == "bet" ? bets : specials) += 1;
                    const int n = static_cast<int>(
                        std::count_if(st.timeline.begin(), st.timeline.end(), [&](const StoryEntry& e) {
                            return e.kind == kind && e.turn == j["turn"].get<int>() &&
                                   e.player == j["player"].get<int>();
                        }));
                    EXPECT_GE(n, 1) << j.dump();
                } else if (ev == "end") {
                    EXPECT_EQ(j["points"], json(st.end.points));
                    EXPECT_EQ(j["money"], json(st.end.money));
                }
            }
            EXPECT_EQ(st.turns.size(), static_cast<std::size_t>(turns) + 1);
            EXPECT_EQ(
                std::count_if(st.timeline.begin(), st.timeline.end(),
                              [](const StoryEntry& e) { return e.kind != StoryEntry::Kind::Destination; }),
                specials + bets);
            // The end is the replay's, and the last turn's numbers are the end's.
            EXPECT_EQ(st.end.points, ends[i].points);
            EXPECT_EQ(st.end.money, ends[i].money);
            EXPECT_EQ(st.turns.back().points, ends[i].points);
            EXPECT_EQ(st.leader, ends[i].points[0] > ends[i].points[1]   ? 0
                                 : ends[i].points[1] > ends[i].points[0] ? 1
                                                                         : -1);
            // Each destination reached once, by the player the end counts it for, in the
            // turn the story says.
            std::array<int, 2> reached{};
            for (const StoryDestination& d : st.destinations)
                if (d.reachedBy >= 0) {
                    ++reached[static_cast<std::size_t>(d.reachedBy)];
                    EXPECT_GE(d.turn, 1);
                }
            EXPECT_EQ(reached, ends[i].arrived);
            int told = 0;
            for (const StoryEntry& e : st.timeline)
                if (e.kind == StoryEntry::Kind::Destination) {
                    ++told;
                    EXPECT_EQ(st.destinations[static_cast<std::size_t>(e.number - 1)].reachedBy, e.player);
                }
            EXPECT_EQ(told, reached[0] + reached[1]);
            // A journey holds together: every ride starts where the player stood.
            for (const auto& legs : st.journey) {
                ASSERT_FALSE(legs.empty());
                EXPECT_EQ(legs[0].how, JourneyLeg::How::Start);
                for (std::size_t k = 1; k < legs.size(); ++k)
                    if (legs[k].how == JourneyLeg::How::Ride) {
                        EXPECT_EQ(legs[k].line, legs[k - 1].line) << k;
                        EXPECT_EQ(legs[k].from, legs[k - 1].to) << k;
                    }
            }
            // Every station ridden has its place on the map of Japan.
            const StoryMap m = storyMap(st, shippedDataDir() + "MapData/");
            EXPECT_EQ(m.unplaced, 0);
            EXPECT_EQ(m.destinations.size(), 8u);
        }
    }
    EXPECT_EQ(games, 7);
}

// The benchmark's check of 1,000 games, on a handful of them (short and normal mode, the
// scripted player and the computer at each strength): each story's points and money after
// every turn are the game's own, and it ends where the record's end line does.
TEST(Story, AHandfulOfTheBenchmarksGamesTellTheirOwnFigures) {
    ScratchDir dir;
    for (const int game : {1, 6, 11, 14, 20}) {
        const std::string rec = dir.file(std::to_string(game) + ".jsonl");
        const std::vector<sim::TurnFigures> figures = sim::writeCheckedGame(rec, game);
        const std::vector<Story> stories = readStories(rec, shippedDataDir());
        ASSERT_EQ(stories.size(), 1u);
        EXPECT_EQ(sim::storyMismatch(stories[0], figures, rec), "") << "game " << game;
    }
}

// A record that cannot be read is refused with its file and line, never half told.
TEST(Story, ADamagedRecordNamesItsFileAndLine) {
    ScratchDir dir;
    const std::string rec = dir.file("rec.jsonl");
    ASSERT_EQ(runSimProgram("--seed 4 --games 1 --record " + rec), 0);
    std::vector<std::string> ls;
    {
        std::ifstream in(rec);
        for (std::string l; std::getline(in, l);) ls.push_back(l);
    }
    ASSERT_GT(ls.size(), 20u);
    ls[12] = "{\"t\":\"cmd\",\"c\":{\"kind\":";
    {
        std::ofstream out(rec, std::ios::trunc);
        for (const auto& l : ls) out << l << "\n";
    }
    try {
        readStories(rec, shippedDataDir());
        ADD_FAILURE() << "told a damaged record";
    } catch (const DataError& e) {
        EXPECT_EQ(e.file(), rec);
        EXPECT_EQ(e.line(), 13);
        EXPECT_NE(std::string(e.what()).find("13"), std::string::npos) << e.what();
    }
}

}  // namespace
}  // namespace kisharin::testing

// A simulated game written into a record of its own, with both players' points and money
// after every turn as the game itself had them (not as a replay sees them), and the check
// of the story of that record against them and against the record's own end line: the
// story's figures must be the game's, turn for turn.
#pragma once

#include <array>
#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "record/story.h"
#include "sim_record.h"

namespace kisharin::sim {

struct TurnFigures {
    std::array<long long, 2> points{}, money{};
    bool operator==(const TurnFigures&) const = default;
};

// Game i of the benchmark and its test: seed i, taking turns over every pairing of player 1
// (scripted, or the computer at each strength) with player 2 (the computer at each
// strength), in short and in normal mode (24 ways).
inline Sides sidesOfGame(int i) {
    const int way = (i - 1) % 24;
    static const SideKind p1[] = {SideKind::Script, SideKind::Weak, SideKind::Normal, SideKind::Strong};
    static const SideKind p2[] = {SideKind::Weak, SideKind::Normal, SideKind::Strong};
    return {p1[way % 12 / 3], p2[way % 3], way >= 12};
}

// Plays game `i` into the record at `path` (a new file); the figures after each turn,
// the start first.
inline std::vector<TurnFigures> writeCheckedGame(const std::string& path, int i) {
    std::vector<TurnFigures> figures;
    auto take = [&](const Game& g, std::size_t turn) {
        figures.resize(std::max(figures.size(), turn + 1));
        for (int p = 0; p < 2; ++p) {
            figures[turn].points[static_cast<std::size_t>(p)] = g.s.playerPoint[p];
            figures[turn].money[static_cast<std::size_t>(p)] = g.s.playerMoney[p];
        }
    };
    GameObserver watch;
    watch.onStart = [&](const Game& g) { take(g, 0); };
    watch.onTurn = [&](const Game& g, int turn, const TurnReport&) {
        take(g, static_cast<std::size_t>(turn));
    };
    writeSimRecord(path, i, 1, 5000, sidesOfGame(i), watch);
    return figures;
}

// The points and money of the record's own `end` line, read here from the JSON (empty when
// the game did not come to its results).
inline std::vector<TurnFigures> recordEnd(const std::string& path) {
    std::vector<TurnFigures> out;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        const nlohmann::json j = nlohmann::json::parse(line, nullptr, false);
        if (j.is_object() && j.value("t", "") == "end")
            out.push_back({{j["points"][0].get<long long>(), j["points"][1].get<long long>()},
                           {j["money"][0].get<long long>(), j["money"][1].get<long long>()}});
    }
    return out;
}

// "" when the story of the record at `path` has, after every turn, the figures the game
// had and ends where the record's end line does; else the first difference.
inline std::string storyMismatch(const Story& story, const std::vector<TurnFigures>& game,
                                 const std::string& path) {
    auto text = [](const TurnFigures& f) {
        char b[160];
        std::snprintf(b, sizeof b, "points %lld %lld money %lld %lld", f.points[0], f.points[1], f.money[0],
                      f.money[1]);
        return std::string(b);
    };
    if (story.turns.size() != game.size())
        return "turns: the story has " + std::to_string(story.turns.size()) + ", the game " +
               std::to_string(game.size());
    for (std::size_t t = 0; t < game.size(); ++t) {
        const TurnFigures told{story.turns[t].points, story.turns[t].money};
        if (told != game[t])
            return "turn " + std::to_string(t) + ": the story's " + text(told) + ", the game's " +
                   text(game[t]);
    }
    const std::vector<TurnFigures> end = recordEnd(path);
    if (story.end.ended != (end.size() == 1)) return "the story and the record disagree on whether it ended";
    if (!end.empty() && !(end[0] == game.back()))
        return "end: the record's " + text(end[0]) + ", the last turn's " + text(game.back());
    return "";
}

}  // namespace kisharin::sim

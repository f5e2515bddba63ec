// Simulated games written into a record, in this process, as kisharin-sim --record does
// (the window tests, the benchmarks and the screenshots have no simulator program at hand).
#pragma once

#include <string>

#include "platform/data_home.h"
#include "platform/temp_folder.h"
#include "platform/text_file.h"
#include "sim_game.h"

namespace kisharin::sim {

// Plays `games` games on the shipped railway into the record at `path`, game i from the
// generator's sequence of `seed`; each game stops after `maxTurns` turns. Returns the
// number of turns of each game. `observer` is told of every game as it is played.
inline std::vector<int> writeSimRecord(const std::string& path, double seed, int games, int maxTurns = 5000,
                                       Sides sides = {}, const GameObserver& observer = {}) {
    const TempFolder folder("kisharin-simrec-");
    writeBytesAtomic(folder.path() + "履歴0.txt", "");
    writeBytesAtomic(folder.path() + "履歴1.txt", "");
    GameState base;
    base.appDir = shippedDataDir();
    base.historyBase = folder.path() + "履歴";
    base.playerName[0] = "たろう";
    base.playerName[1] = "はなこ";
    loadBoardData(base);
    DefaultRng rng(seed);
    RecordWriter recorder(path);
    std::vector<int> turns;
    for (int game = 1; game <= games; ++game) {
        GameState s = base;
        SimScreens screens;
        SimClock simClock(screens, 45000.375 + game, std::fmod(seed * 7919.0 + game * 3607.0, 86400.0));
        RecordingClock clock(simClock, recorder);
        turns.push_back(
            playGame(s, screens, rng, clock, maxTurns, observer, sides, nullptr, &recorder, game == 1).turns);
    }
    return turns;
}

}  // namespace kisharin::sim

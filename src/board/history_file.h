// The arrival history of a player: one line "L P" per station reached, appended as
// stations are reached and kept across games. A damaged history never stops a game:
// what can be read is read, and the player is told what was left out and why.
#pragma once

#include <string>
#include <vector>

#include "state/game_state.h"

namespace kisharin {

// One line of a history that could not be used.
struct HistoryProblem {
    int line = 0;      // 1-based
    std::string what;  // what is wrong with it, in Japanese
};

struct HistoryParse {
    VisitedTable visited;
    std::vector<HistoryProblem> problems;  // bad lines that were skipped
    // A last record cut short (no line end and not a whole record, as a crash while
    // appending leaves it): its line number, 0 when there is none. The bytes before it
    // are the file's good part.
    int cutLine = 0;
    size_t goodBytes = 0;
};

// Reads the records in bytes. Lines and positions are 0..750 and 0..100; blank lines
// are skipped; every other line that is not "L P" is a problem.
HistoryParse parseHistory(const std::string& bytes);

// Reads a player's history file for the board. A missing file is an empty history.
// A record cut short at the end is dropped and the file is rewritten without it;
// other bad lines are skipped. Each of these adds a notice for the player (naming the
// file, the line and what to do) to `notices`. With repair false nothing is written: a
// record cut short is only left out (the board removes it when it next loads).
VisitedTable loadHistory(const std::string& path, std::vector<std::string>& notices, bool repair = true);

// The record of one arrival, as the history file holds it: "L P".
std::string historyRecord(int line, int pos);

// The history file of player p: historyBase & p & ".txt".
std::string historyPath(const GameState& s, int player);

}  // namespace kisharin

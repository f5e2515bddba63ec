// The arrival history of a player: one line "L P" per station reached, appended as
// stations are reached and kept across games.
#pragma once

#include <string>

#include "state/game_state.h"

namespace kisharin {

// Reads a history file into a fresh table of flags. Blank lines are skipped. Throws
// DataError naming the file and the line for a missing file, bytes that are not CP932,
// a line that is not two decimal numbers separated by one blank, or a station outside
// lines 1..750, positions 1..100.
VisitedTable readHistoryFile(const std::string& path);
VisitedTable parseHistory(const std::string& bytes, const std::string& name);

// The record of one arrival, as the history file holds it: "L P".
std::string historyRecord(int line, int pos);

// The history file of player p: historyBase & p & ".txt".
std::string historyPath(const GameState& s, int player);

}  // namespace kisharin

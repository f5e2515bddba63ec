// The three save slots: GameData1.txt .. GameData3.txt in the player's GameData folder,
// 42 values one per line (area, clock, play time, turn, the eight destinations, then
// the two players).
#pragma once

#include <string>
#include <vector>

#include "state/game_state.h"

namespace kisharin {

inline constexpr int kSlotLines = 42;
inline constexpr int kSlotCount = 3;

// The 42 lines of a slot for the game as it stands.
std::vector<std::string> slotLines(const GameState& s);

// The clock as a slot keeps it: "yyyy/mm/dd hh:mm:ss", the date alone at midnight.
std::string slotClockText(double serial);

// Reads the 42 lines into s. All or nothing: a slot shorter than 42 lines, or a line that
// does not convert to its value or holds a value the game cannot have, throws DataError
// naming the slot and the line, and s is left as it was. Lines after the 42nd are ignored.
void applySlotLines(GameState& s, const std::vector<std::string>& lines, const std::string& slotName);

// Writes slot n atomically (cmdSave_Click): the old file stays whole when writing fails.
void writeSlot(const std::string& gameDataDir, int n, const GameState& s);

// Reads slot n into s (cmdLoad_Click); throws DataError as applySlotLines does, or when
// the file cannot be read.
void readSlot(const std::string& gameDataDir, int n, GameState& s);

// After the railway data has been read: throws DataError naming the slot line when a
// loaded destination or player position is not a station of the data.
void checkSlotStations(const GameState& s, const std::string& slotName);

}  // namespace kisharin

// The arrival history: every station a player reaches is remembered across games, one
// record per station in the player's history file, and reaching the last unvisited
// station of a line conquers the line.
#pragma once

#include "turns/game.h"

namespace kisharin {

// Records curPlayer's arrival at (playerRosen, playerEki). A station already visited
// changes nothing. A new one is appended to the player's history file and then marked
// visited; when that completes the line, and the line is not an air route, the player
// conquers it: the celebration (skipped in short mode), the message and 100 points.
// A failed write is shown in the message window (naming the file) and leaves the flag
// False, so the turn goes on and the arrival is written at the next chance.
void 到達履歴(Game& g);

// True when player has visited every station 1..n of line (false for a line without
// stations).
bool lineComplete(const GameState& s, int player, int line);

}  // namespace kisharin

// The arrival history: every station a player reaches is remembered across games, and
// reaching every station of a line conquers it.
#pragma once

#include "turns/game.h"

namespace kisharin {

// Records the arrival of curPlayer at the current station, appends it to the player's
// history file and celebrates a line conquered by it.
void 到達履歴(Game& g);

}  // namespace kisharin

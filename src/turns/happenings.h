// Travel happenings: the small strokes of luck or bad luck after a ride.
#pragma once

#include "state/game_state.h"
#include "turns/game.h"

namespace kisharin {

// Fills the happening texts and the jobs of the game state.
void buildEventTables(GameState& s);

// After a ride: maybe a happening that changes curPlayer's points or money.
void travelHappening(Game& g);

}  // namespace kisharin

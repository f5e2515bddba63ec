// The way to the nearest destination the player about to move has yet to reach.
#pragma once

#include "state/game_state.h"

namespace kisharin {

// Fills s.routeList and s.routeCount for s.curPlayer: item 0 is the destination, the
// last item the start, and between them the stations where the route changes lines.
// When no pending destination can be reached the route is empty and routeCount 0.
void 道のり(GameState& s);

}  // namespace kisharin

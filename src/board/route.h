// The way to the nearest destination the player about to move has yet to reach.
//
// The network searched: a node is a station (L, P) that is a destination (reached or
// not) or has transfer links, plus the start. From a node the search goes along its
// line to the nearest such station on either side (cost: the stations between) and over
// each transfer link (cost 1). The nearest node is settled next; between equal distances
// the one that entered the frontier first wins, and a candidate whose distance improved
// counts as entering at its improvement. The first pending destination settled is the
// goal.
#pragma once

#include <string>

#include "state/game_state.h"

namespace kisharin {

// Fills s.routeList and s.routeCount for s.curPlayer: item 0 is the destination, the
// last item the start, and between them the stations where the route changes lines
// (each on the old line and on the new one). Every item carries the total distance
// (stations travelled plus one per change of line) and the goal's key. When no pending
// destination can be reached the route is empty and routeCount 0.
void 道のり(GameState& s);

// The key of a station in the route: "P" & line & "-" & position, e.g. "P12-5".
std::string routeKey(int line, int pos);

}  // namespace kisharin

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

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "state/game_state.h"

namespace kisharin {

class RouteGraph;

// Fills s.routeList and s.routeCount for s.curPlayer: item 0 is the destination, the
// last item the start, and between them the stations where the route changes lines
// (each on the old line and on the new one). Every item carries the total distance
// (stations travelled plus one per change of line) and the goal's key. When no pending
// destination can be reached the route is empty and routeCount 0.
void 道のり(GameState& s);

// The key of a station in the route: "P" & line & "-" & position, e.g. "P12-5".
std::string routeKey(int line, int pos);

// What the searches share:
// The railway's graph, or one built for this search alone (kept in `own`) when the railway
// tables have none (tables built by hand, not read from the station file).
const RouteGraph& searchGraph(const GameState& s, std::shared_ptr<const RouteGraph>& own);

// A walk along the line of station (line, pos) stops at the nearest station on either side
// with transfer links (below, above; 0 when there is none): and at any of the destinations
// that lies nearer on the line.
inline void stopAtDestinations(std::span<const Station> destinations, int line, int pos, int& below,
                               int& above) {
    for (const Station& d : destinations) {
        if (d.line != line) continue;
        if (d.pos < pos && d.pos > below) below = d.pos;
        if (d.pos > pos && (above == 0 || d.pos < above)) above = d.pos;
    }
}

// The way found, in the form of s.routeList, from its goal and each station's one before
// (`pred`, -1 at the start): of three consecutive points on one line the middle one goes,
// from the start end on. Every item carries `length`, or when none is given the stations
// travelled plus one per change of line, and the goal's key.
std::vector<RoutePoint> routeOfWalk(const RouteGraph& g, int goal, const std::function<int(int)>& pred,
                                    std::optional<Long> length = std::nullopt);

}  // namespace kisharin

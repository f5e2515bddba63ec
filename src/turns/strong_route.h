// The way つよい takes to a destination when the ride window pays its points.
//
// The game's route counts stations, all alike. A player at the board knows better: a
// station of 新幹線 goes by at a die's face a turn where 急行 goes two, a flight takes a
// whole turn, and their fares (5,000 and 30,000 yen a station) are turns of work for a
// player without the money. This way weighs every station by the turns it takes and the
// work its fare will need, so a poor planner stays on the ordinary lines and a rich one
// flies.
#pragma once

#include <vector>

#include "state/game_state.h"

namespace kisharin {

// Turns a station of each kind of line takes, money aside.
inline constexpr double kTurnsPerOrdinaryStation = 1.0 / 7;  // 急行: twice the die's 3.5
inline constexpr double kTurnsPerShinkansenStation = 1.0 / 3.5;
inline constexpr double kTurnsPerFlight = 1.0;
inline constexpr double kTurnsPerChange = 0.05;  // free, but a route of fewer is easier to keep
// Turns of work a yen of fare costs: a turn of work earns about 10,000 yen. A player with
// this much money or more pays its fares without working for them, almost.
inline constexpr double kTurnsPerYenPoor = 1.0 / 10000;
inline constexpr double kTurnsPerYenRich = 0.2 / 10000;
inline constexpr Long kStrongRichMoney = 60000;

// The way from curPlayer's station to the open destination nearest in turns, in the form
// of s.routeList (item 0 the destination, the last item the start, between them the
// stations where it changes lines, each on the old line and on the new one; every item
// carries the way's length in stations). Empty when no open destination can be reached.
std::vector<RoutePoint> strongRoute(const GameState& s, Long money);

}  // namespace kisharin

// A simple way to play a turn, for the simulator and for the computer opponent until
// the real computer player exists: change lines where the route changes lines, choose
// the kind and the station toward the route's next point, work when the fare cannot
// be paid.
#pragma once

#include <vector>

#include "state/types.h"
#include "turns/game.h"

namespace kisharin {

// What one turn of the policy did.
struct PolicyTurn {
    enum class Action { Move, Work, Claim } action = Action::Move;
    std::vector<Station> transfers;  // stations changed to, in order
    int kind = 0;
    int die = 0;     // face thrown (0 when no die was thrown)
    int steps = 0;   // stations allowed
    int target = 0;  // station clicked on the line
};

// Plays one whole turn for curPlayer through the same handlers a player's clicks run.
// `pause` runs 間 before each action (the computer opponent); the simulator skips it.
PolicyTurn playSimpleTurn(Game& g, bool pause = false);

}  // namespace kisharin

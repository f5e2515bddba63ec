// The events after a move: the random travel event with its rare special events, and
// race betting on race-course stations.
//
// Not built yet: both do nothing for now. Nothing else in the game relies on that; the
// turn runs them at their place in the order and goes on.
#pragma once

#include "turns/game.h"

namespace kisharin {

void 移動イベント(Game& g);
void 賭け事イベント(Game& g);

}  // namespace kisharin

// The eight destinations: the arrival check, the end of the game, the earthquake that
// moves them, and the models of the destination list and the course window.
#pragma once

#include "turns/game.h"

namespace kisharin {

// Awards a pending destination at (playerRosen(curPlayer), position) and sets moveDone;
// on the eighth shows the end message and the results and sets g.ended.
void checkArrival(Game& g, int position);

// The earthquake: every pending destination moves to a new station.
void 地震目的地変更(Game& g);

}  // namespace kisharin

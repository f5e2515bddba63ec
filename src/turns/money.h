// Money, work and points.
#pragma once

#include <string>

#include "state/types.h"
#include "turns/game.h"

namespace kisharin {

// A work turn: the die gives the hours worked at a job drawn at random.
void doWork(Game& g);

// The "アルバイト" button: doWork, then the hand-over to the next player.
void cmdWork_Click(Game& g);

// The points button: shows both players' points.
void cmdPoint_Click(Game& g);

// Money as the money label shows it, e.g. "￥30,000".
std::string moneyText(Long yen);

}  // namespace kisharin

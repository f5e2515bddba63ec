// Money, work and points.
#pragma once

#include <string>

#include "setup/values.h"  // moneyText
#include "state/types.h"
#include "turns/game.h"

namespace kisharin {

// A work turn: a job drawn at random, the die gives the hours worked, the pay times the
// hours is added to curPlayer's money; the steps allowed are cleared.
void doWork(Game& g);

// The "アルバイト" button: doWork, then the hand-over to the next player.
void cmdWork_Click(Game& g);

// The "ポイント確認" button: shows both players' points; changes nothing.
void cmdPoint_Click(Game& g);

}  // namespace kisharin

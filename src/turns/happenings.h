// Travel happenings: the small strokes of luck or bad luck after every ride, and the
// fixed tables of their texts and of the jobs.
#pragma once

#include "state/game_state.h"
#include "turns/game.h"

namespace kisharin {

// Fills pointUpMsgs (41), pointDownMsgs (40), moneyUpMsgs (11), moneyDownMsgs (11),
// jobNames and jobPay (8).
void buildEventTables(GameState& s);

// After a ride, for curPlayer: one in four a gain of 1..100 points, one in four a loss
// of as many, one in eight a gain of 1000..10000 yen, one in eight a loss of as much
// (which may leave the player in debt), one in four nothing. Announced in the message
// window; a change of money also refreshes the board.
void travelHappening(Game& g);

}  // namespace kisharin

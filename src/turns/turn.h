// The turn cycle: the roll, the end of a move in its fixed order, the hand-over to the
// other player and the computer's one-second pause.
#pragma once

#include "turns/game.h"

namespace kisharin {

// Stations per pip of train kind k: 1, 2, 3 for 各停, 急行, 特急; 0 for the kinds that
// use the die as it is.
int stepFactor(int kind);
// The ride scene's tick in milliseconds for train kind k (1..5).
int rideTickMs(int kind);

// "進む": the money check, rideInfo, the die, the stations allowed; locks the kind.
void cmdSusumu_Click(Game& g);

// Throws the die in the dice window and returns its face, held to 1..6 whatever the
// window answers. Used by the roll and by work.
int throwDie(Game& g);

// Back to the choosing state: no stations allowed, the kinds free again, the buttons of
// a turn's start shown and the fare line restored.
void resetForNextRoll(Game& g);

// The end of a ride, after the ride's own messages: arrival, happening, reset for the
// next roll, the debt and meeting rules, moveDone.
void endOfRide(Game& g);

// After the destination check of a station click: when moveDone, the event and the
// hand-over (finishTurn).
void afterStationClick(Game& g);

// 順番チェンジ: stores the scroll value and kind of the player who moved, switches
// curPlayer and shows the board for the new player.
void 順番チェンジ(Game& g);

// 間: waits one second while the windows keep processing their events.
void 間(Game& g);

// The hand-over after a move or work: 順番チェンジ, pending window events, the route
// search for the new player, then the computer's turn or the board enabled.
void finishTurn(Game& g);

// The board's opening: the data and the new game (or the resumed one), the happening
// tables, then showBoard.
void openBoard(Game& g);

// The board's opening after its data and game are in place: the kind of the player to
// move, the caption, money, route search, kind check, line display, scroll value, and
// the computer's turn when it is to move.
void showBoard(Game& g);

// When the computer is to move: disables the board and runs its turn.
void startComputerTurnIfDue(Game& g);

}  // namespace kisharin

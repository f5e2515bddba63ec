// The turn cycle: the roll, the end of a move in its fixed order, the hand-over to the
// other player and the computer's one-second pause.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "turns/game.h"

namespace kisharin {

// Stations per pip of train kind k: 1, 2, 3 for 各停, 急行, 特急; 0 for the kinds that
// use the die as it is.
int stepFactor(int kind);
// The ride scene's tick in milliseconds for train kind k (1..5).
int rideTickMs(int kind);

// The handlers below carry out commands that `apply` (turns/command.h) has checked.

// "進む": the money check, rideInfo, the die, the stations allowed; the turn is rolled.
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

// 間: the computer's one-second pause before each of its actions. Between two steps of
// its turn the board's timer waits it out; headless, Screens::pause counts it.
inline constexpr double kComputerPause = 1.0;
void 間(Game& g);

// The hand-over after a move or work: 順番チェンジ, pending window events, the route
// search for the new player, then the new turn begins.
void finishTurn(Game& g);

// A turn begins for curPlayer: the turn is before its roll, and the board takes clicks
// unless the player's seat plays by itself.
void beginTurn(Game& g);

// The turn loop. playSeatStep plays one step of the turn when the seat to move plays by
// itself (played false when the game is over, a question or command is open, or the
// player's commands come from elsewhere); the step says how long the seat pauses before
// the next. The board calls it on its timer. playSeatTurn plays a whole such turn, the
// pauses going through Screens::pause (headless); runTurnLoop plays such turns one after
// another, at most maxTurns, and returns how many. Two seats that both play by themselves
// play a whole game.
struct SeatStep {
    bool played = false;
    TurnStep step;
};
SeatStep playSeatStep(Game& g);
bool playSeatTurn(Game& g);
int runTurnLoop(Game& g, int maxTurns);

// The board's data and game: the station file, the histories, the new game or the
// resumed one (its stations checked against the railway), the happening tables. Returns
// the notices of a damaged history. Throws GameError when the game cannot start.
std::vector<std::string> loadBoard(GameState& s, Rng& rng, Clock& clock, int loadedSlot,
                                   const std::function<void()>& beforeDraw = {});

// The board's opening: loadBoard, its notices in the message window, then showBoard.
void openBoard(Game& g, int loadedSlot = 0);

// The board's opening after its data and game are in place: the kind of the player to
// move, the caption, money, route search, kind check, line display, scroll value, and
// the first turn begins.
void showBoard(Game& g);

}  // namespace kisharin

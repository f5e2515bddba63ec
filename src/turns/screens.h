// How the rules reach the windows. The desktop program implements this with modal Qt
// dialogs; tests and the headless simulator implement it with scripted answers and no
// waiting, so that whole games run without a display.
#pragma once

#include <string>

#include "state/clock.h"
#include "state/game_state.h"
#include "state/rng.h"

namespace kisharin {

class Screens {
public:
    virtual ~Screens() = default;

    // The message window: shows s.messageText, coloured for s.curPlayer, until it closes
    // itself (two seconds).
    virtual void showMessage(const GameState& s) = 0;

    // The dice window: shows faces drawn from rng until the roll stops, then returns
    // the face shown (1..6).
    virtual int rollDice(const GameState& s, Rng& rng) = 0;

    // The ride scene for the ride just made (startEki to playerEki of curPlayer). It
    // re-seeds rng from clock for the scenery and pays curPlayer its points.
    virtual void showRide(GameState& s, Rng& rng, Clock& clock) = 0;

    // The celebration of a conquered line (the title colour is drawn from rng, re-seeded
    // from clock).
    virtual void showConquest(GameState& s, int line, Rng& rng, Clock& clock) = 0;

    // A yes/no question (the warp hole); true for yes.
    virtual bool askYesNo(const GameState& s, const std::string& question) = 0;

    // The prefecture picker in move mode: the prefecture chosen, or the empty text when
    // the player closed the picker without choosing (the player then does not move).
    virtual std::string pickPrefecture(GameState& s) = 0;

    // The race-betting window: sets betCancelled, betStake and betWinPoints.
    virtual void runBet(GameState& s, Rng& rng) = 0;

    // The disaster picture of the given kind sliding across the board.
    virtual void showDisaster(const GameState& s, int kind) = 0;

    // The results screen; the game is over when it returns.
    virtual void showResults(const GameState& s) = 0;

    // Waits the given seconds while the windows keep processing their events.
    virtual void pause(double seconds) = 0;

    // Lets the windows process what is pending.
    virtual void processEvents() = 0;

    // Redraws the board from the rules' models.
    virtual void refreshBoard(const GameState& s) = 0;

    // Enables or disables the board for input (disabled while the computer moves).
    virtual void enableBoard(bool enabled) = 0;
};

}  // namespace kisharin

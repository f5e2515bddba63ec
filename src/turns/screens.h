// How the rules show the game: the presenter. The desktop program implements it with
// modal Qt windows; tests and the headless simulator with records and no waiting, so that
// whole games run without a display. It decides nothing: the answers a turn needs come
// from the seat of the player asked (turns/seat.h).
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

    // The dice window: rolls a DieRoll (turns/dice.h) on rng, showing its faces as they
    // come, and returns the face it stopped on (1..6).
    virtual int rollDice(const GameState& s, Rng& rng) = 0;

    // The ride scene for the ride just made (startEki to playerEki of curPlayer). It
    // re-seeds rng from clock for the scenery and returns how many of its score ticks
    // passed while it was open (the rules pay the points for them).
    virtual int showRide(const GameState& s, Rng& rng, Clock& clock) = 0;

    // The celebration of a conquered line (the title colour is drawn from rng, re-seeded
    // from clock).
    virtual void showConquest(GameState& s, int line, Rng& rng, Clock& clock) = 0;

    // Starts the disaster picture of kind 1..3 (tornado, fire, tsunami) sliding across
    // the board from its left edge; returns at once, the slide goes on while play does.
    virtual void showDisaster(const GameState& s, int kind) = 0;

    // Shows event picture 4 (warp hole) or 5 (guardian god) centred over the board;
    // 0 hides it.
    virtual void showEventPicture(const GameState& s, int picture) = 0;

    // Moves the board window sideways by the given twips (negative: to the left).
    virtual void shakeBoard(int twips) = 0;

    // The results screen; the game is over when it returns.
    virtual void showResults(const GameState& s) = 0;

    // Holds the game the given seconds inside a command (the moments between the
    // earthquake's moves; headless it may only count them). Nothing else runs meanwhile.
    // The computer's pauses between its steps are the driver's (turns/turn.h).
    virtual void pause(double seconds) = 0;

    // Shows the board as it stands now (after the hand-over), without taking events.
    virtual void processEvents() = 0;

    // Redraws the board from the rules' models.
    virtual void refreshBoard(const GameState& s) = 0;

    // Enables or disables the board for input (disabled while the computer moves).
    virtual void enableBoard(bool enabled) = 0;
};

// A presenter that shows nothing of the board itself (the replay, the screenshots): only
// the die, the ride and the celebration are left to it.
class QuietScreens : public Screens {
  public:
    void showMessage(const GameState&) override {}
    void showDisaster(const GameState&, int) override {}
    void showEventPicture(const GameState&, int) override {}
    void shakeBoard(int) override {}
    void showResults(const GameState&) override {}
    void pause(double) override {}
    void processEvents() override {}
    void refreshBoard(const GameState&) override {}
    void enableBoard(bool) override {}
};

}  // namespace kisharin

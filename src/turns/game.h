// Everything a rule needs to act: the one game state, the windows, chance and time, and
// the models of the board's strip and controls.
#pragma once

#include <functional>

#include "board/line_display.h"
#include "board/text_metrics.h"
#include "state/clock.h"
#include "state/game_state.h"
#include "state/rng.h"
#include "turns/board_model.h"
#include "turns/event_log.h"
#include "turns/screens.h"

namespace kisharin {

// The last ride made by a station click: where it started and ended and what it cost.
struct RideRecord {
    int player = 0;
    int line = 0;
    int start = 0;
    int end = 0;
    Long fare = 0;
    bool cut = false;        // stopped short of the clicked station
    bool overslept = false;  // went past it
};

struct Game {
    GameState& s;
    Screens& screens;
    Rng& rng;
    Clock& clock;
    bool ended = false;     // the last destination was reached and the results were shown
    LineDisplayModel line;  // the strip of the displayed line and its scroll bar
    BoardControls board;    // the controls below the strip
    const TextMetrics* metrics = &fixedTextMetrics();  // the board's fonts
    // The computer's turn, run by the hand-over when comOpponent is on and player 2 is
    // to move; empty means nobody plays for the computer.
    std::function<void(Game&)> computerTurn;
    RideRecord lastRide;
    // Told of every special event and race bet when set (the simulator's game log).
    EventLog* eventLog = nullptr;
};

}  // namespace kisharin

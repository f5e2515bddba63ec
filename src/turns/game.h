// Everything a rule needs to act: the one game state, the windows, chance and time.
#pragma once

#include "state/clock.h"
#include "state/game_state.h"
#include "state/rng.h"
#include "turns/screens.h"

namespace kisharin {

struct Game {
    GameState& s;
    Screens& screens;
    Rng& rng;
    Clock& clock;
    bool ended = false;  // the last destination was reached and the results were shown
};

}  // namespace kisharin

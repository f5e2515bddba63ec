// The pictures of the special events and the betting window.
#pragma once

#include <QString>

#include "screens/frmMain.h"
#include "state/game_state.h"
#include "state/rng.h"

namespace kisharin {

// Writes them into dir; returns how many were written.
int saveEventScreenshots(FrmMain& board, GameState& s, Rng& rng, const QString& dir);

}  // namespace kisharin

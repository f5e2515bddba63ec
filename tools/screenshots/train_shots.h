// The eight train pictures coloured with real lines' colours, by day and at night, and
// the ride's scenery pieces, as pictures.
#pragma once

#include <QString>

#include "state/game_state.h"

namespace kisharin {

// Writes trains.png and scenery.png into outDir (s: railway loaded, appDir set); the
// number of pictures written.
int saveTrainScreenshots(const GameState& s, const QString& outDir);

}  // namespace kisharin

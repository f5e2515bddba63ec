// The ride window and the celebration as pictures: a ride by day, cloudy, in the
// evening, at night, underground, on a shinkansen viaduct, a flight, a ride cut short,
// a ride to a line's end, and a conquest.
#pragma once

#include <QString>

#include "state/game_state.h"

namespace kisharin {

// Writes the pictures into outDir (s: railway loaded, appDir set); the number written.
int saveRideScreenshots(const GameState& s, const QString& outDir);

}  // namespace kisharin

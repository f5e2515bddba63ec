// What the ride says on arrival in voice mode: the station's reading, then the lines
// one can change to there.
#pragma once

#include <string>
#include <vector>

#include "platform/speech.h"
#include "state/game_state.h"

namespace kisharin {

inline constexpr const char* kAnnounceIs = "です";
inline constexpr const char* kAnnounceManyLines = "各線お乗り換えです。";
inline constexpr const char* kAnnounceChange = "はお乗り換えです。";

// The sentences, in the order they are spoken, for the arrival of curPlayer at
// playerEki on playerRosen, with the transfer rows of the displayed line.
std::vector<std::string> arrivalAnnouncement(const GameState& s);

// Speaks them one after the other; each returns once it has been spoken.
void announceArrival(const GameState& s, Speech& voice);

}  // namespace kisharin

// The start of the board: the fixed tables, the railway data and both histories, and
// for a new game the clock, money, train kinds, start stations and destinations.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "state/clock.h"
#include "state/game_state.h"
#include "state/rng.h"

namespace kisharin {

// Height of the board's viewport in pixels, and the strip's geometry it scrolls.
inline constexpr int kViewportHeight = 433;
inline constexpr int kViewportWidth = 750;
inline constexpr int kStationPitch = 35;

// Largest scroll value of the strip of a line of n stations (negative for short lines).
int scrollMaxFor(int stationCount);

// The scroll value that brings station `pos` of a line of n stations into view.
int scrollValueFor(int pos, int stationCount);

// Builds mapDataDir, kindFare and the region tables, then reads appDir &
// "GameData/駅.txt" and the two history files (historyBase & 0|1 & ".txt"). All or
// nothing: on a DataError the railway tables and visited flags stay as they were.
// A damaged history does not stop the load: the notices for the player are returned.
std::vector<std::string> loadBoardData(GameState& s);

// A new game: clock, play time, train kinds, money, the two start stations (each
// attempt re-seeded from the timer) with their scroll values, and curPlayer = 0.
// Throws GameError when the data has no station in the play area.
void setupNewGame(GameState& s, Rng& rng, Clock& clock);

// The eight destinations of a new game: destination i in region i for the whole
// country, eight different stations of the area for a regional game. Does nothing
// when resumeGame is True. Throws GameError, drawing nothing, when the data cannot
// give them.
void drawDestinations(GameState& s, Rng& rng, Clock& clock);

// Draws destination d (1..8) with the running sequence: a station of region d for the
// whole country; for a regional game a station of the area that differs from
// destinations 1..d-1. nullopt when no station of the data lies where it must.
std::optional<Station> drawDestination(const GameState& s, Rng& rng, Clock& clock, int d);

// The turn caption: playerName & "の番です（" & prefecture of the player's station & "）".
std::string turnCaption(const GameState& s);

// Steps of the board's start that need no window, in order: the data, then for a new
// game its set-up and destinations; for a resumed game the loaded variables stay and
// the selected kind becomes the player's kind. Returns the notices of loadBoardData.
// `beforeDraw`, when given, is called once the data is read and before a new game's start
// is drawn (the game's record begins there).
std::vector<std::string> startBoard(GameState& s, Rng& rng, Clock& clock,
                                    const std::function<void()>& beforeDraw = {});

}  // namespace kisharin

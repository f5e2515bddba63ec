// The eight regions of Japan, their prefectures and colours, and the fixed fares.
#pragma once

#include <string>

#include "state/game_state.h"

namespace kisharin {

// Fills regionName, regionPrefs and regionColor.
void buildRegionTables(GameState& s);

// Fills kindFare: 1 各停 150, 2 急行 300, 3 特急 500, 4 新幹線 5000, 5 飛行機 30000 yen a station.
void buildFareTable(GameState& s);

// The region 1..8 whose prefecture list holds pref, or 0.
int regionOf(const GameState& s, const std::string& pref);

// All 47 prefecture names in region order.
std::vector<std::string> allPrefectures(const GameState& s);

}  // namespace kisharin

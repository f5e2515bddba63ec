// The results window's texts: per player the name, points, money and destinations
// reached, and the play time.
#pragma once

#include <string>

#include "state/game_state.h"

namespace kisharin {

struct ResultsModel {
    std::string man[2], point[2], money[2], arrive[2];
    std::string playTime;  // "PlayTime：" and the time
};

// Hours and minutes of play: "1時間2分", "1時間", "2分", or nothing below a minute.
std::string playTimeText(long seconds);

ResultsModel resultsModel(const GameState& s);

}  // namespace kisharin

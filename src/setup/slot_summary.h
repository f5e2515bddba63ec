// What a save slot holds, told beside it in the slot pickers: the game's date and time,
// the play area, and where each player stands with how much money.
#pragma once

#include <string>
#include <vector>

#include "state/game_state.h"

namespace kisharin {

struct SlotSummary {
    bool exists = false;
    std::string problem;  // a slot that cannot be read: why (names the file and line)
    std::string clock;    // the game's date and time as the slot keeps it
    Integer area = 0;     // 0 the whole country, 1..8 a region
    Long money[2] = {0, 0};
    std::string station[2];  // "line　station駅", or the line and position numbers without railway data

    // The lines shown beside the slot; `names` are the players' names.
    std::vector<std::string> lines(const std::string (&names)[2]) const;
};

// The caption of a play area: "日本全国版", "北海道版" … "九州版".
std::string areaCaption(int area);

// Reads slot n of gameDataDir without touching the game. railway gives the station names;
// with no lines in it the stations are told by their numbers.
SlotSummary readSlotSummary(const std::string& gameDataDir, int n, const RailwayData& railway);

}  // namespace kisharin

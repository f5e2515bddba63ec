// What a save slot holds, told beside it in the slot pickers: when it was saved, the play
// area, and where each player stands with how much money.
#pragma once

#include <string>
#include <vector>

#include "state/area_caption.h"
#include "state/game_state.h"

namespace kisharin {

struct SlotSummary {
    bool exists = false;
    std::string problem;  // a slot that cannot be read: why (names the file and line)
    std::string clock;    // the game's date and time as the slot keeps it
    // When the slot was saved: the slot file's own time ("yyyy/mm/dd hh:mm", local time),
    // as the slot's lines do not hold it; empty when the file's time cannot be read.
    std::string savedAt;
    Integer area = 0;  // 0 the whole country, 1..8 a region
    Long money[2] = {0, 0};
    std::string station[2];  // "line　station駅", or the line and position numbers without railway data

    // The lines shown beside the slot; `names` are the players' names (the slot does not
    // hold them).
    std::vector<std::string> lines(const std::string (&names)[2]) const;
};

// A file's time of last change as local "yyyy/mm/dd hh:mm"; empty when it cannot be read.
std::string fileTimeText(const std::string& path);

// Reads slot n of gameDataDir without touching the game. railway gives the station names;
// with no lines in it the stations are told by their numbers.
SlotSummary readSlotSummary(const std::string& gameDataDir, int n, const RailwayData& railway);

}  // namespace kisharin

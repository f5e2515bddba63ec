// Questions about the railway tables every part of the game asks.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "state/game_state.h"

namespace kisharin {

// Number of lines N: lines are 1..N, ending before the first line with an empty name
// (750 when none is empty).
int lineCount(const RailwayData& d);

// Number of stations n of a line: positions 1..n have names, n + 1 has none (at most 100).
int stationCount(const RailwayData& d, int line);

// One link of a station to the same place on another line.
struct Link {
    int line = 0;
    int pos = 0;
    friend bool operator==(const Link&, const Link&) = default;
};

// A whole text as a decimal integer ("12", "-3"); false for anything else, blanks included.
bool parseDecimal(std::string_view text, int& out);

// The entries of a link text such as "12\5;40\1". Entries that are not two numbers
// are left out (the station file reader refuses them before they get here).
std::vector<Link> parseLinks(const std::string& text);

// True when line is 1..N and pos is one of its stations.
bool isStation(const RailwayData& d, int line, int pos);

}  // namespace kisharin

// The railway network file GameData/駅.txt: a header line, then one record of five
// tab-separated lines per railway line (links, names, readings, prefectures, markers).
#pragma once

#include <string>

#include "state/game_state.h"

namespace kisharin {

// Reads the file at path into a fresh RailwayData. The file line number i (from 1)
// decides the table: i mod 5 = 2 links (field 0 is the line number L), 3 names,
// 4 readings, 0 prefectures, 1 markers; line 1 is a header and is skipped whatever it
// holds. A later record with the same line number overwrites the fields it has.
// Throws DataError naming the file and the line for a missing file, bytes that are
// not CP932, a line number that is not a number or lies outside 1..750, more than
// 101 fields, or a link that is malformed or points outside the tables.
RailwayData readStationFile(const std::string& path);

// The same on the file's bytes; name is used in messages.
RailwayData parseStationFile(const std::string& bytes, const std::string& name);

// Writes a RailwayData in the same format (header line first, lines 1..N). Fields
// after the last non-empty one of each table row are left out.
std::string formatStationFile(const RailwayData& d, const std::string& header);

}  // namespace kisharin

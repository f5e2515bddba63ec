// The files the game ships in data/GameData: the railway network 駅.txt and the first
// contents of the player's own files (NameData.txt, URL.txt, 履歴0.txt, 履歴1.txt).
#pragma once

#include <string>
#include <vector>

#include "databuilder/network.h"

namespace kisharin::databuilder {

// The header line of 駅.txt (the game skips it): what the data is and where it is from.
extern const char* const kStationFileHeader;

// The address of the web map the board's map button opens at first.
extern const char* const kFirstWebMapUrl;

// NameData.txt at first: two names, player 2 a human ("Man"), short mode Off,
// voice On, the whole country.
std::vector<std::string> firstNameDataLines();

// Writes <dataDir>/GameData/駅.txt and the player's first files, each replaced as a
// whole. Throws GameError when a file cannot be written.
void writeGameData(const Network& net, const std::string& dataDir);

}  // namespace kisharin::databuilder

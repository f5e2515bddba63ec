// Where the game's files live: the shipped data (read only) and the player's own
// folder, which holds the settings, the arrival histories and the save slots.
#pragma once

#include <string>
#include <vector>

namespace kisharin {

// The folder of the shipped data, ending with "/": $KISHARIN_DATA_DIR if set; else,
// for an installed game, ../share/kisharin beside the program's folder; else data/
// beside the program (the build tree links it there); else the folder the build was
// configured with.
std::string shippedDataDir();

// The same lookup, given the program's path and the environment's value: a candidate
// counts when it holds GameData/駅.txt.
std::string findShippedDataDir(const std::string& programPath, const std::string& fromEnv,
                               const std::string& configured);

// The folders that lookup tries, in order (the environment's value alone when set).
std::vector<std::string> shippedDataCandidates(const std::string& programPath, const std::string& fromEnv,
                                               const std::string& configured);

// Whether dir holds the shipped data (GameData/駅.txt).
bool holdsShippedData(const std::string& dir);

// The player's manual (Manual.htm): beside the shipped data in the build tree, in
// share/doc/kisharin when installed. Empty when neither exists.
std::string manualPath(const std::string& shippedDir);

// The player's folder, ending with "/": $KISHARIN_DATA_HOME, else $XDG_DATA_HOME/kisharin,
// else ~/.local/share/kisharin. Not created by this call.
std::string userDataDir();

// userDataDir() & "GameData/", created on first use; a file of the shipped
// GameData folder's first contents (NameData.txt, URL.txt, 履歴0.txt, 履歴1.txt) that
// the player's folder lacks is copied there, and temporary files left there by a game
// killed while saving are removed. Throws GameError when the folder cannot be made, or,
// naming the folders looked in and writing nothing, when shippedDir does not hold the
// shipped data.
std::string ensureUserGameData(const std::string& shippedDir);

// Creates a folder and its parents; throws GameError on failure.
void makeDirectories(const std::string& path);

}  // namespace kisharin

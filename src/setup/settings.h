// The setup window's settings: the player names and options kept in NameData.txt and
// the web map address kept in URL.txt, both in the player's GameData folder.
#pragma once

#include <string>
#include <vector>

#include "state/game_state.h"

namespace kisharin {

inline constexpr int kNameLimit = 3;  // characters, not bytes
// The longest web map address the setup window holds whole (characters); a longer one
// in URL.txt is refused with a message instead of being cut.
inline constexpr int kUrlLimit = 65536;

// What the setup window shows and the two files keep. The option fields hold the index
// of the selected option button: player 0 "Man" / 1 "Com", short and voice 0 "On" /
// 1 "Off", area 0..8.
struct Settings {
    std::string name1 = "ひかり";
    std::string name2 = "のぞみ";
    int player = 1;
    int shortOpt = 1;
    int voiceOpt = 1;
    int area = 0;
    std::string url = "https://www.google.com/maps";
    friend bool operator==(const Settings&, const Settings&) = default;
};

// The settings read, with a message for every value that had to fall back.
struct SettingsLoad {
    Settings settings;
    std::vector<std::string> problems;  // one Japanese message per fallback, naming file and line
};

// Reads NameData.txt and URL.txt from gameDataDir (ending with "/"). A file that is
// missing or unreadable, or a line that is missing, out of range or not a number,
// takes the value of the shipped file in shippedGameDataDir, or when that one is no
// better the built-in value; every such fallback adds a message. Never throws.
SettingsLoad readSettings(const std::string& gameDataDir, const std::string& shippedGameDataDir);

// The six lines of NameData.txt and the one of URL.txt.
std::vector<std::string> nameDataLines(const Settings& st);
std::vector<std::string> urlLines(const Settings& st);

// Writes both files atomically. Throws GameError (or DataError for a text CP932 cannot
// hold); a file that could not be written is left as it was.
void writeSettings(const std::string& gameDataDir, const Settings& st);

// What a text box of the setup window accepts: the characters CP932 can write, without
// line breaks.
std::string acceptedText(const std::string& typed);
// What a name box accepts: the same, at most three characters.
std::string acceptedName(const std::string& typed);

// True when both names are given (the start buttons do nothing otherwise).
bool namesGiven(const Settings& st);

// Copies the settings into the game: names with "さん", the options, the address, the area.
void データ設定(GameState& s, const Settings& st);

// The setup window's choices as a game starts: データ設定, except that a resumed game
// keeps the play area it was saved with (its destinations were drawn there); the area
// chosen on the screen is still what the settings file remembers for the next new game.
void startWithSettings(GameState& s, const Settings& st, bool resume);

// Erases the travel memories: both history files become empty files (created when
// missing). Throws GameError when a file cannot be written.
void eraseMemories(const GameState& s);

// The save slot file of slot n (1..3) in gameDataDir.
std::string slotPath(const std::string& gameDataDir, int n);

// Sets slotExists(1..3) from the files present; true when any slot exists.
bool checkSlots(GameState& s, const std::string& gameDataDir);

}  // namespace kisharin

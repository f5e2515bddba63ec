// The story of a game, told from its record: both players' points and money after every
// turn, the destinations reached, the special events and race bets on the same time
// line, each player's journey (the lines and stations ridden, in order), and who led at
// the end. It is built by playing the record again (replayRecord) and watching the game
// as it goes; nothing is kept beside the record.
#pragma once

#include <array>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "record/game_record.h"

namespace kisharin {

// Both players after one turn (turn 0: the board as the game began).
struct StoryTurn {
    int turn = 0;
    int player = -1;  // who moved in it (-1 for turn 0)
    std::array<long long, 2> points{}, money{};
};

struct StoryEntry {
    enum class Kind { Destination, Special, Bet };
    Kind kind = Kind::Destination;
    int turn = 0;
    int player = 0;
    std::string text;       // what happened, in Japanese
    int line = 0, pos = 0;  // Destination: the station reached
    int number = 0;         // Destination: 1..8
    long long points = 0;   // Bet: points won (-50 lost, 0 cancelled)
};

// One step of a journey. Ride: along `line` from station `from` to `to`; Change: onto
// `line` at `to` (a transfer at the same place); Moved: put at (`line`, `to`) by an
// event or by loading a saved game, without riding; Start: where the game began.
struct JourneyLeg {
    enum class How { Start, Ride, Change, Moved };
    How how = How::Start;
    int turn = 0;
    int line = 0, from = 0, to = 0;
};

// A station the story names: its name, its line's name and its prefecture, and the
// station whose platform places it on a map (itself; for an airport, which has no
// platform, a railway station linked with it).
struct StoryStation {
    std::string name, lineName, pref;
    int placeLine = 0, placePos = 0;
    std::string placePref;
};

// One of the eight destinations as the game ended.
struct StoryDestination {
    int line = 0, pos = 0;
    int reachedBy = -1;  // the player who reached it, -1 when nobody did
    int turn = 0;        // the turn it was reached in
};

struct Story {
    std::array<std::string, 2> names;
    int area = 0;             // 0 the whole country, 1..8 a region
    std::string areaCaption;  // 日本全国版, 北海道版, ...
    bool shortMode = false;
    std::vector<StoryTurn> turns;  // turns[0] is the start
    std::vector<StoryEntry> timeline;
    std::array<std::vector<JourneyLeg>, 2> journey;
    std::array<StoryDestination, 8> destinations;
    // Every station a journey or a destination touches, by (line, position).
    std::map<std::pair<int, int>, StoryStation> stations;
    ReplayEnd end;
    int leader = -1;  // who had more points at the end; -1 a tie

    const StoryStation& station(int line, int pos) const;
    // "東京（山手線）"
    std::string stationText(int line, int pos) const;
    // Who led at the end: "たろう の勝ち（1234P 対 567P）", or a draw.
    std::string leaderText() const;
};

// The story of every game in the record at `path`, with the shipped data at `appDir`.
// Throws DataError (file and line, in Japanese) as replayRecord does for a record that
// cannot be read or played.
std::vector<Story> readStories(const std::string& path, const std::string& appDir);

}  // namespace kisharin

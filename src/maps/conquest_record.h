// The conquest record 「乗りつぶし記録」: every station and line each player slot has
// reached across all games, counted from the railway data and the two history files.
//
// A station here is a distinct station name within a prefecture: a station on several
// lines counts once and is reached when any of its line positions is visited. A line is
// conquered when every one of its positions is visited (as on the board); air routes
// (names holding "飛行機") are left out of the conquered lines, as the conquest rule
// leaves them out. "Together" counts what the two players have reached between them.
#pragma once

#include <array>
#include <string>
#include <unordered_map>
#include <vector>

#include "state/game_state.h"

namespace kisharin {

// Who a figure is for: player 1, player 2, or both together.
inline constexpr int kTogether = 2;

// Reached counts for player 1, player 2 and together, out of a total.
struct Tally {
    std::array<int, 3> reached{};
    int total = 0;
    friend bool operator==(const Tally&, const Tally&) = default;
};

// A prefecture, a region or the whole country.
struct PlaceFigures {
    std::string name;
    Tally stations;  // distinct stations reached
    Tally lines;     // lines conquered, of the lines with a station here (air routes left out)
};

struct LineFigures {
    int line = 0;
    std::string name;
    bool air = false;              // an air route: never conquered
    int positions = 0;             // its stations, 1..n
    std::array<int, 3> visited{};  // positions visited
    std::vector<int> prefCodes;    // the prefectures (1..47) it has stations in
    bool conquered(int who) const { return !air && positions > 0 && visited[who] == positions; }
    int left(int who) const { return positions - visited[who]; }
};

// One station in the sense above.
struct StationFigures {
    std::string pref;
    std::string name;
    std::array<bool, 3> reached{};
};

struct ConquestRecord {
    PlaceFigures all;
    std::array<PlaceFigures, 9> regions;  // 1..8
    std::array<PlaceFigures, 48> prefs;   // by prefecture code 1..47
    std::vector<LineFigures> lines;       // lines 1..N in order
    std::vector<StationFigures> stations;
    // The index in `stations` of (prefecture, name).
    std::unordered_map<std::string, int> stationIndex;

    // The station of (prefecture, name), or nullptr.
    const StationFigures* station(const std::string& pref, const std::string& name) const;
};

// The figures of a railway and the two players' arrival flags.
ConquestRecord conquestRecord(const RailwayData& d, const VisitedTable& v0, const VisitedTable& v1);

// The prefecture code 1..47 of a prefecture name, 0 for a name that is none.
int prefectureCode(const std::string& name);

// What the record is counted from, read without writing anything: the railway data and
// both histories. A damaged history is read as far as it goes and gives the notices the
// board gives (a record cut short is left out but stays in the file for the board to
// repair). Throws DataError when the station file cannot be read.
struct ConquestInputs {
    RailwayData railway;
    std::array<VisitedTable, 2> visited;
    std::vector<std::string> notices;
};
// stationFile: the path of 駅.txt; historyBase: the player's GameData folder & "履歴".
ConquestInputs readConquestInputs(const std::string& stationFile, const std::string& historyBase);
// The same with a railway already read (the board's).
ConquestInputs readConquestHistories(const RailwayData& railway, const std::string& historyBase);

// The record as tab-separated text for `kisharin --conquest`: the header
// "kind name player1 player2 total", 47 prefecture rows (stations reached), one row per
// region, one per line (positions visited), then "all stations" and
// "all conquered_lines". The total column is what there is to reach.
std::string conquestTsv(const ConquestRecord& r);

// The order of the lines list: lines not yet conquered by `who` first, fewest stations
// left first (then by line number); conquered lines after them. Returns indexes into
// r.lines, keeping only lines with a station in prefecture `prefCode` (0: any) and in
// region `region` (0: any).
std::vector<int> lineOrder(const ConquestRecord& r, int who, int region, int prefCode);

// The share steps of the map's legend: 0 nothing reached, 1 a few (under 25 %),
// 2 under 50 %, 3 under 75 %, 4 under 100 %, 5 all; -1 when there is nothing to reach.
inline constexpr int kShareSteps = 6;
int shareStep(int reached, int total);
// The legend's caption of a step, e.g. "0 %", "25 % 未満", "100 %"; "駅なし" for -1.
std::string shareStepCaption(int step);

}  // namespace kisharin

// The one shared state of a game: every variable the screens and the rules share,
// under the names the rest of the game uses. There is exactly one GameState per game;
// every screen and rule works on that one copy.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "state/table.h"
#include "state/types.h"

namespace kisharin {

class RouteGraph;  // board/route_graph.h

inline constexpr bool True = true;
inline constexpr bool False = false;

// The railway network as read from the station file. Position 0 of a line holds the
// line itself: its number (ekiLink), name (ekiName), reading (ekiYomi), train
// descriptor (ekiPref) and marker (ekiMark). Positions 1..n are its stations.
struct RailwayData {
    RailTable<std::string> ekiLink{"ekiLink"};
    RailTable<std::string> ekiName{"ekiName"};
    RailTable<std::string> ekiYomi{"ekiYomi"};
    RailTable<std::string> ekiPref{"ekiPref"};
    RailTable<std::string> ekiMark{"ekiMark"};
    // The stations and links the route search walks, built from these tables when the
    // station file is read (shared by copies; whoever edits ekiLink or ekiName after
    // that resets it). Without it the search reads the tables afresh.
    std::shared_ptr<const RouteGraph> routeGraph;
};

// Arrival flags of one player, per (line, position).
using VisitedTable = RailTable<bool>;

// One point of the route to the nearest pending destination.
struct RoutePoint {
    Integer line = 0;
    Integer pos = 0;
    Long distance = 0;   // total length of the route, in stations
    std::string key;     // key of the destination the route leads to
    friend bool operator==(const RoutePoint&, const RoutePoint&) = default;
};

// What the die hands to the ride scene.
struct RideInfo {
    std::string caption;  // caption of the chosen train kind
    Long color = 0;       // its text colour (red + green*256 + blue*65536)
    Integer value = 0;    // the kind's entry of the ride table
};

// Where the turn of the player to move stands. Every command is checked against it.
enum class TurnPhase : int {
    Choosing,  // before the roll: kind, transfers, the roll, work, a claim on the own station
    Rolled,    // the die has given susumuSteps: only a station in reach (or a claim)
    Over,      // the last destination was reached
};

// The question a player is to answer while a command is carried out. Race: the player's
// bet was placed and its race runs; the lane option is chosen by commands until the finish.
enum class Question : int { None, Warp, God, Bet, Race };

struct GameState : RailwayData {
    // --- Paths and settings -------------------------------------------------------
    std::string appDir;       // folder of the shipped data, ending with "/"
    std::string historyBase;  // player's GameData folder & "履歴"; file of player p: historyBase & p & ".txt"
    std::string mapDataDir;   // appDir & "MapData/"
    std::string webMapUrl;
    bool comOpponent = False;
    bool shortMode = False;
    bool voiceMode = False;
    Integer playArea = 0;  // 0 whole country, 1..8 a region
    bool resumeGame = False;
    Array1D<bool, 4> slotExists;

    // --- Railway tables (RailwayData above) and arrival flags --------------------
    Array1D<VisitedTable, 2> visited;

    // --- Region tables ------------------------------------------------------------
    Array1D<std::string, 9> regionName;
    Array1D<std::vector<std::string>, 9> regionPrefs;
    Array1D<Long, 9> regionColor;

    // --- Players ------------------------------------------------------------------
    Array1D<std::string, 2> playerName;
    Array1D<Integer, 2> playerRosen;
    Array1D<Integer, 2> playerEki;
    Array1D<Integer, 2> startEki;
    Array1D<Long, 2> playerMoney;
    Array1D<Long, 2> playerPoint;
    Array1D<Integer, 2> playerKind;
    Array1D<Integer, 2> playerScroll;
    Array1D<Integer, 2> arriveCount;

    // --- Game progress ------------------------------------------------------------
    Integer curPlayer = 0;
    double gameClock = 0;  // days since 1899-12-30 with the time as a fraction
    Long playSeconds = 0;
    Array1D<Integer, 9> mokutekitiRosen;
    Array1D<Integer, 9> mokutekitiEki;
    Array1D<bool, 9> mokutekitiDone;
    Integer susumuSteps = 0;
    bool moveDone = False;
    bool rideCut = False;
    RideInfo rideInfo;
    std::vector<RoutePoint> routeList;  // item 1 of the route is routeList[0]
    Integer routeCount = 0;

    TurnPhase turnPhase = TurnPhase::Choosing;
    bool commandRunning = False;         // a command is being carried out (ride, events, hand-over)
    Question question = Question::None;  // asked of curPlayer
    Integer questionRegion = 0;          // the warp hole's region while it asks

    // --- Screen and hand-over state -------------------------------------------------
    Table2D<Integer, 151, 3> norikaeList{"norikaeList"};
    Integer norikaeCount = 0;
    std::string messageText;

    // --- Event tables and betting ----------------------------------------------------
    std::vector<std::string> pointUpMsgs, pointDownMsgs;
    std::vector<std::string> moneyUpMsgs, moneyDownMsgs;
    std::vector<std::string> jobNames;
    std::vector<Long> jobPay;
    std::string raceName;
    bool betCancelled = False;
    Long betStake = 0;
    Integer betWinPoints = 0;

    // --- Board variables ----------------------------------------------------------------
    Array1D<Long, 6> kindFare;
    Integer selKind = 1;
    bool overslept = False;
};

// Colour as one Long: red + green * 256 + blue * 65536.
constexpr Long rgb(int r, int g, int b) { return r + g * 256 + b * 65536; }
constexpr int redOf(Long c) { return c & 0xFF; }
constexpr int greenOf(Long c) { return (c >> 8) & 0xFF; }
constexpr int blueOf(Long c) { return (c >> 16) & 0xFF; }

}  // namespace kisharin

// The game's railway network built from the open data: lines numbered by region from
// north to south, then by operator and name; the air routes after them; transfer
// links between the same station on different lines, walking transfers between
// stations close to each other, links between airports and the railway stations at
// them; race-course markers.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "databuilder/open_data.h"
#include "state/game_state.h"

namespace kisharin::databuilder {

// Transfer labels the board shows for one line (the rows of norikaeList): a line with
// more links is cut into sections.
constexpr int kMaxTransferLabels = 150;

// Stations on different lines at most this far apart get a walking transfer.
constexpr double kWalkingMetres = 300.0;

// Counts of what was built, for the builder's report. Links are counted as pairs of
// stations; each pair is written at both ends.
struct NetworkStats {
    int railwayLines = 0;
    int airRoutes = 0;
    int railwayStations = 0;  // stations of the railway lines, (line, position) pairs
    int places = 0;           // distinct railway stations (equal ids counted once)
    int airportStations = 0;
    int splitLines = 0;  // data lines longer than 100 stations, cut into sections
    int sameStationLinks = 0;
    int walkingPlacePairs = 0;  // pairs of nearby places that got walking transfers
    int walkingLinks = 0;
    int airportRailLinks = 0;
    int sameAirportLinks = 0;
    int markers = 0;                // stations (line, position) carrying a race-course marker
    std::array<int, 9> pictures{};  // railway lines per train picture 1..8
    int mappedChars = 0;            // characters replaced to fit CP932
};

// Where a station of the built network lies, for the railway maps.
struct StationPlace {
    int line = 0;      // the game's line number
    int pos = 0;       // position on that line
    int lineCode = 0;  // the open data's line code; 0 for an air route
    double lat = 0;    // an airport lies at the first railway station serving it
    double lng = 0;
};

struct Network {
    RailwayData data;
    NetworkStats stats;
    std::vector<StationPlace> places;  // every station, by line then position
};

// Builds the network. A line longer than 100 stations, or with more than
// kMaxTransferLabels links, is cut into sections that share their end stations. Throws
// DataError for a game table naming a station or an airport
// the data lacks, a prefecture outside the region table, or more than 750 lines;
// GameError when the finished network falls apart into pieces that cannot reach each
// other.
Network buildNetwork(const OpenData& open);

// Great-circle distance in metres.
double distanceMetres(double lat1, double lng1, double lat2, double lng2);

}  // namespace kisharin::databuilder

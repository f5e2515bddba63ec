// The railway maps the game ships in data/MapData/<prefecture>/: for every prefecture
// its boundary (PL.dat, L.dat), the box a player travels in (NEWS.dat), the tracks of
// every line running through it (L_rr.dat), a platform at every station (L_st.dat) and
// a name label per station and line (St.dat), built from the prefecture boundaries and
// the track polylines of the open data and from the built railway network.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "databuilder/geometry.h"
#include "databuilder/network.h"
#include "databuilder/open_data.h"

namespace kisharin::databuilder {

// Tracks are simplified so that no dropped bend lies farther than this from the drawn
// line: a fraction of a pixel even at the largest zoom of the smallest prefecture.
constexpr double kTrackToleranceMetres = 5.0;
// Tracks are kept this share of the opening view's size beyond each of its edges.
constexpr double kTrackMargin = 0.1;
// A station's platform: this long, along the track when one passes this close.
constexpr double kPlatformMetres = 150.0;
constexpr double kPlatformTrackMetres = 300.0;
// Labels keep at least this much room inside the box (degrees).
constexpr double kLabelRoomDegrees = 0.005;

// The geometry of the open data the maps are drawn from.
struct MapOpenData {
    struct Prefecture {
        std::string name;
        std::vector<std::vector<Polyline>> parts;  // per polygon: its outer ring, then its holes
    };
    std::vector<Prefecture> prefectures;          // in file order
    std::map<int, std::vector<Polyline>> tracks;  // line code -> track pieces, as in the data
};

// Reads prefectures/prefectures.json and station_database/polyline/<line code>.json.
// Throws DataError naming the file and line for a missing or malformed file.
MapOpenData readMapOpenData(const std::string& dir);

// Parses one prefecture file or one track file (name is used in messages).
std::vector<MapOpenData::Prefecture> parsePrefecturesJson(const std::string& text, const std::string& name);
std::vector<Polyline> parseTrackJson(const std::string& text, const std::string& name);

struct PrefectureMap {
    struct Keyed {
        std::string key;
        Polyline points;
        std::string third;  // the kind of a track ("11" JR, "12" other), a platform's station
    };
    struct Label {
        std::string station;
        GeoPt at;
        std::string line;
    };
    std::string name;
    std::vector<Keyed> boundary;   // L.dat, in drawing order; PL.dat lists their keys
    Box bounds;                    // NEWS.dat
    std::vector<Keyed> tracks;     // L_rr.dat
    std::vector<Keyed> platforms;  // L_st.dat
    std::vector<Label> labels;     // St.dat
    int straightPlatforms = 0;     // platforms laid across the neighbouring stations, no track near
};

// The view the map opens on for a box, as the map screen computes it (an almost square
// piece in kilometres with a margin).
Box openingView(const Box& bounds);

// Builds the maps of all prefectures of prefecture.csv, by prefecture code. Throws
// DataError when the boundaries lack a prefecture or name one the game does not know,
// GameError when a name to be written holds a comma.
std::vector<PrefectureMap> buildMaps(const OpenData& open, const Network& net, const MapOpenData& geo);

// The six files of a prefecture's folder, by file name, as bytes (CP932, CR LF).
std::map<std::string, std::string> mapFileBytes(const PrefectureMap& map);

// Writes <dataDir>/MapData/<prefecture>/ for every map, each file replaced as a whole.
void writeMapData(const std::vector<PrefectureMap>& maps, const std::string& dataDir);

}  // namespace kisharin::databuilder

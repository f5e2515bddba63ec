// The railway map of one prefecture as it lies in its folder of six files:
//   PL.dat    the keys of the boundary polylines, one per line, in drawing order
//   L.dat     key,coordinates            boundary polylines
//   NEWS.dat  four numbers: west, east, south, north (degrees)
//   L_rr.dat  key,coordinates,kind       railway tracks (kind 11: drawn thick)
//   L_st.dat  key,coordinates,station    station platforms
//   St.dat    station,longitude,latitude,line   one name label per station and line
// Files are CP932 with CR LF; a coordinate list is "lat lon lat lon ..." separated by
// single blanks.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace kisharin {

// One vertex of a polyline, in degrees.
struct GeoPoint {
    double lat = 0;
    double lon = 0;
    friend bool operator==(const GeoPoint&, const GeoPoint&) = default;
};

using GeoLine = std::vector<GeoPoint>;

// A railway track or a platform: key, vertices and the third field (the kind text for
// tracks, the station name for platforms).
struct MapLineRecord {
    std::string key;
    GeoLine points;
    std::string extra;
};

// One station label: where its top-left corner stands, its caption and its hint.
struct SameStationRecord {
    double lon = 0;
    double lat = 0;
    std::string name;
    std::string line;
};

// The five tables and the bounding box of one prefecture.
struct MapData {
    std::string pref;                               // the prefecture these tables are of
    std::vector<std::string> prefLineOnly;          // lvwPrefLineOnly
    std::unordered_map<std::string, GeoLine> line;  // lvwLine
    std::vector<MapLineRecord> lineRr;              // lvwLine_rr
    std::vector<MapLineRecord> lineSt;              // lvwLine_st
    std::vector<SameStationRecord> sameStation;     // lvwSameStation
    float boundW = 0, boundE = 0, boundS = 0, boundN = 0;

    bool empty() const {
        return prefLineOnly.empty() && line.empty() && lineRr.empty() && lineSt.empty() &&
               sameStation.empty();
    }
    // Number of polyline vertices in all tables (boundary, tracks, platforms).
    size_t vertexCount() const;
};

// The folder of prefecture `pref`'s files: mapDataDir + pref + "/".
std::string prefectureFolder(const std::string& mapDataDir, const std::string& pref);

// The six file names in the order they are read.
inline constexpr const char* kMapFiles[6] = {"PL.dat", "L.dat", "NEWS.dat", "L_rr.dat", "L_st.dat", "St.dat"};

// Reads the six files of prefecture `pref` from folder mapDataDir + pref. Every record is
// checked; the first fault throws DataError naming "<pref>/<file>", the line and what is
// wrong (a missing file, NEWS.dat of other than four numeric lines, too few fields, a
// duplicate key, a coordinate list with an odd count or a value that is not a number, a
// label position that is not a number, a latitude beyond ±90 or a longitude beyond ±180
// (infinities and NaN included), a PL.dat key missing from L.dat). Nothing is
// returned on a fault, so a map is drawn whole or not at all.
MapData データ読込(const std::string& mapDataDir, const std::string& pref);

// The bytes of one of the six files by its name (PL.dat ...); nullopt when it is missing.
using MapFileSource = std::function<std::optional<std::string>(const char* file)>;

// The same checks on files from elsewhere than a folder (named as if in MapData/<pref>/).
MapData データ読込(const MapFileSource& files, const std::string& pref);

// Only the boundary of prefecture `pref` (PL.dat and the L.dat polylines it names, in
// PL.dat's order), checked as データ読込 checks them.
std::vector<GeoLine> readBoundary(const std::string& mapDataDir, const std::string& pref);

// Only the platforms of prefecture `pref` (L_st.dat: key s<line>_<position>, the
// platform's vertices, the station), checked as データ読込 checks them.
std::vector<MapLineRecord> readPlatforms(const std::string& mapDataDir, const std::string& pref);

// Splits a coordinate list ("lat lon lat lon ...") into vertices. Returns false (and
// leaves a message in `why`) on an odd count, a value that is not a number, or one off
// the globe (a latitude beyond ±90, a longitude beyond ±180).
bool parseCoordinates(const std::string& text, GeoLine& out, std::string& why);

}  // namespace kisharin

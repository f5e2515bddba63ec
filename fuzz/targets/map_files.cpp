// The map reader on any six files of one prefecture. The input is cut at NUL bytes into
// PL.dat, L.dat, NEWS.dat, L_rr.dat, L_st.dat and St.dat in that order; the files an
// input has no piece for are missing. The reader refuses with a message naming one of
// the six files and a line of it, or gives tables holding one record per line, keys
// that lead somewhere and places on the globe; those tables are then drawn whole.
#include <array>
#include <cmath>
#include <string_view>
#include <unordered_set>

#include "board/text_metrics.h"
#include "fuzz_support.h"
#include "maps/map_data.h"
#include "maps/map_view.h"
#include "state/game_state.h"

using namespace kisharin;

namespace {

const std::string kPref = "鳥取県";

bool onTheGlobe(double lat, double lon) {
    return std::isfinite(lat) && std::isfinite(lon) && std::fabs(lat) <= 90 && std::fabs(lon) <= 180;
}

void requireOnTheGlobe(const GeoLine& pts, const std::string& what) {
    for (const GeoPoint& p : pts)
        fuzz::require(onTheGlobe(p.lat, p.lon), what + ": a vertex off the globe (" + std::to_string(p.lat) +
                                                    " " + std::to_string(p.lon) + ")");
}

void checkTables(const MapData& d, const std::array<std::string, 6>& pieces) {
    fuzz::require(d.prefLineOnly.size() == static_cast<size_t>(fuzz::lineCountOf(pieces[0])) &&
                      d.line.size() == static_cast<size_t>(fuzz::lineCountOf(pieces[1])) &&
                      d.lineRr.size() == static_cast<size_t>(fuzz::lineCountOf(pieces[3])) &&
                      d.lineSt.size() == static_cast<size_t>(fuzz::lineCountOf(pieces[4])) &&
                      d.sameStation.size() == static_cast<size_t>(fuzz::lineCountOf(pieces[5])),
                  "a table does not hold one record per line of its file");
    for (const std::string& key : d.prefLineOnly)
        fuzz::require(d.line.count(key) == 1, "the boundary key " + key + " leads to no polyline");
    for (const auto& [key, pts] : d.line) requireOnTheGlobe(pts, "boundary " + key);
    for (const auto* table : {&d.lineRr, &d.lineSt}) {
        std::unordered_set<std::string> keys;
        for (const MapLineRecord& r : *table) {
            fuzz::require(keys.insert(r.key).second, "the key " + r.key + " twice in one table");
            requireOnTheGlobe(r.points, "line " + r.key);
        }
    }
    for (const SameStationRecord& r : d.sameStation)
        fuzz::require(onTheGlobe(r.lat, r.lon), "the label of " + r.name + " stands off the globe");
    fuzz::require(onTheGlobe(d.boundS, d.boundW) && onTheGlobe(d.boundN, d.boundE),
                  "the prefecture's extent reaches off the globe");
}

// Draws the whole map as the map window does, on its canvas and on a tiny one.
void draw(const MapData& d) {
    static GameState s;  // built once: a GameState is large
    const MapView v = 座標設定(d.boundW, d.boundE, d.boundS, d.boundN);
    if (v.empty()) return;
    // Only the boundary polylines PL.dat names are drawn; L.dat may hold more.
    size_t drawnVertices = 0;
    for (const std::string& key : d.prefLineOnly) drawnVertices += d.line.at(key).size();
    for (const auto* table : {&d.lineRr, &d.lineSt})
        for (const MapLineRecord& r : *table) drawnVertices += r.points.size();
    for (const int size : {600, 3}) {
        const MapPicture pic = 描画(d, v, size, size, s, fixedTextMetrics());
        size_t points = 0;
        for (const MapPolyline& l : pic.lines) points += l.points.size();
        fuzz::require(points == drawnVertices, "the picture lost vertices of the map");
        fuzz::require(pic.labels.size() == (d.lineSt.empty() ? 0 : d.sameStation.size()),
                      "the picture has a label count other than the stations'");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes = fuzz::asBytes(data, size);
    std::array<std::string, 6> pieces;
    int given = 0;
    for (size_t start = 0; given < 6 && start <= bytes.size(); ++given) {
        size_t nul = bytes.find('\0', start);
        if (nul == std::string::npos) nul = bytes.size();
        pieces[static_cast<size_t>(given)] = bytes.substr(start, nul - start);
        start = nul + 1;
    }
    const MapFileSource files = [&](const char* file) -> std::optional<std::string> {
        for (int i = 0; i < given; ++i)
            if (std::string_view(file) == kMapFiles[i]) return pieces[static_cast<size_t>(i)];
        return std::nullopt;
    };

    MapData d;
    try {
        d = データ読込(files, kPref);
    } catch (const DataError& e) {
        for (int i = 0; i < 6; ++i)
            if (e.file() == "MapData/" + kPref + "/" + kMapFiles[i]) {
                fuzz::checkRefusal(e, e.file(), fuzz::lineCountOf(pieces[static_cast<size_t>(i)]));
                return 0;
            }
        fuzz::fail("the message names none of the six map files: " + std::string(e.what()));
    }
    checkTables(d, pieces);
    draw(d);
    return 0;
}

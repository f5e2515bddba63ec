#include "state/station_draw.h"

#include <algorithm>

#include "state/railway.h"

namespace kisharin {

Station drawStation(const RailwayData& d, Rng& rng) {
    const int lines = lineCount(d);
    const int line = static_cast<int>(lines * rng.next()) + 1;
    const int stations = stationCount(d, line);
    const int pos = static_cast<int>(stations * rng.next()) + 1;
    return {line, pos};
}

bool prefIn(const std::string& pref, const std::vector<std::string>& prefs) {
    return std::find(prefs.begin(), prefs.end(), pref) != prefs.end();
}

int countStationsIn(const RailwayData& d, const std::vector<std::string>& prefs) {
    int count = 0;
    const int lines = lineCount(d);
    for (int l = 1; l <= lines; ++l) {
        const int n = stationCount(d, l);
        for (int p = 1; p <= n; ++p)
            if (prefIn(d.ekiPref(l, p), prefs)) ++count;
    }
    return count;
}

bool anyStationIn(const RailwayData& d, const std::vector<std::string>& prefs) {
    const int lines = lineCount(d);
    for (int l = 1; l <= lines; ++l) {
        const int n = stationCount(d, l);
        for (int p = 1; p <= n; ++p)
            if (prefIn(d.ekiPref(l, p), prefs)) return true;
    }
    return false;
}

std::optional<Station> drawStationIn(const RailwayData& d, Rng& rng, Clock& clock,
                                     const std::vector<std::string>& prefs, Reseed reseed) {
    return drawStationIn(d, rng, clock, prefs, reseed, [](const Station&) { return true; });
}

}  // namespace kisharin

// Drawing a station at random: a line uniformly among the lines, then a station
// uniformly among that line's stations; the restricted form draws until the station
// lies in one of the given prefectures.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "state/clock.h"
#include "state/game_state.h"
#include "state/railway.h"
#include "state/rng.h"

namespace kisharin {

// One draw: line Int(N * r) + 1, then position Int(n * r) + 1 with a new r.
Station drawStation(const RailwayData& d, Rng& rng);

// True when some station of the lines 1..N lies in one of prefs.
bool anyStationIn(const RailwayData& d, const std::vector<std::string>& prefs);

// Number of distinct stations (line, position) that lie in one of prefs.
int countStationsIn(const RailwayData& d, const std::vector<std::string>& prefs);

// How the restricted draw seeds the generator.
enum class Reseed {
    Never,         // go on with the running sequence
    EveryAttempt,  // re-seed from clock.timer() before every attempt
};

// Draws until the station's prefecture is in prefs (any station when prefs is empty)
// and accept(station) holds. Returns nullopt, without drawing, when no station of the
// data can satisfy prefs. With Reseed::EveryAttempt an attempt that failed while the
// timer still shows the same value goes on with the sequence instead of repeating the
// same draw, so a frozen clock cannot make the draw loop forever.
template <typename Accept>
std::optional<Station> drawStationIn(const RailwayData& d, Rng& rng, Clock& clock,
                                     const std::vector<std::string>& prefs, Reseed reseed, Accept accept);

std::optional<Station> drawStationIn(const RailwayData& d, Rng& rng, Clock& clock,
                                     const std::vector<std::string>& prefs, Reseed reseed);

// --- implementation of the template ---------------------------------------------------

bool prefIn(const std::string& pref, const std::vector<std::string>& prefs);

template <typename Accept>
std::optional<Station> drawStationIn(const RailwayData& d, Rng& rng, Clock& clock,
                                     const std::vector<std::string>& prefs, Reseed reseed, Accept accept) {
    if (lineCount(d) == 0) return std::nullopt;
    if (!prefs.empty() && !anyStationIn(d, prefs)) return std::nullopt;
    bool seeded = false;
    double lastSeed = 0;
    for (;;) {
        if (reseed == Reseed::EveryAttempt) {
            const double seed = clock.timer();
            if (!seeded || seed != lastSeed) rng.reseed(seed);
            seeded = true;
            lastSeed = seed;
        }
        const Station st = drawStation(d, rng);
        if (d.ekiName(st.line, st.pos).empty()) continue;  // a line without stations
        if (!prefs.empty() && !prefIn(d.ekiPref(st.line, st.pos), prefs)) continue;
        if (accept(st)) return st;
    }
}

}  // namespace kisharin

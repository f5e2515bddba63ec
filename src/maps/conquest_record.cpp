#include "maps/conquest_record.h"

#include <algorithm>

#include "board/history_file.h"
#include "board/station_file.h"
#include "maps/picker.h"
#include "state/railway.h"
#include "state/regions.h"

namespace kisharin {

namespace {

const std::unordered_map<std::string, int>& prefCodes() {
    static const std::unordered_map<std::string, int> codes = [] {
        std::unordered_map<std::string, int> m;
        for (int c = 1; c <= kPrefCount; ++c) m.emplace(prefectureCaption(c), c);
        return m;
    }();
    return codes;
}

std::string stationKey(const std::string& pref, const std::string& name) {
    return pref + '\t' + name;
}

void addRow(std::string& out, const char* kind, const std::string& name, const std::array<int, 3>& reached,
            int total) {
    out += kind;
    out += '\t';
    out += name;
    out += '\t' + std::to_string(reached[0]) + '\t' + std::to_string(reached[1]) + '\t' +
           std::to_string(total) + '\n';
}

}  // namespace

int prefectureCode(const std::string& name) {
    const auto it = prefCodes().find(name);
    return it == prefCodes().end() ? 0 : it->second;
}

const StationFigures* ConquestRecord::station(const std::string& pref, const std::string& name) const {
    const auto it = stationIndex.find(stationKey(pref, name));
    return it == stationIndex.end() ? nullptr : &stations[static_cast<size_t>(it->second)];
}

ConquestRecord conquestRecord(const RailwayData& d, const VisitedTable& v0, const VisitedTable& v1) {
    ConquestRecord r;
    GameState regions;
    buildRegionTables(regions);
    r.all.name = "全国";
    for (int g = 1; g <= kRegionCount; ++g) r.regions[static_cast<size_t>(g)].name = regions.regionName[g];
    for (int c = 1; c <= kPrefCount; ++c) r.prefs[static_cast<size_t>(c)].name = prefectureCaption(c);

    const int n = lineCount(d);
    r.lines.reserve(static_cast<size_t>(n));
    for (int line = 1; line <= n; ++line) {
        LineFigures lf;
        lf.line = line;
        lf.name = d.ekiName(line, 0);
        lf.air = lf.name.find("飛行機") != std::string::npos;
        lf.positions = stationCount(d, line);
        for (int pos = 1; pos <= lf.positions; ++pos) {
            const bool a = v0(line, pos), b = v1(line, pos);
            const std::array<bool, 3> seen{a, b, a || b};
            for (int w = 0; w < 3; ++w)
                lf.visited[static_cast<size_t>(w)] += seen[static_cast<size_t>(w)] ? 1 : 0;
            const std::string& pref = d.ekiPref(line, pos);
            const int code = prefectureCode(pref);
            if (code != 0 && std::find(lf.prefCodes.begin(), lf.prefCodes.end(), code) == lf.prefCodes.end())
                lf.prefCodes.push_back(code);
            const std::string& name = d.ekiName(line, pos);
            auto [it, fresh] =
                r.stationIndex.try_emplace(stationKey(pref, name), static_cast<int>(r.stations.size()));
            if (fresh) r.stations.push_back({pref, name, {}});
            auto& st = r.stations[static_cast<size_t>(it->second)];
            for (int w = 0; w < 3; ++w)
                st.reached[static_cast<size_t>(w)] =
                    st.reached[static_cast<size_t>(w)] || seen[static_cast<size_t>(w)];
        }
        r.lines.push_back(std::move(lf));
    }

    // Stations: each counts once in its prefecture, its region and the whole country.
    const auto count = [](Tally& t, const std::array<bool, 3>& reached) {
        ++t.total;
        for (size_t w = 0; w < 3; ++w) t.reached[w] += reached[w] ? 1 : 0;
    };
    for (const StationFigures& st : r.stations) {
        count(r.all.stations, st.reached);
        const int code = prefectureCode(st.pref);
        if (code == 0) continue;
        count(r.prefs[static_cast<size_t>(code)].stations, st.reached);
        count(r.regions[static_cast<size_t>(prefectureRegion(code))].stations, st.reached);
    }
    // Lines: a line counts in every prefecture and region it has a station in.
    for (const LineFigures& lf : r.lines) {
        if (lf.air || lf.positions == 0) continue;
        const std::array<bool, 3> done{lf.conquered(0), lf.conquered(1), lf.conquered(kTogether)};
        count(r.all.lines, done);
        std::array<bool, 9> inRegion{};
        for (const int code : lf.prefCodes) {
            count(r.prefs[static_cast<size_t>(code)].lines, done);
            inRegion[static_cast<size_t>(prefectureRegion(code))] = true;
        }
        for (int g = 1; g <= kRegionCount; ++g)
            if (inRegion[static_cast<size_t>(g)]) count(r.regions[static_cast<size_t>(g)].lines, done);
    }
    return r;
}

ConquestInputs readConquestHistories(const RailwayData& railway, const std::string& historyBase) {
    ConquestInputs in;
    in.railway = railway;
    for (int p = 0; p < 2; ++p)
        in.visited[static_cast<size_t>(p)] =
            loadHistory(historyBase + std::to_string(p) + ".txt", in.notices, /*repair=*/false);
    return in;
}

ConquestInputs readConquestInputs(const std::string& stationFile, const std::string& historyBase) {
    return readConquestHistories(readStationFile(stationFile), historyBase);
}

std::string conquestTsv(const ConquestRecord& r) {
    std::string out = "kind\tname\tplayer1\tplayer2\ttotal\n";
    for (int c = 1; c <= kPrefCount; ++c) {
        const PlaceFigures& p = r.prefs[static_cast<size_t>(c)];
        addRow(out, "prefecture", p.name, p.stations.reached, p.stations.total);
    }
    for (int g = 1; g <= kRegionCount; ++g) {
        const PlaceFigures& p = r.regions[static_cast<size_t>(g)];
        addRow(out, "region", p.name, p.stations.reached, p.stations.total);
    }
    for (const LineFigures& lf : r.lines) addRow(out, "line", lf.name, lf.visited, lf.positions);
    addRow(out, "all", "stations", r.all.stations.reached, r.all.stations.total);
    addRow(out, "all", "conquered_lines", r.all.lines.reached, r.all.lines.total);
    return out;
}

std::vector<int> lineOrder(const ConquestRecord& r, int who, int region, int prefCode) {
    std::vector<int> out;
    for (size_t i = 0; i < r.lines.size(); ++i) {
        const LineFigures& lf = r.lines[i];
        if (lf.positions == 0) continue;
        if (prefCode != 0 &&
            std::find(lf.prefCodes.begin(), lf.prefCodes.end(), prefCode) == lf.prefCodes.end())
            continue;
        if (region != 0 && std::none_of(lf.prefCodes.begin(), lf.prefCodes.end(),
                                        [&](int c) { return prefectureRegion(c) == region; }))
            continue;
        out.push_back(static_cast<int>(i));
    }
    const auto done = [&](const LineFigures& lf) { return lf.left(who) == 0; };
    std::stable_sort(out.begin(), out.end(), [&](int a, int b) {
        const LineFigures& la = r.lines[static_cast<size_t>(a)];
        const LineFigures& lb = r.lines[static_cast<size_t>(b)];
        if (done(la) != done(lb)) return !done(la);
        if (done(la)) return false;  // conquered lines keep the railway's order
        return la.left(who) < lb.left(who);
    });
    return out;
}

int shareStep(int reached, int total) {
    if (total <= 0) return -1;
    if (reached <= 0) return 0;
    if (reached >= total) return 5;
    const long long quarter = 4LL * reached / total;  // 0..3
    return 1 + static_cast<int>(quarter);
}

std::string shareStepCaption(int step) {
    static const char* const captions[kShareSteps] = {"0 %",       "25 % 未満", "25 % 以上",
                                                      "50 % 以上", "75 % 以上", "100 %"};
    return step >= 0 && step < kShareSteps ? captions[step] : "駅なし";
}

}  // namespace kisharin

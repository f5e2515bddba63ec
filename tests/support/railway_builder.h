// Builds small railway networks for tests, in memory or as a station file.
#pragma once

#include <string>
#include <vector>

#include "board/station_file.h"
#include "platform/text_file.h"
#include "state/game_state.h"

namespace kisharin::testing {

struct TestLine {
    std::string name;
    std::vector<std::string> stations;
    std::vector<std::string> prefs;  // one per station, or one for all
    std::vector<std::string> links;  // one per station, may be shorter
    std::vector<std::string> marks;  // one per station, may be shorter
    std::string descriptor = "1\\255\\255\\255\\0\\0";
};

// A line of `stations` stations in 東京都 named name1, name2, …, with the given link texts.
inline TestLine line(const std::string& name, int stations, std::vector<std::string> links = {}) {
    TestLine l;
    l.name = name;
    for (int i = 1; i <= stations; ++i) l.stations.push_back(name + std::to_string(i));
    l.prefs = {"東京都"};
    l.links = std::move(links);
    return l;
}

inline void addLine(RailwayData& d, int number, const TestLine& line) {
    d.ekiLink(number, 0) = std::to_string(number);
    d.ekiName(number, 0) = line.name;
    d.ekiYomi(number, 0) = "よみ" + line.name;
    d.ekiPref(number, 0) = line.descriptor;
    for (size_t i = 0; i < line.stations.size(); ++i) {
        const int p = static_cast<int>(i) + 1;
        d.ekiName(number, p) = line.stations[i];
        d.ekiYomi(number, p) = "えき";
        d.ekiPref(number, p) = line.prefs.size() == 1 ? line.prefs[0] : line.prefs.at(i);
        if (i < line.links.size()) d.ekiLink(number, p) = line.links[i];
        if (i < line.marks.size()) d.ekiMark(number, p) = line.marks[i];
    }
}

// Lines 1..n from the list.
inline RailwayData makeRailway(const std::vector<TestLine>& lines) {
    RailwayData d;
    for (size_t i = 0; i < lines.size(); ++i) addLine(d, static_cast<int>(i) + 1, lines[i]);
    return d;
}

// Eight lines, one per region: line r (1..8) has `perLine` stations, all in the first
// prefecture of region r.
inline const char* const kFirstPrefOfRegion[9] = {"",       "北海道", "青森県", "栃木県", "愛知県",
                                                  "大阪府", "鳥取県", "徳島県", "福岡県"};

inline RailwayData makeEightRegions(int perLine = 3) {
    RailwayData d;
    for (int r = 1; r <= 8; ++r) {
        TestLine line;
        line.name = "線" + std::to_string(r);
        for (int i = 1; i <= perLine; ++i) line.stations.push_back("駅" + std::to_string(r) + "-" + std::to_string(i));
        line.prefs = {kFirstPrefOfRegion[r]};
        addLine(d, r, line);
    }
    return d;
}


// Writes lines (UTF-8) as a CP932 CR LF file.
inline void writeCp932(const std::string& path, const std::vector<std::string>& lines) {
    writeBytesAtomic(path, encodeLines(lines, path));
}

}  // namespace kisharin::testing

#include "databuilder/network.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <map>
#include <set>
#include <tuple>

#include "databuilder/game_text.h"
#include "databuilder/train_descriptor.h"
#include "state/error.h"
#include "state/regions.h"

namespace kisharin::databuilder {

namespace {

constexpr int kMaxStationsPerLine = kMaxPosition;  // 100

// One station of a built line.
struct Slot {
    int line = 0;
    int pos = 0;
    int place = 0;  // station id; airports are -1, -2, … by their row in airports.tsv
    double lat = 0;
    double lng = 0;
    int code = 0;  // the open data's line code; 0 for an air route
};

struct Builder {
    const OpenData& open;
    Network net;
    GameState regions;  // only its region tables
    std::vector<Slot> slots;
    std::vector<std::set<std::pair<int, int>>> links;  // by slot
    std::map<std::pair<int, int>, int> slotAt;         // (line, pos) -> slot

    // Sections asked for by data line code, beyond those its length needs (a line with
    // more links than the board has transfer labels is cut like a long one).
    const std::map<int, int>& sectionsWanted;
    std::map<int, int> lineCode;    // game line -> data line code (railway lines only)
    std::map<int, int> sectionsOf;  // data line code -> sections built

    Builder(const OpenData& o, const std::map<int, int>& wanted) : open(o), sectionsWanted(wanted) {
        buildRegionTables(regions);
    }

    std::string cp932(std::string_view s) { return toCp932Text(s, &net.stats.mappedChars); }

    std::string prefectureName(int code, const std::string& line) {
        const auto it = open.prefectures.find(code);
        if (it == open.prefectures.end())
            throw DataError("line/" + line, 0,
                            "都道府県コード " + std::to_string(code) + " が prefecture.csv にありません");
        if (regionOf(regions, it->second) == 0)
            throw DataError("prefecture.csv", 0, "都道府県「" + it->second + "」が地方の表にありません");
        return it->second;
    }

    // The region most of the line's stations lie in; the northern one on a tie.
    int lineRegion(const OpenLine& l) {
        std::array<int, kRegionCount + 1> count{};
        for (const auto& s : l.stations)
            ++count[static_cast<size_t>(
                regionOf(regions, prefectureName(s.prefecture, std::to_string(l.code))))];
        return static_cast<int>(std::max_element(count.begin() + 1, count.end()) - count.begin());
    }

    int addLine(const std::string& name, const std::string& reading, const std::string& descriptor) {
        const int line = net.stats.railwayLines + net.stats.airRoutes + 1;
        if (line > kMaxLine)
            throw DataError(
                "station_database", 0,
                "路線が " + std::to_string(kMaxLine) + " を超えます（ゲームの表は 750 路線まで）");
        RailwayData& d = net.data;
        d.ekiLink(line, 0) = std::to_string(line);
        d.ekiName(line, 0) = cp932(name);
        d.ekiYomi(line, 0) = cp932(toHiragana(reading.empty() ? name : reading));
        d.ekiPref(line, 0) = descriptor;
        return line;
    }

    void addStation(int line, int pos, const std::string& name, const std::string& reading,
                    const std::string& pref, int place, double lat, double lng, int code) {
        RailwayData& d = net.data;
        d.ekiName(line, pos) = cp932(name);
        d.ekiYomi(line, pos) = cp932(toHiragana(reading.empty() ? name : reading));
        d.ekiPref(line, pos) = pref;
        slotAt[{line, pos}] = static_cast<int>(slots.size());
        slots.push_back(Slot{line, pos, place, lat, lng, code});
    }

    void railwayLines() {
        struct Entry {
            int region;
            int company;
            const OpenLine* line;
        };
        std::vector<Entry> order;
        for (const auto& l : open.lines)
            order.push_back({lineRegion(l), l.company < 0 ? INT_MAX : l.company, &l});
        std::sort(order.begin(), order.end(), [](const Entry& a, const Entry& b) {
            return std::tie(a.region, a.company, a.line->kana, a.line->name, a.line->code) <
                   std::tie(b.region, b.company, b.line->kana, b.line->name, b.line->code);
        });
        for (const Entry& e : order) {
            const OpenLine& l = *e.line;
            const auto company = open.companies.find(l.company);
            const int picture = trainPicture(l, company == open.companies.end() ? nullptr : &company->second);
            const std::string descriptor = trainDescriptor(picture, lineColor(l));
            const int n = static_cast<int>(l.stations.size());
            // A line longer than the table is cut into sections that share their end
            // stations, so that a player rides on across the cut by a transfer.
            int sections =
                n <= kMaxStationsPerLine ? 1 : (n - 1 + kMaxStationsPerLine - 2) / (kMaxStationsPerLine - 1);
            if (const auto w = sectionsWanted.find(l.code); w != sectionsWanted.end())
                sections = std::max(sections, w->second);
            sectionsOf[l.code] = sections;
            if (sections > 1) ++net.stats.splitLines;
            for (int k = 0; k < sections; ++k) {
                const int first =
                    sections == 1 ? 0 : static_cast<int>(std::lround(1.0 * k * (n - 1) / sections));
                const int last =
                    sections == 1 ? n - 1 : static_cast<int>(std::lround(1.0 * (k + 1) * (n - 1) / sections));
                std::string name = l.name;
                if (sections > 1) name += "その" + std::to_string(k + 1);
                const int line = addLine(name, l.kana, descriptor);
                lineCode[line] = l.code;
                ++net.stats.railwayLines;
                ++net.stats.pictures[static_cast<size_t>(picture)];
                for (int i = first; i <= last; ++i) {
                    const OpenStation& s = l.stations[static_cast<size_t>(i)];
                    addStation(line, i - first + 1, s.originalName, s.kana,
                               prefectureName(s.prefecture, std::to_string(l.code)), s.id, s.lat, s.lng,
                               l.code);
                    ++net.stats.railwayStations;
                }
            }
        }
    }

    int airportIndex(const std::string& name, int fileLine) {
        for (size_t i = 0; i < open.airports.size(); ++i)
            if (open.airports[i].name == name) return static_cast<int>(i);
        throw DataError("air_routes.tsv", fileLine, "空港「" + name + "」が airports.tsv にありません");
    }

    void airRoutes() {
        for (const Airport& a : open.airports)
            if (regionOf(regions, a.prefecture) == 0)
                throw DataError("airports.tsv", a.fileLine,
                                "都道府県「" + a.prefecture + "」が地方の表にありません");
        for (const AirRoute& r : open.airRoutes) {
            std::string name = "飛行機（", reading = "ひこうき（";
            std::vector<int> airports;
            for (size_t k = 0; k < r.airports.size(); ++k) {
                const int a = airportIndex(r.airports[k], r.fileLine);
                airports.push_back(a);
                name += (k ? "～" : "") + open.airports[static_cast<size_t>(a)].shortName;
                reading += (k ? "～" : "") + open.airports[static_cast<size_t>(a)].reading;
            }
            if (airports.size() > static_cast<size_t>(kMaxStationsPerLine))
                throw DataError("air_routes.tsv", r.fileLine, "空港が 100 を超えます");
            // Air routes carry no train descriptor: the ride scene draws a flight.
            const int line = addLine(name + "）", reading + "）", "");
            ++net.stats.airRoutes;
            for (size_t k = 0; k < airports.size(); ++k) {
                const Airport& a = open.airports[static_cast<size_t>(airports[k])];
                addStation(line, static_cast<int>(k) + 1, a.name, a.reading, a.prefecture, -1 - airports[k],
                           0, 0, 0);
                ++net.stats.airportStations;
            }
        }
    }

    // Links slot a and slot b both ways; true when they were not linked before.
    bool link(int a, int b) {
        const Slot& sa = slots[static_cast<size_t>(a)];
        const Slot& sb = slots[static_cast<size_t>(b)];
        if (sa.line == sb.line) return false;
        const bool added = links[static_cast<size_t>(a)].insert({sb.line, sb.pos}).second;
        links[static_cast<size_t>(b)].insert({sa.line, sa.pos});
        return added;
    }

    std::map<int, std::vector<int>> slotsByPlace() const {
        std::map<int, std::vector<int>> out;
        for (size_t i = 0; i < slots.size(); ++i) out[slots[i].place].push_back(static_cast<int>(i));
        return out;
    }

    std::map<std::string, int> idsByName() const {
        std::map<std::string, int> out;
        for (const auto& l : open.lines)
            for (const auto& s : l.stations) out.emplace(s.name, s.id);
        return out;
    }

    void linkStations() {
        links.assign(slots.size(), {});
        const auto byPlace = slotsByPlace();
        // The same station on several lines.
        for (const auto& [place, group] : byPlace) {
            if (place > 0) ++net.stats.places;
            for (size_t i = 0; i < group.size(); ++i)
                for (size_t j = i + 1; j < group.size(); ++j)
                    if (link(group[i], group[j]))
                        ++(place > 0 ? net.stats.sameStationLinks : net.stats.sameAirportLinks);
        }
        // Walking transfers: places sorted by latitude, each compared with those
        // within the walking distance north of it.
        std::vector<std::pair<double, int>> byLat;  // (lat, place)
        for (const auto& [place, group] : byPlace)
            if (place > 0) byLat.emplace_back(slots[static_cast<size_t>(group[0])].lat, place);
        std::sort(byLat.begin(), byLat.end());
        const double latWindow = kWalkingMetres / 111000.0;
        for (size_t i = 0; i < byLat.size(); ++i) {
            const auto& ga = byPlace.at(byLat[i].second);
            const Slot& a = slots[static_cast<size_t>(ga[0])];
            for (size_t j = i + 1; j < byLat.size() && byLat[j].first - byLat[i].first <= latWindow; ++j) {
                const auto& gb = byPlace.at(byLat[j].second);
                const Slot& b = slots[static_cast<size_t>(gb[0])];
                if (distanceMetres(a.lat, a.lng, b.lat, b.lng) > kWalkingMetres) continue;
                bool any = false;
                for (int x : ga)
                    for (int y : gb)
                        if (link(x, y)) {
                            ++net.stats.walkingLinks;
                            any = true;
                        }
                if (any) ++net.stats.walkingPlacePairs;
            }
        }
        // Airports and the railway stations at them.
        const auto ids = idsByName();
        for (size_t a = 0; a < open.airports.size(); ++a) {
            const auto airportSlots = byPlace.find(-1 - static_cast<int>(a));
            for (const std::string& station : open.airports[a].stations) {
                const auto id = ids.find(station);
                if (id == ids.end())
                    throw DataError("airports.tsv", open.airports[a].fileLine,
                                    "駅「" + station + "」が駅データにありません");
                if (airportSlots == byPlace.end()) continue;  // an airport no route flies to
                for (int x : airportSlots->second)
                    for (int y : byPlace.at(id->second))
                        if (link(x, y)) ++net.stats.airportRailLinks;
            }
        }
        for (size_t i = 0; i < slots.size(); ++i) {
            std::string text;
            for (const auto& [line, pos] : links[i]) {
                if (!text.empty()) text += ';';
                text += std::to_string(line) + "\\" + std::to_string(pos);
            }
            net.data.ekiLink(slots[i].line, slots[i].pos) = text;
        }
    }

    // Data line codes of the railway lines with a section holding more links than the
    // board shows labels. Throws DataError for an air route that does.
    std::set<int> crowdedLines() const {
        std::map<int, int> count;  // game line -> links
        for (size_t i = 0; i < slots.size(); ++i) count[slots[i].line] += static_cast<int>(links[i].size());
        std::set<int> out;
        for (const auto& [line, n] : count) {
            if (n <= kMaxTransferLabels) continue;
            const auto code = lineCode.find(line);
            if (code == lineCode.end())
                throw DataError("air_routes.tsv", 0,
                                "空路「" + net.data.ekiName(line, 0) + "」の乗り換えが " + std::to_string(n) +
                                    " あり、盤に示せる " + std::to_string(kMaxTransferLabels) +
                                    " を超えます");
            out.insert(code->second);
        }
        return out;
    }

    void raceCourses() {
        const auto ids = idsByName();
        const auto byPlace = slotsByPlace();
        for (const RaceCourse& r : open.raceCourses) {
            if (r.marker != "競馬" && r.marker != "競艇" && r.marker != "競輪")
                throw DataError("race_courses.tsv", r.fileLine,
                                "印「" + r.marker + "」は 競馬・競艇・競輪 のどれでもありません");
            const auto id = ids.find(r.station);
            if (id == ids.end())
                throw DataError("race_courses.tsv", r.fileLine,
                                "駅「" + r.station + "」が駅データにありません");
            for (int x : byPlace.at(id->second)) {
                std::string& mark =
                    net.data.ekiMark(slots[static_cast<size_t>(x)].line, slots[static_cast<size_t>(x)].pos);
                if (!mark.empty() && mark != r.marker)
                    throw DataError("race_courses.tsv", r.fileLine,
                                    "駅「" + r.station + "」にはもう「" + mark + "」の印があります");
                if (mark.empty()) ++net.stats.markers;
                mark = r.marker;
            }
        }
    }

    // Where every station lies; an airport where the first railway station serving it is.
    void placeStations() {
        const auto ids = idsByName();
        std::map<int, std::pair<double, double>> byId;  // station id -> (lat, lng)
        for (const Slot& s : slots)
            if (s.place > 0) byId.emplace(s.place, std::make_pair(s.lat, s.lng));
        std::vector<StationPlace>& out = net.places;
        out.reserve(slots.size());
        for (const Slot& s : slots) {
            StationPlace p{s.line, s.pos, s.code, s.lat, s.lng};
            if (s.place < 0) {
                const Airport& a = open.airports[static_cast<size_t>(-1 - s.place)];
                const auto at = byId.find(ids.at(a.stations.front()));
                if (at != byId.end()) std::tie(p.lat, p.lng) = at->second;
            }
            out.push_back(p);
        }
        std::sort(out.begin(), out.end(), [](const StationPlace& a, const StationPlace& b) {
            return std::tie(a.line, a.pos) < std::tie(b.line, b.pos);
        });
    }

    // Every station must be reachable from every other, along lines and links.
    void checkConnected() const {
        std::vector<int> parent(slots.size());
        for (size_t i = 0; i < parent.size(); ++i) parent[i] = static_cast<int>(i);
        auto root = [&](int x) {
            while (parent[static_cast<size_t>(x)] != x)
                x = parent[static_cast<size_t>(x)] =
                    parent[static_cast<size_t>(parent[static_cast<size_t>(x)])];
            return x;
        };
        auto join = [&](int a, int b) { parent[static_cast<size_t>(root(a))] = root(b); };
        for (size_t i = 0; i < slots.size(); ++i) {
            if (const auto next = slotAt.find({slots[i].line, slots[i].pos + 1}); next != slotAt.end())
                join(static_cast<int>(i), next->second);
            for (const auto& target : links[i]) join(static_cast<int>(i), slotAt.at(target));
        }
        std::map<int, std::pair<int, int>> pieces;  // root -> (stations, first line)
        for (size_t i = 0; i < slots.size(); ++i) {
            auto& piece = pieces.try_emplace(root(static_cast<int>(i)), 0, slots[i].line).first->second;
            ++piece.first;
        }
        if (pieces.size() <= 1) return;
        // Name the lines of every piece but the largest: those are the ones cut off.
        const auto largest = std::max_element(pieces.begin(), pieces.end(), [](const auto& a, const auto& b) {
            return a.second.first < b.second.first;
        });
        std::string names;
        for (auto it = pieces.begin(); it != pieces.end(); ++it) {
            if (it == largest) continue;
            if (!names.empty()) names += "、";
            names += net.data.ekiName(it->second.second, 0);
        }
        throw GameError("路線網が " + std::to_string(pieces.size()) +
                        " つに分かれています。ほかから行けない路線：" + names);
    }
};

}  // namespace

double distanceMetres(double lat1, double lng1, double lat2, double lng2) {
    constexpr double kEarthRadius = 6371008.8;
    constexpr double kRad = 3.14159265358979323846 / 180.0;
    const double dLat = (lat2 - lat1) * kRad, dLng = (lng2 - lng1) * kRad;
    const double h = std::sin(dLat / 2) * std::sin(dLat / 2) +
                     std::cos(lat1 * kRad) * std::cos(lat2 * kRad) * std::sin(dLng / 2) * std::sin(dLng / 2);
    return 2 * kEarthRadius * std::asin(std::min(1.0, std::sqrt(h)));
}

Network buildNetwork(const OpenData& open) {
    std::map<int, int> sections;  // data line code -> sections wanted
    for (;;) {
        Builder b(open, sections);
        b.railwayLines();
        b.airRoutes();
        b.linkStations();
        const std::set<int> crowded = b.crowdedLines();
        if (crowded.empty()) {
            b.raceCourses();
            b.checkConnected();
            b.placeStations();
            return std::move(b.net);
        }
        // One more section for each crowded line, and build again: the sections share
        // their end stations, so no connection is lost.
        for (const int code : crowded) {
            const int more = b.sectionsOf.at(code) + 1;
            const auto line = std::find_if(open.lines.begin(), open.lines.end(),
                                           [&](const OpenLine& l) { return l.code == code; });
            if (more > static_cast<int>(line->stations.size()) - 1)
                throw DataError("line/" + std::to_string(code), 0,
                                "路線「" + line->name + "」の乗り換えが多すぎて、盤の " +
                                    std::to_string(kMaxTransferLabels) + " 個の乗り換え表示に収まりません");
            sections[code] = more;
        }
    }
}

}  // namespace kisharin::databuilder

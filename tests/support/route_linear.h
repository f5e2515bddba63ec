// The route search written the plain way, as a reference for the real one: records of
// four texts (predecessor line, predecessor position, distance, own key), a settled set
// and a frontier that both keep insertion order, and a linear scan of the frontier for
// the nearest record at every step. Slow on purpose; tests and the benchmark compare
// the real search against it.
#pragma once

#include <algorithm>
#include <array>
#include <string>
#include <unordered_map>
#include <vector>

#include "state/game_state.h"
#include "state/railway.h"

namespace kisharin::testing {

struct LinearRecord {
    std::array<std::string, 4> f;  // 0 predecessor line, 1 predecessor position, 2 distance, 3 key
};

inline std::string linearKey(int line, int pos) {
    return "P" + std::to_string(line) + "-" + std::to_string(pos);
}

inline void routeLinear(GameState& s) {
    s.routeList.clear();
    s.routeCount = 0;
    const int p = s.curPlayer;
    int line = s.playerRosen[p], pos = s.playerEki[p];
    if (!isStation(s, line, pos)) return;

    std::vector<LinearRecord> settledList;
    std::unordered_map<std::string, size_t> settled;
    std::vector<LinearRecord> frontier;

    auto isDestination = [&](int l, int q) {
        for (int d = 1; d <= kDestinationCount; ++d)
            if (s.mokutekitiRosen[d] == l && s.mokutekitiEki[d] == q) return true;
        return false;
    };
    auto relax = [&](int l, int q, long dist, int fromLine, int fromPos) {
        const std::string key = linearKey(l, q);
        if (settled.count(key)) return;
        LinearRecord rec{{std::to_string(fromLine), std::to_string(fromPos), std::to_string(dist), key}};
        auto it = std::find_if(frontier.begin(), frontier.end(),
                               [&](const LinearRecord& r) { return r.f[3] == key; });
        if (it == frontier.end()) {
            frontier.push_back(rec);
        } else if (dist < std::stol(it->f[2])) {
            frontier.erase(it);
            frontier.push_back(rec);
        }
    };

    settled[linearKey(line, pos)] = 0;
    settledList.push_back({{"0", "0", "0", linearKey(line, pos)}});
    std::string goalKey;
    for (;;) {
        bool goal = false;
        for (int d = 1; d <= kDestinationCount; ++d)
            if (line == s.mokutekitiRosen[d] && pos == s.mokutekitiEki[d] && !s.mokutekitiDone[d])
                goal = true;
        if (goal) {
            goalKey = linearKey(line, pos);
            break;
        }
        const int n = stationCount(s, line);
        const long base = std::stol(settledList[settled[linearKey(line, pos)]].f[2]);
        for (int q = pos - 1; q >= 1; --q)
            if (isDestination(line, q) || !s.ekiLink(line, q).empty()) {
                relax(line, q, base + (pos - q), line, pos);
                break;
            }
        for (int q = pos + 1; q <= n; ++q)
            if (isDestination(line, q) || !s.ekiLink(line, q).empty()) {
                relax(line, q, base + (q - pos), line, pos);
                break;
            }
        for (const Link& l : parseLinks(s.ekiLink(line, pos)))
            if (isStation(s, l.line, l.pos)) relax(l.line, l.pos, base + 1, line, pos);

        if (frontier.empty()) return;  // no pending destination can be reached
        size_t best = 0;
        for (size_t i = 1; i < frontier.size(); ++i)
            if (std::stol(frontier[i].f[2]) < std::stol(frontier[best].f[2])) best = i;
        const LinearRecord next = frontier[best];
        frontier.erase(frontier.begin() + static_cast<std::ptrdiff_t>(best));
        settled[next.f[3]] = settledList.size();
        settledList.push_back(next);
        const std::string k = next.f[3].substr(1);
        const size_t dash = k.find('-');
        line = std::stoi(k.substr(0, dash));
        pos = std::stoi(k.substr(dash + 1));
    }

    const LinearRecord& goalRec = settledList[settled[goalKey]];
    std::vector<RoutePoint> route;
    std::string key = goalKey;
    for (;;) {
        const LinearRecord& rec = settledList[settled[key]];
        const std::string k = key.substr(1);
        const size_t dash = k.find('-');
        route.push_back({static_cast<Integer>(std::stoi(k.substr(0, dash))),
                         static_cast<Integer>(std::stoi(k.substr(dash + 1))),
                         static_cast<Long>(std::stol(goalRec.f[2])), goalRec.f[3]});
        if (rec.f[0] == "0" && rec.f[1] == "0") break;
        key = linearKey(std::stoi(rec.f[0]), std::stoi(rec.f[1]));
    }
    // 1-based k from the count down to 3: items k-2, k-1, k on one line lose item k-1.
    for (size_t k = route.size(); k >= 3; --k)
        if (route[k - 3].line == route[k - 2].line && route[k - 2].line == route[k - 1].line)
            route.erase(route.begin() + static_cast<std::ptrdiff_t>(k - 2));
    s.routeList = route;
    s.routeCount = static_cast<Integer>(route.size());
}

}  // namespace kisharin::testing

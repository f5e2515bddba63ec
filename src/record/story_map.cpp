#include "record/story_map.h"

#include <algorithm>
#include <map>
#include <optional>
#include <unordered_map>

#include "maps/map_data.h"

namespace kisharin {

namespace {

int prefectureCode(const std::string& pref) {
    for (int code = 1; code <= kPrefCount; ++code)
        if (prefectureCaption(code) == pref) return code;
    return 0;
}

// The stations' places, one prefecture's platforms read at a time as they are asked for.
class Places {
  public:
    Places(const Story& story, std::string mapDataDir) : story_(story), dir_(std::move(mapDataDir)) {}

    std::optional<PickerPoint> at(int line, int pos) {
        const StoryStation& st = story_.station(line, pos);
        const int code = prefectureCode(st.placePref);
        if (code == 0) return std::nullopt;
        auto& table = read(st.placePref);
        const auto it = table.find("s" + std::to_string(st.placeLine) + "_" + std::to_string(st.placePos));
        if (it == table.end()) return std::nullopt;
        return pickerProject(code, it->second.lat, it->second.lon);
    }

  private:
    const std::unordered_map<std::string, GeoPoint>& read(const std::string& pref) {
        auto it = prefs_.find(pref);
        if (it != prefs_.end()) return it->second;
        std::unordered_map<std::string, GeoPoint> table;
        for (const MapLineRecord& r : readPlatforms(dir_, pref))
            if (!r.points.empty()) table.emplace(r.key, r.points[r.points.size() / 2]);
        return prefs_.emplace(pref, std::move(table)).first->second;
    }

    const Story& story_;
    std::string dir_;
    std::map<std::string, std::unordered_map<std::string, GeoPoint>> prefs_;
};

}  // namespace

StoryMap storyMap(const Story& story, const std::string& mapDataDir) {
    StoryMap m;
    Places places(story, mapDataDir);
    auto place = [&](int line, int pos, std::vector<PickerPoint>& out) {
        if (const auto p = places.at(line, pos))
            out.push_back(*p);
        else
            ++m.unplaced;
    };
    for (std::size_t p = 0; p < 2; ++p) {
        for (const JourneyLeg& l : story.journey[p]) {
            if (l.how != JourneyLeg::How::Ride) continue;
            StoryMapRide ride;
            ride.flight = story.station(l.line, l.from).lineName.starts_with("飛行機");
            const int step = l.to > l.from ? 1 : -1;
            for (int i = l.from;; i += step) {
                place(l.line, i, ride.points);
                if (i == l.to) break;
            }
            if (ride.points.size() >= 2) m.rides[p].push_back(std::move(ride));
        }
    }
    for (std::size_t d = 0; d < story.destinations.size(); ++d) {
        const StoryDestination& dest = story.destinations[d];
        std::vector<PickerPoint> at;
        place(dest.line, dest.pos, at);
        if (!at.empty()) m.destinations.push_back({at[0], static_cast<int>(d) + 1, dest.reachedBy});
    }
    return m;
}

}  // namespace kisharin

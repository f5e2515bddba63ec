#include "maps/conquest_map.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace kisharin {

namespace {

constexpr double kNearLat = 0.0012;  // degrees: about 130 m

// Platform vertices in square buckets of kNearLat, so that the station at a track
// vertex is found among a few.
class PlatformGrid {
  public:
    PlatformGrid(const MapData& d, double lonScale) : lonScale_(lonScale) {
        for (size_t i = 0; i < d.lineSt.size(); ++i)
            for (const GeoPoint& p : d.lineSt[i].points)
                cells_[key(cell(p.lat), cell(p.lon * lonScale_))].push_back({p, i});
    }

    // The platform record nearest to p within kNearLat, or -1.
    int at(const GeoPoint& p) const {
        const long long cy = cell(p.lat), cx = cell(p.lon * lonScale_);
        int best = -1;
        double bestD = kNearLat * kNearLat;
        for (long long y = cy - 1; y <= cy + 1; ++y)
            for (long long x = cx - 1; x <= cx + 1; ++x) {
                const auto it = cells_.find(key(y, x));
                if (it == cells_.end()) continue;
                for (const Entry& e : it->second) {
                    const double dy = e.p.lat - p.lat, dx = (e.p.lon - p.lon) * lonScale_;
                    const double dd = dy * dy + dx * dx;
                    if (dd <= bestD) {
                        bestD = dd;
                        best = static_cast<int>(e.record);
                    }
                }
            }
        return best;
    }

  private:
    struct Entry {
        GeoPoint p;
        size_t record;
    };
    static long long cell(double v) { return static_cast<long long>(std::floor(v / kNearLat)); }
    static long long key(long long y, long long x) { return y * 1000003LL + x; }

    double lonScale_;
    std::unordered_map<long long, std::vector<Entry>> cells_;
};

}  // namespace

std::vector<MapPolyline> reachedTracks(const MapData& d, const CanvasScale& c, const ReachedStation& reached,
                                       Long color, int width) {
    std::vector<MapPolyline> out;
    if (d.lineSt.empty() || d.lineRr.empty()) return out;
    const double midLat = (static_cast<double>(d.boundS) + d.boundN) / 2;
    const PlatformGrid grid(d, std::cos(midLat * 3.14159265358979 / 180));
    std::vector<char> isReached(d.lineSt.size());
    for (size_t i = 0; i < d.lineSt.size(); ++i) isReached[i] = reached(d.lineSt[i].extra) ? 1 : 0;
    for (const MapLineRecord& track : d.lineRr) {
        int lastStation = -1;
        size_t lastAt = 0;
        for (size_t v = 0; v < track.points.size(); ++v) {
            const int st = grid.at(track.points[v]);
            if (st < 0) continue;
            if (lastStation >= 0 && isReached[static_cast<size_t>(lastStation)] &&
                isReached[static_cast<size_t>(st)] && v > lastAt) {
                const bool joins =
                    !out.empty() &&
                    out.back().points.back() == c.toPixel(track.points[lastAt].lat, track.points[lastAt].lon);
                if (!joins) {
                    out.push_back(
                        {{c.toPixel(track.points[lastAt].lat, track.points[lastAt].lon)}, color, width});
                }
                for (size_t k = lastAt + 1; k <= v; ++k)
                    out.back().points.push_back(c.toPixel(track.points[k].lat, track.points[k].lon));
            }
            lastStation = st;
            lastAt = v;
        }
    }
    return out;
}

MapPicture conquestMapPicture(const MapData& d, int size, const TextMetrics& m, const ReachedStation& reached,
                              Long color) {
    MapPicture pic;
    pic.width = size;
    pic.height = size;
    const CanvasScale c{座標設定(d.boundW, d.boundE, d.boundS, d.boundN), size, size};
    県界線のみ描画(d, c, pic);
    鉄道描画(d, c, pic);
    for (MapPolyline& line : reachedTracks(d, c, reached, color, 3)) pic.lines.push_back(std::move(line));
    駅描画(d, c, m, pic);
    // The reached names come last, so that where names overlap the others give way.
    std::stable_partition(pic.labels.begin(), pic.labels.end(),
                          [&](const MapLabel& l) { return !reached(l.caption); });
    for (MapLabel& l : pic.labels) {
        const bool r = reached(l.caption);
        l.color = r ? color : kUnreachedGrey;
        l.z = r ? 1 : 0;
    }
    駅非重(pic.labels);
    return pic;
}

}  // namespace kisharin

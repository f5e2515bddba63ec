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

void 到達駅優先非重(std::vector<MapLabel>& labels) {
    std::vector<MapLabel> starred, plain;
    for (MapLabel& l : labels) (l.star ? starred : plain).push_back(std::move(l));
    駅非重(starred);
    // A grey name touching a reached one goes, whichever of the two holds the other.
    const auto overlap = [](const MapLabel& a, const MapLabel& b) {
        return a.x <= static_cast<long long>(b.x) + b.w && b.x <= static_cast<long long>(a.x) + a.w &&
               a.y <= static_cast<long long>(b.y) + b.h && b.y <= static_cast<long long>(a.y) + a.h;
    };
    for (MapLabel& l : plain)
        for (const MapLabel& r : starred)
            if (r.visible && overlap(l, r)) {
                l.visible = false;
                break;
            }
    std::vector<MapLabel> left;
    std::vector<size_t> at;
    for (size_t i = 0; i < plain.size(); ++i)
        if (plain[i].visible) {
            left.push_back(plain[i]);
            at.push_back(i);
        }
    駅非重(left);
    for (size_t k = 0; k < left.size(); ++k) plain[at[k]].visible = left[k].visible;
    labels.clear();
    for (MapLabel& l : plain) labels.push_back(std::move(l));
    for (MapLabel& l : starred) labels.push_back(std::move(l));
}

MapPicture conquestMapPicture(const MapData& d, int size, const TextMetrics& m, const ReachedStation& reached,
                              Long color) {
    MapPicture pic;
    pic.width = size;
    pic.height = size;
    const CanvasScale c{firstView(d), size, size};
    県界線のみ描画(d, c, pic);
    鉄道描画(d, c, pic);
    for (MapPolyline& line : reachedTracks(d, c, reached, color, 3)) pic.lines.push_back(std::move(line));
    駅描画(d, c, m, pic);
    for (MapLabel& l : pic.labels) {
        l.star = reached(l.caption);
        l.color = l.star ? color : kUnreachedGrey;
        l.z = l.star ? 1 : 0;
        if (l.star) l.w = m.width(l.text(), kLabelPoint);
    }
    // The grey names first and the reached ones after, as they are painted.
    到達駅優先非重(pic.labels);
    return pic;
}

}  // namespace kisharin

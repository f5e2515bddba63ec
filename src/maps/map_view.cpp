#include "maps/map_view.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace kisharin {

namespace {

constexpr float kPi = 3.1415927f;
constexpr float kEquatorKm = 40074.785f;
constexpr float kLatKm = 111.12f;  // kilometres per degree of latitude
constexpr float kMargin = 0.02f;   // degrees

// Kilometres per degree of longitude at the middle of two latitudes.
float kmPerLon(float lat1, float lat2) {
    const float phi = (lat1 + lat2) / 2 * kPi / 180;
    return static_cast<float>(std::cos(phi) * kEquatorKm / 360);
}

void addPolyline(const GeoLine& pts, const CanvasScale& c, Long color, int width, MapPicture& pic) {
    MapPolyline line;
    line.color = color;
    line.width = width;
    line.points.reserve(pts.size());
    for (const GeoPoint& p : pts) line.points.push_back(c.toPixel(p.lat, p.lon));
    pic.lines.push_back(std::move(line));
}

// In 64 bits: a map zoomed far in puts labels near the ends of int.
bool within(long long v, long long lo, long long extent) {
    return v >= lo && v <= lo + extent;
}

// Label i runs into label j: one of i's corners lies on j (edges included).
bool hits(const MapLabel& i, const MapLabel& j) {
    const bool horizontal = within(i.x, j.x, j.w) || within(static_cast<long long>(i.x) + i.w, j.x, j.w);
    const bool vertical = within(i.y, j.y, j.h) || within(static_cast<long long>(i.y) + i.h, j.y, j.h);
    return horizontal && vertical;
}

}  // namespace

long roundEven(double v) {
    return std::lrint(v);
}

MapView 座標設定(float boundW, float boundE, float boundS, float boundN) {
    const float kmLon = kmPerLon(boundS, boundN);
    const float widthKm = static_cast<float>(roundEven((boundE - boundW) * kmLon));
    const float heightKm = static_cast<float>(roundEven((boundN - boundS) * kLatKm));
    MapView v;
    if (widthKm >= heightKm) {
        const float m = kmLon * kMargin;
        v.left = boundW - kMargin;
        v.right = boundE + kMargin;
        v.top = boundN + m / kLatKm;
        v.bottom = boundN - (2 * m + widthKm) / kLatKm;
    } else {
        v.top = boundN + kMargin;
        v.bottom = boundS - kMargin;
        v.left = boundW - 2.2224f / kmLon;
        v.right = boundW + (heightKm + 4.4448f) / kmLon;
    }
    return v;
}

MapView squareView(const MapView& in) {
    MapView v = in;
    const float kmLon = kmPerLon(v.top, v.bottom);
    const float wKm = static_cast<float>(roundEven((v.right - v.left) * kmLon));
    const float hKm = static_cast<float>(roundEven((v.top - v.bottom) * kLatKm));
    if (wKm < hKm)
        v.right = v.left + hKm / kmLon;
    else
        v.bottom = v.top - wKm / kLatKm;
    return v;
}

bool viewInside(const MapView& a, const MapView& b) {
    return a.left >= b.left && a.right <= b.right && a.top <= b.top && a.bottom >= b.bottom;
}

MapView firstView(const MapData& d) {
    // The box of each piece of the outline, as a view (left, right, top, bottom).
    std::vector<MapView> pieces;
    for (const std::string& key : d.prefLineOnly) {
        const auto it = d.line.find(key);
        if (it == d.line.end() || it->second.empty()) continue;
        MapView b{static_cast<float>(it->second[0].lon), static_cast<float>(it->second[0].lon),
                  static_cast<float>(it->second[0].lat), static_cast<float>(it->second[0].lat)};
        for (const GeoPoint& p : it->second) {
            b.left = std::min(b.left, static_cast<float>(p.lon));
            b.right = std::max(b.right, static_cast<float>(p.lon));
            b.top = std::max(b.top, static_cast<float>(p.lat));
            b.bottom = std::min(b.bottom, static_cast<float>(p.lat));
        }
        pieces.push_back(b);
    }
    float w = d.boundW, e = d.boundE, s = d.boundS, n = d.boundN;
    const MapView first = 座標設定(w, e, s, n);
    // A piece the prefecture's own box cuts (a cape, the tip of a peninsula) is taken in
    // whole. Only those: the islands that a larger view would then touch stay as they
    // were, so that 北海道 grows to 納沙布岬 and not out to the far islands beyond it.
    bool grown = false;
    for (const MapView& b : pieces) {
        const bool touches =
            b.left < first.right && b.right > first.left && b.bottom < first.top && b.top > first.bottom;
        if (!touches || viewInside(b, first)) continue;
        w = std::min(w, b.left);
        e = std::max(e, b.right);
        s = std::min(s, b.bottom);
        n = std::max(n, b.top);
        grown = true;
    }
    const MapView v = grown ? 座標設定(w, e, s, n) : first;
    return v;
}

double CanvasScale::pixelX(double lon) const {
    return (lon - view.left) * width / (static_cast<double>(view.right) - view.left);
}
double CanvasScale::pixelY(double lat) const {
    return (lat - view.top) * height / (static_cast<double>(view.bottom) - view.top);
}
CanvasPoint CanvasScale::toPixel(double lat, double lon) const {
    return {static_cast<int>(roundEven(pixelX(lon))), static_cast<int>(roundEven(pixelY(lat)))};
}
double CanvasScale::lonAt(double px) const {
    return view.left + px * (static_cast<double>(view.right) - view.left) / width;
}
double CanvasScale::latAt(double py) const {
    return view.top + py * (static_cast<double>(view.bottom) - view.top) / height;
}

std::vector<const MapLabel*> MapPicture::paintOrder() const {
    std::vector<const MapLabel*> out;
    for (const MapLabel& l : labels)
        if (l.visible) out.push_back(&l);
    std::stable_sort(out.begin(), out.end(),
                     [](const MapLabel* a, const MapLabel* b) { return a->z < b->z; });
    return out;
}

const MapLabel* MapPicture::labelAt(int x, int y) const {
    const auto order = paintOrder();
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        const MapLabel& l = **it;
        if (x >= l.x && x < l.x + l.w && y >= l.y && y < l.y + l.h) return &l;
    }
    return nullptr;
}

void 県界線のみ描画(const MapData& d, const CanvasScale& c, MapPicture& pic) {
    for (const std::string& key : d.prefLineOnly) {
        const auto it = d.line.find(key);
        if (it != d.line.end()) addPolyline(it->second, c, rgb(0, 0, 255), 3, pic);
    }
}

void 鉄道描画(const MapData& d, const CanvasScale& c, MapPicture& pic) {
    for (const MapLineRecord& r : d.lineRr) {
        char* end = nullptr;
        const double kind = std::strtod(r.extra.c_str(), &end);
        addPolyline(r.points, c, rgb(0, 0, 0), kind == 11 ? 2 : 1, pic);
    }
    for (const MapLineRecord& r : d.lineSt) addPolyline(r.points, c, rgb(0, 255, 0), 2, pic);
}

void 駅描画(const MapData& d, const CanvasScale& c, const TextMetrics& m, MapPicture& pic) {
    pic.labels.clear();
    if (d.lineSt.empty()) return;
    pic.labels.reserve(d.sameStation.size());
    const int h = m.height(kLabelPoint);
    for (const SameStationRecord& r : d.sameStation) {
        MapLabel l;
        const CanvasPoint p = c.toPixel(r.lat, r.lon);
        l.x = p.x;
        l.y = p.y;
        l.caption = r.name;
        l.hint = r.line;
        l.w = m.width(r.name, kLabelPoint);
        l.h = h;
        pic.labels.push_back(std::move(l));
    }
}

void 駅非重_総当たり(std::vector<MapLabel>& labels) {
    for (size_t i = 0; i < labels.size(); ++i)
        for (size_t j = 0; j < labels.size(); ++j) {
            if (j == i || !labels[j].visible) continue;
            if (hits(labels[i], labels[j])) {
                labels[i].visible = false;
                break;
            }
        }
}

void 駅非重(std::vector<MapLabel>& labels) {
    if (labels.size() < 64) {
        駅非重_総当たり(labels);
        return;
    }
    // Square buckets, each listing the labels whose rectangle (edges included) reaches
    // into it. A corner of label i can only lie on a label listed in the bucket that
    // holds the corner, whatever the bucket's size. Buckets are 32 pixels, a label's
    // size, unless the labels lie so far apart that the grid would hold many more
    // buckets than labels (a map zoomed far in): then they grow, so the grid stays
    // within a few buckets per label.
    long long minX = labels[0].x, minY = labels[0].y, maxX = minX, maxY = minY;
    for (const MapLabel& l : labels) {
        minX = std::min<long long>(minX, l.x);
        minY = std::min<long long>(minY, l.y);
        maxX = std::max(maxX, static_cast<long long>(l.x) + l.w);
        maxY = std::max(maxY, static_cast<long long>(l.y) + l.h);
    }
    const long long cellLimit = 4 * static_cast<long long>(labels.size()) + 1024;
    long long cellSize = 32;
    while (((maxX - minX) / cellSize + 1) * ((maxY - minY) / cellSize + 1) > cellLimit) cellSize *= 2;
    const auto cellOf = [&](long long v, long long lo) { return static_cast<int>((v - lo) / cellSize); };
    const int cols = cellOf(maxX, minX) + 1;
    const int rows = cellOf(maxY, minY) + 1;
    std::vector<std::vector<int>> grid(static_cast<size_t>(cols) * rows);
    for (size_t k = 0; k < labels.size(); ++k) {
        const MapLabel& l = labels[k];
        const long long right = static_cast<long long>(l.x) + l.w, bottom = static_cast<long long>(l.y) + l.h;
        for (int cy = cellOf(l.y, minY); cy <= cellOf(bottom, minY); ++cy)
            for (int cx = cellOf(l.x, minX); cx <= cellOf(right, minX); ++cx)
                grid[static_cast<size_t>(cy) * cols + cx].push_back(static_cast<int>(k));
    }
    for (size_t i = 0; i < labels.size(); ++i) {
        MapLabel& li = labels[i];
        const long long xs[2] = {li.x, static_cast<long long>(li.x) + li.w};
        const long long ys[2] = {li.y, static_cast<long long>(li.y) + li.h};
        bool hidden = false;
        for (int a = 0; a < 2 && !hidden; ++a)
            for (int b = 0; b < 2 && !hidden; ++b) {
                const auto& cell =
                    grid[static_cast<size_t>(cellOf(ys[b], minY)) * cols + cellOf(xs[a], minX)];
                for (const int j : cell) {
                    if (static_cast<size_t>(j) == i || !labels[j].visible) continue;
                    if (hits(li, labels[j])) {
                        hidden = true;
                        break;
                    }
                }
            }
        if (hidden) li.visible = false;
    }
}

void 駅強調(const GameState& s, const std::string& pref, const TextMetrics& m, MapPicture& pic) {
    std::string msg;
    int front = 0;
    for (const MapLabel& l : pic.labels) front = std::max(front, l.z);
    const auto emphasise = [&](int line, int pos, Long color) {
        const std::string& name = s.ekiName(line, pos);
        for (MapLabel& l : pic.labels) {
            if (l.caption != name) continue;
            l.visible = true;
            l.color = color;
            l.z = ++front;
            l.pointSize = kEmphasisPoint;
            l.w = m.width(l.caption, kEmphasisPoint);
            l.h = m.height(kEmphasisPoint);
            return true;
        }
        return false;
    };
    for (int d = 1; d <= 8; ++d) {
        const int line = s.mokutekitiRosen[d], pos = s.mokutekitiEki[d];
        if (s.ekiPref(line, pos) != pref) continue;
        if (!emphasise(line, pos, rgb(255, 0, 255))) msg = "目的地、";
    }
    for (int p = 0; p <= 1; ++p) {
        const int line = s.playerRosen[p], pos = s.playerEki[p];
        if (s.ekiPref(line, pos) != pref) continue;
        if (!emphasise(line, pos, p == 0 ? rgb(0, 0, 255) : rgb(255, 0, 0))) msg += s.playerName[p] + "、";
    }
    pic.lblMes = msg.empty() ? std::string() : msg + "の駅が見当たりませんでした。";
}

MapPicture 描画(const MapData& d, const MapView& v, int width, int height, const GameState& s,
                const TextMetrics& m) {
    MapPicture pic;
    pic.width = width;
    pic.height = height;
    const CanvasScale c{v, width, height};
    県界線のみ描画(d, c, pic);
    鉄道描画(d, c, pic);
    駅描画(d, c, m, pic);
    駅非重(pic.labels);
    駅強調(s, d.pref, m, pic);
    return pic;
}

}  // namespace kisharin

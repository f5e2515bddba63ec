#include "databuilder/geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace kisharin::databuilder {

namespace {

constexpr double kRadPerDegree = 3.14159265358979323846 / 180.0;

// A flat map in metres around a reference latitude.
struct Flat {
    double kx, ky;
    explicit Flat(double lat0)
        : kx(kMetresPerDegree * std::cos(lat0 * kRadPerDegree)), ky(kMetresPerDegree) {}
    double x(const GeoPt& p) const { return p.lng * kx; }
    double y(const GeoPt& p) const { return p.lat * ky; }
    GeoPt back(double x, double y) const { return GeoPt{x / kx, y / ky}; }
};

// Where p falls on segment ab: the parameter u in [0, 1] of its foot and the distance.
std::pair<double, double> footOnSegment(const Flat& f, const GeoPt& a, const GeoPt& b, const GeoPt& p) {
    const double ax = f.x(a), ay = f.y(a);
    const double dx = f.x(b) - ax, dy = f.y(b) - ay;
    const double px = f.x(p) - ax, py = f.y(p) - ay;
    const double len2 = dx * dx + dy * dy;
    const double u = len2 > 0 ? std::clamp((px * dx + py * dy) / len2, 0.0, 1.0) : 0.0;
    return {u, std::hypot(px - u * dx, py - u * dy)};
}

double lengthMetres(const Flat& f, const GeoPt& a, const GeoPt& b) {
    return std::hypot(f.x(b) - f.x(a), f.y(b) - f.y(a));
}

GeoPt between(const GeoPt& a, const GeoPt& b, double u) {
    return GeoPt{a.lng + (b.lng - a.lng) * u, a.lat + (b.lat - a.lat) * u};
}

void appendDistinct(Polyline& out, const GeoPt& p) {
    if (out.empty() || !(out.back() == p)) out.push_back(p);
}

}  // namespace

void Box::add(const GeoPt& p) {
    if (empty) {
        w = e = p.lng;
        s = n = p.lat;
        empty = false;
        return;
    }
    w = std::min(w, p.lng);
    e = std::max(e, p.lng);
    s = std::min(s, p.lat);
    n = std::max(n, p.lat);
}

void Box::add(const Box& b) {
    if (b.empty) return;
    add(GeoPt{b.w, b.s});
    add(GeoPt{b.e, b.n});
}

Box Box::grown(double dLng, double dLat) const {
    Box b = *this;
    if (!b.empty) {
        b.w -= dLng;
        b.e += dLng;
        b.s -= dLat;
        b.n += dLat;
    }
    return b;
}

Box Box::of(const Polyline& line) {
    Box b;
    for (const GeoPt& p : line) b.add(p);
    return b;
}

Polyline simplify(const Polyline& line, double toleranceMetres) {
    if (line.size() <= 2) return line;
    const Flat f(line.front().lat);
    std::vector<char> keep(line.size(), 0);
    keep.front() = keep.back() = 1;
    std::vector<std::pair<size_t, size_t>> todo{{0, line.size() - 1}};
    while (!todo.empty()) {
        const auto [a, b] = todo.back();
        todo.pop_back();
        double worst = -1;
        size_t at = a;
        for (size_t i = a + 1; i < b; ++i) {
            const double d = footOnSegment(f, line[a], line[b], line[i]).second;
            if (d > worst) {
                worst = d;
                at = i;
            }
        }
        if (worst > toleranceMetres) {
            keep[at] = 1;
            todo.emplace_back(a, at);
            todo.emplace_back(at, b);
        }
    }
    Polyline out;
    for (size_t i = 0; i < line.size(); ++i)
        if (keep[i]) out.push_back(line[i]);
    return out;
}

std::vector<Polyline> clipToBox(const Polyline& line, const Box& box) {
    std::vector<Polyline> pieces;
    Polyline run;
    for (size_t i = 0; i + 1 < line.size(); ++i) {
        Box seg;
        seg.add(line[i]);
        seg.add(line[i + 1]);
        if (seg.intersects(box)) {
            if (run.empty()) run.push_back(line[i]);
            run.push_back(line[i + 1]);
        } else if (!run.empty()) {
            pieces.push_back(std::move(run));
            run.clear();
        }
    }
    if (!run.empty()) pieces.push_back(std::move(run));
    return pieces;
}

bool insideRing(const Polyline& ring, const GeoPt& p) {
    bool inside = false;
    const size_t n = ring.size();
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        const GeoPt& a = ring[i];
        const GeoPt& b = ring[j];
        if ((a.lat > p.lat) != (b.lat > p.lat) &&
            p.lng < (b.lng - a.lng) * (p.lat - a.lat) / (b.lat - a.lat) + a.lng)
            inside = !inside;
    }
    return inside;
}

double distanceToLineMetres(const Polyline& line, const GeoPt& p) {
    const Flat f(p.lat);
    if (line.size() == 1) return lengthMetres(f, line[0], p);
    double best = std::numeric_limits<double>::infinity();
    for (size_t i = 0; i + 1 < line.size(); ++i)
        best = std::min(best, footOnSegment(f, line[i], line[i + 1], p).second);
    return best;
}

Polyline stretchAlong(const std::vector<const Polyline*>& tracks, const GeoPt& p, double lengthMetres_,
                      double maxDistanceMetres) {
    const Flat f(p.lat);
    const Polyline* best = nullptr;
    size_t seg = 0;
    double bestU = 0, bestD = std::numeric_limits<double>::infinity();
    for (const Polyline* track : tracks)
        for (size_t i = 0; i + 1 < track->size(); ++i) {
            const Polyline& t = *track;
            const auto [u, d] = footOnSegment(f, t[i], t[i + 1], p);
            if (d < bestD) {
                bestD = d;
                best = track;
                seg = i;
                bestU = u;
            }
        }
    if (!best || bestD > maxDistanceMetres) return {};
    const Polyline& t = *best;
    const GeoPt centre = between(t[seg], t[seg + 1], bestU);
    const double half = lengthMetres_ / 2;

    // Walks from the centre towards one end of the track, `half` metres at most.
    auto walk = [&](int step) {
        Polyline out;
        GeoPt at = centre;
        double left = half;
        for (long i = step > 0 ? static_cast<long>(seg) + 1 : static_cast<long>(seg);
             i >= 0 && i < static_cast<long>(t.size()) && left > 0; i += step) {
            const GeoPt& next = t[static_cast<size_t>(i)];
            const double d = lengthMetres(f, at, next);
            if (d >= left) {
                out.push_back(between(at, next, left / d));
                left = 0;
            } else {
                out.push_back(next);
                left -= d;
                at = next;
            }
        }
        return out;
    };
    const Polyline back = walk(-1), ahead = walk(+1);
    Polyline out;
    for (auto it = back.rbegin(); it != back.rend(); ++it) appendDistinct(out, *it);
    appendDistinct(out, centre);
    for (const GeoPt& q : ahead) appendDistinct(out, q);
    return out;
}

Polyline straightStretch(const GeoPt& p, const GeoPt& from, const GeoPt& to, double lengthMetres_) {
    const Flat f(p.lat);
    double dx = f.x(to) - f.x(from), dy = f.y(to) - f.y(from);
    const double len = std::hypot(dx, dy);
    if (len > 0) {
        dx /= len;
        dy /= len;
    } else {
        dx = -1;
        dy = 0;
    }
    const double h = lengthMetres_ / 2;
    return {f.back(f.x(p) - dx * h, f.y(p) - dy * h), f.back(f.x(p) + dx * h, f.y(p) + dy * h)};
}

}  // namespace kisharin::databuilder

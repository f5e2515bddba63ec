// Plane geometry on small pieces of the earth for the railway maps: points in degrees,
// distances in metres on a flat map around a reference latitude (good to well under a
// metre over the few hundred kilometres of one prefecture).
#pragma once

#include <vector>

namespace kisharin::databuilder {

struct GeoPt {
    double lng = 0;
    double lat = 0;
    friend bool operator==(const GeoPt&, const GeoPt&) = default;
};

using Polyline = std::vector<GeoPt>;

// Metres per degree of latitude (mean earth radius 6371.0088 km).
constexpr double kMetresPerDegree = 111195.08;

struct Box {
    double w = 0, e = 0, s = 0, n = 0;  // west, east (longitudes), south, north (latitudes)
    bool empty = true;

    void add(const GeoPt& p);
    void add(const Box& b);
    bool contains(const GeoPt& p) const {
        return !empty && p.lng >= w && p.lng <= e && p.lat >= s && p.lat <= n;
    }
    bool intersects(const Box& b) const {
        return !empty && !b.empty && b.w <= e && b.e >= w && b.s <= n && b.n >= s;
    }
    // Grown by dLng on the west and east and by dLat on the south and north.
    Box grown(double dLng, double dLat) const;
    static Box of(const Polyline& line);
};

// Douglas-Peucker: the fewest vertices (the first and last always kept) such that no
// dropped vertex lies farther than toleranceMetres from the simplified line.
Polyline simplify(const Polyline& line, double toleranceMetres);

// The pieces of a polyline near a box: the runs of segments whose extent meets the box,
// each with the vertex just outside at either end so that it runs on to the box's edge.
// A line of one vertex gives nothing.
std::vector<Polyline> clipToBox(const Polyline& line, const Box& box);

// Whether p lies inside the closed ring (even-odd rule; a ring need not repeat its
// first vertex at the end).
bool insideRing(const Polyline& ring, const GeoPt& p);

// Distance in metres from p to the nearest vertex or edge of the ring.
double distanceToLineMetres(const Polyline& line, const GeoPt& p);

// A stretch of track about lengthMetres long centred on the point of `tracks` nearest to
// p, following the track's bends (shorter where the track ends). Empty when no track
// passes within maxDistanceMetres of p.
Polyline stretchAlong(const std::vector<const Polyline*>& tracks, const GeoPt& p, double lengthMetres,
                      double maxDistanceMetres);

// A straight stretch lengthMetres long centred on p in the direction from `from` to `to`
// (east to west when the two are the same point).
Polyline straightStretch(const GeoPt& p, const GeoPt& from, const GeoPt& to, double lengthMetres);

}  // namespace kisharin::databuilder

// Drawing one prefecture's railway map: the view rectangle in degrees, the polylines
// projected onto the canvas in pixels, and the station labels with their thinning and
// emphasis. The window paints what these models hold.
#pragma once

#include <string>
#include <vector>

#include "board/text_metrics.h"
#include "maps/map_data.h"
#include "state/game_state.h"

namespace kisharin {

// The rectangle of the map shown on the canvas, in degrees (32-bit floats). top is the
// northern edge, bottom the southern one.
struct MapView {
    float left = 0, right = 0, top = 0, bottom = 0;
    bool empty() const { return left == right || top == bottom; }
    friend bool operator==(const MapView&, const MapView&) = default;
};

// Rounds to the nearest integer, halves to even.
long roundEven(double v);

// The first view of a prefecture: the bounding box with a margin of 0.02 degrees, made
// almost square in kilometres.
MapView 座標設定(float boundW, float boundE, float boundS, float boundN);

// Makes a view square in kilometres without a margin (after a zoom).
MapView squareView(const MapView& v);

// Whether view a lies wholly inside view b.
bool viewInside(const MapView& a, const MapView& b);

// The first view of a prefecture's map: 座標設定 of its box, the box grown first by each
// piece of the prefecture's outline (an island or a cape drawn as a ring of its own) that
// the view would cut at its edge, until the view cuts none: a piece of land is shown
// whole or, far off the box, not at all.
MapView firstView(const MapData& d);

struct CanvasPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const CanvasPoint&, const CanvasPoint&) = default;
};

// A view on a canvas of width x height pixels: degrees to pixels and back.
struct CanvasScale {
    MapView view;
    int width = 600;
    int height = 600;

    CanvasPoint toPixel(double lat, double lon) const;
    double pixelX(double lon) const;  // not rounded
    double pixelY(double lat) const;
    double lonAt(double px) const;
    double latAt(double py) const;
};

struct MapPolyline {
    std::vector<CanvasPoint> points;
    Long color = 0;
    int width = 1;
};

// Label font sizes: the template's and the emphasised one.
inline constexpr int kLabelPoint = 8;
inline constexpr int kEmphasisPoint = 10;
inline constexpr Long kWindowText = -1;  // the system's window-text colour

// One station label lblEki(i) on the canvas, in canvas pixels.
struct MapLabel {
    int x = 0, y = 0, w = 0, h = 0;
    std::string caption;  // the station name
    std::string hint;     // the line name
    bool visible = true;
    Long color = kWindowText;
    int pointSize = kLabelPoint;
    int z = 0;          // stacking order: higher is in front
    bool star = false;  // written with a ★ before the name (a station reached, in the conquest record)

    // What the label reads.
    std::string text() const { return star ? "★" + caption : caption; }
};

// The finished picture of one drawing.
struct MapPicture {
    int width = 0, height = 0;
    std::vector<MapPolyline> lines;  // boundary, tracks, platforms in drawing order
    std::vector<MapLabel> labels;    // lblEki(1..n) as labels[0..n-1]
    std::string lblMes;              // the red line under the map

    // The labels in painting order (back to front), visible ones only.
    std::vector<const MapLabel*> paintOrder() const;
    // The frontmost visible label under a canvas pixel, or nullptr.
    const MapLabel* labelAt(int x, int y) const;
};

// The steps of a drawing, each adding to pic.
void 県界線のみ描画(const MapData& d, const CanvasScale& c, MapPicture& pic);
void 鉄道描画(const MapData& d, const CanvasScale& c, MapPicture& pic);
void 駅描画(const MapData& d, const CanvasScale& c, const TextMetrics& m, MapPicture& pic);
// Hides every label that one of its corners puts on a label still visible, the one
// examined first giving way (index order). Fast: a grid of the labels' rectangles.
void 駅非重(std::vector<MapLabel>& labels);
// The same, comparing every pair; kept to check the fast one against.
void 駅非重_総当たり(std::vector<MapLabel>& labels);
// Emphasises the destinations and both players' stations of the shown prefecture and
// sets lblMes when one has no label.
void 駅強調(const GameState& s, const std::string& pref, const TextMetrics& m, MapPicture& pic);

// The whole drawing for a view on a canvas of the given size.
MapPicture 描画(const MapData& d, const MapView& v, int width, int height, const GameState& s,
                const TextMetrics& m);

}  // namespace kisharin

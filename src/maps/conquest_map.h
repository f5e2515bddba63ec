// A prefecture's railway map for the conquest record: the detailed map's drawing, with
// the stations a player has reached marked in a colour of their own, the others in grey,
// and the tracks between two reached stations drawn in the reached colour.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "board/text_metrics.h"
#include "maps/map_data.h"
#include "maps/map_view.h"

namespace kisharin {

// Whether the station of this name (in the map's prefecture) was reached.
using ReachedStation = std::function<bool(const std::string& name)>;

inline constexpr Long kUnreachedGrey = rgb(150, 150, 150);

// The pieces of track between two stations both reached. A track's vertex belongs to a
// station when a platform vertex of that station lies within about 130 m of it; the
// stretch of track from one station's last vertex to the next station's first is a
// piece, coloured when both ends are reached (also along one reached station). Track
// that passes no platform cannot be told apart and stays as it is.
std::vector<MapPolyline> reachedTracks(const MapData& d, const CanvasScale& c, const ReachedStation& reached,
                                       Long color, int width);

// The whole prefecture (its first view) on a canvas of size x size pixels: boundary,
// tracks, platforms, the reached track pieces over them, and the labels: reached names
// with a ★, in `color` and in front, the others grey. Where names overlap, a grey one
// gives way to a reached one whichever lies where; reached names give way only to each
// other.
MapPicture conquestMapPicture(const MapData& d, int size, const TextMetrics& m, const ReachedStation& reached,
                              Long color);

// Thins the labels as 駅非重 does, the labels with a ★ first among themselves, then the
// others against what is left of them and among themselves.
void 到達駅優先非重(std::vector<MapLabel>& labels);

}  // namespace kisharin

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

// The whole prefecture on a canvas of size x size pixels: boundary, tracks, platforms,
// the reached track pieces over them, and the labels: reached names in `color` and in
// front (they keep their place when names overlap), the others grey.
MapPicture conquestMapPicture(const MapData& d, int size, const TextMetrics& m, const ReachedStation& reached,
                              Long color);

}  // namespace kisharin

// The journeys of a story on the map of Japan the prefecture picker draws: each ride as
// a polyline through its stations' platforms (picker coordinates, 沖縄県 in its inset),
// and the eight destinations as marks. The window only paints these.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "maps/picker.h"
#include "record/story.h"

namespace kisharin {

struct StoryMapRide {
    std::vector<PickerPoint> points;  // one per station ridden through, in order
    bool flight = false;              // an air route: drawn as a jump, not along a track
};

struct StoryMapMark {
    PickerPoint at;
    int number = 0;      // 1..8
    int reachedBy = -1;  // -1 nobody
};

struct StoryMap {
    std::array<std::vector<StoryMapRide>, 2> rides;
    std::vector<StoryMapMark> destinations;
    // Stations whose place the map data does not give (left out of the drawing).
    int unplaced = 0;
};

// Reads the platforms of every prefecture the story touches from mapDataDir (DataError
// naming the file and line on a fault) and places the story's rides and destinations.
StoryMap storyMap(const Story& story, const std::string& mapDataDir);

}  // namespace kisharin

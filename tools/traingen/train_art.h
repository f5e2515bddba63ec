// The eight train pictures of the ride and the celebration, drawn by the program:
// 778 × 101 px, outlines pure black without anti-aliasing and no other pixel dark,
// every region the line's colours go into closed by black around its seed points, and
// the ground around the train pure white (the sky fill finds it from the sky seeds).
#pragma once

#include "scene/pixels.h"

namespace kisharin::traingen {

// The colour of the parts that the colouring fills: what the picture shows where the
// painting stopped early.
constexpr std::uint32_t kToPaint = argb(240, 240, 240);

// 1 新幹線, 2 JR main line and express, 3 commuter, 4 subway, 5 tram, 6 monorail,
// 7 cable car, 8 sightseeing trolley. Any other number gives an empty picture.
PixelBuffer drawTrainPicture(int picture);

}  // namespace kisharin::traingen

// The ride's scenery pieces, drawn by the program: each function returns a fresh picture
// at the size the strip places it with. Pieces that stand in the landscape have a
// transparent background (alpha 0) so the sky shows round them; the viaduct pier is a
// black box. The cloud and the aeroplane are black outlines on white: a flood fill of the
// sky colour from (0, 0) colours their surroundings and nothing inside the outline.
#pragma once

#include "scene/pixels.h"

namespace kisharin {

PixelBuffer signalPicture();         // 26 × 170
PixelBuffer treePicture();           // 57 × 178
PixelBuffer tunnelPicture();         // 126 × 167, one segment; segments join side by side
PixelBuffer polePicture();           // 39 × 156
PixelBuffer viaductPierPicture();    // 41 × 57, black
PixelBuffer riverPicture();          // 212 × 257
PixelBuffer roadPicture();           // 212 × 257
PixelBuffer levelCrossingPicture();  // 73 × 158
PixelBuffer bufferStopPicture();     // 33 × 50
PixelBuffer redSignalPicture();      // 26 × 170, the signal showing red
PixelBuffer cloudPicture();          // 168 × 101, outline on white
PixelBuffer aeroplanePicture();      // 261 × 196, outline on white

}  // namespace kisharin

// The pictures of the special events and of the race, drawn by the program: the five
// event pictures of the board (1 tornado, 2 fire, 3 tsunami, 4 warp hole, 5 guardian
// god) and the three racers of the betting window (1 horse, 2 boat, 3 bicycle), which
// run to the left.
#pragma once

#include <QPixmap>

namespace kisharin {

inline constexpr int kEventPictureWidth = 160;
inline constexpr int kEventPictureHeight = 120;

// Event picture k (1..5), kEventPictureWidth x kEventPictureHeight; a null pixmap for
// any other k.
QPixmap eventPicture(int k);

// Racer picture k (1..3), 44 x 33 with a transparent background; null for any other k.
QPixmap racerPicture(int k);

}  // namespace kisharin

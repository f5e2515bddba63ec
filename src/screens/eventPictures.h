// The pictures of the special events and of the race, drawn by the program: the five
// event pictures of the board (1 tornado, 2 fire, 3 tsunami, 4 warp hole, 5 guardian
// god) and the three racers of the betting window (1 horse, 2 boat, 3 bicycle), which
// run to the left.
#pragma once

#include <QPixmap>

#include "turns/events.h"

class QLabel;
class QTimer;
class QWidget;

namespace kisharin {

inline constexpr int kEventPictureWidth = 160;
inline constexpr int kEventPictureHeight = 120;

// Event picture k (1..5), kEventPictureWidth x kEventPictureHeight; a null pixmap for
// any other k.
QPixmap eventPicture(int k);

// Racer picture k (1..3), 44 x 33 with a transparent background; null for any other k.
QPixmap racerPicture(int k);

// The event picture over a board's strip (a disaster sliding across, the warp hole, the
// god), for the board and for a network guest's board alike: its label `picE` and the
// timer `tmrNature` that slides it, children of the board.
class BoardPicture {
  public:
    explicit BoardPicture(QWidget* board);
    // A disaster's picture sliding across from the left of the board area.
    void slide(int kind, int screenTop);
    // The warp hole or the god centred over the board area; 0 hides the picture.
    void show(int picture, int screenWidth, int screenTop);
    // One step of the slide (the timer's).
    void step();
    QLabel* label() const { return label_; }
    const EventPicture& model() const { return e_; }

  private:
    void place();
    QWidget* board_;
    QLabel* label_;
    QTimer* timer_;
    EventPicture e_;
    int drawn_ = 0;  // the picture the label holds
};

}  // namespace kisharin

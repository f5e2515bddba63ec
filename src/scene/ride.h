// The ride window frmEki as plain models: what set-up composes (the strip of station
// boards, the scenery, the numbers the animation needs) and the animation itself
// (tmrMain slides the strip, tmrScore pays points). The window only draws these.
#pragma once

#include <string>
#include <vector>

#include "scene/paint.h"
#include "state/clock.h"
#include "state/game_state.h"
#include "state/rng.h"

namespace kisharin {

// Fixed geometry of the ride window, in px.
namespace ride {
inline constexpr int kClientWidth = 994;
inline constexpr int kClientHeight = 519;
inline constexpr int kStripTop = 72;
inline constexpr int kStripDesignLeft = 16;
inline constexpr int kStripDesignWidth = 961;  // interior width before it is widened
inline constexpr int kStripHeight = 449;
inline constexpr int kBoardWidth = 273;
inline constexpr int kBoardGap = 400;  // empty track after every board
inline constexpr int kBoardStep = kBoardWidth + kBoardGap;
inline constexpr int kPanelWidth = 137;
inline constexpr int kTrainLeft = 96, kTrainTop = 360;  // the train picture's place
inline constexpr int kHoldMs = 1000;                    // the stand at the platform before the window closes
inline constexpr int kScoreMs = 1000;                   // tmrScore
inline constexpr int kScorePerTick = 10;

// Font sizes in points.
inline constexpr double kNamePt = 36, kLongNamePt = 18;
inline constexpr double kNeighbourPt = 15.75, kLongNeighbourPt = 13;
inline constexpr double kPrefPt = 20.25;
inline constexpr double kLineNamePt = 21.75;
inline constexpr double kHeaderPt = 12;
}  // namespace ride

// One station board and its texts; Left in strip coordinates.
struct RideBoard {
    int position = 0;  // station position on the line
    int left = 0;      // the board rectangle; panels, posts and texts follow from it
    std::string name;
    double namePt = ride::kNamePt;
    std::string reading;  // hiragana
    std::string pref;     // "(" prefecture ")"
    std::string back, next;
    double backPt = ride::kNeighbourPt, nextPt = ride::kNeighbourPt;
};

enum class PieceKind { River, Road, Crossing, BufferStop, RedSignal, Pole, Tree, Tunnel, Signal, Pier };

// One piece of scenery inside the strip (strip coordinates, px).
struct ScenePiece {
    PieceKind kind;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const ScenePiece&, const ScenePiece&) = default;
};

// Top, width and height of each kind of piece.
ScenePiece pieceAt(PieceKind kind, int left);

// What set-up composes for one ride.
struct RideLayout {
    int line = 0;
    int start = 0, end = 0;
    std::string lineName;
    std::string kindCaption;
    Long kindColor = 0;
    int tickMs = 100;  // tmrMain
    Long points = 0;   // lblScore at the start
    bool isFlight = false;
    bool isUnderground = false;

    int ekiCount = 0;
    int stripLeft = 0;   // picScreen.Left on the window at the start
    int stripWidth = 0;  // W
    int stopMargin = 0;
    int maxSpeed = 25;

    std::vector<RideBoard> boards;
    // Pieces under the boards (river, road, crossing, buffer stop, red signal, the
    // template pole), then pieces over them (trees, tunnel, poles, signals, piers), each
    // list back to front.
    std::vector<ScenePiece> ground;
    std::vector<ScenePiece> front;

    // A flight shows the plane and clouds and hides train, rail, wire and template pole.
    bool showTrain() const { return !isFlight; }
    int count(PieceKind kind) const;
};

// Katakana to hiragana; everything else unchanged.
std::string toHiragana(const std::string& text);

// Composes the ride of curPlayer (startEki to playerEki on playerRosen) once the
// painting has said whether the line is a flight or underground. Re-seeds rng from
// clock for the scenery.
RideLayout layoutRide(const GameState& s, Rng& rng, Clock& clock, bool isFlight, bool isUnderground);

// The whole scene of a ride: the painting (train, sky, flight and underground flags)
// and the layout composed after it.
struct RideScene {
    ScenePaint paint;
    RideLayout layout;
};

// Set-up of the ride window: paints (a fault in the painting ends only the painting),
// then composes the strip.
RideScene rideSetUp(const GameState& s, Rng& rng, Clock& clock);

// The strip's movement: one tmrMain tick after another until arrival.
class RideMotion {
  public:
    explicit RideMotion(const RideLayout& layout)
        : left_(layout.stripLeft),
          width_(layout.stripWidth),
          stopMargin_(layout.stopMargin),
          maxSpeed_(layout.maxSpeed) {}

    // One tmrMain tick: accelerate or brake, slide the strip; true at the tick that
    // arrives. Ticks after arrival do nothing and return false.
    bool tick();

    int left() const { return left_; }
    int speed() const { return speed_; }
    int ticks() const { return ticks_; }
    bool arrived() const { return arrived_; }

  private:
    int left_, width_, stopMargin_, maxSpeed_;
    int speed_ = 1;
    int ticks_ = 0;
    bool arrived_ = false;
};

// One tmrScore tick: +10 points to curPlayer (held at the largest Long).
void rideScoreTick(GameState& s);

}  // namespace kisharin

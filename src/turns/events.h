// The events after a move: the random travel event with its rare special events (a
// disaster, a warp hole, the guardian god, a gathering, an earthquake), and race betting
// on race-course stations. Also the event picture over the board and its slide.
#pragma once

#include <string>

#include "turns/game.h"

namespace kisharin {

// Event pictures: 1 tornado, 2 fire, 3 tsunami, 4 warp hole, 5 guardian god.
inline constexpr int kPictureWarp = 4;
inline constexpr int kPictureGod = 5;

// The disaster texts of kinds 1..3.
const char* disasterKindText(int kind);
inline constexpr const char* kWarpQuestion = "飛び込みますか？";
std::string warpTitle(const std::string& region);  // "ワープ　" & region & "へ"

// The length of the route found for the player to move at the hand-over that began the
// turn: stations plus one per change of line; 0 when there is no route.
long routeLength(const GameState& s);

// The travel event: one draw of 0..99; 0 disaster, 1 warp, 2 god, 3 gathering,
// 4 earthquake, anything else nothing.
void 移動イベント(Game& g);

void 災害(Game& g);
void ワープ(Game& g);
void 氏神(Game& g);
void 全員集合(Game& g);
void 地震(Game& g);

// Race betting for a human on a race-course station (raceName set): nothing below
// 1000 yen; the race-day message, the betting window, then the stake paid and the win
// (points) or the loss (the stake and 50 points).
// The race day opens the bet question; its end (settleBet) follows the answer.
void 賭け事イベント(Game& g);
// The bet of player p on the race as it ended (a race never started: no bet).
void settleBet(Game& g, int p, const Race& racing);

// --- The event picture picE over the board ---------------------------------------------

inline constexpr int kNatureTickMs = 80;
inline constexpr int kNatureStepPx = 50;
inline constexpr int kEventPictureTop = 10;  // below the top of the board area
inline constexpr int kShakeTwips = 100;
inline constexpr int kShakeMoves = 11;
inline constexpr double kShakeSpacing = 0.08;  // seconds between two moves

struct EventPicture {
    int picture = 0;  // 1..5, 0 none
    int left = 0;     // in the board's pixels
    int top = 0;
    int width = 0;
    bool visible = false;
    bool sliding = false;  // tmrNature running
};

// A disaster picture just left of the board, 10 px below the board area's top, sliding.
void startSlide(EventPicture& e, int kind, int width, int screenTop);
// The warp or the god: centred over the board area, not sliding.
void centrePicture(EventPicture& e, int picture, int width, int screenWidth, int screenTop);
void hidePicture(EventPicture& e);
// One tmrNature tick: 50 px to the right; past the window's right edge the slide stops
// and the picture is hidden. Returns whether the slide goes on.
bool tmrNature_Timer(EventPicture& e, int windowWidth);

}  // namespace kisharin

// The conquest celebration frmSeiha as a plain model: the title in a colour drawn anew
// at every opening, the line name with "　制覇　!!", and the line's train running once
// across the window, 10 px per 30 ms tick, until it has left on the right.
#pragma once

#include <string>

#include "scene/pixels.h"
#include "state/clock.h"
#include "state/game_state.h"
#include "state/rng.h"

namespace kisharin {

namespace seiha {
inline constexpr int kClientWidth = 878;
inline constexpr int kClientHeight = 346;
inline constexpr int kTickMs = 30;
inline constexpr int kStep = 10;
inline constexpr int kTrainTop = 216;
inline constexpr int kTrainWidth = 778;
inline constexpr int kRailTop = 317;
inline constexpr int kCaptionTop = 136;
inline constexpr int kTitleWidth = 827;
inline constexpr int kTitleTop = 16;
inline constexpr double kCaptionPt = 36;
inline constexpr double kTitlePt = 72;
inline constexpr const char* kTitle = "Congratulations !!";
inline constexpr const char* kCaptionTail = "　制覇　!!";
}  // namespace seiha

struct SeihaModel {
    int line = 0;
    Long titleColor = 0;  // red + green*256 + blue*65536
    std::string caption;  // line name & "　制覇　!!"
    int trainLeft = -(seiha::kTrainWidth + 10);
    int ticks = 0;
    bool closed = false;

    // Left of the caption when it is textWidth px wide: centred on the window, also when
    // wider than it.
    static int captionLeft(int textWidth) { return seiha::kClientWidth / 2 - textWidth / 2; }
    // One Timer tick: the train moves on; true at the tick that closes the window.
    bool tick();
};

// Loading: re-seeds rng from clock and draws the title colour (red, green, blue).
SeihaModel seihaSetUp(const GameState& s, int line, Rng& rng, Clock& clock);

// The celebration's train for `line`, coloured as in the ride; empty when the picture
// cannot be read (the celebration still runs).
PixelBuffer seihaTrain(const GameState& s, int line);

}  // namespace kisharin

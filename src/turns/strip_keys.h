// Picking on the board's strip from the keyboard. The keys go over what a click could
// pick there now, in reading order (top to bottom, left to right): the stations of the
// displayed line and its transfer labels. Whether a place can be picked is asked of the
// command its click sends, and picking it sends that very command.
#pragma once

#include <vector>

#include "board/line_display.h"
#include "turns/command.h"

namespace kisharin {

// Station i of the displayed line, or transfer label k (1-based); neither is no target.
struct StripTarget {
    int station = 0;
    int transfer = 0;
    explicit operator bool() const { return station != 0 || transfer != 0; }
    friend bool operator==(const StripTarget&, const StripTarget&) = default;
};

// The command a click on the target sends for the player to move.
Command clickCommand(const Game& g, StripTarget t);

// What the player to move could pick on the strip now, in reading order; nothing while
// a seat that plays by itself is to move.
std::vector<StripTarget> pickableTargets(const Game& g);
// The same for `player` wherever it sits (the host's list for its guest); nothing when it
// is not the player to move.
std::vector<StripTarget> pickableTargetsFor(const Game& g, int player);

// Where the target lies on the strip (the station's box, the label's rectangle); empty
// for a target the model does not show.
PixelRect targetRect(const LineDisplayModel& m, StripTarget t);

// The target `step` places from `from` in the list (+1 the next, -1 the one before),
// staying at the ends. From no target, or one not in the list, +1 goes to the first
// target at or after station `own` and -1 to the last at or before it (then to the
// first or the last of all).
StripTarget stepTarget(const LineDisplayModel& m, const std::vector<StripTarget>& targets, StripTarget from,
                       int step, int own);

// The scroll value nearest to the present one that shows the target whole (with a
// margin for its frame) in the viewport.
int scrollToShow(const LineDisplayModel& m, StripTarget t);

}  // namespace kisharin

// The eight destinations: the arrival check, the end of the game, the earthquake that
// moves them, and what the destination list and the course window show.
#pragma once

#include <string>
#include <vector>

#include "state/game_state.h"
#include "turns/game.h"

namespace kisharin {

// The check after a station click at `position` of curPlayer's line. A ride that ended
// elsewhere (cut short or overshot) never counts. Standing on destination d: a pending
// one is awarded (100 points, 100000 yen, one more arrival), a reached one gives 1 point;
// either way moveDone is set. Several destinations on the one station are each handled.
// When all eight are reached: the end message, the results, and g.ended.
void checkArrival(Game& g, int position);

// The earthquake: every destination not yet reached is drawn again, in order 1..8, by
// the rule of the new-game draw (destination d in region d for the whole country; in a
// regional game in the area and different from destinations 1..d-1, reached or not).
// Reached destinations stay. When the data cannot give a destination it stays as it was.
void 地震目的地変更(Game& g);

// --- The destination list "目的地" --------------------------------------------------

inline constexpr const char* kDestinationListCaption = "目的地";
inline constexpr int kDestinationPointSize = 12;
inline constexpr int kDestinationSmallPointSize = 10;  // for texts longer than 25 characters
inline constexpr Long kColorDestinationReached = rgb(255, 0, 0);
inline constexpr Long kColorDestinationOpen = rgb(0, 0, 255);

struct DestinationLabel {
    int number = 0;    // destination 1..8
    std::string text;  // line name & "：" & station & "　（" & prefecture & "）"
    Long color = 0;
    int pointSize = kDestinationPointSize;
    int column = 0;  // 0 left (1..4), 1 right (5..8)
    int row = 0;     // 0..3 from the top
};

struct DestinationListModel {
    std::string caption = kDestinationListCaption;
    std::vector<DestinationLabel> labels;  // destinations 1..8 in order
};

DestinationListModel destinationListModel(const GameState& s);

// --- The course window "最短目的地" --------------------------------------------------

inline constexpr const char* kCourseCaption = "最短目的地";

struct CourseModel {
    std::string caption = kCourseCaption;
    // From the player's station to the nearest pending destination, per point: the line
    // name, "　" & station & "駅", and "↓" between points.
    std::vector<std::string> lines;
    std::string text() const;  // the lines, each ended by a line break ("\n")
};

CourseModel courseModel(const GameState& s);

}  // namespace kisharin

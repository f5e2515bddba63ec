// Boarding: the train-kind buttons, the kind a special line forces, changing lines at
// the current station, and the ride to a clicked station with its chances of stopping
// short or overshooting, the fare, the debt rule and the meeting rule.
#pragma once

#include "turns/game.h"

namespace kisharin {

// The handlers below carry out commands that `apply` (turns/command.h) has checked;
// everything else sends commands.

// Selects train kind `kind` (1..5) and shows its fare for one station in lblSusumu.
void optKind_Click(Game& g, int kind);

// The kind a line forces: 4 on a 新幹線 line, 5 on an 飛行機 line, else 0.
int forcedKind(const GameState& s, int line);

// Sets the kind buttons for the displayed line: 新幹線 and 飛行機 lines force their kind
// and hide the other three; an ordinary line shows them with the one last set.
void 新幹線判別(Game& g);

// A transfer at the current station: changes to station `to` of another line.
void lblNorikae_Click(Game& g, Station to);

// The station label i of the displayed line: the ride, when it is within reach, then the
// destination check and, when the move is done, the events and the hand-over.
void lblEki_Click(Game& g, int i);

// The debt rule: a negative balance after a ride is forgiven for 50 points.
void debtRule(Game& g);
// The meeting rule: ending on the other player's station takes 50 points from them.
void meetingRule(Game& g);

// The points of the ride window's score ticks that passed during a ride (told to the
// game's record first: they are what the wall clock decided).
void payRide(Game& g, int ticks);

}  // namespace kisharin

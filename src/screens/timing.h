// The windows' timers and waits. Tests may run them faster with setTimeScale (e.g.
// 0.01); the game itself always runs with the times as given and reads no setting.
#pragma once

#include <functional>

class QWidget;

namespace kisharin {

// ms scaled by the time scale (at least 1).
int scaledMs(int ms);

// Sets the time scale for tests: a factor in (0, 1]; anything else means 1.
void setTimeScale(double scale);

// Holds the game for ms (scaled) without taking any event: no click, key, network
// message or timer runs meanwhile, so nothing can start inside the turn that holds.
// What `shown` has drawn goes to the screen first. Only short holds inside a command use
// it (the earthquake's moves); the longer waits are the timers' of the windows.
void holdMs(int ms, QWidget* shown);
// Draws `w` and sends what is drawn to the window system now, without taking events.
void showNow(QWidget* w);

// Ends the program at once, without saving. Tests replace it to watch for the end.
void endProgram();
void setEndProgramHook(std::function<void()> hook);
// What is done before the program ends that way (the game's entry in the list of games,
// a network host's goodbye to its guest); runs once. Empty: nothing.
void setBeforeEnd(std::function<void()> keep);

}  // namespace kisharin

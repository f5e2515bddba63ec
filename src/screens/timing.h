// The windows' timers and waits. Tests may run them faster through one setting, the
// environment variable KISHARIN_TIME_SCALE (e.g. 0.01); the game itself always runs
// with the times as given.
#pragma once

#include <functional>

namespace kisharin {

// ms scaled by the time scale (at least 1).
int scaledMs(int ms);

// Waits ms (scaled) while the windows keep processing their events.
void waitMs(int ms);

// Ends the program at once, without saving. Tests replace it to watch for the end.
void endProgram();
void setEndProgramHook(std::function<void()> hook);

}  // namespace kisharin

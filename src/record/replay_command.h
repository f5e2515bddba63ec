// `kisharin --replay FILE`: plays every game of a record again headless and prints how
// each ended, as plain numbers (see endText), one block per game.
#pragma once

#include <optional>
#include <ostream>

namespace kisharin {

// The exit status when the command line asked for a replay (0 played, 1 the record could
// not be played or ended otherwise than it says, 2 a wrong command line); nullopt
// without --replay.
std::optional<int> runReplayCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace kisharin

// What the program does with its command line before any window opens:
// `--conquest` prints the conquest record as tab-separated text, `--help` and
// `--version` print what they say. Anything else is left to the windows (Qt takes its
// own options such as -platform from there).
#pragma once

#include <optional>
#include <ostream>

namespace kisharin {

// The exit status when the command line was handled here, nullopt when the game is to
// start. out and err stand for the standard output and error.
std::optional<int> runCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace kisharin

// What the program does with its command line before any window opens:
// `--conquest` prints the conquest record as tab-separated text, `--help` and
// `--version` print what they say; `--story FILE` is checked here and opens its window. Anything else is left
// to the windows (Qt takes its own options such as -platform from there).
#pragma once

#include <optional>
#include <ostream>
#include <string>

namespace kisharin {

// The exit status when the command line was handled here, nullopt when the game is to
// start. out and err stand for the standard output and error.
std::optional<int> runCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

// The record file of `--story FILE` (the story window 「対戦の記録」 opens on it instead of
// the game), nullopt without it. runCommandLine has checked the command line before.
std::optional<std::string> storyFileArgument(int argc, const char* const* argv);

}  // namespace kisharin

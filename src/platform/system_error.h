// What the system says when a file cannot be read or written, in words the player can
// act on.
#pragma once

#include <string>

namespace kisharin {

// The reason behind a system error number, in Japanese, e.g. for ENOSPC
// "ディスクの空きがありません". Uncommon errors keep the system's own wording.
std::string systemErrorText(int err);

}  // namespace kisharin

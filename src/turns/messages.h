// The message window: every announcement of the game is set into messageText and shown
// through the message window, which closes itself after two seconds.
#pragma once

#include <string>

#include "turns/game.h"

namespace kisharin {

// Sets s.messageText to text and shows the message window.
void showMessage(Game& g, const std::string& text);

}  // namespace kisharin

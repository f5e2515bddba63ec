// Windows that open other windows as soon as they appear.
#pragma once

#include <functional>

class QWidget;

namespace kisharin {

// Runs fn once the top-level window of w is on the screen where the window manager put
// it, from the event loop. A box opened from fn is then centred over that window, not
// over the place the window had before the window manager moved it. Runs nothing if w
// is destroyed first.
void whenShownOnScreen(QWidget* w, std::function<void()> fn);

}  // namespace kisharin

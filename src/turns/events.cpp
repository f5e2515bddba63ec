#include "turns/events.h"

namespace kisharin {

// The random travel event and race betting come with later work.
void 移動イベント(Game&) {}
void 賭け事イベント(Game&) {}

}  // namespace kisharin

#include "turns/happenings.h"

namespace kisharin {

void buildEventTables(GameState&) {}
void travelHappening(Game&) {}

}  // namespace kisharin

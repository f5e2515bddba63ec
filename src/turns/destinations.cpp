#include "turns/destinations.h"

namespace kisharin {

void checkArrival(Game&, int) {}
void 地震目的地変更(Game&) {}

}  // namespace kisharin

#include "board/route.h"

namespace kisharin {

void 道のり(GameState& s) {
    s.routeList.clear();
    s.routeCount = 0;
}

}  // namespace kisharin

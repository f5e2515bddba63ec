#include "turns/history.h"

namespace kisharin {

void 到達履歴(Game&) {}

}  // namespace kisharin

#include "turns/money.h"

namespace kisharin {

void doWork(Game&) {}
void cmdWork_Click(Game& g) { doWork(g); }
void cmdPoint_Click(Game&) {}
std::string moneyText(Long) { return {}; }

}  // namespace kisharin

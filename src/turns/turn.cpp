#include "turns/turn.h"

namespace kisharin {

// First bodies so that the game links; the turn cycle fills them in.
int stepFactor(int kind) { return kind >= 1 && kind <= 3 ? kind : 0; }
int rideTickMs(int kind) {
    static const int ticks[6] = {0, 80, 50, 10, 100, 100};
    return kind >= 1 && kind <= 5 ? ticks[kind] : 0;
}
void cmdSusumu_Click(Game&) {}
void endOfRide(Game&) {}
void afterStationClick(Game&) {}
void 順番チェンジ(Game&) {}
void 間(Game&) {}
void finishTurn(Game&) {}
void startComputerTurnIfDue(Game&) {}

}  // namespace kisharin

#include "turns/money.h"

#include "state/saturate.h"
#include "turns/happenings.h"
#include "turns/messages.h"
#include "turns/turn.h"

namespace kisharin {

void doWork(Game& g) {
    GameState& s = g.s;
    if (s.jobNames.empty() || s.jobNames.size() != s.jobPay.size()) buildEventTables(s);
    const int k = static_cast<int>(g.rng.next() * static_cast<double>(s.jobNames.size()));
    const Long pay = s.jobPay[static_cast<size_t>(k)];
    showMessage(g, jobOfferText(s.jobNames[static_cast<size_t>(k)], pay));
    const int hours = throwDie(g);
    const Long wage = pay * hours;
    addMoney(s.playerMoney[s.curPlayer], wage);
    g.screens.refreshBoard(s);  // the wage is on the board when the message speaks of it
    showMessage(g, workedText(hours, wage));
    s.susumuSteps = 0;
}

void cmdWork_Click(Game& g) {
    doWork(g);
    finishTurn(g);
}

void cmdPoint_Click(Game& g) {
    const GameState& s = g.s;
    showMessage(g, pointsText(s.playerName[0], s.playerPoint[0], s.playerName[1], s.playerPoint[1]));
}

}  // namespace kisharin

#include "turns/money.h"

#include <cstdlib>

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

// The Japanese regional form: the full-width yen sign, thousands grouped by commas, no
// decimals, and the minus sign in front of the yen sign ("-￥1,500").
std::string moneyText(Long yen) {
    const long long v = yen;
    std::string digits = std::to_string(std::llabs(v));
    std::string grouped;
    const size_t n = digits.size();
    for (size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) grouped += ',';
        grouped += digits[i];
    }
    return (v < 0 ? "-￥" : "￥") + grouped;
}

}  // namespace kisharin

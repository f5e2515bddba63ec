// The commands a player at the board sends, for tests: each goes through apply as a click
// or a remote player's message would, for the player to move.
#pragma once

#include <functional>
#include <string>

#include "turns/command.h"
#include "turns/seat.h"

namespace kisharin::testing {

inline Verdict roll(Game& g) {
    return apply(g, Command::roll(g.s.curPlayer));
}
inline Verdict work(Game& g) {
    return apply(g, Command::work(g.s.curPlayer));
}
inline Verdict chooseKind(Game& g, int kind) {
    return apply(g, Command::chooseKind(g.s.curPlayer, kind));
}
// A click on station `station` of the player's own line.
inline Verdict rideTo(Game& g, int station) {
    const int p = g.s.curPlayer;
    return apply(g, Command::ride(p, {g.s.playerRosen[p], station}));
}
// A click on the strip's transfer label k (1-based): the change it shows, from the station
// it stands beside.
inline Verdict changeAtLabel(Game& g, int k) {
    const int p = g.s.curPlayer;
    if (k < 1 || k > static_cast<int>(g.line.transfers.size())) return {false, "no label"};
    const TransferView& t = g.line.transfers[static_cast<size_t>(k - 1)];
    return apply(g, Command::changeLine(p, {g.line.line, t.station}, {t.line, t.pos}));
}

// A seat that plays its turns by the test's own function (a computer of the test), never
// bets, and answers no to every question.
class FunctionSeat : public Seat {
  public:
    std::function<void(Game&)> turn;
    int turns = 0;
    bool playsItself() const override { return true; }
    void playTurn(Game& g) override {
        ++turns;
        if (turn) turn(g);
    }
    bool betsOnRaces() const override { return false; }
    void answerWarp(Game&, int, const std::string&, const std::string&) override {}
    void answerGod(Game&) override {}
    void runBet(Game&, Race&) override {}
};

}  // namespace kisharin::testing

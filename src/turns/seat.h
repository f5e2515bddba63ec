// A seat: who decides for one player. The human at this board, the computer's policy, a
// script, or later a player at another computer. The rules ask the seat of the player to
// move for the answers a turn needs (the warp hole, the guardian god, a bet), and the turn
// loop lets a seat that plays by itself play its turns; every answer and every move still
// goes through the commands and their checks.
#pragma once

#include <string>

namespace kisharin {

struct Game;
class Race;

// What a step of a seat's turn leaves: the turn goes on after `pause` seconds (`more`),
// or it is over (handed on, or stopped where the rules stopped it).
struct TurnStep {
    bool more = false;
    double pause = 0;
};

class Seat {
  public:
    virtual ~Seat() = default;

    // True when the seat plays its own turns (the turn loop calls playTurn); false when
    // its commands come from elsewhere (the board's clicks, or another computer).
    virtual bool playsItself() const { return false; }
    // True when the board's clicks and keys speak for this seat's player.
    virtual bool atBoard() const { return !playsItself(); }
    // True when the seat's answers come later, as commands that arrive by themselves (a
    // player at another computer); false when it answers while it is asked, or not at all
    // (then the answer is no).
    virtual bool answersLater() const { return false; }
    // Plays one whole turn of g.s.curPlayer through commands.
    virtual void playTurn(Game&) {}
    // Plays the turn a step at a time, so that whoever drives it (the board's timer, the
    // simulator) owns the waits between steps; nothing waits inside the game. A seat whose
    // turn has no waits plays it whole here.
    virtual TurnStep playTurnStep(Game& g) {
        playTurn(g);
        return {};
    }
    // Whether the player bets on a race-course station (the computer opponent does not).
    virtual bool betsOnRaces() const { return true; }

    // The questions are asked once the command that opened them has been carried out.
    // The warp hole to `region` asks whether to jump: the seat sends AnswerWarp through
    // apply (a refused or missing answer is no).
    virtual void answerWarp(Game& g, int region, const std::string& title, const std::string& question) = 0;
    // The guardian god asks for a prefecture: the seat sends AnswerGod ("" stays).
    virtual void answerGod(Game& g) = 0;
    // The betting window for the race the rules opened: the seat sends PlaceBet with a
    // stake (which starts the race) and runs it to its end, or DeclineBet.
    virtual void runBet(Game& g, Race& race) = 0;
};

// A seat that answers every question no and plays no turns: where nobody sits.
class EmptySeat : public Seat {
  public:
    void answerWarp(Game&, int, const std::string&, const std::string&) override {}
    void answerGod(Game&) override {}
    void runBet(Game&, Race&) override {}
};

}  // namespace kisharin

// Who keeps the game's record: told of every command `apply` accepts (before it is
// carried out, so that the answers a ride asks for follow the ride), of what the wall
// clock decided (the score ticks of a ride window), and of every save. The record itself,
// its file and its replay are in src/record/.
#pragma once

namespace kisharin {

struct Game;
struct Command;

class GameRecorder {
  public:
    virtual ~GameRecorder() = default;
    virtual void command(const Game& g, const Command& c) = 0;
    virtual void scoreTicks(int ticks) = 0;
    virtual void saved(const Game& g, int slot) = 0;
    // The last destination was reached and the results shown.
    virtual void ended(const Game& g) = 0;
};

}  // namespace kisharin

// kisharin-sim --remote: player 2 at the other end of a real localhost connection. The
// game runs here as the host (the network game's own host end and remote seat); a guest
// joins it over WebSocket, and player 2's commands and answers come from a computer
// player at the guest that decides only from what a guest is shown (the boards, the
// shows, the questions) and its own read-only copy of the railway, on which it plans
// its route as the computer does. Its decisions are the computer's at its strength, so
// that a run gives the same games as with player 2 at this computer.
#pragma once

#include <memory>
#include <string>

#include "sim_game.h"
#include "state/game_state.h"

namespace kisharin {
class NetGuest;
class NetHost;
class NetScreens;
class RemoteSeat;
}  // namespace kisharin

namespace kisharin::sim {

class GuestComputer;

// One connection per game: the host listens on a free localhost port, the guest joins
// with the code, and both end when the game does.
class LocalRemote final : public RemoteSide {
  public:
    // railway: the shipped railway as loaded (the guest's copy is made from it).
    LocalRemote(const GameState& railway, SideKind kind, bool shortMode);
    // The next game shows through `inner` (and sends it all to the guest).
    void showThrough(SimScreens& inner);
    ~LocalRemote() override;

    Screens& presenter() override;
    Seat& join(Game& g) override;
    ComputerTurn last() const override;
    bool playTurn(Game& g) override;
    void leave() override;
    // Commands of the guest the host refused, and questions left unanswered, in all games.
    long refusals() const { return refusals_; }
    // Commands and answers the guest sent, in all games.
    long commands() const { return commands_; }

  private:
    SimScreens* inner_ = nullptr;
    std::unique_ptr<NetScreens> net_;
    std::unique_ptr<GameState> railway_;  // the guest's own copy
    SideKind kind_;
    bool shortMode_;
    std::unique_ptr<NetHost> host_;
    std::unique_ptr<RemoteSeat> seat_;
    std::unique_ptr<NetGuest> guest_;
    std::unique_ptr<GuestComputer> player_;
    long refusals_ = 0;
    long commands_ = 0;
};

}  // namespace kisharin::sim

// One run of the desktop game: the setup window first, then the board, with the one
// game state, the windows the rules open, chance and the clock.
#pragma once

#include <QObject>
#include <memory>
#include <string>

#include "platform/system_clock.h"
#include "screens/look.h"
#include "screens/qtScreens.h"
#include "state/game_state.h"
#include "state/rng.h"
#include "turns/computer.h"
#include "turns/game.h"

namespace kisharin {

class FrmInit;
class FrmMain;

class DesktopGame : public QObject {
    Q_OBJECT
  public:
    DesktopGame();
    ~DesktopGame() override;

    // Opens the setup window. False (after a message) when the player's folder cannot be
    // made.
    bool start();

    FrmInit* init() const { return init_.get(); }
    FrmMain* board() const { return board_.get(); }
    GameState& state() { return run_->s; }
    Game& game() { return run_->g; }
    const std::string& gameDataDir() const { return dir_; }

  private:
    struct Run {
        GameState s;
        SystemClock clock;
        DefaultRng rng{0};
        QtScreens screens;
        QtTextMetrics metrics;
        Game g{s, screens, rng, clock};
        QtSeat here{screens};     // a player at this board
        ComputerSeat computer;    // the computer opponent
    };
    void openSetup();
    void openBoard();

    std::unique_ptr<Run> run_;
    std::unique_ptr<FrmInit> init_;
    std::unique_ptr<FrmMain> board_;
    std::string dir_, shippedDir_;
};

}  // namespace kisharin

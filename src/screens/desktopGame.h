// One run of the desktop game: the setup window first, then the board, with the one
// game state, the windows the rules open, chance and the clock.
#pragma once

#include <QObject>
#include <array>
#include <memory>
#include <optional>
#include <string>

#include "platform/system_clock.h"
#include "record/game_record.h"
#include "screens/look.h"
#include "screens/qtScreens.h"
#include "session/net_game.h"
#include "state/game_state.h"
#include "state/rng.h"
#include "turns/computer.h"
#include "turns/game.h"

namespace kisharin {

class FrmInit;
class FrmMain;
class FrmGuest;
class GuestGameTally;

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
    // Each game played here goes into the list of games 「これまでの対戦」 as it ends or is
    // left, a game joined as the guest too (the program sets it; a test asks for it).
    bool listGames = false;

  private:
    struct Run {
        GameState s;
        SystemClock clock;
        // KISHARIN_SEED: the timer the generator is re-seeded from starts at that seed.
        std::optional<SeededTimerClock> seeded;
        RecordWriter record;  // the game's record beside the save slots
        RecordingClock recording{seeded ? static_cast<Clock&>(*seeded) : clock, record};
        DefaultRng rng{0};
        QtScreens screens;
        NetScreens shown{screens};  // also to the guest of a network game
        QtTextMetrics metrics;
        Game g{s, shown, rng, recording};
        explicit Run(std::optional<double> seed)
            : seeded(seed ? std::optional<SeededTimerClock>(std::in_place, clock, *seed) : std::nullopt) {}
        QtSeat here{screens};           // a player at this board
        ComputerSeat computer;          // the computer opponent
        std::unique_ptr<NetHost> host;  // a network game's host
        std::unique_ptr<RemoteSeat> remote;
        std::unique_ptr<WatchedSeat> watched;  // player 1 of a network game (its races go to the guest)
    };
    void openSetup();
    void openBoard();
    // The game's record starts anew (for a saved game without one, at its load).
    void beginRecord(bool fromSave);
    // The game's entry in the list of games, as the program ends.
    void listGame();
    // The network game (desktopNet.cpp).
    bool startHosting();
    void guestLeft(const QString& why);
    void join();

    std::unique_ptr<NetGuest> guest_;
    std::unique_ptr<FrmGuest> guestBoard_;
    std::unique_ptr<GameState> guestRailway_;
    std::unique_ptr<GuestGameTally> guestTally_;  // the joined game, for this computer's list
    std::array<QString, 3> joinTyped_;            // the join box's address, port and code last time

    std::unique_ptr<Run> run_;
    std::unique_ptr<FrmInit> init_;
    std::unique_ptr<FrmMain> board_;
    std::string dir_, shippedDir_;
    std::optional<double> seed_;  // KISHARIN_SEED when it was given
};

}  // namespace kisharin

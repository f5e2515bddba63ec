// The windows the rules open, as modal Qt dialogs over the board.
#pragma once

#include <QWidget>

#include "turns/screens.h"

namespace kisharin {

class FrmMain;

class QtScreens final : public Screens {
  public:
    void setBoard(FrmMain* board) { board_ = board; }

    void showMessage(const GameState& s) override;
    int rollDice(const GameState& s, Rng& rng) override;
    void showRide(GameState& s, Rng& rng, Clock& clock) override;
    void showConquest(GameState& s, int line, Rng& rng, Clock& clock) override;
    bool askYesNo(const GameState& s, const std::string& title, const std::string& question) override;
    std::string pickPrefecture(GameState& s) override;
    RaceOutcome runBet(GameState& s, Rng& rng) override;
    void showDisaster(const GameState& s, int kind) override;
    void showEventPicture(const GameState& s, int picture) override;
    void shakeBoard(int twips) override;
    void showResults(const GameState& s) override;
    void pause(double seconds) override;
    void processEvents() override;
    void refreshBoard(const GameState& s) override;
    void enableBoard(bool enabled) override;

  private:
    QWidget* parent() const;
    FrmMain* board_ = nullptr;
};

}  // namespace kisharin

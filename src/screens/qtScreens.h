// The windows the rules open, as modal Qt dialogs over the board, and the seat of a
// player at this board, who answers the rules' questions in those windows.
#pragma once

#include <QMessageBox>
#include <QWidget>
#include <string>

#include "turns/screens.h"
#include "turns/seat.h"

namespace kisharin {

class FrmMain;

class QtScreens final : public Screens {
  public:
    void setBoard(FrmMain* board) { board_ = board; }
    // The game's record, whose story the results window offers.
    void setRecordFile(std::string path) { recordFile_ = std::move(path); }

    void showMessage(const GameState& s) override;
    int rollDice(const GameState& s, Rng& rng) override;
    int showRide(const GameState& s, Rng& rng, Clock& clock) override;
    void showConquest(GameState& s, int line, Rng& rng, Clock& clock) override;
    void showDisaster(const GameState& s, int kind) override;
    void showEventPicture(const GameState& s, int picture) override;
    void shakeBoard(int twips) override;
    void showResults(const GameState& s) override;
    void pause(double seconds) override;
    void processEvents() override;
    void refreshBoard(const GameState& s) override;
    void enableBoard(bool enabled) override;

    QWidget* parent() const;

  private:
    FrmMain* board_ = nullptr;
    std::string recordFile_;
};

// The warp hole's question (as a guest at another computer sees it too): the title
// "ワープ　<region>へ" above the question in the window itself, since a window manager may cut
// a title bar, and the window wide enough for the title; No is the default, so that Enter
// never jumps.
class WarpQuestion final : public QMessageBox {
    Q_OBJECT
  public:
    WarpQuestion(const std::string& title, const std::string& question, QWidget* parent);
    // Asks and answers: true for Yes.
    bool ask() { return exec() == QMessageBox::Yes; }
};

// A player at this board: the warp question box, the prefecture picker, the betting
// window. Its turns come as the board's clicks.
class QtSeat final : public Seat {
  public:
    explicit QtSeat(const QtScreens& screens) : screens_(screens) {}
    void answerWarp(Game& g, int region, const std::string& title, const std::string& question) override;
    void answerGod(Game& g) override;
    void runBet(Game& g, Race& race) override;

  private:
    const QtScreens& screens_;
};

}  // namespace kisharin

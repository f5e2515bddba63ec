// The betting window "勝負！！": the track with five racers of the race kind, the odds
// of each lane, the lane options, the stake list, "出走" and "勝負しない". The race is the
// rules' Race model; the window only draws it and ticks it every 30 ms. Three seconds
// after the winner crosses the goal the window closes by itself; its close box is refused.
#pragma once

#include <QDialog>
#include <array>
#include <functional>

#include "state/game_state.h"
#include "state/rng.h"
#include "turns/command.h"
#include "turns/race.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTimer;

namespace kisharin {

class TrackView;

class FrmBet : public QDialog {
    Q_OBJECT
  public:
    // The race the rules opened (its odds drawn); `send` hands the player's bet or refusal
    // to the rules as a command and tells whether it was taken.
    FrmBet(const GameState& s, Race& race, Rng& rng, std::function<bool(const Command&)> send,
           QWidget* parent);

    const Race& race() const { return race_; }
    // The lane that counted and the winner, once the race was run (zeros otherwise).
    RaceOutcome outcome() const;

    // The race as it was run on another computer (Race::moves), with the lane bet on
    // (0..4) and the stake: the racers go as they went there. The controls stay as set.
    void replay(const std::string& moves, int lane, Long stake);
    // The race of this window's own bet as another computer runs it, as far as it has run
    // (`moves`); `decidedThere` once the winner crossed there, with the lane that counted
    // (0..4). The lane options stay the player's until then: a switch is sent.
    void follow(const std::string& moves, int laneAtFinish, bool decidedThere, Long stake);
    int selectedLane() const;

    // The handlers of the controls.
    void cmdStart_Click();
    void cmdStop_Click();
    void Timer_Timer();     // one race tick
    void TimerEnd_Timer();  // three seconds after the winner: closes

  protected:
    void closeEvent(QCloseEvent* e) override;
    void reject() override;  // Esc: refused like the close box

  private:
    void lockControls();

    const GameState& s_;
    Rng& rng_;
    Race& race_;
    std::function<bool(const Command&)> send_;
    TrackView* picBack_;
    std::array<QRadioButton*, kLanes> optNo_{};
    std::array<QLabel*, kLanes> lblOdds_{};
    QButtonGroup* lanes_;
    QComboBox* cboMoney_;
    QPushButton* cmdStart_;
    QPushButton* cmdStop_;
    QLabel* lblMessage_;
    QTimer* timer_;
    QTimer* timerEnd_;
    std::vector<Long> stakes_;
    bool closing_ = false;  // closed by the window itself, not by the player
    bool replaying_ = false;
    bool betSent_ = false;  // to another computer, whose race has not ended
    std::string moves_;     // the race to replay
};

}  // namespace kisharin

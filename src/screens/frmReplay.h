// 「もう一度見る」: a game of a record watched again on the board as it was after each
// turn. The board is the game's own (FrmMain, watching only), with both players' points,
// money and destinations beside it and the game's messages in a log (never a box that
// stops the play). One tick of the window's timer plays one turn: every kTurnMs at 1×,
// a quarter and a sixteenth of it at 4× and 16×. At the end the results window shows
// the results the game had; nothing of the replay is written anywhere.
#pragma once

#include <QDialog>
#include <QPointer>
#include <memory>
#include <string>

#include "record/game_record.h"
#include "state/rng.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTimer;

namespace kisharin {

class FrmEki;
class FrmEnd;
class FrmMain;

class FrmReplay : public QDialog {
    Q_OBJECT
  public:
    // A turn at 1× (at 4× and 16× a quarter and a sixteenth of it).
    static constexpr int kTurnMs = 1500;

    // Plays `player`'s game from its board on; the window starts playing at 1× once shown.
    FrmReplay(std::unique_ptr<RecordPlayer> player, QWidget* parent = nullptr);
    ~FrmReplay() override;

    // Opens game `game` (0-based, -1 the last) of the record at `recordFile` (shipped data
    // at `appDir`) in a window of its own that deletes itself when closed. A record that
    // cannot be read is told in a message box naming the file and line; nullptr then.
    static FrmReplay* openRecord(const std::string& recordFile, const std::string& appDir, int game,
                                 QWidget* parent);

    // The controls, as their buttons and keys run them.
    void togglePause();        // 一時停止／再開 (Space)
    void stepOnce();           // 1ターン進む while paused (→, N)
    void setSpeed(int speed);  // 1, 4 or 16 (keys 1, 4, 6)

    bool paused() const { return paused_; }
    int speed() const { return speed_; }
    int interval() const;  // the tick's period now, in ms
    const RecordPlayer& player() const { return *player_; }
    FrmMain* board() const { return board_; }
    QPlainTextEdit* messages() const { return log_; }
    QLabel* messageLine() const { return lblMessage_; }
    // The results window once the game has come to its results.
    FrmEnd* results() const;
    // A ride window opened for the ride scene (while it stands, the play waits).
    FrmEki* ride() const;

  protected:
    void showEvent(QShowEvent* e) override;

  private:
    class View;
    void tick();
    void advance();
    void refresh();
    void takeMessages();
    void showEnd();
    void showRide();
    void schedule();
    void fail(const QString& why);

    std::unique_ptr<RecordPlayer> player_;
    std::unique_ptr<View> view_;
    FrmMain* board_ = nullptr;
    QLabel* lblTitle_;
    QLabel* lblTurn_;
    QLabel* lblPlayer_[2];
    QLabel* lblMessage_;
    QPlainTextEdit* log_;
    QPushButton* cmdPause_;
    QPushButton* cmdStep_;
    QRadioButton* optSpeed_[3];
    QCheckBox* chkRide_;
    QCheckBox* chkVoice_;
    QTimer* tick_;
    bool paused_ = false;
    bool started_ = false;
    bool over_ = false;
    int speed_ = 1;
    long messagesSeen_ = 0;
    QPointer<FrmEnd> results_;
    QPointer<FrmEki> ride_;
    // The last ride of the turn just played, for the ride scene: the state as it rode and
    // the timer its scenery was drawn from.
    std::unique_ptr<GameState> rideState_;
    double rideTimer_ = 0;
    bool rode_ = false;
    DefaultRng rideRng_{0};
};

}  // namespace kisharin

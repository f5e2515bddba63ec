// The board "キシャリン": the strip of the displayed line in its 750 x 433 viewport with
// the scroll bar, and the controls of the turn below it. It draws the rules' models and
// forwards every event to the rules' handler of the same name.
#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>
#include <string>

#include "screens/eventPictures.h"
#include "screens/frmLog.h"
#include "screens/frmMokutekiti.h"
#include "turns/command.h"
#include "turns/events.h"
#include "turns/game.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTimer;

namespace kisharin {

class StripView;

class FrmMain : public QWidget {
    Q_OBJECT
  public:
    FrmMain(Game& g, std::string gameDataDir);
    ~FrmMain() override;

    // The board's opening once the window is up: shows the player to move and starts
    // the turn loop.
    void open();

    // Hands a command of the player at this board to the rules, then lets the turn loop
    // play the turns of a seat that plays by itself.
    void send(const Command& c);
    // The turn loop of the desktop game: one step of a seat that plays by itself, then
    // the next from the event loop once the seat's pause is over, so that no turn runs
    // inside another's click and no pause inside the game.
    void playSeatTurns();

    // Redraws everything from the models.
    void refresh();
    // The board only shows a game played elsewhere (a record played again): its clock
    // stands still, its keys are off and the controls that act on the game stay disabled;
    // the lists, the maps and the message log still open.
    void watchOnly();
    bool watching() const { return watching_; }
    void setBoardEnabled(bool enabled);

    // The handlers of the controls, as a click runs them.
    void lblEki_Click(int i);
    void lblNorikae_Click(int k);
    void optKind_Click(int k);
    void cmdSusumu_Click();
    void cmdWork_Click();
    void cmdMokutekiti_Click();
    void cmdCourse_Click();
    void cmdPoint_Click();
    void cmdMap_Click();
    void cmdMap2_Click();
    void cmdSave_Click();
    // The game was saved by 「保存して終了」 and the program is ending.
    bool savedToEnd() const { return savedToEnd_; }
    void cmdLog_Click();  // the message log beside the board
    void tmrMain_Timer();

    // The event picture picE: a disaster (1..3) slides across the board on tmrNature
    // while play goes on; the warp hole (4) and the guardian god (5) stand in the middle
    // until hidden (0).
    void showDisaster(int kind);
    void showEventPicture(int picture);
    void tmrNature_Timer();
    const EventPicture& picEModel() const { return picE_->model(); }
    QLabel* picE() const { return picE_->label(); }
    // Moves the window sideways by the given twips (the earthquake).
    void shake(int twips);

    // Where station i's label and transfer label k stand, in window coordinates (for
    // tests and the computer's clicks); an empty rectangle when they are not shown.
    QRect stationRect(int i) const;
    QRect transferRect(int k) const;
    StripView* strip() const { return strip_; }
    QScrollBar* scrollBar() const { return scTate_; }
    FrmCourse* course() const { return course_; }
    FrmLog* messageLog() const { return log_; }

  protected:
    void closeEvent(QCloseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    template <typename F>
    void run(F&& handler);  // runs a rules handler, then redraws
    template <typename F>
    void hover(F&& handler);  // runs a hover handler, then repaints the strip

    Game& g_;
    std::string dir_;
    QWidget* picScreen_;
    StripView* strip_;
    QScrollBar* scTate_;
    QLabel* lblTrainName_;
    QLabel* lblJikoku_;
    QLabel* lblMoney_;
    QLabel* lblManName_;
    QLabel* lblSusumu_;
    QGroupBox* frame1_;
    QRadioButton* optKind_[6] = {};
    QPushButton* cmdSusumu_;
    QPushButton* cmdWork_;
    QPushButton* cmdMokutekiti_;
    QPushButton* cmdCourse_;
    QPushButton* cmdPoint_;
    QPushButton* cmdMap2_;
    QPushButton* cmdMap_;
    QPushButton* cmdSave_;
    QTimer* tmrMain_;
    QTimer* seatTimer_;  // the pause before a seat's next step
    std::unique_ptr<BoardPicture> picE_;
    QPointer<FrmCourse> course_;
    QPointer<FrmLog> log_;
    QPushButton* cmdLog_;
    QLabel* lblOther_;
    bool savedToEnd_ = false;
    bool watching_ = false;
    bool syncing_ = false;  // true while the controls are set from the models
    int depth_ = 0;         // handlers running (nested through modal windows)
};

}  // namespace kisharin

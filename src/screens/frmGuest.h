// The guest's windows of the network game: the join box (address, port, code) and the
// board "キシャリン（ネット対戦）", which draws the boards the host sends and turns its
// clicks into commands of the guest's player. It runs no rule and writes no file.
#pragma once

#include <QDialog>
#include <QPointer>
#include <QWidget>
#include <array>
#include <deque>
#include <functional>
#include <memory>

#include "board/line_display.h"
#include "screens/eventPictures.h"
#include "screens/frmLog.h"
#include "session/net_game.h"
#include "state/game_state.h"
#include "turns/events.h"
#include "turns/message_log.h"
#include "turns/race.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTimer;

namespace kisharin {

class FrmBet;
class StripView;

// 「参加」: asks for the host's address, its port and the eight-digit code.
class FrmJoin : public QDialog {
    Q_OBJECT
  public:
    explicit FrmJoin(QWidget* parent = nullptr);
    // The box as the last try left it (a failed join is tried again without typing it
    // all anew).
    void fill(const QString& address, const QString& port, const QString& code);
    QString typedPort() const;
    QString typedCode() const;
    QString address() const;
    quint16 port() const;
    std::string code() const;

  private:
    QLineEdit* txtAddress_;
    QLineEdit* txtPort_;
    QLineEdit* txtCode_;
};

class FrmGuest : public QWidget {
    Q_OBJECT
  public:
    // onEnded runs (after the player has read why) when the connection is over.
    FrmGuest(NetGuest& guest, std::function<void()> onEnded);

    // The shipped railway, read only, for painting the rides the host shows (without it,
    // or when it is not the host's, a ride is a line of text), and for the lists and maps
    // of the board's buttons. When it has a history folder (historyBase, with the visited
    // table of player 2 read from it), the guest's player's arrivals are added to this
    // computer's history of player 2, so that its conquest record grows from its own rides;
    // its playerName are the names of this computer's conquest record.
    void setRailway(GameState* railway);
    // Redraws everything from the last board.
    void refresh();
    QLabel* lastShown() const { return lblShown_; }
    // The event picture over the strip (the disaster's slide, the warp hole, the god).
    QLabel* eventPicture() const { return picE_->label(); }
    StripView* strip() const { return strip_; }

  protected:
    void closeEvent(QCloseEvent* e) override;

  private:
    bool myTurn() const;
    // The guest's player stands on a station this computer's history has not: it is added.
    void recordArrival();
    // The board's own windows: the destinations, the shortest way to one, the points, the
    // map of Japan and the conquest record, as at the host's board.
    void cmdMokutekiti_Click();
    void cmdCourse_Click();
    void cmdPoint_Click();
    void cmdLog_Click();
    void send(const Command& c, int lane = 0);
    // What the host shows and asks is shown in order, one window at a time, as at the host.
    void shown(const net::ShowCall& c);
    void showNext();
    void showCall(const net::ShowCall& c);
    void asked(const net::Ask& a);
    void showRide(const net::ShowCall& c);
    // The line under the board for a ride: the kind and the two stations.
    QString rideText(const net::ShowCall& c) const;
    void showRace(const net::ShowCall& c);
    void askBet(const net::Ask& a);
    // The state the host's windows are drawn from, with what this computer knows: the
    // shipped railway (or nothing of it) and the last board.
    GameState& view();

    struct Shown {
        bool ask = false;
        net::ShowCall show;
        net::Ask question;
    };

    NetGuest& guest_;
    std::function<void()> onEnded_;
    LineDisplayModel line_;
    QWidget* picScreen_;
    StripView* strip_;
    QScrollBar* scTate_;
    QLabel* lblTrainName_;
    QLabel* lblJikoku_;
    QLabel* lblMoney_;
    QLabel* lblManName_;
    QLabel* lblSusumu_;
    QLabel* lblShown_;
    QRadioButton* optKind_[6] = {};
    QPushButton* cmdSusumu_;
    QPushButton* cmdWork_;
    QPushButton* cmdMokutekiti_;
    QPushButton* cmdCourse_;
    QPushButton* cmdPoint_;
    QPushButton* cmdMap2_;
    QPushButton* cmdKiroku_;
    QPushButton* cmdLog_;
    QLabel* lblOther_;
    // The host's messages as they came, with the turns counted here.
    MessageLog log_;
    int turn_ = 0;
    int turnOf_ = -1;  // whose turn the last board was
    QPointer<FrmLog> logWindow_;
    GameState* railway_ = nullptr;
    std::array<std::string, 2> homeNames_;  // of this computer's conquest record
    std::unique_ptr<GameState> own_;        // the view without the railway
    std::deque<Shown> queue_;
    bool showing_ = false;
    QPointer<FrmBet> bet_;  // the betting window of the guest's own race day
    std::unique_ptr<Race> betRace_;
    DefaultRng betRng_;  // not drawn from: the race is run at the host
    std::unique_ptr<BoardPicture> picE_;
    bool riding_ = false;
    bool ending_ = false;
    bool syncing_ = false;
};

}  // namespace kisharin

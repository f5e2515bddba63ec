// The network game over WebSocket. The host runs the game and every rule; player 2 sits
// at another computer (the guest), which shows what the host sends and sends its
// player's commands. The host checks every command like a click of its own board.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "net/protocol.h"
#include "turns/screens.h"
#include "turns/seat.h"

#include <QWebSocket>
class QWebSocketServer;
class QTimer;

namespace kisharin {

// The host's end: listens for one guest, checks its join code and its messages, sends it
// the board and what the presenter shows. Every refusal and every dropped command is
// written to the log (its last lines).
//
// Against strangers on the network and a failing link (docs/network.md): a connection
// holds no seat until its code is right; at most kMaxWaiting connections wait for that,
// each for kHelloWithinMs. Wrong codes are judged one at a time for the whole host, each
// refusal answered after a delay that doubles from kFirstDelayMs up to kMaxDelayMs, and
// after kWrongCodesPerCode wrong codes the host makes a new code and tells its player
// (codeChanged). The guest is pinged; one not heard of for the silence limit is dropped,
// and so is one that leaves more than kMaxQueuedBytes unread.
class NetHost : public QObject {
    Q_OBJECT
  public:
    static constexpr int kMaxWaiting = 8;
    static constexpr int kHelloWithinMs = 10000;
    static constexpr int kWrongCodesPerCode = 5;
    static constexpr int kFirstDelayMs = 250;
    static constexpr int kMaxDelayMs = 8000;
    // A minute without a wrong code, and the next one waits the first delay again.
    static constexpr int kQuietMs = 60000;
    static constexpr qint64 kMaxQueuedBytes = 4 << 20;
    static constexpr int kSilentMs = 15000;
    static constexpr std::size_t kLogLines = 500;

    NetHost(Game& g, std::string code, QObject* parent = nullptr);
    // A guest there is told that the host ended the game.
    ~NetHost() override;

    // Listens on all addresses; port 0 takes a free one. False (with error()) when the
    // port cannot be had.
    bool listen(quint16 port);
    quint16 port() const;
    const std::string& code() const { return code_; }
    QString error() const { return error_; }
    // The addresses of this computer a guest may use (IPv4 first, loopback last).
    static QStringList addresses();

    bool joined() const { return guest_ != nullptr; }
    // The host's game ends now (the program is about to stop): the guest is told so, as
    // far as the network takes it at once.
    void sayGoodbye();
    void send(const net::Message& m);
    // Sends the board as it stands now (when a guest is there).
    void sendBoard();
    // The same, also when it has not changed since the last one sent (always).
    void sendBoardIf(bool always);
    long boardsSent() const { return seq_; }
    // The last kLogLines lines, and how many went before them.
    const std::vector<std::string>& log() const { return log_; }
    long logDropped() const { return logDropped_; }

    // A guest silent for longer than ms is gone (pinged every third of it).
    void setSilenceLimit(int ms);
    // Connections that have not been welcomed (waiting for their code or its judgement).
    int waiting() const;
    long wrongCodes() const { return wrongCodes_; }
    // What was sent to the guest and not yet written to the network: now, and the most.
    qint64 queuedBytes() const;
    qint64 mostQueued() const { return mostQueued_; }

    // The remote seat's question was sent: the answer is waited for at most timeoutMs
    // (then, or when the guest is gone, the answer is no). Returns at once.
    void awaitAnswer(int timeoutMs);
    // Tells the guest that its command was not carried out, and why (and logs it).
    void refuse(const std::string& why);

  signals:
    void guestJoined();
    void guestLeft(QString reason);
    // Wrong codes came kWrongCodesPerCode times: the host's code is now `code`
    // (wrongCodes: all the wrong codes since hosting began).
    void codeChanged(QString code, long wrongCodes);

  private:
    void onConnection();
    void onWaitingText(QWebSocket* s, const QString& text);
    // Judges the codes that came, in order, while no wrong code's delay runs.
    void judgeCodes();
    void wrongCode(QWebSocket* s);
    void welcome(QWebSocket* s);
    // A connection that was not welcomed is told why and let go.
    void turnAway(QWebSocket* s, const std::string& reason);
    void forget(QWebSocket* s);
    void onText(const QString& text);
    void onGone();
    void beat();
    // The guest is let go: told why first when `tell` (it still reads), else cut.
    void endConnection(const std::string& reason, bool tell = true);
    void guestGone(const std::string& reason);
    // stranger: about a connection that was not welcomed.
    void note(const std::string& line, bool stranger = false);
    void keep(const std::string& line);
    // The guest's answer did not come (or cannot come): no, for the guest's player.
    void answerForGuest();
    // The guest's bet was taken: its race runs on raceTimer_, one tick each time (raceOn).
    void runGuestRace(int lane);
    void raceOn();

    Game& g_;
    std::string code_;
    QWebSocketServer* server_;
    QWebSocket* guest_ = nullptr;  // the welcomed guest
    bool guestSaidBye_ = false;    // it left with a goodbye
    long seq_ = 0;
    std::string lastBoard_;  // the last board sent, without its number
    QString error_;
    std::vector<std::string> log_;
    long logDropped_ = 0;
    std::string lastLine_;
    long repeats_ = 0;  // of lastLine_ (a stranger's), not kept
    QTimer* answerTimer_;
    // Not yet welcomed: connections without a code, oldest first; codes to judge in the
    // order they came; the one whose wrong code's refusal is being held back.
    std::vector<QWebSocket*> withoutCode_;
    std::deque<std::pair<QWebSocket*, std::string>> codes_;
    QWebSocket* held_ = nullptr;
    QTimer* gate_;  // runs while a wrong code's delay runs
    long wrongCodes_ = 0;
    int wrongInRow_ = 0;     // since the delay last began at its first
    int wrongWithCode_ = 0;  // since the code was made
    QElapsedTimer lastWrong_;
    // The guest's link.
    QTimer* beat_;
    QElapsedTimer heard_;
    int silentMs_ = kSilentMs;
    qint64 mostQueued_ = 0;
    QTimer* raceTimer_;
};

// Player 2 at the other computer. Its commands come as the guest sends them, each
// checked by apply as a click would be; its answers are the guest's answer commands,
// which carry the turn on when they arrive.
class RemoteSeat final : public Seat {
  public:
    // bets: whether the player at the other computer is asked on a race-course station
    // (a person is; the computer opponent at ふつう, played from there, is not).
    explicit RemoteSeat(NetHost& host, int answerTimeoutMs = 120000, bool bets = true)
        : host_(host), timeoutMs_(answerTimeoutMs), bets_(bets) {}
    bool atBoard() const override { return false; }
    bool answersLater() const override { return true; }
    bool betsOnRaces() const override { return bets_; }
    void answerWarp(Game& g, int region, const std::string& title, const std::string& question) override;
    void answerGod(Game& g) override;
    void runBet(Game& g, Race& race) override;
    bool connected() const { return host_.joined(); }

  private:
    void ask(const net::Ask& a);
    NetHost& host_;
    int timeoutMs_;
    bool bets_;
};

// The host's own player while a guest watches: the seat as it is, and the race of its
// race day is sent to the guest once it has been run, for the guest to show the same.
class WatchedSeat final : public Seat {
  public:
    WatchedSeat(Seat& inner, NetHost& host) : inner_(inner), host_(host) {}
    bool playsItself() const override { return inner_.playsItself(); }
    void playTurn(Game& g) override { inner_.playTurn(g); }
    bool betsOnRaces() const override { return inner_.betsOnRaces(); }
    void answerWarp(Game& g, int region, const std::string& title, const std::string& question) override {
        inner_.answerWarp(g, region, title, question);
    }
    void answerGod(Game& g) override { inner_.answerGod(g); }
    void runBet(Game& g, Race& race) override;

  private:
    Seat& inner_;
    NetHost& host_;
};

// The presenter of the host: shows everything at this computer through `inner` and sends
// each call to the guest, with the seeds that make the guest's scene the same. Without a
// host it only shows (a game at one computer).
class NetScreens final : public Screens {
  public:
    explicit NetScreens(Screens& inner, NetHost* host = nullptr) : inner_(inner), host_(host) {}
    void setHost(NetHost* host) { host_ = host; }

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

  private:
    void show(net::ShowCall c);
    Screens& inner_;
    NetHost* host_;
};

// The guest's end: joins a host with the code, keeps the last board it was sent, and
// sends the commands of its player. It runs no rule and writes no file. It pings the host
// and ends when the host has not been heard of for the silence limit (or could not be
// reached within it).
class NetGuest : public QObject {
    Q_OBJECT
  public:
    explicit NetGuest(QObject* parent = nullptr);
    ~NetGuest() override;

    void join(const QString& address, quint16 port, const std::string& code);
    void leave();
    bool joined() const { return welcomed_; }
    int player() const { return player_; }
    // The host's game: its play area and mode (from the welcome).
    int area() const { return area_; }
    bool shortMode() const { return shortMode_; }
    const net::BoardView& board() const { return board_; }
    bool hasBoard() const { return hasBoard_; }
    // Sends a command of this player (lane: the bet's lane).
    void send(const Command& c, int lane = 0);
    void setSilenceLimit(int ms);

  signals:
    void welcomed();
    void boardChanged();
    void shown(const kisharin::net::ShowCall& c);
    void asked(const kisharin::net::Ask& a);
    void refused(QString reason);
    void ended(QString reason);

  private:
    void onText(const QString& text);
    void onGone();
    void beat();
    // Ends the connection and tells the player why; the host is told too when `tell`.
    void endConnection(const std::string& reason, bool tell = true);

    QWebSocket* socket_;
    QTimer* beat_;
    QElapsedTimer heard_;
    int silentMs_ = NetHost::kSilentMs;
    std::string code_;
    bool opened_ = false;  // the WebSocket to the host was opened
    bool welcomed_ = false;
    bool ended_ = false;
    int player_ = net::kRemotePlayer;
    int area_ = 0;
    bool shortMode_ = false;
    net::BoardView board_;
    bool hasBoard_ = false;
};

}  // namespace kisharin

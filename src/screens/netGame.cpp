#include "screens/netGame.h"

#include <QAbstractSocket>
#include <QEventLoop>
#include <QHostAddress>
#include <QNetworkInterface>
#include <QTimer>
#include <QUrl>
#include <QWebSocket>
#include <QWebSocketServer>
#include <algorithm>
#include <cstdio>

#include "screens/look.h"
#include "turns/command.h"
#include "turns/race.h"

namespace kisharin {

namespace {

// Qt's own limit on a frame sits above ours, so that a message a little too large still
// reaches the reader and is answered with the reason; a far larger one is cut by Qt.
constexpr quint64 kQtMessageLimit = 4 * net::kMaxMessageBytes;
constexpr std::size_t kMaxPendingCommands = 8;
constexpr int kHelloWithinMs = 10000;
constexpr const char* kMsgGuestGone = "相手との接続が切れました";
constexpr const char* kMsgHostGone = "ホストとの接続が切れました";
constexpr const char* kMsgOneGuest = "このゲームにはすでに相手が参加しています";

std::string utf8(const QString& s) {
    const QByteArray b = s.toUtf8();
    return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

// Small messages go out at once: without this, a message written while the one before
// is not yet acknowledged waits for the other end's delayed acknowledgement (tens of
// milliseconds). The TCP sockets under `o` (a WebSocket's own, or those the server
// accepted) are its children.
void sendAtOnce(QObject* o) {
    for (QAbstractSocket* tcp : o->findChildren<QAbstractSocket*>())
        tcp->setSocketOption(QAbstractSocket::LowDelayOption, 1);
}

bool isAnswer(CommandKind k) {
    return k == CommandKind::AnswerWarp || k == CommandKind::AnswerGod || k == CommandKind::PlaceBet ||
           k == CommandKind::DeclineBet || k == CommandKind::ChooseLane;
}

// Points the host's wake-up at a loop for as long as it runs, and back at the loop
// outside it when it ends, however it ends.
class WaitingOn {
  public:
    WaitingOn(QEventLoop*& waiting, QEventLoop& loop) : waiting_(waiting), outer_(waiting) {
        waiting_ = &loop;
    }
    ~WaitingOn() { waiting_ = outer_; }
    WaitingOn(const WaitingOn&) = delete;
    WaitingOn& operator=(const WaitingOn&) = delete;

  private:
    QEventLoop*& waiting_;
    QEventLoop* outer_;
};

}  // namespace

// --- host -------------------------------------------------------------------------------

NetHost::NetHost(Game& g, std::string code, QObject* parent)
    : QObject(parent),
      g_(g),
      code_(std::move(code)),
      server_(new QWebSocketServer(QStringLiteral("kisharin"), QWebSocketServer::NonSecureMode, this)) {
    connect(server_, &QWebSocketServer::newConnection, this, &NetHost::onConnection);
    // What changes without a call of the presenter (the clock, the host's own clicks)
    // reaches the guest within a fifth of a second.
    auto* sync = new QTimer(this);
    sync->setInterval(200);
    connect(sync, &QTimer::timeout, this, &NetHost::sendBoard);
    sync->start();
}

NetHost::~NetHost() {
    // The socket's last signals find no host to answer them.
    if (guest_) {
        guest_->disconnect(this);
        guest_->abort();
    }
}

bool NetHost::listen(quint16 port) {
    if (server_->listen(QHostAddress::Any, port)) return true;
    error_ = QStringLiteral("ポート %1 で待ち受けられません（%2）").arg(port).arg(server_->errorString());
    return false;
}

quint16 NetHost::port() const {
    return server_->serverPort();
}

QStringList NetHost::addresses() {
    QStringList v4, v6, loop;
    for (const QHostAddress& a : QNetworkInterface::allAddresses()) {
        if (a.isLoopback())
            loop << a.toString();
        else if (a.protocol() == QAbstractSocket::IPv4Protocol)
            v4 << a.toString();
        else if (!a.isLinkLocal())
            v6 << a.toString();
    }
    return v4 + v6 + loop;
}

void NetHost::note(const std::string& line) {
    log_.push_back(line);
    std::fprintf(stderr, "kisharin net: %s\n", line.c_str());
}

void NetHost::wake() {
    if (waiting_) waiting_->quit();
}

void NetHost::onConnection() {
    while (QWebSocket* s = server_->nextPendingConnection()) {
        if (guest_) {
            // One guest at a time: the newcomer is told and let go.
            note("二人目の参加を断りました");
            s->sendTextMessage(qs(net::writeMessage(net::bye(kMsgOneGuest))));
            s->close();
            connect(s, &QWebSocket::disconnected, s, &QObject::deleteLater);
            continue;
        }
        guest_ = s;
        s->setParent(this);
        sendAtOnce(s);
        sendAtOnce(server_);  // an accepted connection's TCP socket stays the server's child
        s->setMaxAllowedIncomingMessageSize(kQtMessageLimit);
        s->setMaxAllowedIncomingFrameSize(kQtMessageLimit);
        connect(s, &QWebSocket::textMessageReceived, this, &NetHost::onText);
        connect(s, &QWebSocket::binaryMessageReceived, this,
                [this](const QByteArray&) { endConnection(net::kErrNotJson); });
        connect(s, &QWebSocket::disconnected, this, &NetHost::onGone);
        // A connection that does not give the code soon does not keep the seat.
        QTimer::singleShot(kHelloWithinMs, s, [this, s] {
            if (guest_ == s && !welcomed_) endConnection(net::kErrCode);
        });
    }
}

void NetHost::send(const net::Message& m) {
    if (guest_ && welcomed_) guest_->sendTextMessage(qs(net::writeMessage(m)));
}

void NetHost::sendBoard() {
    sendBoardIf(false);
}

void NetHost::sendBoardIf(bool always) {
    if (!joined()) return;
    // Only a board that changed goes out: the same board twice would only cost the wire.
    net::BoardView b = net::boardView(g_, 0);
    std::string key = net::boardText(b);
    if (key == lastBoard_ && !always) return;
    lastBoard_ = std::move(key);
    b.seq = ++seq_;
    send(net::boardMessage(std::move(b)));
}

void NetHost::endConnection(const std::string& reason) {
    note("接続を終えます: " + reason);
    if (!guest_) return;
    QWebSocket* s = guest_;
    const bool was = welcomed_;
    s->sendTextMessage(qs(net::writeMessage(net::bye(reason))));
    s->flush();
    s->close();
    onGone();
    // A stranger with a wrong code was never in the game: the game goes on.
    if (was) emit guestLeft(qs(reason));
}

void NetHost::onGone() {
    if (!guest_) return;
    const bool was = welcomed_;
    QWebSocket* s = guest_;
    const bool dropped = sender() == s;  // the socket went, not a refusal of ours
    guest_ = nullptr;
    welcomed_ = false;
    pending_.clear();
    s->disconnect(this);
    s->deleteLater();
    wake();
    if (was && dropped) emit guestLeft(QString::fromUtf8(kMsgGuestGone));
}

void NetHost::onText(const QString& text) {
    const std::string bytes = utf8(text);
    const net::ReadResult r = net::readMessage(bytes);
    if (!r.ok) {
        endConnection(r.error);
        return;
    }
    const net::Message& m = r.message;
    if (!welcomed_) {
        const std::string why =
            m.type == net::MessageType::Hello ? net::helloRefusal(code_, m.code) : net::kErrCode;
        if (!why.empty()) {
            endConnection(why);
            return;
        }
        welcomed_ = true;
        lastBoard_.clear();
        note("相手が参加しました");
        send(net::welcome(net::kRemotePlayer));
        sendBoard();
        emit guestJoined();
        wake();
        return;
    }
    if (m.type == net::MessageType::Bye) {
        note("相手が終了しました: " + m.reason);
        if (guest_) guest_->close();
        return;
    }
    if (m.type != net::MessageType::Command) {
        endConnection(net::kErrUnknownType);
        return;
    }
    const Command& c = m.command;
    auto drop = [&](const std::string& why) { refuse(why); };
    if (c.player != net::kRemotePlayer) return drop(net::kErrNotRemote);
    // The board's clock and saving are the host's own.
    if (c.kind == CommandKind::ClockTick || c.kind == CommandKind::Save) return drop(kRefuseSeat);
    if (isAnswer(c.kind)) {
        const Verdict v = apply(g_, c);
        if (!v) return drop(v.reason);
        lastLane_ = m.lane;
        ++answers_;
        wake();
        return;
    }
    // A turn command waits for the remote seat's turn to be played (it may come while the
    // hand-over is still being shown); at any other time it is refused.
    if (g_.ended || g_.s.curPlayer != net::kRemotePlayer) return drop(refusal(g_, c));
    // While a command is carried out (a ride, its events, the hand-over) nothing waits in
    // line: the guest is told at once, as a click on a busy board would be.
    if (g_.s.commandRunning || g_.s.question != Question::None) return drop(kRefuseBusy);
    if (pending_.size() >= kMaxPendingCommands) return drop(kRefuseBusy);
    pending_.emplace_back(c, m.lane);
    wake();
}

void NetHost::stop() {
    stopped_ = true;
    wake();
}

void NetHost::clearCommands() {
    while (!pending_.empty()) {
        const std::string why = refusal(g_, pending_.front().first);
        pending_.pop_front();
        refuse(why.empty() ? kRefuseNotYourTurn : why);
    }
}

void NetHost::refuse(const std::string& why) {
    note("相手の操作を取り消しました: " + why);
    send(net::refused(why));
}

bool NetHost::takeCommand(Command& c, int& lane) {
    if (pending_.empty()) return false;
    c = pending_.front().first;
    lane = pending_.front().second;
    pending_.pop_front();
    return true;
}

bool NetHost::waitForCommand() {
    QEventLoop loop;
    const WaitingOn on(waiting_, loop);
    // A guest who left may join again with the same code; the turn waits for it until the
    // host gives up (stop).
    while (pending_.empty() && !stopped_) loop.exec();
    return !pending_.empty();
}

bool NetHost::waitForAnswer(int timeoutMs) {
    if (!joined()) return false;
    const long before = answers_;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(timeoutMs);
    {
        const WaitingOn on(waiting_, loop);
        while (answers_ == before && joined() && timer.isActive()) loop.exec();
    }
    if (answers_ == before) note("相手の答えがありません: いいえとして進めます");
    return answers_ != before;
}

// --- remote seat ------------------------------------------------------------------------

void RemoteSeat::playTurn(Game& g) {
    host_.sendBoard();
    while (!g.ended && g.s.curPlayer == net::kRemotePlayer) {
        Command c;
        int lane = 0;
        if (!host_.takeCommand(c, lane)) {
            if (!host_.waitForCommand()) return;  // the host gave up: the turn stays open
            continue;
        }
        const Verdict v = apply(g, c);
        if (!v) host_.refuse(v.reason);
        // Every command is answered with the board, changed or not.
        host_.sendBoardIf(true);
    }
    host_.clearCommands();
}

void RemoteSeat::answerWarp(Game&, int region, const std::string& title, const std::string& question) {
    net::Ask a;
    a.question = "warp";
    a.title = title;
    a.text = question;
    a.region = region;
    host_.sendBoard();
    host_.send(net::askMessage(a));
    host_.waitForAnswer(timeoutMs_);
}

void RemoteSeat::answerGod(Game& g) {
    net::Ask a;
    a.question = "god";
    host_.sendBoard();
    host_.send(net::askMessage(a));
    host_.waitForAnswer(timeoutMs_);
    (void)g;
}

void RemoteSeat::runBet(Game& g, Race& race) {
    net::Ask a;
    a.question = "bet";
    a.title = g.s.raceName;
    a.stakes = offeredStakes(g.s.playerMoney[g.s.curPlayer]);
    for (int i = 0; i < kLanes && i < 5; ++i) a.odds[static_cast<std::size_t>(i)] = race.odds(i);
    host_.sendBoard();
    host_.send(net::askMessage(a));
    host_.waitForAnswer(timeoutMs_);
    if (!race.started()) return;  // declined, or no answer: no bet
    // The lane the guest bet on, as its own command; the race then runs tick by tick.
    apply(g, Command::chooseLane(net::kRemotePlayer, host_.laneOfLastBet()));
    while (!race.decided()) raceTick(g);
    // The guest's betting window shows the race as it was run here.
    host_.send(net::showMessage(net::raceShow(g.s, race)));
}

void WatchedSeat::runBet(Game& g, Race& race) {
    inner_.runBet(g, race);
    if (race.started()) host_.send(net::showMessage(net::raceShow(g.s, race)));
}

// --- host presenter ---------------------------------------------------------------------

void NetScreens::show(net::ShowCall c) {
    if (host_) host_->send(net::showMessage(std::move(c)));
}

void NetScreens::showMessage(const GameState& s) {
    net::ShowCall c;
    c.what = "message";
    c.player = s.curPlayer;
    c.text = s.messageText;
    show(c);
    inner_.showMessage(s);
}

int NetScreens::rollDice(const GameState& s, Rng& rng) {
    const int face = inner_.rollDice(s, rng);
    net::ShowCall c;
    c.what = "dice";
    c.player = s.curPlayer;
    c.value = face;
    c.tick = s.shortMode ? 1 : 0;  // the guest's die turns as long as the host's
    show(c);
    return face;
}

int NetScreens::showRide(const GameState& s, Rng& rng, Clock& clock) {
    OneReading seeded(clock);  // the one timer the scene is drawn for, sent to the guest
    net::ShowCall c;
    c.what = "ride";
    c.player = s.curPlayer;
    c.line = s.playerRosen[s.curPlayer];
    c.start = s.startEki[s.curPlayer];
    c.end = s.playerEki[s.curPlayer];
    c.seed = seeded.timer();
    c.text = s.rideInfo.caption;
    c.cut = s.rideCut;
    c.color = s.rideInfo.color;
    c.tick = s.rideInfo.value;
    c.gameClock = s.gameClock;
    c.playSeconds = s.playSeconds;
    show(c);
    return inner_.showRide(s, rng, seeded);
}

void NetScreens::showConquest(GameState& s, int line, Rng& rng, Clock& clock) {
    OneReading seeded(clock);  // the one timer the scene is drawn for, sent to the guest
    net::ShowCall c;
    c.what = "conquest";
    c.player = s.curPlayer;
    c.value = line;
    c.line = line;
    c.seed = seeded.timer();
    show(c);
    inner_.showConquest(s, line, rng, seeded);
}

void NetScreens::showDisaster(const GameState& s, int kind) {
    net::ShowCall c;
    c.what = "disaster";
    c.value = kind;
    show(c);
    inner_.showDisaster(s, kind);
}

void NetScreens::showEventPicture(const GameState& s, int picture) {
    net::ShowCall c;
    c.what = "picture";
    c.value = picture;
    show(c);
    inner_.showEventPicture(s, picture);
}

void NetScreens::shakeBoard(int twips) {
    net::ShowCall c;
    c.what = "shake";
    c.value = twips;
    show(c);
    inner_.shakeBoard(twips);
}

void NetScreens::showResults(const GameState& s) {
    net::ShowCall c;
    c.what = "results";
    std::string text;
    for (int p = 0; p < 2; ++p)
        text += s.playerName[p] + "：" + std::to_string(s.playerPoint[p]) + "ポイント　" +
                std::to_string(s.arriveCount[p]) + "か所到着\n";
    c.text = text;
    c.playSeconds = s.playSeconds;
    for (int p = 0; p < 2; ++p)
        c.arrived[static_cast<std::size_t>(p)] = std::clamp<int>(s.arriveCount[p], 0, kDestinationCount);
    show(c);
    inner_.showResults(s);
}

void NetScreens::pause(double seconds) {
    inner_.pause(seconds);
}

void NetScreens::processEvents() {
    inner_.processEvents();
}

void NetScreens::refreshBoard(const GameState& s) {
    inner_.refreshBoard(s);
    if (!host_) return;
    host_->sendBoard();
    // Once the command that refreshed has finished, the board as it then stands.
    QTimer::singleShot(0, host_, &NetHost::sendBoard);
}

void NetScreens::enableBoard(bool enabled) {
    inner_.enableBoard(enabled);
}

// --- guest ------------------------------------------------------------------------------

NetGuest::NetGuest(QObject* parent)
    : QObject(parent), socket_(new QWebSocket(QString(), QWebSocketProtocol::VersionLatest, this)) {
    socket_->setMaxAllowedIncomingMessageSize(kQtMessageLimit);
    socket_->setMaxAllowedIncomingFrameSize(kQtMessageLimit);
    connect(socket_, &QWebSocket::connected, this, [this] {
        sendAtOnce(socket_);
        socket_->sendTextMessage(qs(net::writeMessage(net::hello(code_))));
    });
    connect(socket_, &QWebSocket::textMessageReceived, this, &NetGuest::onText);
    connect(socket_, &QWebSocket::disconnected, this, &NetGuest::onGone);
    connect(socket_, qOverload<QAbstractSocket::SocketError>(&QWebSocket::error), this,
            [this](QAbstractSocket::SocketError) {
                if (!welcomed_)
                    endConnection("ホストにつながりません（" + utf8(socket_->errorString()) + "）");
            });
}

NetGuest::~NetGuest() {
    socket_->disconnect(this);
    socket_->abort();
}

void NetGuest::join(const QString& address, quint16 port, const std::string& code) {
    code_ = code;
    ended_ = false;
    QUrl url;
    url.setScheme(QStringLiteral("ws"));
    url.setHost(address);
    url.setPort(port);
    socket_->open(url);
}

void NetGuest::leave() {
    if (socket_->state() == QAbstractSocket::ConnectedState)
        socket_->sendTextMessage(qs(net::writeMessage(net::bye("参加者が終了しました"))));
    ended_ = true;
    socket_->close();
}

void NetGuest::send(const Command& c, int lane) {
    if (!welcomed_) return;
    net::Message m = net::commandMessage(c);
    m.lane = lane;
    socket_->sendTextMessage(qs(net::writeMessage(m)));
}

void NetGuest::endConnection(const std::string& reason) {
    if (ended_) return;
    ended_ = true;
    welcomed_ = false;
    if (socket_->state() == QAbstractSocket::ConnectedState) {
        socket_->sendTextMessage(qs(net::writeMessage(net::bye(reason))));
        socket_->flush();
    }
    socket_->close();
    emit ended(qs(reason));
}

void NetGuest::onGone() {
    endConnection(kMsgHostGone);
}

void NetGuest::onText(const QString& text) {
    const net::ReadResult r = net::readMessage(utf8(text));
    if (!r.ok) {
        endConnection(r.error);
        return;
    }
    const net::Message& m = r.message;
    switch (m.type) {
        case net::MessageType::Welcome:
            welcomed_ = true;
            player_ = m.player;
            emit welcomed();
            break;
        case net::MessageType::Board:
            if (m.board.seq <= board_.seq && hasBoard_) break;  // an old board never replaces a newer one
            board_ = m.board;
            hasBoard_ = true;
            emit boardChanged();
            break;
        case net::MessageType::Show:
            emit shown(m.show);
            break;
        case net::MessageType::Ask:
            emit asked(m.ask);
            break;
        case net::MessageType::Refused:
            emit refused(qs(m.reason));
            break;
        case net::MessageType::Bye: {
            const std::string reason = m.reason;
            ended_ = true;
            welcomed_ = false;
            socket_->close();
            emit ended(qs(reason));
            break;
        }
        default:
            endConnection(net::kErrUnknownType);
            break;
    }
}

}  // namespace kisharin

#include "screens/netGame.h"

#include <QAbstractSocket>
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

}  // namespace

// --- host -------------------------------------------------------------------------------

NetHost::NetHost(Game& g, std::string code, QObject* parent)
    : QObject(parent),
      g_(g),
      code_(std::move(code)),
      server_(new QWebSocketServer(QStringLiteral("kisharin"), QWebSocketServer::NonSecureMode, this)),
      answerTimer_(new QTimer(this)) {
    connect(server_, &QWebSocketServer::newConnection, this, &NetHost::onConnection);
    answerTimer_->setSingleShot(true);
    connect(answerTimer_, &QTimer::timeout, this, [this] {
        note("相手の答えがありません: いいえとして進めます");
        answerForGuest();
    });
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
    s->disconnect(this);
    s->deleteLater();
    // A question the guest was asked is answered no: its turn ends, and it may join again.
    if (was && answerTimer_->isActive()) {
        answerTimer_->stop();
        QTimer::singleShot(0, this, &NetHost::answerForGuest);
    }
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
    // Every command is checked as a click of the board would be and carried out at once
    // (while another command runs, it is refused with the reason); the guest is answered
    // with the board, changed or not.
    const Verdict v = apply(g_, c);
    if (!v) {
        drop(v.reason);
    } else if (isAnswer(c.kind) && c.kind != CommandKind::ChooseLane) {
        answerTimer_->stop();
        if (c.kind == CommandKind::PlaceBet) runGuestRace(m.lane);
    }
    sendBoardIf(true);
}

void NetHost::runGuestRace(int lane) {
    Race* race = g_.openRace;
    if (!race || !race->started()) return;
    // The lane the guest bet on, as its own command; the race then runs tick by tick.
    apply(g_, Command::chooseLane(net::kRemotePlayer, std::clamp(lane, 0, kLanes - 1)));
    while (!race->decided()) raceTick(g_);
    // The guest's betting window shows the race as it was run here.
    send(net::showMessage(net::raceShow(g_.s, *race)));
    settleQuestion(g_);
}

void NetHost::awaitAnswer(int timeoutMs) {
    if (!joined()) {
        // Nobody to ask: no, at once.
        note("相手の答えがありません: いいえとして進めます");
        answerForGuest();
        return;
    }
    answerTimer_->start(timeoutMs);
}

void NetHost::answerForGuest() {
    const int p = net::kRemotePlayer;
    if (g_.ended || g_.s.curPlayer != p) return;
    switch (g_.s.question) {
        case Question::Warp:
            apply(g_, Command::answerWarp(p, false));
            break;
        case Question::God:
            apply(g_, Command::answerGod(p, ""));
            break;
        case Question::Bet:
            apply(g_, Command::declineBet(p));
            break;
        default:
            return;
    }
    sendBoard();
}

void NetHost::refuse(const std::string& why) {
    note("相手の操作を取り消しました: " + why);
    send(net::refused(why));
}

// --- remote seat ------------------------------------------------------------------------

void RemoteSeat::ask(const net::Ask& a) {
    host_.sendBoard();
    host_.send(net::askMessage(a));
    host_.awaitAnswer(timeoutMs_);
}

void RemoteSeat::answerWarp(Game&, int region, const std::string& title, const std::string& question) {
    net::Ask a;
    a.question = "warp";
    a.title = title;
    a.text = question;
    a.region = region;
    ask(a);
}

void RemoteSeat::answerGod(Game&) {
    net::Ask a;
    a.question = "god";
    ask(a);
}

void RemoteSeat::runBet(Game& g, Race& race) {
    net::Ask a;
    a.question = "bet";
    a.title = g.s.raceName;
    a.stakes = offeredStakes(g.s.playerMoney[g.s.curPlayer]);
    for (int i = 0; i < kLanes && i < 5; ++i) a.odds[static_cast<std::size_t>(i)] = race.odds(i);
    ask(a);
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

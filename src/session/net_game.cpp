#include "session/net_game.h"

#include <QAbstractSocket>
#include <QHostAddress>
#include <QNetworkInterface>
#include <QPointer>
#include <QRandomGenerator>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>
#include <QWebSocket>
#include <QWebSocketServer>
#include <algorithm>
#include <cstdio>
#include <utility>

#include "turns/command.h"
#include "turns/race.h"

namespace kisharin {

namespace {
// The session speaks UTF-8 strings with the rules and QString with Qt.
QString qs(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

// Qt's own limit on a frame sits above ours, so that a message a little too large still
// reaches the reader and is answered with the reason; a far larger one is cut by Qt.
constexpr quint64 kQtMessageLimit = 4 * net::kMaxMessageBytes;
// A connection let go gets this long to take its reason before it is cut.
constexpr int kByeWithinMs = 2000;
constexpr const char* kMsgGuestGone = "相手との接続が切れました";
constexpr const char* kMsgHostGone = "ホストとの接続が切れました";
constexpr const char* kMsgHostEnded = "ホストがゲームを終了しました";
constexpr const char* kMsgGuestEnded = "相手がゲームを終了しました";
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

// Why a connection ended that Qt closed itself (a frame it refuses), else `otherwise`.
// Our own programs never send such frames: the side that sees one received it.
std::string closeReason(const QWebSocket& s, const char* otherwise) {
    switch (s.closeCode()) {
        case QWebSocketProtocol::CloseCodeTooMuchData:
            return net::kErrTooLarge;
        case QWebSocketProtocol::CloseCodeWrongDatatype:
            return net::kErrNotUtf8;
        case QWebSocketProtocol::CloseCodeProtocolError:
            return net::kErrFrame;
        default:
            return otherwise;
    }
}

// Lets a connection go: its reason is sent, and it is cut if it has not closed soon.
void letGo(QWebSocket* s, const std::string& reason) {
    QObject::connect(s, &QWebSocket::disconnected, s, &QObject::deleteLater);
    QTimer::singleShot(kByeWithinMs, s, [s] {
        s->abort();
        s->deleteLater();
    });
    if (s->state() == QAbstractSocket::ConnectedState) {
        s->sendTextMessage(qs(net::writeMessage(net::bye(reason))));
        s->flush();
    }
    s->close();
}

}  // namespace

// --- host -------------------------------------------------------------------------------

NetHost::NetHost(Game& g, std::string code, QObject* parent)
    : QObject(parent),
      g_(g),
      code_(std::move(code)),
      server_(new QWebSocketServer(QStringLiteral("kisharin"), QWebSocketServer::NonSecureMode, this)),
      answerTimer_(new QTimer(this)),
      gate_(new QTimer(this)),
      beat_(new QTimer(this)),
      raceTimer_(new QTimer(this)) {
    // A TCP connection that does not speak WebSocket is dropped by Qt within this.
    server_->setHandshakeTimeout(kHelloWithinMs);
    connect(server_, &QWebSocketServer::newConnection, this, &NetHost::onConnection);
    answerTimer_->setSingleShot(true);
    connect(answerTimer_, &QTimer::timeout, this, [this] {
        note("相手の答えがありません: いいえとして進めます");
        answerForGuest();
    });
    gate_->setSingleShot(true);
    gate_->setTimerType(Qt::PreciseTimer);  // a coarse timer may end a delay early
    connect(gate_, &QTimer::timeout, this, [this] {
        if (QWebSocket* s = std::exchange(held_, nullptr)) turnAway(s, net::kErrCode);
        judgeCodes();
    });
    connect(beat_, &QTimer::timeout, this, &NetHost::beat);
    beat_->start(silentMs_ / 3);
    raceTimer_->setInterval(kRaceTickMs);
    raceTimer_->setTimerType(Qt::PreciseTimer);
    connect(raceTimer_, &QTimer::timeout, this, &NetHost::raceOn);
    // What changes without a call of the presenter (the clock, the host's own clicks)
    // reaches the guest within a fifth of a second.
    auto* sync = new QTimer(this);
    sync->setInterval(200);
    connect(sync, &QTimer::timeout, this, &NetHost::sendBoard);
    sync->start();
}

NetHost::~NetHost() {
    // The socket's last signals find no host to answer them; the guest is told, and its
    // socket closes on its own (cut if the guest does not answer the close soon).
    for (QWebSocket* s : findChildren<QWebSocket*>()) s->disconnect(this);
    if (QWebSocket* s = std::exchange(guest_, nullptr)) {
        s->setParent(nullptr);
        letGo(s, kMsgHostEnded);
    }
}

void NetHost::sayGoodbye() {
    if (!guest_ || guest_->state() != QAbstractSocket::ConnectedState) return;
    guest_->sendTextMessage(qs(net::writeMessage(net::bye(kMsgHostEnded))));
    guest_->flush();
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

void NetHost::note(const std::string& line, bool stranger) {
    // A stranger's line the same as the one before is counted, not kept: a flood of
    // connections would fill the log with one line.
    if (stranger && line == lastLine_) {
        ++repeats_;
        return;
    }
    lastLine_ = stranger ? line : std::string();
    if (repeats_ > 0) keep("（同じ行がさらに " + std::to_string(std::exchange(repeats_, 0)) + " 回）");
    keep(line);
}

void NetHost::keep(const std::string& line) {
    if (log_.size() >= kLogLines) {
        log_.erase(log_.begin());
        ++logDropped_;
    }
    log_.push_back(line);
    std::fprintf(stderr, "kisharin net: %s\n", line.c_str());
}

void NetHost::setSilenceLimit(int ms) {
    silentMs_ = std::max(ms, 30);
    beat_->start(silentMs_ / 3);
}

int NetHost::waiting() const {
    return static_cast<int>(withoutCode_.size() + codes_.size()) + (held_ ? 1 : 0);
}

qint64 NetHost::queuedBytes() const {
    return guest_ ? guest_->bytesToWrite() : 0;
}

void NetHost::onConnection() {
    while (QWebSocket* s = server_->nextPendingConnection()) {
        s->setParent(this);
        // The accepted TCP socket stays the server's child: it goes with its WebSocket
        // instead, which may outlive the host to say goodbye.
        for (QTcpSocket* tcp : server_->findChildren<QTcpSocket*>())
            if (tcp->peerPort() == s->peerPort() && tcp->localPort() == s->localPort() &&
                tcp->peerAddress() == s->peerAddress())
                tcp->setParent(s);
        sendAtOnce(s);
        s->setMaxAllowedIncomingMessageSize(kQtMessageLimit);
        s->setMaxAllowedIncomingFrameSize(kQtMessageLimit);
        if (waiting() >= kMaxWaiting) {
            // The oldest connection that has not given a code makes room (a guest gives
            // its code at once); when every one has, the newcomer is turned away.
            if (withoutCode_.empty()) {
                note("参加を待つ接続が多すぎるため断りました", true);
                letGo(s, net::kErrBusy);
                continue;
            }
            turnAway(withoutCode_.front(), net::kErrBusy);
        }
        withoutCode_.push_back(s);
        connect(s, &QWebSocket::textMessageReceived, this,
                [this, s](const QString& t) { onWaitingText(s, t); });
        connect(s, &QWebSocket::binaryMessageReceived, this,
                [this, s](const QByteArray&) { turnAway(s, net::kErrNotJson); });
        connect(s, &QWebSocket::disconnected, this, [this, s] { forget(s); });
        QTimer::singleShot(kHelloWithinMs, this, [this, p = QPointer<QWebSocket>(s)] {
            if (p && std::find(withoutCode_.begin(), withoutCode_.end(), p) != withoutCode_.end())
                turnAway(p, net::kErrNoHello);
        });
    }
}

void NetHost::onWaitingText(QWebSocket* s, const QString& text) {
    const auto at = std::find(withoutCode_.begin(), withoutCode_.end(), s);
    if (at == withoutCode_.end()) {
        // A second message before the code was judged.
        turnAway(s, net::kErrUnknownType);
        return;
    }
    const net::ReadResult r = net::readMessage(utf8(text));
    if (!r.ok || r.message.type != net::MessageType::Hello) {
        turnAway(s, r.ok ? net::kErrCode : r.error);
        return;
    }
    withoutCode_.erase(at);
    codes_.emplace_back(s, r.message.code);
    judgeCodes();
}

void NetHost::judgeCodes() {
    while (!gate_->isActive() && !codes_.empty()) {
        auto [s, code] = codes_.front();
        codes_.pop_front();
        if (!net::helloRefusal(code_, code).empty()) {
            wrongCode(s);
        } else if (guest_) {
            // One guest at a time: the newcomer is told and let go.
            note("二人目の参加を断りました");
            turnAway(s, kMsgOneGuest);
        } else {
            welcome(s);
        }
    }
}

void NetHost::wrongCode(QWebSocket* s) {
    // Whoever tries codes, over as many connections as they like, gets one answer at a
    // time, each later than the one before.
    if (lastWrong_.isValid() && lastWrong_.elapsed() > kQuietMs) wrongInRow_ = 0;
    lastWrong_.start();
    ++wrongCodes_;
    const int delay = std::min(kFirstDelayMs << std::min(wrongInRow_, 16), kMaxDelayMs);
    ++wrongInRow_;
    held_ = s;
    gate_->start(delay);
    note("参加コードの違う接続がありました（" + std::to_string(wrongCodes_) + "回目）");
    if (++wrongWithCode_ < kWrongCodesPerCode) return;
    std::string fresh;
    do fresh = net::joinCode(QRandomGenerator::system()->generate64());
    while (fresh == code_);
    code_ = fresh;
    wrongWithCode_ = 0;
    note("参加コードを新しくしました");
    emit codeChanged(qs(net::spokenCode(code_)), wrongCodes_);
}

void NetHost::welcome(QWebSocket* s) {
    s->disconnect(this);
    guest_ = s;
    guestSaidBye_ = false;
    connect(s, &QWebSocket::textMessageReceived, this, &NetHost::onText);
    connect(s, &QWebSocket::binaryMessageReceived, this,
            [this](const QByteArray&) { endConnection(net::kErrNotJson); });
    connect(s, &QWebSocket::disconnected, this, &NetHost::onGone);
    connect(s, &QWebSocket::pong, this, [this] { heard_.start(); });
    heard_.start();
    wrongInRow_ = 0;
    lastBoard_.clear();
    note("相手が参加しました");
    send(net::welcome(net::kRemotePlayer, g_.s.playArea, g_.s.shortMode != 0));
    sendBoard();
    if (guest_ == s) emit guestJoined();
}

void NetHost::turnAway(QWebSocket* s, const std::string& reason) {
    note("接続を断りました: " + reason, true);
    forget(s);
    letGo(s, reason);
}

void NetHost::forget(QWebSocket* s) {
    withoutCode_.erase(std::remove(withoutCode_.begin(), withoutCode_.end(), s), withoutCode_.end());
    codes_.erase(std::remove_if(codes_.begin(), codes_.end(), [s](const auto& c) { return c.first == s; }),
                 codes_.end());
    if (held_ == s) held_ = nullptr;  // its delay still runs for the next code
    s->disconnect(this);
    if (s->state() == QAbstractSocket::UnconnectedState) {
        const std::string why = closeReason(*s, "");
        if (!why.empty()) note("接続が切れました: " + why, true);
        s->deleteLater();
    }
}

void NetHost::beat() {
    if (!guest_) return;
    if (heard_.elapsed() > silentMs_) {
        note("相手から " + std::to_string(silentMs_) + " ミリ秒何も届きません");
        endConnection(kMsgGuestGone, false);
        return;
    }
    guest_->ping();
}

void NetHost::send(const net::Message& m) {
    if (!guest_) return;
    guest_->sendTextMessage(qs(net::writeMessage(m)));
    const qint64 queued = guest_->bytesToWrite();
    mostQueued_ = std::max(mostQueued_, queued);
    // A guest that does not read would have the host keep all it is sent.
    if (queued > kMaxQueuedBytes) endConnection(net::kErrNotReading, false);
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

void NetHost::endConnection(const std::string& reason, bool tell) {
    note("接続を終えます: " + reason);
    QWebSocket* s = std::exchange(guest_, nullptr);
    if (!s) return;
    s->disconnect(this);
    if (tell) {
        letGo(s, reason);
    } else {
        s->abort();  // what it did not take is thrown away
        s->deleteLater();
    }
    guestGone(reason);
}

void NetHost::onGone() {
    QWebSocket* s = std::exchange(guest_, nullptr);
    if (!s) return;
    // A guest that said goodbye has ended its game; any other close is a cut link.
    const std::string why = guestSaidBye_ ? kMsgGuestEnded : closeReason(*s, kMsgGuestGone);
    note(why);
    s->disconnect(this);
    s->deleteLater();
    guestGone(why);
}

void NetHost::guestGone(const std::string& reason) {
    // A question the guest was asked is answered no: its turn ends, and it may join again.
    if (answerTimer_->isActive()) {
        answerTimer_->stop();
        QTimer::singleShot(0, this, &NetHost::answerForGuest);
    }
    emit guestLeft(qs(reason));
}

void NetHost::onText(const QString& text) {
    heard_.start();
    const std::string bytes = utf8(text);
    const net::ReadResult r = net::readMessage(bytes);
    if (!r.ok) {
        endConnection(r.error);
        return;
    }
    const net::Message& m = r.message;
    if (m.type == net::MessageType::Bye) {
        note("相手が終了しました: " + m.reason);
        guestSaidBye_ = true;
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
    // The lane the guest bet on, as its own command; the race then runs here tick by tick
    // at the betting window's pace, each tick sent to the guest's window, and a lane the
    // guest switches to during the race counts from the tick after it arrives.
    apply(g_, Command::chooseLane(net::kRemotePlayer, std::clamp(lane, 0, kLanes - 1)));
    raceTimer_->start();
}

void NetHost::raceOn() {
    Race* race = g_.openRace;
    if (!race || !race->started()) {
        raceTimer_->stop();
        return;
    }
    raceTick(g_);
    send(net::showMessage(net::raceShow(g_.s, *race)));
    if (!race->decided()) return;
    // Decided: the bet is settled and the turn goes on.
    raceTimer_->stop();
    settleQuestion(g_);
    sendBoard();
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

namespace {

std::string cannotConnect(QAbstractSocket::SocketError e) {
    const char* why = "応答がありません。アドレスと、ホストのファイアウォールを確かめてください";
    if (e == QAbstractSocket::ConnectionRefusedError)
        why = "そのアドレスとポートで待っているホストがありません";
    else if (e == QAbstractSocket::HostNotFoundError)
        why = "アドレスが見つかりません";
    return std::string("ホストにつながりません（") + why + "）";
}

}  // namespace

NetGuest::NetGuest(QObject* parent)
    : QObject(parent),
      socket_(new QWebSocket(QString(), QWebSocketProtocol::VersionLatest, this)),
      beat_(new QTimer(this)) {
    socket_->setMaxAllowedIncomingMessageSize(kQtMessageLimit);
    socket_->setMaxAllowedIncomingFrameSize(kQtMessageLimit);
    connect(socket_, &QWebSocket::connected, this, [this] {
        opened_ = true;
        heard_.start();
        sendAtOnce(socket_);
        socket_->sendTextMessage(qs(net::writeMessage(net::hello(code_))));
    });
    connect(socket_, &QWebSocket::textMessageReceived, this, &NetGuest::onText);
    connect(socket_, &QWebSocket::pong, this, [this] { heard_.start(); });
    connect(socket_, &QWebSocket::disconnected, this, &NetGuest::onGone);
    connect(socket_, qOverload<QAbstractSocket::SocketError>(&QWebSocket::error), this,
            [this](QAbstractSocket::SocketError e) {
                if (!opened_) endConnection(cannotConnect(e), false);
            });
    connect(beat_, &QTimer::timeout, this, &NetGuest::beat);
}

NetGuest::~NetGuest() {
    socket_->disconnect(this);
    socket_->abort();
}

void NetGuest::setSilenceLimit(int ms) {
    silentMs_ = std::max(ms, 30);
    if (beat_->isActive()) beat_->start(silentMs_ / 3);
}

void NetGuest::join(const QString& address, quint16 port, const std::string& code) {
    code_ = code;
    ended_ = false;
    opened_ = false;
    heard_.start();
    beat_->start(silentMs_ / 3);
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
    beat_->stop();
    socket_->close();
}

void NetGuest::send(const Command& c, int lane) {
    if (!welcomed_) return;
    net::Message m = net::commandMessage(c);
    m.lane = lane;
    socket_->sendTextMessage(qs(net::writeMessage(m)));
}

void NetGuest::beat() {
    if (ended_) return;
    if (heard_.elapsed() <= silentMs_) {
        if (opened_) socket_->ping();
        return;
    }
    // The host could not be reached, or has gone silent: nothing more is said to it.
    endConnection(opened_ ? kMsgHostGone : cannotConnect(QAbstractSocket::SocketTimeoutError), false);
}

void NetGuest::endConnection(const std::string& reason, bool tell) {
    if (ended_) return;
    ended_ = true;
    welcomed_ = false;
    beat_->stop();
    if (tell && socket_->state() == QAbstractSocket::ConnectedState) {
        socket_->sendTextMessage(qs(net::writeMessage(net::bye(reason))));
        socket_->flush();
        socket_->close();
    } else {
        socket_->abort();
    }
    emit ended(qs(reason));
}

void NetGuest::onGone() {
    endConnection(opened_ ? closeReason(*socket_, kMsgHostGone) : cannotConnect(socket_->error()), false);
}

void NetGuest::onText(const QString& text) {
    heard_.start();
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
            area_ = m.area;
            shortMode_ = m.shortMode;
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
            beat_->stop();
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

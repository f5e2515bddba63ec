// A host and a guest on this machine over a real localhost WebSocket (a free port picked
// at run time): the host plays player 1 by the scripted rules, the guest plays player 2
// from what it is shown alone. After every turn the guest's board is the host's. A guest
// with a wrong code, a command for the wrong player and a broken message are turned away;
// strangers guessing codes, idle, silent or not reading do not get in or keep the guest out.
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebSocket>
#include <cstdlib>
#include <ctime>

#include "board/startup.h"
#include "net/protocol.h"
#include "platform/data_home.h"
#include "screens/frmHost.h"
#include "session/net_game.h"
#include "setup/save_slot.h"
#include "support/fakes.h"
#include "support/scripted_player.h"
#include "support/scripted_screens.h"
#include "turns/events.h"
#include "turns/happenings.h"
#include "turns/race.h"
#include "turns/turn.h"

using namespace kisharin;
using namespace kisharin::testing;

class NetGameTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void guestBoardIsTheHostsAfterEveryTurn();
    void wrongCodeAndBadMessagesEndTheConnection();
    void commandsOfTheWrongSeatAreDropped();
    void aGuestWhoDropsJoinsAgainWithTheSameCode();
    void theRemoteSeatsAnswersComeFromTheGuest();
    void wrongCodesAreSlowedAndChangeTheCode();
    void idleConnectionsDoNotKeepTheGuestOut();
    void silentOrDeafPeersAreDropped();
    void aSilentHostEndsTheGuest();
    void aGuestGoneAfterItsRollLeavesAGameThatSavesAndWaitsIdle();

  private:
    QTemporaryDir dir_;
    GameState loaded_;
};

namespace {

// The guest's player, deciding from its board alone: claims its own station when it is a
// pending destination, rolls, then rides to a destination in reach or as far toward one
// as the die allows; works when a roll did not move the turn on. Answers no to the warp,
// stays for the god and bets the smallest stake on lane 0.
class GuestPlayer : public QObject {
  public:
    explicit GuestPlayer(NetGuest& guest) : guest_(guest) {
        connect(&guest, &NetGuest::boardChanged, this, &GuestPlayer::act);
        connect(&guest, &NetGuest::asked, this, [this](const net::Ask& a) {
            const int me = guest_.player();
            ++questions;
            if (silent) return;
            if (a.question == "warp")
                guest_.send(Command::answerWarp(me, warpYes));
            else if (a.question == "god")
                guest_.send(Command::answerGod(me, ""));
            else if (a.stakes.empty())
                guest_.send(Command::declineBet(me));
            else
                guest_.send(Command::placeBet(me, a.stakes.front()), 0);
        });
        connect(&guest, &NetGuest::shown, this, [this](const net::ShowCall& c) {
            ++shows;
            if (c.what == "ride") ++rides;
            if (c.what == "results") ++results;
            // A lane switch as the guest's race runs at the host.
            if (c.what == "race" && c.end == 0 && switchTo >= 0)
                guest_.send(Command::chooseLane(guest_.player(), std::exchange(switchTo, -1)));
        });
    }
    int questions = 0, shows = 0, rides = 0, results = 0, commands = 0;
    bool warpYes = false;
    bool silent = false;    // answers nothing
    int switchTo = -1;      // the lane to switch to once the own race runs
    bool rollOnly = false;  // rolls, then does nothing more

  private:
    void act() {
        const net::BoardView& b = guest_.board();
        const int me = guest_.player();
        if (b.ended || b.curPlayer != me || b.busy) return;
        const Station here = b.at[static_cast<std::size_t>(me)];
        if (b.seq == actedOn_) return;
        actedOn_ = b.seq;
        if (b.phase == TurnPhase::Choosing) {
            for (std::size_t d = 0; d < b.destinations.size(); ++d)
                if (!b.done[d] && b.destinations[d] == here) return send(Command::ride(me, here));
            if (rolledAt_ == here && rolledTurn_ == turnKey(b)) return send(Command::work(me));
            rolledAt_ = here;
            rolledTurn_ = turnKey(b);
            return send(Command::roll(me));
        }
        if (rollOnly) return;
        const int n = b.strip.stationCount();
        int target = 0, gap = 1 << 30;
        for (std::size_t d = 0; d < b.destinations.size(); ++d) {
            const Station t = b.destinations[d];
            if (b.done[d] || t.line != here.line) continue;
            const int dist = std::abs(t.pos - here.pos);
            const int pos = dist <= b.steps ? t.pos : here.pos + (t.pos > here.pos ? b.steps : -b.steps);
            if (dist < gap && pos >= 1 && pos <= n) target = pos, gap = dist;
        }
        if (target == 0)
            target = here.pos + b.steps <= n ? here.pos + b.steps : std::max(1, here.pos - b.steps);
        send(Command::ride(me, {here.line, target}));
    }
    static long turnKey(const net::BoardView& b) { return b.money[1] * 7 + b.points[1]; }
    void send(const Command& c) {
        ++commands;
        guest_.send(c);
    }
    NetGuest& guest_;
    long actedOn_ = -1;
    Station rolledAt_;
    long rolledTurn_ = -1;
};

// A client that speaks WebSocket only to join and to send: it never reads what it is sent
// and never answers a ping.
struct DeafGuest {
    QTcpSocket tcp;
    explicit DeafGuest(quint16 port) {
        tcp.setReadBufferSize(1);
        tcp.connectToHost(QHostAddress::LocalHost, port);
        tcp.write(
            "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
            "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n\r\n");
    }
    void send(const net::Message& m) {
        const QByteArray text = QByteArray::fromStdString(net::writeMessage(m));
        // One text frame of under 126 bytes, masked with a key of zeros.
        tcp.write("\x81" + QByteArray(1, static_cast<char>(0x80 | text.size())) + QByteArray(4, '\0') + text);
    }
};

struct HostGame {
    GameState s;
    ScriptedScreens screens;
    FakeClock clock;
    DefaultRng rng{0};
    Game game{s, netScreens, rng, clock};  // the presenter below is only kept by reference here
    NetHost host{game, "314159"};
    NetScreens netScreens{screens, &host};
    ScriptedPlayer player;
    RemoteSeat remote{host, 5000};

    HostGame(const GameState& loaded, double seed) : s(loaded) {
        rng.reseed(seed);
        clock.step = 0.37;
        game.seats = {&player, &remote};
        s.shortMode = True;
        s.comOpponent = False;
    }
    void start() {
        setupNewGame(s, rng, clock);
        drawDestinations(s, rng, clock);
        buildEventTables(s);
        showBoard(game);
    }
    // One turn: the host's own seat plays it; the guest's is carried out by the host's
    // event loop as the guest's commands arrive. False when it did not pass.
    bool passTurn() {
        const int mover = s.curPlayer;
        if (game.seat(mover).playsItself()) return playSeatTurn(game);
        QElapsedTimer t;
        t.start();
        while (!game.ended && s.curPlayer == mover && t.elapsed() < 20000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        return game.ended || s.curPlayer != mover;
    }
};

}  // namespace

void NetGameTest::initTestCase() {
    QVERIFY(dir_.isValid());
    QDir().mkpath(dir_.filePath(QStringLiteral("GameData")));
    loaded_.appDir = shippedDataDir();
    loaded_.historyBase = dir_.filePath(QStringLiteral("GameData/履歴")).toStdString();
    loaded_.playArea = 8;
    loaded_.playerName[0] = "ホスト";
    loaded_.playerName[1] = "ゲスト";
    loadBoardData(loaded_);
}

void NetGameTest::guestBoardIsTheHostsAfterEveryTurn() {
    // A whole game in short mode, and the first turns of a game with the ride scenes.
    struct Run {
        double seed;
        bool shortMode;
        int maxTurns;
    };
    for (const Run run : {Run{11.0, true, 400}, Run{29.0, false, 24}}) {
        HostGame h(loaded_, run.seed);
        h.s.shortMode = run.shortMode;
        QVERIFY(h.host.listen(0));
        QVERIFY(h.host.port() != 0);
        NetGuest guest;
        GuestPlayer player(guest);
        guest.join(QStringLiteral("127.0.0.1"), h.host.port(), "314159");
        QTRY_VERIFY(h.host.joined());
        QTRY_VERIFY(guest.joined());
        h.start();

        int turns = 0, remoteTurns = 0;
        while (!h.game.ended && turns < run.maxTurns) {
            const int mover = h.s.curPlayer;
            QVERIFY(h.passTurn());
            QVERIFY2(h.host.joined(), "the guest left during the game");
            QCOMPARE(int{h.s.curPlayer} != mover || h.game.ended, true);
            ++turns;
            if (mover == net::kRemotePlayer) ++remoteTurns;
            // Every board the host sent has arrived, and the last is the game as it stands
            // (once the host's event loop has had its turn).
            QCoreApplication::processEvents();
            QTRY_COMPARE(guest.board().seq, h.host.boardsSent());
            QCOMPARE(QString::fromStdString(net::boardText(guest.board())),
                     QString::fromStdString(net::boardText(net::boardView(h.game, h.host.boardsSent()))));
            // The guest may have played its whole turn while its boards were waited for.
            if (mover != net::kRemotePlayer && h.s.curPlayer != net::kRemotePlayer && !h.game.ended)
                ++turns, ++remoteTurns;
        }
        QVERIFY(remoteTurns > 5);
        if (run.shortMode) {
            QVERIFY2(h.game.ended, "the game did not end within 400 turns");
            QVERIFY(guest.board().ended);
            QCOMPARE(player.results, 1);
        } else {
            // Every ride scene of the host was shown to the guest, with its seed.
            QCOMPARE(player.rides, h.screens.rides);
            QVERIFY(player.rides > 0);
        }
        // The guest's commands were its turns' only way forward; none slipped past a refusal.
        for (const std::string& line : h.host.log())
            QVERIFY2(line.find(net::kErrNotRemote) == std::string::npos, line.c_str());
    }
}

void NetGameTest::wrongCodeAndBadMessagesEndTheConnection() {
    HostGame h(loaded_, 5.0);
    QVERIFY(h.host.listen(0));
    h.start();
    {
        NetGuest guest;
        QString why;
        connect(&guest, &NetGuest::ended, [&](const QString& r) { why = r; });
        guest.join(QStringLiteral("127.0.0.1"), h.host.port(), "000000");
        QTRY_COMPARE(why, QString::fromUtf8(net::kErrCode));
        QVERIFY(!h.host.joined());
        // Nobody listens on the port any more: the guest could not connect.
        QTcpServer gone;
        QVERIFY(gone.listen(QHostAddress::LocalHost));
        const quint16 port = gone.serverPort();
        gone.close();
        guest.join(QStringLiteral("127.0.0.1"), port, "314159");
        QTRY_VERIFY(why.startsWith(QStringLiteral("ホストにつながりません")));
    }
    // A raw client: right code, then a message of a future version; then one too large.
    for (const QString& bad :
         {QStringLiteral(R"({"v":9,"type":"command"})"), QString(70000, QLatin1Char('x'))}) {
        QWebSocket raw;
        QString bye;
        connect(&raw, &QWebSocket::textMessageReceived, [&](const QString& t) {
            const net::ReadResult r = net::readMessage(t.toStdString());
            if (r.ok && r.message.type == net::MessageType::Bye)
                bye = QString::fromStdString(r.message.reason);
        });
        QString left;
        connect(&h.host, &NetHost::guestLeft, [&](const QString& r) { left = r; });
        raw.open(QUrl(QStringLiteral("ws://127.0.0.1:%1").arg(h.host.port())));
        QTRY_COMPARE(raw.state(), QAbstractSocket::ConnectedState);
        raw.sendTextMessage(QString::fromStdString(net::writeMessage(net::hello("314159"))));
        QTRY_VERIFY(h.host.joined());
        raw.sendTextMessage(bad);
        const char* expected = bad.size() > 1000 ? net::kErrTooLarge : net::kErrVersion;
        QTRY_COMPARE(bye, QString::fromUtf8(expected));
        QTRY_COMPARE(left, QString::fromUtf8(expected));
        QTRY_VERIFY(!h.host.joined());
        h.host.disconnect(this);
    }
}

void NetGameTest::commandsOfTheWrongSeatAreDropped() {
    HostGame h(loaded_, 7.0);
    QVERIFY(h.host.listen(0));
    NetGuest guest;
    QStringList refusals;
    connect(&guest, &NetGuest::refused, [&](const QString& r) { refusals << r; });
    guest.join(QStringLiteral("127.0.0.1"), h.host.port(), "314159");
    QTRY_VERIFY(guest.joined());
    h.start();
    QCOMPARE(int{h.s.curPlayer}, 0);
    const long money = h.s.playerMoney[0];
    // The guest speaks for the host's player, and out of its turn for its own.
    guest.send(Command::work(0));
    guest.send(Command::roll(1));
    QTRY_COMPARE(refusals.size(), 2);
    QCOMPARE(refusals[0], QString::fromUtf8(net::kErrNotRemote));
    QCOMPARE(refusals[1], QString::fromUtf8(kRefuseNotYourTurn));
    QCOMPARE(int{h.s.curPlayer}, 0);
    QCOMPARE(h.s.playerMoney[0], money);
    QCOMPARE(int{h.s.turnPhase == TurnPhase::Choosing}, 1);
    QVERIFY(guest.joined());  // refused, not thrown out
}

void NetGameTest::aGuestWhoDropsJoinsAgainWithTheSameCode() {
    auto hostGame = std::make_unique<HostGame>(loaded_, 13.0);
    HostGame& h = *hostGame;
    QVERIFY(h.host.listen(0));
    auto first = std::make_unique<NetGuest>();
    auto firstPlayer = std::make_unique<GuestPlayer>(*first);
    first->join(QStringLiteral("127.0.0.1"), h.host.port(), "314159");
    QTRY_VERIFY(h.host.joined());
    h.start();
    if (h.s.curPlayer == 0) QVERIFY(h.passTurn());
    QCOMPARE(int{h.s.curPlayer}, net::kRemotePlayer);

    // The guest's program ends at the start of its turn; the host's turn waits, and a new
    // guest with the same code plays it.
    firstPlayer.reset();
    QString left;
    connect(&h.host, &NetHost::guestLeft, [&](const QString& why) { left = why; });
    NetGuest second;
    GuestPlayer secondPlayer(second);
    QTimer::singleShot(0, [&] {
        first.reset();  // the socket goes without a word
        QTimer::singleShot(100, [&] { second.join(QStringLiteral("127.0.0.1"), h.host.port(), "314159"); });
    });
    QVERIFY(h.passTurn());
    QCOMPARE(left, QStringLiteral("相手との接続が切れました"));
    QCOMPARE(int{h.s.curPlayer}, 0);
    QVERIFY(secondPlayer.commands > 0);
    QCoreApplication::processEvents();
    QTRY_COMPARE(second.board().seq, h.host.boardsSent());
    QCOMPARE(QString::fromStdString(net::boardText(second.board())),
             QString::fromStdString(net::boardText(net::boardView(h.game, h.host.boardsSent()))));

    // The host's program ends: the guest is told.
    QString ended;
    connect(&second, &NetGuest::ended, [&](const QString& why) { ended = why; });
    hostGame.reset();
    QTRY_COMPARE(ended, QStringLiteral("ホストがゲームを終了しました"));
}

// The warp hole asks the guest and the turn waits, no loop running inside it; the guest's
// answer command carries it on. A guest that does not answer within the time allowed
// counts as no.
void NetGameTest::theRemoteSeatsAnswersComeFromTheGuest() {
    HostGame h(loaded_, 17.0);
    QVERIFY(h.host.listen(0));
    NetGuest guest;
    GuestPlayer player(guest);
    guest.join(QStringLiteral("127.0.0.1"), h.host.port(), "314159");
    QTRY_VERIFY(h.host.joined());
    h.start();
    h.s.curPlayer = net::kRemotePlayer;
    RemoteSeat quick(h.host, 300);
    h.game.seats[1] = &quick;
    int carried = 0;
    bool jumped = false;
    auto askWarp = [&] {
        h.s.questionRegion = 3;
        openQuestion(h.game, Question::Warp, [&](Game& g) {
            ++carried;
            jumped = g.answers.warp;
        });
        settleQuestion(h.game);
    };
    player.warpYes = true;
    askWarp();
    QCOMPARE(carried, 0);
    QCOMPARE(h.s.question, Question::Warp);
    QTRY_COMPARE(carried, 1);
    QVERIFY(jumped);
    QCOMPARE(h.s.question, Question::None);

    player.silent = true;
    askWarp();
    QTRY_COMPARE(carried, 2);
    QVERIFY(!jumped);
    QCOMPARE(player.questions, 2);

    // The race of the guest's bet runs tick by tick, and the lane it switches to during the
    // race is the one that counts.
    player.silent = false;
    player.switchTo = 3;
    h.s.playerMoney[1] = 20000;
    h.s.curPlayer = net::kRemotePlayer;  // the guest played on meanwhile
    賭け事イベント(h.game);
    const std::shared_ptr<Race> day = h.game.raceDay;
    QVERIFY(day && h.s.question == Question::Bet);
    QTRY_VERIFY_WITH_TIMEOUT(day->decided(), 30000);
    QCOMPARE(day->laneAtFinish(), 3);
    QCOMPARE(player.switchTo, -1);
    QCOMPARE(h.s.question, Question::None);
}

// A stranger tries codes over many connections at once: the refusals come one at a time,
// each twice as late as the one before; after five the host has a new code and its window
// says so.
void NetGameTest::wrongCodesAreSlowedAndChangeTheCode() {
    HostGame h(loaded_, 3.0);
    QVERIFY(h.host.listen(0));
    FrmHost window(h.host);
    QString fresh;
    connect(&h.host, &NetHost::codeChanged, [&](const QString& c) { fresh = c; });
    QElapsedTimer clock;
    clock.start();
    std::vector<qint64> refusedAt;
    std::vector<std::unique_ptr<NetGuest>> strangers;
    for (int i = 0; i < 6; ++i) {
        strangers.push_back(std::make_unique<NetGuest>());
        connect(strangers.back().get(), &NetGuest::ended, [&](const QString& why) {
            if (why == QString::fromUtf8(net::kErrCode)) refusedAt.push_back(clock.elapsed());
        });
        strangers.back()->join(QStringLiteral("127.0.0.1"), h.host.port(), "1000000" + std::to_string(i));
    }
    QTRY_COMPARE_WITH_TIMEOUT(refusedAt.size(), std::size_t{4}, 10000);
    QTRY_VERIFY(!fresh.isEmpty());
    QCOMPARE(h.host.wrongCodes(), 5L);
    for (std::size_t i = 0; i < refusedAt.size(); ++i)
        QVERIFY(refusedAt[i] >= (NetHost::kFirstDelayMs << (i + 1)) - NetHost::kFirstDelayMs - 20);
    QCOMPARE(QString::fromStdString(net::spokenCode(h.host.code())), fresh);
    QVERIFY(window.details()->text().endsWith(fresh) && !window.warning()->isHidden());
    QVERIFY(window.warning()->text().contains(QStringLiteral("5回")));
}

// Connections that never give a code fill the places that wait for one; the guest still
// gets in with the code.
void NetGameTest::idleConnectionsDoNotKeepTheGuestOut() {
    HostGame h(loaded_, 19.0);
    QVERIFY(h.host.listen(0));
    std::vector<std::unique_ptr<QWebSocket>> idle;
    for (int i = 0; i < NetHost::kMaxWaiting + 2; ++i) {
        idle.push_back(std::make_unique<QWebSocket>());
        idle.back()->open(QUrl(QStringLiteral("ws://127.0.0.1:%1").arg(h.host.port())));
        QTRY_COMPARE(idle.back()->state(), QAbstractSocket::ConnectedState);
    }
    QTRY_COMPARE(h.host.waiting(), NetHost::kMaxWaiting);
    NetGuest guest;
    guest.join(QStringLiteral("127.0.0.1"), h.host.port(), "314159");
    QTRY_VERIFY(guest.joined());
}

// A guest that stops answering is dropped within the silence limit; a guest that sends
// commands and reads none of the answers is dropped before the host keeps more than its
// bound for it.
void NetGameTest::silentOrDeafPeersAreDropped() {
    for (const bool commands : {false, true}) {
        HostGame h(loaded_, 23.0);
        QVERIFY(h.host.listen(0));
        h.start();
        if (!commands) h.host.setSilenceLimit(300);
        QString left;
        connect(&h.host, &NetHost::guestLeft, [&](const QString& why) { left = why; });
        DeafGuest deaf(h.host.port());
        QTRY_COMPARE(h.host.waiting(), 1);
        deaf.send(net::hello("314159"));
        QTRY_VERIFY(h.host.joined());
        QElapsedTimer clock;
        clock.start();
        if (!commands) {
            QTRY_COMPARE(left, QStringLiteral("相手との接続が切れました"));
            QVERIFY2(clock.elapsed() >= 300 && clock.elapsed() < 1500,
                     std::to_string(clock.elapsed()).c_str());
            continue;
        }
        // Out of its turn: each is refused and answered with the whole board.
        for (int i = 0; i < 20000; ++i) deaf.send(net::commandMessage(Command::roll(net::kRemotePlayer)));
        QTRY_COMPARE_WITH_TIMEOUT(left, QString::fromUtf8(net::kErrNotReading), 60000);
        QVERIFY(h.host.mostQueued() > NetHost::kMaxQueuedBytes);
        QVERIFY(h.host.mostQueued() < NetHost::kMaxQueuedBytes + qint64{net::kMaxMessageBytes});
    }
}

// A host that welcomes the guest and then says nothing, not even to its pings: the guest
// ends within its silence limit.
void NetGameTest::aSilentHostEndsTheGuest() {
    QTcpServer silent;
    QVERIFY(silent.listen(QHostAddress::LocalHost));
    QByteArray request;
    connect(&silent, &QTcpServer::newConnection, [&] {
        QTcpSocket* tcp = silent.nextPendingConnection();
        connect(tcp, &QTcpSocket::readyRead, [&, tcp] {
            if (request.contains("\r\n\r\n")) return;  // reads nothing after the opening
            request += tcp->readAll();
            const QByteArray key = request.mid(request.indexOf("Sec-WebSocket-Key: ") + 19, 24);
            const QByteArray welcome = QByteArray::fromStdString(net::writeMessage(net::welcome(1)));
            tcp->write(
                "HTTP/1.1 101 Switching Protocols\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                "Sec-WebSocket-Accept: " +
                QCryptographicHash::hash(key + "258EAFA5-E914-47DA-95CA-C5AB0DC85B11",
                                         QCryptographicHash::Sha1)
                    .toBase64() +
                "\r\n\r\n\x81" + static_cast<char>(welcome.size()) + welcome);
        });
    });
    NetGuest guest;
    guest.setSilenceLimit(300);
    QString ended;
    connect(&guest, &NetGuest::ended, [&](const QString& why) { ended = why; });
    guest.join(QStringLiteral("127.0.0.1"), silent.serverPort(), "314159");
    QTRY_VERIFY(guest.joined());
    QTRY_COMPARE(ended, QStringLiteral("ホストとの接続が切れました"));  // well before the usual 15 s
}

QTEST_MAIN(NetGameTest)
// The guest rolls and then its computer is gone: the host waits without using the processor,
// and 「保存して終了」 then writes the start of the guest's turn, which loads and plays on.
void NetGameTest::aGuestGoneAfterItsRollLeavesAGameThatSavesAndWaitsIdle() {
    HostGame h(loaded_, 29.0);
    QVERIFY(h.host.listen(0));
    auto guest = std::make_unique<NetGuest>();
    GuestPlayer player(*guest);
    player.rollOnly = true;
    guest->join(QStringLiteral("127.0.0.1"), h.host.port(), "314159");
    QTRY_VERIFY(h.host.joined());
    h.start();
    h.game.gameDataDir = dir_.filePath(QStringLiteral("GameData/")).toStdString();
    h.s.curPlayer = net::kRemotePlayer;
    beginTurn(h.game);
    const Station before{h.s.playerRosen[1], h.s.playerEki[1]};
    h.host.sendBoard();
    QTRY_VERIFY(h.s.turnPhase == TurnPhase::Rolled);
    guest.reset();  // gone without a word
    QTRY_VERIFY(!h.host.joined());
    // Waiting for the guest costs no processor time to speak of.
    const std::clock_t cpu0 = std::clock();
    QEventLoop second;
    QTimer::singleShot(1000, &second, &QEventLoop::quit);
    second.exec();
    QVERIFY2(std::clock() - cpu0 < CLOCKS_PER_SEC / 20,
             qPrintable(QString::number(double(std::clock() - cpu0) / CLOCKS_PER_SEC)));
    EmptySeat atTheBoard;  // the host's own player, at its board
    h.game.seats[0] = &atTheBoard;
    const Verdict v = apply(h.game, Command::save(0, 3));
    QVERIFY2(v, v.reason.c_str());
    QVERIFY(v.savedTurnStart);
    GameState back = loaded_;
    readSlot(h.game.gameDataDir, 3, back);
    QCOMPARE(back.curPlayer, Integer{1});
    QCOMPARE(back.playerRosen[1], Integer(before.line));
    QCOMPARE(back.playerEki[1], Integer(before.pos));
    // Loaded, the guest's turn is played again from its start.
    HostGame again(back, 31.0);
    again.s.resumeGame = True;
    again.game.seats = {&again.player, &again.player};
    showBoard(again.game);
    QVERIFY(apply(again.game, Command::roll(1)));
}

#include "net_game_test.moc"

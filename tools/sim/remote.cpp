#include "remote.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QObject>
#include <cstdlib>

#include "board/route.h"
#include "net/protocol.h"
#include "session/net_game.h"
#include "state/error.h"
#include "turns/board_model.h"
#include "turns/events.h"
#include "turns/strong_route.h"
#include "turns/turn.h"

namespace kisharin::sim {

namespace {

constexpr const char* kCode = "700007";
constexpr int kJoinWithinMs = 10000;
// The guest answers at once; an answer that has not come within this is a fault.
constexpr int kAnswerWithinMs = 10000;
// A turn of the guest passes within this (its commands come at once; a minute is a fault).
constexpr int kTurnWithinMs = 60000;

}  // namespace

// The computer player at the guest: the computer's turn (its route, line changes, kind,
// roll and station, with a second's pause before each action) and its answers, step by
// step from the boards the host sends. Its route is planned when its turn begins, on its
// own copy of the railway with the players and destinations the board shows, and
// followed through the turn as the computer follows its own.
class GuestComputer : public QObject {
  public:
    GuestComputer(NetGuest& guest, GameState& railway, SideKind kind, double& seconds)
        : guest_(guest), plan_(railway), strength_(strengthOf(kind)), seconds_(seconds) {
        connect(&guest, &NetGuest::boardChanged, this, [this] { onBoard(); });
        connect(&guest, &NetGuest::asked, this, [this](const net::Ask& a) { answer(a); });
    }
    ComputerTurn last;
    long sent = 0;  // commands and answers sent to the host

  private:
    enum class Stage { Idle, AfterChange, AfterKind, AfterRoll, Sent };

    const net::BoardView& board() const { return guest_.board(); }
    Station here() const { return board().at[static_cast<std::size_t>(me())]; }
    int me() const { return guest_.player(); }
    Long money() const { return board().money[static_cast<std::size_t>(me())]; }

    // The players and destinations of the board, on the guest's copy of the railway.
    void mirror() {
        const net::BoardView& b = board();
        plan_.curPlayer = static_cast<Integer>(me());
        for (std::size_t p = 0; p < 2; ++p) {
            plan_.playerRosen[static_cast<int>(p)] = static_cast<Integer>(b.at[p].line);
            plan_.playerEki[static_cast<int>(p)] = static_cast<Integer>(b.at[p].pos);
        }
        for (int d = 1; d <= kDestinationCount; ++d) {
            const std::size_t i = static_cast<std::size_t>(d - 1);
            plan_.mokutekitiRosen[d] = static_cast<Integer>(b.destinations[i].line);
            plan_.mokutekitiEki[d] = static_cast<Integer>(b.destinations[i].pos);
            plan_.mokutekitiDone[d] = b.done[i] ? True : False;
        }
    }

    void onBoard() {
        const net::BoardView& b = board();
        if (b.ended || b.curPlayer != me()) {
            inTurn_ = false;
            return;
        }
        if (b.busy || b.seq <= actedOn_) return;
        actedOn_ = b.seq;
        if (!inTurn_) return begin();
        switch (stage_) {
            case Stage::AfterChange:
                return afterChange();
            case Stage::AfterKind:
                return roll();
            case Stage::AfterRoll:
                return afterRoll();
            default:
                // The station click did not end the turn: the computer works instead.
                return work();
        }
    }

    void begin() {
        inTurn_ = true;
        last = {};
        mirror();
        道のり(plan_);
        // つよい takes its own way, as at the host's computer.
        route_ = strength_ == Strength::Strong ? strongRoute(plan_, money()) : plan_.routeList;
        count_ = strength_ == Strength::Strong ? static_cast<int>(route_.size()) : plan_.routeCount;
        if (count_ < 1 || static_cast<int>(route_.size()) < count_) {
            pause();
            return work();
        }
        if (count_ == 1) return claim();
        pause();
        changeOrChoose();
    }

    const RoutePoint& point(int i) const { return route_[static_cast<std::size_t>(i - 1)]; }

    void changeOrChoose() {
        const RoutePoint& lastPoint = point(count_);
        const RoutePoint& next = point(count_ - 1);
        const Station at = here();
        if (lastPoint.pos == at.pos && next.line != lastPoint.line) {
            changedTo_ = {next.line, next.pos};
            send(Command::changeLine(me(), at, changedTo_), Stage::AfterChange);
            return;
        }
        chooseKind();
    }

    void afterChange() {
        if (here() != changedTo_) return work();
        last.transfers.push_back(changedTo_);
        if (--count_ == 1) return claim();
        changeOrChoose();
    }

    void chooseKind() {
        const RoutePoint& next = point(count_ - 1);
        const Station at = here();
        if (next.line != at.line) return work();
        const int d = std::abs(next.pos - at.pos);
        last.distance = d;
        const int selected = firstSetKind(board().controls);
        int kind = 0;
        switch (strength_) {
            case Strength::Weak:
                kind = weakKind(plan_, selected, d, money());
                break;
            case Strength::Strong:
                kind = strongKind(plan_, selected, d, money());
                break;
            default:
                kind = computerKind(plan_, selected, d, money());
        }
        if (kind == 0) return work();
        if (kind <= 3) return send(Command::chooseKind(me(), kind), Stage::AfterKind);
        roll();
    }

    void roll() {
        pause();
        send(Command::roll(me()), Stage::AfterRoll);
    }

    void afterRoll() {
        const net::BoardView& b = board();
        if (b.steps <= 0 || b.phase != TurnPhase::Rolled) return work();
        const Station at = here();
        const RoutePoint& next = point(count_ - 1);
        const int d = last.distance;
        last.kind = firstSetKind(b.controls);
        last.steps = b.steps;
        const int factor = stepFactor(last.kind);
        last.die = factor ? last.steps / factor : last.steps;
        last.target =
            d > last.steps ? (next.pos > at.pos ? at.pos + last.steps : at.pos - last.steps) : next.pos;
        if (strength_ == Strength::Strong) last.target = meetingTarget(at.pos, last.target);
        pause();
        last.action = ComputerTurn::Action::Move;
        send(Command::ride(me(), {at.line, last.target}), Stage::Sent);
    }

    // つよい stops on the other player's station when it lies on the way, a few stations
    // short of where it could go.
    int meetingTarget(int e, int target) const {
        const Station other = board().at[static_cast<std::size_t>(1 - me())];
        if (other.line != here().line) return target;
        const int at = other.pos;
        const bool between = (at > e && at <= target) || (at < e && at >= target);
        if (!between || at == e || std::abs(target - at) > kStrongMeetingDetour) return target;
        return at;
    }

    void claim() {
        pause();
        last.action = ComputerTurn::Action::Claim;
        last.target = here().pos;
        send(Command::ride(me(), here()), Stage::Sent);
    }

    void work() {
        last.action = ComputerTurn::Action::Work;
        send(Command::work(me()), Stage::Sent);
    }

    // The computer's second between its actions.
    void pause() { seconds_ += 1.0; }

    void send(const Command& c, Stage next, int lane = 0) {
        stage_ = next;
        put(c, lane);
    }
    void put(const Command& c, int lane = 0) {
        ++sent;
        guest_.send(c, lane);
    }

    void answer(const net::Ask& a) {
        const int p = me();
        // The destinations as the board shows them now; the route stays the one planned
        // when the turn began, as the computer's own does.
        mirror();
        if (a.question == "warp") {
            const long limit = strength_ == Strength::Strong ? kStrongWarpRoute : 40;
            const bool open =
                a.region >= 1 && a.region <= kDestinationCount && !plan_.mokutekitiDone[a.region];
            put(Command::answerWarp(p, strength_ != Strength::Weak && routeLength(plan_) > limit && open));
        } else if (a.question == "god") {
            put(Command::answerGod(p, godPick()));
        } else {
            std::array<int, kLanes> odds{};
            for (int i = 0; i < kLanes; ++i)
                odds[static_cast<std::size_t>(i)] = a.odds[static_cast<std::size_t>(i)];
            const Race race(odds);
            BetChoice c;
            if (strength_ == Strength::Weak) c = weakBet(race, money());
            if (strength_ == Strength::Strong) c = strongBet(race, money());
            if (c.bet)
                put(Command::placeBet(p, c.stake), c.lane);
            else
                put(Command::declineBet(p));
        }
    }

    // As the computer's own seat picks (ふつう on its own generator, seeded from the game).
    std::string godPick() { return picker_.godPick(plan_); }

    NetGuest& guest_;
    GameState& plan_;
    Strength strength_;
    double& seconds_;
    ComputerSeat picker_{strength_};
    bool inTurn_ = false;
    long actedOn_ = 0;
    Stage stage_ = Stage::Idle;
    int count_ = 0;
    std::vector<RoutePoint> route_;  // the way this turn follows
    Station changedTo_;
};

LocalRemote::LocalRemote(const GameState& railway, SideKind kind, bool shortMode)
    : railway_(std::make_unique<GameState>(railway)), kind_(kind), shortMode_(shortMode) {
    railway_->shortMode = shortMode_ ? True : False;
}

LocalRemote::~LocalRemote() {
    leave();
}

void LocalRemote::showThrough(SimScreens& inner) {
    leave();
    inner_ = &inner;
    net_ = std::make_unique<NetScreens>(inner);
}

Screens& LocalRemote::presenter() {
    if (!net_) throw GameError("表示先がありません");
    return *net_;
}

Seat& LocalRemote::join(Game& g) {
    if (!inner_) throw GameError("表示先がありません");
    host_ = std::make_unique<NetHost>(g, kCode);
    if (!host_->listen(0)) throw GameError(host_->error().toStdString());
    net_->setHost(host_.get());
    guest_ = std::make_unique<NetGuest>();
    // The guest's pauses pass on the one clock of the simulated computers: the time the
    // host's windows count.
    player_ = std::make_unique<GuestComputer>(*guest_, *railway_, kind_, inner_->seconds);
    guest_->join(QStringLiteral("127.0.0.1"), host_->port(), kCode);
    QElapsedTimer t;
    t.start();
    while (!(host_->joined() && guest_->joined()) && t.elapsed() < kJoinWithinMs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    if (!host_->joined() || !guest_->joined())
        throw GameError("ゲストがホストに参加できません（127.0.0.1:" + std::to_string(host_->port()) + "）");
    seat_ = std::make_unique<RemoteSeat>(*host_, kAnswerWithinMs, kind_ != SideKind::Normal);
    return *seat_;
}

bool LocalRemote::playTurn(Game& g) {
    // The simulator's own event loop: the guest's commands arrive and are carried out as
    // they come; a turn that does not pass within the bound is given up.
    QElapsedTimer t;
    t.start();
    const int p = g.s.curPlayer;
    while (!g.ended && g.s.curPlayer == p && host_ && host_->joined() && t.elapsed() < kTurnWithinMs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return g.ended || g.s.curPlayer != p;
}

ComputerTurn LocalRemote::last() const {
    return player_ ? player_->last : ComputerTurn{};
}

void LocalRemote::leave() {
    if (player_) commands_ += player_->sent;
    if (host_)
        for (const std::string& line : host_->log())
            if (line.rfind("相手の操作を取り消しました", 0) == 0 ||
                line.rfind("相手の答えがありません", 0) == 0)
                ++refusals_;
    if (guest_) guest_->leave();
    if (net_) net_->setHost(nullptr);
    seat_.reset();
    player_.reset();
    guest_.reset();
    host_.reset();
}

}  // namespace kisharin::sim

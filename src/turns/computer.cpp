#include "turns/computer.h"

#include <algorithm>
#include <cstdlib>

#include "board/line_display.h"
#include "scene/ride.h"
#include "state/hash.h"
#include "state/station_draw.h"
#include "turns/command.h"
#include "turns/events.h"
#include "turns/race.h"
#include "turns/strong_route.h"
#include "turns/turn.h"

namespace kisharin {

int computerKind(const GameState& s, int selected, int d, Long money) {
    if (d < 1) return 0;
    const auto fare = [&](int kind) { return static_cast<long long>(s.kindFare[kind]); };
    const long long m = money;
    if (selected == 4) return m < fare(4) * d && m < fare(4) * 6 ? 0 : 4;
    if (selected == 5) return m < kPlaneMoneyFloor ? 0 : 5;
    if (d <= 5) return m < fare(1) * d ? 0 : 1;
    if (d <= 11) return m < fare(2) * d ? 0 : 2;
    return m < fare(3) * d && m < fare(3) * 18 ? 0 : 3;
}

int weakKind(const GameState& s, int selected, int d, Long money) {
    if (d < 1) return 0;
    if (selected == 4 || selected == 5) return computerKind(s, selected, d, money);
    // With the ride window a beginner hurries: the fastest train whose fare for the
    // stations it might go is there (the ride window pays for the time a ride takes,
    // so the hurry costs it points).
    if (!s.shortMode) {
        for (int kind = 3; kind >= 1; --kind)
            if (static_cast<long long>(money) >=
                static_cast<long long>(s.kindFare[kind]) * std::min(d, 6 * kind))
                return kind;
        return 0;
    }
    // A beginner takes the slow train, and rides whenever the fare of the stations it
    // might go is there.
    const long long most = std::min(d, 6);
    return static_cast<long long>(money) < static_cast<long long>(s.kindFare[1]) * most ? 0 : 1;
}

double expectedProgress(int kind, int d) {
    const int factor = kind >= 1 && kind <= 3 ? kind : 1;
    int sum = 0;
    for (int face = 1; face <= 6; ++face) sum += std::min(face * factor, d);
    return sum / 6.0;
}

int ridePointsFor(int stations, int kind) {
    if (stations < 1) return 0;
    // The ride window's own motion over a strip of stations + 1 boards, and its score
    // timer: 10 points for every whole second the window is open (the stand included).
    RideLayout layout;
    layout.ekiCount = stations + 1;
    layout.stripLeft = ride::kClientWidth / 2 - ride::kBoardWidth / 2;
    layout.stripWidth = ride::kBoardStep * layout.ekiCount;
    layout.stopMargin = ride::kStripDesignWidth / 2 + ride::kBoardWidth / 2 + ride::kBoardGap;
    layout.maxSpeed = layout.ekiCount > 15 ? 53 : 25;
    RideMotion motion(layout);
    while (!motion.arrived()) motion.tick();
    const long long ms = static_cast<long long>(motion.ticks()) * rideTickMs(kind) + ride::kHoldMs;
    return static_cast<int>(ms / ride::kScoreMs * ride::kScorePerTick);
}

namespace {

// ridePointsFor, remembered: a plan weighs the same few rides at every turn.
int ridePoints(int stations, int kind) {
    constexpr int kKept = 64;
    static const auto kept = [] {
        std::array<std::array<int, kKept>, 6> t{};
        for (int k = 1; k <= 5; ++k)
            for (int n = 0; n < kKept; ++n) t[size_t(k)][size_t(n)] = ridePointsFor(n, k);
        return t;
    }();
    if (kind < 1 || kind > 5 || stations < 0) return 0;
    return stations < kKept ? kept[size_t(kind)][size_t(stations)] : ridePointsFor(stations, kind);
}

}  // namespace

double expectedTurnValue(const GameState& s, int kind, int d) {
    const int factor = kind >= 1 && kind <= 3 ? kind : 1;
    double sum = 0;
    for (int face = 1; face <= 6; ++face) {
        const int gone = std::min(face * factor, d);
        sum += gone * (s.shortMode ? 1.0 : kStrongStationPoints);
        if (!s.shortMode) sum += ridePoints(gone, kind);
    }
    return sum / 6.0;
}

int strongKind(const GameState& s, int selected, int d, Long money) {
    if (d < 1) return 0;
    if (selected == 4 || selected == 5) return computerKind(s, selected, d, money);
    // The kind of the most expected this turn among those whose longest ride can be paid
    // in full (no debt, which costs 50 points), keeping a reserve for the next turn
    // unless it is the slow train; of equals the cheaper one. In short mode that is the
    // way gone towards the route's next point; with the ride window, the points its
    // ride pays as well, each station of the way counted as kStrongStationPoints.
    const long long m = money;
    int best = 0;
    double bestValue = 0;
    for (int kind = 1; kind <= 3; ++kind) {
        const long long fare = s.kindFare[kind];
        const long long longest = std::min(d, 6 * kind);
        const long long reserve = kind == 1 ? 0 : kStrongReserve;
        if (m < fare * longest + reserve) continue;
        const double value = expectedTurnValue(s, kind, d);
        if (value > bestValue + 1e-9) {
            best = kind;
            bestValue = value;
        }
    }
    return best != 0 ? best : computerKind(s, selected, d, money);
}

std::string strongGodPick(const GameState& s) {
    // Nearer than this the way is shorter than what a station drawn in a prefecture
    // leaves: stay.
    if (routeLength(s) <= kStrongGodRoute) return {};
    // The open destination whose prefecture has the fewest stations: a station drawn
    // there lies nearest to it.
    std::string best;
    int fewest = 0;
    for (int d = 1; d <= kDestinationCount; ++d) {
        if (s.mokutekitiDone[d]) continue;
        const std::string& pref = s.ekiPref(s.mokutekitiRosen[d], s.mokutekitiEki[d]);
        const int n = countStationsIn(s, {pref});
        if (n > 0 && (best.empty() || n < fewest)) {
            best = pref;
            fewest = n;
        }
    }
    return best;
}

// The computer's turn, played a step at a time.
class ComputerTurnSteps {
  public:
    ComputerTurnSteps(Game& g, bool pauses, Strength strength)
        : g_(g), s_(g.s), pauses_(pauses), strength_(strength), p_(g.s.curPlayer), turn_(g.turnNumber) {}

    // Whether this turn is still the game's: a load or the game's end between two steps
    // leaves it behind.
    bool current() const { return !g_.ended && g_.turnNumber == turn_ && s_.curPlayer == p_; }

    // One step of the turn. Every action waits out the computer's pause before it, so a
    // step ends where the pause comes: the turn goes on after it, or is over.
    TurnStep step() {
        switch (stage_) {
            case Stage::Plan:
                return plan();
            case Stage::Change:
                return changeAndChoose();
            case Stage::Roll:
                return roll();
            case Stage::Ride:
                click(t_.target);
                return over();
            case Stage::Claim:
                t_.action = ComputerTurn::Action::Claim;
                t_.target = s_.playerEki[p_];
                click(t_.target);
                return over();
            case Stage::Work:
            case Stage::Over:
                break;
        }
        if (stage_ == Stage::Work) work();
        return over();
    }

    const ComputerTurn& result() const { return t_; }

  private:
    enum class Stage { Plan, Change, Roll, Ride, Claim, Work, Over };

    TurnStep plan() {
        // つよい takes its own way (turns/strong_route.h).
        if (strength_ == Strength::Strong) {
            own_ = strongRoute(s_, s_.playerMoney[p_]);
            route_ = &own_;
        }
        count_ = route_ == &own_ ? static_cast<int>(own_.size()) : s_.routeCount;
        // No open destination can be reached from here: earn money; an event or the
        // other player's arrivals may change that.
        if (count_ < 1 || static_cast<int>(route_->size()) < count_) return pauseThen(Stage::Work);
        if (count_ == 1) return pauseThen(Stage::Claim);
        return pauseThen(Stage::Change);
    }

    TurnStep changeAndChoose() {
        // Change lines as long as the route changes lines at the player's station: a
        // walk between two stations of one place is a second change at the same spot.
        while (true) {
            const RoutePoint& last = point(count_);
            const RoutePoint& next = point(count_ - 1);
            if (last.pos != s_.playerEki[p_] || next.line == last.line) break;
            const Station here{s_.playerRosen[p_], s_.playerEki[p_]};
            if (!apply(g_, Command::changeLine(p_, here, {next.line, next.pos}))) return workNow();
            if (s_.playerRosen[p_] != next.line || s_.playerEki[p_] != next.pos) return workNow();
            t_.transfers.push_back({next.line, next.pos});
            // The new line is on the board while the computer pauses.
            g_.screens.refreshBoard(s_);
            --count_;
            if (count_ == 1) return pauseThen(Stage::Claim);
        }

        const RoutePoint& next = point(count_ - 1);
        const int e = s_.playerEki[p_];
        if (next.line != s_.playerRosen[p_]) return workNow();
        const int d = std::abs(next.pos - e);
        t_.distance = d;
        const int kind = chooseKind(d);
        if (kind == 0) return workNow();
        if (kind <= 3) apply(g_, Command::chooseKind(p_, kind));
        g_.screens.refreshBoard(s_);  // the kind chosen is on the board during the pause
        return pauseThen(Stage::Roll);
    }

    TurnStep roll() {
        const RoutePoint& next = point(count_ - 1);
        const int e = s_.playerEki[p_];
        const int d = t_.distance;
        // Refused only before the roll (not even one station's fare): then it works.
        if (!apply(g_, Command::roll(p_))) return workNow();
        t_.kind = s_.selKind;
        t_.steps = s_.susumuSteps;
        const int factor = stepFactor(t_.kind);
        t_.die = factor ? t_.steps / factor : t_.steps;
        t_.target = d > t_.steps ? (next.pos > e ? e + t_.steps : e - t_.steps) : next.pos;
        if (strength_ == Strength::Strong) t_.target = meetingTarget(e, t_.target);

        スクロール位置決め(s_, g_.line, t_.target);
        if (t_.target >= 1 && t_.target <= g_.line.stationCount())
            g_.line.station(t_.target).fill = kColorReachable;
        g_.screens.refreshBoard(s_);
        t_.action = ComputerTurn::Action::Move;
        return pauseThen(Stage::Ride);
    }

    TurnStep pauseThen(Stage next) {
        stage_ = next;
        return {.more = true, .pause = pauses_ ? kComputerPause : 0.0};
    }

    TurnStep workNow() {
        work();
        return over();
    }

    TurnStep over() {
        stage_ = Stage::Over;
        return {};
    }

  private:
    int chooseKind(int d) const {
        const Long money = s_.playerMoney[p_];
        switch (strength_) {
            case Strength::Weak:
                return weakKind(s_, s_.selKind, d, money);
            case Strength::Strong:
                return strongKind(s_, s_.selKind, d, money);
            default:
                return computerKind(s_, s_.selKind, d, money);
        }
    }

    // The other player standing on this line between here and the target: ending on
    // their station takes 50 points from them for this player (a swing of 100), worth a
    // few stations of the way.
    int meetingTarget(int e, int target) const {
        const int o = 1 - p_;
        if (s_.playerRosen[o] != s_.playerRosen[p_]) return target;
        const int at = s_.playerEki[o];
        const bool between = (at > e && at <= target) || (at < e && at >= target);
        if (!between || at == e || std::abs(target - at) > kStrongMeetingDetour) return target;
        return at;
    }

    // Route point i, counted from 1 at the destination.
    const RoutePoint& point(int i) const { return (*route_)[static_cast<size_t>(i - 1)]; }

    void work() {
        t_.action = ComputerTurn::Action::Work;
        apply(g_, Command::work(p_));
    }

    // A claim refused before the roll: the computer works instead. After the roll the
    // turn is a ride (as for a player at the board): a refused station gives way to the
    // one in reach nearest to it.
    void click(int station) {
        const int line = s_.playerRosen[p_];
        if (apply(g_, Command::ride(p_, {line, station}))) return;
        if (s_.turnPhase == TurnPhase::Choosing) {
            work();
            return;
        }
        const int e = s_.playerEki[p_];
        const int n = stationCount(s_, line);
        const int want =
            std::clamp(station, std::max(1, e - s_.susumuSteps), std::min(n, e + s_.susumuSteps));
        for (int k = 0; k <= 2 * s_.susumuSteps; ++k) {
            const int at = want + (k % 2 == 0 ? k / 2 : -(k / 2 + 1));
            if (at != e && at >= 1 && at <= n && apply(g_, Command::ride(p_, {line, at}))) return;
        }
    }

    Game& g_;
    GameState& s_;
    const bool pauses_;
    const Strength strength_;
    const int p_;
    const int turn_;
    Stage stage_ = Stage::Plan;
    int count_ = 0;  // route points left, counted from 1 at the destination
    ComputerTurn t_;
    std::vector<RoutePoint> own_;
    const std::vector<RoutePoint>* route_ = &s_.routeList;
};

ComputerTurn playComputerRules(Game& g, bool pauses, Strength strength) {
    ComputerTurnSteps turn(g, pauses, strength);
    for (TurnStep step = turn.step(); step.more; step = turn.step())
        if (step.pause > 0) g.screens.pause(step.pause);
    return turn.result();
}

ComputerTurn コンピュータ(Game& g) {
    return playComputerRules(g, true);
}

ComputerSeat::ComputerSeat(Strength st) : strength(st) {}
ComputerSeat::~ComputerSeat() = default;

void ComputerSeat::playTurn(Game& g) {
    turn_.reset();
    last = playComputerRules(g, true, strength);
}

TurnStep ComputerSeat::playTurnStep(Game& g) {
    // A turn left behind by a load or the game's end is dropped, never played on.
    if (turn_ && !turn_->current()) turn_.reset();
    if (!turn_) turn_ = std::make_unique<ComputerTurnSteps>(g, true, strength);
    const TurnStep step = turn_->step();
    if (!step.more) {
        last = turn_->result();
        turn_.reset();
    }
    return step;
}

void ComputerSeat::answerWarp(Game& g, int region, const std::string&, const std::string&) {
    const GameState& s = g.s;
    const long limit = strength == Strength::Strong ? kStrongWarpRoute : 40;
    const bool jump = strength != Strength::Weak && routeLength(s) > limit && !s.mokutekitiDone[region];
    apply(g, Command::answerWarp(s.curPlayer, jump));
}

void ComputerSeat::answerGod(Game& g) {
    apply(g, Command::answerGod(g.s.curPlayer, godPick(g.s)));
}

std::string ComputerSeat::godPick(const GameState& s) {
    std::string pref;
    if (strength == Strength::Strong) {
        pref = strongGodPick(s);
    } else if (strength == Strength::Normal) {
        // Its own generator starts from the game's own draw, its destinations (so a record
        // of the game replays it too).
        const double seed = gameSeed(s);
        if (seed != ownSeed_) {
            own.reseed(seed);
            ownSeed_ = seed;
        }
        pref = normalGodPick(s, own);
    }
    return pref;
}

double gameSeed(const GameState& s) {
    // The destinations' stations, folded into the generator's seed range.
    Fnv1a h;
    for (int d = 1; d <= kDestinationCount; ++d) {
        h.add(static_cast<std::uint64_t>(s.mokutekitiRosen[d]));
        h.add(static_cast<std::uint64_t>(s.mokutekitiEki[d]));
    }
    return static_cast<double>(h.value() % 86400000ULL) / 1000.0;
}

std::string normalGodPick(const GameState& s, Rng& own) {
    if (routeLength(s) <= 25) return {};
    bool anyOpen = false;
    for (int d = 1; d <= kDestinationCount; ++d) anyOpen = anyOpen || !s.mokutekitiDone[d];
    if (!anyOpen) return {};
    int d;
    do d = own.pick(kDestinationCount);
    while (s.mokutekitiDone[d]);
    return s.ekiPref(s.mokutekitiRosen[d], s.mokutekitiEki[d]);
}

BetChoice weakBet(const Race& race, Long money) {
    const std::vector<Long> stakes = offeredStakes(money);
    if (stakes.empty()) return {};
    // The long shot: the highest odds pay the most, and the least stake risks little.
    int lane = 0;
    for (int i = 1; i < kLanes; ++i)
        if (race.odds(i) > race.odds(lane)) lane = i;
    return {true, lane, stakes.front()};
}

std::array<double, kLanes> winChances(const Race& race, int races) {
    std::array<int, kLanes> odds{};
    for (int i = 0; i < kLanes; ++i) odds[static_cast<size_t>(i)] = race.odds(i);
    // Its own generator, seeded by the odds it sees: the game's draws stay untouched and
    // unseen, and the same race is always judged the same way.
    double seed = 1;
    for (int o : odds) seed = seed * 11 + o;
    DefaultRng mine(seed);
    std::array<double, kLanes> wins{};
    for (int n = 0; n < races; ++n) {
        Race trial(odds);
        trial.start(kLeastStake);
        while (!trial.decided()) trial.tick(mine, 0);
        wins[static_cast<size_t>(trial.winner())] += 1;
    }
    for (double& w : wins) w /= races;
    return wins;
}

BetChoice strongBet(const Race& race, Long money) {
    // A bet costs the stake in money, which only buys rides, and pays points: the lane
    // of the best points expected per bet (a loss costs 50 points), with the largest stake
    // that leaves kStrongBetReserve for the rides; no bet when even that loses points.
    const std::array<double, kLanes> chance = winChances(race, kStrongBetTrials);
    const std::vector<Long> stakes = offeredStakes(money);
    BetChoice best;
    double bestGain = 0;
    for (Long stake : stakes) {
        if (stake != stakes.front() && money - stake < kStrongBetReserve) continue;
        for (int lane = 0; lane < kLanes; ++lane) {
            const double p = chance[static_cast<size_t>(lane)];
            const double gain = p * static_cast<double>(stake / 100 * race.factor(lane)) - (1 - p) * 50;
            if (gain > bestGain) {
                bestGain = gain;
                best = {true, lane, stake};
            }
        }
    }
    return best;
}

void ComputerSeat::runBet(Game& g, Race& race) {
    const int p = g.s.curPlayer;
    BetChoice choice;
    if (strength == Strength::Weak) choice = weakBet(race, g.s.playerMoney[p]);
    if (strength == Strength::Strong) choice = strongBet(race, g.s.playerMoney[p]);
    if (!choice.bet || !apply(g, Command::placeBet(p, choice.stake))) {
        apply(g, Command::declineBet(p));
        return;
    }
    // The lane stays chosen until the finish.
    apply(g, Command::chooseLane(p, choice.lane));
    while (!race.decided()) raceTick(g);
}

}  // namespace kisharin

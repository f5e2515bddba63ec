// The computer player: it follows the route to the nearest open destination, changes
// lines where the route does, picks the train kind by the distance to the route's next
// point, works when it cannot pay, and otherwise rolls and clicks the station it wants
// through the same handlers as a human's clicks, pausing a second between its actions so
// that the human can follow.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "setup/strength_file.h"
#include "state/types.h"
#include "turns/game.h"
#include "turns/race.h"

namespace kisharin {

// What one turn played by the computer's rules did.
struct ComputerTurn {
    enum class Action { Move, Work, Claim } action = Action::Move;
    std::vector<Station> transfers;  // stations changed to, in order
    int distance = 0;                // stations to the route's next point (0: none)
    int kind = 0;                    // the kind ridden (0 when it did not roll)
    int die = 0;                     // face thrown (0 when no die was thrown)
    int steps = 0;                   // stations allowed
    int target = 0;                  // station clicked on the line
};

// The money a turn needs before the computer rides rather than works.
inline constexpr Long kPlaneMoneyFloor = 40000;

// The kind to ride for d stations to the next point with the kind selected now and the
// given money, or 0 when the computer works instead. 新幹線 and 飛行機 (forced by the line)
// stay; on ordinary lines 各停 up to 5 stations, 急行 up to 11, 特急 from 12.
int computerKind(const GameState& s, int selected, int d, Long money);

// The computer's strengths (setup/strength_file.h): よわい, a beginner (the slow train,
// or the fastest with the ride window; never the warp hole or the god, a small bet on
// the long shot), ふつう, the computer opponent as it always played, and つよい, which
// plans: its own way to a destination (turns/strong_route.h) and the functions below.

// The beginner's kind: in short mode 各停 whenever the fare of the stations it may go is
// there; with the ride window, in a hurry, the fastest whose fare for them is there.
int weakKind(const GameState& s, int selected, int d, Long money);

// The planner's kind: the one that goes furthest on average towards the next point
// whose longest ride can be paid (with kStrongReserve left for a faster kind).
int strongKind(const GameState& s, int selected, int d, Long money);
inline constexpr Long kStrongReserve = 3000;
// The planner stops on the other player's station when it lies on the way, at most this
// many stations short of where it could go.
inline constexpr int kStrongMeetingDetour = 4;
// The planner jumps through a warp hole into an open destination's region when the
// route is longer than this, and asks the god when it is longer than kStrongGodRoute.
inline constexpr long kStrongWarpRoute = 30;
inline constexpr long kStrongGodRoute = 15;
// Mean stations gone towards a point d stations away with kind 1..3 (a fair die).
double expectedProgress(int kind, int d);
// The points the ride window pays for a ride of `stations` with train kind 1..5: its
// motion model tick by tick, and 10 points a whole second with the stand at the end.
int ridePointsFor(int stations, int kind);
// What a turn of kind 1..3 towards a point d away is worth to the planner on average:
// the stations gone (in short mode), or their points at kStrongStationPoints each plus
// what the ride pays (with the ride window).
double expectedTurnValue(const GameState& s, int kind, int d);
inline constexpr double kStrongStationPoints = 3.0;
// The god's prefecture the planner asks for ("" to stay).
std::string strongGodPick(const GameState& s);
// The god's prefecture ふつう asks for: when the route is longer than 25, the prefecture
// of an open destination drawn at random on the computer's own generator `own` (drawing
// destination numbers 1..8 until one is open); else "" (stay).
std::string normalGodPick(const GameState& s, Rng& own);
// A seed of the game as it was drawn: the stations of its destinations (the same at
// every computer and in every replay of the game; an earthquake's new ones change it).
double gameSeed(const GameState& s);

// A bet the computer places in the betting window (bet false: "勝負しない").
struct BetChoice {
    bool bet = false;
    int lane = 0;  // 0..4
    Long stake = 0;
};
// The beginner bets the least stake on the long shot (the highest odds).
BetChoice weakBet(const Race& race, Long money);
// The planner's bet: the lane and stake of the most points expected, or none.
BetChoice strongBet(const Race& race, Long money);
inline constexpr Long kStrongBetReserve = 30000;
inline constexpr int kStrongBetTrials = 150;
// Each lane's chance of winning a race with these odds, from `races` trial races run on
// a generator of the caller's own (the game's draws are neither used nor seen).
std::array<double, kLanes> winChances(const Race& race, int races);

class ComputerTurnSteps;

// One turn for curPlayer by the computer's rules, through commands. With `pauses` the
// one-second pause 間 runs before each action, as the computer opponent does; the
// simulator's scripted human plays the same rules without it.
ComputerTurn playComputerRules(Game& g, bool pauses, Strength strength = Strength::Normal);

// コンピュータ: the computer opponent's turn (with its pauses). Returns what it did.
ComputerTurn コンピュータ(Game& g);

// The computer opponent's seat at one of its strengths. At ふつう it plays its own turns
// (コンピュータ), jumps through a warp hole when the nearest open destination is more
// than 40 stations and changes away and the hole leads to an open destination's region,
// asks the guardian god for the prefecture of an open destination drawn at random when
// the route is longer than 25, and never bets.
class ComputerSeat : public Seat {
  public:
    explicit ComputerSeat(Strength st = Strength::Normal);
    ~ComputerSeat() override;
    bool playsItself() const override { return true; }
    void playTurn(Game& g) override;
    // A step of its turn: each action comes after the one-second pause 間 (the board's
    // timer waits it out between two steps).
    TurnStep playTurnStep(Game& g) override;
    // The computer opponent as it always played never bets; the other strengths do.
    bool betsOnRaces() const override { return strength != Strength::Normal; }
    void answerWarp(Game& g, int region, const std::string& title, const std::string& question) override;
    void answerGod(Game& g) override;
    void runBet(Game& g, Race& race) override;
    // The prefecture it asks the god for in the game as s shows it ("" to stay).
    std::string godPick(const GameState& s);

    Strength strength;
    ComputerTurn last;  // what its last turn did
    // The computer's own generator, for the god's draw: the game's generator stays the
    // rules' alone, so the computer draws as it would at another computer. Seeded from
    // gameSeed whenever that changes.
    DefaultRng own{1.0};

  private:
    double ownSeed_ = -1;
    std::unique_ptr<ComputerTurnSteps> turn_;  // the turn under way between two steps
};

}  // namespace kisharin

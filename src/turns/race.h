// The race of the betting window "勝負！！": five racers run from the start line on the
// right to the goal on the left. The odds of each lane are drawn when the window opens;
// a tick moves every racer by a step and now and then a burst; the first racer past the
// goal wins, and the lane option selected at that moment decides whether the bet won.
// The window only draws this model, so tests and the simulator run whole races without it.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "state/rng.h"
#include "state/types.h"

namespace kisharin {

inline constexpr const char* kBetCaption = "勝負！！";
inline constexpr int kLanes = 5;
inline constexpr std::array<Long, 6> kStakes = {1000, 5000, 10000, 30000, 50000, 100000};
inline constexpr Long kLeastStake = 1000;

// The track, in its own pixels.
inline constexpr int kTrackWidth = 745;
inline constexpr int kTrackHeight = 305;
inline constexpr int kRacerWidth = 44;
inline constexpr int kRacerHeight = 33;
inline constexpr int kRacerStartLeft = 656;
inline constexpr std::array<int, kLanes> kLaneTops = {40, 88, 136, 184, 232};
inline constexpr int kStartLineLeft = 640;
inline constexpr int kGoalLeft = 56;
inline constexpr int kGoalWidth = 9;
inline constexpr int kRaceTickMs = 30;
inline constexpr int kRaceCloseMs = 3000;

// Track colour and racer picture (1 horse, 2 boat, 3 bicycle) of a race kind.
struct RaceLook {
    Long track = 0;
    int racer = 0;
};
// For "競馬", "競艇" and "競輪"; any other name looks like horse racing.
RaceLook raceLook(const std::string& raceName);
bool isRaceCourse(const std::string& mark);

// The lane factor that pays for odds of 1..10: (odds + 1) / 2, so 1..5.
int oddsFactor(int odds);

// "オッズ：" & odds in full-width digits & "倍".
std::string oddsText(int odds);

// An amount with thousands separators: 100000 as "100,000".
std::string grouped(Long v);

// A stake as the stake list shows it: two spaces, the amount with thousands separators
// and "円", cut to its last 8 characters so that the entries line up on the right.
std::string stakeEntry(Long stake);

// The stakes the player can pay, in list order.
std::vector<Long> offeredStakes(Long money);

// "１着　" & lane (1..5) in full-width digits & "コース".
std::string winnerText(int lane);

// What a race ended with, as the betting window hands it back.
struct RaceOutcome {
    int lane = 0;    // the lane option (1..5) selected when the winner crossed; 0: no race
    int winner = 0;  // the winning lane 1..5; 0: no race
};

class Race {
  public:
    // Opening the window: the odds of lanes 0..4, each drawn from 1..10.
    explicit Race(Rng& rng);
    // A race with the odds already known (a player working out its chances).
    explicit Race(const std::array<int, kLanes>& odds);

    int odds(int lane) const { return odds_[static_cast<size_t>(lane)]; }
    int factor(int lane) const { return oddsFactor(odds(lane)); }
    int left(int lane) const { return left_[static_cast<size_t>(lane)]; }

    // "出走" with the chosen stake.
    void start(Long stake);
    bool started() const { return started_; }
    Long stake() const { return stake_; }

    // The lane option selected now (0..4): it counts from the next tick on.
    void choose(int lane);
    int selectedLane() const { return selected_; }
    // One 30 ms tick, lanes 0..4 in order, with the lane option selected now; it counts
    // when a racer crosses the goal in this tick.
    void tick(Rng& rng) { tick(rng, selected_); }
    // The same with `selectedLane` (0..4) chosen first.
    void tick(Rng& rng, int selectedLane);
    // How far each racer went in every tick so far: one character 0..9 or a (10) per
    // lane and tick, lanes 0..4 in order; what another computer needs to show the same
    // race.
    const std::string& moves() const { return moves_; }
    // One tick as recorded in `moves` (tick 1, 2, ...): the racers go as they went there.
    // False (and nothing moves) when the record has no such tick or a character that is
    // not a move.
    bool replayTick(const std::string& moves, int selectedLane);
    // How far one character of `moves` takes its racer: 0..10, or -1 for a character that
    // is not a move.
    static int moveStep(char c) { return c >= '0' && c <= '9' ? c - '0' : c == 'a' ? 10 : -1; }

    bool decided() const { return winner_ >= 0; }
    int winner() const { return winner_; }              // 0..4, -1 while running
    int laneAtFinish() const { return laneAtFinish_; }  // 0..4, -1 while running
    // Points won: stake / 100 x factor when the selected lane won, else 0.
    Long winPoints() const { return winPoints_; }
    int ticks() const { return ticks_; }

    // The burst of a lane with factor f: a one-in-8 chance of 1..(6 - f), else 0.
    static int burst(Rng& rng, int factor);

  private:
    void advance(int lane, int by, int selectedLane);
    std::array<int, kLanes> odds_{};
    std::string moves_;
    std::array<int, kLanes> left_{};
    bool started_ = false;
    Long stake_ = 0;
    int winner_ = -1;
    int laneAtFinish_ = -1;
    Long winPoints_ = 0;
    int ticks_ = 0;
    int selected_ = 0;
};

// A whole race without a window, from the start (with `stake`, unless the bet already
// started it) to the first racer past the goal: `laneAt(tick)` gives the lane option
// (0..4) selected during tick 1, 2, ...
RaceOutcome runRace(Race& race, Rng& rng, Long stake, const std::function<int(int)>& laneAt);

}  // namespace kisharin

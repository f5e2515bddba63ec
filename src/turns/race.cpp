#include "turns/race.h"

#include "state/game_state.h"
#include "turns/board_model.h"

namespace kisharin {

RaceLook raceLook(const std::string& raceName) {
    if (raceName == "競艇") return {rgb(12, 141, 245), 2};
    if (raceName == "競輪") return {rgb(192, 192, 192), 3};
    return {rgb(183, 128, 94), 1};
}

bool isRaceCourse(const std::string& mark) {
    return mark == "競馬" || mark == "競艇" || mark == "競輪";
}

int oddsFactor(int odds) {
    return (odds + 1) / 2;
}

std::string oddsText(int odds) {
    return "オッズ：" + fullWidthNumber(odds) + "倍";
}

std::string grouped(Long v) {
    std::string digits = std::to_string(v);
    std::string out;
    const size_t n = digits.size();
    for (size_t i = 0; i < n; ++i) {
        out += digits[i];
        const size_t rest = n - i - 1;
        if (rest > 0 && rest % 3 == 0 && digits[i] != '-') out += ',';
    }
    return out;
}

namespace {

// The last `count` characters of a UTF-8 text.
std::string lastChars(const std::string& text, size_t count) {
    size_t start = text.size();
    size_t seen = 0;
    while (start > 0 && seen < count) {
        --start;
        // A character starts at every byte that is not a continuation byte.
        if ((static_cast<unsigned char>(text[start]) & 0xC0) != 0x80) ++seen;
    }
    return text.substr(start);
}

}  // namespace

std::string stakeEntry(Long stake) {
    return lastChars("  " + grouped(stake) + "円", 8);
}

std::vector<Long> offeredStakes(Long money) {
    std::vector<Long> out;
    for (Long st : kStakes)
        if (st <= money) out.push_back(st);
    return out;
}

std::string winnerText(int lane) {
    return "１着　" + fullWidthNumber(lane) + "コース";
}

Race::Race(Rng& rng) {
    for (int i = 0; i < kLanes; ++i) {
        odds_[static_cast<size_t>(i)] = rng.pick(10);
        left_[static_cast<size_t>(i)] = kRacerStartLeft;
    }
}

Race::Race(const std::array<int, kLanes>& odds) : odds_(odds) {
    left_.fill(kRacerStartLeft);
}

void Race::start(Long stake) {
    started_ = true;
    stake_ = stake;
    winner_ = -1;
    laneAtFinish_ = -1;
    winPoints_ = 0;
}

int Race::burst(Rng& rng, int factor) {
    if (static_cast<int>(rng.next() * 8) != 0) return 0;
    return rng.pick(6 - factor);
}

void Race::advance(int i, int by, int selectedLane) {
    const size_t k = static_cast<size_t>(i);
    left_[k] -= by;
    moves_ += static_cast<char>(by < 10 ? '0' + by : 'a');
    if (!decided() && left_[k] < kGoalLeft + kGoalWidth) {
        winner_ = i;
        laneAtFinish_ = selectedLane;
        winPoints_ = selectedLane == i ? stake_ / 100 * factor(i) : 0;
    }
    if (left_[k] <= 0) left_[k] = 0;
}

void Race::choose(int lane) {
    if (lane >= 0 && lane < kLanes) selected_ = lane;
}

void Race::tick(Rng& rng, int selectedLane) {
    if (!started_) return;
    choose(selectedLane);
    ++ticks_;
    for (int i = 0; i < kLanes; ++i) {
        const int b = burst(rng, factor(i));
        const int step = rng.pick(5);
        advance(i, step + b, selectedLane);
    }
}

bool Race::replayTick(const std::string& moves, int selectedLane) {
    if (!started_) return false;
    const size_t from = static_cast<size_t>(ticks_) * kLanes;
    if (moves.size() < from + kLanes) return false;
    std::array<int, kLanes> by{};
    for (size_t i = 0; i < static_cast<size_t>(kLanes); ++i) {
        by[i] = moveStep(moves[from + i]);
        if (by[i] < 0) return false;
    }
    ++ticks_;
    for (int i = 0; i < kLanes; ++i) advance(i, by[static_cast<size_t>(i)], selectedLane);
    return true;
}

RaceOutcome runRace(Race& race, Rng& rng, Long stake, const std::function<int(int)>& laneAt) {
    if (!race.started()) race.start(stake);
    // Every racer moves at least one pixel a tick, so the goal is reached within the
    // width of the track.
    while (!race.decided()) race.tick(rng, laneAt(race.ticks() + 1));
    return {race.laneAtFinish() + 1, race.winner() + 1};
}

}  // namespace kisharin

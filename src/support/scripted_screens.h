// Screens with scripted answers and no waiting, for tests and the simulator: every
// message is recorded, the die shows scripted faces (or rolls the die model on the game's
// generator, as the dice window does), and the time the windows would have taken is
// added up. It is also a seat whose answers are scripted (a player at this board: its
// turns come as commands from the test).
#pragma once

#include <algorithm>
#include <array>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "scene/ride.h"
#include "scene/seiha.h"
#include "state/saturate.h"
#include "turns/command.h"
#include "turns/dice.h"
#include "turns/game.h"
#include "turns/race.h"
#include "turns/screens.h"
#include "turns/seat.h"

namespace kisharin::testing {

class ScriptedScreens : public Screens, public Seat {
  public:
    std::vector<std::string> messages;    // every message shown, in order
    std::deque<int> dice;                 // faces to throw; empty: drawn from the generator
    std::deque<bool> answers;             // for askYesNo; empty: no
    std::deque<std::string> prefectures;  // for pickPrefecture ("" closes it); empty: "東京都"
    // How the player bets in the betting window: the entry of the stake list (held to the
    // entries offered), the lane option 0..4, and lane changes during the race (from tick
    // `changeAt` on, `changeTo`). stop: "勝負しない".
    struct BetChoice {
        int stakeEntry = 0;
        int lane = 0;
        int changeAt = 0;  // 0: no change
        int changeTo = 0;
        bool stop = false;
    };
    std::deque<BetChoice> bets;                     // empty: "勝負しない"
    std::vector<std::array<int, kLanes>> raceOdds;  // the odds of every betting window opened
    std::vector<int> eventPictures;                 // showEventPicture calls, 0 = hidden
    std::vector<int> shakes;                        // the board's moves, in twips
    int rides = 0, rolls = 0, results = 0, refreshes = 0, processed = 0;
    std::vector<int> conquests;
    std::vector<int> disasters;
    std::vector<std::string> questions;  // askYesNo: title & "|" & question
    bool boardEnabled = true;
    double seconds = 0;  // time the windows would have taken
    // Called when the ride scene would be shown; returns further score ticks to pay.
    std::function<int(const GameState&)> onRide;
    // Rides as the ride window has them: its set-up draws the scenery (re-seeding the
    // generator from the clock, as the window does), the motion model runs tick by tick to
    // the platform, the stand follows, and the score timer pays its points for every
    // whole second the window was open (the voice's time left out).
    bool modelRides = false;
    long long ridePoints = 0;  // points the modelled rides paid
    // Called when the results are shown.
    std::function<void(const GameState&)> onResults;

    // The money the board showed (for the player to move) when each message opened.
    std::vector<Long> moneyShownAtMessage;
    Long moneyShown = 0;

    void showMessage(const GameState& s) override {
        messages.push_back(s.messageText);
        moneyShownAtMessage.push_back(moneyShown);
        seconds += 2.0;
    }
    int rollDice(const GameState& s, Rng& rng) override {
        ++rolls;
        seconds += 1.0;
        if (!dice.empty()) {
            const int face = dice.front();
            dice.pop_front();
            return face;
        }
        DieRoll die;
        const int face = die.rollThrough(rng, s.shortMode);
        seconds += die.ticks() * kDieTickMs / 1000.0;
        return face;
    }
    int showRide(const GameState& s, Rng& rng, Clock& clock) override {
        ++rides;
        int ticks = 0;
        if (modelRides) {
            // The rules hand the window one reading of the timer, for the sky and the scenery.
            const RideScene scene = rideSetUp(s, rng, clock);
            RideMotion motion(scene.layout);
            while (!motion.arrived() && motion.ticks() < 1000000) motion.tick();
            const long long ms = static_cast<long long>(motion.ticks()) * scene.layout.tickMs + ride::kHoldMs;
            ticks = static_cast<int>(ms / ride::kScoreMs);
            Long paid = s.playerPoint[s.curPlayer];
            addPoints(paid, static_cast<long long>(ticks) * ride::kScorePerTick);
            ridePoints += paid - s.playerPoint[s.curPlayer];
            seconds += static_cast<double>(ms) / 1000.0;
        }
        if (onRide) ticks += onRide(s);
        return ticks;
    }
    void showConquest(GameState& s, int line, Rng& rng, Clock& clock) override {
        conquests.push_back(line);
        // With the ride window's model, the celebration's set-up too: it re-seeds the
        // generator from the clock and draws the colour of its title, as the window does.
        if (modelRides) seihaSetUp(s, line, rng, clock);
    }
    // The seat's answers.
    void answerWarp(Game& g, int, const std::string& title, const std::string& question) override {
        questions.push_back(title + "|" + question);
        bool a = false;
        if (!answers.empty()) {
            a = answers.front();
            answers.pop_front();
        }
        apply(g, Command::answerWarp(g.s.curPlayer, a));
    }
    void answerGod(Game& g) override {
        std::string p = "東京都";
        if (!prefectures.empty()) {
            p = prefectures.front();
            prefectures.pop_front();
        }
        apply(g, Command::answerGod(g.s.curPlayer, p));
    }
    void runBet(Game& g, Race& race) override {
        const GameState& s = g.s;
        std::array<int, kLanes> odds{};
        for (int i = 0; i < kLanes; ++i) odds[static_cast<size_t>(i)] = race.odds(i);
        raceOdds.push_back(odds);
        const std::vector<Long> offered = offeredStakes(s.playerMoney[s.curPlayer]);
        if (bets.empty() || bets.front().stop || offered.empty()) {
            if (!bets.empty()) bets.pop_front();
            apply(g, Command::declineBet(s.curPlayer));
            return;
        }
        const BetChoice c = bets.front();
        bets.pop_front();
        const size_t entry = std::min(static_cast<size_t>(std::max(c.stakeEntry, 0)), offered.size() - 1);
        const int p = s.curPlayer;
        if (!apply(g, Command::placeBet(p, offered[entry]))) return;
        apply(g, Command::chooseLane(p, c.lane));
        // The lane changed during the race counts from the tick after it was chosen.
        while (!race.decided()) {
            if (c.changeAt > 0 && race.ticks() + 1 == c.changeAt)
                apply(g, Command::chooseLane(p, c.changeTo));
            raceTick(g);
        }
        seconds += race.ticks() * kRaceTickMs / 1000.0 + kRaceCloseMs / 1000.0;
    }
    void showDisaster(const GameState&, int kind) override { disasters.push_back(kind); }
    void showEventPicture(const GameState&, int picture) override { eventPictures.push_back(picture); }
    void shakeBoard(int twips) override { shakes.push_back(twips); }
    void showResults(const GameState& s) override {
        ++results;
        if (onResults) onResults(s);
    }
    void pause(double secs) override { seconds += secs; }
    void processEvents() override { ++processed; }
    void refreshBoard(const GameState& s) override {
        ++refreshes;
        moneyShown = s.playerMoney[s.curPlayer];
    }
    void enableBoard(bool enabled) override { boardEnabled = enabled; }

    // Messages recorded since index `from`.
    std::vector<std::string> since(size_t from) const {
        return {messages.begin() + static_cast<long>(std::min(from, messages.size())), messages.end()};
    }
};

// A game whose two players both sit at the scripted screens (they answer its questions).
inline Game seatedGame(GameState& s, ScriptedScreens& screens, Rng& rng, Clock& clock) {
    Game g{s, screens, rng, clock};
    g.seatBoth(screens);
    return g;
}

}  // namespace kisharin::testing

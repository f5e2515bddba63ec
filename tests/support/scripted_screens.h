// Screens with scripted answers and no waiting: every message is recorded, the die
// shows scripted faces (or faces drawn from the game's generator, as the dice window
// does), and the time the windows would have taken is added up.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "turns/screens.h"

namespace kisharin::testing {

class ScriptedScreens : public Screens {
  public:
    std::vector<std::string> messages;    // every message shown, in order
    std::deque<int> dice;                 // faces to throw; empty: drawn from the generator
    std::deque<bool> answers;             // for askYesNo; empty: no
    std::deque<std::string> prefectures;  // for pickPrefecture; empty: "東京都"
    int rides = 0, rolls = 0, results = 0, refreshes = 0, processed = 0;
    std::vector<int> conquests;
    std::vector<int> disasters;
    bool boardEnabled = true;
    double seconds = 0;  // time the windows would have taken
    // Called when the ride scene would be shown, e.g. to add the points it pays.
    std::function<void(GameState&)> onRide;
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
        // The dice window draws a face every 80 ms until half a second has passed; in
        // short mode the first face stands.
        const int ticks = s.shortMode ? 1 : 7;
        int face = 1;
        for (int i = 0; i < ticks; ++i) face = rng.pick(6);
        seconds += ticks * 0.08;
        return face;
    }
    void showRide(GameState& s) override {
        ++rides;
        if (onRide) onRide(s);
    }
    void showConquest(GameState&, int line) override { conquests.push_back(line); }
    bool askYesNo(const GameState&, const std::string&) override {
        if (answers.empty()) return false;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    std::string pickPrefecture(GameState&) override {
        if (prefectures.empty()) return "東京都";
        std::string p = prefectures.front();
        prefectures.pop_front();
        return p;
    }
    void runBet(GameState& s, Rng&) override { s.betCancelled = true; }
    void showDisaster(const GameState&, int kind) override { disasters.push_back(kind); }
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

}  // namespace kisharin::testing

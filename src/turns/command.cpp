#include "turns/command.h"

#include <algorithm>
#include <cstdlib>

#include "board/line_display.h"
#include "state/railway.h"
#include "state/regions.h"
#include "turns/boarding.h"
#include "turns/messages.h"
#include "turns/money.h"
#include "turns/race.h"
#include "turns/turn.h"

namespace kisharin {

Command Command::chooseKind(int player, int kind) {
    return {.kind = CommandKind::ChooseKind, .player = player, .trainKind = kind};
}
Command Command::roll(int player) {
    return {.kind = CommandKind::Roll, .player = player};
}
Command Command::changeLine(int player, Station at, Station to) {
    return {.kind = CommandKind::ChangeLine, .player = player, .at = at, .to = to};
}
Command Command::ride(int player, Station to) {
    return {.kind = CommandKind::Ride, .player = player, .to = to};
}
Command Command::work(int player) {
    return {.kind = CommandKind::Work, .player = player};
}
Command Command::answerWarp(int player, bool yes) {
    return {.kind = CommandKind::AnswerWarp, .player = player, .yes = yes};
}
Command Command::answerGod(int player, std::string pref) {
    return {.kind = CommandKind::AnswerGod, .player = player, .pref = std::move(pref)};
}
Command Command::placeBet(int player, Long stake) {
    return {.kind = CommandKind::PlaceBet, .player = player, .stake = stake};
}
Command Command::declineBet(int player) {
    return {.kind = CommandKind::DeclineBet, .player = player};
}

namespace {

bool isTurnCommand(CommandKind k) {
    return k == CommandKind::ChooseKind || k == CommandKind::Roll || k == CommandKind::ChangeLine ||
           k == CommandKind::Ride || k == CommandKind::Work;
}

Question questionOf(CommandKind k) {
    switch (k) {
        case CommandKind::AnswerWarp:
            return Question::Warp;
        case CommandKind::AnswerGod:
            return Question::God;
        case CommandKind::PlaceBet:
        case CommandKind::DeclineBet:
            return Question::Bet;
        default:
            return Question::None;
    }
}

// A destination (open or reached) on the player's own station: a click there claims it.
bool claimable(const GameState& s, int p) {
    for (int d = 1; d <= kDestinationCount; ++d)
        if (s.mokutekitiRosen[d] == s.playerRosen[p] && s.mokutekitiEki[d] == s.playerEki[p]) return true;
    return false;
}

bool isPrefecture(const GameState& s, const std::string& pref) {
    for (int r = 1; r <= kRegionCount; ++r)
        for (const std::string& p : s.regionPrefs[r])
            if (p == pref) return true;
    return false;
}

std::string turnRefusal(const Game& g, const Command& c) {
    const GameState& s = g.s;
    const int p = c.player;
    const bool choosing = s.turnPhase == TurnPhase::Choosing;
    switch (c.kind) {
        case CommandKind::ChooseKind:
            if (!choosing) return kRefuseAfterRoll;
            if (c.trainKind < 1 || c.trainKind > 3 || forcedKind(s, s.playerRosen[p]) != 0) return kRefuseKind;
            return {};
        case CommandKind::Roll:
        case CommandKind::Work:
            return choosing ? std::string() : kRefuseAfterRoll;
        case CommandKind::ChangeLine: {
            if (c.at != Station{s.playerRosen[p], s.playerEki[p]}) return kRefuseNotHere;
            const std::vector<Station> links = transfersAt(s, c.at.line, c.at.pos);
            if (std::find(links.begin(), links.end(), c.to) == links.end()) return kRefuseNoLink;
            if (!choosing) return kMsgNoTransferAfterRoll;
            return {};
        }
        case CommandKind::Ride: {
            const int e = s.playerEki[p];
            if (c.to.line != s.playerRosen[p] || c.to.pos < 1 || c.to.pos > stationCount(s, c.to.line))
                return kRefuseNoStation;
            if (c.to.pos == e) return claimable(s, p) ? std::string() : kRefuseNothingToClaim;
            if (choosing) return kRefuseBeforeRoll;
            if (std::abs(c.to.pos - e) > s.susumuSteps) return kRefuseOutOfReach;
            return {};
        }
        default:
            return {};
    }
}

}  // namespace

std::string refusal(const Game& g, const Command& c) {
    const GameState& s = g.s;
    if (c.player != 0 && c.player != 1) return kRefuseNotYourTurn;
    if (g.ended || s.turnPhase == TurnPhase::Over) return kRefuseOver;
    if (c.player != s.curPlayer) return kRefuseNotYourTurn;
    if (isTurnCommand(c.kind)) {
        if (s.commandRunning || s.question != Question::None) return kRefuseBusy;
        return turnRefusal(g, c);
    }
    if (s.question != questionOf(c.kind)) return kRefuseNoQuestion;
    switch (c.kind) {
        case CommandKind::AnswerGod:
            return c.pref.empty() || isPrefecture(s, c.pref) ? std::string() : kRefuseNoPrefecture;
        case CommandKind::PlaceBet: {
            if (!g.openRace || g.openRace->started()) return kRefuseNoQuestion;
            const std::vector<Long> offered = offeredStakes(s.playerMoney[c.player]);
            if (std::find(offered.begin(), offered.end(), c.stake) == offered.end()) return kRefuseStake;
            return {};
        }
        case CommandKind::DeclineBet:
            return g.openRace && g.openRace->started() ? kRefuseNoQuestion : std::string();
        default:
            return {};
    }
}

Verdict apply(Game& g, const Command& c) {
    GameState& s = g.s;
    const std::string why = refusal(g, c);
    if (!why.empty()) {
        // A change after the roll was always answered in the message window.
        if (c.kind == CommandKind::ChangeLine && why == kMsgNoTransferAfterRoll)
            showMessage(g, kMsgNoTransferAfterRoll);
        return {false, why};
    }
    if (!isTurnCommand(c.kind)) {
        switch (c.kind) {
            case CommandKind::AnswerWarp:
                g.warpAnswer = c.yes;
                break;
            case CommandKind::AnswerGod:
                s.pickedPref = c.pref;
                break;
            case CommandKind::PlaceBet:
                g.openRace->start(c.stake);
                break;
            default:
                break;
        }
        return {true, {}};
    }
    s.commandRunning = True;
    // Whatever a window or a file throws, the game takes commands again afterwards.
    struct Done {
        GameState& s;
        ~Done() { s.commandRunning = False; }
    } done{s};
    switch (c.kind) {
        case CommandKind::ChooseKind:
            optKind_Click(g, c.trainKind);
            break;
        case CommandKind::Roll:
            cmdSusumu_Click(g);
            break;
        case CommandKind::ChangeLine:
            lblNorikae_Click(g, c.to);
            break;
        case CommandKind::Ride:
            lblEki_Click(g, c.to.pos);
            break;
        case CommandKind::Work:
            cmdWork_Click(g);
            break;
        default:
            break;
    }
    return {true, {}};
}

bool canChooseKind(const Game& g, int player, int kind) {
    return refusal(g, Command::chooseKind(player, kind)).empty();
}
bool canRoll(const Game& g, int player) {
    return refusal(g, Command::roll(player)).empty();
}
bool canWork(const Game& g, int player) {
    return refusal(g, Command::work(player)).empty();
}
bool canSave(const Game& g, int player) {
    return canRoll(g, player);
}
bool canChangeLine(const Game& g, int player, Station to) {
    const GameState& s = g.s;
    return refusal(g, Command::changeLine(player, {s.playerRosen[player], s.playerEki[player]}, to)).empty();
}
bool canRide(const Game& g, int player, int station) {
    return refusal(g, Command::ride(player, {g.s.playerRosen[player], station})).empty();
}

void openBetQuestion(Game& g, Race& race) {
    g.openRace = &race;
    g.s.question = Question::Bet;
}

void closeQuestion(Game& g) {
    g.openRace = nullptr;
    g.s.question = Question::None;
}

Seat& Game::seat(int player) const {
    static EmptySeat nobody;
    Seat* st = player == 0 || player == 1 ? seats[static_cast<size_t>(player)] : nullptr;
    return st ? *st : nobody;
}

}  // namespace kisharin

#include "turns/command.h"

#include <algorithm>
#include <cstdlib>

#include "board/line_display.h"
#include "platform/text_file.h"
#include "setup/save_slot.h"
#include "setup/settings.h"
#include "state/railway.h"
#include "state/regions.h"
#include "turns/boarding.h"
#include "turns/events.h"
#include "turns/game_record.h"
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
Command Command::chooseLane(int player, int lane) {
    return {.kind = CommandKind::ChooseLane, .player = player, .lane = lane};
}
Command Command::clockTick(int player) {
    return {.kind = CommandKind::ClockTick, .player = player};
}
Command Command::save(int player, int slot) {
    return {.kind = CommandKind::Save, .player = player, .slot = slot};
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
        case CommandKind::ChooseLane:
            return Question::Race;
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

// The game is busy carrying a command out for as long as this lives; whatever a window or
// a file throws, it takes commands again afterwards.
class Running {
  public:
    explicit Running(GameState& s) : s_(s) { s_.commandRunning = True; }
    ~Running() { s_.commandRunning = False; }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;

  private:
    GameState& s_;
};

// Every command in one place: `doIt` false only checks and returns why the command would
// be refused (empty: it would be carried out); `doIt` true checks the same way and then
// carries it out, telling the game's record first (`go`). A check never writes, so
// `refusal` may run it on a game it must not change.
class Run {
  public:
    Run(Game& g, const Command& c, bool doIt) : g_(g), s_(g.s), c_(c), p_(c.player), doIt_(doIt) {}

    std::string operator()() {
        if (p_ != 0 && p_ != 1) return kRefuseNotYourTurn;
        if (g_.ended || s_.turnPhase == TurnPhase::Over) return kRefuseOver;
        if (c_.kind == CommandKind::ClockTick) return clockTick();
        if (c_.kind == CommandKind::Save) return save();
        if (p_ != s_.curPlayer) return kRefuseNotYourTurn;
        if (isTurnCommand(c_.kind)) {
            if (s_.commandRunning || s_.question != Question::None) return kRefuseBusy;
            return turn();
        }
        if (s_.question != questionOf(c_.kind)) return kRefuseNoQuestion;
        return answer();
    }

    Verdict verdict;  // what a carried-out command did

  private:
    std::string turn() {
        const bool choosing = s_.turnPhase == TurnPhase::Choosing;
        switch (c_.kind) {
            case CommandKind::ChooseKind:
                if (!choosing) return kRefuseAfterRoll;
                if (c_.trainKind < 1 || c_.trainKind > 3 || forcedKind(s_, s_.playerRosen[p_]) != 0)
                    return kRefuseKind;
                return carry([&] { optKind_Click(g_, c_.trainKind); });
            case CommandKind::Roll:
                if (!choosing) return kRefuseAfterRoll;
                // Not even one station's fare: the player works instead.
                if (s_.playerMoney[p_] < s_.kindFare[s_.selKind]) return kMsgNoMoney;
                return carry([&] { cmdSusumu_Click(g_); });
            case CommandKind::Work:
                if (!choosing) return kRefuseAfterRoll;
                return carry([&] { cmdWork_Click(g_); });
            case CommandKind::ChangeLine: {
                if (c_.at != Station{s_.playerRosen[p_], s_.playerEki[p_]}) return kRefuseNotHere;
                const std::vector<Station> links = transfersAt(s_, c_.at.line, c_.at.pos);
                if (std::find(links.begin(), links.end(), c_.to) == links.end()) return kRefuseNoLink;
                if (!choosing) return kMsgNoTransferAfterRoll;
                return carry([&] { lblNorikae_Click(g_, c_.to); });
            }
            case CommandKind::Ride: {
                const int e = s_.playerEki[p_];
                if (c_.to.line != s_.playerRosen[p_] || c_.to.pos < 1 ||
                    c_.to.pos > stationCount(s_, c_.to.line))
                    return kRefuseNoStation;
                if (c_.to.pos == e) {
                    if (!claimable(s_, p_)) return kRefuseNothingToClaim;
                } else {
                    if (choosing) return kRefuseBeforeRoll;
                    if (std::abs(c_.to.pos - e) > s_.susumuSteps) return kRefuseOutOfReach;
                }
                return carry([&] {
                    g_.lastRide = {};
                    lblEki_Click(g_, c_.to.pos);
                    if (g_.lastRide.line != 0) {
                        verdict.fare = g_.lastRide.fare;
                        verdict.from = {g_.lastRide.line, g_.lastRide.start};
                        verdict.to = {g_.lastRide.line, g_.lastRide.end};
                    }
                });
            }
            default:
                return {};
        }
    }

    std::string answer() {
        switch (c_.kind) {
            case CommandKind::AnswerWarp:
                if (go()) {
                    g_.answers.warp = c_.yes;
                    g_.answers.given = true;
                }
                return {};
            case CommandKind::AnswerGod:
                if (!c_.pref.empty() && !isPrefecture(s_, c_.pref)) return kRefuseNoPrefecture;
                if (go()) {
                    g_.answers.god = c_.pref;
                    g_.answers.given = true;
                }
                return {};
            case CommandKind::PlaceBet: {
                if (!g_.openRace || g_.openRace->started()) return kRefuseNoQuestion;
                const std::vector<Long> offered = offeredStakes(s_.playerMoney[p_]);
                if (std::find(offered.begin(), offered.end(), c_.stake) == offered.end()) return kRefuseStake;
                if (go()) {
                    g_.openRace->start(c_.stake);
                    s_.question = Question::Race;  // the race runs; its lane is chosen by commands
                }
                return {};
            }
            case CommandKind::DeclineBet:
                // A race never started is the bet declined.
                if (g_.openRace && g_.openRace->started()) return kRefuseNoQuestion;
                if (go()) g_.answers.given = true;
                return {};
            case CommandKind::ChooseLane:
                if (c_.lane < 0 || c_.lane >= kLanes) return kRefuseLane;
                if (!g_.openRace || !g_.openRace->started() || g_.openRace->decided())
                    return kRefuseNoQuestion;
                if (go()) g_.openRace->choose(c_.lane);
                return {};
            default:
                return {};
        }
    }

    // The board's clock: one second, from the board's timer of whoever shows the game.
    std::string clockTick() {
        if (go()) playClockTick(s_);
        return {};
    }

    // Saving is the board's own player's, whoever's turn it is (the host saves while its
    // guest is to move). At the start of a turn the game is saved as it stands; in the
    // middle of one (a ride, an open question, a guest gone after its roll), as it stood
    // at the start of the turn under way.
    std::string save() {
        if (!g_.seat(p_).atBoard()) return kRefuseSeat;
        if (c_.slot < 1 || c_.slot > kSlotCount) return kRefuseSlot;
        const bool atStart =
            !s_.commandRunning && s_.question == Question::None && s_.turnPhase == TurnPhase::Choosing;
        if (!atStart && g_.turnStart.empty()) return kRefuseSaveNow;
        if (go()) {
            // A GameError names the file.
            writeLinesAtomic(slotPath(g_.gameDataDir, c_.slot), atStart ? slotLines(s_) : g_.turnStart);
            verdict.savedTurnStart = !atStart;
            if (g_.record) g_.record->saved(g_, c_.slot);
        }
        return {};
    }

    // Whether to carry the command out; when so, the record hears of it first (the answers
    // a ride asks for then follow the ride in it).
    bool go() {
        if (doIt_ && g_.record) g_.record->command(g_, c_);
        return doIt_;
    }

    template <typename F>
    std::string carry(F&& f) {
        if (!go()) return {};
        const Running running(s_);
        f();
        return {};
    }

    Game& g_;
    GameState& s_;
    const Command& c_;
    const int p_;
    const bool doIt_;
};

}  // namespace

std::string refusal(const Game& g, const Command& c) {
    // Checking only: the run never writes the game when doIt is false.
    return Run(const_cast<Game&>(g), c, false)();
}

Verdict apply(Game& g, const Command& c) {
    Run run(g, c, true);
    const std::string why = run();
    if (!why.empty()) {
        // A change after the roll and a roll without the fare were always answered in the
        // message window.
        if ((c.kind == CommandKind::ChangeLine && why == kMsgNoTransferAfterRoll) ||
            (c.kind == CommandKind::Roll && why == kMsgNoMoney))
            showMessage(g, why);
        return {.ok = false, .reason = why};
    }
    // The question the command opened is asked now, or the answer it gave carries the
    // turn on.
    settleQuestion(g);
    Verdict v = run.verdict;
    v.ok = true;
    v.question = g.s.question;
    return v;
}

bool canSave(const Game& g, int player) {
    return refusal(g, Command::save(player, 1)).empty();
}

void openQuestion(Game& g, Question q, std::function<void(Game&)> rest) {
    g.s.question = q;
    g.questionAsked = false;
    g.answers.given = false;
    g.afterAnswer = std::move(rest);
}

void openBetQuestion(Game& g, Race& race) {
    openQuestion(g, Question::Bet, {});
    g.openRace = &race;
    g.questionAsked = true;  // whoever opens it runs the betting window
}

void raceTick(Game& g) {
    if (g.openRace && g.openRace->started() && !g.openRace->decided()) g.openRace->tick(g.rng);
}

void closeQuestion(Game& g) {
    g.openRace = nullptr;
    g.raceDay.reset();
    g.s.question = Question::None;
    g.questionAsked = true;
    g.answers.given = false;
    g.afterAnswer = {};
}

namespace {

void ask(Game& g, Seat& seat) {
    GameState& s = g.s;
    switch (s.question) {
        case Question::Warp: {
            const int region = std::clamp<int>(s.questionRegion, 1, kRegionCount);
            seat.answerWarp(g, region, warpTitle(s.regionName[region]), kWarpQuestion);
            break;
        }
        case Question::God:
            seat.answerGod(g);
            break;
        case Question::Bet:
            if (g.openRace) seat.runBet(g, *g.openRace);
            break;
        default:
            break;
    }
}

// The rest of the turn after the answer, as one command: nothing else is taken meanwhile.
void carryOn(Game& g) {
    std::function<void(Game&)> rest = std::move(g.afterAnswer);
    closeQuestion(g);
    const Running running(g.s);
    if (rest) rest(g);
}

}  // namespace

void settleQuestion(Game& g) {
    if (g.settling || g.s.commandRunning) return;
    g.settling = true;
    struct Done {
        bool& settling;
        ~Done() { settling = false; }
    } done{g.settling};
    while (g.s.question != Question::None && !g.ended) {
        Seat& seat = g.seat(g.s.curPlayer);
        if (!g.questionAsked) {
            g.questionAsked = true;
            ask(g, seat);
            // A seat that answers while asked has answered (or not: then the answer is no).
            if (!seat.answersLater()) {
                carryOn(g);
                continue;
            }
        }
        const bool answered =
            g.answers.given || (g.s.question == Question::Race && g.openRace && g.openRace->decided());
        if (!answered) return;  // the seat's answer comes later, as a command
        carryOn(g);
    }
}

Seat& Game::seat(int player) const {
    static EmptySeat nobody;
    Seat* st = player == 0 || player == 1 ? seats[static_cast<size_t>(player)] : nullptr;
    return st ? *st : nobody;
}

}  // namespace kisharin

// Commands: the one way to change a game. The board's clicks, the computer, the simulator,
// the tests and a player at another computer all send the same commands, and `apply`
// checks each one against the turn's phase and the rules before it is carried out. A
// command names game things (a player, lines and stations, a kind, a stake), never a
// place in one window's layout.
#pragma once

#include <functional>
#include <string>

#include "state/types.h"
#include "turns/game.h"

namespace kisharin {

class Race;

enum class CommandKind : int {
    ChooseKind,  // 各停, 急行 or 特急 before the roll
    Roll,        // "進む"
    ChangeLine,  // change at the own station to another line
    Ride,        // a station of the own line: the ride to it, or a claim on the own station
    Work,        // "アルバイト"
    AnswerWarp,  // yes or no to the warp hole
    AnswerGod,   // the prefecture the guardian god is asked for ("" to stay)
    PlaceBet,    // "出走" with a stake in the betting window
    DeclineBet,  // "勝負しない"
    ChooseLane,  // the lane option selected while the race of the own bet runs
    ClockTick,   // one second of the board's clock (the play time and the date shown)
    Save,        // "保存して終了" into a save slot
};

struct Command {
    CommandKind kind = CommandKind::Roll;
    int player = 0;     // who sends it: 0 or 1
    int trainKind = 0;  // ChooseKind: 1..3
    Station at;         // ChangeLine: where the player stands
    Station to;         // ChangeLine: the line and station changed to; Ride: the station
    bool yes = false;   // AnswerWarp
    std::string pref;   // AnswerGod
    Long stake = 0;     // PlaceBet
    int lane = 0;       // ChooseLane: 0..4
    int slot = 0;       // Save: 1..3

    static Command chooseKind(int player, int kind);
    static Command roll(int player);
    static Command changeLine(int player, Station at, Station to);
    static Command ride(int player, Station to);
    static Command work(int player);
    static Command answerWarp(int player, bool yes);
    static Command answerGod(int player, std::string pref);
    static Command placeBet(int player, Long stake);
    static Command declineBet(int player);
    static Command chooseLane(int player, int lane);
    static Command clockTick(int player);
    static Command save(int player, int slot);
};

// What `apply` did with a command: carried out, or refused with the reason (Japanese,
// for the log or a message; the game is unchanged by a refused command).
struct Verdict {
    bool ok = false;
    std::string reason;
    // What a carried-out command did: the fare paid and the stations moved by its ride
    // (from and to on the line ridden; both zero without a ride), and the question open
    // when it returned.
    Long fare = 0;
    Station from, to;
    Question question = Question::None;
    bool savedTurnStart = false;  // Save kept the start of the turn under way
    explicit operator bool() const { return ok; }
};

// Checks the command against the phase and the rules and carries it out, or refuses it.
// A turn command (kind, roll, change, ride, work) runs to its end, events and hand-over
// included; answers are taken only while the matching question is asked of the sender.
Verdict apply(Game& g, const Command& c);

// Why the command would be refused now; empty when it would be carried out. Changes
// nothing: it is `apply` run with the flag that only checks, so the check cannot drift
// from the effect. The board, the computer and the network host ask this and nothing else.
std::string refusal(const Game& g, const Command& c);

// Whether `player` may save now (a Save command to any slot would be carried out): the
// board's own player, always once a turn has begun.
bool canSave(const Game& g, int player);

// Questions. A command that opens one (an event after a ride) ends with it open; `apply`
// then asks the seat of the player to move. A seat that answers while asked (the board's
// windows, the computer, a script) sends its answer command then; one that answers later
// (a player at another computer) sends it when it comes. The answer, or the race's end,
// carries the rest of the turn out (`rest`: the event's end and the hand-over). A seat
// asked that gives no answer has answered no.
void openQuestion(Game& g, Question q, std::function<void(Game&)> rest);
// A bet question on `race` whose betting window the caller runs itself (PlaceBet starts
// the race with the stake); the race day opens its own and asks the seat.
void openBetQuestion(Game& g, Race& race);
// The race's one tick: the open race moves on the game's generator with the lane option
// chosen last (ChooseLane counts from the next tick). Nothing without a running race.
void raceTick(Game& g);
void closeQuestion(Game& g);
// Asks the open question of its seat if it has not been asked, and carries the turn on
// once it is answered (or the race has run). `apply` calls it after every command; the
// network host after its own race ticks. Nothing while a command runs.
void settleQuestion(Game& g);

// Texts of the refusals.
inline constexpr const char* kRefuseNotYourTurn = "あなたの番ではありません";
inline constexpr const char* kRefuseBusy = "ほかの操作が終わるまでお待ちください";
inline constexpr const char* kRefuseOver = "ゲームは終わりました";
inline constexpr const char* kRefuseAfterRoll = "サイを投げた後はできません";
inline constexpr const char* kRefuseBeforeRoll = "サイを投げていません";
inline constexpr const char* kRefuseKind = "その列車は選べません";
inline constexpr const char* kRefuseNotHere = "そこにはいません";
inline constexpr const char* kRefuseNoLink = "ここからその路線には乗り換えられません";
inline constexpr const char* kRefuseNoStation = "その駅はこの路線にありません";
inline constexpr const char* kRefuseOutOfReach = "その駅には届きません";
inline constexpr const char* kRefuseNothingToClaim = "この駅は目的地ではありません";
inline constexpr const char* kRefuseNoQuestion = "いまはその答えを待っていません";
inline constexpr const char* kRefuseNoPrefecture = "そのような都道府県はありません";
inline constexpr const char* kRefuseStake = "その掛け金は選べません";
inline constexpr const char* kRefuseLane = "そのコースはありません";
inline constexpr const char* kRefuseSlot = "その保存先はありません";
inline constexpr const char* kRefuseSeat = "この席からはできません";
inline constexpr const char* kRefuseSaveNow = "いまは保存できません（番の始めに保存できます）";
inline constexpr const char* kMsgSavedTurnStart = "この番の始めの局面を保存しました。";

}  // namespace kisharin

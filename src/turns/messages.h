// The message window and every text the game announces in it. The window shows one
// text, coloured for the player whose turn it is, and closes itself after two seconds;
// every caller waits for it, so the messages of a turn come one after another.
#pragma once

#include <string>

#include "state/game_state.h"
#include "turns/game.h"

namespace kisharin {

// Sets s.messageText to text and shows the message window (and keeps it in the log).
void showMessage(Game& g, const std::string& text);
// Says text in the message log only: no window, the turn's timing unchanged.
void noteInLog(Game& g, const std::string& text);

// What the message window draws.
struct MessageWindowModel {
    std::string caption;  // "メッセージ"
    std::string text;     // messageText
    Long background = 0;  // light cyan for player 1, light magenta for player 2
    int closeAfterMs = 0;
};
inline constexpr const char* kMessageCaption = "メッセージ";
inline constexpr int kMessageCloseMs = 2000;
Long messageBackground(int player);
MessageWindowModel messageWindowModel(const GameState& s);

// --- The catalogue -------------------------------------------------------------------

// Turn and ride.
inline constexpr const char* kMsgNoMoney = "お金がないですよ！働いてください！";
inline constexpr const char* kMsgNoTransferAfterRoll = "サイを投げてからの、乗り換えはできません";
inline constexpr const char* kMsgRideCut = "当駅どまりです。お忘れ物にご注意ください。";
inline constexpr const char* kMsgOverslept = "しまった！　寝過ごしてしまった…　ポイント：-５０";
inline constexpr const char* kMsgDebt = "あちゃー！借金じゃないですか！";
inline constexpr const char* kMsgDebtForgiven = "今回だけはチャラにしてあげます！　ポイント：-５０";
inline constexpr const char* kMsgMeeting = "袖ふり合うも多少の縁！　５０ポイント貰っちゃえ！";

// Work and points.
std::string jobOfferText(const std::string& job, Long pay);  // job & "：時給　" & pay & "円"
std::string workedText(int hours, Long wage);  // hours & "時間、働いた！　：" & wage & "円"
std::string pointsText(const std::string& name0, Long points0, const std::string& name1, Long points1);

// Travel happenings: text & "：+" or "：-" & amount, with "円" for money.
std::string pointHappeningText(const std::string& text, bool gain, Long amount);
std::string moneyHappeningText(const std::string& text, bool gain, Long amount);

// Special events.
std::string disasterText(const std::string& disaster);  // "　　　わー！！　" & disaster
std::string warpText(const std::string& region);  // "　　　" & region & "に続いているワープ穴発見！"
inline constexpr const char* kMsgGuardianGod = "　　　氏神様が、好きな県に連れてってくれるぞ！";
inline constexpr const char* kMsgGathering = "　　　旅は道連れ。　全員集合！";
std::string gatheringPlaceText(const std::string& station);  // station & "駅に、集まれ～！！"
inline constexpr const char* kMsgEarthquake = "　　　地震だーー！！目的地が変わってしまったぞ～！！";

// Destinations and the end of the game.
inline constexpr const char* kMsgAlreadyArrived = "もう到着済み…残念だったね…　ポイント：+1";
std::string arrivedText(const std::string& name);  // name & "　到着！　ポイント：+100　祝金：+10万円"
inline constexpr const char* kMsgGameOver = "お疲れ様でした！　結果発表です。";

// Line conquest.
std::string conquestText(const std::string& line);  // "「" & line & "」制覇！　ポイント：+１００"

// Race betting.
std::string raceDayText(const std::string& race);  // "今日は" & race & "開催日！"
std::string betWonText(Long points);               // "おめでとう！！　ポイント：+" & points
inline constexpr const char* kMsgBetLost = "残念！！　ポイント：-５０";
// The log's notes: where an event put a player (name & "は" & station & "駅（" & line &
// "）へ"), and the stake of a bet ("賭け金：" & stake & "円").
std::string movedNote(const std::string& name, const std::string& station, const std::string& line);
std::string stakeNote(Long stake);

}  // namespace kisharin

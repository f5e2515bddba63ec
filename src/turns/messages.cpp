#include "turns/messages.h"

#include "turns/race.h"

namespace kisharin {

namespace {
std::string num(Long v) {
    return std::to_string(v);
}
}  // namespace

void showMessage(Game& g, const std::string& text) {
    g.messages.add(g.turnNumber, g.s.curPlayer, text);
    g.s.messageText = text;
    g.screens.showMessage(g.s);
}

void noteInLog(Game& g, const std::string& text) {
    g.messages.add(g.turnNumber, g.s.curPlayer, text);
}

Long messageBackground(int player) {
    return player == 0 ? rgb(192, 255, 255) : rgb(255, 192, 255);
}

MessageWindowModel messageWindowModel(const GameState& s) {
    return {kMessageCaption, s.messageText, messageBackground(s.curPlayer), kMessageCloseMs};
}

std::string jobOfferText(const std::string& job, Long pay) {
    return job + "：時給　" + num(pay) + "円";
}

std::string workedText(int hours, Long wage) {
    return std::to_string(hours) + "時間、働いた！　：" + num(wage) + "円";
}

std::string pointsText(const std::string& name0, Long points0, const std::string& name1, Long points1) {
    return name0 + "：" + num(points0) + "ポイント　，　" + name1 + "：" + num(points1) + "ポイント";
}

std::string pointHappeningText(const std::string& text, bool gain, Long amount) {
    return text + (gain ? "：+" : "：-") + num(amount);
}

std::string moneyHappeningText(const std::string& text, bool gain, Long amount) {
    return pointHappeningText(text, gain, amount) + "円";
}

std::string disasterText(const std::string& disaster) {
    return "　　　わー！！　" + disaster;
}

std::string warpText(const std::string& region) {
    return "　　　" + region + "に続いているワープ穴発見！";
}

std::string gatheringPlaceText(const std::string& station) {
    return station + "駅に、集まれ～！！";
}

std::string arrivedText(const std::string& name) {
    return name + "　到着！　ポイント：+100　祝金：+10万円";
}

std::string conquestText(const std::string& line) {
    return "「" + line + "」制覇！　ポイント：+１００";
}

std::string raceDayText(const std::string& race) {
    return "今日は" + race + "開催日！";
}

std::string movedNote(const std::string& name, const std::string& station, const std::string& line) {
    return name + "は" + station + "駅（" + line + "）へ";
}

std::string stakeNote(Long stake) {
    return "賭け金：" + grouped(stake) + "円";
}

std::string betWonText(Long points) {
    return "おめでとう！！　ポイント：+" + num(points);
}

}  // namespace kisharin

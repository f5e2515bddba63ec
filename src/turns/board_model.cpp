#include "turns/board_model.h"

#include "board/line_display.h"
#include "board/startup.h"
#include "state/railway.h"
#include "turns/command.h"
#include "turns/game.h"
#include "turns/money.h"

namespace kisharin {

const char* kindCaption(int kind) {
    static const char* const captions[6] = {"", "各停", "急行", "特急", "新幹線", "飛行機"};
    return kind >= 1 && kind <= 5 ? captions[kind] : "";
}

std::string fullWidthNumber(long n) {
    static const char* const digits[10] = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};
    std::string out;
    const std::string plain = std::to_string(n);
    for (char c : plain) out += c >= '0' && c <= '9' ? digits[c - '0'] : std::string(1, c);
    return out;
}

BoardControls::BoardControls() {
    for (int k = 1; k <= 5; ++k) {
        optKind[k].caption = kindCaption(k);
        optKind[k].color = k == 3 ? rgb(255, 0, 0) : k == 2 ? rgb(0, 0, 255) : rgb(0, 0, 0);
        // The player never picks 新幹線 or 飛行機: the line does (shown greyed out).
        optKind[k].enabled = k <= 3;
    }
    optKind[1].value = true;
}

void setKindButton(BoardControls& c, int kind) {
    if (kind < 1 || kind > 5) return;
    for (int k = 1; k <= 5; ++k) c.optKind[k].value = k == kind;
    if (kind <= 3) c.ordinaryKind = kind;
}

void setTurnCaption(BoardControls& c, const GameState& s, const std::string& seatCaption) {
    c.manNameColor = s.curPlayer == 0 ? kColorPlayer1 : kColorPlayer2;
    c.lblManName = turnCaption(s);
    c.manNameTip = seatCaption;
}

int firstSetKind(const BoardControls& c) {
    for (int k = 1; k <= 5; ++k)
        if (c.optKind[k].value) return k;
    return 1;
}

std::string otherPlayerText(const GameState& s, int other) {
    if (other != 0 && other != 1) return {};
    const int line = s.playerRosen[other], pos = s.playerEki[other];
    if (!isStation(s, line, pos)) return {};
    return s.playerName[other] + "：" + s.ekiName(line, pos) + "駅（" + s.ekiName(line, 0) + "）";
}

int otherPlayerOf(const Game& g) {
    const bool first = g.seat(0).atBoard(), second = g.seat(1).atBoard();
    if (first != second) return first ? 1 : 0;
    return 1 - g.s.curPlayer;
}

BoardModel boardModel(const Game& g) {
    BoardModel m;
    static_cast<BoardControls&>(m) = g.board;
    // The buttons of a turn's start stand while the turn is before its roll; they stay
    // in view while that turn's own windows (work, a refused roll) are open.
    const bool choosing = g.s.turnPhase == TurnPhase::Choosing && !g.ended;
    m.cmdSusumuVisible = m.cmdWorkVisible = m.cmdSaveVisible = choosing;
    for (int k = 1; k <= 3; ++k) m.optKind[k].enabled = choosing;
    m.lblMoney = moneyText(g.s.playerMoney[g.s.curPlayer]);
    m.lblJikoku = lblJikokuText(g.s);
    m.lblTrainName = g.line.title;
    return m;
}

}  // namespace kisharin

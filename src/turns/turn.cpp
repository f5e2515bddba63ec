#include "turns/turn.h"

#include <algorithm>

#include "board/line_display.h"
#include "board/route.h"
#include "board/startup.h"
#include "turns/boarding.h"
#include "turns/events.h"
#include "turns/happenings.h"
#include "turns/history.h"
#include "turns/messages.h"
#include "turns/race.h"

namespace kisharin {

int stepFactor(int kind) {
    return kind >= 1 && kind <= 3 ? kind : 0;
}

int rideTickMs(int kind) {
    static const int ticks[6] = {0, 80, 50, 10, 100, 100};
    return kind >= 1 && kind <= 5 ? ticks[kind] : 0;
}

int throwDie(Game& g) {
    return std::clamp(g.screens.rollDice(g.s, g.rng), 1, 6);
}

void cmdSusumu_Click(Game& g) {
    GameState& s = g.s;
    BoardControls& c = g.board;
    if (!c.cmdSusumuVisible) return;  // already rolled: the button is not there
    const int p = s.curPlayer;
    const int kind = s.selKind;
    if (s.playerMoney[p] < s.kindFare[kind]) {
        showMessage(g, kMsgNoMoney);
        return;
    }
    s.rideInfo = {c.optKind[kind].caption, c.optKind[kind].color, static_cast<Integer>(rideTickMs(kind))};
    const int face = throwDie(g);
    const int factor = stepFactor(kind);
    s.susumuSteps = static_cast<Integer>(factor ? face * factor : face);
    c.lblSusumu = " " + c.optKind[kind].caption + "：" + fullWidthNumber(s.susumuSteps) + "駅進めます。";
    for (int k = 1; k <= 3; ++k) c.optKind[k].enabled = false;
    c.cmdSusumuVisible = c.cmdWorkVisible = c.cmdSaveVisible = false;
    g.screens.refreshBoard(s);
}

void resetForNextRoll(Game& g) {
    BoardControls& c = g.board;
    g.s.susumuSteps = 0;
    for (int k = 1; k <= 3; ++k) c.optKind[k].enabled = true;
    c.cmdSusumuVisible = c.cmdWorkVisible = c.cmdSaveVisible = true;
    optKind_Click(g, g.s.selKind);
}

void endOfRide(Game& g) {
    GameState& s = g.s;
    到達履歴(g);
    travelHappening(g);
    resetForNextRoll(g);
    debtRule(g);
    meetingRule(g);
    s.moveDone = True;
}

void afterStationClick(Game& g) {
    GameState& s = g.s;
    if (!s.moveDone) return;
    // A destination claimed on the own station after the roll passes the turn without a
    // ride; neither the die thrown nor a station lit under the mouse carries over to the
    // next player.
    if (s.susumuSteps != 0 || !g.board.cmdSusumuVisible) {
        resetForNextRoll(g);
        s.ekiHover = False;
        s.hoverEki = 0;
    }
    const int p = s.curPlayer;
    if (p == 1 && s.comOpponent) {
        移動イベント(g);
    } else {
        const std::string& mark = s.ekiMark(s.playerRosen[p], s.playerEki[p]);
        if (isRaceCourse(mark)) {
            s.raceName = mark;
            賭け事イベント(g);
        } else {
            移動イベント(g);
        }
    }
    finishTurn(g);
}

void 順番チェンジ(Game& g) {
    GameState& s = g.s;
    BoardControls& c = g.board;
    s.playerScroll[s.curPlayer] = static_cast<Integer>(g.line.scrollValue);
    s.playerKind[s.curPlayer] = static_cast<Integer>(firstSetKind(c));
    s.curPlayer = static_cast<Integer>(1 - s.curPlayer);
    setTurnCaption(c, s);
    optKind_Click(g, s.playerKind[s.curPlayer]);
    新幹線判別(g);
    路線読み込み(g);
    setScrollValue(g.line, s.playerScroll[s.curPlayer]);
}

void 間(Game& g) {
    g.screens.pause(1.0);
}

void startComputerTurnIfDue(Game& g) {
    if (g.ended) return;
    if (g.s.curPlayer == 1 && g.s.comOpponent && g.computerTurn) {
        g.board.boardEnabled = false;
        g.screens.enableBoard(false);
        g.screens.refreshBoard(g.s);
        g.computerTurn(g);
    } else {
        g.board.boardEnabled = true;
        g.screens.enableBoard(true);
        g.screens.refreshBoard(g.s);
    }
}

void finishTurn(Game& g) {
    順番チェンジ(g);
    g.screens.processEvents();
    道のり(g.s);
    startComputerTurnIfDue(g);
}

void openBoard(Game& g) {
    const std::vector<std::string> notices = startBoard(g.s, g.rng, g.clock);
    for (const std::string& n : notices) showMessage(g, n);
    buildEventTables(g.s);
    showBoard(g);
}

void showBoard(Game& g) {
    GameState& s = g.s;
    BoardControls& c = g.board;
    optKind_Click(g, s.resumeGame ? s.playerKind[s.curPlayer] : 1);
    setTurnCaption(c, s);
    道のり(s);
    新幹線判別(g);
    路線読み込み(g);
    setScrollValue(g.line, s.playerScroll[s.curPlayer]);
    startComputerTurnIfDue(g);
}

}  // namespace kisharin

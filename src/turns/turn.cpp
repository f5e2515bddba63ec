#include "turns/turn.h"

#include "turns/strip_keys.h"

#include <algorithm>

#include "board/line_display.h"
#include "board/route.h"
#include "board/startup.h"
#include "setup/save_slot.h"
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
    // The Roll command checked the fare of one station.
    const int kind = s.selKind;
    s.rideInfo = {c.optKind[kind].caption, c.optKind[kind].color, static_cast<Integer>(rideTickMs(kind))};
    const int face = throwDie(g);
    const int factor = stepFactor(kind);
    s.susumuSteps = static_cast<Integer>(factor ? face * factor : face);
    c.lblSusumu = " " + c.optKind[kind].caption + "：" + fullWidthNumber(s.susumuSteps) + "駅進めます。";
    s.turnPhase = TurnPhase::Rolled;
    g.screens.refreshBoard(s);
}

void resetForNextRoll(Game& g) {
    g.s.susumuSteps = 0;
    if (g.s.turnPhase == TurnPhase::Rolled) g.s.turnPhase = TurnPhase::Choosing;
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
    if (s.susumuSteps != 0 || s.turnPhase == TurnPhase::Rolled) {
        resetForNextRoll(g);
        clearStationHover(g.line);
    }
    const int p = s.curPlayer;
    if (!g.seat(p).betsOnRaces()) {
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
    // An event that asks its player hands the turn over once the answer is in.
    if (g.s.question != Question::None) {
        g.afterAnswer = [rest = std::move(g.afterAnswer)](Game& later) {
            if (rest) rest(later);
            finishTurn(later);
        };
        return;
    }
    finishTurn(g);
}

void 順番チェンジ(Game& g) {
    GameState& s = g.s;
    BoardControls& c = g.board;
    s.playerScroll[s.curPlayer] = static_cast<Integer>(g.line.scrollValue);
    s.playerKind[s.curPlayer] = static_cast<Integer>(firstSetKind(c));
    s.curPlayer = static_cast<Integer>(1 - s.curPlayer);
    setTurnCaption(c, s, g.seatCaptions[static_cast<size_t>(s.curPlayer)]);
    optKind_Click(g, s.playerKind[s.curPlayer]);
    新幹線判別(g);
    到達履歴(g);
    路線読み込み(s, g.line, *g.metrics);
    setScrollValue(g.line, s.playerScroll[s.curPlayer]);
}

void 間(Game& g) {
    g.screens.pause(kComputerPause);
}

void beginTurn(Game& g) {
    if (g.ended) return;
    ++g.turnNumber;
    g.s.turnPhase = TurnPhase::Choosing;
    // The player to move sees its own station (an overslept ride, a tornado or the other
    // player's scrolling may have left it out of view).
    const GameState& s = g.s;
    if (g.line.line == s.playerRosen[s.curPlayer] && s.playerEki[s.curPlayer] >= 1 &&
        s.playerEki[s.curPlayer] <= g.line.stationCount())
        g.line.scrollValue = scrollToShow(g.line, {.station = s.playerEki[s.curPlayer]});
    g.turnStart = slotLines(g.s);
    const bool here = g.seat(g.s.curPlayer).atBoard();
    g.board.boardEnabled = here;
    g.screens.enableBoard(here);
    g.screens.refreshBoard(g.s);
}

SeatStep playSeatStep(Game& g) {
    if (g.ended || g.s.commandRunning || g.s.question != Question::None || g.seatPlaying) return {};
    Seat& seat = g.seat(g.s.curPlayer);
    if (!seat.playsItself()) return {};
    // A window's own event loop inside the step (a message box) must not start another.
    g.seatPlaying = true;
    struct Done {
        bool& playing;
        ~Done() { playing = false; }
    } done{g.seatPlaying};
    return {.played = true, .step = seat.playTurnStep(g)};
}

bool playSeatTurn(Game& g) {
    SeatStep s = playSeatStep(g);
    if (!s.played) return false;
    while (s.step.more) {
        if (s.step.pause > 0) g.screens.pause(s.step.pause);
        s = playSeatStep(g);
        if (!s.played) break;
    }
    return true;
}

int runTurnLoop(Game& g, int maxTurns) {
    int turns = 0;
    while (turns < maxTurns && playSeatTurn(g)) ++turns;
    return turns;
}

void finishTurn(Game& g) {
    順番チェンジ(g);
    g.screens.processEvents();
    道のり(g.s);
    beginTurn(g);
}

std::vector<std::string> loadBoard(GameState& s, Rng& rng, Clock& clock, int loadedSlot,
                                   const std::function<void()>& beforeDraw) {
    std::vector<std::string> notices = startBoard(s, rng, clock, beforeDraw);
    if (s.resumeGame) checkSlotStations(s, "GameData" + std::to_string(loadedSlot) + ".txt");
    buildEventTables(s);
    return notices;
}

void openBoard(Game& g, int loadedSlot) {
    const std::vector<std::string> notices = loadBoard(g.s, g.rng, g.clock, loadedSlot);
    for (const std::string& n : notices) showMessage(g, n);
    showBoard(g);
}

void showBoard(Game& g) {
    GameState& s = g.s;
    BoardControls& c = g.board;
    optKind_Click(g, s.resumeGame ? s.playerKind[s.curPlayer] : 1);
    setTurnCaption(c, s, g.seatCaptions[static_cast<size_t>(s.curPlayer)]);
    道のり(s);
    新幹線判別(g);
    到達履歴(g);
    路線読み込み(s, g.line, *g.metrics);
    setScrollValue(g.line, s.playerScroll[s.curPlayer]);
    beginTurn(g);
}

}  // namespace kisharin

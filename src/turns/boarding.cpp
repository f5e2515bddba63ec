#include "turns/boarding.h"

#include <algorithm>
#include <cstdlib>

#include "board/line_display.h"
#include "board/startup.h"
#include "scene/ride.h"
#include "state/railway.h"
#include "state/saturate.h"
#include "turns/destinations.h"
#include "turns/game_record.h"
#include "turns/history.h"
#include "turns/messages.h"
#include "turns/turn.h"

namespace kisharin {

namespace {

void paintBox(Game& g, int i, Long colour) {
    if (i >= 1 && i <= g.line.stationCount()) g.line.station(i).fill = colour;
}

}  // namespace

void optKind_Click(Game& g, int kind) {
    if (kind < 1 || kind > 5) return;
    setKindButton(g.board, kind);
    g.s.selKind = static_cast<Integer>(kind);
    g.board.lblSusumu = "１駅" + std::to_string(g.s.kindFare[kind]) + "円かかります。";
}

int forcedKind(const GameState& s, int line) {
    const std::string& name = s.ekiName(line, 0);
    if (name.find("新幹線") != std::string::npos) return 4;
    if (name.find("飛行機") != std::string::npos) return 5;
    return 0;
}

void 新幹線判別(Game& g) {
    const int forced = forcedKind(g.s, g.s.playerRosen[g.s.curPlayer]);
    const bool shinkansen = forced == 4;
    const bool plane = forced == 5;
    for (int k = 1; k <= 3; ++k) g.board.optKind[k].visible = !shinkansen && !plane;
    if (shinkansen) {
        optKind_Click(g, 4);
    } else if (plane) {
        optKind_Click(g, 5);
    } else {
        optKind_Click(g, g.board.ordinaryKind);
    }
}

void lblNorikae_Click(Game& g, Station to) {
    GameState& s = g.s;
    const int p = s.curPlayer;
    // The station file reader checks every link; a link that still names no station
    // is not followed rather than putting the player off the network.
    if (!isStation(s, to.line, to.pos)) return;
    const int pos = to.pos;
    s.playerRosen[p] = static_cast<Integer>(to.line);
    s.playerEki[p] = static_cast<Integer>(pos);
    g.line.hoverEki = 0;
    新幹線判別(g);
    到達履歴(g);
    路線読み込み(g.s, g.line, *g.metrics);
    const int h = kViewportHeight;
    const int v = pos * kStationPitch - h + h / 2;
    const int max = std::max(g.line.scrollMin, g.line.scrollMax);
    g.line.scrollValue = v < 1 ? 0 : v > max ? max : v;
    g.line.hintVisible = false;
}

void debtRule(Game& g) {
    GameState& s = g.s;
    const int p = s.curPlayer;
    if (s.playerMoney[p] >= 0) return;
    g.screens.refreshBoard(s);  // the debt the message speaks of is on the board
    showMessage(g, kMsgDebt);
    showMessage(g, kMsgDebtForgiven);
    s.playerMoney[p] = 0;
    addPoints(s.playerPoint[p], -50);
}

void meetingRule(Game& g) {
    GameState& s = g.s;
    const int p = s.curPlayer;
    if (s.playerRosen[0] != s.playerRosen[1] || s.playerEki[0] != s.playerEki[1]) return;
    g.screens.refreshBoard(s);  // the money as it stands after the ride and any debt
    showMessage(g, kMsgMeeting);
    addPoints(s.playerPoint[p], 50);
    addPoints(s.playerPoint[1 - p], -50);
}

void payRide(Game& g, int ticks) {
    ticks = std::max(ticks, 0);
    if (g.record) g.record->scoreTicks(ticks);
    for (int k = 0; k < ticks; ++k) rideScoreTick(g.s);
}

void lblEki_Click(Game& g, int i) {
    GameState& s = g.s;
    const int p = s.curPlayer;
    const int L = s.playerRosen[p];
    const int e = s.playerEki[p];
    const int d = std::abs(e - i);
    const int n = stationCount(s, L);
    s.moveDone = False;

    if (s.susumuSteps >= d && i != e && i >= 1 && i <= n) {
        paintBox(g, e, kColorWhite);
        s.startEki[p] = static_cast<Integer>(e);
        g.rng.reseed(g.clock.timer());
        s.rideCut = False;
        s.overslept = False;
        const bool up = e < i;
        int end = i;
        const bool cut = g.rng.oneIn(60);  // drawn on every ride, as the chance is
        if (d > 1 && cut) {
            s.rideCut = True;
            const int k = g.rng.pick(d - 1);
            end = up ? i - k : i + k;
        } else if (i != 1 && i != n && g.rng.oneIn(60)) {
            s.overslept = True;
            const int k = g.rng.pick(10);
            end = up ? std::min(i + k, n) : std::max(i - k, 1);
        }
        s.playerEki[p] = static_cast<Integer>(end);
        paintBox(g, end, kColorCurrent);
        clearStationHover(g.line);

        const Long fare = s.kindFare[s.selKind] * std::abs(s.startEki[p] - s.playerEki[p]);
        addMoney(s.playerMoney[p], -fare);
        g.lastRide = {p, L, e, end, fare, static_cast<bool>(s.rideCut), static_cast<bool>(s.overslept)};
        g.screens.refreshBoard(s);
        if (!s.shortMode) {
            OneReading once(g.clock);  // the window's scenery is drawn for one moment
            payRide(g, g.screens.showRide(s, g.rng, once));
        }
        if (s.rideCut) showMessage(g, kMsgRideCut);
        if (s.overslept) {
            showMessage(g, kMsgOverslept);
            addPoints(s.playerPoint[p], -50);
        }
        endOfRide(g);
    }

    checkArrival(g, i);
    if (g.ended) return;
    afterStationClick(g);
}

}  // namespace kisharin

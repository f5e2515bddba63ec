#include "turns/destinations.h"

#include "board/startup.h"
#include "platform/encoding.h"
#include "state/saturate.h"
#include "state/station_draw.h"
#include "turns/game_record.h"
#include "turns/messages.h"

namespace kisharin {

void checkArrival(Game& g, int position) {
    GameState& s = g.s;
    if (g.ended) return;
    const int p = s.curPlayer;
    if (s.playerEki[p] != position) return;
    for (int d = 1; d <= kDestinationCount; ++d) {
        if (s.playerRosen[p] != s.mokutekitiRosen[d] || s.playerEki[p] != s.mokutekitiEki[d]) continue;
        if (s.mokutekitiDone[d]) {
            showMessage(g, kMsgAlreadyArrived);
            addPoints(s.playerPoint[p], 1);
        } else {
            s.mokutekitiDone[d] = True;
            s.arriveCount[p] += 1;
            addPoints(s.playerPoint[p], 100);
            addMoney(s.playerMoney[p], 100000);
            g.screens.refreshBoard(s);  // the 祝金 is on the board when the message speaks of it
            showMessage(g, arrivedText(s.playerName[p]));
        }
        s.moveDone = True;
    }
    for (int d = 1; d <= kDestinationCount; ++d)
        if (!s.mokutekitiDone[d]) return;
    showMessage(g, kMsgGameOver);
    s.turnPhase = TurnPhase::Over;
    // The record's end is written before the results: closing them ends the program.
    g.ended = true;
    if (g.record) g.record->ended(g);
    g.screens.showResults(s);
}

void 地震目的地変更(Game& g) {
    GameState& s = g.s;
    const bool regional = s.playArea >= 1 && s.playArea <= kRegionCount;
    // A regional area needs eight different stations, or a draw could never end.
    if (regional && countStationsIn(s, s.regionPrefs[s.playArea]) < kDestinationCount) return;
    g.rng.reseed(g.clock.timer());
    for (int d = 1; d <= kDestinationCount; ++d) {
        if (s.mokutekitiDone[d]) continue;
        const std::optional<Station> st = drawDestination(s, g.rng, g.clock, d);
        if (!st) continue;
        s.mokutekitiRosen[d] = static_cast<Integer>(st->line);
        s.mokutekitiEki[d] = static_cast<Integer>(st->pos);
    }
}

DestinationListModel destinationListModel(const GameState& s) {
    DestinationListModel m;
    for (int d = 1; d <= kDestinationCount; ++d) {
        const int line = s.mokutekitiRosen[d], pos = s.mokutekitiEki[d];
        DestinationLabel l;
        l.number = d;
        l.text = s.ekiName(line, 0) + "：" + s.ekiName(line, pos) + "　（" + s.ekiPref(line, pos) + "）";
        l.color = s.mokutekitiDone[d] ? kColorDestinationReached : kColorDestinationOpen;
        l.pointSize = charCount(l.text) > 25 ? kDestinationSmallPointSize : kDestinationPointSize;
        l.column = (d - 1) / 4;
        l.row = (d - 1) % 4;
        m.labels.push_back(l);
    }
    return m;
}

std::string CourseModel::text() const {
    std::string t;
    for (const std::string& l : lines) t += l + "\n";
    return t;
}

CourseModel courseModel(const GameState& s) {
    CourseModel m;
    for (size_t i = s.routeList.size(); i-- > 0;) {
        const RoutePoint& pt = s.routeList[i];
        m.lines.push_back(s.ekiName(pt.line, 0));
        m.lines.push_back("　" + s.ekiName(pt.line, pt.pos) + "駅");
        if (i != 0) m.lines.push_back("↓");
    }
    return m;
}

}  // namespace kisharin

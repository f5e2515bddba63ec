#include "turns/history.h"

#include "board/history_file.h"
#include "platform/text_file.h"
#include "state/error.h"
#include "state/railway.h"
#include "state/saturate.h"
#include "turns/messages.h"

namespace kisharin {

bool lineComplete(const GameState& s, int player, int line) {
    const int n = stationCount(s, line);
    if (n == 0) return false;
    for (int p = 1; p <= n; ++p)
        if (!s.visited[player](line, p)) return false;
    return true;
}

void 到達履歴(Game& g) {
    GameState& s = g.s;
    const int player = s.curPlayer;
    const int line = s.playerRosen[player], pos = s.playerEki[player];
    if (!isStation(s, line, pos)) return;
    if (s.visited[player](line, pos)) return;

    // The record goes to disk before the flag is set. When the file cannot be written
    // the player is told and the turn goes on; the flag stays False, so the arrival is
    // written the next time this station is recorded.
    try {
        appendLine(historyPath(s, player), historyRecord(line, pos));
    } catch (const GameError& e) {
        showMessage(g, e.what());
        return;
    }
    s.visited[player](line, pos) = True;

    if (!lineComplete(s, player, line)) return;
    const std::string& name = s.ekiName(line, 0);
    if (name.find("飛行機") != std::string::npos) return;  // air routes cannot be conquered
    if (!s.shortMode) {
        OneReading once(g.clock);  // the celebration's colour is drawn for one moment
        g.screens.showConquest(s, line, g.rng, once);
    }
    showMessage(g, conquestText(name));
    addPoints(s.playerPoint[player], 100);
}

}  // namespace kisharin

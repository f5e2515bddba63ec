#include "board/startup.h"

#include <algorithm>

#include "board/history_file.h"
#include "board/route_graph.h"
#include "board/station_file.h"
#include "state/railway.h"
#include "state/regions.h"
#include "state/station_draw.h"

namespace kisharin {

int scrollMaxFor(int stationCount) {
    return stationCount * kStationPitch + 50 - kViewportHeight;
}

int scrollValueFor(int pos, int stationCount) {
    int v = pos * kStationPitch - kViewportHeight + 50;
    const int max = scrollMaxFor(stationCount);
    if (v <= 0) return 0;
    if (v > max) v = max;
    // The station comes into view at the bottom; the view then starts in the gap above a
    // box, so the station at the top is shown whole rather than cut through. Each box
    // stands 8 pixels above its name, 25 high, 10 pixels of gap between two.
    const int gapAbove = 8 + (kStationPitch - 25) / 2;
    return std::max(0, v - (v + gapAbove) % kStationPitch);
}

std::vector<std::string> loadBoardData(GameState& s) {
    s.mapDataDir = s.appDir + "MapData/";
    buildFareTable(s);
    buildRegionTables(s);
    RailwayData data = readStationFile(s.appDir + "GameData/駅.txt");
    data.routeGraph = buildRouteGraph(data);
    std::vector<std::string> notices;
    VisitedTable v0 = loadHistory(historyPath(s, 0), notices);
    VisitedTable v1 = loadHistory(historyPath(s, 1), notices);
    static_cast<RailwayData&>(s) = std::move(data);
    s.visited[0] = std::move(v0);
    s.visited[1] = std::move(v1);
    return notices;
}

namespace {
// The station file the railway was read from: messages about the railway name it.
std::string stationFile(const GameState& s) {
    return s.appDir + "GameData/駅.txt";
}
const std::vector<std::string>& areaPrefs(const GameState& s) {
    static const std::vector<std::string> none;
    return s.playArea >= 1 && s.playArea <= kRegionCount ? s.regionPrefs[s.playArea] : none;
}
}  // namespace

void setupNewGame(GameState& s, Rng& rng, Clock& clock) {
    if (s.playArea < 0 || s.playArea > kRegionCount)
        throw GameError("遊ぶ地域の番号 " + std::to_string(s.playArea) + " が 0～8 の範囲外です");
    if (lineCount(s) == 0) throw DataError(stationFile(s), 0, "路線が一つもないため、ゲームを始められません");
    const auto& prefs = areaPrefs(s);
    if (!prefs.empty() && !anyStationIn(s, prefs))
        throw DataError(stationFile(s), 0,
                        s.regionName[s.playArea] + "の駅がないため、出発駅を決められません");

    s.gameClock = clock.now();
    s.playSeconds = 0;
    s.selKind = 1;
    for (int p = 0; p < 2; ++p) {
        s.playerKind[p] = 1;
        s.playerMoney[p] = 30000;
        s.playerPoint[p] = 0;
        s.arriveCount[p] = 0;
    }
    for (int p = 0; p < 2; ++p) {
        const auto st = drawStationIn(s, rng, clock, prefs, Reseed::EveryAttempt);
        s.playerRosen[p] = static_cast<Integer>(st->line);
        s.playerEki[p] = static_cast<Integer>(st->pos);
        s.playerScroll[p] = static_cast<Integer>(scrollValueFor(st->pos, stationCount(s, st->line)));
    }
    s.curPlayer = 0;
}

void drawDestinations(GameState& s, Rng& rng, Clock& clock) {
    if (s.resumeGame) return;
    if (s.playArea == 0) {
        for (int i = 1; i <= kDestinationCount; ++i)
            if (!anyStationIn(s, s.regionPrefs[i]))
                throw DataError(stationFile(s), 0,
                                s.regionName[i] + "の駅がないため、目的地を決められません");
    } else {
        const auto& prefs = areaPrefs(s);
        if (countStationsIn(s, prefs) < kDestinationCount)
            throw DataError(stationFile(s), 0,
                            s.regionName[s.playArea] + "の駅が 8 駅に足りないため、目的地を決められません");
    }
    rng.reseed(clock.timer());
    for (int i = 1; i <= kDestinationCount; ++i) {
        const std::optional<Station> st = drawDestination(s, rng, clock, i);
        s.mokutekitiRosen[i] = static_cast<Integer>(st->line);
        s.mokutekitiEki[i] = static_cast<Integer>(st->pos);
        s.mokutekitiDone[i] = False;
    }
}

std::optional<Station> drawDestination(const GameState& s, Rng& rng, Clock& clock, int d) {
    if (s.playArea == 0) return drawStationIn(s, rng, clock, s.regionPrefs[d], Reseed::Never);
    return drawStationIn(s, rng, clock, areaPrefs(s), Reseed::Never, [&](const Station& c) {
        for (int j = 1; j < d; ++j)
            if (s.mokutekitiRosen[j] == c.line && s.mokutekitiEki[j] == c.pos) return false;
        return true;
    });
}

std::string turnCaption(const GameState& s) {
    const int p = s.curPlayer;
    return s.playerName[p] + "の番です（" + s.ekiPref(s.playerRosen[p], s.playerEki[p]) + "）";
}

std::vector<std::string> startBoard(GameState& s, Rng& rng, Clock& clock, const std::function<void()>& beforeDraw) {
    std::vector<std::string> notices = loadBoardData(s);
    if (s.resumeGame) {
        s.selKind = s.playerKind[s.curPlayer];
    } else {
        if (beforeDraw) beforeDraw();
        setupNewGame(s, rng, clock);
        drawDestinations(s, rng, clock);
    }
    return notices;
}

}  // namespace kisharin

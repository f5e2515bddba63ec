#include "setup/results.h"

namespace kisharin {

std::string playTimeText(long seconds) {
    if (seconds < 0) seconds = 0;
    const long hours = seconds / 3600;
    const long minutes = seconds % 3600 / 60;
    std::string t;
    if (hours > 0) t += std::to_string(hours) + "時間";
    if (minutes > 0) t += std::to_string(minutes) + "分";
    return t;
}

ResultsModel resultsModel(const GameState& s) {
    ResultsModel m;
    for (int p = 0; p <= 1; ++p) {
        m.man[p] = s.playerName[p];
        m.point[p] = "ポイント：" + std::to_string(s.playerPoint[p]) + "P";
        m.money[p] = "金額　　：" + std::to_string(s.playerMoney[p]) + "円";
        m.arrive[p] = "到達数 ：" + std::to_string(s.arriveCount[p]) + "回";
    }
    m.playTime = "PlayTime：" + playTimeText(s.playSeconds);
    return m;
}

}  // namespace kisharin

#include "scene/announce.h"

#include <algorithm>

namespace kisharin {

std::vector<std::string> arrivalAnnouncement(const GameState& s) {
    const int p = s.curPlayer;
    const int L = s.playerRosen[p];
    const int E = s.playerEki[p];
    std::vector<std::string> said{s.ekiYomi(L, E) + kAnnounceIs};

    std::vector<std::string> lines;
    const int rows = std::min<int>(s.norikaeCount, s.norikaeList.rows());
    for (int k = 1; k < rows; ++k) {
        if (s.norikaeList(k, 2) != E) continue;
        const int other = s.norikaeList(k, 0);
        lines.push_back(other >= 0 && other <= kMaxLine ? s.ekiYomi(other, 0) : std::string());
    }
    if (lines.size() > 2) {
        said.emplace_back(kAnnounceManyLines);
    } else if (!lines.empty()) {
        said.insert(said.end(), lines.begin(), lines.end());
        said.emplace_back(kAnnounceChange);
    }
    return said;
}

void announceArrival(const GameState& s, Speech& voice) {
    for (const std::string& text : arrivalAnnouncement(s)) voice.speak(text);
}

}  // namespace kisharin

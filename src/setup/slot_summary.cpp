#include "setup/slot_summary.h"

#include <chrono>
#include <ctime>
#include <filesystem>

#include "platform/text_file.h"
#include "setup/save_slot.h"
#include "setup/settings.h"
#include "setup/values.h"
#include "state/error.h"
#include "state/railway.h"

namespace kisharin {

namespace {}  // namespace

std::vector<std::string> SlotSummary::lines(const std::string (&names)[2]) const {
    if (!exists) return {"（空き）"};
    if (!problem.empty()) return {"読み込めません", problem};
    std::vector<std::string> out{(savedAt.empty() ? clock : "保存：" + savedAt) + "　" + areaCaption(area)};
    for (int p = 0; p <= 1; ++p) out.push_back(names[p] + "　" + moneyText(money[p]) + "　" + station[p]);
    return out;
}

std::string fileTimeText(const std::string& path) {
    std::error_code ec;
    const auto changed = std::filesystem::last_write_time(path, ec);
    if (ec) return {};
    const std::time_t t = std::chrono::system_clock::to_time_t(
        std::chrono::time_point_cast<std::chrono::system_clock::duration>(
            std::chrono::file_clock::to_sys(changed)));
    std::tm local{};
    if (!localtime_r(&t, &local)) return {};
    char text[32];
    return std::strftime(text, sizeof text, "%Y/%m/%d %H:%M", &local) ? std::string(text) : std::string();
}

SlotSummary readSlotSummary(const std::string& gameDataDir, int n, const RailwayData& railway) {
    SlotSummary m;
    const std::string path = slotPath(gameDataDir, n);
    if (!fileExists(path)) return m;
    m.exists = true;
    GameState s;  // the slot alone: no railway tables are copied
    try {
        readSlot(gameDataDir, n, s);
    } catch (const GameError& e) {
        m.problem = e.what();
        return m;
    }
    m.clock = slotClockText(s.gameClock);
    m.savedAt = fileTimeText(path);
    m.area = s.playArea;
    for (int p = 0; p <= 1; ++p) {
        m.money[p] = s.playerMoney[p];
        const int L = s.playerRosen[p], E = s.playerEki[p];
        if (isStation(railway, L, E))
            m.station[p] = railway.ekiName(L, 0) + "　" + railway.ekiName(L, E) + "駅";
        else
            m.station[p] = "路線" + std::to_string(L) + "の" + std::to_string(E) + "番目の駅";
    }
    return m;
}

}  // namespace kisharin

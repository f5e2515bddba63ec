#include "state/regions.h"

#include <algorithm>

namespace kisharin {

void buildRegionTables(GameState& s) {
    struct Row {
        const char* name;
        std::vector<std::string> prefs;
        Long color;
    };
    const Row rows[kRegionCount] = {
        {"北海道地方", {"北海道"}, rgb(238, 221, 255)},
        {"東北地方", {"青森県", "岩手県", "秋田県", "宮城県", "福島県", "山形県"}, rgb(217, 236, 255)},
        {"関東地方", {"栃木県", "茨城県", "群馬県", "千葉県", "埼玉県", "東京都", "神奈川県"}, rgb(217, 255, 255)},
        {"中部地方",
         {"愛知県", "静岡県", "山梨県", "長野県", "新潟県", "岐阜県", "富山県", "福井県", "石川県"},
         rgb(230, 242, 242)},
        {"近畿地方", {"大阪府", "京都府", "奈良県", "三重県", "和歌山県", "滋賀県", "兵庫県"}, rgb(223, 255, 223)},
        {"中国地方", {"鳥取県", "島根県", "山口県", "広島県", "岡山県"}, rgb(255, 255, 223)},
        {"四国地方", {"徳島県", "愛媛県", "香川県", "高知県"}, rgb(255, 238, 230)},
        {"九州地方",
         {"福岡県", "佐賀県", "長崎県", "熊本県", "大分県", "宮崎県", "鹿児島県", "沖縄県"},
         rgb(255, 230, 255)},
    };
    s.regionName[0].clear();
    s.regionPrefs[0].clear();
    s.regionColor[0] = 0;
    for (int r = 1; r <= kRegionCount; ++r) {
        s.regionName[r] = rows[r - 1].name;
        s.regionPrefs[r] = rows[r - 1].prefs;
        s.regionColor[r] = rows[r - 1].color;
    }
}

void buildFareTable(GameState& s) {
    const Long fares[6] = {0, 150, 300, 500, 5000, 30000};
    for (int k = 0; k < 6; ++k) s.kindFare[k] = fares[k];
}

int regionOf(const GameState& s, const std::string& pref) {
    for (int r = 1; r <= kRegionCount; ++r) {
        const auto& prefs = s.regionPrefs[r];
        if (std::find(prefs.begin(), prefs.end(), pref) != prefs.end()) return r;
    }
    return 0;
}

std::vector<std::string> allPrefectures(const GameState& s) {
    std::vector<std::string> out;
    for (int r = 1; r <= kRegionCount; ++r)
        out.insert(out.end(), s.regionPrefs[r].begin(), s.regionPrefs[r].end());
    return out;
}

}  // namespace kisharin

#include "maps/picker.h"

#include <cmath>
#include <map>
#include <mutex>
#include <utility>

#include "platform/encoding.h"
#include "state/error.h"

namespace kisharin {

namespace {

const std::array<std::string, kPrefCount + 1> kCaptions = {
    "",         "北海道", "青森県", "岩手県", "宮城県",   "秋田県", "山形県",   "福島県", "茨城県", "栃木県",
    "群馬県",   "埼玉県", "千葉県", "東京都", "神奈川県", "新潟県", "富山県",   "石川県", "福井県", "山梨県",
    "長野県",   "岐阜県", "静岡県", "愛知県", "三重県",   "滋賀県", "京都府",   "大阪府", "兵庫県", "奈良県",
    "和歌山県", "鳥取県", "島根県", "岡山県", "広島県",   "山口県", "徳島県",   "香川県", "愛媛県", "高知県",
    "福岡県",   "佐賀県", "長崎県", "熊本県", "大分県",   "宮崎県", "鹿児島県", "沖縄県",
};

// Top-left corners of the labels: each over its own prefecture, none touching another.
const int kLabelAt[kPrefCount + 1][2] = {
    {0, 0},     {395, 67},  {347, 151}, {361, 191}, {356, 217}, {333, 177}, {324, 214}, {333, 251},
    {344, 287}, {323, 271}, {291, 273}, {312, 287}, {350, 301}, {318, 301}, {318, 315}, {301, 242},
    {258, 271}, {250, 257}, {234, 294}, {286, 303}, {290, 259}, {266, 289}, {293, 329}, {261, 321},
    {249, 340}, {238, 308}, {205, 309}, {216, 338}, {203, 324}, {237, 354}, {225, 368}, {173, 306},
    {139, 321}, {171, 325}, {152, 339}, {120, 347}, {193, 357}, {184, 343}, {149, 362}, {170, 376},
    {102, 361}, {82, 375},  {83, 389},  {115, 390}, {124, 376}, {124, 412}, {92, 426},  {103, 81},
};

void checkCode(int code) {
    if (code < 1 || code > kPrefCount)
        throw GameError("都道府県の番号 " + std::to_string(code) + " はありません");
}

}  // namespace

const std::string& prefectureCaption(int code) {
    checkCode(code);
    return kCaptions[static_cast<size_t>(code)];
}

int prefectureRegion(int code) {
    checkCode(code);
    if (code == 1) return 1;
    if (code <= 7) return 2;
    if (code <= 14) return 3;
    if (code <= 23) return 4;
    if (code <= 30) return 5;
    if (code <= 35) return 6;
    if (code <= 39) return 7;
    return 8;
}

PickerRect pickerLabel(int code) {
    checkCode(code);
    const int chars = charCount(kCaptions[static_cast<size_t>(code)]);
    return {kLabelAt[code][0], kLabelAt[code][1], kPickerLabelPixels * chars + 4, kPickerLabelPixels + 4};
}

PickerPoint pickerProject(int code, double lat, double lon) {
    // Equal-distance degrees near 37 degrees north: 24 pixels a degree of longitude,
    // 30 a degree of latitude. The main map puts Tokyo at (336, 308); the inset puts
    // the middle of Okinawa Island at (121, 88).
    if (code == 47) return {121 + (lon - 127.8) * 24, 88 - (lat - 26.4) * 30};
    return {336 + (lon - 139.7) * 24, 308 - (lat - 35.69) * 30};
}

const JapanOutline& japanOutline(const std::string& mapDataDir) {
    static std::mutex lock;
    static std::map<std::string, JapanOutline> cache;
    std::lock_guard guard(lock);
    const auto it = cache.find(mapDataDir);
    if (it != cache.end()) return it->second;
    JapanOutline out;
    for (int code = 1; code <= kPrefCount; ++code) {
        PrefOutline p;
        p.code = code;
        p.region = prefectureRegion(code);
        try {
            for (const GeoLine& ring : readBoundary(mapDataDir, prefectureCaption(code))) {
                std::vector<PickerPoint> pts;
                pts.reserve(ring.size());
                for (const GeoPoint& g : ring) {
                    const PickerPoint q = pickerProject(code, g.lat, g.lon);
                    // Points closer than half a pixel to the last one add nothing.
                    if (!pts.empty() && std::abs(q.x - pts.back().x) < 0.5 &&
                        std::abs(q.y - pts.back().y) < 0.5)
                        continue;
                    pts.push_back(q);
                }
                if (pts.size() >= 3) p.rings.push_back(std::move(pts));
            }
        } catch (const GameError& e) {
            out.faults.push_back(e.what());
            continue;
        }
        out.prefs.push_back(std::move(p));
    }
    return cache.emplace(mapDataDir, std::move(out)).first->second;
}

int pickerKeyMove(int code, PickerKey k) {
    checkCode(code);
    if (k == PickerKey::Next) return code % kPrefCount + 1;
    if (k == PickerKey::Previous) return (code + kPrefCount - 2) % kPrefCount + 1;
    const auto centre = [](int c) {
        const PickerRect r = pickerLabel(c);
        return std::pair<double, double>(r.x + r.w / 2.0, r.y + r.h / 2.0);
    };
    const auto [fx, fy] = centre(code);
    // The way as a unit step: along it and across it.
    const double ax = k == PickerKey::Left ? -1 : k == PickerKey::Right ? 1 : 0;
    const double ay = k == PickerKey::Up ? -1 : k == PickerKey::Down ? 1 : 0;
    int best = code;
    double bestCost = 0;
    for (int c = 1; c <= kPrefCount; ++c) {
        if (c == code) continue;
        const auto [x, y] = centre(c);
        const double along = (x - fx) * ax + (y - fy) * ay;
        const double across = std::abs((x - fx) * ay - (y - fy) * ax);
        if (along <= 0 || across > along) continue;
        const double cost = along + 2 * across;
        if (best == code || cost < bestCost) {
            best = c;
            bestCost = cost;
        }
    }
    return best;
}

int pickerStart(const GameState& s) {
    const int p = s.curPlayer == 1 ? 1 : 0;
    const std::string& pref = s.ekiPref(s.playerRosen[p], s.playerEki[p]);
    for (int code = 1; code <= kPrefCount; ++code)
        if (kCaptions[static_cast<size_t>(code)] == pref) return code;
    return 13;
}

MapPick& mapPick() {
    static MapPick pick;
    return pick;
}

bool lblPref_Click(int code, bool moveMode) {
    mapPick().pickedPref = prefectureCaption(code);
    if (moveMode) return false;
    mapPick().prefPicked = true;
    return true;
}

}  // namespace kisharin

#include "setup/save_slot.h"

#include "platform/text_file.h"
#include "setup/settings.h"
#include "setup/values.h"
#include "state/datetime.h"
#include "state/error.h"
#include "state/railway.h"
#include "state/saturate.h"

namespace kisharin {

namespace {

int destLine(int d) {
    return 5 + 3 * (d - 1);
}
int playerLine(int p) {
    return 29 + 7 * p;
}

class SlotReader {
  public:
    SlotReader(const std::vector<std::string>& lines, const std::string& name) : lines_(lines), name_(name) {}

    long long integer(int line, long long lo, long long hi) {
        const std::string& t = lines_[static_cast<size_t>(line - 1)];
        const auto v = parseInteger(t);
        if (!v) fail(line, "数値ではありません（「" + t + "」）");
        if (*v < lo || *v > hi)
            fail(line, "値 " + std::to_string(*v) + " は " + std::to_string(lo) + "～" + std::to_string(hi) +
                           " の範囲外です");
        return *v;
    }
    bool flag(int line) {
        const std::string& t = lines_[static_cast<size_t>(line - 1)];
        const auto v = parseFlag(t);
        if (!v) fail(line, "True か False のはずです（「" + t + "」）");
        return *v;
    }
    double clock(int line) {
        const std::string& t = lines_[static_cast<size_t>(line - 1)];
        const auto v = parseShortDateTime(trimBlanks(t));
        if (!v) fail(line, "日付と時刻ではありません（「" + t + "」）");
        return *v;
    }
    [[noreturn]] void fail(int line, const std::string& what) { throw DataError(name_, line, what); }

  private:
    const std::vector<std::string>& lines_;
    const std::string& name_;
};

bool badLine(const GameState& s, int line) {
    return line < 1 || line > lineCount(s) || stationCount(s, line) == 0;
}

constexpr long long kLongMax = 2147483647LL;

}  // namespace

std::string slotClockText(double serial) {
    std::string t = shortDateTimeText(serial);
    const std::string midnight = " 00:00:00";
    if (t.size() > midnight.size() && t.compare(t.size() - midnight.size(), midnight.size(), midnight) == 0)
        t.resize(t.size() - midnight.size());
    return t;
}

std::vector<std::string> slotLines(const GameState& s) {
    std::vector<std::string> out;
    out.reserve(kSlotLines);
    out.push_back(printInteger(s.playArea));
    out.push_back(slotClockText(s.gameClock));
    out.push_back(printInteger(s.playSeconds));
    out.push_back(printInteger(s.curPlayer));
    for (int d = 1; d <= kDestinationCount; ++d) {
        out.push_back(printFlag(s.mokutekitiDone[d]));
        out.push_back(printInteger(s.mokutekitiRosen[d]));
        out.push_back(printInteger(s.mokutekitiEki[d]));
    }
    for (int p = 0; p <= 1; ++p) {
        out.push_back(printInteger(s.playerMoney[p]));
        out.push_back(printInteger(s.playerPoint[p]));
        out.push_back(printInteger(s.playerScroll[p]));
        out.push_back(printInteger(s.playerKind[p]));
        out.push_back(printInteger(s.arriveCount[p]));
        out.push_back(printInteger(s.playerRosen[p]));
        out.push_back(printInteger(s.playerEki[p]));
    }
    return out;
}

void applySlotLines(GameState& s, const std::vector<std::string>& lines, const std::string& slotName) {
    SlotReader r(lines, slotName);
    if (static_cast<int>(lines.size()) < kSlotLines)
        r.fail(static_cast<int>(lines.size()) + 1, std::to_string(kSlotLines) + "行あるはずが" +
                                                       std::to_string(lines.size()) + "行しかありません");

    // Convert everything into a copy first; the game changes only when all 42 are good.
    struct Loaded {
        Integer playArea, curPlayer;
        double gameClock;
        Long playSeconds;
        bool done[9];
        Integer rosen[9], eki[9];
        Long money[2], point[2];
        Integer scroll[2], kind[2], arrive[2], pRosen[2], pEki[2];
    } v{};
    v.playArea = static_cast<Integer>(r.integer(1, 0, 8));
    v.gameClock = r.clock(2);
    v.playSeconds = static_cast<Long>(r.integer(3, 0, kLongMax));
    v.curPlayer = static_cast<Integer>(r.integer(4, 0, 1));
    for (int d = 1; d <= kDestinationCount; ++d) {
        v.done[d] = r.flag(destLine(d));
        v.rosen[d] = static_cast<Integer>(r.integer(destLine(d) + 1, 1, kMaxLine));
        v.eki[d] = static_cast<Integer>(r.integer(destLine(d) + 2, 1, kMaxPosition));
    }
    for (int p = 0; p <= 1; ++p) {
        const int b = playerLine(p);
        // Money and points are held within their limits in play; a slot beyond them
        // was not written by a game.
        v.money[p] = static_cast<Long>(r.integer(b, -kMoneyLimit, kMoneyLimit));
        v.point[p] = static_cast<Long>(r.integer(b + 1, -kPointLimit, kPointLimit));
        v.scroll[p] = static_cast<Integer>(r.integer(b + 2, -32768, 32767));
        v.kind[p] = static_cast<Integer>(r.integer(b + 3, 1, 5));
        v.arrive[p] = static_cast<Integer>(r.integer(b + 4, 0, kDestinationCount));
        v.pRosen[p] = static_cast<Integer>(r.integer(b + 5, 1, kMaxLine));
        v.pEki[p] = static_cast<Integer>(r.integer(b + 6, 1, kMaxPosition));
    }

    s.playArea = v.playArea;
    s.gameClock = v.gameClock;
    s.playSeconds = v.playSeconds;
    s.curPlayer = v.curPlayer;
    for (int d = 1; d <= kDestinationCount; ++d) {
        s.mokutekitiDone[d] = v.done[d];
        s.mokutekitiRosen[d] = v.rosen[d];
        s.mokutekitiEki[d] = v.eki[d];
    }
    for (int p = 0; p <= 1; ++p) {
        s.playerMoney[p] = v.money[p];
        s.playerPoint[p] = v.point[p];
        s.playerScroll[p] = v.scroll[p];
        s.playerKind[p] = v.kind[p];
        s.arriveCount[p] = v.arrive[p];
        s.playerRosen[p] = v.pRosen[p];
        s.playerEki[p] = v.pEki[p];
    }
}

void writeSlot(const std::string& gameDataDir, int n, const GameState& s) {
    writeLinesAtomic(slotPath(gameDataDir, n), slotLines(s));
}

void readSlot(const std::string& gameDataDir, int n, GameState& s) {
    const std::string path = slotPath(gameDataDir, n);
    const std::string name = baseName(path);
    if (!fileExists(path)) throw DataError(name, 0, "ファイルがありません");
    // Only the slot's own lines are read; whatever follows them is ignored unread.
    applySlotLines(s, decodeLines(readFileBytes(path), name, kSlotLines), name);
}

void checkSlotStations(const GameState& s, const std::string& slotName) {
    for (int d = 1; d <= kDestinationCount; ++d)
        if (!isStation(s, s.mokutekitiRosen[d], s.mokutekitiEki[d]))
            throw DataError(slotName, destLine(d) + (badLine(s, s.mokutekitiRosen[d]) ? 1 : 2),
                            "目的地" + std::to_string(d) + "の駅（" + std::to_string(s.mokutekitiRosen[d]) +
                                "，" + std::to_string(s.mokutekitiEki[d]) + "）が路線データにありません");
    for (int p = 0; p <= 1; ++p)
        if (!isStation(s, s.playerRosen[p], s.playerEki[p]))
            throw DataError(slotName, playerLine(p) + (badLine(s, s.playerRosen[p]) ? 5 : 6),
                            "Player" + std::to_string(p + 1) + "の駅（" + std::to_string(s.playerRosen[p]) +
                                "，" + std::to_string(s.playerEki[p]) + "）が路線データにありません");
}

}  // namespace kisharin

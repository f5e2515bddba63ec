// The game's record on any bytes, read and played as `kisharin --replay` does on the
// shipped data: the record is refused with a message naming the file and a line of it,
// or every game in it is played to where its record stops, with money, points and
// arrivals the game can hold, and a second replay of the same file ends every game alike.
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "platform/data_home.h"
#include "record/game_record.h"
#include "state/saturate.h"
#include "state/types.h"

using namespace kisharin;

namespace {

// Only the first lines of an input are played: a whole short game on the Kyūshū board is
// about 700 lines; more lines add time, not new ways through the reader.
constexpr int kMaxLines = 1000;

std::string firstLines(const std::string& bytes, int count) {
    std::size_t at = 0;
    for (int n = 0; n < count; ++n) {
        at = bytes.find('\n', at);
        if (at == std::string::npos) return bytes;
        ++at;
    }
    return bytes.substr(0, at);
}

void checkEnd(const ReplayEnd& e, std::size_t game) {
    const std::string where = "game " + std::to_string(game + 1) + ": ";
    for (int p = 0; p < 2; ++p) {
        const auto i = static_cast<std::size_t>(p);
        fuzz::require(e.money[i] >= -kMoneyLimit && e.money[i] <= kMoneyLimit,
                      where + "money beyond its limit: " + std::to_string(e.money[i]));
        fuzz::require(e.points[i] >= -kPointLimit && e.points[i] <= kPointLimit,
                      where + "points beyond their limit: " + std::to_string(e.points[i]));
        fuzz::require(e.arrived[i] >= 0 && e.arrived[i] <= kDestinationCount,
                      where + "arrivals beyond the destinations: " + std::to_string(e.arrived[i]));
    }
}

bool sameEnd(const ReplayEnd& a, const ReplayEnd& b) {
    return a.points == b.points && a.money == b.money && a.arrived == b.arrived && a.commands == b.commands &&
           a.ended == b.ended && a.matches == b.matches;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes = firstLines(fuzz::asBytes(data, size), kMaxLines);
    static const std::string path = fuzz::scratchDir() + "GameRecord.jsonl";
    static const std::string appDir = shippedDataDir();
    fuzz::writeScratch(path, bytes);

    std::vector<ReplayEnd> first;
    try {
        first = replayRecord(path, appDir);
    } catch (const DataError& e) {
        fuzz::checkRefusal(e, path, fuzz::lineCountOf(bytes));
        return 0;
    } catch (const GameError& e) {
        // Any other refusal names the record too; the game's own "内部エラー" (a table
        // read out of its range) names no file and is a fault, not a refusal.
        fuzz::require(std::string(e.what()).find(path) != std::string::npos,
                      std::string("a refusal that does not name the record: ") + e.what());
        return 0;
    }
    for (std::size_t i = 0; i < first.size(); ++i) checkEnd(first[i], i);

    std::vector<ReplayEnd> second;
    try {
        second = replayRecord(path, appDir);
    } catch (const GameError& e) {
        fuzz::fail(std::string("a record that replayed is refused the second time: ") + e.what());
    }
    fuzz::require(second.size() == first.size(), "the second replay plays another number of games");
    for (std::size_t i = 0; i < first.size(); ++i)
        fuzz::require(sameEnd(first[i], second[i]),
                      "game " + std::to_string(i + 1) + " ends otherwise when the record is replayed again");
    return 0;
}

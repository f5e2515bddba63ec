#include "record/game_list.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <nlohmann/json.hpp>

#include "platform/data_home.h"
#include "platform/text_file.h"
#include "state/error.h"
#include "state/saturate.h"
#include "state/types.h"

namespace kisharin {

using nlohmann::json;

namespace {

constexpr const char* kEndNames[] = {"results", "closed", "saved"};
constexpr const char* kStrengths[] = {"よわい", "ふつう", "つよい"};

bool goodSeat(const std::string& s) {
    if (s == "man" || s == "net") return true;
    for (const char* st : kStrengths)
        if (s == std::string("com:") + st) return true;
    return false;
}

// A kept record's name: digits and ".jsonl" only, so that nothing read from the list
// reaches beyond the records' folder.
bool goodRecordName(const std::string& r) {
    if (r.empty()) return true;
    if (r.size() < 7 || r.size() > 20 || !r.ends_with(".jsonl")) return false;
    return std::all_of(r.begin(), r.end() - 6, [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

const char* gameEndCaption(GameEnd e) {
    switch (e) {
        case GameEnd::Results:
            return "終了";
        case GameEnd::Closed:
            return "中断（盤を閉じた）";
        case GameEnd::Saved:
            return "中断（保存）";
    }
    return "";
}

int GameEntry::leader() const {
    return points[0] > points[1] ? 0 : points[1] > points[0] ? 1 : -1;
}

std::string opponentKind(const GameEntry& e) {
    const std::string& s = e.joined() ? e.seats[0] : e.seats[1];
    return s.starts_with("com:") ? s.substr(4) : s;
}

std::string seatCaption(const GameEntry& e, int p) {
    const std::string& s = e.seats[p == 0 ? 0 : 1];
    if (s == "net") return "ネット";
    if (s.starts_with("com:")) return "Com：" + s.substr(4);
    return e.host ? "Man（ホスト）" : "Man";
}

std::string gameListPath(const std::string& gameDataDir) {
    return gameDataDir + "GameList.jsonl";
}

std::string keptRecordsDir(const std::string& gameDataDir) {
    return gameDataDir + "対戦記録/";
}

std::string keptRecordPath(const std::string& gameDataDir, const GameEntry& e) {
    return e.record.empty() ? std::string() : keptRecordsDir(gameDataDir) + e.record;
}

std::string entryLine(const GameEntry& e) {
    return json{{"v", kGameListVersion},
                {"n", e.number},
                {"when", e.when},
                {"area", e.area},
                {"short", e.shortMode},
                {"names", {e.names[0], e.names[1]}},
                {"seats", {e.seats[0], e.seats[1]}},
                {"host", e.host},
                {"turns", e.turns},
                {"points", {e.points[0], e.points[1]}},
                {"money", {e.money[0], e.money[1]}},
                {"arrived", {e.arrived[0], e.arrived[1]}},
                {"end", kEndNames[static_cast<int>(e.end)]},
                {"record", e.record}}
        .dump(-1, ' ', false, json::error_handler_t::replace);
}

bool parseEntry(const std::string& line, GameEntry& out, std::string& why) {
    if (line.size() > kMaxGameListLine) {
        why = "行が長すぎます（" + std::to_string(kMaxGameListLine) + " バイトまで）";
        return false;
    }
    const json j = json::parse(line, nullptr, false);
    if (j.is_discarded() || !j.is_object()) {
        why = "JSON のオブジェクトではありません";
        return false;
    }
    GameEntry e;
    auto fail = [&](const std::string& what) {
        why = what;
        return false;
    };
    auto get = [&](const char* key) -> const json* {
        const auto it = j.find(key);
        return it == j.end() ? nullptr : &*it;
    };
    auto integer = [&](const char* key, long long lo, long long hi, long long& v) {
        const json* x = get(key);
        if (!x || !x->is_number_integer()) return false;
        v = x->get<long long>();
        return v >= lo && v <= hi;
    };
    auto pair = [&](const char* key, long long lo, long long hi, std::array<long long, 2>& v) {
        const json* x = get(key);
        if (!x || !x->is_array() || x->size() != 2) return false;
        for (std::size_t i = 0; i < 2; ++i) {
            if (!(*x)[i].is_number_integer()) return false;
            v[i] = (*x)[i].get<long long>();
            if (v[i] < lo || v[i] > hi) return false;
        }
        return true;
    };
    auto texts = [&](const char* key, std::array<std::string, 2>& v) {
        const json* x = get(key);
        if (!x || !x->is_array() || x->size() != 2 || !(*x)[0].is_string() || !(*x)[1].is_string())
            return false;
        v = {(*x)[0].get<std::string>(), (*x)[1].get<std::string>()};
        return true;
    };
    auto flag = [&](const char* key, bool& v) {
        const json* x = get(key);
        if (!x || !x->is_boolean()) return false;
        v = x->get<bool>();
        return true;
    };
    long long n = 0;
    if (!integer("v", 0, 1000, n)) return fail("項目 v（版）がありません");
    if (n != kGameListVersion) return fail("この版では読めない行です（版 " + std::to_string(n) + "）");
    if (!integer("n", 1, kMaxGameNumber, n)) return fail("項目 n（番号）が 1 以上の整数ではありません");
    e.number = static_cast<int>(n);
    const json* when = get("when");
    if (!when || !when->is_string() || when->get_ref<const std::string&>().size() > 40)
        return fail("項目 when（日時）が文字列ではありません");
    e.when = when->get<std::string>();
    if (!integer("area", 0, 8, n)) return fail("項目 area（地域）が 0～8 ではありません");
    e.area = static_cast<int>(n);
    if (!flag("short", e.shortMode)) return fail("項目 short が true か false ではありません");
    if (!texts("names", e.names)) return fail("項目 names が二人の名前ではありません");
    if (!texts("seats", e.seats) || !goodSeat(e.seats[0]) || !goodSeat(e.seats[1]))
        return fail("項目 seats が二人の席（man、com:ふつう、net など）ではありません");
    if (!flag("host", e.host)) return fail("項目 host が true か false ではありません");
    if (!integer("turns", 0, 1'000'000'000, n))
        return fail("項目 turns（手番の数）が 0 以上の整数ではありません");
    e.turns = static_cast<int>(n);
    if (!pair("points", -kPointLimit, kPointLimit, e.points))
        return fail("項目 points が二人分の得点ではありません");
    if (!pair("money", -kMoneyLimit, kMoneyLimit, e.money))
        return fail("項目 money が二人分の所持金ではありません");
    std::array<long long, 2> arrived{};
    if (!pair("arrived", 0, kDestinationCount, arrived))
        return fail("項目 arrived が二人分の到達数（0～8）ではありません");
    e.arrived = {static_cast<int>(arrived[0]), static_cast<int>(arrived[1])};
    const json* end = get("end");
    const auto known = end && end->is_string()
                           ? std::find(std::begin(kEndNames), std::end(kEndNames), end->get<std::string>())
                           : std::end(kEndNames);
    if (known == std::end(kEndNames)) return fail("項目 end が results、closed、saved のどれでもありません");
    e.end = static_cast<GameEnd>(known - std::begin(kEndNames));
    const json* record = get("record");
    if (!record || !record->is_string() || !goodRecordName(record->get<std::string>()))
        return fail("項目 record が記録のファイル名（数字.jsonl）ではありません");
    e.record = record->get<std::string>();
    out = std::move(e);
    return true;
}

GameListRead parseGameList(const std::string& bytes, const std::string& name) {
    GameListRead r;
    std::size_t start = 0;
    int number = 0;
    std::string_view all(bytes);
    if (bytes.size() > kMaxGameListBytes) {
        // Only the newest part is read: from the first whole line of the last part.
        const std::size_t from = bytes.find('\n', bytes.size() - kMaxGameListBytes);
        start = from == std::string::npos ? bytes.size() : from + 1;
        r.notices.push_back("ファイル「" + name + "」が大きすぎるため（" +
                            std::to_string(kMaxGameListBytes >> 20) +
                            " MB まで）、終わりの部分だけを読みました");
    }
    const std::size_t skipped = start;
    while (start < bytes.size()) {
        const std::size_t lf = bytes.find('\n', start);
        const bool ended = lf != std::string::npos;
        const std::size_t next = ended ? lf + 1 : bytes.size();
        std::size_t stop = ended ? lf : bytes.size();
        if (stop > start && bytes[stop - 1] == '\r') --stop;
        ++number;
        const std::string text(all.substr(start, stop - start));
        const std::string where = "ファイル「" + name + "」の" + (skipped ? "読んだ部分の" : "") +
                                  std::to_string(number) + "行目：";
        if (!text.empty()) {
            ++r.lines;
            GameEntry e;
            std::string why;
            if (parseEntry(text, e, why)) {
                r.entries.push_back(std::move(e));
            } else if (!ended) {
                // Written when the program stopped or the disk filled: the entry of that game
                // is lost, the others stay.
                r.cut = true;
                r.cutBytes = start;
                r.notices.push_back(where + "途中で切れた行（書きかけで終わった対戦）を読み飛ばしました");
            } else {
                r.notices.push_back(where + why + "。この行を読み飛ばしました");
            }
        }
        start = next;
    }
    return r;
}

GameListRead readGameList(const std::string& gameDataDir) {
    const std::string path = gameListPath(gameDataDir);
    if (!fileExists(path)) return {};
    try {
        return parseGameList(readFileBytes(path), path);
    } catch (const DataError& e) {
        GameListRead r;
        r.notices.push_back(e.what());
        return r;
    }
}

namespace {

// The records kept in the folder, `<number>.jsonl`, with their sizes, oldest (smallest
// number) first. A copy a crash left half-made ("17.jsonl.tmpAb12Cd") is removed.
std::vector<std::pair<long long, std::uint64_t>> keptRecords(const std::string& folder) {
    std::vector<std::pair<long long, std::uint64_t>> out;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return out;
    while (const dirent* d = ::readdir(dir)) {
        const std::string name = d->d_name;
        const std::size_t dot = name.find(".jsonl");
        if (dot == 0 || dot == std::string::npos || dot > 10 ||
            !std::all_of(name.begin(), name.begin() + static_cast<std::ptrdiff_t>(dot),
                         [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        const std::string path = folder + name;
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        if (name.size() == dot + 6)
            out.emplace_back(std::stoll(name.substr(0, dot)), static_cast<std::uint64_t>(st.st_size));
        else if (name.size() == dot + 6 + 10 && name.compare(dot + 6, 4, ".tmp") == 0)
            ::unlink(path.c_str());
    }
    ::closedir(dir);
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace

GameEntry addGame(const std::string& gameDataDir, GameEntry e, const std::string& recordFile,
                  const GameListBounds& bounds) {
    const std::string path = gameListPath(gameDataDir);
    std::string bytes;
    if (fileExists(path)) bytes = readFileBytes(path);  // a list that cannot be read: GameError
    GameListRead list = parseGameList(bytes, path);
    if (list.cut) writeBytesAtomic(path, bytes.substr(0, list.cutBytes));  // the torn last line goes
    int last = 0;
    for (const GameEntry& k : list.entries) last = std::max(last, k.number);
    if (last >= kMaxGameNumber)
        throw GameError("ファイル「" + path + "」：対戦の番号が上限（" + std::to_string(kMaxGameNumber) +
                        "）に達しているため、書けません");
    e.number = last + 1;
    e.record.clear();
    const std::string folder = keptRecordsDir(gameDataDir);
    std::vector<std::pair<long long, std::uint64_t>> records = keptRecords(folder);
    std::string kept;
    if (!recordFile.empty() && fileExists(recordFile)) {
        makeDirectories(folder);
        e.record = std::to_string(e.number) + ".jsonl";
        kept = keptRecordPath(gameDataDir, e);
        const std::string copy = readFileBytes(recordFile);
        writeBytesAtomic(kept, copy);  // a full disk: GameError, and nothing of the game is kept
        records.emplace_back(e.number, copy.size());
    }
    const std::string line = entryLine(e);
    try {
        if (line.size() > kMaxGameListLine)
            throw GameError("ファイル「" + path + "」：対戦の行が長すぎるため、書きません");
        appendBytes(path, line + "\n", "\n");
    } catch (const GameError&) {
        if (!kept.empty()) ::unlink(kept.c_str());
        throw;
    }
    list.entries.push_back(e);

    // The bound on the records together: the oldest go first, the new game's stays.
    std::uint64_t total = 0;
    for (const auto& r : records) total += r.second;
    std::vector<std::string> gone;
    for (const auto& [number, size] : records) {
        if (total <= bounds.recordBytes || number == e.number) break;
        gone.push_back(std::to_string(number) + ".jsonl");
        total -= size;
    }
    bool rewrite = false;
    for (GameEntry& k : list.entries)
        if (!k.record.empty() && std::find(gone.begin(), gone.end(), k.record) != gone.end()) {
            k.record.clear();
            rewrite = true;
        }
    // The bound on the games: the newest entries stay, the others go with their records.
    const std::size_t keep = std::max<std::size_t>(bounds.games, 1);
    const std::size_t drop = list.entries.size() > keep ? list.entries.size() - keep : 0;
    for (std::size_t i = 0; i < drop; ++i)
        if (!list.entries[i].record.empty()) gone.push_back(list.entries[i].record);
    if (rewrite || list.lines + 1 > keep || bytes.size() > kMaxGameListBytes) {
        std::string out;
        for (std::size_t i = drop; i < list.entries.size(); ++i) out += entryLine(list.entries[i]) + "\n";
        writeBytesAtomic(path, out);
    }
    // Only once the list no longer names them.
    for (const std::string& name : gone) ::unlink((folder + name).c_str());
    return list.entries.back();
}

void GuestGameTally::welcomed(int area, bool shortMode) {
    area_ = std::clamp(area, 0, 8);
    short_ = shortMode;
}

void GuestGameTally::board(const net::BoardView& b) {
    if (boards_ == 0 || b.curPlayer != last_.curPlayer) {
        if (!b.ended) ++turns_;
    }
    // A destination reached since the board before: the player who was moving.
    if (boards_ > 0)
        for (std::size_t d = 0; d < b.done.size(); ++d)
            if (b.done[d] && !last_.done[d]) ++arrived_[last_.curPlayer == 1 ? 1 : 0];
    over_ = over_ || b.ended;
    last_ = b;
    ++boards_;
}

void GuestGameTally::results(const std::array<int, 2>& arrived) {
    for (std::size_t p = 0; p < 2; ++p) arrived_[p] = std::clamp(arrived[p], 0, kDestinationCount);
    over_ = true;
}

GameEntry GuestGameTally::entry(std::string when) const {
    GameEntry e;
    e.when = std::move(when);
    e.area = area_;
    e.shortMode = short_;
    e.seats = {"net", "man"};
    e.turns = turns_;
    for (std::size_t p = 0; p < 2; ++p) {
        e.names[p] = last_.names[p];
        e.points[p] = std::clamp<long long>(last_.points[p], -kPointLimit, kPointLimit);
        e.money[p] = std::clamp<long long>(last_.money[p], -kMoneyLimit, kMoneyLimit);
        e.arrived[p] = std::min(arrived_[p], kDestinationCount);
    }
    e.end = over_ ? GameEnd::Results : GameEnd::Closed;
    return e;
}

bool passes(const GameFilter& f, const GameEntry& e) {
    return (f.area < 0 || f.area == e.area) && (f.shortMode < 0 || f.shortMode == (e.shortMode ? 1 : 0)) &&
           (f.opponent.empty() || f.opponent == opponentKind(e)) &&
           (f.finished < 0 || f.finished == (e.finished() ? 1 : 0));
}

std::array<WinShare, 3> winsAgainstComputer(const std::vector<GameEntry>& entries) {
    std::array<WinShare, 3> out{};
    for (const GameEntry& e : entries) {
        if (!e.finished()) continue;
        for (std::size_t i = 0; i < 3; ++i) {
            if (e.seats[1] != std::string("com:") + kStrengths[i]) continue;
            ++out[i].games;
            if (e.points[0] > e.points[1]) ++out[i].won;
        }
    }
    return out;
}

}  // namespace kisharin

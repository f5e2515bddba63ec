#include "record/game_record.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <sstream>

#include "board/startup.h"
#include "net/protocol.h"
#include "platform/temp_folder.h"
#include "platform/text_file.h"
#include "scene/ride.h"
#include "scene/seiha.h"
#include "setup/save_slot.h"
#include "setup/settings.h"
#include "state/error.h"
#include "state/hash.h"
#include "state/railway.h"
#include "turns/dice.h"
#include "turns/happenings.h"
#include "turns/race.h"
#include "turns/turn.h"

namespace kisharin {

using nlohmann::json;

std::string recordPath(const std::string& gameDataDir) {
    return gameDataDir + "GameRecord.jsonl";
}

std::string slotRecordPath(const std::string& gameDataDir, int slot) {
    return gameDataDir + "GameRecord" + std::to_string(slot) + ".jsonl";
}

std::array<std::string, 2> slotRecordNames(const std::string& gameDataDir, int slot) {
    const std::string path = slotRecordPath(gameDataDir, slot);
    std::error_code ec, slotEc;
    const auto recorded = std::filesystem::last_write_time(path, ec);
    const auto saved = std::filesystem::last_write_time(slotPath(gameDataDir, slot), slotEc);
    if (ec || slotEc || recorded < saved) return {};  // the slot is written first, its record after
    std::ifstream in(path, std::ios::binary);
    std::string line;
    if (!in || !std::getline(in, line) || line.size() > kMaxRecordLine) return {};
    const json start = json::parse(line, nullptr, false);
    if (!start.is_object() || start.value("t", json()) != "start") return {};
    const json names = start.value("names", json());
    if (!names.is_array() || names.size() != 2 || !names[0].is_string() || !names[1].is_string()) return {};
    return {names[0].get<std::string>(), names[1].get<std::string>()};
}

namespace {

// The station file the record was played on, as FNV-1a of its bytes: a replay on other
// data is refused rather than played wrong.
std::string dataStamp(const std::string& appDir) {
    Fnv1a h;
    h.addBytes(readFileBytes(appDir + "GameData/駅.txt"));
    std::ostringstream o;
    o << std::hex << h.value();
    return o.str();
}

// Each player's arrival history: per line with an arrival, its flags as '0'/'1' from
// station 1 on.
json visitedJson(const GameState& s) {
    json both = json::array();
    for (int p = 0; p < 2; ++p) {
        json lines = json::array();
        for (int l = 1; l <= lineCount(s); ++l) {
            const int n = stationCount(s, l);
            std::string bits;
            bool any = false;
            for (int i = 1; i <= n; ++i) {
                const bool v = s.visited[p](l, i);
                any = any || v;
                bits += v ? '1' : '0';
            }
            if (any) lines.push_back(json::array({l, bits}));
        }
        both.push_back(lines);
    }
    return both;
}

json endJson(const GameState& s) {
    return {{"t", "end"},
            {"points", {s.playerPoint[0], s.playerPoint[1]}},
            {"money", {s.playerMoney[0], s.playerMoney[1]}},
            {"arrived", {s.arriveCount[0], s.arriveCount[1]}}};
}

}  // namespace

// --- writing ------------------------------------------------------------------------------

void RecordWriter::write(const std::string& line) {
    if (stopped_) return;
    if (bytes_ + line.size() + 1 > kMaxRecordBytes) {
        stopped_ = true;
        fault_ = path_ + ": 記録が上限（" + std::to_string(kMaxRecordBytes >> 20) +
                 " MB）に達したため、ここで終わります";
        try {
            appendBytes(path_,
                        R"({"t":"cut"})"
                        "\n",
                        "\n");
        } catch (const GameError&) {
        }
        return;
    }
    try {
        appendBytes(path_, line + "\n", "\n");
        bytes_ += line.size() + 1;
    } catch (const GameError& e) {
        // The game goes on without its record; the fault is kept for whoever shows it.
        stopped_ = true;
        fault_ = e.what();
    }
}

const std::string& RecordWriter::stampOf(const std::string& appDir) {
    // Read once per data folder: the simulator starts many games on the same data.
    if (appDir != stampDir_) {
        stamp_ = dataStamp(appDir);
        stampDir_ = appDir;
    }
    return stamp_;
}

void RecordWriter::start(const GameState& s, const std::array<std::string, 2>& seats,
                         std::array<bool, 2> bets, bool fresh, bool fromSave) {
    if (fresh) {
        try {
            writeBytesAtomic(path_, "");
            bytes_ = 0;
            stopped_ = false;
        } catch (const GameError& e) {
            stopped_ = true;
            fault_ = e.what();
            return;
        }
    }
    json j{{"t", "start"},
           {"v", kRecordVersion},
           {"area", s.playArea},
           {"short", s.shortMode},
           {"voice", s.voiceMode},
           {"com", s.comOpponent},
           {"names", {s.playerName[0], s.playerName[1]}},
           {"seats", {seats[0], seats[1]}},
           {"bets", {bets[0], bets[1]}},
           {"data", stampOf(s.appDir)},
           {"resumed", fromSave},
           {"visited", visitedJson(s)}};
    write(j.dump());
}

bool RecordWriter::moveTo(std::string path, const std::string* keep) {
    path_ = std::move(path);
    bytes_ = 0;
    stopped_ = false;
    fault_.clear();
    if (!keep) return true;
    try {
        writeBytesAtomic(path_, *keep);
        bytes_ = keep->size();
    } catch (const GameError& e) {
        stopped_ = true;
        fault_ = e.what();
    }
    return !stopped_;
}

void RecordWriter::board(const GameState& s) {
    write(json{{"t", "board"}, {"slot", slotLines(s)}}.dump());
}

void RecordWriter::resume(const GameState& s) {
    write(json{{"t", "resume"}, {"slot", slotLines(s)}, {"visited", visitedJson(s)}}.dump());
}

void RecordWriter::clockReading(bool timer, double value) {
    write(json{{"t", timer ? "timer" : "now"}, {"x", value}}.dump());
}

void RecordWriter::end(const GameState& s) {
    write(endJson(s).dump());
}

void RecordWriter::command(const Game& g, const Command& c) {
    json j{{"t", "cmd"}, {"c", net::commandToJson(c)}};
    // A lane chosen during a race counts from the tick after the ticks run so far.
    if (c.kind == CommandKind::ChooseLane && g.openRace) j["race"] = g.openRace->ticks();
    write(j.dump());
}

void RecordWriter::scoreTicks(int ticks) {
    write(json{{"t", "score"}, {"n", ticks}}.dump());
}

void RecordWriter::saved(const Game& g, int slot) {
    write(json{{"t", "save"}, {"slot", slot}}.dump());
    if (stopped_ || g.gameDataDir.empty()) return;
    try {
        writeBytesAtomic(slotRecordPath(g.gameDataDir, slot), readFileBytes(path_));
    } catch (const GameError& e) {
        fault_ = e.what();
    }
}

double RecordingClock::now() {
    const double v = inner_.now();
    w_.clockReading(false, v);
    return v;
}

double RecordingClock::timer() {
    const double v = inner_.timer();
    w_.clockReading(true, v);
    return v;
}

double SeededTimerClock::timer() {
    const double v = std::fmod(next_, 86400.0);
    next_ = v + 0.25;
    return v;
}

std::string endText(const ReplayEnd& e) {
    return "points " + std::to_string(e.points[0]) + " " + std::to_string(e.points[1]) + "\nmoney " +
           std::to_string(e.money[0]) + " " + std::to_string(e.money[1]) + "\narrived " +
           std::to_string(e.arrived[0]) + " " + std::to_string(e.arrived[1]) + "\n";
}

// --- replaying ----------------------------------------------------------------------------

namespace {

// The kinds of line, in the order of kTypes.
enum class Type { Start, Board, Resume, Now, Timer, Cmd, Score, Save, End, Cut };
constexpr const char* kTypes[] = {"start", "board", "resume", "now", "timer",
                                  "cmd",   "score", "save",   "end", "cut"};

struct Entry {
    int line = 0;  // in the file, from 1
    Type type = Type::Start;
    json j;
    Command c;  // Cmd
    bool is(Type t) const { return type == t; }
    bool isCommand(CommandKind k) const { return type == Type::Cmd && c.kind == k; }
};

// The record's lines, read strictly: every line an object with a known type and the
// fields that type needs.
class Stream {
  public:
    Stream(std::string file, std::vector<Entry> entries) : file_(std::move(file)), e_(std::move(entries)) {}

    bool atEnd() const { return i_ >= e_.size(); }
    const Entry& peek() const { return e_[i_]; }
    // The next line is of type t.
    bool next(Type t) const { return !atEnd() && e_[i_].is(t); }
    const Entry& take() { return e_[i_++]; }
    std::size_t size() const { return e_.size(); }
    const Entry& at(std::size_t i) const { return e_[i]; }
    void seek(std::size_t i) { i_ = i; }
    int lineHere() const { return atEnd() ? (e_.empty() ? 0 : e_.back().line) : e_[i_].line; }
    [[noreturn]] void fail(int line, const std::string& what) const { throw DataError(file_, line, what); }
    [[noreturn]] void fail(const std::string& what) const { fail(lineHere(), what); }
    const std::string& file() const { return file_; }

  private:
    std::string file_;
    std::vector<Entry> e_;
    std::size_t i_ = 0;
};

long long integerIn(const Stream& st, const Entry& e, const json& v, long long lo, long long hi,
                    const char* what) {
    if (!v.is_number_integer()) st.fail(e.line, std::string(what) + " が整数ではありません");
    const long long n = v.get<long long>();
    if (n < lo || n > hi) st.fail(e.line, std::string(what) + " が範囲外です");
    return n;
}

const json& field(const Stream& st, const Entry& e, const char* key) {
    const auto it = e.j.find(key);
    if (it == e.j.end()) st.fail(e.line, std::string("項目 ") + key + " がありません");
    return *it;
}

std::vector<std::string> slotOf(const Stream& st, const Entry& e) {
    const json& v = field(st, e, "slot");
    if (!v.is_array() || v.size() > 200) st.fail(e.line, "slot が盤面の行の並びではありません");
    std::vector<std::string> lines;
    for (const json& l : v) {
        if (!l.is_string()) st.fail(e.line, "slot が盤面の行の並びではありません");
        lines.push_back(l.get<std::string>());
    }
    return lines;
}

void applyVisited(const Stream& st, const Entry& e, GameState& s) {
    const json& v = field(st, e, "visited");
    if (!v.is_array() || v.size() != 2) st.fail(e.line, "visited が二人分の到達履歴ではありません");
    for (int p = 0; p < 2; ++p) {
        s.visited[p].fill(false);
        for (const json& l : v[static_cast<std::size_t>(p)]) {
            if (!l.is_array() || l.size() != 2 || !l[1].is_string())
                st.fail(e.line, "visited の路線が読めません");
            const int line = static_cast<int>(integerIn(st, e, l[0], 1, lineCount(s), "visited の路線番号"));
            const std::string& bits = l[1].get_ref<const std::string&>();
            if (static_cast<int>(bits.size()) != stationCount(s, line))
                st.fail(e.line, "visited の駅の数が路線 " + std::to_string(line) + " と合いません");
            for (std::size_t i = 0; i < bits.size(); ++i) {
                if (bits[i] != '0' && bits[i] != '1') st.fail(e.line, "visited に 0 と 1 以外があります");
                s.visited[p](line, static_cast<int>(i) + 1) = bits[i] == '1';
            }
        }
    }
}

// The board of a resume line, read and checked as a save slot is when it is loaded. A
// fault is told at the record's line, with the place in `slot` it was found.
void applyResumeBoard(const Stream& st, const Entry& e, GameState& s) {
    const std::vector<std::string> lines = slotOf(st, e);
    try {
        applySlotLines(s, lines, st.file());
        checkSlotStations(s, st.file());
    } catch (const DataError& fault) {
        st.fail(e.line, "slot の " + std::to_string(fault.line()) + " 行目：" + fault.what_wrong());
    }
}

std::vector<Entry> readEntries(const std::string& path) {
    const std::string bytes = readFileBytes(path);  // a missing file: GameError naming it
    if (bytes.size() > kMaxRecordBytes + 64)
        throw DataError(path, 0,
                        "記録が大きすぎます（" + std::to_string(kMaxRecordBytes >> 20) + " MB まで）");
    std::vector<Entry> out;
    std::size_t at = 0;
    int n = 0;
    while (at < bytes.size()) {
        std::size_t end = bytes.find('\n', at);
        if (end == std::string::npos) end = bytes.size();
        std::string text = bytes.substr(at, end - at);
        at = end + 1;
        ++n;
        if (!text.empty() && text.back() == '\r') text.pop_back();
        if (text.empty()) continue;
        if (text.size() > kMaxRecordLine) throw DataError(path, n, "行が長すぎます");
        Entry e;
        e.line = n;
        e.j = json::parse(text, nullptr, false);
        if (e.j.is_discarded() || !e.j.is_object())
            throw DataError(path, n, "JSON のオブジェクトではありません");
        const auto t = e.j.find("t");
        if (t == e.j.end() || !t->is_string()) throw DataError(path, n, "種類（t）がありません");
        const std::string& name = t->get_ref<const std::string&>();
        const auto known =
            std::find_if(std::begin(kTypes), std::end(kTypes), [&](const char* k) { return name == k; });
        if (known == std::end(kTypes)) throw DataError(path, n, "知らない種類「" + name + "」です");
        e.type = static_cast<Type>(known - std::begin(kTypes));
        if (e.is(Type::Cmd)) {
            const auto c = e.j.find("c");
            std::string bad;
            if (c == e.j.end() || !net::commandFromJson(*c, e.c, bad))
                throw DataError(path, n,
                                "操作が読めません（" + (bad.empty() ? std::string("c") : bad) + "）");
        }
        out.push_back(std::move(e));
    }
    return out;
}

// A clock that keeps the last timer reading it passed on (the ride's scenery is drawn from it).
class ReadingsKept final : public Clock {
  public:
    explicit ReadingsKept(Clock& inner) : inner_(inner) {}
    double now() override { return inner_.now(); }
    double timer() override { return lastTimer = inner_.timer(); }
    double lastTimer = 0;

  private:
    Clock& inner_;
};

// The windows of a replay: nothing is shown, the die and the scenes draw on the game's
// generator exactly as the windows do, and a ride pays the score ticks of the record.
class ReplayScreens final : public QuietScreens, public Seat {
  public:
    ReplayScreens(Stream& st, Game*& g) : st_(st), g_(g) {}

    // Whatever the board's clock did before the next step is done first.
    void ticks() {
        while (!st_.atEnd()) {
            const Entry& e = st_.peek();
            // A save changes nothing in the game (the seat that saved is no seat here).
            if (e.is(Type::Save) || e.isCommand(CommandKind::Save)) {
                st_.take();
            } else if (e.isCommand(CommandKind::ClockTick)) {
                carry(st_.take());
            } else {
                return;
            }
        }
    }
    double reading(bool timer) {
        ticks();
        if (!st_.next(timer ? Type::Timer : Type::Now))
            st_.fail(std::string("時計の読み（") + (timer ? "timer" : "now") +
                     "）がここにありません: 記録とゲームが食い違いました");
        const Entry& e = st_.take();
        const json& x = field(st_, e, "x");
        if (!x.is_number() || !std::isfinite(x.get<double>()))
            st_.fail(e.line, "時計の読みが数ではありません");
        return x.get<double>();
    }
    const Entry& expect(std::initializer_list<CommandKind> kinds) {
        ticks();
        for (CommandKind k : kinds)
            if (!st_.atEnd() && st_.peek().isCommand(k)) return st_.take();
        st_.fail("ここで答えの操作を待っていました: 記録とゲームが食い違いました");
    }
    void carry(const Entry& e) {
        // Answers and race lanes are carried out inside the command that asked for them;
        // the observer hears of the outermost command once it is wholly done.
        ++depth_;
        const Verdict v = apply(*g_, e.c);
        --depth_;
        if (!v)
            st_.fail(e.line, "操作が受け付けられません（" + v.reason + "）: 記録とゲームが食い違いました");
        ++carried;
        if (observer && depth_ == 0) observer->carried(*g_, e.c);
    }

    // Screens: what a watcher sees goes on to the view, when there is one.
    void showMessage(const GameState& s) override {
        if (view) view->showMessage(s);
    }
    void showDisaster(const GameState& s, int kind) override {
        if (view) view->showDisaster(s, kind);
    }
    void showEventPicture(const GameState& s, int picture) override {
        if (view) view->showEventPicture(s, picture);
    }
    int rollDice(const GameState& s, Rng& rng) override {
        DieRoll die;
        return die.rollThrough(rng, s.shortMode);
    }
    int showRide(const GameState& s, Rng& rng, Clock& clock) override {
        ReadingsKept kept(clock);
        (void)rideSetUp(s, rng, kept);
        ticks();
        if (!st_.next(Type::Score)) st_.fail("乗車画面の得点がここにありません");
        const Entry& e = st_.take();
        const int n = static_cast<int>(integerIn(st_, e, field(st_, e, "n"), 0, 100000000, "得点の刻み"));
        if (rideWatch) rideWatch(s, kept.lastTimer, n);
        return n;
    }
    void showConquest(GameState& s, int line, Rng& rng, Clock& clock) override {
        (void)seihaSetUp(s, line, rng, clock);
    }

    // The seat of both players: its turns and answers are the record's.
    bool playsItself() const override { return true; }
    bool betsOnRaces() const override { return bets[static_cast<std::size_t>(g_->s.curPlayer)]; }
    // A turn is the record's commands until the hand-over (a load, which comes only at the
    // start of a turn, is taken before the turn by replayGame).
    void playTurn(Game& g) override {
        const int p = g.s.curPlayer;
        while (!g.ended && g.s.curPlayer == p) {
            ticks();
            if (!st_.next(Type::Cmd)) return;  // the end of this game's record
            carry(st_.take());
        }
    }
    void answerWarp(Game&, int, const std::string&, const std::string&) override {
        carry(expect({CommandKind::AnswerWarp}));
    }
    void answerGod(Game&) override { carry(expect({CommandKind::AnswerGod})); }
    void runBet(Game& g, Race& race) override {
        carry(expect({CommandKind::PlaceBet, CommandKind::DeclineBet}));
        while (race.started() && !race.decided()) {
            ticks();
            while (!st_.atEnd() && st_.peek().isCommand(CommandKind::ChooseLane)) {
                const Entry& e = st_.peek();
                const auto at = e.j.find("race");
                const long long tick = at == e.j.end() ? 0 : integerIn(st_, e, *at, 0, 100000, "race");
                if (tick != race.ticks()) break;
                carry(st_.take());
            }
            raceTick(g);
        }
    }

    void resume(const Entry& e) {
        GameState& s = g_->s;
        // A game saved in the middle of a turn is loaded at that turn's start, as a new
        // board would be: nothing of the turn played on carries over.
        closeQuestion(*g_);
        s.susumuSteps = 0;
        s.turnPhase = TurnPhase::Choosing;
        applyResumeBoard(st_, e, s);
        applyVisited(st_, e, s);
        s.resumeGame = True;
        // The game loaded again draws from the timer read at its load.
        g_->rng.reseed(reading(true));
        showBoard(*g_);
        if (observer) observer->resumed(*g_);
    }

    int carried = 0;
    std::array<bool, 2> bets{true, true};
    ReplayObserver* observer = nullptr;
    ReplayView* view = nullptr;
    RecordPlayer::RideWatch rideWatch;

  private:
    Stream& st_;
    Game*& g_;
    int depth_ = 0;
};

class ReplayClock final : public Clock {
  public:
    explicit ReplayClock(ReplayScreens& r) : r_(r) {}
    double now() override { return r_.reading(false); }
    double timer() override { return r_.reading(true); }

  private:
    ReplayScreens& r_;
};

// One game of the record, from its start line, on a copy of the data read once for the
// whole record (`base`, stamped `stamp`), played one turn at a time: the whole replay of
// replayRecord and the record player alike.
class GameReplay {
  public:
    GameReplay(Stream& st, const GameState& base, const std::string& stamp, ReplayObserver* observer,
               const TextMetrics* metrics = nullptr)
        : st_(st), s_(base), observer_(observer) {
        if (metrics) g_.metrics = metrics;
        const Entry& start = st.take();
        const long long version = integerIn(st, start, field(st, start, "v"), 0, 1000, "v");
        if (version != kRecordVersion)
            st.fail(start.line, "この版では読めない記録です（版 " + std::to_string(version) + "）");
        const json& data = field(st, start, "data");
        if (!data.is_string() || data.get<std::string>() != stamp)
            st.fail(start.line, "記録のゲームとは違う駅データです（" + base.appDir + "GameData/駅.txt）");
        GameState& s = s_;
        s.playArea = static_cast<Integer>(integerIn(st, start, field(st, start, "area"), 0, 8, "area"));
        auto flag = [&](const char* k) {
            const json& v = field(st, start, k);
            if (!v.is_boolean()) st.fail(start.line, std::string(k) + " が true か false ではありません");
            return v.get<bool>();
        };
        s.shortMode = flag("short");
        s.voiceMode = false;  // nothing is said in a replay
        s.comOpponent = flag("com");
        const json& names = field(st, start, "names");
        if (!names.is_array() || names.size() != 2 || !names[0].is_string() || !names[1].is_string())
            st.fail(start.line, "names が二人の名前ではありません");
        s.playerName[0] = names[0].get<std::string>();
        s.playerName[1] = names[1].get<std::string>();
        applyVisited(st, start, s);

        Game& g = g_;
        gp_ = &g;
        g.seatBoth(screens_);
        g.eventLog = observer;
        const json& bets = field(st, start, "bets");
        if (!bets.is_array() || bets.size() != 2 || !bets[0].is_boolean() || !bets[1].is_boolean())
            st.fail(start.line, "bets が二人分の true か false ではありません");
        screens_.bets = {bets[0].get<bool>(), bets[1].get<bool>()};
        const json& resumed = field(st, start, "resumed");
        if (!resumed.is_boolean()) st.fail(start.line, "resumed が true か false ではありません");
        if (resumed.get<bool>()) {
            // A saved game whose record begins at its load: the board is the resume line's.
            if (!st.next(Type::Resume)) st.fail("resume の行がありません");
            screens_.resume(st.take());
            screens_.observer = observer;
        } else {
            screens_.observer = observer;
            setupNewGame(s, rng_, clock_);
            drawDestinations(s, rng_, clock_);
        }
        screens_.ticks();
        if (st.next(Type::Board)) {
            const Entry& b = st.take();
            if (slotOf(st, b) != slotLines(s)) st.fail(b.line, "記録の盤面と、引き直した盤面が合いません");
        }
        showBoard(g);
        if (observer) observer->started(g);
    }

    // Plays the next turn of the record (a saved game loaded before it is loaded first).
    // False when the game's record has no more turns: the end is then taken.
    bool step() {
        if (finished_) return false;
        while (!g_.ended) {
            screens_.ticks();
            if (st_.next(Type::Resume)) {
                screens_.resume(st_.take());
                continue;
            }
            if (!st_.next(Type::Cmd)) break;
            const int before = screens_.carried;
            if (!playSeatTurn(g_) || screens_.carried == before)
                st_.fail("操作が進みません: 記録とゲームが食い違いました");
            ++turns_;
            if (observer_) observer_->turnPlayed(g_);
            return true;
        }
        finish();
        return false;
    }

    bool finished() const { return finished_; }
    const ReplayEnd& end() const { return end_; }
    int turns() const { return turns_; }
    Game& game() { return g_; }
    ReplayScreens& screens() { return screens_; }

  private:
    void finish() {
        finished_ = true;
        const GameState& s = s_;
        for (int p = 0; p < 2; ++p) {
            end_.points[static_cast<std::size_t>(p)] = s.playerPoint[p];
            end_.money[static_cast<std::size_t>(p)] = s.playerMoney[p];
            end_.arrived[static_cast<std::size_t>(p)] = s.arriveCount[p];
        }
        end_.commands = screens_.carried;
        end_.ended = g_.ended;
        // The record's own end, when the game wrote one, must be the end played again.
        while (!st_.atEnd() && !st_.next(Type::Start)) {
            const Entry& e = st_.take();
            if (e.is(Type::End)) end_.matches = e.j.dump() == endJson(s).dump();
            if (e.is(Type::Cut)) st_.fail(e.line, "記録は上限で打ち切られています");
        }
        if (observer_) observer_->finished(g_, end_);
    }

    Stream& st_;
    GameState s_;
    ReplayObserver* observer_;
    Game* gp_ = nullptr;
    ReplayScreens screens_{st_, gp_};
    ReplayClock clock_{screens_};
    DefaultRng rng_{0};
    Game g_{s_, screens_, rng_, clock_};
    ReplayEnd end_;
    int turns_ = 0;
    bool finished_ = false;
};

// The shipped data a replay plays on, with the histories it writes in `scratch`.
GameState replayBase(const std::string& appDir, const TempFolder& scratch) {
    GameState base;
    base.appDir = appDir;
    base.historyBase = scratch.path() + "履歴";
    loadBoardData(base);
    buildEventTables(base);
    return base;
}

Stream recordStream(const std::string& path) {
    Stream st(path, readEntries(path));
    if (!st.next(Type::Start))
        st.fail(st.atEnd() ? 0 : st.peek().line, "記録が start の行で始まっていません");
    return st;
}

}  // namespace

std::vector<ReplayEnd> replayRecord(const std::string& path, const std::string& appDir,
                                    ReplayObserver* observer) {
    Stream st = recordStream(path);
    // The histories a replay writes go to a folder of its own.
    const TempFolder scratch("kisharin-replay-");
    const GameState base = replayBase(appDir, scratch);
    const std::string stamp = dataStamp(appDir);
    std::vector<ReplayEnd> games;
    while (!st.atEnd()) {
        if (!st.next(Type::Start)) st.fail("start の行がありません");
        GameReplay game(st, base, stamp, observer);
        while (game.step()) {
        }
        games.push_back(game.end());
    }
    return games;
}

// --- the record player --------------------------------------------------------------------

struct RecordPlayer::Impl {
    Stream st;
    TempFolder scratch{"kisharin-replay-"};  // the histories the replay writes
    int games = 0;
    std::unique_ptr<GameReplay> replay;
    explicit Impl(const std::string& path) : st(recordStream(path)) {}
};

RecordPlayer::RecordPlayer(const std::string& path, const std::string& appDir, int game,
                           ReplayObserver* observer, const TextMetrics* metrics)
    : impl_(std::make_unique<Impl>(path)) {
    Stream& st = impl_->st;
    // The games before the one asked for are passed over: each begins afresh from its own
    // start line.
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < st.size(); ++i)
        if (st.at(i).is(Type::Start)) starts.push_back(i);
    impl_->games = static_cast<int>(starts.size());
    if (game < 0) game = impl_->games - 1;  // the last game
    if (game >= impl_->games)
        throw DataError(path, 0,
                        "記録には " + std::to_string(impl_->games) + " ゲームしかありません（" +
                            std::to_string(game + 1) + " ゲーム目を見ようとしました）");
    const std::size_t at = starts[static_cast<std::size_t>(game)];
    st.seek(at);
    const GameState base = replayBase(appDir, impl_->scratch);
    impl_->replay = std::make_unique<GameReplay>(st, base, dataStamp(appDir), observer, metrics);
    game_ = game;
}

RecordPlayer::~RecordPlayer() = default;

bool RecordPlayer::step() {
    return impl_->replay->step();
}
bool RecordPlayer::atEnd() const {
    return impl_->replay->finished();
}
int RecordPlayer::games() const {
    return impl_->games;
}
int RecordPlayer::turns() const {
    return impl_->replay->turns();
}
Game& RecordPlayer::game() {
    return impl_->replay->game();
}
const Game& RecordPlayer::game() const {
    return impl_->replay->game();
}
const GameState& RecordPlayer::state() const {
    return impl_->replay->game().s;
}
const ReplayEnd& RecordPlayer::end() const {
    return impl_->replay->end();
}
void RecordPlayer::setView(ReplayView* view) {
    impl_->replay->screens().view = view;
}
void RecordPlayer::watchRides(RideWatch watch) {
    impl_->replay->screens().rideWatch = std::move(watch);
}

}  // namespace kisharin

#include "net/protocol.h"

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>
#include <set>

#include "setup/save_slot.h"

namespace kisharin::net {

using nlohmann::json;

namespace {

constexpr int kMaxLine = 750;
constexpr int kMaxPos = 100;
constexpr std::size_t kMaxText = 512;  // bytes of one text field
constexpr std::size_t kMaxStations = 101;
constexpr std::size_t kMaxTransfers = 150;
constexpr Long kMaxColor = 0xFFFFFF;
constexpr long kMaxPixel = 1000000;
constexpr long kMaxAmount = 2000000000L;  // money and points are 32-bit

struct FieldError {
    std::string path;
};

// An integer of JSON within lo..hi (an unsigned one too large for long is out of range).
bool boundedInteger(const json& v, long lo, long hi, long& out) {
    if (!v.is_number_integer()) return false;
    if (v.is_number_unsigned() && v.get<std::uint64_t>() > static_cast<std::uint64_t>(hi)) return false;
    out = v.is_number_unsigned() ? static_cast<long>(v.get<std::uint64_t>()) : v.get<long>();
    return out >= lo && out <= hi;
}

// Reads the fields of one JSON object: each must be there with its type and in its range,
// and the object may hold nothing else.
class Reader {
  public:
    Reader(const json& j, std::string path) : j_(j), path_(std::move(path)) {
        if (!j_.is_object()) fail("");
    }
    ~Reader() = default;

    const json& field(const char* key) {
        const auto it = j_.find(key);
        if (it == j_.end()) fail(key);
        seen_.insert(key);
        return *it;
    }
    long integer(const char* key, long lo, long hi) {
        long n = 0;
        if (!boundedInteger(field(key), lo, hi, n)) fail(key);
        return n;
    }
    int small(const char* key, int lo, int hi) { return static_cast<int>(integer(key, lo, hi)); }
    bool boolean(const char* key) {
        const json& v = field(key);
        if (!v.is_boolean()) fail(key);
        return v.get<bool>();
    }
    double number(const char* key, double lo, double hi) {
        const json& v = field(key);
        if (!v.is_number()) fail(key);
        const double d = v.get<double>();
        if (!std::isfinite(d) || d < lo || d > hi) fail(key);
        return d;
    }
    std::string text(const char* key) {
        const json& v = field(key);
        if (!v.is_string() || v.get_ref<const std::string&>().size() > kMaxText) fail(key);
        return v.get<std::string>();
    }
    const json& array(const char* key, std::size_t maxSize) {
        const json& v = field(key);
        if (!v.is_array() || v.size() > maxSize) fail(key);
        return v;
    }
    std::string sub(const char* key) const { return path_.empty() ? key : path_ + "." + key; }
    void done() {
        if (seen_.size() != j_.size()) fail("(余分な項目)");
    }
    [[noreturn]] void fail(const std::string& key) const {
        throw FieldError{key.empty() ? path_ : sub(key.c_str())};
    }

  private:
    const json& j_;
    std::string path_;
    std::set<std::string> seen_;
};

std::string indexed(const std::string& path, std::size_t i) {
    return path + "[" + std::to_string(i) + "]";
}

// --- commands -------------------------------------------------------------------------

constexpr std::array<const char*, 12> kKindNames = {"chooseKind", "roll",       "changeLine", "ride",
                                                    "work",       "answerWarp", "answerGod",  "placeBet",
                                                    "declineBet", "chooseLane", "clockTick",  "save"};

json stationJson(Station s) {
    return json{{"line", s.line}, {"pos", s.pos}};
}
Station readStation(const json& j, const std::string& path) {
    Reader r(j, path);
    Station s{r.small("line", 0, kMaxLine), r.small("pos", 0, kMaxPos)};
    r.done();
    return s;
}

json commandJson(const Command& c) {
    json j{{"kind", kKindNames[static_cast<std::size_t>(c.kind)]}, {"player", c.player}};
    switch (c.kind) {
        case CommandKind::ChooseKind:
            j["trainKind"] = c.trainKind;
            break;
        case CommandKind::ChangeLine:
            j["at"] = stationJson(c.at);
            j["to"] = stationJson(c.to);
            break;
        case CommandKind::Ride:
            j["to"] = stationJson(c.to);
            break;
        case CommandKind::AnswerWarp:
            j["yes"] = c.yes;
            break;
        case CommandKind::AnswerGod:
            j["pref"] = c.pref;
            break;
        case CommandKind::PlaceBet:
            j["stake"] = c.stake;
            break;
        case CommandKind::ChooseLane:
            j["lane"] = c.lane;
            break;
        case CommandKind::Save:
            j["slot"] = c.slot;
            break;
        default:
            break;
    }
    return j;
}

Command readCommand(const json& j, const std::string& path) {
    Reader r(j, path);
    const std::string kind = r.text("kind");
    const auto it = std::find(kKindNames.begin(), kKindNames.end(), kind);
    if (it == kKindNames.end()) r.fail("kind");
    Command c;
    c.kind = static_cast<CommandKind>(it - kKindNames.begin());
    c.player = r.small("player", 0, 1);
    switch (c.kind) {
        case CommandKind::ChooseKind:
            c.trainKind = r.small("trainKind", 1, 5);
            break;
        case CommandKind::ChangeLine:
            c.at = readStation(r.field("at"), r.sub("at"));
            c.to = readStation(r.field("to"), r.sub("to"));
            break;
        case CommandKind::Ride:
            c.to = readStation(r.field("to"), r.sub("to"));
            break;
        case CommandKind::AnswerWarp:
            c.yes = r.boolean("yes");
            break;
        case CommandKind::AnswerGod:
            c.pref = r.text("pref");
            break;
        case CommandKind::PlaceBet:
            c.stake = r.integer("stake", 0, kMaxAmount);
            break;
        case CommandKind::ChooseLane:
            c.lane = r.small("lane", 0, kLanes - 1);
            break;
        case CommandKind::Save:
            c.slot = r.small("slot", 1, kSlotCount);
            break;
        default:
            break;
    }
    r.done();
    return c;
}

// --- the board ------------------------------------------------------------------------

json rectJson(const PixelRect& p) {
    return json::array({p.left, p.top, p.width, p.height});
}
PixelRect readRect(const json& j, const std::string& path) {
    if (!j.is_array() || j.size() != 4) throw FieldError{path};
    std::array<int, 4> v{};
    for (std::size_t i = 0; i < 4; ++i) {
        long n = 0;
        if (!boundedInteger(j[i], -kMaxPixel, kMaxPixel, n)) throw FieldError{path};
        v[i] = static_cast<int>(n);
    }
    return {v[0], v[1], v[2], v[3]};
}

constexpr std::array<const char*, 3> kPhaseNames = {"choosing", "rolled", "over"};

json boardJson(const BoardView& b) {
    json j;
    j["seq"] = b.seq;
    j["curPlayer"] = b.curPlayer;
    j["ended"] = b.ended;
    j["enabled"] = b.enabled;
    j["busy"] = b.busy;
    j["phase"] = kPhaseNames[static_cast<std::size_t>(b.phase)];
    j["steps"] = b.steps;
    json players = json::array();
    for (std::size_t p = 0; p < 2; ++p)
        players.push_back({{"name", b.names[p]},
                           {"at", stationJson(b.at[p])},
                           {"money", b.money[p]},
                           {"points", b.points[p]}});
    j["players"] = players;
    json dest = json::array();
    for (std::size_t d = 0; d < b.destinations.size(); ++d)
        dest.push_back({{"at", stationJson(b.destinations[d])}, {"done", b.done[d]}});
    j["destinations"] = dest;

    const BoardModel& c = b.controls;
    json kinds = json::array();
    for (int k = 1; k <= 5; ++k) {
        const KindButton& o = c.optKind[k];
        kinds.push_back({{"caption", o.caption},
                         {"color", o.color},
                         {"visible", o.visible},
                         {"enabled", o.enabled},
                         {"value", o.value}});
    }
    j["controls"] = {{"kinds", kinds},
                     {"ordinaryKind", c.ordinaryKind},
                     {"boardEnabled", c.boardEnabled},
                     {"lblSusumu", c.lblSusumu},
                     {"lblManName", c.lblManName},
                     {"manNameColor", c.manNameColor},
                     {"susumuVisible", c.cmdSusumuVisible},
                     {"workVisible", c.cmdWorkVisible},
                     {"saveVisible", c.cmdSaveVisible},
                     {"lblMoney", c.lblMoney},
                     {"manNameBack", c.manNameBack},
                     {"lblJikoku", c.lblJikoku},
                     {"lblTrainName", c.lblTrainName}};

    const LineDisplayModel& m = b.strip;
    json stations = json::array();
    for (const StationView& v : m.stations)
        stations.push_back({{"name", v.name},
                            {"label", rectJson(v.label)},
                            {"fontSize", v.fontSize},
                            {"box", rectJson(v.box)},
                            {"fill", v.fill},
                            {"connector", v.connector},
                            {"connectorX", v.connectorX},
                            {"connectorY1", v.connectorY1},
                            {"connectorY2", v.connectorY2},
                            {"star", v.star},
                            {"starRect", rectJson(v.starRect)}});
    json transfers = json::array();
    for (const TransferView& t : m.transfers)
        transfers.push_back({{"at", stationJson({t.line, t.pos})},
                             {"station", t.station},
                             {"caption", t.caption},
                             {"directions", t.directions},
                             {"rect", rectJson(t.rect)},
                             {"fontSize", t.fontSize}});
    j["strip"] = {{"line", m.line},
                  {"title", m.title},
                  {"visible", m.visible},
                  {"stripWidth", m.stripWidth},
                  {"stripHeight", m.stripHeight},
                  {"background", m.background},
                  {"scrollMin", m.scrollMin},
                  {"scrollMax", m.scrollMax},
                  {"scrollValue", m.scrollValue},
                  {"stations", stations},
                  {"transfers", transfers},
                  {"hintVisible", m.hintVisible},
                  {"hintText", m.hintText},
                  {"hintRect", rectJson(m.hintRect)},
                  {"grey", m.grey}};
    json targets = json::array();
    for (const StripTarget& t : b.targets)
        targets.push_back({{"station", t.station}, {"transfer", t.transfer}});
    j["targets"] = targets;
    return j;
}

BoardView readBoard(const json& j) {
    BoardView b;
    Reader r(j, "board");
    b.seq = r.integer("seq", 0, 1L << 40);
    b.curPlayer = r.small("curPlayer", 0, 1);
    b.ended = r.boolean("ended");
    b.enabled = r.boolean("enabled");
    b.busy = r.boolean("busy");
    const std::string phase = r.text("phase");
    const auto ph = std::find(kPhaseNames.begin(), kPhaseNames.end(), phase);
    if (ph == kPhaseNames.end()) r.fail("phase");
    b.phase = static_cast<TurnPhase>(ph - kPhaseNames.begin());
    b.steps = r.small("steps", 0, 1000);
    const json& players = r.array("players", 2);
    if (players.size() != 2) r.fail("players");
    for (std::size_t p = 0; p < 2; ++p) {
        Reader q(players[p], indexed(r.sub("players"), p));
        b.names[p] = q.text("name");
        b.at[p] = readStation(q.field("at"), q.sub("at"));
        b.money[p] = q.integer("money", -kMaxAmount, kMaxAmount);
        b.points[p] = q.integer("points", -kMaxAmount, kMaxAmount);
        q.done();
    }
    const json& dest = r.array("destinations", b.destinations.size());
    if (dest.size() != b.destinations.size()) r.fail("destinations");
    for (std::size_t d = 0; d < dest.size(); ++d) {
        Reader q(dest[d], indexed(r.sub("destinations"), d));
        b.destinations[d] = readStation(q.field("at"), q.sub("at"));
        b.done[d] = q.boolean("done");
        q.done();
    }

    {
        Reader q(r.field("controls"), r.sub("controls"));
        BoardModel& c = b.controls;
        const json& kinds = q.array("kinds", 5);
        if (kinds.size() != 5) q.fail("kinds");
        for (int k = 1; k <= 5; ++k) {
            Reader o(kinds[static_cast<std::size_t>(k - 1)],
                     indexed(q.sub("kinds"), static_cast<std::size_t>(k - 1)));
            KindButton& kb = c.optKind[k];
            kb.caption = o.text("caption");
            kb.color = o.integer("color", 0, kMaxColor);
            kb.visible = o.boolean("visible");
            kb.enabled = o.boolean("enabled");
            kb.value = o.boolean("value");
            o.done();
        }
        c.ordinaryKind = q.small("ordinaryKind", 1, 5);
        c.boardEnabled = q.boolean("boardEnabled");
        c.lblSusumu = q.text("lblSusumu");
        c.lblManName = q.text("lblManName");
        c.manNameColor = q.integer("manNameColor", 0, kMaxColor);
        c.cmdSusumuVisible = q.boolean("susumuVisible");
        c.cmdWorkVisible = q.boolean("workVisible");
        c.cmdSaveVisible = q.boolean("saveVisible");
        c.lblMoney = q.text("lblMoney");
        c.manNameBack = q.integer("manNameBack", 0, kMaxColor);
        c.lblJikoku = q.text("lblJikoku");
        c.lblTrainName = q.text("lblTrainName");
        q.done();
    }

    {
        Reader q(r.field("strip"), r.sub("strip"));
        LineDisplayModel& m = b.strip;
        m.line = q.small("line", 0, kMaxLine);
        m.title = q.text("title");
        m.visible = q.boolean("visible");
        m.stripWidth = q.small("stripWidth", 0, 10000);
        m.stripHeight = q.small("stripHeight", 0, 100000);
        m.background = q.integer("background", 0, kMaxColor);
        m.scrollMin = q.small("scrollMin", -100000, 100000);
        m.scrollMax = q.small("scrollMax", -100000, 100000);
        m.scrollValue = q.small("scrollValue", -100000, 100000);
        const json& stations = q.array("stations", kMaxStations);
        for (std::size_t i = 0; i < stations.size(); ++i) {
            Reader o(stations[i], indexed(q.sub("stations"), i));
            StationView v;
            v.name = o.text("name");
            v.label = readRect(o.field("label"), o.sub("label"));
            v.fontSize = o.small("fontSize", 1, 72);
            v.box = readRect(o.field("box"), o.sub("box"));
            v.fill = o.integer("fill", 0, kMaxColor);
            v.connector = o.boolean("connector");
            v.connectorX = o.small("connectorX", -kMaxPixel, kMaxPixel);
            v.connectorY1 = o.small("connectorY1", -kMaxPixel, kMaxPixel);
            v.connectorY2 = o.small("connectorY2", -kMaxPixel, kMaxPixel);
            v.star = o.boolean("star");
            v.starRect = readRect(o.field("starRect"), o.sub("starRect"));
            o.done();
            m.stations.push_back(std::move(v));
        }
        const json& transfers = q.array("transfers", kMaxTransfers);
        for (std::size_t i = 0; i < transfers.size(); ++i) {
            Reader o(transfers[i], indexed(q.sub("transfers"), i));
            TransferView t;
            const Station at = readStation(o.field("at"), o.sub("at"));
            t.line = at.line;
            t.pos = at.pos;
            t.station = o.small("station", 0, kMaxPos);
            t.caption = o.text("caption");
            t.directions = o.text("directions");
            t.rect = readRect(o.field("rect"), o.sub("rect"));
            t.fontSize = o.small("fontSize", 1, 72);
            o.done();
            m.transfers.push_back(std::move(t));
        }
        m.hintVisible = q.boolean("hintVisible");
        m.hintText = q.text("hintText");
        m.hintRect = readRect(q.field("hintRect"), q.sub("hintRect"));
        m.grey = q.integer("grey", 0, kMaxColor);
        q.done();
    }
    const json& targets = r.array("targets", kMaxStations + kMaxTransfers);
    for (std::size_t i = 0; i < targets.size(); ++i) {
        Reader q(targets[i], indexed(r.sub("targets"), i));
        StripTarget t;
        t.station = q.small("station", 0, static_cast<int>(kMaxStations));
        t.transfer = q.small("transfer", 0, static_cast<int>(kMaxTransfers));
        q.done();
        b.targets.push_back(t);
    }
    r.done();
    return b;
}

// --- presenter calls and questions ----------------------------------------------------

constexpr std::array<const char*, 9> kShowNames = {"message", "dice",  "ride",    "conquest", "disaster",
                                                   "picture", "shake", "results", "race"};

json showJson(const ShowCall& c) {
    return {{"what", c.what},
            {"player", c.player},
            {"text", c.text},
            {"value", c.value},
            {"line", c.line},
            {"start", c.start},
            {"end", c.end},
            {"seed", c.seed},
            {"cut", c.cut},
            {"color", c.color},
            {"tick", c.tick},
            {"gameClock", c.gameClock},
            {"playSeconds", c.playSeconds},
            {"odds", c.odds},
            {"moves", c.moves},
            {"arrived", c.arrived}};
}

// A fixed number of small integers within lo..hi.
template <std::size_t N>
void readSmalls(Reader& r, const char* key, int lo, int hi, std::array<int, N>& out) {
    const json& v = r.array(key, N);
    if (v.size() != N) r.fail(key);
    for (std::size_t i = 0; i < N; ++i) {
        long n = 0;
        if (!boundedInteger(v[i], lo, hi, n)) r.fail(key);
        out[i] = static_cast<int>(n);
    }
}

ShowCall readShow(const json& j) {
    Reader r(j, "show");
    ShowCall c;
    c.what = r.text("what");
    if (std::find(kShowNames.begin(), kShowNames.end(), c.what) == kShowNames.end()) r.fail("what");
    c.player = r.small("player", 0, 1);
    c.text = r.text("text");
    c.value = r.small("value", -100000, 100000);
    c.line = r.small("line", 0, kMaxLine);
    c.start = r.small("start", 0, kMaxPos);
    c.end = r.small("end", 0, kMaxPos);
    c.seed = r.number("seed", 0, 1e7);
    c.cut = r.boolean("cut");
    c.color = static_cast<Long>(r.integer("color", 0, kMaxColor));
    c.tick = r.small("tick", 0, 10000);
    c.gameClock = r.number("gameClock", 0, 3e6);
    c.playSeconds = r.integer("playSeconds", 0, 1000000000L);
    readSmalls(r, "odds", 0, 10, c.odds);
    // The race's moves: whole ticks of five lanes, each 0..9 or a (10).
    const json& moves = r.field("moves");
    if (!moves.is_string()) r.fail("moves");
    c.moves = moves.get<std::string>();
    if (c.moves.size() > kMaxRaceMoves || c.moves.size() % 5 != 0 ||
        !std::all_of(c.moves.begin(), c.moves.end(), [](char ch) { return Race::moveStep(ch) >= 0; }))
        r.fail("moves");
    readSmalls(r, "arrived", 0, kDestinationCount, c.arrived);
    r.done();
    return c;
}

constexpr std::array<const char*, 3> kQuestionNames = {"warp", "god", "bet"};

json askJson(const Ask& a) {
    return {{"question", a.question}, {"title", a.title},   {"text", a.text},
            {"region", a.region},     {"stakes", a.stakes}, {"odds", a.odds}};
}

Ask readAsk(const json& j) {
    Reader r(j, "ask");
    Ask a;
    a.question = r.text("question");
    if (std::find(kQuestionNames.begin(), kQuestionNames.end(), a.question) == kQuestionNames.end())
        r.fail("question");
    a.title = r.text("title");
    a.text = r.text("text");
    a.region = r.small("region", 0, 8);
    const json& stakes = r.array("stakes", 16);
    for (const json& s : stakes) {
        long n = 0;
        if (!boundedInteger(s, 0, kMaxAmount, n)) r.fail("stakes");
        a.stakes.push_back(static_cast<Long>(n));
    }
    readSmalls(r, "odds", 0, 1000, a.odds);
    r.done();
    return a;
}

constexpr std::array<const char*, 8> kTypeNames = {"hello", "command", "welcome", "board",
                                                   "show",  "ask",     "refused", "bye"};

}  // namespace

json commandToJson(const kisharin::Command& c) {
    return commandJson(c);
}

bool commandFromJson(const json& j, kisharin::Command& c, std::string& field) {
    try {
        c = readCommand(j, "");
    } catch (const FieldError& e) {
        field = e.path.empty() ? "command" : e.path;
        return false;
    }
    return true;
}

ReadResult readMessage(std::string_view bytes) {
    ReadResult out;
    if (bytes.size() > kMaxMessageBytes) {
        out.error = kErrTooLarge;
        return out;
    }
    const json j = json::parse(bytes.begin(), bytes.end(), nullptr, false);
    if (j.is_discarded() || !j.is_object()) {
        out.error = kErrNotJson;
        return out;
    }
    const auto v = j.find("v");
    if (v == j.end() || !v->is_number_integer() || v->get<long>() != kProtocolVersion) {
        out.error = kErrVersion;
        return out;
    }
    const auto t = j.find("type");
    const auto ti = t != j.end() && t->is_string()
                        ? std::find(kTypeNames.begin(), kTypeNames.end(), t->get_ref<const std::string&>())
                        : kTypeNames.end();
    if (ti == kTypeNames.end()) {
        out.error = kErrUnknownType;
        return out;
    }
    Message& m = out.message;
    m.type = static_cast<MessageType>(ti - kTypeNames.begin());
    try {
        Reader r(j, "");
        r.field("v");
        r.field("type");
        switch (m.type) {
            case MessageType::Hello:
                m.code = r.text("code");
                break;
            case MessageType::Command:
                m.command = readCommand(r.field("command"), "command");
                m.lane = r.small("lane", 0, 4);
                break;
            case MessageType::Welcome:
                m.player = r.small("player", 0, 1);
                m.area = r.small("area", 0, 8);
                m.shortMode = r.boolean("short");
                break;
            case MessageType::Board:
                m.board = readBoard(r.field("board"));
                break;
            case MessageType::Show:
                m.show = readShow(r.field("show"));
                break;
            case MessageType::Ask:
                m.ask = readAsk(r.field("ask"));
                break;
            case MessageType::Refused:
            case MessageType::Bye:
                m.reason = r.text("reason");
                break;
        }
        r.done();
    } catch (const FieldError& e) {
        out.error = std::string(kErrField) + ": " + e.path;
        return out;
    }
    out.ok = true;
    return out;
}

std::string writeMessage(const Message& m) {
    json j{{"v", kProtocolVersion}, {"type", kTypeNames[static_cast<std::size_t>(m.type)]}};
    switch (m.type) {
        case MessageType::Hello:
            j["code"] = m.code;
            break;
        case MessageType::Command:
            j["command"] = commandJson(m.command);
            j["lane"] = m.lane;
            break;
        case MessageType::Welcome:
            j["player"] = m.player;
            j["area"] = m.area;
            j["short"] = m.shortMode;
            break;
        case MessageType::Board:
            j["board"] = boardJson(m.board);
            break;
        case MessageType::Show:
            j["show"] = showJson(m.show);
            break;
        case MessageType::Ask:
            j["ask"] = askJson(m.ask);
            break;
        case MessageType::Refused:
        case MessageType::Bye:
            j["reason"] = m.reason;
            break;
    }
    // Texts cut by a fixed width may end inside a character: they go out replaced, not as
    // a message the other side would refuse.
    return j.dump(-1, ' ', false, json::error_handler_t::replace);
}

std::string boardText(const BoardView& b) {
    return boardJson(b).dump(-1, ' ', false, json::error_handler_t::replace);
}

BoardView boardView(const Game& g, long seq) {
    const GameState& s = g.s;
    BoardView b;
    b.seq = seq;
    b.curPlayer = s.curPlayer;
    b.ended = g.ended;
    b.enabled = g.board.boardEnabled;
    b.busy = s.commandRunning || s.question != Question::None;
    b.phase = s.turnPhase;
    b.steps = s.susumuSteps;
    for (int p = 0; p < 2; ++p) {
        const auto i = static_cast<std::size_t>(p);
        b.names[i] = s.playerName[p];
        b.at[i] = {s.playerRosen[p], s.playerEki[p]};
        b.money[i] = s.playerMoney[p];
        b.points[i] = s.playerPoint[p];
    }
    for (int d = 1; d <= kDestinationCount; ++d) {
        const auto i = static_cast<std::size_t>(d - 1);
        b.destinations[i] = {s.mokutekitiRosen[d], s.mokutekitiEki[d]};
        b.done[i] = s.mokutekitiDone[d];
    }
    b.controls = boardModel(g);
    b.strip = g.line;
    // The host's mouse is the host's own.
    b.strip.hoverEki = 0;
    b.strip.ekiHover = b.strip.norikaeHover = b.strip.wheelBusy = false;
    if (s.curPlayer == kRemotePlayer) b.targets = pickableTargetsFor(g, kRemotePlayer);
    return b;
}

std::string joinCode(std::uint64_t random) {
    std::string code = std::to_string(random % 100000000);
    return std::string(kJoinCodeDigits - code.size(), '0') + code;
}

std::string spokenCode(const std::string& code) {
    if (code.size() != kJoinCodeDigits) return code;
    return code.substr(0, 4) + " " + code.substr(4);
}

std::string typedCode(std::string_view typed) {
    std::string digits;
    for (const char c : typed) {
        if (c >= '0' && c <= '9')
            digits += c;
        else if (c != ' ' && c != '-')
            return {};
    }
    return digits;
}

std::string helloRefusal(const std::string& expected, const std::string& given) {
    // A host without a code takes nobody.
    return !expected.empty() && given == expected ? std::string() : kErrCode;
}

std::string commandRefusal(const Game& g, int remotePlayer, const kisharin::Command& c) {
    if (c.player != remotePlayer) return kErrNotRemote;
    return refusal(g, c);
}

Message hello(std::string code) {
    Message m;
    m.type = MessageType::Hello;
    m.code = std::move(code);
    return m;
}
Message commandMessage(const kisharin::Command& c) {
    Message m;
    m.type = MessageType::Command;
    m.command = c;
    return m;
}
Message welcome(int player, int area, bool shortMode) {
    Message m;
    m.type = MessageType::Welcome;
    m.player = player;
    m.area = area;
    m.shortMode = shortMode;
    return m;
}
Message boardMessage(BoardView b) {
    Message m;
    m.type = MessageType::Board;
    m.board = std::move(b);
    return m;
}
ShowCall raceShow(const GameState& s, const Race& race) {
    ShowCall c;
    c.what = "race";
    c.player = s.curPlayer;
    c.text = s.raceName.size() <= kMaxText ? s.raceName : std::string();
    c.value = static_cast<int>(std::clamp<Long>(race.stake(), 0, 100000));
    c.start = race.laneAtFinish() + 1;
    c.end = race.winner() + 1;
    for (int i = 0; i < kLanes; ++i) c.odds[static_cast<std::size_t>(i)] = std::clamp(race.odds(i), 0, 10);
    c.moves = race.moves().substr(0, kMaxRaceMoves);
    return c;
}

Message showMessage(ShowCall c) {
    Message m;
    m.type = MessageType::Show;
    m.show = std::move(c);
    return m;
}
Message askMessage(Ask a) {
    Message m;
    m.type = MessageType::Ask;
    m.ask = std::move(a);
    return m;
}
Message refused(std::string reason) {
    Message m;
    m.type = MessageType::Refused;
    m.reason = std::move(reason);
    return m;
}
Message bye(std::string reason) {
    Message m;
    m.type = MessageType::Bye;
    m.reason = std::move(reason);
    return m;
}

}  // namespace kisharin::net

#include "record/story.h"
#include "state/area_caption.h"

#include <algorithm>
#include <cstdlib>

#include "board/line_display.h"
#include "state/game_state.h"
#include "state/railway.h"
#include "turns/game.h"

namespace kisharin {

namespace {

bool isFlight(const GameState& s, int line) {
    return s.ekiName(line, 0).starts_with("飛行機");
}

std::string number(long long n) {
    return std::to_string(n);
}

// Watches the replay and writes down each game's story.
class StoryBuilder final : public ReplayObserver {
  public:
    std::vector<Story> stories;

    void started(const Game& g) override {
        g_ = &g;
        cur_ = Story{};
        const GameState& s = g.s;
        for (int p = 0; p < 2; ++p) cur_.names[static_cast<std::size_t>(p)] = s.playerName[p];
        cur_.area = s.playArea;
        cur_.areaCaption = areaCaption(s.playArea);
        cur_.shortMode = s.shortMode;
        cur_.turns.push_back(snapshot(0, -1));
        for (int p = 0; p < 2; ++p) {
            at_[static_cast<std::size_t>(p)] = {s.playerRosen[p], s.playerEki[p]};
            cur_.journey[static_cast<std::size_t>(p)].push_back(
                {JourneyLeg::How::Start, 0, s.playerRosen[p], s.playerEki[p], s.playerEki[p]});
        }
        takeDestinations(false);
        mark_ = 0;
    }

    void carried(const Game& g, const Command& c) override {
        const GameState& s = g.s;
        const int turn = turnNow();
        const int p = c.player == 1 ? 1 : 0;
        if (c.kind != CommandKind::ClockTick) mover_ = p;
        if (c.kind == CommandKind::Ride && g.lastRide.line != 0 && g.lastRide.start != g.lastRide.end) {
            const RideRecord& r = g.lastRide;
            leg(r.player, {JourneyLeg::How::Ride, turn, r.line, r.start, r.end});
        } else if (c.kind == CommandKind::ChangeLine && here(p) != at_[static_cast<std::size_t>(p)]) {
            leg(p, {JourneyLeg::How::Change, turn, s.playerRosen[p], at_[static_cast<std::size_t>(p)].second,
                    s.playerEki[p]});
        }
        // What else moved a player (an event after the ride) is a move without riding.
        for (int q = 0; q < 2; ++q)
            if (here(q) != at_[static_cast<std::size_t>(q)])
                leg(q, {JourneyLeg::How::Moved, turn, s.playerRosen[q], s.playerEki[q], s.playerEki[q]});
        takeDestinations(true);
        mark_ = cur_.timeline.size();
    }

    void resumed(const Game& g) override {
        g_ = &g;
        for (int q = 0; q < 2; ++q)
            if (here(q) != at_[static_cast<std::size_t>(q)])
                leg(q, {JourneyLeg::How::Moved, turnNow(), g.s.playerRosen[q], g.s.playerEki[q],
                        g.s.playerEki[q]});
        takeDestinations(false);
        mark_ = cur_.timeline.size();
    }

    void turnPlayed(const Game&) override {
        cur_.turns.push_back(snapshot(turnNow(), mover_));
        mark_ = cur_.timeline.size();
    }

    void finished(const Game& g, const ReplayEnd& end) override {
        cur_.end = end;
        cur_.leader = end.points[0] > end.points[1] ? 0 : end.points[1] > end.points[0] ? 1 : -1;
        // The names of every station the story draws or tells.
        const GameState& s = g.s;
        auto name = [&](int line, int pos) {
            if (line < 1 || pos < 1) return;
            StoryStation st{s.ekiName(line, pos), s.ekiName(line, 0), s.ekiPref(line, pos), line, pos,
                            s.ekiPref(line, pos)};
            if (isFlight(s, line))
                for (const Station& to : transfersAt(s, line, pos))
                    if (!isFlight(s, to.line)) {
                        st.placeLine = to.line;
                        st.placePos = to.pos;
                        st.placePref = s.ekiPref(to.line, to.pos);
                        break;
                    }
            cur_.stations.try_emplace({line, pos}, std::move(st));
        };
        for (const auto& legs : cur_.journey)
            for (const JourneyLeg& l : legs)
                for (int i = std::min(l.from, l.to); i <= std::max(l.from, l.to); ++i) name(l.line, i);
        for (const StoryDestination& d : cur_.destinations) name(d.line, d.pos);
        for (const StoryEntry& e : cur_.timeline) name(e.line, e.pos);
        stories.push_back(std::move(cur_));
        g_ = nullptr;
    }

    void special(const SpecialEventRecord& r) override {
        if (!g_) return;
        const GameState& s = g_->s;
        StoryEntry e{StoryEntry::Kind::Special, turnNow(), r.player};
        const std::string who = s.playerName[std::clamp(r.player, 0, 1)];
        if (r.kind == "災害") {
            static const char* const kinds[] = {"", "竜巻", "火事", "津波"};
            e.text = "災害（" + std::string(kinds[std::clamp(r.detail, 0, 3)]) + "）";
        } else if (r.kind == "ワープ") {
            e.text = "ワープホール（" + s.regionName[std::clamp(r.detail, 0, 8)] + "）";
            if (r.moves.empty()) e.text += "：入らなかった";
        } else if (r.kind == "氏神") {
            e.text = "氏神様：" + (r.pref.empty() ? std::string("動かなかった") : r.pref + "へ");
        } else {
            e.text = r.kind;
        }
        for (const EventMove& m : r.moves)
            e.text += "　" + s.playerName[std::clamp(m.player, 0, 1)] + " は " + place(m.line, m.pos) + " へ";
        for (const EventDestination& d : r.newDestinations)
            e.text += "　目的地" + number(d.number) + " は " + place(d.line, d.pos) + " に";
        e.text = who + "：" + e.text;
        if (!r.moves.empty()) {
            e.line = r.moves.back().line;
            e.pos = r.moves.back().pos;
        }
        cur_.timeline.push_back(std::move(e));
    }

    void bet(const BetRecord& r) override {
        if (!g_) return;
        const GameState& s = g_->s;
        StoryEntry e{StoryEntry::Kind::Bet, turnNow(), r.player};
        const std::string who = s.playerName[std::clamp(r.player, 0, 1)];
        const std::string race = s.raceName.empty() ? std::string("レース") : s.raceName;
        if (r.cancelled) {
            e.text = who + "：" + race + "　勝負しない";
        } else {
            e.text =
                who + "：" + race + "　" + number(r.stake) + "円を " + number(r.lane) + "番に　" +
                number(r.winner) + "番が1着　" +
                (r.points > 0 ? "当たり +" + number(r.points) + "P" : "はずれ " + number(r.points) + "P");
        }
        e.points = r.points;
        cur_.timeline.push_back(std::move(e));
    }

  private:
    int turnNow() const { return static_cast<int>(cur_.turns.size()); }
    std::pair<int, int> here(int p) const { return {g_->s.playerRosen[p], g_->s.playerEki[p]}; }
    std::string place(int line, int pos) const {
        const GameState& s = g_->s;
        if (line < 1 || pos < 1 || line > lineCount(s) || pos > stationCount(s, line)) return "?";
        return s.ekiName(line, pos) + "（" + s.ekiName(line, 0) + "）";
    }
    StoryTurn snapshot(int turn, int player) const {
        StoryTurn t{turn, player};
        for (int p = 0; p < 2; ++p) {
            t.points[static_cast<std::size_t>(p)] = g_->s.playerPoint[p];
            t.money[static_cast<std::size_t>(p)] = g_->s.playerMoney[p];
        }
        return t;
    }
    void leg(int p, JourneyLeg l) {
        cur_.journey[static_cast<std::size_t>(p)].push_back(l);
        at_[static_cast<std::size_t>(p)] = {l.line, l.to};
    }
    // The destinations as they stand; with `tell`, those reached since the last look go
    // into the time line before the events of the same command (the destination check
    // comes before the event).
    void takeDestinations(bool tell) {
        const GameState& s = g_->s;
        std::vector<StoryEntry> reached;
        for (int d = 1; d <= 8; ++d) {
            StoryDestination& dest = cur_.destinations[static_cast<std::size_t>(d - 1)];
            const bool wasDone = dest.reachedBy >= 0 || (dest.turn < 0);
            dest.line = s.mokutekitiRosen[d];
            dest.pos = s.mokutekitiEki[d];
            if (!s.mokutekitiDone[d]) {
                dest.reachedBy = -1;  // open again (a saved game loaded from before it was reached)
                dest.turn = 0;
                continue;
            }
            if (wasDone) continue;
            if (!tell) {
                dest.turn = -1;  // reached before the record began
                continue;
            }
            const int who = s.arriveCount[1] > arrived_[1] ? 1 : s.arriveCount[0] > arrived_[0] ? 0 : mover_;
            dest.reachedBy = who;
            dest.turn = turnNow();
            StoryEntry e{StoryEntry::Kind::Destination, turnNow(), who};
            e.line = dest.line;
            e.pos = dest.pos;
            e.number = d;
            e.text =
                s.playerName[who] + "：目的地" + number(d) + " " + place(dest.line, dest.pos) + " に到着";
            reached.push_back(std::move(e));
        }
        for (int p = 0; p < 2; ++p) arrived_[static_cast<std::size_t>(p)] = s.arriveCount[p];
        cur_.timeline.insert(
            cur_.timeline.begin() + static_cast<std::ptrdiff_t>(std::min(mark_, cur_.timeline.size())),
            reached.begin(), reached.end());
    }

    const Game* g_ = nullptr;
    Story cur_;
    std::array<std::pair<int, int>, 2> at_{};
    std::array<int, 2> arrived_{};
    int mover_ = 0;
    std::size_t mark_ = 0;  // the time line's length before the command under way
};

}  // namespace

const StoryStation& Story::station(int line, int pos) const {
    static const StoryStation none{"?", "?", ""};
    const auto it = stations.find({line, pos});
    return it == stations.end() ? none : it->second;
}

std::string Story::stationText(int line, int pos) const {
    const StoryStation& st = station(line, pos);
    return st.name + "（" + st.lineName + "）";
}

std::string Story::leaderText() const {
    if (leader < 0) return "引き分け（" + number(end.points[0]) + "P で同点）";
    const auto w = static_cast<std::size_t>(leader);
    return names[w] + " の勝ち（" + number(end.points[w]) + "P 対 " + number(end.points[1 - w]) + "P）";
}

std::vector<Story> readStories(const std::string& path, const std::string& appDir) {
    StoryBuilder builder;
    replayRecord(path, appDir, &builder);
    return std::move(builder.stories);
}

}  // namespace kisharin

#include "turns/events.h"

#include <optional>

#include "board/startup.h"
#include "state/saturate.h"
#include "state/station_draw.h"
#include "turns/command.h"
#include "turns/destinations.h"
#include "turns/messages.h"
#include "turns/race.h"

namespace kisharin {

const char* disasterKindText(int kind) {
    switch (kind) {
        case 1:
            return "竜巻だ！！飛ばされる～";
        case 2:
            return "火事だ！逃げろ～";
        default:
            return "津波だ！ごぼごぼごぼ…";
    }
}

std::string warpTitle(const std::string& region) {
    return "ワープ　" + region + "へ";
}

long routeLength(const GameState& s) {
    return s.routeList.empty() ? 0 : s.routeList.front().distance;
}

namespace {

// The play area's prefectures; empty (anywhere) for the whole country.
std::vector<std::string> playAreaPrefs(const GameState& s) {
    if (s.playArea >= 1 && s.playArea <= kRegionCount) return s.regionPrefs[s.playArea];
    return {};
}

// A station drawn among `prefs` (anywhere when `anywhere`). Nothing when the data has
// no station there: the player then stays where they are.
std::optional<Station> drawIn(Game& g, const std::vector<std::string>& prefs) {
    return drawStationIn(g.s, g.rng, g.clock, prefs, Reseed::Never);
}

EventMove placePlayer(GameState& s, int p, Station st) {
    s.playerRosen[p] = static_cast<Integer>(st.line);
    s.playerEki[p] = static_cast<Integer>(st.pos);
    return {p, st.line, st.pos};
}

void report(Game& g, const SpecialEventRecord& r) {
    // Where the event put each player, said in the message log.
    const GameState& s = g.s;
    for (const EventMove& m : r.moves)
        if (m.player == 0 || m.player == 1)
            noteInLog(g, movedNote(s.playerName[m.player], s.ekiName(m.line, m.pos), s.ekiName(m.line, 0)));
    if (g.eventLog) g.eventLog->special(r);
}

SpecialEventRecord record(const Game& g, const char* kind) {
    SpecialEventRecord r;
    r.player = g.s.curPlayer;
    r.kind = kind;
    return r;
}

}  // namespace

void 移動イベント(Game& g) {
    switch (static_cast<int>(g.rng.next() * 100)) {
        case 0:
            災害(g);
            break;
        case 1:
            ワープ(g);
            break;
        case 2:
            氏神(g);
            break;
        case 3:
            全員集合(g);
            break;
        case 4:
            地震(g);
            break;
        default:
            break;
    }
}

void 災害(Game& g) {
    GameState& s = g.s;
    SpecialEventRecord r = record(g, "災害");
    if (const auto st = drawIn(g, playAreaPrefs(s))) r.moves.push_back(placePlayer(s, s.curPlayer, *st));
    const int kind = g.rng.pick(3);
    r.detail = kind;
    g.screens.showDisaster(s, kind);
    showMessage(g, disasterText(disasterKindText(kind)));
    report(g, r);
}

void ワープ(Game& g) {
    GameState& s = g.s;
    SpecialEventRecord r = record(g, "ワープ");
    const int region = g.rng.pick(kRegionCount);
    r.detail = region;
    g.screens.showEventPicture(s, kPictureWarp);
    showMessage(g, warpText(s.regionName[region]));
    g.answers.warp = false;
    s.questionRegion = static_cast<Integer>(region);
    // The jump waits for the answer command.
    openQuestion(g, Question::Warp, [r, region](Game& later) mutable {
        if (later.answers.warp)
            if (const auto st = drawIn(later, later.s.regionPrefs[region]))
                r.moves.push_back(placePlayer(later.s, later.s.curPlayer, *st));
        later.screens.showEventPicture(later.s, 0);
        report(later, r);
    });
    settleQuestion(g);  // at once when no command runs; else once the command has ended
}

void 氏神(Game& g) {
    GameState& s = g.s;
    SpecialEventRecord r = record(g, "氏神");
    g.screens.showEventPicture(s, kPictureGod);
    showMessage(g, kMsgGuardianGod);
    g.answers.god.clear();
    openQuestion(g, Question::God, [r](Game& later) mutable {
        // Only the answer the command carried counts (no window's choice of a prefecture).
        r.pref = later.answers.god;
        if (!r.pref.empty())
            if (const auto st = drawIn(later, {r.pref}))
                r.moves.push_back(placePlayer(later.s, later.s.curPlayer, *st));
        later.screens.showEventPicture(later.s, 0);
        report(later, r);
    });
    settleQuestion(g);  // at once when no command runs; else once the command has ended
}

void 全員集合(Game& g) {
    GameState& s = g.s;
    SpecialEventRecord r = record(g, "全員集合");
    showMessage(g, kMsgGathering);
    const auto st = drawIn(g, playAreaPrefs(s));
    if (!st) {
        report(g, r);
        return;
    }
    r.moves.push_back(placePlayer(s, 0, *st));
    r.moves.push_back(placePlayer(s, 1, *st));
    showMessage(g, gatheringPlaceText(s.ekiName(st->line, st->pos)));
    report(g, r);
}

void 地震(Game& g) {
    GameState& s = g.s;
    SpecialEventRecord r = record(g, "地震");
    for (int i = 0; i < kShakeMoves; ++i) {
        if (i > 0) g.screens.pause(kShakeSpacing);
        g.screens.shakeBoard(i % 2 == 0 ? -kShakeTwips : kShakeTwips);
    }
    地震目的地変更(g);
    for (int d = 1; d <= kDestinationCount; ++d)
        if (!s.mokutekitiDone[d]) r.newDestinations.push_back({d, s.mokutekitiRosen[d], s.mokutekitiEki[d]});
    showMessage(g, kMsgEarthquake);
    report(g, r);
}

void 賭け事イベント(Game& g) {
    GameState& s = g.s;
    const int p = s.curPlayer;
    if (s.playerMoney[p] < kLeastStake) return;
    showMessage(g, raceDayText(s.raceName));
    // The race of the betting window: the odds are drawn as it opens; the seat bets and
    // the race runs, or the seat declines. What the race ended with is the only account
    // of the bet.
    auto day = std::make_shared<Race>(g.rng);
    openQuestion(g, Question::Bet, [p, day](Game& later) { settleBet(later, p, *day); });
    g.raceDay = day;
    g.openRace = day.get();
    settleQuestion(g);
}

void settleBet(Game& g, int p, const Race& racing) {
    GameState& s = g.s;
    s.betCancelled = !racing.decided();
    s.betStake = s.betCancelled ? 0 : racing.stake();
    s.betWinPoints = s.betCancelled ? 0 : static_cast<Integer>(racing.winPoints());
    RaceOutcome race;
    if (racing.decided()) race = {racing.laneAtFinish() + 1, racing.winner() + 1};
    BetRecord b;
    b.player = p;
    b.cancelled = s.betCancelled;
    if (!s.betCancelled) {
        b.stake = s.betStake;
        b.lane = race.lane;
        b.winner = race.winner;
        addMoney(s.playerMoney[p], -s.betStake);
        noteInLog(g, stakeNote(s.betStake));
        if (s.betWinPoints != 0) {
            showMessage(g, betWonText(s.betWinPoints));
            addPoints(s.playerPoint[p], s.betWinPoints);
            b.points = s.betWinPoints;
        } else {
            showMessage(g, kMsgBetLost);
            addPoints(s.playerPoint[p], -50);
            b.points = -50;
        }
    }
    if (g.eventLog) g.eventLog->bet(b);
}

// --- The event picture ------------------------------------------------------------------

void startSlide(EventPicture& e, int kind, int width, int screenTop) {
    e.picture = kind;
    e.width = width;
    e.left = -width;
    e.top = screenTop + kEventPictureTop;
    e.visible = true;
    e.sliding = true;
}

void centrePicture(EventPicture& e, int picture, int width, int screenWidth, int screenTop) {
    e.picture = picture;
    e.width = width;
    e.left = screenWidth / 2 - width / 2;
    e.top = screenTop + kEventPictureTop;
    e.visible = true;
    e.sliding = false;
}

void hidePicture(EventPicture& e) {
    e.visible = false;
    e.sliding = false;
}

bool tmrNature_Timer(EventPicture& e, int windowWidth) {
    if (!e.sliding) return false;
    e.left += kNatureStepPx;
    if (e.left > windowWidth) hidePicture(e);
    return e.sliding;
}

}  // namespace kisharin

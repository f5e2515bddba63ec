// The rare special events after a move: disaster, warp, guardian god, gathering and
// earthquake, and the event picture's slide over the board.
#include <gtest/gtest.h>

#include <deque>
#include <numeric>
#include <set>

#include "maps/picker.h"
#include "support/commands.h"
#include "turn_fixture.h"
#include "turns/computer.h"
#include "turns/destinations.h"
#include "turns/events.h"
#include "turns/messages.h"

namespace kisharin::testing {
namespace {

// The queued values first, then a seeded generator.
class MixedRng : public Rng {
  public:
    std::deque<double> first;
    DefaultRng rest{5};
    double next() override {
        if (first.empty()) return rest.next();
        const double v = first.front();
        first.pop_front();
        return v;
    }
    void reseed(double) override {}
};

struct Log : EventLog {
    std::vector<SpecialEventRecord> events;
    void special(const SpecialEventRecord& r) override { events.push_back(r); }
    void bet(const BetRecord&) override {}
};

// pick(m) gives v for the value (v - 0.5) / m.
double pickValue(int v, int m) {
    return (v - 0.5) / m;
}

class Events : public BoardTest {
  protected:
    MixedRng mixed;
    Log log;
    Game eg{s, screens, mixed, clock};
    ComputerSeat computer;

    void SetUp() override {
        BoardTest::SetUp();
        eg.eventLog = &log;
        eg.seats = {&screens, &computer};
        for (int p = 0; p < 2; ++p) s.playerPoint[p] = 100;
    }
    void computerToMove(long route) {
        s.comOpponent = True;
        s.curPlayer = 1;
        s.routeList = {{1, 10, static_cast<Long>(route), "k"}, {1, 1, static_cast<Long>(route), "k"}};
        s.routeCount = 2;
    }
    Station at(int p) const { return {s.playerRosen[p], s.playerEki[p]}; }
    std::string prefOf(int p) const { return s.ekiPref(s.playerRosen[p], s.playerEki[p]); }
};

TEST_F(Events, OneDrawOfAHundredPicksTheEvent) {
    const std::vector<std::pair<int, std::string>> cases = {
        {0, "災害"}, {1, "ワープ"}, {2, "氏神"}, {3, "全員集合"}, {4, "地震"}};
    for (const auto& [r, kind] : cases) {
        log.events.clear();
        mixed.first = {(r + 0.5) / 100};
        screens.prefectures = {""};
        移動イベント(eg);
        ASSERT_EQ(log.events.size(), 1u) << kind;
        EXPECT_EQ(log.events[0].kind, kind);
    }
    log.events.clear();
    const size_t shown = screens.messages.size();
    for (double v : {0.05, 0.5, 0.9999}) {
        mixed.first = {v};
        移動イベント(eg);
    }
    EXPECT_TRUE(log.events.empty());
    EXPECT_EQ(screens.messages.size(), shown);
}

TEST_F(Events, DisasterBlowsThePlayerAwayWithinThePlayArea) {
    s.playArea = 3;  // 関東地方: only 東京都 has stations here
    std::set<int> kinds;
    for (int n = 0; n < 200; ++n) {
        screens.messages.clear();
        screens.disasters.clear();
        災害(eg);
        ASSERT_EQ(prefOf(0), "東京都") << "draw " << n;
        ASSERT_EQ(screens.disasters.size(), 1u);
        const int kind = screens.disasters[0];
        kinds.insert(kind);
        ASSERT_EQ(screens.messages.size(), 1u);
        EXPECT_EQ(screens.messages[0], std::string("　　　わー！！　") + disasterKindText(kind));
    }
    EXPECT_EQ(kinds, (std::set<int>{1, 2, 3}));
    EXPECT_EQ(disasterText(disasterKindText(1)), "　　　わー！！　竜巻だ！！飛ばされる～");
    EXPECT_EQ(disasterText(disasterKindText(2)), "　　　わー！！　火事だ！逃げろ～");
    EXPECT_EQ(disasterText(disasterKindText(3)), "　　　わー！！　津波だ！ごぼごぼごぼ…");
    ASSERT_EQ(log.events.back().moves.size(), 1u);
    EXPECT_EQ(log.events.back().moves[0].line, s.playerRosen[0]);
    EXPECT_EQ(log.events.back().moves[0].pos, s.playerEki[0]);
}

TEST_F(Events, DisasterInTheWholeCountryGoesAnywhere) {
    std::set<std::string> prefs;
    for (int n = 0; n < 200; ++n) {
        災害(eg);
        prefs.insert(prefOf(0));
    }
    EXPECT_EQ(prefs, (std::set<std::string>{"東京都", "宮城県", "北海道"}));
}

TEST_F(Events, ComputerWarpsOnlyOnALongRouteIntoAnOpenDestinationsRegion) {
    const double tohoku = pickValue(2, 8);
    // Route of 40: stays.
    computerToMove(40);
    mixed.first = {tohoku};
    ワープ(eg);
    EXPECT_EQ(at(1), (Station{1, 10}));
    // Route of 41 and 東北's destination open: jumps into 宮城県 (the only 東北 stations).
    computerToMove(41);
    mixed.first = {tohoku};
    ワープ(eg);
    EXPECT_EQ(prefOf(1), "宮城県");
    EXPECT_EQ(log.events.back().detail, 2);
    ASSERT_EQ(log.events.back().moves.size(), 1u);
    EXPECT_EQ(log.events.back().moves[0].player, 1);
    // 東北's destination reached: stays, however long the route.
    place(1, 1, 10);
    s.mokutekitiDone[2] = True;
    computerToMove(500);
    mixed.first = {tohoku};
    ワープ(eg);
    EXPECT_EQ(at(1), (Station{1, 10}));
    EXPECT_TRUE(log.events.back().moves.empty());
    // The computer is never asked.
    EXPECT_TRUE(screens.questions.empty());
    EXPECT_EQ(screens.messages.back(), "　　　東北地方に続いているワープ穴発見！");
}

TEST_F(Events, HumanIsAskedAndNoStays) {
    s.playArea = 3;
    mixed.first = {pickValue(1, 8)};
    screens.answers = {false};
    ワープ(eg);
    EXPECT_EQ(at(0), (Station{1, 1}));
    ASSERT_EQ(screens.questions.size(), 1u);
    EXPECT_EQ(screens.questions[0], "ワープ　北海道地方へ|飛び込みますか？");
    // The picture is shown for the question and hidden afterwards.
    EXPECT_EQ(screens.eventPictures, (std::vector<int>{kPictureWarp, 0}));
    // Yes jumps, even out of the play area of a regional game.
    mixed.first = {pickValue(1, 8)};
    screens.answers = {true};
    ワープ(eg);
    EXPECT_EQ(prefOf(0), "北海道");
    EXPECT_EQ(screens.eventPictures.back(), 0);
    // The message log says where the player landed (no window: the timing stays).
    EXPECT_EQ(eg.messages.entries().back().text, movedNote(s.playerName[0], "孤島", "離島線"));
    EXPECT_EQ(screens.messages.back(), "　　　北海道地方に続いているワープ穴発見！");
}

TEST_F(Events, ComputersGodNeedsARouteAboveTwentyFiveAndGoesToAnOpenDestination) {
    for (int d = 1; d <= 7; ++d) s.mokutekitiDone[d] = True;
    s.mokutekitiRosen[8] = 2;
    s.mokutekitiEki[8] = 4;  // 盛岡, 宮城県 in this network
    computerToMove(25);
    氏神(eg);
    EXPECT_EQ(at(1), (Station{1, 10}));
    EXPECT_TRUE(log.events.back().pref.empty());
    computerToMove(26);
    for (int n = 0; n < 20; ++n) {
        place(1, 1, 10);
        氏神(eg);
        ASSERT_EQ(prefOf(1), "宮城県");
        EXPECT_EQ(log.events.back().pref, "宮城県");
    }
    EXPECT_EQ(screens.messages.back(), kMsgGuardianGod);
    // The computer never opens the picker: the scripted one would have said 東京都.
    EXPECT_TRUE(screens.prefectures.empty());
}

TEST_F(Events, ComputersGodPicksAmongOpenDestinationsAtRandom) {
    // Two open destinations in different prefectures: both are chosen over many events.
    for (int d = 1; d <= 8; ++d) s.mokutekitiDone[d] = True;
    s.mokutekitiDone[3] = False;
    s.mokutekitiRosen[3] = 3;
    s.mokutekitiEki[3] = 1;  // 北海道
    s.mokutekitiDone[6] = False;
    s.mokutekitiRosen[6] = 2;
    s.mokutekitiEki[6] = 1;  // 宮城県
    std::set<std::string> seen;
    for (int n = 0; n < 40; ++n) {
        computerToMove(100);
        氏神(eg);
        seen.insert(prefOf(1));
    }
    EXPECT_EQ(seen, (std::set<std::string>{"北海道", "宮城県"}));
}

TEST_F(Events, ClosingTheGodsPickerLeavesThePlayer) {
    screens.prefectures = {""};
    氏神(eg);
    EXPECT_EQ(at(0), (Station{1, 1}));
    EXPECT_TRUE(mapPick().pickedPref.empty());
    EXPECT_EQ(screens.eventPictures, (std::vector<int>{kPictureGod, 0}));
    // A pick moves the player there, whatever the play area.
    s.playArea = 3;
    screens.prefectures = {"宮城県"};
    氏神(eg);
    EXPECT_EQ(s.playerRosen[0], 2);
    EXPECT_EQ(log.events.back().pref, "宮城県");
    // A prefecture without any station of the data: the player stays.
    place(0, 1, 1);
    screens.prefectures = {"沖縄県"};
    氏神(eg);
    EXPECT_EQ(at(0), (Station{1, 1}));
}

TEST_F(Events, GatheringPutsBothOnOneStationWithoutTheMeetingBonus) {
    s.playerMoney[0] = 1000;
    s.playerMoney[1] = 2000;
    // 仙台 is an open destination: standing there after an event is no arrival yet.
    s.mokutekitiRosen[2] = 2;
    s.mokutekitiEki[2] = 3;
    mixed.first = {pickValue(2, 4), pickValue(3, 5)};  // 東北新幹線 仙台
    全員集合(eg);
    EXPECT_EQ(at(0), (Station{2, 3}));
    EXPECT_EQ(at(1), (Station{2, 3}));
    EXPECT_EQ(screens.messages,
              (std::vector<std::string>{"　　　旅は道連れ。　全員集合！", "仙台駅に、集まれ～！！"}));
    EXPECT_EQ(s.playerPoint[0], 100);
    EXPECT_EQ(s.playerPoint[1], 100);
    EXPECT_EQ(s.playerMoney[0], 1000);
    EXPECT_EQ(s.playerMoney[1], 2000);
    EXPECT_FALSE(s.mokutekitiDone[2]);
    EXPECT_EQ(s.arriveCount[0] + s.arriveCount[1], 0);
    ASSERT_EQ(log.events.back().moves.size(), 2u);
    EXPECT_EQ(log.events.back().moves[1].player, 1);
}

TEST_F(Events, GatheringAfterAMoveStillPassesTheTurnWithoutTheBonus) {
    // The whole end of a move: no cut, no overshoot, no happening, then event 3.
    mixed.first = {0.9, 0.9, 0.9, 0.9, 0.9, 0.9, 0.9, 0.9};
    place(0, 1, 1);
    路線読み込み(eg.s, eg.line, *eg.metrics);
    screens.dice.push_back(1);
    testing::roll(eg);
    // The event draw comes last; find it by trying each place in the queue.
    const GameState before = s;
    bool found = false;
    for (size_t k = 1; k <= 8 && !found; ++k) {
        s = before;
        mixed.first.clear();
        for (size_t i = 0; i < k - 1; ++i) mixed.first.push_back(0.9);
        mixed.first.push_back(0.035);
        mixed.first.push_back(pickValue(2, 4));
        mixed.first.push_back(pickValue(3, 5));
        log.events.clear();
        testing::rideTo(eg, 2);
        found = !log.events.empty() && log.events[0].kind == "全員集合";
    }
    ASSERT_TRUE(found);
    EXPECT_EQ(at(0), at(1));
    EXPECT_EQ(s.playerPoint[0], 100);
    EXPECT_EQ(s.playerPoint[1], 100);
    EXPECT_EQ(s.curPlayer, 1);
}

TEST_F(Events, EarthquakeShakesTheBoardAndMovesOnlyOpenDestinations) {
    s.mokutekitiDone[1] = True;
    s.mokutekitiRosen[1] = 1;
    s.mokutekitiEki[1] = 4;  // reached, in the wrong region: stays all the same
    s.mokutekitiRosen[2] = 1;
    s.mokutekitiEki[2] = 6;  // open: drawn again in 東北
    s.mokutekitiDone[3] = True;
    s.mokutekitiRosen[3] = 2;
    s.mokutekitiEki[3] = 2;
    const double before = screens.seconds;
    地震(eg);
    EXPECT_EQ(s.mokutekitiRosen[1], 1);
    EXPECT_EQ(s.mokutekitiEki[1], 4);
    EXPECT_EQ(s.mokutekitiRosen[3], 2);
    EXPECT_EQ(s.mokutekitiEki[3], 2);
    EXPECT_EQ(s.mokutekitiRosen[2], 2);
    // Eleven moves, left first, alternating, ending 100 twips left of the start.
    ASSERT_EQ(screens.shakes.size(), 11u);
    for (size_t i = 0; i < 11; ++i) EXPECT_EQ(screens.shakes[i], i % 2 == 0 ? -100 : 100);
    EXPECT_EQ(std::accumulate(screens.shakes.begin(), screens.shakes.end(), 0), -100);
    // Ten waits of 0.08 s between them, then the message.
    EXPECT_NEAR(screens.seconds - before, 10 * 0.08 + 2.0, 1e-9);
    EXPECT_EQ(screens.messages.back(), kMsgEarthquake);
    // The message log keeps it, with the turn and the player it came in.
    ASSERT_FALSE(eg.messages.entries().empty());
    EXPECT_EQ(eg.messages.entries().back().text, kMsgEarthquake);
    EXPECT_EQ(eg.messages.entries().back().player, s.curPlayer);
    const auto& moved = log.events.back().newDestinations;
    ASSERT_EQ(moved.size(), 6u);  // 2 and 4..8
    EXPECT_EQ(moved[0].number, 2);
    EXPECT_EQ(moved[0].line, 2);
    for (const auto& d : moved) EXPECT_FALSE(s.mokutekitiDone[d.number]);
}

TEST(EventPicture, DisasterSlidesAcrossTheWholeWindowThenHides) {
    EventPicture e;
    startSlide(e, 2, 160, 8);
    EXPECT_EQ(e.left, -160);
    EXPECT_EQ(e.top, 18);
    EXPECT_TRUE(e.visible);
    int ticks = 0;
    while (tmrNature_Timer(e, 784)) {
        ++ticks;
        ASSERT_LE(e.left, 784);
        ASSERT_TRUE(e.visible);
    }
    // -160 + 50 t > 784 first at t = 19.
    EXPECT_EQ(ticks + 1, 19);
    EXPECT_FALSE(e.visible);
    EXPECT_FALSE(e.sliding);
    EXPECT_FALSE(tmrNature_Timer(e, 784));  // a stopped timer moves nothing
    EXPECT_EQ(e.left, -160 + 19 * 50);
}

TEST(EventPicture, WarpAndGodStandInTheMiddleAndDoNotSlide) {
    EventPicture e;
    centrePicture(e, kPictureWarp, 161, 750, 8);
    EXPECT_EQ(e.left, 375 - 80);
    EXPECT_FALSE(e.sliding);
    EXPECT_FALSE(tmrNature_Timer(e, 784));
    EXPECT_EQ(e.left, 295);
    hidePicture(e);
    EXPECT_FALSE(e.visible);
}

}  // namespace
}  // namespace kisharin::testing

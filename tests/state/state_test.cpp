#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "state/datetime.h"
#include "state/game_state.h"
#include "state/railway.h"
#include "state/regions.h"
#include "state/rng.h"
#include "state/station_draw.h"
#include "support/fakes.h"
#include "support/railway_builder.h"

namespace kisharin {
namespace {

using testing::FakeClock;
using testing::SequenceRng;
using testing::TestLine;

TEST(Tables, EveryAccessIsChecked) {
    GameState s;
    s.ekiName(750, 100) = "end";
    EXPECT_EQ(s.ekiName(750, 100), "end");
    EXPECT_THROW(s.ekiName(751, 0), GameError);
    EXPECT_THROW(s.ekiName(0, 101), GameError);
    EXPECT_THROW(s.ekiPref(-1, 0), GameError);
    EXPECT_THROW(s.visited[2], GameError);
    EXPECT_THROW(s.mokutekitiRosen[9], GameError);
    EXPECT_THROW(s.norikaeList(151, 0), GameError);
    try {
        s.ekiYomi(3, 200);
    } catch (const GameError& e) {
        EXPECT_NE(std::string(e.what()).find("ekiYomi"), std::string::npos);
    }
}

TEST(Tables, NewStateStartsEmptyAndCopiesAreIndependent) {
    GameState s;
    EXPECT_TRUE(s.ekiName(1, 0).empty());
    EXPECT_FALSE(s.visited[1](5, 5));
    EXPECT_EQ(s.playerMoney[0], 0);
    GameState copy = s;
    copy.ekiName(1, 1) = "駅";
    copy.visited[0](1, 1) = true;
    EXPECT_TRUE(s.ekiName(1, 1).empty());
    EXPECT_FALSE(s.visited[0](1, 1));
}

// Railway tables make their rows when first written; none of that may show.
TEST(Tables, RowsMadeOnDemandBehaveAsAWholeTable) {
    VisitedTable a, b;
    a(3, 4) = true;
    a(3, 4) = false;  // row 3 now exists in a, holding nothing
    EXPECT_TRUE(a == b);
    EXPECT_TRUE(b == a);
    b(700, 100) = true;
    EXPECT_FALSE(a == b);

    // Assignment forgets rows the source does not have.
    VisitedTable c;
    c(3, 1) = true;
    c(9, 9) = true;
    c = b;
    EXPECT_TRUE(c == b);
    EXPECT_FALSE(c(3, 1));
    EXPECT_FALSE(c(9, 9));
    EXPECT_TRUE(c(700, 100));

    // Filling with the empty value keeps written rows (references stay good); a
    // moved-from table reads as empty instead of touching freed memory.
    RailTable<std::string> names{"names"};
    std::string& kept = names(5, 5);
    kept = "駅";
    names.fill("");
    kept = "再";
    EXPECT_EQ(names(5, 5), "再");
    names.fill("x");
    EXPECT_EQ(std::as_const(names)(750, 100), "x");
    RailTable<std::string> moved = std::move(names);
    EXPECT_EQ(moved(0, 0), "x");
    EXPECT_TRUE(std::as_const(names)(0, 0).empty());  // NOLINT(bugprone-use-after-move)
    EXPECT_THROW(std::as_const(names)(751, 0), GameError);
}

TEST(Regions, TablesHoldTheEightRegionsInOrder) {
    GameState s;
    buildRegionTables(s);
    buildFareTable(s);
    EXPECT_EQ(s.regionName[1], "北海道地方");
    EXPECT_EQ(s.regionName[8], "九州地方");
    EXPECT_EQ(s.regionPrefs[4].size(), 9u);
    EXPECT_EQ(s.regionPrefs[4][8], "石川県");
    EXPECT_EQ(s.regionColor[3], rgb(217, 255, 255));
    EXPECT_EQ(allPrefectures(s).size(), 47u);
    EXPECT_EQ(regionOf(s, "沖縄県"), 8);
    EXPECT_EQ(regionOf(s, "東京"), 0);  // spelled without 都: no region
    EXPECT_EQ(s.kindFare[1], 150);
    EXPECT_EQ(s.kindFare[5], 30000);
}

TEST(Railway, CountsStopAtTheFirstEmptyName) {
    RailwayData d = testing::makeRailway({{"A線", {"a", "b", "c"}, {"東京都"}}, {"B線", {"x"}, {"東京都"}}});
    EXPECT_EQ(lineCount(d), 2);
    EXPECT_EQ(stationCount(d, 1), 3);
    EXPECT_EQ(stationCount(d, 2), 1);
    EXPECT_EQ(stationCount(d, 3), 0);
    d.ekiName(4, 0) = "離れた線";  // after a gap: not a line
    EXPECT_EQ(lineCount(d), 2);
    d.ekiName(1, 2).clear();  // a hole ends the line
    EXPECT_EQ(stationCount(d, 1), 1);
    EXPECT_TRUE(isStation(d, 1, 1));
    EXPECT_FALSE(isStation(d, 1, 2));
    EXPECT_FALSE(isStation(d, 4, 0));
    for (int p = 1; p <= 100; ++p) d.ekiName(5, p) = "s";
    EXPECT_EQ(stationCount(d, 5), 100);
}

TEST(Railway, ParsesLinkTexts) {
    EXPECT_EQ(parseLinks("12\\5;40\\1"), (std::vector<Link>{{12, 5}, {40, 1}}));
    EXPECT_TRUE(parseLinks("").empty());
    EXPECT_EQ(parseLinks("3\\2"), (std::vector<Link>{{3, 2}}));
}

TEST(Rng, IsUniformInUnitIntervalAndRepeatsFromASeed) {
    DefaultRng a(12.5), b(12.5), c(13.0);
    std::vector<int> buckets(10);
    bool differs = false;
    for (int i = 0; i < 20000; ++i) {
        const double x = a.next();
        ASSERT_GE(x, 0.0);
        ASSERT_LT(x, 1.0);
        ASSERT_EQ(x, b.next());
        differs |= x != c.next();
        ++buckets[static_cast<int>(x * 10)];
    }
    EXPECT_TRUE(differs);
    for (int n : buckets) EXPECT_NEAR(n, 2000, 250);
    a.reseed(7);
    const double first = a.next();
    a.reseed(7);
    EXPECT_EQ(a.next(), first);
}

TEST(Rng, PickAndOneInFollowTheIntRule) {
    SequenceRng r({0.0, 0.999999, 0.5, 1.0 / 60 - 1e-9, 1.0 / 60});
    EXPECT_EQ(r.pick(6), 1);
    EXPECT_EQ(r.pick(6), 6);
    EXPECT_EQ(r.pick(6), 4);
    EXPECT_TRUE(r.oneIn(60));
    EXPECT_FALSE(r.oneIn(60));
}

TEST(DateTime, SerialsRoundTripAndTheClockShowsMinutesOfPlay) {
    const CivilTime t{2024, 2, 29, 23, 59, 30};
    EXPECT_EQ(fromSerial(toSerial(t)), t);
    EXPECT_EQ(toSerial({1899, 12, 30, 0, 0, 0}), 0.0);
    EXPECT_EQ(toSerial({2000, 1, 1, 0, 0, 0}), 36526.0);
    const double start = toSerial({2026, 12, 31, 23, 58, 0});
    EXPECT_EQ(clockText(start, 0), "12/31 23：58");
    EXPECT_EQ(clockText(start, 2), "1/1 00：00");  // two seconds of play are two minutes
    EXPECT_EQ(clockText(toSerial({2026, 3, 5, 7, 4, 0}), 61), "3/5 08：05");
}

TEST(DateTime, ShortDateTextRoundTripsAndRefusesNonsense) {
    const double v = toSerial({2026, 12, 8, 9, 5, 7});
    EXPECT_EQ(shortDateTimeText(v), "2026/12/08 09:05:07");
    EXPECT_EQ(parseShortDateTime("2026/12/08 09:05:07"), v);
    EXPECT_EQ(parseShortDateTime("2026/12/08"), toSerial({2026, 12, 8, 0, 0, 0}));
    EXPECT_FALSE(parseShortDateTime("2026/02/30 00:00:00"));
    EXPECT_FALSE(parseShortDateTime("2026/12/08 25:00:00"));
    EXPECT_FALSE(parseShortDateTime("yesterday"));
    EXPECT_FALSE(parseShortDateTime("2026/12/08 09:05:07 x"));
}

class StationDraw : public ::testing::Test {
protected:
    RailwayData d = testing::makeRailway({
        {"A線", {"a1", "a2", "a3", "a4"}, {"東京都"}},
        {"B線", {"b1", "b2"}, {"北海道", "沖縄県"}},
    });
    FakeClock clock;
};

TEST_F(StationDraw, FollowsTheIntRuleForLineThenPosition) {
    SequenceRng rng({0.6, 0.75});  // line Int(2*0.6)+1 = 2, position Int(2*0.75)+1 = 2
    EXPECT_EQ(drawStation(d, rng), (Station{2, 2}));
    SequenceRng rng2({0.0, 0.99});
    EXPECT_EQ(drawStation(d, rng2), (Station{1, 4}));
}

TEST_F(StationDraw, RestrictedDrawRepeatsUntilThePrefectureMatches) {
    SequenceRng rng({0.1, 0.1, 0.9, 0.1, 0.9, 0.9});  // A/a1 (東京都), B/b1 (北海道), B/b2 (沖縄県)
    const auto st = drawStationIn(d, rng, clock, {"沖縄県"}, Reseed::Never);
    ASSERT_TRUE(st);
    EXPECT_EQ(*st, (Station{2, 2}));
    EXPECT_EQ(rng.drawn(), 6u);
}

TEST_F(StationDraw, ImpossibleRestrictionIsReportedWithoutDrawing) {
    SequenceRng rng({0.5});
    EXPECT_FALSE(drawStationIn(d, rng, clock, {"京都府"}, Reseed::EveryAttempt));
    EXPECT_EQ(rng.drawn(), 0u);
    EXPECT_FALSE(drawStationIn(RailwayData{}, rng, clock, {}, Reseed::Never));
    EXPECT_EQ(countStationsIn(d, {"東京都", "沖縄県"}), 5);
}

TEST_F(StationDraw, FrozenClockCannotMakeTheRestrictedDrawLoopForever) {
    DefaultRng rng;
    clock.step = 0;  // the timer never moves
    const auto st = drawStationIn(d, rng, clock, {"沖縄県"}, Reseed::EveryAttempt);
    ASSERT_TRUE(st);
    EXPECT_EQ(*st, (Station{2, 2}));
}

TEST_F(StationDraw, ReseedingFromTheSameTickGivesTheSameStation) {
    DefaultRng rng;
    clock.step = 0;
    const auto first = drawStationIn(d, rng, clock, {}, Reseed::EveryAttempt);
    rng.next();
    const auto second = drawStationIn(d, rng, clock, {}, Reseed::EveryAttempt);
    EXPECT_EQ(first, second);
}

TEST_F(StationDraw, EveryStationCanBeDrawnAndLinesAreEquallyLikely) {
    DefaultRng rng(3);
    std::map<std::pair<int, int>, int> seen;
    for (int i = 0; i < 8000; ++i) {
        const Station st = drawStation(d, rng);
        ++seen[{st.line, st.pos}];
    }
    EXPECT_EQ(seen.size(), 6u);
    // Line B has half the stations of A but the same share of draws.
    EXPECT_NEAR((seen[{2, 1}]), 2000, 200);
    EXPECT_NEAR((seen[{1, 1}]), 1000, 150);
}

}  // namespace
}  // namespace kisharin

// The ride window's set-up: boards and their texts, the buffer stop and red signal, and
// the scenery scattered along the strip.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/encoding.h"
#include "scene/ride.h"
#include "support/fakes.h"
#include "support/railway_builder.h"

namespace kisharin {
namespace {

using testing::FakeClock;
using testing::TestLine;

TestLine numberedLine(const std::string& name, int n,
                      const std::string& descriptor = "3\\1;2;3\\4;5;6\\7;8;9\\9;9;9\\1") {
    TestLine l;
    l.name = name;
    for (int i = 1; i <= n; ++i) l.stations.push_back("駅" + std::to_string(i));
    l.prefs = {"東京都"};
    l.descriptor = descriptor;
    return l;
}

struct RideFixture : ::testing::Test {
    GameState s;
    FakeClock clock;
    DefaultRng rng{5};

    void setLine(const TestLine& line) { testing::addLine(s, 1, line); }
    RideLayout ride(int start, int end, bool flight = false, bool underground = false, double seed = 1000) {
        s.curPlayer = 1;
        s.playerRosen[1] = 1;
        s.startEki[1] = static_cast<Integer>(start);
        s.playerEki[1] = static_cast<Integer>(end);
        clock.time = seed;
        return layoutRide(s, rng, clock, flight, underground);
    }
    std::vector<int> lefts(const RideLayout& r, PieceKind kind) {
        std::vector<int> v;
        for (const auto* list : {&r.ground, &r.front})
            for (const ScenePiece& p : *list)
                if (p.kind == kind) v.push_back(p.left);
        return v;
    }
};

TEST_F(RideFixture, OneHopShowsTwoBoardsWithTheFirstInTheMiddleOfTheWindow) {
    setLine(numberedLine("本線", 10));
    const RideLayout r = ride(4, 5);
    ASSERT_EQ(r.ekiCount, 2);
    ASSERT_EQ(r.boards.size(), 2u);
    EXPECT_EQ(r.boards[0].left, 0);
    EXPECT_EQ(r.boards[1].left, 673);
    EXPECT_EQ(r.stripWidth, 2 * 673);
    EXPECT_EQ(r.stopMargin, 1016);
    // The board's middle sits at the window's middle when the scene is first shown.
    EXPECT_NEAR(r.stripLeft + ride::kBoardWidth / 2, ride::kClientWidth / 2, 1);
    EXPECT_EQ(r.boards[0].name, "駅4");
    EXPECT_EQ(r.boards[0].back, "駅3");
    EXPECT_EQ(r.boards[0].next, "駅5");
    EXPECT_EQ(r.boards[1].back, "駅4");
    EXPECT_EQ(r.boards[1].next, "駅6");
    EXPECT_EQ(r.boards[1].pref, "(東京都)");
    EXPECT_EQ(r.lineName, "本線");
}

TEST_F(RideFixture, NeighbourTextsFollowTheDirectionAndAreEmptyAtBothEndsOfTheLine) {
    setLine(numberedLine("本線", 5));
    const RideLayout forward = ride(1, 3);
    EXPECT_EQ(forward.boards.front().back, "");  // position 0 is the line, never a station
    EXPECT_EQ(forward.boards.front().next, "駅2");
    EXPECT_EQ(forward.count(PieceKind::BufferStop), 0);

    const RideLayout backward = ride(4, 1);
    ASSERT_EQ(backward.boards.size(), 4u);
    EXPECT_EQ(backward.boards[0].name, "駅4");
    EXPECT_EQ(backward.boards[0].back, "駅5");
    EXPECT_EQ(backward.boards[0].next, "駅3");
    EXPECT_EQ(backward.boards[3].name, "駅1");
    EXPECT_EQ(backward.boards[3].next, "");
    EXPECT_EQ(lefts(backward, PieceKind::BufferStop), std::vector<int>{backward.stripWidth - 100});
}

TEST_F(RideFixture, BufferStopOnlyAtTheLinesEndAndNeverForAFlight) {
    setLine(numberedLine("本線", 6));
    const RideLayout toEnd = ride(3, 6);
    EXPECT_EQ(toEnd.boards.back().next, "");
    EXPECT_EQ(lefts(toEnd, PieceKind::BufferStop), std::vector<int>{toEnd.stripWidth - 100});
    EXPECT_EQ(ride(2, 5).count(PieceKind::BufferStop), 0);
    EXPECT_EQ(ride(3, 6, /*flight*/ true).count(PieceKind::BufferStop), 0);
}

TEST_F(RideFixture, ALineOfAHundredStationsEndsInEmptyTextAtItsLastStation) {
    setLine(numberedLine("長い線", 100));
    const RideLayout r = ride(98, 100);
    EXPECT_EQ(r.boards.back().name, "駅100");
    EXPECT_EQ(r.boards.back().next, "");  // position 101 lies outside the tables
    EXPECT_EQ(r.count(PieceKind::BufferStop), 1);
}

TEST_F(RideFixture, ACutRideShowsTheRedSignalAlsoOnAFlight) {
    setLine(numberedLine("本線", 8));
    s.rideCut = true;
    const RideLayout train = ride(2, 4);
    EXPECT_EQ(lefts(train, PieceKind::RedSignal), std::vector<int>{train.stripWidth - 80});
    const RideLayout flight = ride(2, 4, true);
    EXPECT_EQ(lefts(flight, PieceKind::RedSignal), std::vector<int>{flight.stripWidth - 80});
    s.rideCut = false;
    EXPECT_EQ(ride(2, 4).count(PieceKind::RedSignal), 0);
}

TEST_F(RideFixture, LongNamesGetSmallerFonts) {
    TestLine l = numberedLine("本線", 4);
    l.stations = {"五文字の駅", "六文字の駅名", "十二文字の駅名だよここだ", "十三文字の駅名だよここまで"};
    ASSERT_EQ(charCount(l.stations[2]), 12);
    ASSERT_EQ(charCount(l.stations[3]), 13);
    setLine(l);
    const RideLayout r = ride(1, 4);
    EXPECT_EQ(r.boards[0].namePt, ride::kNamePt);
    EXPECT_EQ(r.boards[1].namePt, ride::kLongNamePt);
    // Board 2 (position 2) sees "五文字の駅" behind and the 12-character name ahead.
    EXPECT_EQ(r.boards[1].backPt, ride::kNeighbourPt);
    EXPECT_EQ(r.boards[1].nextPt, ride::kNeighbourPt);
    // Board 3 has the 13-character name ahead.
    EXPECT_EQ(r.boards[2].nextPt, ride::kLongNeighbourPt);
    EXPECT_EQ(r.boards[3].backPt, ride::kNeighbourPt);
}

TEST_F(RideFixture, ReadingsAreShownInHiragana) {
    EXPECT_EQ(toHiragana("シナガワ"), "しながわ");
    EXPECT_EQ(toHiragana("ヴァイオリン・ケ丘"), "ゔぁいおりん・け丘");
    EXPECT_EQ(toHiragana("とうきょう"), "とうきょう");
    TestLine l = numberedLine("本線", 2);
    testing::addLine(s, 1, l);
    s.ekiYomi(1, 2) = "メグロ";
    EXPECT_EQ(ride(1, 2).boards[1].reading, "めぐろ");
}

TEST_F(RideFixture, FlightsHaveNoSceneryAndHideTheTrain) {
    setLine(numberedLine("飛行機（羽田～新千歳）", 2, ""));
    const RideLayout r = ride(1, 2, true);
    EXPECT_FALSE(r.showTrain());
    EXPECT_TRUE(r.ground.empty());
    EXPECT_TRUE(r.front.empty());
}

TEST_F(RideFixture, UndergroundLinesGetSignalsAndTheTemplatePoleAndNothingElse) {
    setLine(numberedLine("地下鉄線", 40));
    bool sawSignal = false;
    for (int seed = 0; seed < 60; ++seed) {
        const RideLayout r = ride(1, 30, false, true, seed);
        EXPECT_EQ(lefts(r, PieceKind::Pole), std::vector<int>{8});
        for (const auto* list : {&r.ground, &r.front})
            for (const ScenePiece& p : *list) {
                EXPECT_TRUE(p.kind == PieceKind::Signal || p.kind == PieceKind::Pole);
            }
        sawSignal = sawSignal || r.count(PieceKind::Signal) > 0;
    }
    EXPECT_TRUE(sawSignal);
}

TEST_F(RideFixture, ShortRidesGetNoTreesRiversOrTunnelsWhileLongOnesDo) {
    setLine(numberedLine("本線", 60));
    int trees = 0, rivers = 0, tunnels = 0;
    for (int seed = 0; seed < 150; ++seed) {
        for (int h = 1; h <= 3; ++h)
            EXPECT_EQ(ride(1, 1 + h, false, false, seed).count(PieceKind::Tree), 0) << h;
        for (int h = 1; h <= 6; ++h)
            EXPECT_EQ(ride(1, 1 + h, false, false, seed).count(PieceKind::River), 0) << h;
        for (int h = 1; h <= 12; ++h)
            EXPECT_EQ(ride(1, 1 + h, false, false, seed).count(PieceKind::Tunnel), 0) << h;
        const RideLayout longRide = ride(1, 30, false, false, seed);
        trees += longRide.count(PieceKind::Tree);
        rivers += longRide.count(PieceKind::River);
        const int t = longRide.count(PieceKind::Tunnel);
        tunnels += t;
        if (t) {
            EXPECT_GE(t, 10);
            EXPECT_LE(t, 15);
        }
    }
    EXPECT_GT(trees, 0);
    EXPECT_GT(rivers, 0);
    EXPECT_GT(tunnels, 0);
}

TEST_F(RideFixture, TreesStandInClosedRowsOfThreeToSix) {
    setLine(numberedLine("本線", 60));
    for (int seed = 0; seed < 50; ++seed) {
        const RideLayout r = ride(1, 40, false, false, seed);
        std::vector<int> row;
        auto checkRow = [&row] {
            if (row.empty()) return;
            EXPECT_GE(row.size(), 3u);
            EXPECT_LE(row.size(), 6u);
            row.clear();
        };
        for (const ScenePiece& p : r.front) {
            if (p.kind != PieceKind::Tree) continue;
            if (!row.empty() && p.left != row.back() + 57) checkRow();
            row.push_back(p.left);
        }
        checkRow();
    }
}

TEST_F(RideFixture, PolesPiersAndSignalsStandAtTheirSpacing) {
    setLine(numberedLine("東北新幹線", 10, "1\\1;1;1\\2;2;2\\3;3;3\\4;4;4\\0"));
    const RideLayout r = ride(1, 4);  // W = 4 × 673 = 2692
    EXPECT_EQ(lefts(r, PieceKind::Pole), (std::vector<int>{8, 400, 800, 1200, 1600, 2000, 2400}));
    EXPECT_EQ(lefts(r, PieceKind::Pier), (std::vector<int>{200, 600, 1000, 1400, 1800, 2200, 2600}));
    EXPECT_EQ(r.count(PieceKind::Crossing), 0);
    // The piers are drawn last: they cover the signals standing on the same spot.
    int signals = 0;
    for (int seed = 0; seed < 20; ++seed) {
        const RideLayout v = ride(1, 4, false, false, seed);
        signals += v.count(PieceKind::Signal);
        const auto firstPier = std::find_if(v.front.begin(), v.front.end(),
                                            [](const ScenePiece& p) { return p.kind == PieceKind::Pier; });
        EXPECT_TRUE(std::all_of(firstPier, v.front.end(),
                                [](const ScenePiece& p) { return p.kind == PieceKind::Pier; }));
    }
    EXPECT_GT(signals, 0);
    for (const ScenePiece& p : r.front)
        if (p.kind == PieceKind::Pier) {
            EXPECT_EQ(p.top, 392);
        }

    // Signals take the next free place (1800, 3400, ...) whichever draw placed them.
    setLine(numberedLine("本線", 60));
    for (int seed = 0; seed < 30; ++seed) {
        const std::vector<int> sig = lefts(ride(1, 40, false, false, seed), PieceKind::Signal);
        for (size_t k = 0; k < sig.size(); ++k) EXPECT_EQ(sig[k], 1600 * static_cast<int>(k + 1) + 200);
    }
}

TEST_F(RideFixture, TheLevelCrossingCarriesItsRoad) {
    setLine(numberedLine("本線", 60));
    int seen = 0;
    for (int seed = 0; seed < 40; ++seed) {
        const RideLayout r = ride(1, 20, false, false, seed);
        const std::vector<int> crossing = lefts(r, PieceKind::Crossing);
        const std::vector<int> road = lefts(r, PieceKind::Road);
        ASSERT_EQ(crossing.size(), road.size());
        if (crossing.empty()) continue;
        ++seen;
        EXPECT_EQ(road[0], crossing[0] + 15);
        EXPECT_GE(crossing[0], 200);
        EXPECT_LT(crossing[0], 200 + r.stripWidth - 800);
    }
    EXPECT_GT(seen, 0);
    // A strip of 1200 px or less has no crossing.
    for (int seed = 0; seed < 20; ++seed)
        EXPECT_EQ(ride(1, 1, false, false, seed).count(PieceKind::Crossing), 0);
}

TEST_F(RideFixture, SceneryIsDrawnAfterReseedingFromTheClock) {
    setLine(numberedLine("本線", 60));
    const RideLayout a = ride(1, 30, false, false, 4242);
    rng.reseed(1);  // whatever came before does not matter
    const RideLayout b = ride(1, 30, false, false, 4242);
    EXPECT_EQ(a.front, b.front);
    EXPECT_EQ(a.ground, b.ground);
}

TEST_F(RideFixture, TopSpeedAndTheTrainKindComeFromTheRide) {
    setLine(numberedLine("本線", 40));
    s.rideInfo = {"特急", rgb(255, 0, 0), 10};
    EXPECT_EQ(ride(1, 15).maxSpeed, 25);  // 15 boards
    const RideLayout r = ride(1, 16);     // 16 boards
    EXPECT_EQ(r.maxSpeed, 53);
    EXPECT_EQ(r.kindCaption, "特急");
    EXPECT_EQ(r.kindColor, rgb(255, 0, 0));
    EXPECT_EQ(r.tickMs, 10);
}

}  // namespace
}  // namespace kisharin

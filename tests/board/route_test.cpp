// The way to the nearest pending destination: hand-built networks for the rules of the
// search, and random networks (and the real station file when it is there) on which the
// search must agree exactly with the plain linear-scan reference.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "board/route.h"
#include "board/station_file.h"
#include "state/railway.h"
#include "support/railway_builder.h"
#include "support/route_linear.h"

namespace kisharin {
namespace {

using testing::addLine;
using testing::line;
using testing::TestLine;

void place(GameState& s, int player, int line, int pos) {
    s.curPlayer = static_cast<Integer>(player);
    s.playerRosen[player] = static_cast<Integer>(line);
    s.playerEki[player] = static_cast<Integer>(pos);
}

void destination(GameState& s, int d, int line, int pos, bool done = false) {
    s.mokutekitiRosen[d] = static_cast<Integer>(line);
    s.mokutekitiEki[d] = static_cast<Integer>(pos);
    s.mokutekitiDone[d] = done;
}

struct Pt {
    int line, pos;
};

void expectRoute(const GameState& s, std::vector<Pt> points, Long distance, const std::string& key) {
    ASSERT_EQ(s.routeCount, static_cast<Integer>(points.size()));
    ASSERT_EQ(s.routeList.size(), points.size());
    for (size_t i = 0; i < points.size(); ++i) {
        EXPECT_EQ(s.routeList[i].line, points[i].line) << "item " << i;
        EXPECT_EQ(s.routeList[i].pos, points[i].pos) << "item " << i;
        EXPECT_EQ(s.routeList[i].distance, distance) << "item " << i;
        EXPECT_EQ(s.routeList[i].key, key) << "item " << i;
    }
}

TEST(Route, StandingOnAPendingDestinationIsARouteOfOnePoint) {
    GameState s;
    addLine(s, 1, line("A", 5));
    place(s, 1, 1, 3);
    destination(s, 4, 1, 3);
    s.routeList = {RoutePoint{9, 9, 9, "old"}};
    道のり(s);
    expectRoute(s, {{1, 3}}, 0, "P1-3");
}

TEST(Route, DestinationOnTheOwnLineGivesDestinationAndStart) {
    GameState s;
    addLine(s, 1, line("A", 10));
    place(s, 0, 1, 2);
    destination(s, 1, 1, 9);
    道のり(s);
    expectRoute(s, {{1, 9}, {1, 2}}, 7, "P1-9");
}

TEST(Route, AReachedDestinationOnTheWayIsPassedAndThePointsOnOneLineCollapse) {
    GameState s;
    addLine(s, 1, line("A", 12));
    place(s, 0, 1, 1);
    destination(s, 1, 1, 4, true);  // reached: a stop of the walk, never the goal
    destination(s, 2, 1, 11);
    destination(s, 3, 1, 7, true);
    道のり(s);
    // Settled 1 -> 4 -> 7 -> 11 on one line: only the ends remain.
    expectRoute(s, {{1, 11}, {1, 1}}, 10, "P1-11");
}

TEST(Route, EqualDistancesGoToTheCandidateFoundFirst) {
    GameState s;
    addLine(s, 1, line("A", 9));
    place(s, 0, 1, 5);
    destination(s, 1, 1, 7);  // toward the end: found second
    destination(s, 2, 1, 3);  // toward position 1: found first
    道のり(s);
    expectRoute(s, {{1, 3}, {1, 5}}, 2, "P1-3");
}

TEST(Route, AnImprovedCandidateCountsAsFoundAtItsImprovement) {
    GameState s;
    // X = (1,5) enters first at 4; Y = (2,3) enters at 3; then the way over line 3
    // improves X to 3, after Y: Y wins the tie.
    addLine(s, 1, line("A", 5, {"2\\1"}));
    addLine(s, 2, line("B", 3, {"1\\1;3\\1"}));
    addLine(s, 3, line("C", 1, {"2\\1;1\\5"}));
    place(s, 0, 1, 1);
    destination(s, 1, 1, 5);
    destination(s, 2, 2, 3);
    道のり(s);
    expectRoute(s, {{2, 3}, {2, 1}, {1, 1}}, 3, "P2-3");

    // Once Y is reached X is the goal, by the improved way over line 3.
    destination(s, 2, 2, 3, true);
    道のり(s);
    expectRoute(s, {{1, 5}, {3, 1}, {2, 1}, {1, 1}}, 3, "P1-5");
}

TEST(Route, ARouteThatChangesLinesAtEveryPointKeepsAllItsPoints) {
    GameState s;
    addLine(s, 1, line("A", 3, {"2\\1"}));
    addLine(s, 2, line("B", 4, {"1\\1", "", "3\\1"}));
    addLine(s, 3, line("C", 6, {"2\\3"}));
    place(s, 1, 1, 1);
    destination(s, 8, 3, 5);
    道のり(s);
    // 1 change + 2 stations + 1 change + 4 stations.
    expectRoute(s, {{3, 5}, {3, 1}, {2, 3}, {2, 1}, {1, 1}}, 8, "P3-5");
}

TEST(Route, ChangesOfLineCountOneEach) {
    GameState s;
    // Along line A the way costs 9; over line B (change, 2 stations, change) 6.
    addLine(s, 1, line("A", 10, {"", "2\\1", "", "", "", "", "", "", "2\\3"}));
    addLine(s, 2, line("B", 3, {"1\\2", "", "1\\9"}));
    place(s, 0, 1, 1);
    destination(s, 1, 1, 10);
    道のり(s);
    expectRoute(s, {{1, 10}, {1, 9}, {2, 3}, {2, 1}, {1, 2}, {1, 1}}, 6, "P1-10");
}

TEST(Route, NoReachablePendingDestinationGivesAnEmptyRoute) {
    GameState s;
    addLine(s, 1, line("A", 4, {"", "2\\1"}));
    addLine(s, 2, line("B", 4, {"1\\2"}));
    addLine(s, 3, line("C", 4));
    place(s, 0, 1, 1);
    destination(s, 1, 3, 2);        // on a line nobody can reach
    destination(s, 2, 2, 4, true);  // reachable but reached
    s.routeList = {RoutePoint{1, 1, 0, "old"}};
    s.routeCount = 1;
    道のり(s);
    EXPECT_TRUE(s.routeList.empty());
    EXPECT_EQ(s.routeCount, 0);

    for (int d = 1; d <= 8; ++d) destination(s, d, 2, 4, true);  // all reached
    道のり(s);
    EXPECT_EQ(s.routeCount, 0);
}

TEST(Route, LinksToNothingAreNotFollowed) {
    GameState s;
    // (1,1) names position 0 of line 2 (the line itself) and a station past line 2's end.
    addLine(s, 1, line("A", 2, {"2\\0;2\\7;2\\2"}));
    addLine(s, 2, line("B", 3));
    place(s, 0, 1, 1);
    destination(s, 1, 2, 3);
    道のり(s);
    expectRoute(s, {{2, 3}, {2, 2}, {1, 1}}, 2, "P2-3");
}

TEST(Route, TheSameSearchTwiceGivesTheSameRoute) {
    GameState s;
    addLine(s, 1, line("A", 5, {"2\\1"}));
    addLine(s, 2, line("B", 3, {"1\\1;3\\1"}));
    addLine(s, 3, line("C", 1, {"2\\1;1\\5"}));
    place(s, 0, 1, 1);
    destination(s, 1, 1, 5);
    destination(s, 2, 2, 3);
    道のり(s);
    const auto first = s.routeList;
    place(s, 1, 3, 1);
    道のり(s);
    place(s, 0, 1, 1);
    道のり(s);
    EXPECT_EQ(s.routeList, first);
}

// --- agreement with the reference on many networks ---------------------------------------

// A network of `lines` lines of 2..maxStations stations with `transfers` two-way links
// between random stations, some stations carrying more than one link.
void randomNetwork(GameState& s, std::mt19937& gen, int lines, int maxStations, int transfers) {
    std::vector<int> sizes(lines + 1);
    for (int l = 1; l <= lines; ++l) {
        sizes[l] = std::uniform_int_distribution<int>(2, maxStations)(gen);
        addLine(s, l, line("L" + std::to_string(l) + "-", sizes[l]));
    }
    auto station = [&]() {
        const int l = std::uniform_int_distribution<int>(1, lines)(gen);
        return Pt{l, std::uniform_int_distribution<int>(1, sizes[l])(gen)};
    };
    auto link = [&](Pt a, Pt b) {
        std::string& t = s.ekiLink(a.line, a.pos);
        t += (t.empty() ? "" : ";") + std::to_string(b.line) + "\\" + std::to_string(b.pos);
    };
    for (int i = 0; i < transfers; ++i) {
        const Pt a = station(), b = station();
        if (a.line == b.line) continue;
        link(a, b);
        link(b, a);
    }
}

// Eight random destinations, about a quarter of them reached, or with onlyOnePending all
// but one reached, so that the search crosses much of the network.
void randomGame(GameState& s, std::mt19937& gen, bool onlyOnePending) {
    const int n = lineCount(s);
    auto station = [&]() {
        const int l = std::uniform_int_distribution<int>(1, n)(gen);
        return Pt{l, std::uniform_int_distribution<int>(1, stationCount(s, l))(gen)};
    };
    const int pending = std::uniform_int_distribution<int>(1, 8)(gen);
    for (int d = 1; d <= 8; ++d) {
        const Pt p = station();
        const bool reached =
            onlyOnePending ? d != pending : std::uniform_int_distribution<int>(0, 3)(gen) == 0;
        destination(s, d, p.line, p.pos, reached);
    }
    const Pt start = station();
    place(s, std::uniform_int_distribution<int>(0, 1)(gen), start.line, start.pos);
}

void expectSameAsReference(GameState& s, std::mt19937& gen, int games, int& nonTrivial,
                           bool onlyOnePending = false) {
    GameState ref;
    static_cast<RailwayData&>(ref) = static_cast<const RailwayData&>(s);
    for (int i = 0; i < games; ++i) {
        randomGame(s, gen, onlyOnePending);
        ref.mokutekitiRosen = s.mokutekitiRosen;
        ref.mokutekitiEki = s.mokutekitiEki;
        ref.mokutekitiDone = s.mokutekitiDone;
        ref.curPlayer = s.curPlayer;
        ref.playerRosen = s.playerRosen;
        ref.playerEki = s.playerEki;
        道のり(s);
        testing::routeLinear(ref);
        ASSERT_EQ(s.routeCount, ref.routeCount) << "game " << i;
        ASSERT_EQ(s.routeList, ref.routeList) << "game " << i;
        if (s.routeCount > 2) ++nonTrivial;
    }
}

TEST(RouteAgreement, RandomNetworksGiveTheSameRoutesAsTheLinearScan) {
    std::mt19937 gen(20240611);
    int nonTrivial = 0;
    for (int net = 0; net < 40; ++net) {
        GameState s;
        // Short lines and many links make many ties and improvements.
        const bool dense = net % 2 == 0;
        randomNetwork(s, gen, dense ? 30 : 120, dense ? 8 : 40, dense ? 60 : 150);
        expectSameAsReference(s, gen, 100, nonTrivial);
    }
    EXPECT_GT(nonTrivial, 1000);  // the comparison covered real multi-line routes
}

TEST(RouteAgreement, TheRealNetworkGivesTheSameRoutesAsTheLinearScan) {
    const std::string path =
        (std::filesystem::path(KISHARIN_TEST_FIXTURES).parent_path().parent_path() / "data/GameData/駅.txt")
            .string();
    if (!std::filesystem::exists(path)) GTEST_SKIP() << "no station file at " << path;
    GameState s;
    static_cast<RailwayData&>(s) = readStationFile(path);
    ASSERT_GT(lineCount(s), 0);
    std::mt19937 gen(7);
    int nonTrivial = 0;
    // Ordinary games, then games with one destination left, whose searches cross much of
    // the country and meet the most ties and improvements. The linear scan is slow on
    // the real network, so the games are few but chosen to reach far.
    expectSameAsReference(s, gen, 120, nonTrivial);
    EXPECT_GT(nonTrivial, 100);
    int far = 0;
    expectSameAsReference(s, gen, 20, far, true);
    EXPECT_GT(far, 15);
}

}  // namespace
}  // namespace kisharin

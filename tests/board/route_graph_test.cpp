// The station graph the route search walks: what it keeps of the tables, that the board's
// load builds it, and that searching it agrees with the plain scan where the bucketed
// frontier is most at risk (edges of the greatest length, graphs kept across games).
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "board/route.h"
#include "board/route_graph.h"
#include "board/startup.h"
#include "board/station_file.h"
#include "platform/data_home.h"
#include "state/railway.h"
#include "support/fakes.h"
#include "support/railway_builder.h"
#include "support/route_linear.h"

namespace kisharin {
namespace {

using testing::addLine;
using testing::line;
using testing::TestLine;

std::vector<Station> targets(const RouteGraph& g, int line, int pos) {
    std::vector<Station> out;
    for (const int n : g.linksOf(g.node(line, pos))) out.push_back({g.lineOf(n), g.posOf(n)});
    return out;
}

TEST(RouteGraph, KeepsTheNearestTransferStationsOnEitherSideAndTheLinksInTheirOrder) {
    RailwayData d;
    // Line 1: links at 2 and 5 (the one at 5 leads nowhere in the network); line 2 short.
    addLine(d, 1, line("A", 6, {"", "2\\3;2\\1;3\\1", "", "", "9\\1;2\\4", ""}));
    addLine(d, 2, line("B", 3, {"1\\2", "", "1\\2"}));
    const RouteGraph g(d);

    EXPECT_EQ(g.lines(), 2);
    EXPECT_EQ(g.size(), 9);
    EXPECT_TRUE(g.isStation(2, 3));
    EXPECT_FALSE(g.isStation(2, 4));
    EXPECT_FALSE(g.isStation(3, 1));
    EXPECT_FALSE(g.isStation(1, 0));

    const auto below = [&](int l, int p) { return g.linkBelow(g.node(l, p)); };
    const auto above = [&](int l, int p) { return g.linkAbove(g.node(l, p)); };
    EXPECT_EQ(below(1, 1), 0);
    EXPECT_EQ(above(1, 1), 2);
    EXPECT_EQ(below(1, 2), 0);  // its own links are not a stop of the walk from it
    EXPECT_EQ(above(1, 2), 5);
    EXPECT_EQ(below(1, 4), 2);
    EXPECT_EQ(above(1, 4), 5);  // links that lead nowhere still make a stop
    EXPECT_EQ(below(1, 6), 5);
    EXPECT_EQ(above(1, 6), 0);

    EXPECT_EQ(targets(g, 1, 2), (std::vector<Station>{{2, 3}, {2, 1}}));  // 3\1 is no station
    EXPECT_TRUE(targets(g, 1, 5).empty());
    EXPECT_EQ(targets(g, 2, 1), (std::vector<Station>{{1, 2}}));
    EXPECT_TRUE(targets(g, 1, 3).empty());
    for (int n = 0; n < g.size(); ++n) EXPECT_EQ(g.node(g.lineOf(n), g.posOf(n)), n);
}

TEST(RouteGraph, TheBoardsLoadBuildsItFromTheStationFile) {
    testing::ScratchDir dir;
    makeDirectories(dir.path() + "GameData");
    testing::writeCp932(dir.path() + "GameData/駅.txt",
                        {"header", "1\t\t2\\2", "本線\t一\t二\t三", "よみ\tい\tに\tさん",
                         "1\\0\\0\\0\\0\\0\t東京都\t東京都\t東京都", "", "2\t\t1\\2", "支線\tア\tイ",
                         "よみ\tあ\tい", "1\\0\\0\\0\\0\\0\t東京都\t東京都", ""});
    testing::writeCp932(dir.file("履歴0.txt"), {});
    testing::writeCp932(dir.file("履歴1.txt"), {});
    GameState s;
    s.appDir = dir.path();
    s.historyBase = dir.path() + "履歴";
    loadBoardData(s);
    ASSERT_NE(s.routeGraph, nullptr);
    EXPECT_EQ(s.routeGraph->size(), 5);
    EXPECT_EQ(targets(*s.routeGraph, 1, 2), (std::vector<Station>{{2, 2}}));
    // A copy of the game shares the graph instead of building it again.
    const GameState copy = s;
    EXPECT_EQ(copy.routeGraph, s.routeGraph);
}

// Searches from every station with the graph kept in the state, each against the plain scan.
void expectAgreementFromEveryStation(GameState& s, int& multiLine) {
    GameState ref;
    static_cast<RailwayData&>(ref) = static_cast<const RailwayData&>(s);
    ref.routeGraph.reset();
    ref.mokutekitiRosen = s.mokutekitiRosen;
    ref.mokutekitiEki = s.mokutekitiEki;
    ref.mokutekitiDone = s.mokutekitiDone;
    for (int l = 1; l <= lineCount(s); ++l)
        for (int p = 1; p <= stationCount(s, l); ++p) {
            s.playerRosen[0] = ref.playerRosen[0] = static_cast<Integer>(l);
            s.playerEki[0] = ref.playerEki[0] = static_cast<Integer>(p);
            道のり(s);
            testing::routeLinear(ref);
            ASSERT_EQ(s.routeList, ref.routeList) << "from " << routeKey(l, p);
            ASSERT_EQ(s.routeCount, ref.routeCount) << "from " << routeKey(l, p);
            if (s.routeCount > 2) ++multiLine;
        }
}

TEST(RouteGraph, EdgesOfAHundredStationLineAgreeWithThePlainScan) {
    // Lines of 100 stations joined only at their ends: every walk along a line is an edge
    // of 99 stations, the longest the frontier must hold at once, and many routes tie.
    GameState s;
    const int lines = 6;
    for (int l = 1; l <= lines; ++l) {
        std::vector<std::string> links(100);
        const int prev = l == 1 ? lines : l - 1, next = l == lines ? 1 : l + 1;
        links[0] = std::to_string(prev) + "\\100";
        links[99] = std::to_string(next) + "\\1";
        if (l % 2 == 0) links[49] = std::to_string(l - 1) + "\\50";
        addLine(s, l, line("線" + std::to_string(l), 100, links));
    }
    s.routeGraph = buildRouteGraph(s);
    const Station dest[8] = {{3, 37}, {5, 99}, {1, 2}, {6, 50}, {2, 71}, {4, 1}, {6, 100}, {1, 100}};
    for (int d = 1; d <= 8; ++d) {
        s.mokutekitiRosen[d] = static_cast<Integer>(dest[d - 1].line);
        s.mokutekitiEki[d] = static_cast<Integer>(dest[d - 1].pos);
        s.mokutekitiDone[d] = d != 1 && d != 2;  // two pending: many searches cross lines
    }
    int multiLine = 0;
    expectAgreementFromEveryStation(s, multiLine);
    EXPECT_GT(multiLine, 100);
}

TEST(RouteGraph, OneGraphServesGameAfterGameOnTheShippedRailway) {
    GameState s;
    static_cast<RailwayData&>(s) = readStationFile(shippedDataDir() + "GameData/駅.txt");
    s.routeGraph = buildRouteGraph(s);
    const auto graph = s.routeGraph;
    std::vector<Station> all;
    for (int l = 1; l <= lineCount(s); ++l)
        for (int p = 1; p <= stationCount(s, l); ++p) all.push_back({l, p});
    ASSERT_EQ(static_cast<size_t>(graph->size()), all.size());
    std::mt19937 gen(11);
    int multiLine = 0;
    // New destinations each game, the same graph: from a sample of stations per game.
    for (int game = 0; game < 4; ++game) {
        for (int d = 1; d <= 8; ++d) {
            const Station st = all[std::uniform_int_distribution<size_t>(0, all.size() - 1)(gen)];
            s.mokutekitiRosen[d] = static_cast<Integer>(st.line);
            s.mokutekitiEki[d] = static_cast<Integer>(st.pos);
            s.mokutekitiDone[d] = d <= game;
        }
        GameState ref;
        static_cast<RailwayData&>(ref) = static_cast<const RailwayData&>(s);
        ref.routeGraph.reset();
        ref.mokutekitiRosen = s.mokutekitiRosen;
        ref.mokutekitiEki = s.mokutekitiEki;
        ref.mokutekitiDone = s.mokutekitiDone;
        for (int i = 0; i < 25; ++i) {
            const Station st = all[std::uniform_int_distribution<size_t>(0, all.size() - 1)(gen)];
            s.playerRosen[0] = ref.playerRosen[0] = static_cast<Integer>(st.line);
            s.playerEki[0] = ref.playerEki[0] = static_cast<Integer>(st.pos);
            道のり(s);
            testing::routeLinear(ref);
            ASSERT_EQ(s.routeList, ref.routeList) << "game " << game << " from " << routeKey(st.line, st.pos);
            if (s.routeCount > 2) ++multiLine;
        }
    }
    EXPECT_EQ(s.routeGraph, graph);  // searching never rebuilds or replaces it
    EXPECT_GT(multiLine, 30);
}

TEST(RouteGraph, SearchesFollowDestinationsReachedOrMovedBetweenThem) {
    // A line of 30 stations: destinations at 10 and 25; the player stands at 1.
    GameState s;
    addLine(s, 1, line("A", 30));
    addLine(s, 2, line("B", 30));
    s.routeGraph = buildRouteGraph(s);
    s.curPlayer = 0;
    s.playerRosen[0] = 1;
    s.playerEki[0] = 1;
    for (int d = 1; d <= 8; ++d) {
        s.mokutekitiRosen[d] = 2;
        s.mokutekitiEki[d] = static_cast<Integer>(d);
        s.mokutekitiDone[d] = True;
    }
    s.mokutekitiRosen[1] = 1;
    s.mokutekitiEki[1] = 10;
    s.mokutekitiDone[1] = False;
    s.mokutekitiRosen[2] = 1;
    s.mokutekitiEki[2] = 25;
    s.mokutekitiDone[2] = False;
    道のり(s);
    ASSERT_EQ(s.routeCount, 2);
    EXPECT_EQ(s.routeList[0].key, "P1-10");
    EXPECT_EQ(s.routeList[0].distance, 9);

    s.mokutekitiDone[1] = True;  // reached: the next search must look further
    道のり(s);
    ASSERT_EQ(s.routeCount, 2);
    EXPECT_EQ(s.routeList[0].key, "P1-25");
    EXPECT_EQ(s.routeList[0].distance, 24);

    s.mokutekitiEki[2] = 5;  // moved by an earthquake
    道のり(s);
    ASSERT_EQ(s.routeCount, 2);
    EXPECT_EQ(s.routeList[0].key, "P1-5");

    s.mokutekitiDone[2] = True;  // nothing pending on a network that reaches it
    道のり(s);
    EXPECT_EQ(s.routeCount, 0);
    EXPECT_TRUE(s.routeList.empty());
}

}  // namespace
}  // namespace kisharin

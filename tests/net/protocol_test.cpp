// The network game's messages: what the host sends reads back the same at the guest,
// and what arrives from the wire is refused, with its reason, unless every field is there,
// of its type and in its range.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>

#include "board/startup.h"
#include "net/protocol.h"
#include "platform/data_home.h"
#include "state/railway.h"
#include "turns/turn_fixture.h"

namespace kisharin::testing {
namespace {

using namespace kisharin::net;
using nlohmann::json;

class Protocol : public BoardTest {};

std::string refusalOf(const std::string& bytes) {
    const ReadResult r = readMessage(bytes);
    EXPECT_FALSE(r.ok) << bytes.substr(0, 200);
    return r.error;
}

// The board the guest draws is the host's, field for field, including the Japanese texts
// of the strip, after a roll (the steps, the caption) and after the hand-over.
TEST_F(Protocol, TheBoardReadsBackAsTheHostHasIt) {
    roll(3);
    for (int turn = 0; turn < 2; ++turn) {
        const BoardView host = boardView(g, 7 + turn);
        ASSERT_FALSE(host.strip.stations.empty());
        const std::string wire = writeMessage(boardMessage(host));
        ASSERT_LE(wire.size(), kMaxMessageBytes);
        const ReadResult r = readMessage(wire);
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(r.message.type, MessageType::Board);
        EXPECT_EQ(boardText(r.message.board), boardText(host));
        EXPECT_EQ(r.message.board.strip.station(5).name, "本5");
        EXPECT_EQ(r.message.board.steps, turn == 0 ? 3 : 0);
        if (turn == 0) {
            ASSERT_TRUE(apply(g, Command::ride(0, {1, 4})));
        }
    }
    // Player 2 has rolled: what it may pick on the strip goes with its board, for its keys.
    ASSERT_EQ(g.s.curPlayer, kRemotePlayer);
    roll(2);
    const BoardView rolled = boardView(g, 9);
    ASSERT_FALSE(rolled.targets.empty());
    EXPECT_EQ(rolled.targets, pickableTargetsFor(g, kRemotePlayer));
    const ReadResult back = readMessage(writeMessage(boardMessage(rolled)));
    ASSERT_TRUE(back.ok) << back.error;
    EXPECT_EQ(back.message.board.targets, rolled.targets);
}

// The fuzz corpus's board is a board the reader takes, so that the fuzzer starts deep in
// the board's fields rather than at its first refusal.
TEST(ProtocolReader, TheCorpusBoardIsABoard) {
    std::ifstream in(std::string(KISHARIN_TEST_FIXTURES) + "/../../fuzz/corpus/net_message/board",
                     std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const ReadResult r = readMessage(bytes);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.message.board.strip.transfers.at(0).directions, "東京 方面 ― 新青森 方面");
}

// Every kind of command crosses the wire whole, with the stations it names.
TEST_F(Protocol, CommandsReadBackWhole) {
    const std::vector<Command> all = {
        Command::chooseKind(1, 3),       Command::roll(1),           Command::changeLine(1, {1, 5}, {2, 3}),
        Command::ride(1, {1, 7}),        Command::work(1),           Command::answerWarp(1, true),
        Command::answerGod(1, "宮城県"), Command::placeBet(1, 5000), Command::declineBet(1)};
    for (const Command& c : all) {
        const ReadResult r = readMessage(writeMessage(commandMessage(c)));
        ASSERT_TRUE(r.ok) << r.error;
        const Command& back = r.message.command;
        EXPECT_EQ(back.kind, c.kind);
        EXPECT_EQ(back.player, c.player);
        EXPECT_EQ(back.trainKind, c.trainKind);
        EXPECT_EQ(back.at, c.at);
        EXPECT_EQ(back.to, c.to);
        EXPECT_EQ(back.yes, c.yes);
        EXPECT_EQ(back.pref, c.pref);
        EXPECT_EQ(back.stake, c.stake);
    }
}

// What the reader refuses, and with which reason.
TEST(ProtocolReader, RefusesWhatIsNotAMessageOfThisGame) {
    const std::string roll = writeMessage(commandMessage(Command::roll(1)));
    ASSERT_TRUE(readMessage(roll).ok);

    EXPECT_EQ(refusalOf(std::string(kMaxMessageBytes + 1, ' ')), kErrTooLarge);
    EXPECT_EQ(refusalOf("{\"v\":1,\"type\":\"command\""), kErrNotJson);
    EXPECT_EQ(refusalOf("[1,2]"), kErrNotJson);
    EXPECT_EQ(refusalOf("\xff\xfe"), kErrNotJson);
    EXPECT_EQ(refusalOf(R"({"v":3,"type":"teleport"})"), kErrUnknownType);
    EXPECT_EQ(refusalOf(R"({"v":1,"type":"hello","code":"123456"})"), kErrVersion);
    EXPECT_EQ(refusalOf(R"({"v":2,"type":"welcome","player":1})"), kErrVersion);
    EXPECT_EQ(refusalOf(R"({"type":"hello","code":"123456"})"), kErrVersion);

    auto edited = [&](auto change) {
        json j = json::parse(roll);
        change(j);
        return refusalOf(j.dump()).rfind(kErrField, 0) == 0;
    };
    EXPECT_TRUE(edited([](json& j) { j["command"]["player"] = 2; }));
    EXPECT_TRUE(edited([](json& j) { j["command"]["player"] = "1"; }));
    EXPECT_TRUE(edited([](json& j) { j["command"]["kind"] = "cheat"; }));
    EXPECT_TRUE(edited([](json& j) { j["command"].erase("player"); }));
    EXPECT_TRUE(edited([](json& j) { j["command"]["extra"] = 1; }));
    EXPECT_TRUE(edited([](json& j) { j["extra"] = 1; }));
    EXPECT_TRUE(edited([](json& j) {
        j["command"] = {{"kind", "ride"}, {"player", 1}, {"to", {{"line", 751}, {"pos", 1}}}};
    }));
    EXPECT_TRUE(edited([](json& j) { j["command"] = {{"kind", "placeBet"}, {"player", 1}, {"stake", -5}}; }));
    EXPECT_TRUE(edited([](json& j) {
        j["command"] = {{"kind", "answerGod"}, {"player", 1}, {"pref", std::string(600, 'a')}};
    }));
    // A message near the limit, within it, is read.
    json big = json::parse(writeMessage(bye(std::string(500, 'x'))));
    EXPECT_TRUE(readMessage(big.dump()).ok);
}

// A race crosses the wire tick for tick: the guest's replay ends as the host's race did.
// A record that is not whole ticks of moves is refused.
TEST(ProtocolReader, ARaceReadsBackTickForTick) {
    DefaultRng rng(5);
    Race race(rng);
    race.start(5000);
    while (!race.decided()) race.tick(rng, 2);
    ShowCall c;
    c.what = "race";
    c.moves = race.moves();
    for (int i = 0; i < kLanes; ++i) c.odds[static_cast<std::size_t>(i)] = race.odds(i);
    const ReadResult r = readMessage(writeMessage(showMessage(c)));
    ASSERT_TRUE(r.ok) << r.error;
    Race again(r.message.show.odds);
    again.start(5000);
    while (again.replayTick(r.message.show.moves, 2)) {
    }
    EXPECT_EQ(again.ticks(), race.ticks());
    EXPECT_EQ(again.winner(), race.winner());
    EXPECT_EQ(again.winPoints(), race.winPoints());
    for (int i = 0; i < kLanes; ++i) EXPECT_EQ(again.left(i), race.left(i));

    const json show = json::parse(writeMessage(showMessage(c)));
    for (const std::string& bad :
         {std::string("1234"), std::string("12b45"), std::string(kMaxRaceMoves + 5, '1')}) {
        json j = show;
        j["show"]["moves"] = bad;
        EXPECT_EQ(refusalOf(j.dump()), std::string(kErrField) + ": show.moves");
    }
}

// The host takes a command only from the remote seat, on its turn, when the rules allow it;
// a wrong join code turns the guest away.
TEST_F(Protocol, TheHostTakesOnlyTheRemoteSeatsCommandsOnItsTurn) {
    EXPECT_EQ(helloRefusal("012345", "012345"), "");
    EXPECT_EQ(helloRefusal("012345", "012346"), kErrCode);
    EXPECT_EQ(helloRefusal("012345", ""), kErrCode);
    EXPECT_EQ(helloRefusal("", ""), kErrCode);
    EXPECT_EQ(joinCode(42), "00000042");
    EXPECT_EQ(joinCode(1234567890123ULL), "67890123");
    EXPECT_EQ(spokenCode("00000042"), "0000 0042");
    EXPECT_EQ(typedCode("0000 0042"), "00000042");
    EXPECT_EQ(typedCode("1234-5678"), "12345678");
    EXPECT_EQ(typedCode("1234x5678"), "");

    ASSERT_EQ(s.curPlayer, 0);
    EXPECT_EQ(commandRefusal(g, kRemotePlayer, Command::roll(0)), kErrNotRemote);  // the host's player
    EXPECT_EQ(commandRefusal(g, kRemotePlayer, Command::roll(1)), kRefuseNotYourTurn);
    ASSERT_TRUE(apply(g, Command::work(0)));
    ASSERT_EQ(s.curPlayer, 1);
    EXPECT_EQ(commandRefusal(g, kRemotePlayer, Command::roll(1)), "");
    EXPECT_EQ(commandRefusal(g, kRemotePlayer, Command::answerWarp(1, true)), kRefuseNoQuestion);
    EXPECT_EQ(commandRefusal(g, kRemotePlayer, Command::work(0)), kErrNotRemote);
}

}  // namespace
}  // namespace kisharin::testing

namespace kisharin::testing {
namespace {

// The board of every line of the shipped railway, with the most transfer labels and the
// longest names, goes out in one message the guest takes.
TEST(ProtocolShipped, EveryLineOfTheShippedRailwayFitsOneMessage) {
    ScratchDir dir;
    GameState s;
    s.appDir = shippedDataDir();
    s.historyBase = dir.path() + "履歴";
    for (int p = 0; p < 2; ++p) std::ofstream(s.historyBase + std::to_string(p) + ".txt");
    loadBoardData(s);
    ScriptedScreens screens;
    FakeClock clock;
    QueueRng rng;
    Game g{s, screens, rng, clock};
    std::size_t largest = 0;
    int largestLine = 0;
    for (int line = 1; line <= lineCount(s); ++line) {
        s.playerRosen[0] = line;
        s.playerEki[0] = 1;
        路線読み込み(s, g.line, *g.metrics);
        const std::string wire = writeMessage(boardMessage(boardView(g, 1)));
        if (wire.size() > largest) largest = wire.size(), largestLine = line;
    }
    EXPECT_LT(largest, kMaxMessageBytes) << s.ekiName(largestLine, 0);
}

}  // namespace
}  // namespace kisharin::testing

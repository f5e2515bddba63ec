// The record player: one game of a record watched a turn at a time is the game the whole
// replay and the story tell, turn by turn and at its end; a game the record lacks and a
// record that cannot be read are refused naming the file.
#include <gtest/gtest.h>

#include <sstream>

#include "../tools/sim/sim_record.h"
#include "platform/data_home.h"
#include "platform/text_file.h"
#include "record/game_record.h"
#include "record/story.h"
#include "state/error.h"
#include "support/fakes.h"

namespace kisharin::testing {
namespace {

TEST(RecordPlayer, EveryTurnIsTheStorysAndTheEndIsTheReplays) {
    ScratchDir dir;
    const std::string rec = dir.file("rec.jsonl");
    sim::writeSimRecord(rec, 5, 3, 5000, {sim::SideKind::Weak, sim::SideKind::Strong, false});
    const std::vector<Story> stories = readStories(rec, shippedDataDir());
    const std::vector<ReplayEnd> ends = replayRecord(rec, shippedDataDir());
    ASSERT_EQ(ends.size(), 3u);
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(k);
        const Story& story = stories[static_cast<std::size_t>(k)];
        RecordPlayer player(rec, shippedDataDir(), k);
        EXPECT_EQ(player.games(), 3);
        EXPECT_EQ(player.index(), k);
        EXPECT_EQ(player.state().playerPoint[0], story.turns[0].points[0]);
        std::size_t turn = 0;
        while (player.step()) {
            ++turn;
            ASSERT_LT(turn, story.turns.size());
            EXPECT_EQ(player.turns(), static_cast<int>(turn));
            for (int p = 0; p < 2; ++p) {
                EXPECT_EQ(player.state().playerPoint[p],
                          story.turns[turn].points[static_cast<std::size_t>(p)]);
                EXPECT_EQ(player.state().playerMoney[p],
                          story.turns[turn].money[static_cast<std::size_t>(p)]);
            }
            // The board's strip follows the player to move.
            EXPECT_EQ(player.game().line.line, player.state().playerRosen[player.state().curPlayer]);
        }
        EXPECT_TRUE(player.atEnd());
        EXPECT_FALSE(player.step());
        EXPECT_EQ(turn + 1, story.turns.size());
        const ReplayEnd &e = player.end(), &want = ends[static_cast<std::size_t>(k)];
        EXPECT_EQ(e.points, want.points);
        EXPECT_EQ(e.money, want.money);
        EXPECT_EQ(e.arrived, want.arrived);
        EXPECT_EQ(e.commands, want.commands);
        EXPECT_TRUE(e.ended && e.matches && player.game().ended);
    }
    // -1 is the last game.
    RecordPlayer last(rec, shippedDataDir(), -1);
    EXPECT_EQ(last.index(), 2);
}

TEST(RecordPlayer, AGameTheRecordLacksOrABrokenLineIsRefusedNamingTheFile) {
    ScratchDir dir;
    const std::string rec = dir.file("rec.jsonl");
    sim::writeSimRecord(rec, 9, 1, 40);
    try {
        RecordPlayer p(rec, shippedDataDir(), 1);
        FAIL() << "a second game was played";
    } catch (const DataError& e) {
        EXPECT_EQ(e.file(), rec);
        EXPECT_NE(std::string(e.what()).find("1 ゲームしかありません"), std::string::npos) << e.what();
    }
    // A command line damaged in the middle: the game plays up to it, then the line is named.
    std::istringstream in(readFileBytes(rec));
    std::string bytes;
    int line = 0, cmds = 0, damaged = 0;
    for (std::string text; std::getline(in, text);) {
        ++line;
        if (text.find(R"("t":"cmd")") != std::string::npos && ++cmds == 30) {
            text = R"({"t":"cmd","c":{"kind":"nonsense"}})";
            damaged = line;
        }
        bytes += text + "\n";
    }
    ASSERT_GT(damaged, 0);
    writeBytesAtomic(rec, bytes);
    try {
        RecordPlayer p(rec, shippedDataDir());
        while (p.step()) {
        }
        FAIL() << "the damaged line was played";
    } catch (const DataError& e) {
        EXPECT_EQ(e.file(), rec);
        EXPECT_EQ(e.line(), damaged);
    }
}

}  // namespace
}  // namespace kisharin::testing

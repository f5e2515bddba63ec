// A history file that cannot be written (a full disk, a folder gone) must not break the
// turn: the player is told which file failed, the turn goes on, and the arrival is
// written at the next chance once the file can be written again.
#include <gtest/gtest.h>

#include "board/history_file.h"
#include "platform/text_file.h"
#include "turn_fixture.h"
#include "turns/board_model.h"
#include "turns/history.h"
#include "support/commands.h"

namespace kisharin {
namespace {

class HistoryWriteFailure : public testing::BoardTest {
  protected:
    std::string good;
    void breakHistory() {
        good = s.historyBase;
        s.historyBase = dir.path() + "ない/履歴";  // a folder that does not exist
    }
    int messagesNaming(const std::string& path) const {
        int n = 0;
        for (const std::string& m : screens.messages)
            if (m.find(path) != std::string::npos) ++n;
        return n;
    }
};

TEST_F(HistoryWriteFailure, ARideStillEndsAndTheTurnPasses) {
    breakHistory();
    roll(3);
    testing::rideTo(g, 4);
    EXPECT_EQ(s.playerEki[0], 4);
    EXPECT_EQ(s.curPlayer, 1);  // the hand-over happened
    EXPECT_EQ(s.susumuSteps, 0);
    EXPECT_TRUE(boardModel(g).cmdSusumuVisible);
    EXPECT_FALSE(s.visited[0](1, 4));
    EXPECT_GE(messagesNaming(historyPath(s, 0)), 1);
}

TEST_F(HistoryWriteFailure, TheArrivalIsWrittenOnceTheFileCanBeWrittenAgain) {
    s.curPlayer = 0;
    place(0, 1, 7);
    breakHistory();
    到達履歴(g);
    EXPECT_FALSE(s.visited[0](1, 7));
    EXPECT_EQ(messagesNaming(historyPath(s, 0)), 1);
    s.historyBase = good;
    到達履歴(g);
    EXPECT_TRUE(s.visited[0](1, 7));
    EXPECT_NE(readFileBytes(historyPath(s, 0)).find("1 7\r\n"), std::string::npos);
}

}  // namespace
}  // namespace kisharin

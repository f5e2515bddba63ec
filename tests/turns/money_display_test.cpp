// A message that speaks of money opens over a board that already shows that money.
#include <gtest/gtest.h>

#include "turns/messages.h"
#include "turns/money.h"
#include "turns/turn_fixture.h"
#include "support/commands.h"

namespace kisharin::testing {
namespace {

class MoneyDisplayTest : public BoardTest {
  protected:
    // The money the board showed when the message with this text opened.
    Long shownAt(const std::string& text) const {
        for (size_t i = 0; i < screens.messages.size(); ++i)
            if (screens.messages[i] == text) return screens.moneyShownAtMessage.at(i);
        ADD_FAILURE() << "no message " << text;
        return -1;
    }
};

TEST_F(MoneyDisplayTest, TheArrivalMessageShowsTheGiftAlreadyCounted) {
    s.mokutekitiRosen[2] = 1, s.mokutekitiEki[2] = 4;
    路線読み込み(g.s, g.line, *g.metrics);
    roll(3);
    testing::rideTo(g, 4);
    EXPECT_EQ(shownAt(arrivedText("たろう")), 30000 - 3 * 150 + 100000);
}

TEST_F(MoneyDisplayTest, DebtAndMeetingMessagesShowTheMoneyTheySpeakOf) {
    s.playerMoney[0] = 1000;
    place(1, 1, 4);
    testing::chooseKind(g, 3);
    roll(1);  // 特急: 3 stations for 1500 yen
    testing::rideTo(g, 4);
    EXPECT_EQ(shownAt(kMsgDebt), -500);  // the debt itself
    EXPECT_EQ(shownAt(kMsgMeeting), 0);  // after it was forgiven
}

TEST_F(MoneyDisplayTest, TheWorkMessageShowsTheWageEarned) {
    rng.values = {0.0};  // the first job on offer
    screens.dice.push_back(3);
    const Long pay = s.jobPay[0];
    testing::work(g);
    EXPECT_EQ(shownAt(workedText(3, pay * 3)), 30000 + pay * 3);
}

}  // namespace
}  // namespace kisharin::testing

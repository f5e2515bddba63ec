// The message window and the texts of its catalogue, written out here as the players
// read them.
#include "turns/messages.h"

#include <gtest/gtest.h>

#include "support/fakes.h"
#include "support/scripted_screens.h"
#include "turns/message_log.h"
#include "turns/money.h"

namespace kisharin {
namespace {

TEST(MessageWindow, ShowsTheTextThroughTheWindowAndKeepsItInTheState) {
    GameState s;
    testing::ScriptedScreens screens;
    testing::SequenceRng rng({0.5});
    testing::FakeClock clock;
    Game g{s, screens, rng, clock};
    g.seatBoth(screens);
    showMessage(g, "一つ目");
    showMessage(g, "二つ目");
    EXPECT_EQ(s.messageText, "二つ目");
    EXPECT_EQ(screens.messages, (std::vector<std::string>{"一つ目", "二つ目"}));
}

TEST(MessageWindow, IsColouredForThePlayerWhoseTurnItIs) {
    GameState s;
    s.messageText = "テスト";
    s.curPlayer = 0;
    MessageWindowModel m = messageWindowModel(s);
    EXPECT_EQ(m.caption, "メッセージ");
    EXPECT_EQ(m.text, "テスト");
    EXPECT_EQ(m.background, rgb(192, 255, 255));
    EXPECT_EQ(m.closeAfterMs, 2000);
    s.curPlayer = 1;  // the computer's turn too
    EXPECT_EQ(messageWindowModel(s).background, rgb(255, 192, 255));
}

TEST(MessageCatalogue, FixedTexts) {
    EXPECT_STREQ(kMsgNoMoney, "お金がないですよ！働いてください！");
    EXPECT_STREQ(kMsgGameOver, "お疲れ様でした！　結果発表です。");
    EXPECT_STREQ(kMsgGuardianGod, "　　　氏神様が、好きな県に連れてってくれるぞ！");
    EXPECT_STREQ(kMsgGathering, "　　　旅は道連れ。　全員集合！");
    EXPECT_STREQ(kMsgEarthquake, "　　　地震だーー！！目的地が変わってしまったぞ～！！");
    EXPECT_STREQ(kMsgAlreadyArrived, "もう到着済み…残念だったね…　ポイント：+1");
    EXPECT_STREQ(kMsgBetLost, "残念！！　ポイント：-５０");
    EXPECT_STREQ(kMsgRideCut, "当駅どまりです。お忘れ物にご注意ください。");
    EXPECT_STREQ(kMsgOverslept, "しまった！　寝過ごしてしまった…　ポイント：-５０");
    EXPECT_STREQ(kMsgDebt, "あちゃー！借金じゃないですか！");
    EXPECT_STREQ(kMsgDebtForgiven, "今回だけはチャラにしてあげます！　ポイント：-５０");
    EXPECT_STREQ(kMsgMeeting, "袖ふり合うも多少の縁！　５０ポイント貰っちゃえ！");
}

TEST(MessageCatalogue, TextsWithValues) {
    EXPECT_EQ(jobOfferText("看護師！？", 1800), "看護師！？：時給　1800円");
    EXPECT_EQ(workedText(6, 60000), "6時間、働いた！　：60000円");
    EXPECT_EQ(pointsText("たろう", 120, "コンピュータ", -50),
              "たろう：120ポイント　，　コンピュータ：-50ポイント");
    EXPECT_EQ(pointHappeningText("足を踏まれた", false, 42), "足を踏まれた：-42");
    EXPECT_EQ(pointHappeningText("席を譲った", true, 100), "席を譲った：+100");
    EXPECT_EQ(moneyHappeningText("お金を拾った", true, 3000), "お金を拾った：+3000円");
    EXPECT_EQ(moneyHappeningText("お釣りを忘れた", false, 10000), "お釣りを忘れた：-10000円");
    EXPECT_EQ(disasterText("台風だ"), "　　　わー！！　台風だ");
    EXPECT_EQ(warpText("九州地方"), "　　　九州地方に続いているワープ穴発見！");
    EXPECT_EQ(gatheringPlaceText("大宮"), "大宮駅に、集まれ～！！");
    EXPECT_EQ(arrivedText("はなこ"), "はなこ　到着！　ポイント：+100　祝金：+10万円");
    EXPECT_EQ(conquestText("山手線"), "「山手線」制覇！　ポイント：+１００");
    EXPECT_EQ(raceDayText("有馬記念"), "今日は有馬記念開催日！");
    EXPECT_EQ(betWonText(250), "おめでとう！！　ポイント：+250");
}

TEST(MoneyText, JapaneseCurrencyForm) {
    EXPECT_EQ(moneyText(30000), "￥30,000");
    EXPECT_EQ(moneyText(0), "￥0");
    EXPECT_EQ(moneyText(999), "￥999");
    EXPECT_EQ(moneyText(1000), "￥1,000");
    EXPECT_EQ(moneyText(1234567), "￥1,234,567");
    EXPECT_EQ(moneyText(-1500), "-￥1,500");
    EXPECT_EQ(moneyText(-2147483647 - 1), "-￥2,147,483,648");
    EXPECT_EQ(moneyText(2147483647), "￥2,147,483,647");
}

// The log keeps the newest kKept messages; a line names the turn and the player and
// leaves out the message's leading spaces.
TEST(MessageLog, KeepsTheNewestAndListsTurnPlayerAndText) {
    MessageLog log;
    for (std::size_t i = 0; i < MessageLog::kKept + 2; ++i) log.add(static_cast<int>(i), 1, std::to_string(i));
    EXPECT_EQ(log.entries().size(), MessageLog::kKept);
    EXPECT_EQ(log.entries().front().text, "2");
    EXPECT_EQ(log.added(), static_cast<long>(MessageLog::kKept + 2));
    EXPECT_EQ(loggedLine({12, 1, kMsgEarthquake}, {"たろうさん", "こむさん"}),
              "12手目　こむさん　地震だーー！！目的地が変わってしまったぞ～！！");
    EXPECT_EQ(stakeNote(100000), "賭け金：100,000円");
}

}  // namespace
}  // namespace kisharin

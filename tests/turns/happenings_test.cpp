// The happening tables as the players read them, and the draw of a happening.
#include "turns/happenings.h"

#include <gtest/gtest.h>

#include "support/fakes.h"
#include "support/scripted_screens.h"

namespace kisharin {
namespace {

const std::vector<std::string> kPointUp = {
    "席を譲った",
    "知り合いにあった",
    "乗り継ぎがよかった",
    "いい天気だ",
    "気分がいい",
    "お日様ぽかぽか",
    "景色がいい",
    "隅っこに座れた",
    "お弁当おいしいな",
    "定刻どおりだ",
    "が～らがら",
    "落し物を届けた",
    "痴漢を捕まえた",
    "会話がはずんだ",
    "きれいな街だ",
    "きれいな空だ",
    "きれいな山だ",
    "きれいな海だ",
    "きれいな花だ",
    "かかしがいる",
    "富士山が見えた",
    "水がおいしい",
    "ビール最高！",
    "駅弁もぐもぐおいしいな",
    "ホイミをかけられた",
    "差し入れありがとう",
    "迷子を助けた",
    "スカウトされた",
    "天使が降って来た",
    "スリを捕まえた",
    "ヤクザをやっつけた",
    "酔っ払いをこらしめた",
    "日本経済がいいらしい",
    "体が軽い！！",
    "体調がいい",
    "うとうと気持ちがいい",
    "ポケモンゲットだぜ！！",
    "お前の力はそんなものか！！喝",
    "果報は寝て待て！",
    "祝福された",
    "僕らは愛の花咲かそうよ！",
};
const std::vector<std::string> kPointDown = {
    "足を踏まれた",
    "痴漢にあった",
    "からまれた",
    "座れなかった",
    "満員電車だ",
    "ガムを踏んだ",
    "気分が悪い",
    "雨はいやだなあ",
    "雪だよ～",
    "切符がない",
    "子供がうるさい",
    "携帯電話がうるさい",
    "隕石が降ってきた",
    "ホームに物落とした",
    "宇宙人が攻めてきた",
    "歯が痛い",
    "畑仕事は大変",
    "銀行混んでるな～",
    "人ごみはイヤね",
    "おばさんうるさい",
    "化粧くさい",
    "迷子になった",
    "席を譲った",
    "悪魔が降って来た",
    "ヤクザにどつかれた",
    "酔っ払いに絡まれた",
    "チカンに間違われた。",
    "日本経済大恐慌",
    "体が重い！！",
    "体が熱い！！",
    "意味もなく憂鬱...",
    "人身事故で運転見合わせ",
    "炎よオレの力となれ！！",
    "ホームシックにかかる",
    "おなかが痛いよ～",
    "気持ちが悪い。",
    "頭が痛い",
    "腰が痛い",
    "呪われた",
    "風が強いよ～",
};
const std::vector<std::string> kMoneyUp = {
    "お金を拾った",       "お金をもらった",       "あっ、福の神だ！",     "パチンコ勝った",
    "埋蔵金掘り当てた",   "宝くじが当たった",     "株で儲けた",           "石油を掘り当てた",
    "ポチが宝を見つけた", "竹薮でお金見つけてた", "臨時ボーナス、ゲット",
};
const std::vector<std::string> kMoneyDown = {
    "お金落とした",   "寄付をした",     "スリに遭った",         "あっ、貧乏神だ！",
    "パチンコ負けた", "株が大暴落",     "衝動買いしてしまった", "かつあげされた",
    "上納金を納めた", "お釣りを忘れた", "弁償させられた",
};

TEST(HappeningTables, EveryTextAndJobAsTheGameHasThem) {
    GameState s;
    buildEventTables(s);
    EXPECT_EQ(s.pointUpMsgs, kPointUp);
    EXPECT_EQ(s.pointDownMsgs, kPointDown);
    EXPECT_EQ(s.moneyUpMsgs, kMoneyUp);
    EXPECT_EQ(s.moneyDownMsgs, kMoneyDown);
    EXPECT_EQ(s.jobNames, (std::vector<std::string>{"肉体労働だ～", "ティッシュ配るぞ～",
                                                    "ちょっと危ない仕事です", "看護師！？", "パイロット！？",
                                                    "サービス業", "ボランティア", "泥棒"}));
    EXPECT_EQ(s.jobPay, (std::vector<Long>{1300, 850, 3000, 1800, 5000, 1000, 100, 10000}));
    EXPECT_EQ(s.pointUpMsgs.size(), 41u);
    EXPECT_EQ(s.pointDownMsgs.size(), 40u);
    buildEventTables(s);  // a second board load builds the same tables, not longer ones
    EXPECT_EQ(s.pointUpMsgs.size(), 41u);
    EXPECT_EQ(s.jobNames.size(), 8u);
}

struct HappeningFixture : ::testing::Test {
    GameState s;
    testing::ScriptedScreens screens;
    testing::FakeClock clock;

    void SetUp() override {
        buildEventTables(s);
        s.curPlayer = 1;
        s.playerPoint[1] = 10;
        s.playerMoney[1] = 500;
        s.playerPoint[0] = 77;
        s.playerMoney[0] = 777;
    }
    // Runs one happening on the given draws; returns the number of draws used.
    size_t run(std::vector<double> draws) {
        testing::SequenceRng rng(std::move(draws));
        Game g{s, screens, rng, clock};
        g.seatBoth(screens);
        travelHappening(g);
        return rng.drawn();
    }
};

TEST_F(HappeningFixture, PointGain) {
    run({0.0, 0.1, 0.415, 0.0});
    EXPECT_EQ(screens.messages, std::vector<std::string>{"席を譲った：+42"});
    EXPECT_EQ(s.playerPoint[1], 52);
    EXPECT_EQ(s.playerMoney[1], 500);
    EXPECT_EQ(screens.refreshes, 0);  // points are not shown on the board
}

TEST_F(HappeningFixture, PointLossMayGoBelowZero) {
    run({0.3, 0.6, 0.415, 0.0});
    EXPECT_EQ(screens.messages, std::vector<std::string>{"足を踏まれた：-42"});
    EXPECT_EQ(s.playerPoint[1], -32);
    EXPECT_EQ(screens.refreshes, 0);
}

TEST_F(HappeningFixture, AmountsAndTextsReachBothEndsOfTheirRanges) {
    run({0.0, 0.0, 0.9999, 0.9999});
    EXPECT_EQ(screens.messages.back(), "僕らは愛の花咲かそうよ！：+100");
    run({0.49, 0.99, 0.0, 0.9999});
    EXPECT_EQ(screens.messages.back(), "風が強いよ～：-1");
    EXPECT_EQ(s.playerPoint[1], 10 + 100 - 1);
}

TEST_F(HappeningFixture, MoneyGainRefreshesTheMoneyLabel) {
    run({0.5, 0.2, 0.25, 0.0});
    EXPECT_EQ(screens.messages, std::vector<std::string>{"お金を拾った：+3000円"});
    EXPECT_EQ(s.playerMoney[1], 3500);
    EXPECT_EQ(s.playerPoint[1], 10);
    EXPECT_GE(screens.refreshes, 1);
}

TEST_F(HappeningFixture, MoneyLossMayLeaveADebt) {
    run({0.74, 0.9, 0.9999, 0.9999});
    EXPECT_EQ(screens.messages, std::vector<std::string>{"弁償させられた：-10000円"});
    EXPECT_EQ(s.playerMoney[1], -9500);  // the debt rule after the happening settles it
    EXPECT_GE(screens.refreshes, 1);
}

TEST_F(HappeningFixture, OneInFourNothingHappensAndNothingIsShown) {
    EXPECT_EQ(run({0.75, 0.0, 0.0, 0.0}), 1u);
    EXPECT_TRUE(screens.messages.empty());
    EXPECT_EQ(s.playerPoint[1], 10);
    EXPECT_EQ(s.playerMoney[1], 500);
}

TEST_F(HappeningFixture, OnlyTheCurrentPlayerIsAffected) {
    run({0.0, 0.1, 0.415, 0.0});
    run({0.5, 0.9, 0.5, 0.0});
    EXPECT_EQ(s.playerPoint[0], 77);
    EXPECT_EQ(s.playerMoney[0], 777);
}

TEST(HappeningOdds, QuarterGainQuarterLossEighthsOfMoneyQuarterNothing) {
    GameState s;
    buildEventTables(s);
    testing::ScriptedScreens screens;
    DefaultRng rng(12345);
    testing::FakeClock clock;
    Game g{s, screens, rng, clock};
    g.seatBoth(screens);
    int pointUp = 0, pointDown = 0, moneyUp = 0, moneyDown = 0, nothing = 0;
    const int n = 40000;
    for (int i = 0; i < n; ++i) {
        const Long points = s.playerPoint[0], money = s.playerMoney[0];
        const size_t shown = screens.messages.size();
        travelHappening(g);
        if (s.playerPoint[0] > points) ++pointUp;
        if (s.playerPoint[0] < points) ++pointDown;
        if (s.playerMoney[0] > money) ++moneyUp;
        if (s.playerMoney[0] < money) ++moneyDown;
        if (screens.messages.size() == shown) ++nothing;
    }
    EXPECT_NEAR(pointUp, n / 4, n / 50);
    EXPECT_NEAR(pointDown, n / 4, n / 50);
    EXPECT_NEAR(moneyUp, n / 8, n / 50);
    EXPECT_NEAR(moneyDown, n / 8, n / 50);
    EXPECT_NEAR(nothing, n / 4, n / 50);
    EXPECT_EQ(pointUp + pointDown + moneyUp + moneyDown + nothing, n);
}

}  // namespace
}  // namespace kisharin

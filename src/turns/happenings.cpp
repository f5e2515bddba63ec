#include "turns/happenings.h"

#include "state/saturate.h"
#include "turns/messages.h"

namespace kisharin {

void buildEventTables(GameState& s) {
    s.pointUpMsgs = {
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
    s.pointDownMsgs = {
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
    s.moneyUpMsgs = {
        "お金を拾った",       "お金をもらった",       "あっ、福の神だ！",     "パチンコ勝った",
        "埋蔵金掘り当てた",   "宝くじが当たった",     "株で儲けた",           "石油を掘り当てた",
        "ポチが宝を見つけた", "竹薮でお金見つけてた", "臨時ボーナス、ゲット",
    };
    s.moneyDownMsgs = {
        "お金落とした",   "寄付をした",     "スリに遭った",         "あっ、貧乏神だ！",
        "パチンコ負けた", "株が大暴落",     "衝動買いしてしまった", "かつあげされた",
        "上納金を納めた", "お釣りを忘れた", "弁償させられた",
    };
    s.jobNames = {"肉体労働だ～",   "ティッシュ配るぞ～", "ちょっと危ない仕事です", "看護師！？",
                  "パイロット！？", "サービス業",         "ボランティア",           "泥棒"};
    s.jobPay = {1300, 850, 3000, 1800, 5000, 1000, 100, 10000};
}

namespace {

const std::string& pickText(const std::vector<std::string>& texts, Rng& rng) {
    return texts[static_cast<size_t>(rng.next() * static_cast<double>(texts.size()))];
}

}  // namespace

void travelHappening(Game& g) {
    GameState& s = g.s;
    if (s.pointUpMsgs.empty() || s.pointDownMsgs.empty() || s.moneyUpMsgs.empty() || s.moneyDownMsgs.empty())
        buildEventTables(s);
    const int p = s.curPlayer;
    const int r = static_cast<int>(g.rng.next() * 4);
    if (r == 0 || r == 1) {
        const bool gain = static_cast<int>(g.rng.next() * 2) == 0;
        const Long amount = g.rng.pick(100);
        const std::string& text = pickText(gain ? s.pointUpMsgs : s.pointDownMsgs, g.rng);
        addPoints(s.playerPoint[p], gain ? amount : -amount);
        showMessage(g, pointHappeningText(text, gain, amount));
    } else if (r == 2) {
        const bool gain = static_cast<int>(g.rng.next() * 2) == 0;
        const Long amount = 1000 * g.rng.pick(10);
        const std::string& text = pickText(gain ? s.moneyUpMsgs : s.moneyDownMsgs, g.rng);
        addMoney(s.playerMoney[p], gain ? amount : -amount);
        g.screens.refreshBoard(s);
        showMessage(g, moneyHappeningText(text, gain, amount));
    }
}

}  // namespace kisharin

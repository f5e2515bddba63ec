#include <gtest/gtest.h>

#include "platform/text_file.h"
#include "setup/settings.h"
#include "support/fakes.h"
#include "support/railway_builder.h"

namespace kisharin {
namespace {

using testing::ScratchDir;
using testing::writeCp932;

struct SettingsFiles : ::testing::Test {
    ScratchDir user, shipped;
    std::string udir() { return user.path(); }
    std::string sdir() { return shipped.path(); }
};

TEST_F(SettingsFiles, WrittenFileHasTheSixLinesInPrintForm) {
    Settings st;
    st.name1 = "あいう";
    st.name2 = "ab";
    st.player = 1;  // Com
    st.shortOpt = 0;
    st.voiceOpt = 1;
    st.area = 8;  // 九州版
    st.url = "http://example.jp/map?a=1";
    writeSettings(udir(), st);
    const std::string bytes = readFileBytes(user.file("NameData.txt"));
    EXPECT_EQ(bytes, "\x82\xa0\x82\xa2\x82\xa4\r\nab\r\n 1 \r\n 0 \r\n 1 \r\n 8 \r\n");
    EXPECT_EQ(readLines(user.file("URL.txt")), std::vector<std::string>{st.url});

    const SettingsLoad back = readSettings(udir(), sdir());
    EXPECT_TRUE(back.problems.empty());
    EXPECT_EQ(back.settings, st);
}

TEST_F(SettingsFiles, BadValuesFallBackToTheShippedFileAndNameTheLine) {
    writeCp932(shipped.file("NameData.txt"), {"しん", "かん", " 0 ", " 0 ", " 0 ", " 3 "});
    writeCp932(shipped.file("URL.txt"), {"http://shipped"});
    writeCp932(user.file("NameData.txt"), {"たろう", "じろうさん", " 1 ", " x ", " 7 "});
    writeCp932(user.file("URL.txt"), {"http://mine", "ignored"});
    const SettingsLoad r = readSettings(udir(), sdir());
    EXPECT_EQ(r.settings.name1, "たろう");
    EXPECT_EQ(r.settings.name2, "かん");  // four characters are too many
    EXPECT_EQ(r.settings.player, 1);
    EXPECT_EQ(r.settings.shortOpt, 0);  // not a number
    EXPECT_EQ(r.settings.voiceOpt, 0);  // out of range
    EXPECT_EQ(r.settings.area, 3);      // line missing
    EXPECT_EQ(r.settings.url, "http://mine");
    ASSERT_EQ(r.problems.size(), 4u);
    EXPECT_NE(r.problems[0].find("NameData.txt」の2行目"), std::string::npos) << r.problems[0];
    EXPECT_NE(r.problems[1].find("の4行目"), std::string::npos) << r.problems[1];
    EXPECT_NE(r.problems[2].find("の5行目"), std::string::npos) << r.problems[2];
    EXPECT_NE(r.problems[3].find("の6行目"), std::string::npos) << r.problems[3];
}

TEST_F(SettingsFiles, MissingFilesGiveTheBuiltInValuesWithOneMessageEach) {
    const SettingsLoad r = readSettings(udir(), sdir());
    EXPECT_EQ(r.settings, Settings{});
    ASSERT_EQ(r.problems.size(), 2u);
    EXPECT_NE(r.problems[0].find("NameData.txt"), std::string::npos);
    EXPECT_NE(r.problems[1].find("URL.txt"), std::string::npos);
}

TEST_F(SettingsFiles, ShippedValueThatIsAlsoBadIsNotUsed) {
    writeCp932(shipped.file("NameData.txt"), {"a", "b", " 9 ", " 1 ", " 1 ", " 0 "});
    writeCp932(user.file("NameData.txt"), {"a", "b", " -1 ", " 1 ", " 1 ", " 0 "});
    const SettingsLoad r = readSettings(udir(), sdir());
    EXPECT_EQ(r.settings.player, Settings{}.player);
    EXPECT_EQ(r.problems.size(), 2u);  // the line, and the URL file that is missing
}

TEST_F(SettingsFiles, AnAddressBeyondWhatTheSetupWindowHoldsIsRefusedNotCut) {
    writeCp932(shipped.file("URL.txt"), {"http://shipped"});
    const std::string longest = "http://a/" + std::string(kUrlLimit - 9, 'x');
    writeCp932(user.file("URL.txt"), {longest});
    EXPECT_EQ(readSettings(udir(), sdir()).settings.url, longest);
    writeCp932(user.file("URL.txt"), {longest + "y"});
    const SettingsLoad r = readSettings(udir(), sdir());
    EXPECT_EQ(r.settings.url, "http://shipped");
    ASSERT_EQ(r.problems.size(), 2u);  // NameData.txt is missing
    EXPECT_NE(r.problems[1].find("URL.txt」の1行目：アドレスが 65537 文字あります"), std::string::npos)
        << r.problems[1];
}

TEST(SettingsNames, NamesAreThreeCharactersThatCp932CanWrite) {
    EXPECT_EQ(acceptedName("たろうさん"), "たろう");
    EXPECT_EQ(acceptedName("abcd"), "abc");
    EXPECT_EQ(acceptedName("a😀b"), "ab");     // an emoji cannot be written
    EXPECT_EQ(acceptedName("髙橋"), "髙橋");  // an IBM extension character can
    EXPECT_EQ(acceptedName(""), "");
    EXPECT_EQ(acceptedText("https://例え.jp/😀?q=1\n"), "https://例え.jp/?q=1");
}

TEST(SettingsApply, SettingsReachTheGameWithSan) {
    Settings st;
    st.name1 = "たろ";
    st.name2 = "com";
    st.player = 1;
    st.shortOpt = 0;
    st.voiceOpt = 1;
    st.area = 5;
    GameState s;
    データ設定(s, st);
    EXPECT_EQ(s.playerName[0], "たろさん");
    EXPECT_EQ(s.playerName[1], "comさん");
    EXPECT_TRUE(s.comOpponent);
    EXPECT_TRUE(s.shortMode);
    EXPECT_FALSE(s.voiceMode);
    EXPECT_EQ(s.playArea, 5);
    EXPECT_EQ(s.webMapUrl, st.url);
    EXPECT_FALSE(namesGiven(Settings{.name1 = "", .name2 = "b"}));
    EXPECT_TRUE(namesGiven(st));
}

TEST_F(SettingsFiles, EraseMemoriesEmptiesBothHistoriesAndCreatesMissingOnes) {
    GameState s;
    s.historyBase = user.path() + "履歴";
    writeCp932(user.file("履歴0.txt"), {"1 1", "2 3"});
    eraseMemories(s);
    EXPECT_EQ(readFileBytes(user.file("履歴0.txt")), "");
    EXPECT_TRUE(fileExists(user.file("履歴1.txt")));
    EXPECT_EQ(readFileBytes(user.file("履歴1.txt")), "");
}

TEST_F(SettingsFiles, SlotsThatExistAreMarked) {
    GameState s;
    EXPECT_FALSE(checkSlots(s, udir()));
    writeCp932(slotPath(udir(), 2), {"x"});
    EXPECT_TRUE(checkSlots(s, udir()));
    EXPECT_FALSE(s.slotExists[1]);
    EXPECT_TRUE(s.slotExists[2]);
    EXPECT_FALSE(s.slotExists[3]);
    EXPECT_EQ(baseName(slotPath(udir(), 2)), "GameData2.txt");
}

}  // namespace
}  // namespace kisharin

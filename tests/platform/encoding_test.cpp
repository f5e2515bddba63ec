#include "platform/encoding.h"

#include <gtest/gtest.h>

namespace kisharin {
namespace {

TEST(Cp932, RoundTripsJapaneseAndAscii) {
    const std::string text = "東京駅 とうきょう ﾄｳｷｮｳ ABC-123 ～";
    const auto bytes = utf8ToCp932(text);
    ASSERT_TRUE(bytes);
    EXPECT_NE(*bytes, text);
    EXPECT_EQ(cp932ToUtf8(*bytes), text);
    // 東 is 0x93 0x8C in Shift-JIS.
    EXPECT_EQ(utf8ToCp932("東")->substr(0, 2), std::string("\x93\x8C"));
}

TEST(Cp932, DecodesNecAndIbmExtensions) {
    // NEC special characters (row 13): ① is 0x87 0x40, ㈱ is 0x87 0x8A.
    EXPECT_EQ(cp932ToUtf8("\x87\x40"), "①");
    EXPECT_EQ(cp932ToUtf8("\x87\x8A"), "㈱");
    // IBM extensions: ⅰ is 0xFA 0x40, 髙 is 0xFB 0xFC.
    EXPECT_EQ(cp932ToUtf8("\xFA\x40"), "ⅰ");
    EXPECT_EQ(cp932ToUtf8("\xFB\xFC"), "髙");
    // And back again, so names such as 髙崎 survive a save.
    EXPECT_EQ(utf8ToCp932("髙①"), std::string("\xFB\xFC\x87\x40"));
}

TEST(Cp932, RefusesWhatIsNotCp932) {
    EXPECT_FALSE(cp932ToUtf8("\x81"));          // lead byte at the end
    EXPECT_FALSE(cp932ToUtf8("\x81\x20"));      // lead byte with a bad trail byte
    EXPECT_FALSE(cp932ToUtf8("ab\xA0\xFF"));    // bytes no table assigns
    EXPECT_FALSE(utf8ToCp932("駅🚃"));          // a character CP932 lacks
    EXPECT_FALSE(utf8ToCp932("\xC3"));          // broken UTF-8
    EXPECT_FALSE(representableInCp932("한국"));
    EXPECT_TRUE(representableInCp932("キシャリン"));
}

TEST(Utf8Text, CountsAndCutsCharactersNotBytes) {
    EXPECT_EQ(charCount("abc"), 3);
    EXPECT_EQ(charCount("とうきょう"), 5);
    EXPECT_EQ(charCount(""), 0);
    EXPECT_EQ(firstChars("たなかたろう", 3), "たなか");
    EXPECT_EQ(firstChars("ab", 3), "ab");
    EXPECT_EQ(firstChars("a東b", 2), "a東");
}

}  // namespace
}  // namespace kisharin

namespace kisharin {
namespace {

TEST(Utf8Text, CodePointsRoundTripAndBrokenBytesBecomeReplacements) {
    const std::string text = "aé駅🚃";
    std::string back;
    std::vector<char32_t> cps;
    for (size_t i = 0; i < text.size();) cps.push_back(nextUtf8(text, i));
    EXPECT_EQ(cps, (std::vector<char32_t>{U'a', U'é', U'駅', U'🚃'}));
    for (char32_t cp : cps) appendUtf8(back, cp);
    EXPECT_EQ(back, text);

    const std::string broken = "\xE9\xA7x\xC3";  // a cut three-byte character, then a lone lead byte
    std::vector<char32_t> got;
    for (size_t i = 0; i < broken.size();) got.push_back(nextUtf8(broken, i));
    EXPECT_EQ(got.front(), 0xFFFDu);
    EXPECT_EQ(got.back(), 0xFFFDu);
}

}  // namespace
}  // namespace kisharin

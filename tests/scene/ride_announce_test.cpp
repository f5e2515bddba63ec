// What is said on arrival in voice mode.
#include <gtest/gtest.h>

#include "scene/announce.h"
#include "support/railway_builder.h"

namespace kisharin {
namespace {

class Recorder final : public Speech {
  public:
    std::vector<std::string> said;
    void speak(const std::string& text) override { said.push_back(text); }
};

struct AnnounceFixture : ::testing::Test {
    GameState s;
    void SetUp() override {
        for (int line = 1; line <= 5; ++line) {
            testing::TestLine l;
            l.name = "線" + std::to_string(line);
            l.stations = {"甲", "乙", "丙"};
            l.prefs = {"東京都"};
            testing::addLine(s, line, l);
        }
        s.ekiYomi(1, 2) = "おつ";
        s.curPlayer = 1;
        s.playerRosen[1] = 1;
        s.playerEki[1] = 2;
        s.norikaeCount = 1;
    }
    // A transfer label of the displayed line: to `line` at station `at`.
    void transfer(int line, int at) {
        const int k = s.norikaeCount;
        s.norikaeList(k, 0) = static_cast<Integer>(line);
        s.norikaeList(k, 1) = 1;
        s.norikaeList(k, 2) = static_cast<Integer>(at);
        s.norikaeCount = static_cast<Integer>(k + 1);
    }
};

TEST_F(AnnounceFixture, NoTransferGivesTheReadingAlone) {
    transfer(3, 1);  // a transfer at another station of the line is not said
    EXPECT_EQ(arrivalAnnouncement(s), (std::vector<std::string>{"おつです"}));
}

TEST_F(AnnounceFixture, OneOrTwoLinesAreNamedInRowOrder) {
    transfer(4, 2);
    EXPECT_EQ(arrivalAnnouncement(s),
              (std::vector<std::string>{"おつです", "よみ線4", "はお乗り換えです。"}));
    transfer(5, 3);
    transfer(2, 2);
    EXPECT_EQ(arrivalAnnouncement(s),
              (std::vector<std::string>{"おつです", "よみ線4", "よみ線2", "はお乗り換えです。"}));
}

TEST_F(AnnounceFixture, ThreeOrMoreLinesAreSaidAsAll) {
    transfer(2, 2);
    transfer(3, 2);
    transfer(4, 2);
    EXPECT_EQ(arrivalAnnouncement(s), (std::vector<std::string>{"おつです", "各線お乗り換えです。"}));
    transfer(5, 2);
    EXPECT_EQ(arrivalAnnouncement(s).size(), 2u);
}

TEST_F(AnnounceFixture, EachSentenceIsSpokenInTurn) {
    transfer(2, 2);
    Recorder voice;
    announceArrival(s, voice);
    EXPECT_EQ(voice.said, (std::vector<std::string>{"おつです", "よみ線2", "はお乗り換えです。"}));
}

}  // namespace
}  // namespace kisharin

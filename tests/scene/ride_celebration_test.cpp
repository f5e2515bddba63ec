// The conquest celebration: its title colour, caption and the train's run.
#include <gtest/gtest.h>

#include <set>

#include "scene/seiha.h"
#include "support/fakes.h"
#include "support/railway_builder.h"

namespace kisharin {
namespace {

TEST(Celebration, TheTrainLeavesTheWindowAtThe207thTick) {
    SeihaModel m;
    EXPECT_EQ(m.trainLeft, -788);
    for (int i = 1; i <= 206; ++i) ASSERT_FALSE(m.tick()) << i;
    EXPECT_TRUE(m.tick());
    EXPECT_EQ(m.ticks, 207);
    EXPECT_GT(m.trainLeft, 1278);
    EXPECT_FALSE(m.tick());  // closed stays closed
    EXPECT_EQ(m.ticks, 207);
}

TEST(Celebration, TheTitleColourIsDrawnAnewAtEveryOpening) {
    GameState s;
    testing::TestLine l;
    l.name = "山手線";
    l.stations = {"東京"};
    l.prefs = {"東京都"};
    testing::addLine(s, 1, l);
    testing::FakeClock clock;
    clock.step = 1;  // the clock moves between openings
    DefaultRng rng(1);
    std::set<Long> colours;
    for (int i = 0; i < 5; ++i) colours.insert(seihaSetUp(s, 1, rng, clock).titleColor);
    EXPECT_GE(colours.size(), 4u);
    // The same clock reading gives the same colour: it comes from the re-seeded generator.
    testing::FakeClock still;
    EXPECT_EQ(seihaSetUp(s, 1, rng, still).titleColor, seihaSetUp(s, 1, rng, still).titleColor);
    EXPECT_EQ(seihaSetUp(s, 1, rng, still).caption, "山手線　制覇　!!");
}

TEST(Celebration, TheCaptionStaysCentredHoweverWide) {
    EXPECT_EQ(SeihaModel::captionLeft(200), 339);
    const int wide = 1200;
    const int left = SeihaModel::captionLeft(wide);
    EXPECT_LT(left, 0);
    EXPECT_NEAR(left + wide / 2, seiha::kClientWidth / 2, 1);
}

TEST(Celebration, AMissingPictureLeavesTheTrainUnpaintedAndTheRunGoesOn) {
    GameState s;
    testing::TestLine l;
    l.name = "本線";
    l.stations = {"東京"};
    l.prefs = {"東京都"};
    l.descriptor = "3\\1;2;3\\4;5;6\\7;8;9\\9;9;9\\1";
    testing::addLine(s, 1, l);
    s.appDir = "/nonexistent/";
    s.playerRosen[0] = 1;
    EXPECT_TRUE(seihaTrain(s, 1).empty());
    // With the shipped pictures the train comes coloured at its full size, also for a
    // line that is not the one the player stands on.
    s.appDir = std::string(KISHARIN_SHIPPED_DATA_DIR) + "/";
    s.playerRosen[0] = 0;
    const PixelBuffer train = seihaTrain(s, 1);
    ASSERT_FALSE(train.empty());
    EXPECT_EQ(train.width, 778);
    EXPECT_EQ(train.height, 101);
}

}  // namespace
}  // namespace kisharin

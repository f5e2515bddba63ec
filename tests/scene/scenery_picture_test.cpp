// The scenery pieces of the ride: their sizes in the strip, transparency round the
// standing pieces, and the cloud and aeroplane outlines that the sky fill must not enter.
#include <gtest/gtest.h>

#include <functional>

#include "scene/paint.h"
#include "scene/scenery_art.h"

namespace kisharin {
namespace {

struct PieceCase {
    const char* name;
    std::function<PixelBuffer()> draw;
    int width, height;
    bool transparentGround;
};

const PieceCase kPieces[] = {
    {"signal", signalPicture, 26, 170, true},
    {"red signal", redSignalPicture, 26, 170, true},
    {"tree", treePicture, 57, 178, true},
    {"tunnel", tunnelPicture, 126, 167, true},
    {"pole", polePicture, 39, 156, true},
    {"viaduct pier", viaductPierPicture, 41, 57, false},
    {"river", riverPicture, 212, 257, true},
    {"road", roadPicture, 212, 257, true},
    {"level crossing", levelCrossingPicture, 73, 158, true},
    {"buffer stop", bufferStopPicture, 33, 50, true},
    {"cloud", cloudPicture, 168, 101, false},
    {"aeroplane", aeroplanePicture, 261, 196, false},
};

TEST(SceneryPieces, HaveTheirSizesAndTheSameDrawingEveryTime) {
    for (const PieceCase& c : kPieces) {
        const PixelBuffer a = c.draw(), b = c.draw();
        EXPECT_EQ(a.width, c.width) << c.name;
        EXPECT_EQ(a.height, c.height) << c.name;
        EXPECT_EQ(a.px.size(), static_cast<size_t>(c.width) * c.height) << c.name;
        EXPECT_TRUE(a == b) << c.name;
    }
}

TEST(SceneryPieces, StandingPiecesShowTheSkyAroundThemAndAreNotEmpty) {
    for (const PieceCase& c : kPieces) {
        if (!c.transparentGround) continue;
        const PixelBuffer p = c.draw();
        int opaque = 0;
        for (std::uint32_t px : p.px) opaque += (px >> 24) != 0;
        // Something is drawn, and the top corners (above every piece) are see-through.
        EXPECT_GT(opaque, p.width * p.height / 20) << c.name;
        EXPECT_EQ(p.at(0, 0) >> 24, 0u) << c.name;
        EXPECT_EQ(p.at(p.width - 1, 0) >> 24, 0u) << c.name;
        // Whatever is drawn is fully opaque: no half-transparent edges.
        for (std::uint32_t px : p.px) ASSERT_TRUE((px >> 24) == 0 || (px >> 24) == 255) << c.name;
    }
}

TEST(SceneryPieces, TheSignalsDifferOnlyInTheLampThatIsLit) {
    const PixelBuffer green = signalPicture(), red = redSignalPicture();
    int differ = 0;
    for (size_t i = 0; i < green.px.size(); ++i) differ += green.px[i] != red.px[i];
    EXPECT_GT(differ, 50);
    EXPECT_LT(differ, 26 * 40);
}

TEST(SceneryPieces, TheViaductPierIsABlackBox) {
    for (std::uint32_t px : viaductPierPicture().px) ASSERT_EQ(px, kBlack);
}

// The flight fills the sky from the top-left corner: it must colour every bit of the
// picture outside the outline, reach all four corners, and leave the inside white.
TEST(SceneryPieces, SkyFillGoesRoundTheCloudAndTheAeroplaneOnly) {
    for (const auto& draw : {cloudPicture, aeroplanePicture}) {
        PixelBuffer p = draw();
        const PixelBuffer before = p;
        const std::uint32_t sky = skyColors[2];
        floodFillBorder(p, 0, 0, sky);
        EXPECT_EQ(p.at(p.width - 1, 0), sky);
        EXPECT_EQ(p.at(0, p.height - 1), sky);
        EXPECT_EQ(p.at(p.width - 1, p.height - 1), sky);
        int outside = 0, insideWhite = 0, black = 0;
        for (size_t i = 0; i < p.px.size(); ++i) {
            outside += p.px[i] == sky;
            insideWhite += p.px[i] == kWhite;
            black += p.px[i] == kBlack;
            if (before.px[i] == kBlack) {
                ASSERT_EQ(p.px[i], kBlack);
            }
        }
        EXPECT_GT(outside, static_cast<int>(p.px.size()) / 3);
        EXPECT_GT(insideWhite, static_cast<int>(p.px.size()) / 10);  // the body stays white
        EXPECT_GT(black, 200);
    }
}

}  // namespace
}  // namespace kisharin

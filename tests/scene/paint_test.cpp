// The scene painting: the fill, the picture files, the sky by the hour, night and
// underground, flights, the failure rules, and the shipped train pictures coloured
// through the game's own fill without leaking.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <set>

#include "board/station_file.h"
#include "scene/paint.h"
#include "scene/pixels.h"
#include "state/datetime.h"
#include "state/railway.h"
#include "support/fakes.h"
#include "traingen/train_art.h"

namespace kisharin {
namespace {

using testing::FakeClock;
using testing::ScratchDir;
using testing::SequenceRng;

const std::string kShipped = std::string(KISHARIN_SHIPPED_DATA_DIR) + "/";

constexpr std::uint32_t kRoofCol = argb(200, 30, 30), kBandCol = argb(30, 200, 30),
                        kBand2Col = argb(30, 30, 200), kBodyCol = argb(200, 200, 30);
const std::uint32_t kFieldColour[5] = {0, kRoofCol, kBandCol, kBand2Col, kBodyCol};

std::string descriptor(const std::string& picture, const std::string& flag) {
    return picture + "\\200;30;30\\30;200;30\\30;30;200\\200;200;30\\" + flag;
}

// A state whose current player rides line 1.
std::unique_ptr<GameState> rideOn(const std::string& name, const std::string& desc,
                                  const std::string& appDir = kShipped,
                                  CivilTime at = {2024, 4, 1, 12, 0, 0}) {
    auto s = std::make_unique<GameState>();
    s->appDir = appDir;
    s->curPlayer = 1;
    s->playerRosen[1] = 1;
    s->ekiName(1, 0) = name;
    s->ekiPref(1, 0) = desc;
    s->gameClock = toSerial(at);
    s->playSeconds = 0;
    return s;
}

bool nearBlack(std::uint32_t c) {
    const int r = (c >> 16) & 255, g = (c >> 8) & 255, b = c & 255;
    return std::max({r, g, b}) < 48;
}

// Where the first pixel of this colour is, or "" when there is none.
std::string firstOf(const PixelBuffer& img, std::uint32_t c) {
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x)
            if (img.at(x, y) == c) return std::to_string(x) + "," + std::to_string(y);
    return "";
}

// ---- The fill --------------------------------------------------------------------

TEST(FloodFill, StaysInsideItsOutlineAndPassesOtherColours) {
    PixelBuffer img(12, 8, kWhite);
    drawRect(img, 2, 1, 6, 5, kBlack);  // box x 2..7, y 1..5
    img.set(4, 3, argb(10, 200, 10));   // a coloured pixel inside: border mode fills over it
    floodFillBorder(img, 3, 2, argb(255, 0, 0));
    EXPECT_EQ(img.at(4, 3), argb(255, 0, 0));
    EXPECT_EQ(img.at(6, 4), argb(255, 0, 0));
    EXPECT_EQ(img.at(0, 0), kWhite);  // outside untouched
    EXPECT_EQ(img.at(2, 1), kBlack);  // the outline keeps its colour
    EXPECT_EQ(img.at(11, 7), kWhite);
}

TEST(FloodFill, SeedOnBlackOrOutsideFillsNothing) {
    PixelBuffer img(10, 10, kWhite);
    drawRect(img, 0, 0, 10, 10, kBlack);
    const PixelBuffer before = img;
    floodFillBorder(img, 0, 5, argb(1, 2, 3));
    floodFillBorder(img, -1, 5, argb(1, 2, 3));
    floodFillBorder(img, 10, 10, argb(1, 2, 3));
    EXPECT_EQ(img, before);
}

TEST(FloodFill, OpenRegionFloodsEverythingConnected) {
    PixelBuffer img(20, 10, kWhite);
    drawLine(img, 5, 0, 5, 6, kBlack);  // a wall with a gap below it
    floodFillBorder(img, 1, 1, argb(0, 0, 255));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x)
            if (img.at(x, y) != kBlack) {
                ASSERT_EQ(img.at(x, y), argb(0, 0, 255)) << x << "," << y;
            }
}

TEST(FloodFill, DiagonalStepsDoNotLeakAndRefillingGoesThroughItsOwnColour) {
    PixelBuffer img(9, 9, kWhite);
    // A diamond drawn with 4-connected lines keeps a fill inside.
    drawPolygon(img, {{4, 0}, {8, 4}, {4, 8}, {0, 4}}, kBlack);
    floodFillBorder(img, 4, 4, argb(9, 9, 9));
    EXPECT_EQ(img.at(0, 0), kWhite);
    EXPECT_EQ(img.at(8, 8), kWhite);
    // Only side neighbours count: pixels touching by a corner are not joined.
    PixelBuffer checker(4, 4, kWhite);
    checker.set(1, 0, kBlack), checker.set(0, 1, kBlack);
    floodFillBorder(checker, 0, 0, argb(5, 5, 5));
    EXPECT_EQ(checker.at(1, 1), kWhite);
    // A region already partly in the fill colour is still filled as a whole.
    PixelBuffer half(6, 1, kWhite);
    half.set(2, 0, argb(7, 7, 7));
    floodFillBorder(half, 0, 0, argb(7, 7, 7));
    EXPECT_EQ(half.at(5, 0), argb(7, 7, 7));
}

TEST(FloodFill, ASeedListGivesWhatOneFillPerSeedGives) {
    // Seeds in one region, in several regions, on black and outside, over a real picture.
    const std::vector<SeedPoint> seeds = {{5, 2},   {775, 100}, {410, 60}, {410, 62}, {402, 30},
                                          {17, 40}, {0, 6},     {900, 5},  {-3, 1},   {748, 83}};
    std::string error;
    auto picture = readBmp(std::string(KISHARIN_SHIPPED_DATA_DIR) + "/Train/1.bmp", error);
    ASSERT_TRUE(picture) << error;
    PixelBuffer one = *picture, batch = *picture;
    for (const SeedPoint& q : seeds) floodFillBorder(one, q.x, q.y, argb(1, 2, 3));
    floodFillBorder(batch, seeds, argb(1, 2, 3));
    EXPECT_TRUE(one == batch);
    EXPECT_FALSE(one == *picture);
}

TEST(Strokes, ShapesPartlyOrWhollyOffThePictureAreClipped) {
    PixelBuffer img(10, 6, kWhite);
    drawRect(img, -10, 1, 21, 4, kBlack);  // left edge far off the picture
    fillRect(img, -5, -5, 3, 3, kBlack);   // wholly off
    fillRect(img, 12, 2, 5, 5, kBlack);
    fillRect(img, 3, 3, -2, 2, kBlack);  // negative size
    fillEllipse(img, -20, -20, 8, 8, kBlack);
    drawLine(img, -3, 0, 12, 0, kBlack);
    int black = 0;
    for (std::uint32_t c : img.px) black += c == kBlack;
    EXPECT_EQ(black, 30);             // the line, and the rectangle's top and bottom rows
    EXPECT_EQ(img.at(9, 2), kWhite);  // its right side is at x 10, off the picture
    EXPECT_EQ(img.at(0, 1), kBlack);
}

TEST(Strokes, PolygonsAndEllipsesCloseTheirInside) {
    PixelBuffer img(40, 30, kWhite);
    drawEllipse(img, 2, 2, 30, 20, kBlack);
    drawPolygon(img, {{34, 2}, {39, 28}, {30, 28}}, kBlack);
    floodFillBorder(img, 17, 12, argb(9, 9, 9));
    floodFillBorder(img, 35, 20, argb(8, 8, 8));
    EXPECT_EQ(img.at(0, 0), kWhite);
    EXPECT_EQ(img.at(2, 29), kWhite);
    PixelBuffer filled(40, 30, kWhite);
    fillPolygon(filled, {{34, 2}, {39, 28}, {30, 28}}, kBlack);
    EXPECT_EQ(filled.at(35, 20), kBlack);
    EXPECT_EQ(filled.at(31, 5), kWhite);
}

// ---- Picture files ---------------------------------------------------------------

TEST(BmpFiles, RoundTripKeepsEveryPixelOfOddWidths) {
    ScratchDir dir;
    PixelBuffer img(7, 3, kWhite);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x) img.set(x, y, argb(x * 30, y * 80, 255 - x * 20));
    std::string error;
    ASSERT_TRUE(writeBmp(img, dir.file("a.bmp"), error)) << error;
    EXPECT_EQ(std::filesystem::file_size(dir.file("a.bmp")), 54u + 3 * 24);  // rows padded to 4 bytes
    const auto back = readBmp(dir.file("a.bmp"), error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(*back, img);
    EXPECT_FALSE(std::filesystem::exists(dir.file("a.bmp.tmp")));
}

TEST(BmpFiles, WritingFailsWithAMessageAndLeavesNothingBehind) {
    ScratchDir dir;
    std::string error;
    EXPECT_FALSE(writeBmp(PixelBuffer(3, 3), dir.file("no/such/folder/x.bmp"), error));
    EXPECT_NE(error.find("x.bmp"), std::string::npos);
    EXPECT_FALSE(writeBmp(PixelBuffer(), dir.file("empty.bmp"), error));
    EXPECT_FALSE(std::filesystem::exists(dir.file("empty.bmp")));
    // A file that was there stays whole when the new picture cannot be written.
    ASSERT_TRUE(writeBmp(PixelBuffer(2, 2, kBlack), dir.file("keep.bmp"), error));
    EXPECT_FALSE(writeBmp(PixelBuffer(), dir.file("keep.bmp"), error));
    const auto kept = readBmp(dir.file("keep.bmp"), error);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->at(1, 1), kBlack);
}

void writeBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<unsigned char> header(int w, int h, int bits, int compression = 0) {
    std::vector<unsigned char> b(54, 0);
    auto put = [&](size_t at, std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i) b[at + i] = static_cast<unsigned char>(v >> (8 * i));
    };
    b[0] = 'B', b[1] = 'M';
    put(10, 54, 4), put(14, 40, 4), put(18, static_cast<std::uint32_t>(w), 4),
        put(22, static_cast<std::uint32_t>(h), 4);
    put(26, 1, 2), put(28, static_cast<std::uint32_t>(bits), 2),
        put(30, static_cast<std::uint32_t>(compression), 4);
    return b;
}

TEST(BmpFiles, ReadsTopDownAndThirtyTwoBitFiles) {
    ScratchDir dir;
    auto b = header(2, -2, 24);  // top-down: first row in the file is the top row
    for (unsigned char c : {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0}) b.push_back(c);
    writeBytes(dir.file("td.bmp"), b);
    std::string error;
    auto img = readBmp(dir.file("td.bmp"), error);
    ASSERT_TRUE(img) << error;
    EXPECT_EQ(img->at(0, 0), argb(255, 0, 0));
    EXPECT_EQ(img->at(1, 0), argb(0, 255, 0));
    EXPECT_EQ(img->at(0, 1), argb(0, 0, 255));

    auto b32 = header(1, 1, 32);
    for (unsigned char c : {10, 20, 30, 0}) b32.push_back(c);
    writeBytes(dir.file("32.bmp"), b32);
    img = readBmp(dir.file("32.bmp"), error);
    ASSERT_TRUE(img) << error;
    EXPECT_EQ(img->at(0, 0), argb(30, 20, 10));  // opaque although the file's alpha byte is 0
}

TEST(BmpFiles, BadFilesGiveAMessageNamingTheFile) {
    ScratchDir dir;
    std::string error;
    EXPECT_FALSE(readBmp(dir.file("none.bmp"), error));
    EXPECT_NE(error.find("none.bmp"), std::string::npos);
    EXPECT_NE(error.find("ありません"), std::string::npos);

    writeBytes(dir.file("text.bmp"), std::vector<unsigned char>(60, 'x'));
    EXPECT_FALSE(readBmp(dir.file("text.bmp"), error));
    EXPECT_NE(error.find("text.bmp"), std::string::npos);

    auto rle = header(4, 4, 8, 1);
    rle.resize(200, 0);
    writeBytes(dir.file("rle.bmp"), rle);
    EXPECT_FALSE(readBmp(dir.file("rle.bmp"), error));
    EXPECT_NE(error.find("rle.bmp"), std::string::npos);
    EXPECT_NE(error.find("24ビット"), std::string::npos);

    auto cut = header(100, 100, 24);
    cut.resize(54 + 500, 0);  // far fewer bytes than 100 rows
    writeBytes(dir.file("cut.bmp"), cut);
    EXPECT_FALSE(readBmp(dir.file("cut.bmp"), error));
    EXPECT_NE(error.find("途中で切れて"), std::string::npos);

    auto huge = header(1 << 20, 1, 24);
    writeBytes(dir.file("huge.bmp"), huge);
    EXPECT_FALSE(readBmp(dir.file("huge.bmp"), error));
    EXPECT_NE(error.find("大きさ"), std::string::npos);
}

// ---- Descriptors -----------------------------------------------------------------

TEST(Descriptor, ColoursAreThreeNumbersAndAbove255CountsAs255) {
    EXPECT_EQ(parseDescriptorColour("12;34;56"), argb(12, 34, 56));
    EXPECT_EQ(parseDescriptorColour(" 0 ; 255 ;7"), argb(0, 255, 7));
    EXPECT_EQ(parseDescriptorColour("300;256;99999999999999"), argb(255, 255, 255));
    for (const char* bad : {"", "1;2", "1;2;3;4", "-1;2;3", "a;b;c", "1;;3", "1;2;3;", "1.5;2;3", "１;２;３"})
        EXPECT_FALSE(parseDescriptorColour(bad)) << bad;
}

TEST(Descriptor, SplitsAtBackslashesKeepingEmptyFields) {
    EXPECT_EQ(splitDescriptor("1\\a\\\\b"), (std::vector<std::string>{"1", "a", "", "b"}));
    EXPECT_EQ(splitDescriptor(""), (std::vector<std::string>{""}));
}

// ---- The sky -----------------------------------------------------------------------

struct HourCase {
    int hour, minute;
    long playSeconds;
    int sky;
};

TEST(Sky, FollowsTheBoardClockHour) {
    // Each second of play is one minute on the board clock.
    const HourCase cases[] = {{5, 59, 0, 3},  {6, 0, 0, 0},   {15, 59, 0, 0},  {16, 0, 0, 2},
                              {18, 59, 0, 2}, {19, 0, 0, 3},  {23, 59, 0, 3},  {0, 0, 0, 3},
                              {5, 50, 10, 0}, {15, 0, 60, 2}, {18, 30, 30, 3}, {23, 0, 420, 0},
                              {4, 0, 119, 3}};
    for (const HourCase& c : cases) {
        SequenceRng rng({0.5});
        FakeClock clock;
        EXPECT_EQ(skyIndexAt(toSerial({2024, 4, 1, c.hour, c.minute, 0}), c.playSeconds, rng, clock), c.sky)
            << c.hour << ":" << c.minute << " +" << c.playSeconds;
    }
}

TEST(Sky, DaytimeReseedsFromTheTimerAndIsCloudyOneTimeInTen) {
    FakeClock clock;
    clock.time = 43210.5;
    SequenceRng cloudy({0.099});
    EXPECT_EQ(skyIndexAt(toSerial({2024, 4, 1, 9, 0, 0}), 0, cloudy, clock), 1);
    EXPECT_EQ(cloudy.reseeds, 1);
    EXPECT_EQ(cloudy.lastSeed, 43210.5);
    EXPECT_EQ(cloudy.drawn(), 1u);
    SequenceRng clear({0.1});
    EXPECT_EQ(skyIndexAt(toSerial({2024, 4, 1, 9, 0, 0}), 0, clear, clock), 0);
    // Evening and night draw nothing.
    SequenceRng untouched({0.0});
    skyIndexAt(toSerial({2024, 4, 1, 17, 0, 0}), 0, untouched, clock);
    skyIndexAt(toSerial({2024, 4, 1, 2, 0, 0}), 0, untouched, clock);
    EXPECT_EQ(untouched.reseeds, 0);
    EXPECT_EQ(untouched.drawn(), 0u);
    // With the real generator, about one daytime ride in ten is cloudy.
    DefaultRng rng;
    int count = 0;
    for (int i = 0; i < 2000; ++i) {
        clock.time = i * 0.37;
        count += skyIndexAt(toSerial({2024, 4, 1, 10, 0, 0}), 0, rng, clock) == 1;
    }
    EXPECT_GT(count, 140);
    EXPECT_LT(count, 260);
}

// ---- Painting a ride ---------------------------------------------------------------

PixelBuffer raw(int picture) {
    std::string error;
    auto img = readBmp(kShipped + "Train/" + std::to_string(picture) + ".bmp", error);
    EXPECT_TRUE(img) << error;
    return img ? *img : PixelBuffer();
}

TEST(RidePainting, DaytimeTrainIsColouredAndTheGroundIsSky) {
    auto s = rideOn("東海道本線", descriptor("2", "0"));
    SequenceRng rng({0.5});
    FakeClock clock;
    const ScenePaint p = 塗りつぶし(*s, rng, clock);
    EXPECT_TRUE(p.stoppedBecause.empty()) << p.stoppedBecause;
    EXPECT_FALSE(p.isFlight);
    EXPECT_FALSE(p.isUnderground);
    EXPECT_EQ(p.skyIndex, 0);
    EXPECT_EQ(p.background, argb(236, 255, 255));
    EXPECT_FALSE(p.whiteHeaders);
    ASSERT_EQ(p.train.width, kTrainWidth);
    EXPECT_EQ(p.train.at(210, 15), kRoofCol);
    EXPECT_EQ(p.train.at(410, 60), kBandCol);
    EXPECT_EQ(p.train.at(402, 30), kBodyCol);
    EXPECT_EQ(p.train.at(5, 2), argb(236, 255, 255));
    EXPECT_EQ(p.train.at(45, 40), raw(2).at(45, 40));  // windows stay as drawn by day
    EXPECT_TRUE(p.plane.empty());

    // The one cloudy ride in ten: the grey sky goes round the train too.
    SequenceRng cloudy({0.05});
    const ScenePaint grey = 塗りつぶし(*s, cloudy, clock);
    EXPECT_EQ(grey.skyIndex, 1);
    EXPECT_EQ(grey.background, argb(232, 232, 232));
    EXPECT_EQ(grey.train.at(775, 100), argb(232, 232, 232));
    EXPECT_EQ(cloudy.reseeds, 1);
}

TEST(RidePainting, NightLightsTheWindowsExceptOnTheCableCar) {
    auto s = rideOn("線", descriptor("3", "0"), kShipped, {2024, 4, 1, 21, 0, 0});
    SequenceRng rng({0.5});
    FakeClock clock;
    ScenePaint p = 塗りつぶし(*s, rng, clock);
    EXPECT_EQ(p.skyIndex, 3);
    EXPECT_TRUE(p.whiteHeaders);
    EXPECT_EQ(p.background, argb(0, 64, 128));
    for (const SeedPoint& q : windowSeeds("3")) EXPECT_EQ(p.train.at(q.x, q.y), kWhite) << q.x;
    EXPECT_EQ(p.train.at(402, 30), kBodyCol);  // not grey: the flag is 0

    s->ekiPref(1, 0) = descriptor("7", "0");
    p = 塗りつぶし(*s, rng, clock);
    EXPECT_TRUE(p.whiteHeaders);
    const PixelBuffer cable = raw(7);
    for (const SeedPoint& q : windowSeeds("3")) EXPECT_NE(p.train.at(q.x, q.y), kWhite) << q.x;
    EXPECT_EQ(p.train.at(100, 30), cable.at(100, 30));
}

TEST(RidePainting, GreyBodiesAtNightForBareMetalLines) {
    auto s = rideOn("線", descriptor("3", "1"), kShipped, {2024, 4, 1, 3, 0, 0});
    SequenceRng rng({0.5});
    FakeClock clock;
    const ScenePaint p = 塗りつぶし(*s, rng, clock);
    EXPECT_EQ(p.train.at(402, 30), argb(90, 90, 90));
    EXPECT_EQ(p.train.at(440, 70), argb(120, 120, 120));
    EXPECT_EQ(p.train.at(410, 60), kBandCol);
    // By day the same line keeps its colours.
    s->gameClock = toSerial({2024, 4, 1, 12, 0, 0});
    EXPECT_EQ(塗りつぶし(*s, rng, clock).train.at(402, 30), kBodyCol);
}

TEST(RidePainting, UndergroundIsDarkWithLitWindowsAtAnyHour) {
    auto s = rideOn("東京メトロ銀座線", descriptor("4", "2"), kShipped, {2024, 4, 1, 11, 0, 0});
    SequenceRng rng({0.0});  // would be cloudy if the day rule ran
    FakeClock clock;
    const ScenePaint p = 塗りつぶし(*s, rng, clock);
    EXPECT_TRUE(p.isUnderground);
    EXPECT_EQ(p.skyIndex, 4);
    EXPECT_EQ(p.background, argb(70, 70, 70));
    EXPECT_TRUE(p.whiteHeaders);
    EXPECT_EQ(rng.reseeds, 0);
    EXPECT_EQ(p.train.at(5, 100), argb(70, 70, 70));
    EXPECT_EQ(p.train.at(17, 40), kWhite);
    EXPECT_EQ(p.train.at(6, 10), kRoofCol);
    EXPECT_EQ(p.train.at(6, 30), kBodyCol);
}

TEST(RidePainting, FlightNeverReadsTheDescriptor) {
    auto s = rideOn("飛行機（羽田～新千歳）", "", kShipped, {2024, 4, 1, 20, 0, 0});
    for (const char* anyDescriptor : {"", "x", "1\\bad\\colours"}) {
        s->ekiPref(1, 0) = anyDescriptor;
        SequenceRng rng({0.5});
        FakeClock clock;
        EXPECT_TRUE(塗りつぶし(*s, rng, clock).stoppedBecause.empty()) << anyDescriptor;
    }
    SequenceRng rng({0.5});
    FakeClock clock;
    ScenePaint p = 塗りつぶし(*s, rng, clock);
    EXPECT_TRUE(p.isFlight);
    EXPECT_TRUE(p.stoppedBecause.empty());
    EXPECT_TRUE(p.train.empty());
    EXPECT_EQ(p.skyIndex, 3);
    EXPECT_TRUE(p.whiteHeaders);
    ASSERT_EQ(p.plane.width, 261);
    ASSERT_EQ(p.plane.height, 196);
    const std::uint32_t night = argb(0, 64, 128);
    EXPECT_EQ(p.plane.at(0, 0), night);
    EXPECT_EQ(p.plane.at(260, 195), night);
    for (const auto& cloud : p.clouds) {
        ASSERT_EQ(cloud.width, 168);
        EXPECT_EQ(cloud.at(0, 0), night);
        EXPECT_EQ(cloud.at(167, 100), night);
        EXPECT_EQ(cloud.at(84, 50), kWhite);  // the cloud itself stays white
    }
    // A flight by day: the day rule draws, headers stay dark.
    s->gameClock = toSerial({2024, 4, 1, 10, 0, 0});
    p = 塗りつぶし(*s, rng, clock);
    EXPECT_EQ(p.skyIndex, 0);
    EXPECT_FALSE(p.whiteHeaders);
    EXPECT_EQ(rng.reseeds, 1);
}

TEST(RidePainting, MissingPictureStopsBeforeTheSky) {
    ScratchDir dir;
    auto s = rideOn("線", descriptor("3", "0"), dir.path());
    SequenceRng rng({0.5});
    FakeClock clock;
    const ScenePaint p = 塗りつぶし(*s, rng, clock);
    EXPECT_NE(p.stoppedBecause.find("Train/3.bmp"), std::string::npos) << p.stoppedBecause;
    EXPECT_TRUE(p.train.empty());
    EXPECT_EQ(p.skyIndex, -1);
    EXPECT_EQ(p.background, kWhite);
    EXPECT_FALSE(p.whiteHeaders);
    EXPECT_EQ(rng.reseeds, 0);

    // A picture number that is not a plain name never reaches outside the folder.
    s->ekiPref(1, 0) = "../GameData/x\\1;1;1\\1;1;1\\1;1;1\\1;1;1\\0";
    EXPECT_FALSE(塗りつぶし(*s, rng, clock).stoppedBecause.empty());
}

TEST(RidePainting, APictureThatIsNoFileOrTooLargeIsRefusedSayingWhy) {
    ScratchDir dir;
    std::filesystem::create_directories(dir.path() + "Train/1.bmp");
    ASSERT_EQ(::mkfifo(dir.file("Train/2.bmp").c_str(), 0600), 0);
    ASSERT_EQ(::symlink("/dev/zero", dir.file("Train/3.bmp").c_str()), 0);
    auto wide = header(kLargestTrainWidth + 1, 4, 24);
    wide.resize(wide.size() + static_cast<size_t>((kLargestTrainWidth + 1) * 3 + 3) / 4 * 4 * 4, 0);
    writeBytes(dir.file("Train/4.bmp"), wide);
    const std::pair<const char*, const char*> cases[] = {{"1", "フォルダ"},
                                                         {"2", "普通のファイルではありません"},
                                                         {"3", "普通のファイルではありません"},
                                                         {"4", "大きすぎます"}};
    for (const auto& [picture, why] : cases) {
        auto s = rideOn("線", descriptor(picture, "0"), dir.path());
        SequenceRng rng({0.5});
        FakeClock clock;
        const ScenePaint p = 塗りつぶし(*s, rng, clock);  // a pipe must not hold it
        EXPECT_NE(p.stoppedBecause.find("Train/" + std::string(picture) + ".bmp"), std::string::npos);
        EXPECT_NE(p.stoppedBecause.find(why), std::string::npos) << p.stoppedBecause;
        EXPECT_TRUE(p.train.empty());
    }
}

TEST(RidePainting, BadColourStopsWhereItIsAndKeepsWhatWasPainted) {
    auto s = rideOn("線", "1\\200;30;30\\green\\30;30;200\\200;200;30\\0");
    SequenceRng rng({0.5});
    FakeClock clock;
    const ScenePaint p = 塗りつぶし(*s, rng, clock);
    EXPECT_NE(p.stoppedBecause.find("green"), std::string::npos) << p.stoppedBecause;
    EXPECT_EQ(p.train.at(210, 15), kRoofCol);            // field 1 was painted
    EXPECT_EQ(p.train.at(410, 60), traingen::kToPaint);  // field 2 never
    EXPECT_EQ(p.train.at(5, 2), kWhite);                 // no sky
    EXPECT_EQ(p.skyIndex, -1);
}

TEST(RidePainting, ShortDescriptorStopsAtTheMissingField) {
    // Picture 2 reads fields 1, 2 and 4: with four fields it stops at field 4.
    auto s = rideOn("線", "2\\200;30;30\\30;200;30\\1;1;1");
    SequenceRng rng({0.5});
    FakeClock clock;
    ScenePaint p = 塗りつぶし(*s, rng, clock);
    EXPECT_FALSE(p.stoppedBecause.empty());
    EXPECT_EQ(p.train.at(410, 60), kBandCol);
    EXPECT_EQ(p.train.at(402, 30), traingen::kToPaint);
    EXPECT_EQ(p.skyIndex, -1);
    // A complete scheme but no flag: stops before the sky, train fully coloured.
    s->ekiPref(1, 0) = "8";
    p = 塗りつぶし(*s, rng, clock);
    EXPECT_FALSE(p.stoppedBecause.empty());
    EXPECT_EQ(p.train, raw(8));
    EXPECT_EQ(p.skyIndex, -1);
    EXPECT_EQ(p.background, kWhite);
    // Components above 255 count as 255.
    s->ekiPref(1, 0) = "5\\0;0;0\\999;30;30\\0;0;0\\260;300;256\\0";
    p = 塗りつぶし(*s, rng, clock);
    EXPECT_TRUE(p.stoppedBecause.empty()) << p.stoppedBecause;
    EXPECT_EQ(p.train.at(210, 15), argb(255, 255, 255));
    EXPECT_EQ(p.train.at(245, 70), argb(255, 30, 30));
}

TEST(Celebration, ColoursTheTrainOnlyAndLeavesTheGroundAsDrawn) {
    auto s = rideOn("山手線", descriptor("3", "1"), kShipped, {2024, 4, 1, 22, 0, 0});
    std::string why = "old";
    const PixelBuffer t = 制覇塗りつぶし(*s, &why);
    EXPECT_TRUE(why.empty());
    const PixelBuffer drawn = raw(3);
    EXPECT_EQ(t.at(410, 60), kBandCol);
    EXPECT_EQ(t.at(410, 70), kBand2Col);
    EXPECT_EQ(t.at(402, 30), kBodyCol);         // no night greys
    EXPECT_EQ(t.at(5, 2), kWhite);              // no sky
    EXPECT_EQ(t.at(17, 40), drawn.at(17, 40));  // no lit windows

    ScratchDir dir;
    s->appDir = dir.path();
    EXPECT_TRUE(制覇塗りつぶし(*s, &why).empty());
    EXPECT_FALSE(why.empty());
}

// ---- The shipped pictures ------------------------------------------------------------

class ShippedPicture : public ::testing::TestWithParam<int> {
  protected:
    std::string name() const { return std::to_string(GetParam()); }
};

TEST_P(ShippedPicture, IsTheGeneratorsDrawingWithBlackOutlinesOnly) {
    const PixelBuffer img = raw(GetParam());
    ASSERT_EQ(img.width, kTrainWidth);
    ASSERT_EQ(img.height, kTrainHeight);
    // `make data` writes what the generator draws, byte for byte.
    EXPECT_TRUE(img == traingen::drawTrainPicture(GetParam())) << "data/Train is out of date: run make data";
    int black = 0;
    for (std::uint32_t c : img.px) {
        if (c == kBlack)
            ++black;
        else
            ASSERT_FALSE(nearBlack(c)) << std::hex << c;
    }
    EXPECT_GT(black, 2000);
}

// Every seed lies in the part it means: after the whole painting each seed shows its
// field's colour, the sky seeds show the sky, every part to be painted was reached and
// every bit of ground got the sky.
TEST_P(ShippedPicture, DaytimeColoursEndWhereTheyAreMeant) {
    const std::string pic = name();
    auto s = rideOn("線", descriptor(pic, "0"));
    SequenceRng rng({0.5});
    FakeClock clock;
    const ScenePaint p = 塗りつぶし(*s, rng, clock);
    ASSERT_TRUE(p.stoppedBecause.empty()) << p.stoppedBecause;
    const std::uint32_t sky = skyColors[0];
    for (const SchemeFill& f : trainScheme(pic))
        for (const SeedPoint& q : f.seeds)
            EXPECT_EQ(p.train.at(q.x, q.y), kFieldColour[f.field])
                << "field " << f.field << " at " << q.x << "," << q.y;
    for (const SeedPoint& q : skySeeds(pic))
        EXPECT_EQ(p.train.at(q.x, q.y), sky) << "sky at " << q.x << "," << q.y;
    EXPECT_EQ(firstOf(p.train, traingen::kToPaint), "") << "a part meant to be coloured that no seed reaches";
    EXPECT_EQ(firstOf(p.train, kWhite), "") << "ground that no sky seed reaches";
}

TEST_P(ShippedPicture, NightKeepsEveryColourInItsPlace) {
    const std::string pic = name();
    // The flags the railway data gives: greys for the bare metal bodies of 3 and 6, and any
    // line may run underground.
    std::vector<std::string> flags = {"0", "2"};
    if (pic == "3" || pic == "6") flags.push_back("1");
    for (const std::string& flag : flags) {
        auto s = rideOn("線", descriptor(pic, flag), kShipped, {2024, 4, 1, 23, 0, 0});
        SequenceRng rng({0.5});
        FakeClock clock;
        const ScenePaint p = 塗りつぶし(*s, rng, clock);
        ASSERT_TRUE(p.stoppedBecause.empty()) << p.stoppedBecause;
        const std::uint32_t sky = skyColors[flag == "2" ? 4 : 3];
        for (const SeedPoint& q : skySeeds(pic))
            ASSERT_EQ(p.train.at(q.x, q.y), sky) << flag << " sky " << q.x;
        if (pic != "7") {
            for (const SeedPoint& q : windowSeeds(pic))
                ASSERT_EQ(p.train.at(q.x, q.y), kWhite) << flag << " window " << q.x;
        }
        if (flag == "1") {
            for (const SeedPoint& q : nightGreySeedsDark()) ASSERT_EQ(p.train.at(q.x, q.y), argb(90, 90, 90));
            for (const SeedPoint& q : nightGreySeedsLight())
                ASSERT_EQ(p.train.at(q.x, q.y), argb(120, 120, 120));
            for (const SchemeFill& f : trainScheme(pic)) {
                if (f.field == 4) continue;
                for (const SeedPoint& q : f.seeds) ASSERT_EQ(p.train.at(q.x, q.y), kFieldColour[f.field]);
            }
        } else {
            for (const SchemeFill& f : trainScheme(pic))
                for (const SeedPoint& q : f.seeds)
                    ASSERT_EQ(p.train.at(q.x, q.y), kFieldColour[f.field])
                        << flag << " field " << f.field << " " << q.x;
        }
    }
}

TEST_P(ShippedPicture, TheCelebrationLeavesTheGroundWhite) {
    const PixelBuffer drawn = raw(GetParam());
    auto s = rideOn("線", descriptor(name(), "0"));
    const PixelBuffer t = 制覇塗りつぶし(*s, nullptr);
    ASSERT_EQ(t.px.size(), drawn.px.size());
    for (size_t i = 0; i < t.px.size(); ++i)
        if (drawn.px[i] == kWhite) {
            ASSERT_EQ(t.px[i], kWhite) << "ground painted at " << i % kTrainWidth << "," << i / kTrainWidth;
        }
}

INSTANTIATE_TEST_SUITE_P(Pictures, ShippedPicture, ::testing::Range(1, 9));

// Every line of the shipped railway paints to its end, by day and at night, with its own
// descriptor: the ground round each train is all sky and the windows light up.
TEST(TrainPictures, EveryShippedLinePaintsWithoutStopping) {
    auto s = std::make_unique<GameState>();
    static_cast<RailwayData&>(*s) = readStationFile(kShipped + "GameData/駅.txt");
    s->appDir = kShipped;
    int lines = 0;
    for (int L = 1; L <= lineCount(*s); ++L) {
        s->playerRosen[0] = static_cast<Integer>(L);
        for (int hour : {12, 23}) {
            s->gameClock = toSerial({2024, 4, 1, hour, 0, 0});
            SequenceRng rng({0.5});
            FakeClock clock;
            const ScenePaint p = 塗りつぶし(*s, rng, clock);
            ASSERT_TRUE(p.stoppedBecause.empty()) << s->ekiName(L, 0) << ": " << p.stoppedBecause;
            if (p.isFlight) continue;
            const std::string picture = splitDescriptor(s->ekiPref(L, 0))[0];
            const std::uint32_t sky = skyColors[static_cast<size_t>(p.skyIndex)];
            ASSERT_EQ(firstOf(p.train, kWhite) == "", p.skyIndex < 3 || picture == "7") << s->ekiName(L, 0);
            for (const SeedPoint& q : skySeeds(picture))
                ASSERT_EQ(p.train.at(q.x, q.y), sky) << s->ekiName(L, 0);
            ASSERT_EQ(firstOf(p.train, traingen::kToPaint), "") << s->ekiName(L, 0);
        }
        ++lines;
    }
    EXPECT_GT(lines, 500);
}

TEST(TrainPictures, DrawingIsDeterministicAndOnlyEightExist) {
    for (int n = 1; n <= 8; ++n)
        EXPECT_TRUE(traingen::drawTrainPicture(n) == traingen::drawTrainPicture(n)) << n;
    EXPECT_TRUE(traingen::drawTrainPicture(9).empty());
    // The eight are different drawings.
    std::set<std::vector<std::uint32_t>> distinct;
    for (int n = 1; n <= 8; ++n) distinct.insert(traingen::drawTrainPicture(n).px);
    EXPECT_EQ(distinct.size(), 8u);
}

}  // namespace
}  // namespace kisharin

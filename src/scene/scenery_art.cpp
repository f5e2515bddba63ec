#include "scene/scenery_art.h"

#include <cmath>
#include <vector>

namespace kisharin {

namespace {

constexpr std::uint32_t kOutline = kBlack;

// A shape built from several strokes; its outline is drawn as one ring, so overlapping
// parts merge into one silhouette without inner lines.
struct Mask {
    int width, height;
    std::vector<std::uint8_t> in;
    Mask(int w, int h) : width(w), height(h), in(static_cast<size_t>(w) * h, 0) {}
    bool at(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height && in[y * width + x]; }
    void add(const PixelBuffer& stamp) {
        for (int i = 0; i < width * height; ++i)
            if (stamp.px[i] == kBlack) in[i] = 1;
    }
    void ellipse(int x, int y, int w, int h) {
        PixelBuffer stamp(width, height, kWhite);
        fillEllipse(stamp, x, y, w, h, kBlack);
        add(stamp);
    }
    void polygon(const std::vector<Point>& pts) {
        PixelBuffer stamp(width, height, kWhite);
        fillPolygon(stamp, pts, kBlack);
        add(stamp);
    }
    void rect(int x, int y, int w, int h) {  // x, y, width, height
        PixelBuffer stamp(width, height, kWhite);
        fillRect(stamp, x, y, w, h, kBlack);
        add(stamp);
    }
    // Fills the shape with `inside` and rings it with the outline colour.
    void paint(PixelBuffer& img, std::uint32_t inside) const {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                if (!at(x, y)) continue;
                const bool edge = !at(x - 1, y) || !at(x + 1, y) || !at(x, y - 1) || !at(x, y + 1);
                img.set(x, y, edge ? kOutline : inside);
            }
    }
};

PixelBuffer signalWith(int litLamp) {
    PixelBuffer img(26, 170, kTransparent);
    // Mast with a ladder rung pattern, on a small base.
    fillRect(img, 11, 56, 5, 110, argb(120, 120, 120));
    drawRect(img, 10, 56, 7, 110, kOutline);
    for (int y = 70; y < 160; y += 12) fillRect(img, 11, y, 5, 1, argb(80, 80, 80));
    fillRect(img, 5, 164, 17, 6, argb(90, 90, 90));
    drawRect(img, 5, 164, 17, 6, kOutline);
    // Head: a black panel with three lamps, green at the top, yellow, red at the bottom.
    fillRect(img, 3, 2, 20, 56, argb(30, 30, 30));
    drawRect(img, 3, 2, 20, 56, kOutline);
    const std::uint32_t lit[3] = {argb(40, 230, 120), argb(255, 200, 30), argb(255, 40, 30)};
    const std::uint32_t dark[3] = {argb(30, 70, 50), argb(80, 70, 30), argb(80, 30, 30)};
    for (int i = 0; i < 3; ++i) {
        const int y = 6 + i * 17;
        fillEllipse(img, 6, y, 14, 14, i == litLamp ? lit[i] : dark[i]);
        // Hood over each lamp.
        fillRect(img, 5, y - 1, 16, 2, kOutline);
    }
    return img;
}

}  // namespace

PixelBuffer signalPicture() {
    return signalWith(0);
}
PixelBuffer redSignalPicture() {
    return signalWith(2);
}

PixelBuffer treePicture() {
    PixelBuffer img(57, 178, kTransparent);
    // Trunk.
    fillRect(img, 24, 110, 10, 68, argb(120, 78, 40));
    drawRect(img, 24, 110, 10, 68, kOutline);
    fillRect(img, 27, 118, 2, 50, argb(90, 56, 28));
    // Crown: three tiers of a cedar, dark green with a lighter side.
    Mask crown(57, 178);
    crown.polygon({{28, 0}, {48, 50}, {8, 50}});
    crown.polygon({{28, 28}, {53, 88}, {3, 88}});
    crown.polygon({{28, 60}, {56, 122}, {0, 122}});
    crown.paint(img, argb(34, 120, 52));
    for (int y = 8; y < 120; ++y)
        for (int x = 29; x < 57; ++x)
            if (img.at(x, y) == argb(34, 120, 52) && ((x + y) % 7 == 0)) img.set(x, y, argb(70, 160, 80));
    for (int y = 8; y < 120; ++y)
        for (int x = 0; x < 28; ++x)
            if (img.at(x, y) == argb(34, 120, 52) && ((x * 3 + y) % 11 == 0)) img.set(x, y, argb(20, 90, 40));
    return img;
}

PixelBuffer tunnelPicture() {
    PixelBuffer img(126, 167, kTransparent);
    // The hillside above the tunnel: a rolling top that meets the next segment's at the
    // same height, grass down to the stone lining.
    for (int x = 0; x < 126; ++x) {
        const int top =
            3 + static_cast<int>(std::lround(5.0 * (1.0 - std::cos(2.0 * 3.14159265358979 * x / 126.0))));
        fillRect(img, x, top, 1, 30 - top, argb(70, 140, 60));
        img.set(x, top, argb(40, 100, 40));
    }
    for (int x = 0; x < 126; x += 9)
        fillRect(img, x + (x / 9 % 2) * 3, 16 + (x / 9 % 3) * 4, 3, 2, argb(40, 100, 40));
    // Stone lining.
    fillRect(img, 0, 30, 126, 22, argb(150, 140, 125));
    for (int x = 0; x < 126; x += 21) drawRect(img, x, 30, 21, 11, argb(100, 92, 80));
    for (int x = -10; x < 126; x += 21) drawRect(img, x, 41, 21, 11, argb(100, 92, 80));
    fillRect(img, 0, 51, 126, 1, kOutline);
    // The dark bore, with a lamp and ribs so that the segments slide past visibly.
    fillRect(img, 0, 52, 126, 115, argb(45, 42, 40));
    fillRect(img, 0, 52, 3, 115, argb(30, 28, 26));
    fillRect(img, 60, 52, 4, 115, argb(58, 55, 52));
    fillEllipse(img, 88, 60, 10, 8, argb(255, 220, 120));
    drawEllipse(img, 88, 60, 10, 8, argb(120, 100, 50));
    return img;
}

PixelBuffer polePicture() {
    PixelBuffer img(39, 156, kTransparent);
    const std::uint32_t concrete = argb(175, 170, 160);
    // Mast.
    fillRect(img, 4, 6, 8, 150, concrete);
    drawRect(img, 4, 6, 8, 150, kOutline);
    // Bracket reaching over the track to the overhead wire.
    fillRect(img, 4, 10, 35, 4, argb(120, 120, 120));
    drawRect(img, 4, 10, 35, 4, kOutline);
    drawLine(img, 11, 30, 36, 14, kOutline);
    // Hanger and insulators down to the wire.
    fillRect(img, 30, 14, 2, 16, kOutline);
    for (int i = 0; i < 3; ++i) {
        fillEllipse(img, 26, 16 + i * 4, 10, 4, argb(226, 226, 232));  // porcelain insulators
        drawEllipse(img, 26, 16 + i * 4, 10, 4, argb(120, 120, 130));
    }
    return img;
}

PixelBuffer viaductPierPicture() {
    return PixelBuffer(41, 57, kBlack);
}

PixelBuffer riverPicture() {
    PixelBuffer img(212, 257, kTransparent);
    // Banks of grass and the water widening towards the viewer.
    const std::vector<Point> water = {{86, 0}, {126, 0}, {200, 257}, {12, 257}};
    fillPolygon(img, {{70, 0}, {142, 0}, {212, 257}, {0, 257}}, argb(190, 170, 120));
    fillPolygon(img, water, argb(60, 140, 220));
    drawPolygon(img, water, argb(30, 80, 150));
    // Ripples.
    for (int y = 20; y < 257; y += 22)
        for (int k = 0; k < 3; ++k) {
            const int half = 100 * y / 257 + 20;
            const int cx = 106 + (k - 1) * half * 2 / 3 + (y / 22 % 2) * 8;
            fillRect(img, cx - 6, y, 12, 2, argb(200, 230, 255));
        }
    return img;
}

PixelBuffer roadPicture() {
    PixelBuffer img(212, 257, kTransparent);
    const std::vector<Point> road = {{80, 0}, {132, 0}, {196, 257}, {16, 257}};
    fillPolygon(img, road, argb(110, 110, 115));
    drawPolygon(img, road, argb(60, 60, 60));
    // Centre line, dashes growing towards the viewer.
    for (int y = 4, len = 6; y < 257; y += len * 2, len += 2)
        fillRect(img, 105, y, 3, len, argb(250, 250, 250));
    return img;
}

PixelBuffer levelCrossingPicture() {
    PixelBuffer img(73, 158, kTransparent);
    // Post.
    fillRect(img, 33, 20, 7, 138, argb(240, 240, 240));
    for (int y = 20; y < 158; y += 16) fillRect(img, 33, y, 7, 8, kBlack);
    drawRect(img, 33, 20, 7, 138, kOutline);
    // Crossbuck: a yellow X with black edges.
    const std::uint32_t yellow = argb(250, 210, 20);
    for (int t = -3; t <= 3; ++t) {
        drawLine(img, 14, 2 + t, 58, 30 + t, yellow);
        drawLine(img, 14, 30 + t, 58, 2 + t, yellow);
    }
    drawLine(img, 14, 6, 58, 34, kOutline);
    drawLine(img, 14, -2, 58, 26, kOutline);
    drawLine(img, 14, 26, 58, -2, kOutline);
    drawLine(img, 14, 34, 58, 6, kOutline);
    // Two red warning lamps on a black plate.
    fillRect(img, 14, 40, 45, 16, kBlack);
    fillEllipse(img, 16, 42, 12, 12, argb(255, 40, 30));
    fillEllipse(img, 45, 42, 12, 12, argb(255, 40, 30));
    // Barrier arm, lowered: yellow and black stripes.
    fillRect(img, 0, 96, 73, 6, yellow);
    for (int x = 0; x < 73; x += 12) fillRect(img, x, 96, 6, 6, kBlack);
    drawRect(img, 0, 95, 73, 8, kOutline);
    return img;
}

PixelBuffer bufferStopPicture() {
    PixelBuffer img(33, 50, kTransparent);
    // Red and white striped beam on two legs.
    const std::uint32_t red = argb(220, 40, 40);
    fillRect(img, 4, 14, 4, 36, argb(90, 90, 90));
    fillRect(img, 25, 14, 4, 36, argb(90, 90, 90));
    drawLine(img, 6, 24, 27, 48, argb(60, 60, 60));
    drawLine(img, 27, 24, 6, 48, argb(60, 60, 60));
    fillRect(img, 0, 2, 33, 12, kWhite);
    for (int x = 0; x < 33; x += 11) fillRect(img, x, 2, 6, 12, red);
    drawRect(img, 0, 2, 33, 12, kOutline);
    // Lamp on top.
    fillEllipse(img, 13, 0, 7, 4, red);
    return img;
}

PixelBuffer cloudPicture() {
    PixelBuffer img(168, 101, kWhite);
    Mask m(168, 101);
    m.ellipse(8, 40, 60, 50);
    m.ellipse(36, 14, 62, 60);
    m.ellipse(78, 6, 56, 58);
    m.ellipse(106, 34, 56, 52);
    m.ellipse(30, 52, 110, 42);
    m.paint(img, kWhite);
    return img;
}

PixelBuffer aeroplanePicture() {
    PixelBuffer img(261, 196, kWhite);
    Mask m(261, 196);
    // An airliner flying to the right: fuselage with a rounded nose and a tapering tail,
    // the fin, the tailplane, the near wing swept back and its engine.
    m.rect(28, 86, 190, 29);
    m.ellipse(150, 86, 106, 29);
    m.polygon({{29, 86}, {6, 93}, {8, 100}, {29, 114}});
    m.polygon({{12, 30}, {40, 30}, {84, 88}, {24, 92}});
    m.polygon({{8, 100}, {62, 100}, {46, 110}, {4, 108}});
    m.polygon({{112, 108}, {152, 108}, {108, 178}, {82, 178}});
    m.ellipse(112, 118, 44, 17);
    m.paint(img, kWhite);
    // Livery inside the outline: the fin and a cheat line in blue, the windows in dark glass.
    const std::uint32_t blue = argb(30, 80, 170), glass = argb(60, 84, 120);
    for (int y = 0; y < 196; ++y)
        for (int x = 0; x < 261; ++x) {
            if (img.at(x, y) != kWhite || !m.at(x, y)) continue;
            const bool fin = y < 86 && x < 86;
            const bool line = y >= 103 && y <= 105 && x > 20 && x < 246;
            if (fin || line) img.set(x, y, blue);
        }
    for (int x = 60; x < 214; x += 9) fillRect(img, x, 93, 4, 5, glass);
    fillRect(img, 230, 92, 7, 5, glass);
    fillRect(img, 238, 93, 5, 4, glass);
    drawRect(img, 200, 91, 8, 15, argb(120, 120, 130));  // door
    fillRect(img, 120, 123, 8, 7, argb(150, 150, 160));  // engine intake
    return img;
}

}  // namespace kisharin

#include "traingen/train_art.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kisharin::traingen {

namespace {

constexpr int W = 778, H = 101;

// Colours of the parts no line colour goes into. None is dark: black is the outline only.
constexpr std::uint32_t kGround = kWhite;
constexpr std::uint32_t kGlass = argb(98, 124, 156);
constexpr std::uint32_t kGlassShine = argb(150, 178, 204);
constexpr std::uint32_t kRoof = argb(158, 160, 166);
constexpr std::uint32_t kUnderfloor = argb(96, 96, 102);
constexpr std::uint32_t kWheel = argb(132, 132, 138);
constexpr std::uint32_t kGangway = argb(120, 116, 110);
constexpr std::uint32_t kLamp = argb(255, 236, 160);
constexpr std::uint32_t kConcrete = argb(186, 182, 172);

// A shape on the picture. Parts outside the picture count as inside, so a car cut by
// the picture's edge gets no outline there.
struct Mask {
    std::vector<std::uint8_t> m = std::vector<std::uint8_t>(static_cast<size_t>(W) * H, 0);
    bool at(int x, int y) const {
        if (x < 0 || y < 0 || x >= W || y >= H) return false;
        return m[static_cast<size_t>(y) * W + x] != 0;
    }
    bool inOrBeyond(int x, int y) const {
        if (y < 0 || y >= H) return false;
        if (x < 0) return at(0, y);
        if (x >= W) return at(W - 1, y);
        return at(x, y);
    }
    void set(int x, int y) {
        if (x >= 0 && y >= 0 && x < W && y < H) m[static_cast<size_t>(y) * W + x] = 1;
    }
    Mask& operator|=(const Mask& o) {
        for (size_t i = 0; i < m.size(); ++i) m[i] |= o.m[i];
        return *this;
    }
    Mask operator&(const Mask& o) const {
        Mask r;
        for (size_t i = 0; i < m.size(); ++i) r.m[i] = m[i] & o.m[i];
        return r;
    }
    Mask minus(const Mask& o) const {
        Mask r;
        for (size_t i = 0; i < m.size(); ++i) r.m[i] = m[i] & !o.m[i];
        return r;
    }
};

Mask rect(int x0, int y0, int x1, int y1) {  // inclusive corners
    Mask r;
    for (int y = std::max(y0, 0); y <= std::min(y1, H - 1); ++y)
        for (int x = std::max(x0, 0); x <= std::min(x1, W - 1); ++x) r.set(x, y);
    return r;
}
Mask ellipse(int x, int y, int w, int h) {
    Mask r;
    const double rx = w / 2.0, ry = h / 2.0;
    for (int yy = std::max(y, 0); yy < std::min(y + h, H); ++yy)
        for (int xx = std::max(x, 0); xx < std::min(x + w, W); ++xx) {
            const double dx = (xx + 0.5 - x - rx) / rx, dy = (yy + 0.5 - y - ry) / ry;
            if (dx * dx + dy * dy <= 1.0) r.set(xx, yy);
        }
    return r;
}
Mask polygon(const std::vector<Point>& pts) {
    PixelBuffer stamp(W, H, kWhite);
    fillPolygon(stamp, pts, kBlack);
    Mask r;
    for (size_t i = 0; i < r.m.size(); ++i) r.m[i] = stamp.px[i] == kBlack;
    return r;
}
// A rectangle whose top corners are rounded with radius r.
Mask roundedTop(int x0, int y0, int x1, int y1, int r) {
    Mask s = rect(x0, y0 + r, x1, y1);
    s |= rect(x0 + r, y0, x1 - r, y0 + r);
    s |= ellipse(x0, y0, 2 * r + 1, 2 * r + 1);
    s |= ellipse(x1 - 2 * r, y0, 2 * r + 1, 2 * r + 1);
    return s;
}
// The shape shrunk by n pixels (side neighbours).
Mask erode(const Mask& s, int n) {
    Mask cur = s;
    for (int k = 0; k < n; ++k) {
        Mask next;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                if (cur.inOrBeyond(x, y) && cur.inOrBeyond(x - 1, y) && cur.inOrBeyond(x + 1, y) &&
                    cur.inOrBeyond(x, y - 1) && cur.inOrBeyond(x, y + 1))
                    next.set(x, y);
        cur = next;
    }
    return cur;
}

// Paints a shape: its edge black, the rest `inside`.
void paint(PixelBuffer& img, const Mask& s, std::uint32_t inside) {
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            if (!s.at(x, y)) continue;
            const bool edge = !s.inOrBeyond(x - 1, y) || !s.inOrBeyond(x + 1, y) || !s.inOrBeyond(x, y - 1) ||
                              !s.inOrBeyond(x, y + 1);
            img.set(x, y, edge ? kBlack : inside);
        }
}
void hline(PixelBuffer& img, const Mask& within, int y, int x0, int x1) {
    for (int x = x0; x <= x1; ++x)
        if (within.at(x, y)) img.set(x, y, kBlack);
}

// A window pane: glass with a lighter streak.
void window(PixelBuffer& img, const Mask& pane) {
    paint(img, pane, kGlass);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            if (img.at(x, y) == kGlass && pane.at(x, y) && ((x + y) % 9 == 0 || (x + y) % 9 == 1) &&
                pane.at(x - 3, y - 3) && (x % 17) < 8)
                img.set(x, y, kGlassShine);
}

// ---- The common layout of a train of four cars -------------------------------------

struct Car {
    int x0, x1;  // outline columns; a car may run past the picture's edges
};
const std::vector<Car> kCars = {{-10, 194}, {199, 392}, {397, 591}, {596, 788}};

struct Door {
    int l, mid, r;  // outline columns; mid 0 for a single leaf
};
const std::vector<Door> kDoors = {{9, 0, 21},      {38, 55, 72},    {113, 127, 142}, {238, 252, 267},
                                  {308, 322, 337}, {433, 450, 467}, {508, 522, 537}, {633, 647, 662},
                                  {708, 722, 737}, {754, 0, 766}};
const std::vector<std::pair<int, int>> kSideWindows = {{78, 108},  {148, 186}, {208, 234}, {272, 303},
                                                       {344, 388}, {406, 429}, {474, 503}, {542, 587},
                                                       {606, 628}, {668, 702}};

constexpr int kBodyTop = 6, kBodyBottom = 92;

void bogies(PixelBuffer& img, int x0, int x1) {
    // Frame and two wheels, all above the bottom row so the ground runs on under them.
    for (int c : {x0 + 34, x1 - 34}) {
        Mask b = rect(c - 20, kBodyBottom, c + 20, kBodyBottom + 3);
        b |= ellipse(c - 17, 87, 12, 12);
        b |= ellipse(c + 6, 87, 12, 12);
        paint(img, b, kUnderfloor);
        paint(img, ellipse(c - 14, 90, 6, 6), kWheel);
        paint(img, ellipse(c + 9, 90, 6, 6), kWheel);
    }
}

void gangways(PixelBuffer& img, int top, int bottom, size_t skip = 99) {
    for (size_t i = 0; i + 1 < kCars.size(); ++i)
        if (i != skip) paint(img, rect(kCars[i].x1, top, kCars[i + 1].x0, bottom), kGangway);
}

// Door leaves with their windows; the lower part of each leaf is to be painted.
void doors(PixelBuffer& img, const Mask& car, int top, int windowBottom, int bottom, int from = -1000,
           int to = 1000) {
    for (const Door& d : kDoors) {
        if (d.l < from || d.r > to) continue;
        std::vector<std::pair<int, int>> leaves;
        if (d.mid)
            leaves = {{d.l, d.mid}, {d.mid, d.r}};
        else
            leaves = {{d.l, d.r}};
        for (auto [l, r] : leaves) {
            const Mask leaf = rect(l, top, r, bottom) & car;
            paint(img, leaf, kToPaint);
            window(img, rect(l, top, r, windowBottom) & car);
        }
    }
}

// The stretches of a car between its doors, as outline columns of islands one pixel away.
std::vector<std::pair<int, int>> between(const Car& car) {
    std::vector<int> cuts = {car.x0};
    for (const Door& d : kDoors)
        if (d.l > car.x0 && d.r < car.x1) cuts.push_back(d.l), cuts.push_back(d.r);
    cuts.push_back(car.x1);
    std::vector<std::pair<int, int>> out;
    for (size_t i = 0; i + 1 < cuts.size(); i += 2)
        if (cuts[i + 1] - cuts[i] > 6) out.emplace_back(cuts[i] + 2, cuts[i + 1] - 2);
    return out;
}

// Band islands between the doors: one band (rows 55..74) or two (55..63 and 65..74).
void bands(PixelBuffer& img, const Mask& car, const Car& c, int count) {
    const Mask inner = erode(car, 1);
    for (auto [l, r] : between(c)) {
        const Mask band = rect(l, 54, r, 75) & inner;
        paint(img, band, kToPaint);
        if (count == 2) hline(img, band, 64, l, r);
    }
}

void sideWindows(PixelBuffer& img, const Mask& car, int top, int bottom, int skipFrom = 0, int skipTo = -1) {
    const Mask inner = erode(car, 2);
    for (auto [l, r] : kSideWindows) {
        if (l >= skipFrom && r <= skipTo) continue;
        const Mask pane = rect(l, top, r, bottom) & inner;
        if (pane.at((l + r) / 2, (top + bottom) / 2)) window(img, pane);
    }
}

// A single-arm pantograph folded down onto the roof, from its base at (x, roofY).
void pantograph(PixelBuffer& img, int x, int roofY) {
    // Base on the roof, then a lower and an upper arm meeting at the knee (an open "<",
    // so no ground is shut in), and the collector head reaching forward along the wire.
    paint(img, rect(x - 7, roofY - 2, x + 7, roofY), kRoof);
    drawLine(img, x - 4, roofY - 3, x + 9, 1, kBlack);
    drawLine(img, x + 9, 1, x - 3, 0, kBlack);
    drawLine(img, x - 12, 0, x - 4, 0, kBlack);
}

// Roof equipment box: a closed grey hump on the roof.
void roofBox(PixelBuffer& img, int x0, int x1, int top, int roofY) {
    paint(img, rect(x0, top, x1, roofY), kRoof);
}

// ---- The pictures ----------------------------------------------------------------

enum class Bands { none, one, two };

struct CarStyle {
    bool roofStripe = false;  // a stripe of field 1 under the roof line (rows 14..18)
    Bands bands = Bands::none;
    bool subwayStripes = false;  // field 1 above row 13 and below row 78
    int radius = 3;              // roof corners
    int bodyBottom = kBodyBottom;
};

Mask carShape(const Car& c, const CarStyle& st) {
    return roundedTop(c.x0, kBodyTop, c.x1, st.bodyBottom, st.radius);
}

void standardCar(PixelBuffer& img, const Car& c, const Mask& shape, const CarStyle& st) {
    paint(img, shape, kToPaint);
    const Mask inner = erode(shape, 1);
    if (st.roofStripe) paint(img, rect(c.x0 + 3, 13, c.x1 - 3, 19) & erode(shape, 4), kToPaint);
    if (st.subwayStripes) {
        hline(img, inner, 13, c.x0, c.x1);
        hline(img, inner, 78, c.x0, c.x1);
    }
    if (st.bands != Bands::none) bands(img, shape, c, st.bands == Bands::two ? 2 : 1);
}

PixelBuffer shinkansen() {
    PixelBuffer img(W, H, kGround);
    CarStyle st;
    st.roofStripe = true;
    st.bands = Bands::two;
    st.radius = 8;
    // Two sets coupled nose to nose in the middle: rounded bullet noses.
    const Mask noseA = ellipse(440 - 65, 7, 131, 107) & rect(440, 7, 506, 60);
    const Mask noseAlow = ellipse(440 - 65, 28, 131, 65) & rect(440, 60, 506, 92);
    const Mask noseB = ellipse(572 - 65, 7, 131, 107) & rect(507, 7, 572, 60);
    const Mask noseBlow = ellipse(572 - 65, 28, 131, 65) & rect(507, 60, 572, 92);
    for (size_t i = 0; i < kCars.size(); ++i) {
        Car c = kCars[i];
        Mask shape;
        if (i == 2) {
            shape = roundedTop(c.x0, kBodyTop, 442, kBodyBottom, st.radius);
            shape |= noseA;
            shape |= noseAlow;
            c.x1 = 506;
        } else if (i == 3) {
            shape = roundedTop(570, kBodyTop, c.x1, kBodyBottom, st.radius);
            shape |= noseB;
            shape |= noseBlow;
            c.x0 = 532;
        } else {
            shape = carShape(c, st);
        }
        standardCar(img, c, shape, st);
        // Cab windows on the noses.
        if (i == 2) window(img, rect(474, 35, 494, 46));
        if (i == 3) window(img, rect(514, 37, 537, 46));
        doors(img, shape, 24, 46, 84, c.x0, c.x1);
        sideWindows(img, shape, 33, 46, 470, 540);
    }
    // Coupler between the noses, the gangways between the cars.
    paint(img, rect(504, 66, 509, 70), kUnderfloor);
    gangways(img, 20, 84, 2);
    // Under the nose cars the bogies stand back from the noses.
    for (auto [x0, x1] :
         {std::pair{kCars[0].x0, kCars[0].x1}, {kCars[1].x0, kCars[1].x1}, {397, 510}, {502, 788}})
        bogies(img, x0, x1);
    // Fairings over the pantographs, and the pantograph itself.
    roofBox(img, 262, 300, 4, kBodyTop);
    pantograph(img, 330, kBodyTop);
    roofBox(img, 640, 678, 4, kBodyTop);
    pantograph(img, 700, kBodyTop);
    return img;
}

PixelBuffer railCars(const CarStyle& st, bool pantographs, bool roofEquipment) {
    PixelBuffer img(W, H, kGround);
    for (const Car& c : kCars) {
        const Mask shape = carShape(c, st);
        standardCar(img, c, shape, st);
        doors(img, shape, 24, 46, st.subwayStripes ? 77 : 86);
        sideWindows(img, shape, 33, 46);
    }
    gangways(img, 20, 84);
    for (const Car& c : kCars) bogies(img, c.x0, c.x1);
    if (roofEquipment) {
        for (int x : {60, 250, 450, 650}) roofBox(img, x, x + 40, 3, kBodyTop);
    }
    if (pantographs)
        for (int x : {140, 340, 540, 730}) pantograph(img, x, kBodyTop);
    return img;
}

// Express cars: a ribbon of windows along each car, one broad band, doors only at the
// car ends, and the roof line in the line's dark shade.
PixelBuffer jrExpress() {
    PixelBuffer img(W, H, kGround);
    const std::uint32_t mullion = argb(176, 184, 196);
    const int doorAt[4] = {170, 370, 565, 0};
    for (size_t i = 0; i < kCars.size(); ++i) {
        const Car& c = kCars[i];
        const Mask shape = roundedTop(c.x0, kBodyTop, c.x1, kBodyBottom, 6);
        paint(img, shape, kToPaint);
        paint(img, rect(c.x0 + 3, 13, c.x1 - 3, 19) & erode(shape, 4), kToPaint);
        const int door = doorAt[i];
        const int end = door ? door - 4 : c.x1 - 6;
        const Mask ribbon = rect(c.x0 + 6, 31, end, 47) & erode(shape, 2);
        window(img, ribbon);
        for (int x = c.x0 + 40; x < end - 8; x += 38)
            for (int y = 32; y <= 46; ++y)
                if (ribbon.at(x, y) && img.at(x, y) != kBlack)
                    img.set(x, y, mullion), img.set(x + 1, y, mullion);
        paint(img, rect(c.x0 + 3, 54, door ? door - 3 : c.x1 - 3, 66) & erode(shape, 1), kToPaint);
        if (door) {
            // The door: its frame stops short of the floor line, so its lower part is body.
            for (int y = 22; y <= 88; ++y) img.set(door, y, kBlack), img.set(door + 16, y, kBlack);
            window(img, rect(door, 22, door + 16, 46));
        }
    }
    gangways(img, 20, 84);
    for (const Car& c : kCars) bogies(img, c.x0, c.x1);
    for (int x : {60, 250, 450, 650}) roofBox(img, x, x + 40, 3, kBodyTop);
    for (int x : {340, 730}) pantograph(img, x, kBodyTop);
    return img;
}

PixelBuffer commuter() {
    CarStyle st;
    st.bands = Bands::two;
    st.radius = 2;
    return railCars(st, true, false);
}

PixelBuffer subway() {
    CarStyle st;
    st.subwayStripes = true;
    st.radius = 4;
    return railCars(st, false, false);
}

PixelBuffer monorail() {
    PixelBuffer img(W, H, kGround);
    CarStyle st;
    st.bands = Bands::one;
    st.radius = 10;
    st.bodyBottom = 90;
    for (const Car& c : kCars) {
        const Mask shape = carShape(c, st);
        standardCar(img, c, shape, st);
        doors(img, shape, 24, 46, 86);
        sideWindows(img, shape, 33, 46);
    }
    gangways(img, 24, 90);
    // The concrete beam the cars sit astride, the whole width of the picture.
    paint(img, rect(-5, 90, W + 5, 97), kConcrete);
    for (int x = 40; x < W; x += 120) fillRect(img, x, 92, 1, 4, argb(150, 146, 138));
    return img;
}

// An articulated low-floor tram of five short modules: big windows above, the line's
// colour along the skirt, folding doors, small wheels, and pantographs.
PixelBuffer tram() {
    PixelBuffer img(W, H, kGround);
    const int top = 11;
    const std::vector<Car> modules = {{-10, 194}, {199, 392}, {397, 591}, {596, 689}, {694, 788}};
    // Big windows, each round one or two window lamps.
    const std::vector<std::pair<int, int>> panes = {
        {2, 50},    {56, 100},  {106, 150}, {155, 191}, {208, 250}, {255, 300}, {306, 340}, {346, 389},
        {406, 450}, {455, 500}, {506, 540}, {546, 588}, {606, 650}, {653, 687}, {706, 740}, {746, 772}};
    for (const Car& c : modules) {
        const Mask shape = roundedTop(c.x0, top, c.x1, kBodyBottom, 10);
        paint(img, shape, kToPaint);
        hline(img, erode(shape, 1), 52, c.x0, c.x1);  // upper body above, skirt colour below
        for (auto [l, r] : panes) {
            const Mask pane = rect(l, 22, r, 48) & erode(shape, 2);
            if (pane.at((l + r) / 2, 35)) window(img, pane);
        }
        // Doors: outlines in the skirt that stop short of the floor, so the skirt stays one piece.
        for (int d : {90, 290, 480, 614, 733}) {
            if (d < c.x0 + 8 || d > c.x1 - 30) continue;
            for (int y = 53; y <= 84; ++y)
                img.set(d, y, kBlack), img.set(d + 11, y, kBlack), img.set(d + 22, y, kBlack);
        }
    }
    for (size_t i = 0; i + 1 < modules.size(); ++i)
        paint(img, rect(modules[i].x1, 24, modules[i + 1].x0, 80), kGangway);
    // Low-floor trucks hidden behind the skirt: small wheels only.
    for (const Car& c : modules)
        for (int x : c.x1 - c.x0 < 150 ? std::vector<int>{c.x0 + 22, c.x1 - 42}
                                       : std::vector<int>{c.x0 + 40, c.x1 - 52}) {
            paint(img, ellipse(x, 88, 12, 10), kUnderfloor);
            paint(img, ellipse(x + 3, 91, 6, 5), kWheel);
        }
    for (int x : {296, 650}) pantograph(img, x, top);
    return img;
}

PixelBuffer cableCar() {
    PixelBuffer img(W, H, kGround);
    // The cabin is built for the slope: its ends lean and its compartments step down, and
    // it stands on a wedge-shaped frame.
    std::vector<Point> cabin = {{76, 8},   {236, 8},  {236, 12}, {396, 12}, {396, 16},
                                {556, 16}, {556, 20}, {738, 20}, {712, 80}, {46, 80}};
    const Mask shape = polygon(cabin);
    paint(img, shape, argb(250, 238, 200));  // cream upper panels, never painted
    const Mask inner = erode(shape, 1);
    for (int y : {54, 64, 72}) hline(img, inner, y, 0, W - 1);
    // The three stripes below the windows are to be painted.
    for (int y = 55; y <= 79; ++y)
        for (int x = 0; x < W; ++x)
            if (inner.at(x, y) && img.at(x, y) != kBlack) img.set(x, y, kToPaint);
    // Compartment windows, stepping with the roof, and the dividing pillars.
    const int steps[4][3] = {{80, 226, 14}, {244, 386, 18}, {404, 546, 22}, {564, 700, 26}};
    for (const auto& s : steps) {
        for (int k = 0; k < 3; ++k) {
            const int w = (s[1] - s[0]) / 3;
            const Mask pane = rect(s[0] + k * w + 3, s[2], s[0] + (k + 1) * w - 3, 46) & erode(shape, 3);
            window(img, pane);
        }
    }
    for (int x : {236, 396, 556}) drawLine(img, x, 20, x, 53, kBlack);
    // Headlamp on the leading end.
    paint(img, ellipse(708, 58, 8, 8) & erode(shape, 1), kLamp);
    // Wedge frame: deep at the low end, shallow at the high end, and the wheels.
    paint(img, polygon({{46, 80}, {712, 80}, {700, 86}, {110, 96}, {56, 96}}), kUnderfloor);
    for (int x : {70, 150, 620, 680}) {
        const int y = x < 400 ? 88 : 82;
        paint(img, ellipse(x, y, 16, 16) & rect(0, 0, W - 1, 98), kWheel);
    }
    // The haulage rope running from the upper end.
    drawLine(img, 724, 60, 777, 70, kBlack);
    return img;
}

PixelBuffer trolley() {
    PixelBuffer img(W, H, kGround);
    const std::uint32_t red = argb(176, 52, 40), cream = argb(236, 220, 176), wood = argb(168, 118, 70);
    // Three open sightseeing cars: roof on pillars, open sides with benches, closed lower body.
    const int cars[3][2] = {{14, 246}, {254, 446}, {454, 592}};
    for (const auto& c : cars) {
        paint(img, rect(c[0] - 2, 12, c[1] + 2, 20), red);  // roof
        paint(img, rect(c[0], 20, c[1], 90), cream);        // frame
        paint(img, rect(c[0], 48, c[1], 90), red);          // lower body
        fillRect(img, c[0] + 1, 60, c[1] - c[0] - 1, 3, cream);
    }
    // Openings between the pillars (lit at night), each around its lamp.
    const std::vector<std::pair<int, int>> openings = {
        {20, 44},   {50, 74},   {80, 100},  {104, 124}, {130, 150}, {154, 184},
        {190, 240}, {260, 284}, {290, 310}, {314, 334}, {340, 360}, {364, 384},
        {390, 414}, {420, 440}, {460, 524}, {527, 540}, {544, 554}, {557, 586}};
    for (auto [l, r] : openings) {
        paint(img, rect(l, 24, r, 46), argb(214, 200, 160));
        // A bench back in each opening.
        fillRect(img, l + 2, 40, r - l - 3, 5, wood);
    }
    // The locomotive pulling them: a diesel with a hood and a cab.
    const Mask loco =
        polygon({{604, 26}, {680, 26}, {680, 10}, {744, 10}, {744, 26}, {770, 34}, {770, 90}, {604, 90}});
    paint(img, loco, argb(224, 120, 40));
    window(img, rect(688, 16, 712, 34));
    window(img, rect(718, 16, 738, 34));
    paint(img, rect(605, 60, 769, 66), cream);
    paint(img, ellipse(758, 40, 10, 10), kLamp);
    // Couplers and wheels.
    for (int x : {246, 446, 592}) paint(img, rect(x, 80, x + 12, 84), kUnderfloor);
    for (int x : {30, 200, 270, 400, 470, 560, 620, 660, 700, 740})
        paint(img, ellipse(x, 86, 14, 12), kWheel);
    return img;
}

}  // namespace

PixelBuffer drawTrainPicture(int picture) {
    switch (picture) {
        case 1:
            return shinkansen();
        case 2:
            return jrExpress();
        case 3:
            return commuter();
        case 4:
            return subway();
        case 5:
            return tram();
        case 6:
            return monorail();
        case 7:
            return cableCar();
        case 8:
            return trolley();
        default:
            return {};
    }
}

}  // namespace kisharin::traingen

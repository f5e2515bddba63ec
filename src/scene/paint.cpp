#include "scene/paint.h"

#include <algorithm>
#include <cstdlib>

#include "scene/scenery_art.h"
#include "state/datetime.h"

namespace kisharin {

const std::array<std::uint32_t, 5> skyColors = {
    argb(236, 255, 255),  // day, clear
    argb(232, 232, 232),  // day, cloudy
    argb(255, 228, 202),  // evening
    argb(0, 64, 128),     // night
    argb(70, 70, 70),     // underground line
};

namespace {

// One border-mode fill from (x, y); `seen` marks what this batch of fills has reached.
void fillFrom(PixelBuffer& img, std::vector<std::uint8_t>& seen, int x, int y, std::uint32_t fill,
              std::uint32_t border) {
    if (!img.contains(x, y) || img.at(x, y) == border || seen[static_cast<size_t>(y) * img.width + x]) return;
    const int w = img.width;
    auto open = [&](int xx, int yy) {
        const size_t i = static_cast<size_t>(yy) * w + xx;
        return !seen[i] && img.px[i] != border;
    };
    // Scanline fill: take a run of the row, colour it, and queue the runs above and below.
    std::vector<std::pair<int, int>> stack{{x, y}};
    while (!stack.empty()) {
        auto [sx, sy] = stack.back();
        stack.pop_back();
        if (!open(sx, sy)) continue;
        int left = sx, right = sx;
        while (left > 0 && open(left - 1, sy)) --left;
        while (right < w - 1 && open(right + 1, sy)) ++right;
        for (int xx = left; xx <= right; ++xx) {
            const size_t i = static_cast<size_t>(sy) * w + xx;
            seen[i] = 1;
            img.px[i] = fill;
        }
        for (int ny : {sy - 1, sy + 1}) {
            if (ny < 0 || ny >= img.height) continue;
            bool inRun = false;
            for (int xx = left; xx <= right; ++xx) {
                if (open(xx, ny)) {
                    if (!inRun) stack.emplace_back(xx, ny);
                    inRun = true;
                } else {
                    inRun = false;
                }
            }
        }
    }
}

}  // namespace

void floodFillBorder(PixelBuffer& img, int x, int y, std::uint32_t fill, std::uint32_t border) {
    std::vector<std::uint8_t> seen(img.px.size(), 0);
    fillFrom(img, seen, x, y, fill, border);
}

void floodFillBorder(PixelBuffer& img, const std::vector<SeedPoint>& seeds, std::uint32_t fill,
                     std::uint32_t border) {
    // Every seed gets its own fill, one after the other. A seed inside what an earlier seed
    // of the same colour reached would fill exactly that region again, so it is skipped.
    std::vector<std::uint8_t> seen(img.px.size(), 0);
    for (const SeedPoint& q : seeds) fillFrom(img, seen, q.x, q.y, fill, border);
}

namespace {

using Seeds = std::vector<SeedPoint>;

Seeds row(int y, std::initializer_list<int> xs) {
    Seeds out;
    for (int x : xs) out.push_back({x, y});
    return out;
}
Seeds concat(Seeds a, const Seeds& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
// Every combination of the x and the y, x in the outer loop.
Seeds grid(std::initializer_list<int> ys) {
    Seeds out;
    for (int x : {6, 35, 204, 402, 601, 748})
        for (int y : ys) out.push_back({x, y});
    return out;
}

const std::initializer_list<int> kRowB = {5,   30,  35,  80,  150, 210, 280, 350,
                                          410, 480, 550, 610, 680, 740, 748, 771};

const Seeds& seedsA() {
    static const Seeds s = row(15, {10, 35, 210, 410, 610, 750});
    return s;
}
const Seeds& seedsB() {
    static const Seeds s = row(60, kRowB);
    return s;
}
const Seeds& seedsC() {
    static const Seeds s = row(70, kRowB);
    return s;
}
const Seeds& seedsD() {
    static const Seeds s =
        row(70, {15, 45, 65, 120, 135, 245, 260, 315, 330, 440, 460, 515, 530, 640, 655, 715, 730, 760});
    return s;
}
const Seeds& seedsE() {
    static const Seeds s =
        row(70, {80, 164, 175, 204, 217, 290, 361, 373, 403, 413, 485, 559, 571, 600, 615, 675});
    return s;
}
Seeds seedsF(int y) {
    return row(y, {60, 160, 220, 300, 360, 415, 500, 560, 615, 700});
}

const std::vector<SchemeFill>& noFills() {
    static const std::vector<SchemeFill> none;
    return none;
}

std::string lineLabel(const GameState& s, int line) {
    return "駅.txt の路線「" + s.ekiName(line, 0) + "」の列車の指定";
}

bool contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

// Steps shared by the ride and the celebration: the picture of field 0, coloured by its
// scheme. False (with the reason) when the painting has to stop; `train` keeps what was painted.
bool colourTrain(const GameState& s, int line, const std::vector<std::string>& fields, PixelBuffer& train,
                 std::string& stoppedBecause) {
    const std::string picture = fields.empty() ? std::string() : fields[0];
    if (picture.empty() || picture.find('/') != std::string::npos ||
        picture.find('\0') != std::string::npos || picture == "." || picture == "..") {
        stoppedBecause = lineLabel(s, line) + "に絵の番号がありません。";
        return false;
    }
    std::string error;
    auto img =
        readBmp(s.appDir + "Train/" + picture + ".bmp", error, kLargestTrainWidth, kLargestTrainHeight);
    if (!img) {
        stoppedBecause = error;
        return false;
    }
    train = std::move(*img);
    for (const SchemeFill& f : trainScheme(picture)) {
        if (static_cast<int>(fields.size()) <= f.field) {
            stoppedBecause = lineLabel(s, line) + "に色" + std::to_string(f.field) + "がありません。";
            return false;
        }
        const auto colour = parseDescriptorColour(fields[f.field]);
        if (!colour) {
            stoppedBecause =
                lineLabel(s, line) + "の色「" + fields[f.field] + "」が三つの数（0～255）ではありません。";
            return false;
        }
        floodFillBorder(train, f.seeds, *colour);
    }
    return true;
}

int currentLine(const GameState& s) {
    return s.playerRosen[s.curPlayer];
}

}  // namespace

const std::vector<SchemeFill>& trainScheme(const std::string& picture) {
    static const std::vector<SchemeFill> p1 = {
        {1, seedsA()}, {2, seedsB()}, {3, seedsC()}, {4, grid({10, 30, 83})}, {4, seedsD()}};
    static const std::vector<SchemeFill> p2 = {
        {1, seedsA()}, {2, seedsB()}, {4, grid({10, 30, 83})}, {4, seedsD()}};
    static const std::vector<SchemeFill> p3 = {
        {2, seedsB()}, {3, seedsC()}, {4, grid({10, 30, 83})}, {4, seedsD()}};
    static const std::vector<SchemeFill> p6 = {{2, seedsB()}, {4, grid({10, 30, 83})}, {4, seedsD()}};
    static const std::vector<SchemeFill> p4 = {{1, grid({10, 83})}, {4, grid({30})}, {4, seedsD()}};
    static const std::vector<SchemeFill> p5 = {{4, seedsA()}, {2, seedsD()}};
    static const std::vector<SchemeFill> p7 = {{1, seedsE()}, {2, seedsF(60)}, {3, seedsF(75)}};
    if (picture == "1") return p1;
    if (picture == "2") return p2;
    if (picture == "3") return p3;
    if (picture == "4") return p4;
    if (picture == "5") return p5;
    if (picture == "6") return p6;
    if (picture == "7") return p7;
    return noFills();
}

std::vector<SeedPoint> skySeeds(const std::string& picture) {
    if (picture == "8")
        return concat(row(2, {10, 50, 175, 230, 290, 410, 470, 600, 650, 700, 770}),
                      row(100, {10, 50, 230, 280, 470, 520, 560, 610, 660, 720, 770}));
    return concat(row(2, {5, 190, 390, 590, 775}), row(100, {5, 100, 190, 295, 390, 490, 590, 690, 775}));
}

std::vector<SeedPoint> windowSeeds(const std::string& picture) {
    if (picture == "8")
        return row(33,
                   {30, 60, 90, 110, 140, 160, 200, 270, 300, 320, 350, 370, 400, 430, 520, 530, 550, 560});
    return row(40, {17,  45,  62,  95,  120, 135, 160, 220, 245, 260, 290, 315, 335, 360,
                    415, 440, 460, 490, 515, 530, 555, 615, 640, 655, 685, 715, 730, 760});
}

std::vector<SeedPoint> nightGreySeedsDark() {
    return grid({10, 30, 83});
}
std::vector<SeedPoint> nightGreySeedsLight() {
    return seedsD();
}

std::vector<std::string> splitDescriptor(const std::string& text) {
    std::vector<std::string> out;
    size_t from = 0;
    while (true) {
        const size_t at = text.find('\\', from);
        out.push_back(text.substr(from, at == std::string::npos ? std::string::npos : at - from));
        if (at == std::string::npos) break;
        from = at + 1;
    }
    return out;
}

std::optional<std::uint32_t> parseDescriptorColour(const std::string& text) {
    int parts[3];
    int n = 0;
    size_t i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    };
    while (true) {
        if (n == 3) return std::nullopt;
        skipBlanks();
        if (i < text.size() && text[i] == '+') ++i;
        const size_t digitsFrom = i;
        long value = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            value = std::min(value * 10 + (text[i] - '0'), 1000L);  // anything above 255 is 255
            ++i;
        }
        if (i == digitsFrom) return std::nullopt;
        parts[n++] = static_cast<int>(std::min(value, 255L));
        skipBlanks();
        if (i == text.size()) break;
        if (text[i] != ';') return std::nullopt;
        ++i;
    }
    if (n != 3) return std::nullopt;
    return argb(parts[0], parts[1], parts[2]);
}

int skyIndexAt(double gameClock, long playSeconds, Rng& rng, Clock& clock) {
    const int h = fromSerial(gameClock + playSeconds / 1440.0).hour;
    if (h < 6) return 3;
    if (h < 16) {
        rng.reseed(clock.timer());
        return rng.oneIn(10) ? 1 : 0;
    }
    if (h < 19) return 2;
    return 3;
}

ScenePaint 塗りつぶし(const GameState& s, Rng& rng, Clock& clock) {
    ScenePaint p;
    const int line = currentLine(s);
    std::vector<std::string> fields;
    if (contains(s.ekiName(line, 0), "飛行機")) {
        p.isFlight = true;
    } else {
        fields = splitDescriptor(s.ekiPref(line, 0));
        if (!colourTrain(s, line, fields, p.train, p.stoppedBecause)) return p;
        if (fields.size() < 6) {
            p.stoppedBecause = lineLabel(s, line) + "の項目が足りません（6つ必要です）。";
            return p;
        }
        p.isUnderground = fields[5] == "2";
    }
    p.skyIndex = p.isUnderground ? 4 : skyIndexAt(s.gameClock, s.playSeconds, rng, clock);
    const std::uint32_t sky = skyColors[static_cast<size_t>(p.skyIndex)];
    p.background = sky;

    if (p.isFlight) {
        // The drawings never change: drawn once, copied for each flight.
        static const PixelBuffer aeroplane = aeroplanePicture(), cloud = cloudPicture();
        p.plane = aeroplane;
        floodFillBorder(p.plane, 0, 0, sky);
        for (auto& c : p.clouds) {
            c = cloud;
            floodFillBorder(c, 0, 0, sky);
        }
        p.whiteHeaders = p.skyIndex == 3;
        return p;
    }

    const std::string& picture = fields[0];
    floodFillBorder(p.train, skySeeds(picture), sky);
    if (p.skyIndex == 3 || p.skyIndex == 4) {
        p.whiteHeaders = true;
        if (picture != "7") floodFillBorder(p.train, windowSeeds(picture), kWhite);
        if (fields[5] == "1") {
            floodFillBorder(p.train, nightGreySeedsDark(), argb(90, 90, 90));
            floodFillBorder(p.train, nightGreySeedsLight(), argb(120, 120, 120));
        }
    }
    return p;
}

PixelBuffer 制覇塗りつぶし(const GameState& s, std::string* stoppedBecause) {
    const int line = currentLine(s);
    PixelBuffer train;
    std::string why;
    colourTrain(s, line, splitDescriptor(s.ekiPref(line, 0)), train, why);
    if (stoppedBecause) *stoppedBecause = why;
    return train;
}

}  // namespace kisharin

#include "scene/ride.h"

#include <cstdlib>
#include <exception>

#include "platform/encoding.h"
#include "state/saturate.h"

namespace kisharin {

namespace {

// A table entry of line L, or empty text for a position the tables do not hold.
const std::string& cell(const RailTable<std::string>& t, int line, int pos) {
    static const std::string empty;
    if (line < 0 || line > kMaxLine || pos < 0 || pos > kMaxPosition) return empty;
    return t(line, pos);
}

bool contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

int draw(Rng& rng, double range) {
    return static_cast<int>(rng.next() * range);
}

}  // namespace

ScenePiece pieceAt(PieceKind kind, int left) {
    switch (kind) {
        case PieceKind::River:
            return {kind, left, 192, 212, 257};
        case PieceKind::Road:
            return {kind, left, 192, 212, 257};
        case PieceKind::Crossing:
            return {kind, left, 232, 73, 158};
        case PieceKind::BufferStop:
            return {kind, left, 339, 33, 50};
        case PieceKind::RedSignal:
            return {kind, left, 226, 26, 170};
        case PieceKind::Pole:
            return {kind, left, 232, 39, 156};
        case PieceKind::Tree:
            return {kind, left, 216, 57, 178};
        case PieceKind::Tunnel:
            return {kind, left, 248, 126, 167};
        case PieceKind::Signal:
            return {kind, left, 226, 26, 170};
        case PieceKind::Pier:
            return {kind, left, 392, 41, 57};
    }
    return {kind, left, 0, 0, 0};
}

int RideLayout::count(PieceKind kind) const {
    int n = 0;
    for (const ScenePiece& p : ground) n += p.kind == kind;
    for (const ScenePiece& p : front) n += p.kind == kind;
    return n;
}

std::string toHiragana(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        char32_t c = nextUtf8(text, i);
        // ァ..ヶ sit 0x60 above ぁ..ゖ; the iteration marks ヽヾ likewise above ゝゞ.
        if ((c >= U'ァ' && c <= U'ヶ') || c == U'ヽ' || c == U'ヾ') c -= 0x60;
        appendUtf8(out, c);
    }
    return out;
}

RideLayout layoutRide(const GameState& s, Rng& rng, Clock& clock, bool isFlight, bool isUnderground) {
    using namespace ride;
    RideLayout r;
    const int p = s.curPlayer;
    const int L = s.playerRosen[p];
    const int S = s.startEki[p];
    const int E = s.playerEki[p];
    r.line = L;
    r.start = S;
    r.end = E;
    r.isFlight = isFlight;
    r.isUnderground = isUnderground;
    r.points = s.playerPoint[p];
    r.lineName = cell(s.ekiName, L, 0);

    r.ekiCount = std::abs(E - S) + 1;
    r.stopMargin = kStripDesignWidth / 2 + kBoardWidth / 2 + kBoardGap;
    const int D = S <= E ? 1 : -1;
    // The first board stands in the middle of the ride window.
    r.stripLeft = kClientWidth / 2 - kBoardWidth / 2;

    int W = 0;
    for (int m = 1; m <= r.ekiCount; ++m) {
        const int P = S + (m - 1) * D;
        RideBoard b;
        b.position = P;
        b.left = kBoardStep * (m - 1);
        b.name = cell(s.ekiName, L, P);
        if (charCount(b.name) > 5) b.namePt = kLongNamePt;
        b.reading = toHiragana(cell(s.ekiYomi, L, P));
        b.pref = "(" + cell(s.ekiPref, L, P) + ")";
        // Position 0 is the line itself, never a neighbour.
        if (P - D != 0) b.back = cell(s.ekiName, L, P - D);
        if (P + D != 0) b.next = cell(s.ekiName, L, P + D);
        if (charCount(b.back) > 12) b.backPt = kLongNeighbourPt;
        if (charCount(b.next) > 12) b.nextPt = kLongNeighbourPt;
        r.boards.push_back(std::move(b));
        W += kBoardStep;
    }
    r.stripWidth = W;

    if (r.boards.back().next.empty() && !isFlight)
        r.ground.push_back(pieceAt(PieceKind::BufferStop, W - 100));
    if (s.rideCut) r.ground.push_back(pieceAt(PieceKind::RedSignal, W - 80));

    if (!isFlight) {
        // The template pole stands at the start of every train ride.
        r.ground.push_back(pieceAt(PieceKind::Pole, 8));
        rng.reseed(clock.timer());
        std::vector<ScenePiece> piers;
        if (!isUnderground) {
            const int H = std::abs(E - S);
            const bool riverDraw = draw(rng, 2) == 0;
            if (H > 6 && riverDraw) r.ground.push_back(pieceAt(PieceKind::River, W / 3));

            const int groups = draw(rng, H / 4);
            for (int g = 0; g < groups; ++g) {
                const int trees = draw(rng, 4) + 3;
                int x = draw(rng, W);
                for (int t = 0; t < trees; ++t) {
                    r.front.push_back(pieceAt(PieceKind::Tree, x));
                    x += 57;
                }
            }

            const bool tunnelDraw = draw(rng, 2) == 0;
            if (H > 12 && tunnelDraw) {
                const int segments = draw(rng, 6) + 10;
                for (int k = 1; k <= segments; ++k)
                    r.front.push_back(pieceAt(PieceKind::Tunnel, W / 2 + k * 126));
            }

            const int poleWidth = pieceAt(PieceKind::Pole, 0).width;
            int k = 1;
            for (int x = 0; x <= W - poleWidth - 400; x += 400, ++k)
                r.front.push_back(pieceAt(PieceKind::Pole, 400 * k));

            if (contains(r.lineName, "新幹線")) {
                k = 1;
                for (int x = 0; x <= W - poleWidth; x += 400, ++k)
                    piers.push_back(pieceAt(PieceKind::Pier, 400 * (k - 1) + 200));
            } else if (W > 1200 && draw(rng, 2) == 0) {
                const int at = 200 + draw(rng, W - 800);
                // The road goes under the crossing: both lie under the boards.
                r.ground.push_back(pieceAt(PieceKind::Road, at + 15));
                r.ground.push_back(pieceAt(PieceKind::Crossing, at));
            }
        }
        int placed = 0;
        for (int x = 0; x <= W - 26; x += 1600)
            if (draw(rng, 2) == 0) {
                ++placed;
                r.front.push_back(pieceAt(PieceKind::Signal, 1600 * placed + 200));
            }
        // The viaduct's piers cover everything else in the strip, signals too.
        r.front.insert(r.front.end(), piers.begin(), piers.end());
    }

    r.maxSpeed = r.ekiCount > 15 ? 53 : 25;
    r.kindCaption = s.rideInfo.caption;
    r.kindColor = s.rideInfo.color;
    r.tickMs = s.rideInfo.value > 0 ? s.rideInfo.value : 100;
    return r;
}

RideScene rideSetUp(const GameState& s, Rng& rng, Clock& clock) {
    RideScene scene;
    try {
        scene.paint = 塗りつぶし(s, rng, clock);
    } catch (const std::exception& e) {
        // The scene is shown with whatever was painted.
        scene.paint.stoppedBecause = e.what();
    }
    scene.layout = layoutRide(s, rng, clock, scene.paint.isFlight, scene.paint.isUnderground);
    return scene;
}

bool RideMotion::tick() {
    if (arrived_) return false;
    ++ticks_;
    const int R = left_ + width_;
    if (R < 20 * speed_ + stopMargin_) {
        if (speed_ - 1 >= 10)
            --speed_;
        else if (speed_ < 10)
            speed_ = 10;
    } else if (speed_ < maxSpeed_) {
        ++speed_;
    }
    left_ -= speed_;
    if (left_ + width_ < stopMargin_) arrived_ = true;
    return arrived_;
}

void rideScoreTick(GameState& s) {
    addPoints(s.playerPoint[s.curPlayer], ride::kScorePerTick);
}

}  // namespace kisharin

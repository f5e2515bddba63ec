// Painting the ride scene: the sky by the in-game hour, the line's train coloured with
// the line's own colours by border flood fills at fixed seed points, lit windows and
// white header texts at night and underground, and the sky around the aeroplane and the
// clouds on a flight. The celebration colours the train the same way and does nothing else.
//
// The train descriptor is ekiPref(L, 0): "picture\roof\band\second band\body\flag", each
// colour "r;g;b". A fault in it (or a missing picture) ends the painting where it is: what
// was painted stays, `stoppedBecause` says why, and the ride goes on.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "scene/pixels.h"
#include "state/clock.h"
#include "state/game_state.h"
#include "state/rng.h"

namespace kisharin {

// The size of every train picture (Train/1.bmp … 8.bmp).
constexpr int kTrainWidth = 778;
constexpr int kTrainHeight = 101;
// A picture put in their place may differ, but not be larger than the ride window
// (994 x 519): more than that no ride can show, and it would only cost time and memory.
constexpr int kLargestTrainWidth = 994;
constexpr int kLargestTrainHeight = 519;

// Sky colours: 0 clear day, 1 cloudy day, 2 evening, 3 night, 4 underground line.
extern const std::array<std::uint32_t, 5> skyColors;

struct ScenePaint {
    bool isFlight = false, isUnderground = false;
    int skyIndex = -1;                      // -1: stopped before a sky colour was chosen (white stays)
    std::uint32_t background = 0xFFFFFFFF;  // window and strip background
    bool whiteHeaders = false;              // line name, ポイント：, score white; kind label opaque
    PixelBuffer train;                      // the coloured train (empty for flights / unreadable file)
    PixelBuffer plane;                      // flights only, sky-filled around the aeroplane
    std::array<PixelBuffer, 2> clouds;      // flights only, sky-filled around the cloud
    std::string stoppedBecause;             // empty when the painting ran to its end
};

// The ride of the current player's line (playerRosen(curPlayer)). Reads the picture from
// s.appDir + "Train/" + field 0 + ".bmp". On a daytime ride the generator is re-seeded
// from clock.timer() and draws once (one ride in ten is cloudy); nothing else draws.
ScenePaint 塗りつぶし(const GameState& s, Rng& rng, Clock& clock);

// The celebration's train: the picture of the current player's line coloured by its
// scheme, nothing else (no sky, no night, no flight test). Empty when the picture cannot
// be read; `stoppedBecause` (if given) says why the painting stopped, empty otherwise.
PixelBuffer 制覇塗りつぶし(const GameState& s, std::string* stoppedBecause);

// Border-mode flood fill: from (x, y) every pixel reachable through side neighbours
// without crossing a pixel of colour `border` becomes `fill`. A seed on the border colour
// or outside the picture fills nothing.
void floodFillBorder(PixelBuffer& img, int x, int y, std::uint32_t fill, std::uint32_t border = kBlack);

struct SeedPoint {
    int x = 0, y = 0;
    friend bool operator==(const SeedPoint&, const SeedPoint&) = default;
};
// The same fill from each seed in turn (the same result as one call per seed).
void floodFillBorder(PixelBuffer& img, const std::vector<SeedPoint>& seeds, std::uint32_t fill,
                     std::uint32_t border = kBlack);

// ---- The seed points, for the picture generator and the tests -------------------------

// One fill of a colouring scheme: the colour of descriptor field `field` at `seeds`.
struct SchemeFill {
    int field = 0;
    std::vector<SeedPoint> seeds;
};
// The fills that colour picture `picture` ("1" … "7"), in order; empty for "8" and anything else.
const std::vector<SchemeFill>& trainScheme(const std::string& picture);
// The sky seeds, top row then bottom row (picture "8" has rows of its own).
std::vector<SeedPoint> skySeeds(const std::string& picture);
// The lit-window seeds (picture "8" has a row of its own).
std::vector<SeedPoint> windowSeeds(const std::string& picture);
// The grey body at night ("1" flag): (90, 90, 90) at the first list, (120, 120, 120) at the second.
std::vector<SeedPoint> nightGreySeedsDark();
std::vector<SeedPoint> nightGreySeedsLight();

// A descriptor colour "r;g;b": three decimal numbers; above 255 counts as 255. nullopt for
// anything else (missing, negative or non-numeric parts).
std::optional<std::uint32_t> parseDescriptorColour(const std::string& text);
// The descriptor split at "\".
std::vector<std::string> splitDescriptor(const std::string& text);
// The sky for a ride at this in-game time; only a daytime ride re-seeds and draws.
int skyIndexAt(double gameClock, long playSeconds, Rng& rng, Clock& clock);

}  // namespace kisharin

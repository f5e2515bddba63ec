#include "scene/seiha.h"

#include <exception>

#include "scene/paint.h"

namespace kisharin {

bool SeihaModel::tick() {
    if (closed) return false;
    ++ticks;
    trainLeft += seiha::kStep;
    if (trainLeft > seiha::kClientWidth + 400) closed = true;
    return closed;
}

SeihaModel seihaSetUp(const GameState& s, int line, Rng& rng, Clock& clock) {
    SeihaModel m;
    m.line = line;
    rng.reseed(clock.timer());
    const int r = static_cast<int>(rng.next() * 256);
    const int g = static_cast<int>(rng.next() * 256);
    const int b = static_cast<int>(rng.next() * 256);
    m.titleColor = rgb(r, g, b);
    const std::string name = line >= 0 && line <= kMaxLine ? s.ekiName(line, 0) : std::string();
    m.caption = name + seiha::kCaptionTail;
    return m;
}

PixelBuffer seihaTrain(const GameState& s, int line) {
    try {
        if (s.playerRosen[s.curPlayer] == line) return 制覇塗りつぶし(s, nullptr);
        // The painting reads the current player's line; here another one is named.
        GameState view;
        static_cast<RailwayData&>(view) = static_cast<const RailwayData&>(s);
        view.appDir = s.appDir;
        view.curPlayer = s.curPlayer;
        view.playerRosen[s.curPlayer] = static_cast<Integer>(line);
        return 制覇塗りつぶし(view, nullptr);
    } catch (const std::exception&) {
        return {};
    }
}

}  // namespace kisharin

#include "turns/strip_keys.h"

#include <algorithm>
#include <utility>

#include "board/startup.h"
#include "state/game_state.h"

namespace kisharin {

namespace {

constexpr int kFrameMargin = 6;  // room for the focus frame around a target

std::pair<int, int> readingKey(const PixelRect& r) {
    return {r.top, r.left};
}

}  // namespace

Command clickCommand(const Game& g, StripTarget t) {
    const int p = g.s.curPlayer;
    if (t.transfer >= 1 && t.transfer <= static_cast<int>(g.line.transfers.size())) {
        const TransferView& v = g.line.transfers[static_cast<size_t>(t.transfer - 1)];
        return Command::changeLine(p, {g.line.line, v.station}, {v.line, v.pos});
    }
    return Command::ride(p, {g.line.line, t.station});
}

std::vector<StripTarget> pickableTargets(const Game& g) {
    if (!g.seat(g.s.curPlayer).atBoard()) return {};
    return pickableTargetsFor(g, g.s.curPlayer);
}

std::vector<StripTarget> pickableTargetsFor(const Game& g, int player) {
    std::vector<StripTarget> out;
    if (player != g.s.curPlayer || !g.line.visible) return out;
    for (int i = 1; i <= g.line.stationCount(); ++i)
        if (refusal(g, clickCommand(g, {.station = i})).empty()) out.push_back({.station = i});
    for (int k = 1; k <= static_cast<int>(g.line.transfers.size()); ++k)
        if (refusal(g, clickCommand(g, {.transfer = k})).empty()) out.push_back({.transfer = k});
    std::stable_sort(out.begin(), out.end(), [&](StripTarget a, StripTarget b) {
        return readingKey(targetRect(g.line, a)) < readingKey(targetRect(g.line, b));
    });
    return out;
}

PixelRect targetRect(const LineDisplayModel& m, StripTarget t) {
    if (t.transfer >= 1 && t.transfer <= static_cast<int>(m.transfers.size()))
        return m.transfers[static_cast<size_t>(t.transfer - 1)].rect;
    if (t.transfer == 0 && t.station >= 1 && t.station <= m.stationCount()) return m.station(t.station).box;
    return {};
}

StripTarget stepTarget(const LineDisplayModel& m, const std::vector<StripTarget>& targets, StripTarget from,
                       int step, int own) {
    if (targets.empty()) return {};
    const auto at = std::find(targets.begin(), targets.end(), from);
    if (from && at != targets.end()) {
        const auto i = at - targets.begin() + (step > 0 ? 1 : -1);
        return i < 0 || i >= static_cast<long>(targets.size()) ? from : targets[static_cast<size_t>(i)];
    }
    const auto ownKey = readingKey(targetRect(m, {.station = own}));
    if (step > 0) {
        for (StripTarget t : targets)
            if (readingKey(targetRect(m, t)) >= ownKey) return t;
        return targets.back();
    }
    for (auto t = targets.rbegin(); t != targets.rend(); ++t)
        if (readingKey(targetRect(m, *t)) <= ownKey) return *t;
    return targets.front();
}

int scrollToShow(const LineDisplayModel& m, StripTarget t) {
    const PixelRect r = targetRect(m, t);
    int v = m.scrollValue;
    if (r.top + r.height + kFrameMargin > v + kViewportHeight)
        v = r.top + r.height + kFrameMargin - kViewportHeight;
    if (r.top - kFrameMargin < v) v = r.top - kFrameMargin;
    return std::clamp(v, m.scrollMin, scrollTop(m));
}

}  // namespace kisharin

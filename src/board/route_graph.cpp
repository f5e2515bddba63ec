#include "board/route_graph.h"

#include <atomic>

#include "state/railway.h"

namespace kisharin {

namespace {
std::atomic<std::uint64_t> graphsBuilt{0};
}

RouteGraph::RouteGraph(const RailwayData& d) : lines_(lineCount(d)), serial_(++graphsBuilt) {
    lineFirst_.assign(static_cast<size_t>(lines_) + 2, 0);
    for (int l = 1; l <= lines_; ++l)
        lineFirst_[static_cast<size_t>(l) + 1] = lineFirst_[static_cast<size_t>(l)] + stationCount(d, l);
    at_.resize(static_cast<size_t>(size()));
    linkBegin_.assign(static_cast<size_t>(size()) + 1, 0);

    for (int l = 1; l <= lines_; ++l) {
        const int n = stations(l);
        std::int16_t below = 0;
        for (int p = 1; p <= n; ++p) {
            Place& place = at_[static_cast<size_t>(node(l, p))];
            place.line = static_cast<std::int16_t>(l);
            place.pos = static_cast<std::int16_t>(p);
            place.below = below;
            if (!d.ekiLink(l, p).empty()) below = static_cast<std::int16_t>(p);
        }
        std::int16_t above = 0;
        for (int p = n; p >= 1; --p) {
            at_[static_cast<size_t>(node(l, p))].above = above;
            if (!d.ekiLink(l, p).empty()) above = static_cast<std::int16_t>(p);
        }
    }
    // Stations are numbered in table order, so every station's targets are one run.
    for (int l = 1; l <= lines_; ++l)
        for (int p = 1; p <= stations(l); ++p) {
            linkBegin_[static_cast<size_t>(node(l, p))] = static_cast<std::uint32_t>(targets_.size());
            for (const Link& k : parseLinks(d.ekiLink(l, p)))
                if (isStation(k.line, k.pos)) targets_.push_back(node(k.line, k.pos));
        }
    linkBegin_[static_cast<size_t>(size())] = static_cast<std::uint32_t>(targets_.size());

    // The same links the other way round, grouped by target.
    sourceBegin_.assign(static_cast<size_t>(size()) + 1, 0);
    for (const std::int32_t t : targets_) ++sourceBegin_[static_cast<size_t>(t) + 1];
    for (size_t i = 1; i < sourceBegin_.size(); ++i) sourceBegin_[i] += sourceBegin_[i - 1];
    sources_.resize(targets_.size());
    std::vector<std::uint32_t> fill(sourceBegin_.begin(), sourceBegin_.end() - 1);
    for (int n = 0; n < size(); ++n)
        for (const std::int32_t t : linksOf(n)) sources_[fill[static_cast<size_t>(t)]++] = n;
}

std::shared_ptr<const RouteGraph> buildRouteGraph(const RailwayData& d) {
    return std::make_shared<const RouteGraph>(d);
}

}  // namespace kisharin

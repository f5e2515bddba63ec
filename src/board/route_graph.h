// The railway as the route search walks it, built once when the railway is read instead
// of being re-read from the link texts at every search.
//
// Every station of the network gets a number 0..size()-1, line by line in order of
// position. For every station the graph keeps the nearest station on either side along
// its line that has transfer links, and the stations its links lead to that lie in the
// network, in the order of its link text. Destinations move from game to game, so they
// are not part of the graph: the search adds them as it walks.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "state/game_state.h"

namespace kisharin {

class RouteGraph {
  public:
    explicit RouteGraph(const RailwayData& d);

    int lines() const { return lines_; }
    int stations(int line) const {
        return lineFirst_[static_cast<size_t>(line) + 1] - lineFirst_[static_cast<size_t>(line)];
    }
    int size() const { return lineFirst_.back(); }

    bool isStation(int line, int pos) const {
        return line >= 1 && line <= lines_ && pos >= 1 && pos <= stations(line);
    }
    // The number of station (line, pos), which must be a station of the network.
    int node(int line, int pos) const { return lineFirst_[static_cast<size_t>(line)] + pos - 1; }
    int lineOf(int node) const { return at_[static_cast<size_t>(node)].line; }
    int posOf(int node) const { return at_[static_cast<size_t>(node)].pos; }

    // Nearest position below / above the station on its line whose link text is not
    // empty, 0 when there is none. A link text counts even when none of its links leads
    // into the network.
    int linkBelow(int node) const { return at_[static_cast<size_t>(node)].below; }
    int linkAbove(int node) const { return at_[static_cast<size_t>(node)].above; }

    // The stations the links of a station lead to, in the order of its link text.
    std::span<const std::int32_t> linksOf(int node) const {
        const auto n = static_cast<size_t>(node);
        return {targets_.data() + linkBegin_[n], targets_.data() + linkBegin_[n + 1]};
    }
    // The stations whose links lead to a station.
    std::span<const std::int32_t> linkedFrom(int node) const {
        const auto n = static_cast<size_t>(node);
        return {sources_.data() + sourceBegin_[n], sources_.data() + sourceBegin_[n + 1]};
    }

    // Tells graphs apart over the life of the program (an address may be reused).
    std::uint64_t serial() const { return serial_; }

  private:
    struct Place {
        std::int16_t line, pos, below, above;
    };
    int lines_ = 0;
    std::vector<std::int32_t> lineFirst_;  // first number of each line 0..N, then the total
    std::vector<Place> at_;
    std::vector<std::uint32_t> linkBegin_;
    std::vector<std::int32_t> targets_;
    std::vector<std::uint32_t> sourceBegin_;
    std::vector<std::int32_t> sources_;
    std::uint64_t serial_;
};

// Reads the graph out of the railway tables. Cost: one pass over the tables.
std::shared_ptr<const RouteGraph> buildRouteGraph(const RailwayData& d);

}  // namespace kisharin

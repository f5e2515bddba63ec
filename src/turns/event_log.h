// A listener for the rare happenings of a turn: every special event (disaster, warp,
// guardian god, gathering, earthquake) and every race bet. The rules report each one
// here when a log is attached to the game; the simulator writes them into its game log.
#pragma once

#include <string>
#include <vector>

#include "state/types.h"

namespace kisharin {

// Where one player stands after an event moved them.
struct EventMove {
    int player = 0;
    int line = 0;
    int pos = 0;
};

// A destination the earthquake moved, with its new station.
struct EventDestination {
    int number = 0;  // 1..8
    int line = 0;
    int pos = 0;
};

struct SpecialEventRecord {
    int player = 0;                // whose turn it was
    std::string kind;              // "災害", "ワープ", "氏神", "全員集合" or "地震"
    int detail = 0;                // 災害: 1 tornado, 2 fire, 3 tsunami; ワープ: the region 1..8; else 0
    std::string pref;              // 氏神: the prefecture chosen ("" when the player stayed)
    std::vector<EventMove> moves;  // players moved, with where they stand now
    std::vector<EventDestination> newDestinations;  // 地震: the destinations drawn anew
};

struct BetRecord {
    int player = 0;
    Long stake = 0;          // yen paid (0 when cancelled)
    int lane = 0;            // 1..5, the lane option selected when the winner crossed
    int winner = 0;          // 1..5, the lane that came in first
    Long points = 0;         // points won, or -50 for a loss, 0 when cancelled
    bool cancelled = false;  // "勝負しない"
};

class EventLog {
  public:
    virtual ~EventLog() = default;
    virtual void special(const SpecialEventRecord& record) = 0;
    virtual void bet(const BetRecord& record) = 0;
};

}  // namespace kisharin

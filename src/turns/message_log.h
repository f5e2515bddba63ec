// The game's message log: every message the game announced, with the turn and the player
// it came in, and the notes only the log says (where a warp or the god put a player, what
// a bet cost). The board's 「メッセージ記録」 window lists it newest first. It keeps the
// last kKept entries.
#pragma once

#include <array>
#include <cstddef>
#include <deque>
#include <string>

namespace kisharin {

struct LoggedMessage {
    int turn = 0;    // 1 for the first turn played in this sitting
    int player = 0;  // whose turn it was
    std::string text;
};

class MessageLog {
  public:
    static constexpr std::size_t kKept = 1000;
    void add(int turn, int player, const std::string& text);
    // Oldest first.
    const std::deque<LoggedMessage>& entries() const { return entries_; }
    // How many were ever added (a window redraws when it grows).
    long added() const { return added_; }

  private:
    std::deque<LoggedMessage> entries_;
    long added_ = 0;
};

// One entry as the log window lists it: 「12手目　たろうさん　地震だーー！！…」 (the
// message's leading spaces left out).
std::string loggedLine(const LoggedMessage& m, const std::array<std::string, 2>& names);

}  // namespace kisharin

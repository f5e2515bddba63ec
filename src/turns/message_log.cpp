#include "turns/message_log.h"

#include <string_view>

namespace kisharin {

void MessageLog::add(int turn, int player, const std::string& text) {
    if (entries_.size() == kKept) entries_.pop_front();
    entries_.push_back({turn, player, text});
    ++added_;
}

std::string loggedLine(const LoggedMessage& m, const std::array<std::string, 2>& names) {
    std::string_view text = m.text;
    constexpr std::string_view kWideSpace = "　";
    while (text.starts_with(kWideSpace) || text.starts_with(' '))
        text.remove_prefix(text.starts_with(' ') ? 1 : kWideSpace.size());
    const std::string& who = m.player == 0 || m.player == 1 ? names[static_cast<std::size_t>(m.player)] : "";
    return std::to_string(m.turn) + "手目　" + who + "　" + std::string(text);
}

}  // namespace kisharin

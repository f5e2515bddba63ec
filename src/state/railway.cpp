#include "state/railway.h"

#include <charconv>

namespace kisharin {

int lineCount(const RailwayData& d) {
    for (int j = 1; j <= kMaxLine; ++j)
        if (d.ekiName(j, 0).empty()) return j - 1;
    return kMaxLine;
}

int stationCount(const RailwayData& d, int line) {
    for (int i = 1; i <= kMaxPosition; ++i)
        if (d.ekiName(line, i).empty()) return i - 1;
    return kMaxPosition;
}

bool parseDecimal(std::string_view s, int& out) {
    if (s.empty()) return false;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && p == s.data() + s.size();
}

std::vector<Link> parseLinks(const std::string& text) {
    std::vector<Link> out;
    std::string_view rest = text;
    while (!rest.empty()) {
        const size_t semi = rest.find(';');
        std::string_view entry = rest.substr(0, semi);
        rest = semi == std::string_view::npos ? std::string_view() : rest.substr(semi + 1);
        const size_t bs = entry.find('\\');
        Link l;
        if (bs != std::string_view::npos && parseDecimal(entry.substr(0, bs), l.line) &&
            parseDecimal(entry.substr(bs + 1), l.pos))
            out.push_back(l);
    }
    return out;
}

bool isStation(const RailwayData& d, int line, int pos) {
    if (line < 1 || line > lineCount(d)) return false;
    return pos >= 1 && pos <= stationCount(d, line);
}

}  // namespace kisharin

#include "board/history_file.h"

#include "platform/text_file.h"
#include "state/railway.h"

namespace kisharin {

VisitedTable parseHistory(const std::string& bytes, const std::string& name) {
    VisitedTable t;
    const std::vector<std::string> lines = decodeLines(bytes, name);
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const int number = static_cast<int>(i) + 1;
        if (line.empty()) continue;
        const size_t blank = line.find(' ');
        int l = 0, p = 0;
        if (blank == std::string::npos || !parseDecimal(std::string_view(line).substr(0, blank), l) ||
            !parseDecimal(std::string_view(line).substr(blank + 1), p))
            throw DataError(name, number, "「" + line + "」が「路線番号 駅位置」の二つの数字ではありません");
        if (l < 1 || l > kMaxLine) throw DataError(name, number, "路線番号 " + std::to_string(l) + " が 1～750 の範囲外です");
        if (p < 1 || p > kMaxPosition)
            throw DataError(name, number, "駅位置 " + std::to_string(p) + " が 1～100 の範囲外です");
        t(l, p) = true;
    }
    return t;
}

VisitedTable readHistoryFile(const std::string& path) { return parseHistory(readFileBytes(path), path); }

std::string historyRecord(int line, int pos) { return std::to_string(line) + " " + std::to_string(pos); }

std::string historyPath(const GameState& s, int player) {
    return s.historyBase + std::to_string(player) + ".txt";
}

}  // namespace kisharin

#include "board/history_file.h"

#include <sys/stat.h>

#include <cerrno>

#include "platform/encoding.h"
#include "platform/text_file.h"
#include "state/error.h"
#include "state/railway.h"

namespace kisharin {

namespace {

constexpr size_t kProblemsListed = 5;  // bad lines named one by one in a notice

const char* const kFixAdvice =
    "この行は読み飛ばしました。テキストエディタでこの行を消すか「路線番号 駅位置」（例：12 5）の形に"
    "直すと、次からは読まれます。設定画面の「思い出消去」で履歴をすべて消すこともできます";

// Checks one line; the reason it is not a record, or empty when it is one.
std::string checkRecord(const std::string& line, int& l, int& p) {
    const size_t blank = line.find(' ');
    if (blank == std::string::npos || !parseDecimal(std::string_view(line).substr(0, blank), l) ||
        !parseDecimal(std::string_view(line).substr(blank + 1), p))
        return "「" + line + "」が「路線番号 駅位置」の二つの数字ではありません";
    if (l < 0 || l > kMaxLine) return "路線番号 " + std::to_string(l) + " が 0～750 の範囲外です";
    if (p < 0 || p > kMaxPosition) return "駅位置 " + std::to_string(p) + " が 0～100 の範囲外です";
    return {};
}

}  // namespace

HistoryParse parseHistory(const std::string& bytes) {
    HistoryParse r;
    size_t start = 0;
    int number = 0;
    while (start < bytes.size()) {
        const size_t lf = bytes.find('\n', start);
        const bool ended = lf != std::string::npos;
        const size_t next = ended ? lf + 1 : bytes.size();
        size_t stop = ended ? lf : bytes.size();
        if (stop > start && bytes[stop - 1] == '\r') --stop;
        ++number;
        const std::string_view raw = std::string_view(bytes).substr(start, stop - start);
        const std::optional<std::string> text = cp932ToUtf8(raw);
        int l = 0, p = 0;
        const std::string why =
            text ? checkRecord(*text, l, p) : "Shift-JIS（CP932）として読めない文字があります";
        if (text && text->empty()) {
            // a blank line
        } else if (why.empty()) {
            r.visited(l, p) = true;
        } else if (!ended) {
            r.cutLine = number;
            r.goodBytes = start;
        } else {
            r.problems.push_back({number, why});
        }
        start = next;
    }
    if (r.cutLine == 0) r.goodBytes = bytes.size();
    return r;
}

VisitedTable loadHistory(const std::string& path, std::vector<std::string>& notices, bool repair) {
    const std::string name = "ファイル「" + path + "」";
    // An absent file is no history yet; the first arrival creates it.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 && errno == ENOENT) return {};
    std::string bytes;
    try {
        bytes = readFileBytes(path);
    } catch (const DataError& e) {
        notices.push_back(std::string(e.what()) + "。これまでの到達履歴なしで続けます");
        return {};
    }
    HistoryParse r = parseHistory(bytes);
    if (r.cutLine != 0 && !repair) {
        notices.push_back(name + "の" + std::to_string(r.cutLine) +
                          "行目：途中で切れた記録（前回の終了時に書きかけだったもの）は数えていません。"
                          "次にゲームを始めるときに取り除かれます");
    } else if (r.cutLine != 0) {
        std::string notice = name + "の" + std::to_string(r.cutLine) +
                             "行目：途中で切れた記録（前回の終了時に書きかけだったもの）を取り除きました";
        try {
            writeBytesAtomic(path, bytes.substr(0, r.goodBytes));
        } catch (const GameError& e) {
            notice += "。ただし、ファイルを直せませんでした：" + std::string(e.what());
        }
        notices.push_back(notice);
    }
    if (!r.problems.empty()) {
        std::string notice = name + "に読めない行があります。\n";
        for (size_t i = 0; i < r.problems.size() && i < kProblemsListed; ++i)
            notice += std::to_string(r.problems[i].line) + "行目：" + r.problems[i].what + "\n";
        if (r.problems.size() > kProblemsListed)
            notice += "ほかに " + std::to_string(r.problems.size() - kProblemsListed) + " 行\n";
        notices.push_back(notice + kFixAdvice);
    }
    return std::move(r.visited);
}

std::string historyRecord(int line, int pos) {
    return std::to_string(line) + " " + std::to_string(pos);
}

std::string historyPath(const GameState& s, int player) {
    return s.historyBase + std::to_string(player) + ".txt";
}

}  // namespace kisharin

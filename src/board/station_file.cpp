#include "board/station_file.h"

#include "platform/encoding.h"
#include "platform/text_file.h"
#include "state/railway.h"

namespace kisharin {

namespace {


// Checks a link text such as "12\5;40\1" and returns what is wrong with it, or "".
std::string linkProblem(std::string_view text) {
    if (text.empty()) return {};
    size_t start = 0;
    while (true) {
        const size_t semi = text.find(';', start);
        const std::string_view entry = text.substr(start, semi == std::string_view::npos ? text.npos : semi - start);
        const size_t bs = entry.find('\\');
        int line = 0, pos = 0;
        if (bs == std::string_view::npos || !parseDecimal(entry.substr(0, bs), line) || !parseDecimal(entry.substr(bs + 1), pos))
            return "乗り換え「" + std::string(entry) + "」が「路線番号\\駅位置」の形ではありません";
        if (line < 1 || line > kMaxLine)
            return "乗り換え「" + std::string(entry) + "」の路線番号が 1～750 の範囲外です";
        if (pos < 1 || pos > kMaxPosition)
            return "乗り換え「" + std::string(entry) + "」の駅位置が 1～100 の範囲外です";
        if (semi == std::string_view::npos) break;
        start = semi + 1;
    }
    return {};
}

}  // namespace

RailwayData parseStationFile(const std::string& bytes, const std::string& name) {
    RailwayData d;
    const std::string_view all = bytes;
    size_t start = 0;
    int number = 0;
    int current = 0;  // line number L of the record being read
    std::vector<std::string_view> fields;
    while (start < all.size()) {
        size_t end = all.find('\n', start);
        const size_t next = end == std::string_view::npos ? all.size() : end + 1;
        if (end == std::string_view::npos) end = all.size();
        size_t stop = end;
        if (stop > start && all[stop - 1] == '\r') --stop;
        ++number;
        const std::string_view raw = all.substr(start, stop - start);
        start = next;
        if (number == 1) continue;  // header

        // A tab is never part of a two-byte CP932 character (trail bytes are 0x40 and up),
        // so the whole line is decoded at once and split afterwards.
        auto decoded = cp932ToUtf8(raw);
        if (!decoded) throw DataError(name, number, "Shift-JIS（CP932）として読めない文字があります");
        const std::string_view text = *decoded;
        fields.clear();
        size_t f = 0;
        while (true) {
            const size_t tab = text.find('\t', f);
            fields.push_back(text.substr(f, tab == std::string_view::npos ? text.npos : tab - f));
            if (tab == std::string_view::npos) break;
            f = tab + 1;
        }
        if (fields.size() > static_cast<size_t>(kPositionSlots))
            throw DataError(name, number,
                            "項目が " + std::to_string(fields.size()) + " 個あります（1 行に 101 個まで）");

        const int kind = number % 5;
        if (kind == 2) {
            int line = 0;
            if (!parseDecimal(fields[0], line))
                throw DataError(name, number, "路線番号「" + std::string(fields[0]) + "」が数字ではありません");
            if (line < 1 || line > kMaxLine)
                throw DataError(name, number, "路線番号 " + std::to_string(line) + " が 1～750 の範囲外です");
            current = line;
        }
        RailTable<std::string>* table = nullptr;
        switch (kind) {
            case 2: table = &d.ekiLink; break;
            case 3: table = &d.ekiName; break;
            case 4: table = &d.ekiYomi; break;
            case 0: table = &d.ekiPref; break;
            default: table = &d.ekiMark; break;
        }
        for (size_t k = 0; k < fields.size(); ++k) {
            if (kind == 2 && k > 0) {
                const std::string problem = linkProblem(fields[k]);
                if (!problem.empty())
                    throw DataError(name, number, std::to_string(k) + " 番目の駅の" + problem);
            }
            table->at(current, static_cast<int>(k)) = std::string(fields[k]);
        }
    }
    return d;
}

RailwayData readStationFile(const std::string& path) { return parseStationFile(readFileBytes(path), path); }

std::string formatStationFile(const RailwayData& d, const std::string& header) {
    std::vector<std::string> lines{header};
    const int lines_n = lineCount(d);
    const RailTable<std::string>* tables[5] = {&d.ekiLink, &d.ekiName, &d.ekiYomi, &d.ekiPref, &d.ekiMark};
    for (int l = 1; l <= lines_n; ++l) {
        for (int t = 0; t < 5; ++t) {
            int last = 0;
            for (int p = kMaxPosition; p > 0; --p)
                if (!tables[t]->at(l, p).empty()) {
                    last = p;
                    break;
                }
            std::string row = tables[t]->at(l, 0);
            if (t == 0 && row.empty()) row = std::to_string(l);
            for (int p = 1; p <= last; ++p) row += "\t" + tables[t]->at(l, p);
            lines.push_back(std::move(row));
        }
    }
    return encodeLines(lines, "駅.txt");
}

}  // namespace kisharin

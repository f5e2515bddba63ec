#include "databuilder/open_data.h"

#include <algorithm>
#include <charconv>
#include <filesystem>

#include "databuilder/json_reader.h"
#include "platform/text_file.h"
#include "state/error.h"
#include "state/railway.h"

namespace kisharin::databuilder {

namespace {

namespace fs = std::filesystem;

std::vector<std::string> split(std::string_view s, char sep) {
    std::vector<std::string> out;
    size_t start = 0;
    while (true) {
        const size_t at = s.find(sep, start);
        out.emplace_back(s.substr(start, at == s.npos ? s.npos : at - start));
        if (at == s.npos) break;
        start = at + 1;
    }
    return out;
}

// The text lines of a UTF-8 file, without line ends; first is line 1.
std::vector<std::string> textLines(const std::string& path) {
    const std::string bytes = readFileBytes(path);
    std::vector<std::string> lines = split(bytes, '\n');
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    for (auto& l : lines)
        if (!l.empty() && l.back() == '\r') l.pop_back();
    return lines;
}

const Json& member(const Json& obj, std::string_view key, bool (Json::*is)() const noexcept,
                   const std::string& name) {
    const Json* v = findMember(obj, key);
    if (!v || !(v->*is)()) throw DataError(name, 0, "項目「" + std::string(key) + "」がないか、形が違います");
    return *v;
}

const std::string& textMember(const Json& obj, std::string_view key, const std::string& name) {
    return member(obj, key, &Json::is_string, name).get_ref<const std::string&>();
}

double numberMember(const Json& obj, std::string_view key, const std::string& name) {
    return member(obj, key, &Json::is_number, name).get<double>();
}

int intMember(const Json& obj, std::string_view key, const std::string& name) {
    const double d = numberMember(obj, key, name);
    if (d != static_cast<double>(static_cast<int>(d)))
        throw DataError(name, 0, "項目「" + std::string(key) + "」が整数ではありません");
    return static_cast<int>(d);
}

bool closedFlag(const Json& obj) {
    const Json* v = findMember(obj, "closed");
    return v && v->is_boolean() && v->get<bool>();
}

std::optional<Rgb> parseColor(const Json* v, const std::string& name) {
    if (!v) return std::nullopt;
    const std::string t = v->is_string() ? v->get<std::string>() : v->dump();
    auto hex = [&](size_t at, int& out) {
        const auto [p, ec] = std::from_chars(t.data() + at, t.data() + at + 2, out, 16);
        return ec == std::errc() && p == t.data() + at + 2;
    };
    Rgb c{};
    if (!v->is_string() || t.size() != 7 || t[0] != '#' || !hex(1, c[0]) || !hex(3, c[1]) || !hex(5, c[2]))
        throw DataError(name, 0, "路線の色「" + t + "」が #RRGGBB の形ではありません");
    return c;
}

// Rows of a TSV of the game folder: comment lines (#) and blank lines skipped.
template <typename F>
void eachTsvRow(const std::string& path, size_t minFields, F&& f) {
    const std::vector<std::string> lines = textLines(path);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty() || lines[i][0] == '#') continue;
        std::vector<std::string> fields = split(lines[i], '\t');
        if (fields.size() < minFields)
            throw DataError(baseName(path), static_cast<int>(i + 1),
                            "項目が " + std::to_string(fields.size()) + " 個しかありません（" +
                                std::to_string(minFields) + " 個必要です）");
        for (const auto& field : fields)
            if (field.empty()) throw DataError(baseName(path), static_cast<int>(i + 1), "空の項目があります");
        f(fields, static_cast<int>(i + 1));
    }
}

}  // namespace

std::optional<OpenLine> parseLineJson(const std::string& text, const std::string& name) {
    const Json doc = parseJson(text, name);
    if (!doc.is_object()) throw DataError(name, 1, "路線のオブジェクトではありません");
    if (closedFlag(doc)) return std::nullopt;
    OpenLine line;
    line.code = intMember(doc, "code", name);
    line.name = textMember(doc, "name", name);
    line.kana = textMember(doc, "name_kana", name);
    if (findMember(doc, "company_code")) line.company = intMember(doc, "company_code", name);
    line.color = parseColor(findMember(doc, "color"), name);
    for (const Json& s : member(doc, "station_list", &Json::is_array, name)) {
        if (!s.is_object()) throw DataError(name, 0, "駅のオブジェクトではありません");
        if (closedFlag(s)) continue;
        OpenStation st;
        st.id = intMember(s, "id", name);
        st.name = textMember(s, "name", name);
        st.originalName = textMember(s, "original_name", name);
        st.kana = textMember(s, "name_kana", name);
        st.lat = numberMember(s, "lat", name);
        st.lng = numberMember(s, "lng", name);
        st.prefecture = intMember(s, "prefecture", name);
        line.stations.push_back(std::move(st));
    }
    if (line.name.empty()) throw DataError(name, 0, "路線名が空です");
    return line;
}

OpenData readOpenData(const std::string& dir) {
    OpenData data;
    const fs::path root(dir);
    const fs::path db = root / "station_database";

    // Lines: every line/<code>.json, by line code so that the result never depends on
    // the order the file system lists them in.
    std::vector<std::pair<int, fs::path>> files;
    std::error_code ec;
    for (fs::directory_iterator it(db / "line", ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path& p = it->path();
        int code = 0;
        if (p.extension() == ".json" && parseDecimal(p.stem().string(), code)) files.emplace_back(code, p);
    }
    if (ec || files.empty())
        throw DataError((db / "line").string(), 0, "路線ファイル（*.json）が見つかりません");
    std::sort(files.begin(), files.end());
    for (const auto& [code, path] : files) {
        auto line = parseLineJson(readFileBytes(path.string()), "line/" + path.filename().string());
        if (line && !line->stations.empty()) data.lines.push_back(std::move(*line));
    }

    // company.csv: code,rail_code,name,name_kana,name_formal,name_short,company_url,type,closed
    {
        const std::string path = (db / "company.csv").string();
        const auto lines = textLines(path);
        for (size_t i = 1; i < lines.size(); ++i) {
            const auto f = split(lines[i], ',');
            int code = 0, type = 0;
            if (f.size() < 9 || !parseDecimal(f[0], code) || !parseDecimal(f[7], type))
                throw DataError("company.csv", static_cast<int>(i + 1), "会社の行の形が正しくありません");
            data.companies[code] = Company{f[2], type};
        }
    }
    // prefecture.csv: code,name (no header)
    {
        const std::string path = (db / "prefecture.csv").string();
        const auto lines = textLines(path);
        for (size_t i = 0; i < lines.size(); ++i) {
            const auto f = split(lines[i], ',');
            int code = 0;
            if (f.size() < 2 || !parseDecimal(f[0], code) || f[1].empty())
                throw DataError("prefecture.csv", static_cast<int>(i + 1),
                                "都道府県の行の形が正しくありません");
            data.prefectures[code] = f[1];
        }
    }

    const fs::path game = root / "game";
    eachTsvRow((game / "airports.tsv").string(), 5, [&](const std::vector<std::string>& f, int n) {
        data.airports.push_back(Airport{f[0], f[1], f[2], f[3], split(f[4], ';'), n});
    });
    eachTsvRow((game / "air_routes.tsv").string(), 2, [&](const std::vector<std::string>& f, int n) {
        data.airRoutes.push_back(AirRoute{f, n});
    });
    eachTsvRow((game / "race_courses.tsv").string(), 2, [&](const std::vector<std::string>& f, int n) {
        data.raceCourses.push_back(RaceCourse{f[0], f[1], n});
    });
    return data;
}

}  // namespace kisharin::databuilder

#include "maps/map_data.h"

#include <charconv>
#include <unordered_set>

#include "platform/encoding.h"
#include "platform/text_file.h"
#include "state/error.h"

namespace kisharin {

namespace {

// A number as the map files write it ("35.6812", "-0.5", "139"); surrounding blanks
// are allowed, nothing else.
bool parseNumber(std::string_view t, double& out) {
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
    if (!t.empty() && t.front() == '+') t.remove_prefix(1);
    if (t.empty()) return false;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), out);
    return ec == std::errc() && end == t.data() + t.size();
}

// A latitude lies within ±90 degrees and a longitude within ±180; "nan", "inf" and
// values like 1e300 read as numbers but stand nowhere on the globe.
constexpr double kLatLimit = 90, kLonLimit = 180;
bool onGlobe(double v, double limit) {
    return v >= -limit && v <= limit;
}
std::string rangeText(double limit) {
    return limit == kLatLimit ? "緯度の範囲（-90～90）" : "経度の範囲（-180～180）";
}

// The lines of one map file, in UTF-8.
std::vector<std::string> mapFileLines(const MapFileSource& files, const char* file, const std::string& name) {
    const std::optional<std::string> got = files(file);
    if (!got) throw DataError(name, 0, "地図のファイルがありません");
    return decodeLines(*got, name);
}

// Splits a record at commas; fields beyond `want` are kept but not used.
std::vector<std::string_view> splitFields(const std::string& line) {
    std::vector<std::string_view> out;
    size_t start = 0;
    while (true) {
        const size_t comma = line.find(',', start);
        if (comma == std::string::npos) {
            out.emplace_back(std::string_view(line).substr(start));
            return out;
        }
        out.emplace_back(std::string_view(line).substr(start, comma - start));
        start = comma + 1;
    }
}

std::vector<std::string_view> fieldsOf(const std::string& line, size_t want, const std::string& name,
                                       int number) {
    auto f = splitFields(line);
    if (f.size() < want)
        throw DataError(name, number,
                        "項目が足りません（" + std::to_string(want) + "個必要なところ" +
                            std::to_string(f.size()) + "個）");
    return f;
}

GeoLine coordinatesOf(std::string_view text, const std::string& name, int number) {
    GeoLine out;
    std::string why;
    if (!parseCoordinates(std::string(text), out, why)) throw DataError(name, number, why);
    return out;
}

void addKey(std::unordered_set<std::string>& seen, std::string_view key, const std::string& name,
            int number) {
    if (!seen.emplace(key).second)
        throw DataError(name, number, "キー「" + std::string(key) + "」が重複しています");
}

// L_rr.dat or L_st.dat: key, coordinates and a third field.
std::vector<MapLineRecord> keyedLines(const MapFileSource& files, const char* file, const std::string& name) {
    std::vector<MapLineRecord> table;
    std::unordered_set<std::string> seen;
    int number = 0;
    for (const auto& line : mapFileLines(files, file, name)) {
        const auto f = fieldsOf(line, 3, name, ++number);
        addKey(seen, f[0], name, number);
        table.push_back({std::string(f[0]), coordinatesOf(f[1], name, number), std::string(f[2])});
    }
    return table;
}

}  // namespace

size_t MapData::vertexCount() const {
    size_t n = 0;
    for (const auto& [key, pts] : line) n += pts.size();
    for (const auto& r : lineRr) n += r.points.size();
    for (const auto& r : lineSt) n += r.points.size();
    return n;
}

bool parseCoordinates(const std::string& text, GeoLine& out, std::string& why) {
    out.clear();
    std::vector<double> values;
    values.reserve(text.size() / 9 + 2);
    size_t start = 0;
    int index = 0;
    while (start <= text.size()) {
        size_t blank = text.find(' ', start);
        if (blank == std::string::npos) blank = text.size();
        const std::string_view token = std::string_view(text).substr(start, blank - start);
        ++index;
        double v = 0;
        if (!parseNumber(token, v)) {
            why = token.empty() ? "座標の" + std::to_string(index) + "番目の値が空です"
                                : "座標の" + std::to_string(index) + "番目の値「" + std::string(token) +
                                      "」が数値ではありません";
            return false;
        }
        const double limit = index % 2 == 1 ? kLatLimit : kLonLimit;
        if (!onGlobe(v, limit)) {
            why = "座標の" + std::to_string(index) + "番目の値「" + std::string(token) + "」が" +
                  rangeText(limit) + "を外れています";
            return false;
        }
        values.push_back(v);
        start = blank + 1;
    }
    if (values.size() % 2 != 0) {
        why = "座標の値の数が奇数です（" + std::to_string(values.size()) + "個）";
        return false;
    }
    out.reserve(values.size() / 2);
    for (size_t i = 0; i < values.size(); i += 2) out.push_back({values[i], values[i + 1]});
    return true;
}

std::string prefectureFolder(const std::string& mapDataDir, const std::string& pref) {
    std::string folder = mapDataDir;
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder + pref + "/";
}

namespace {

// The files of folder mapDataDir + pref; one that is there but cannot be read is a fault.
MapFileSource folderFiles(const std::string& mapDataDir, const std::string& pref) {
    const std::string folder = prefectureFolder(mapDataDir, pref);
    return [folder, pref](const char* file) -> std::optional<std::string> {
        const std::string path = folder + file;
        if (!fileExists(path)) return std::nullopt;
        try {
            return readFileBytes(path);
        } catch (const DataError&) {
            throw DataError("MapData/" + pref + "/" + file, 0, "地図のファイルを開けません");
        }
    };
}

void readPrefLines(const MapFileSource& files, const std::string& pref, MapData& d) {
    auto nameOf = [&](const char* file) { return "MapData/" + pref + "/" + file; };

    {  // PL.dat: the boundary keys, the whole line being the key.
        const std::string name = nameOf("PL.dat");
        std::unordered_set<std::string> seen;
        int number = 0;
        for (auto& line : mapFileLines(files, "PL.dat", name)) {
            addKey(seen, line, name, ++number);
            d.prefLineOnly.push_back(std::move(line));
        }
    }
    {  // L.dat: boundary polylines by key.
        const std::string name = nameOf("L.dat");
        int number = 0;
        for (const auto& line : mapFileLines(files, "L.dat", name)) {
            const auto f = fieldsOf(line, 2, name, ++number);
            if (d.line.count(std::string(f[0])))
                throw DataError(name, number, "キー「" + std::string(f[0]) + "」が重複しています");
            d.line.emplace(std::string(f[0]), coordinatesOf(f[1], name, number));
        }
    }
}

void checkPrefKeys(const std::string& pref, const MapData& d) {
    for (size_t i = 0; i < d.prefLineOnly.size(); ++i)
        if (!d.line.count(d.prefLineOnly[i]))
            throw DataError("MapData/" + pref + "/PL.dat", static_cast<int>(i) + 1,
                            "キー「" + d.prefLineOnly[i] + "」がL.datにありません");
}

}  // namespace

std::vector<GeoLine> readBoundary(const std::string& mapDataDir, const std::string& pref) {
    MapData d;
    readPrefLines(folderFiles(mapDataDir, pref), pref, d);
    checkPrefKeys(pref, d);
    std::vector<GeoLine> out;
    out.reserve(d.prefLineOnly.size());
    for (const auto& key : d.prefLineOnly) out.push_back(std::move(d.line[key]));
    return out;
}

std::vector<MapLineRecord> readPlatforms(const std::string& mapDataDir, const std::string& pref) {
    return keyedLines(folderFiles(mapDataDir, pref), "L_st.dat", "MapData/" + pref + "/L_st.dat");
}

MapData データ読込(const std::string& mapDataDir, const std::string& pref) {
    return データ読込(folderFiles(mapDataDir, pref), pref);
}

MapData データ読込(const MapFileSource& files, const std::string& pref) {
    MapData d;
    d.pref = pref;
    auto nameOf = [&](const char* file) { return "MapData/" + pref + "/" + file; };
    readPrefLines(files, pref, d);
    {  // NEWS.dat: west, east, south, north.
        const std::string name = nameOf("NEWS.dat");
        const auto lines = mapFileLines(files, "NEWS.dat", name);
        if (lines.size() != 4)
            throw DataError(
                name, lines.size() > 4 ? 5 : 0,
                "4行（西端・東端・南端・北端）のところ" + std::to_string(lines.size()) + "行あります");
        float b[4];
        for (int i = 0; i < 4; ++i) {
            double v = 0;
            if (!parseNumber(lines[i], v))
                throw DataError(name, i + 1, "「" + lines[i] + "」が数値ではありません");
            const double limit = i < 2 ? kLonLimit : kLatLimit;
            if (!onGlobe(v, limit))
                throw DataError(name, i + 1, "「" + lines[i] + "」が" + rangeText(limit) + "を外れています");
            b[i] = static_cast<float>(v);
        }
        d.boundW = b[0];
        d.boundE = b[1];
        d.boundS = b[2];
        d.boundN = b[3];
    }
    // L_rr.dat and L_st.dat: key, coordinates and a third field.
    d.lineRr = keyedLines(files, "L_rr.dat", nameOf("L_rr.dat"));
    d.lineSt = keyedLines(files, "L_st.dat", nameOf("L_st.dat"));
    {  // St.dat: station, longitude, latitude, line.
        const std::string name = nameOf("St.dat");
        int number = 0;
        for (const auto& line : mapFileLines(files, "St.dat", name)) {
            const auto f = fieldsOf(line, 4, name, ++number);
            SameStationRecord r;
            if (!parseNumber(f[1], r.lon))
                throw DataError(name, number, "経度「" + std::string(f[1]) + "」が数値ではありません");
            if (!parseNumber(f[2], r.lat))
                throw DataError(name, number, "緯度「" + std::string(f[2]) + "」が数値ではありません");
            if (!onGlobe(r.lon, kLonLimit))
                throw DataError(
                    name, number,
                    "経度「" + std::string(f[1]) + "」が" + rangeText(kLonLimit) + "を外れています");
            if (!onGlobe(r.lat, kLatLimit))
                throw DataError(
                    name, number,
                    "緯度「" + std::string(f[2]) + "」が" + rangeText(kLatLimit) + "を外れています");
            r.name = std::string(f[0]);
            r.line = std::string(f[3]);
            d.sameStation.push_back(std::move(r));
        }
    }
    // Every boundary key must lead to a polyline.
    checkPrefKeys(pref, d);
    return d;
}

}  // namespace kisharin

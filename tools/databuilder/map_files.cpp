#include "databuilder/map_files.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "databuilder/json_reader.h"
#include "platform/data_home.h"
#include "platform/text_file.h"
#include "state/error.h"
#include "state/railway.h"

namespace kisharin::databuilder {

namespace {

namespace fs = std::filesystem;

// One [lng, lat] position of GeoJSON.
GeoPt position(const Json& v, const std::string& name) {
    if (!v.is_array() || v.size() < 2 || !v[0].is_number() || !v[1].is_number())
        throw DataError(name, 0, "座標が [経度, 緯度] の形ではありません");
    const GeoPt p{v[0].get<double>(), v[1].get<double>()};
    if (!(p.lng >= -180 && p.lng <= 180 && p.lat >= -90 && p.lat <= 90))
        throw DataError(name, 0,
                        "座標 [" + v[0].dump() + ", " + v[1].dump() + "] が経度・緯度の範囲の外です");
    return p;
}

Polyline positions(const Json& v, const std::string& name) {
    if (!v.is_array()) throw DataError(name, 0, "座標の並びが配列ではありません");
    Polyline out;
    out.reserve(v.size());
    for (const Json& p : v) out.push_back(position(p, name));
    return out;
}

std::vector<Polyline> polygon(const Json& v, const std::string& name) {
    if (!v.is_array() || v.empty()) throw DataError(name, 0, "多角形に輪がありません");
    std::vector<Polyline> rings;
    for (const Json& r : v) rings.push_back(positions(r, name));
    return rings;
}

const Json& geometryOf(const Json& feature, const std::string& name) {
    const Json* g = findMember(feature, "geometry");
    if (!g || !findMember(*g, "type") || !findMember(*g, "type")->is_string() ||
        !findMember(*g, "coordinates"))
        throw DataError(name, 0, "地物に geometry（type と coordinates）がありません");
    return *g;
}

const Json& featuresOf(const Json& doc, const std::string& name) {
    const Json* f = findMember(doc, "features");
    if (!f || !f->is_array()) throw DataError(name, 1, "FeatureCollection の features がありません");
    return *f;
}

// Runs f on every feature of a FeatureCollection; a fault names the feature (counted
// from 1) in its message.
template <typename F>
void eachFeature(const Json& doc, const std::string& name, F&& f) {
    size_t n = 0;
    for (const Json& feature : featuresOf(doc, name)) {
        ++n;
        try {
            f(feature);
        } catch (const DataError& e) {
            throw DataError(name, 0, std::to_string(n) + " 番目の地物：" + e.what_wrong());
        }
    }
}

// A number as the map files write it: fixed, five decimals (about a metre).
std::string fixed5(double v) {
    char buf[48];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 5);
    return std::string(buf, r.ptr);
}

double round5(double v) {
    return std::round(v * 1e5) / 1e5;
}

// The vertices as they will be written: rounded to five decimals, a vertex equal to
// the one before it dropped.
Polyline written(const Polyline& line) {
    Polyline out;
    out.reserve(line.size());
    for (const GeoPt& p : line) {
        const GeoPt q{round5(p.lng), round5(p.lat)};
        if (out.empty() || !(out.back() == q)) out.push_back(q);
    }
    return out;
}

std::string coordinateList(const Polyline& line) {
    std::string out;
    out.reserve(line.size() * 20);
    for (const GeoPt& p : line) {
        if (!out.empty()) out += ' ';
        out += fixed5(p.lat);
        out += ' ';
        out += fixed5(p.lng);
    }
    return out;
}

void refuseComma(const std::string& text, const std::string& what) {
    if (text.find(',') != std::string::npos)
        throw GameError(what + "「" + text + "」に「,」があり、地図のファイルに書けません");
}

// The part of a prefecture a station belongs to: the polygon around it, or the
// nearest one when it lies just off a simplified coast.
size_t partOf(const MapOpenData::Prefecture& pref, const std::vector<Box>& boxes, const GeoPt& p) {
    for (size_t i = 0; i < pref.parts.size(); ++i) {
        if (!boxes[i].contains(p) || !insideRing(pref.parts[i][0], p)) continue;
        bool inHole = false;
        for (size_t h = 1; h < pref.parts[i].size() && !inHole; ++h) inHole = insideRing(pref.parts[i][h], p);
        if (!inHole) return i;
    }
    size_t best = 0;
    double bestD = -1;
    for (size_t i = 0; i < pref.parts.size(); ++i) {
        const double d = distanceToLineMetres(pref.parts[i][0], p);
        if (bestD < 0 || d < bestD) {
            bestD = d;
            best = i;
        }
    }
    return best;
}

struct SimplifiedTrack {
    Polyline points;
    Box box;
};

}  // namespace

std::vector<MapOpenData::Prefecture> parsePrefecturesJson(const std::string& text, const std::string& name) {
    const Json doc = parseJson(text, name);
    std::vector<MapOpenData::Prefecture> out;
    eachFeature(doc, name, [&](const Json& f) {
        const Json* props = findMember(f, "properties");
        const Json* prefName = props ? findMember(*props, "N03_001") : nullptr;
        if (!prefName || !prefName->is_string())
            throw DataError(name, 0, "地物に都道府県名（N03_001）がありません");
        MapOpenData::Prefecture p;
        p.name = prefName->get<std::string>();
        const Json& g = geometryOf(f, name);
        const std::string type = g["type"].get<std::string>();
        if (type == "Polygon") {
            p.parts.push_back(polygon(g["coordinates"], name));
        } else if (type == "MultiPolygon") {
            if (!g["coordinates"].is_array())
                throw DataError(name, 0, "MultiPolygon の座標が配列ではありません");
            for (const Json& poly : g["coordinates"]) p.parts.push_back(polygon(poly, name));
        } else {
            throw DataError(
                name, 0, "「" + p.name + "」の形が Polygon でも MultiPolygon でもありません（" + type + "）");
        }
        for (const auto& part : p.parts)
            if (part[0].size() < 3)
                throw DataError(name, 0, "「" + p.name + "」に頂点が 3 つ未満の輪があります");
        out.push_back(std::move(p));
    });
    return out;
}

std::vector<Polyline> parseTrackJson(const std::string& text, const std::string& name) {
    const Json doc = parseJson(text, name);
    std::vector<Polyline> out;
    eachFeature(doc, name, [&](const Json& f) {
        const Json& g = geometryOf(f, name);
        if (g["type"] != "LineString")
            throw DataError(name, 0,
                            "線路の形が LineString ではありません（" + g["type"].get<std::string>() + "）");
        out.push_back(positions(g["coordinates"], name));
    });
    return out;
}

MapOpenData readMapOpenData(const std::string& dir) {
    MapOpenData geo;
    const fs::path root(dir);
    const fs::path prefFile = root / "prefectures" / "prefectures.json";
    geo.prefectures = parsePrefecturesJson(readFileBytes(prefFile.string()), "prefectures/prefectures.json");

    // Tracks by line code, never by the order the file system lists them in.
    const fs::path folder = root / "station_database" / "polyline";
    std::vector<std::pair<int, fs::path>> files;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        int code = 0;
        if (it->path().extension() == ".json" && parseDecimal(it->path().stem().string(), code))
            files.emplace_back(code, it->path());
    }
    if (ec || files.empty()) throw DataError(folder.string(), 0, "線路ファイル（*.json）が見つかりません");
    std::sort(files.begin(), files.end());
    for (const auto& [code, path] : files)
        geo.tracks[code] =
            parseTrackJson(readFileBytes(path.string()), "polyline/" + path.filename().string());
    return geo;
}

Box openingView(const Box& b) {
    const double phi = (b.s + b.n) / 2 * 3.1415927 / 180;
    const double kmLon = std::cos(phi) * 40074.785 / 360;
    const double widthKm = std::nearbyint((b.e - b.w) * kmLon);
    const double heightKm = std::nearbyint((b.n - b.s) * 111.12);
    Box v;
    v.empty = false;
    if (widthKm >= heightKm) {
        const double m = kmLon * 0.02;
        v.w = b.w - 0.02;
        v.e = b.e + 0.02;
        v.n = b.n + m / 111.12;
        v.s = b.n - (2 * m + widthKm) / 111.12;
    } else {
        v.n = b.n + 0.02;
        v.s = b.s - 0.02;
        v.w = b.w - 2.2224 / kmLon;
        v.e = b.w + (heightKm + 4.4448) / kmLon;
    }
    return v;
}

std::vector<PrefectureMap> buildMaps(const OpenData& open, const Network& net, const MapOpenData& geo) {
    const RailwayData& d = net.data;

    std::map<std::string, const MapOpenData::Prefecture*> shapes;
    for (const auto& p : geo.prefectures) {
        const bool known = std::any_of(open.prefectures.begin(), open.prefectures.end(),
                                       [&](const auto& kv) { return kv.second == p.name; });
        if (!known)
            throw DataError("prefectures/prefectures.json", 0,
                            "都道府県「" + p.name + "」が prefecture.csv にありません");
        if (!shapes.emplace(p.name, &p).second)
            throw DataError("prefectures/prefectures.json", 0, "都道府県「" + p.name + "」が二度あります");
    }

    // Every open line's track, simplified once for all the prefectures it crosses.
    std::map<int, bool> jr;
    std::map<int, std::vector<SimplifiedTrack>> simplified;
    for (const OpenLine& l : open.lines) {
        const auto c = open.companies.find(l.company);
        jr[l.code] = c != open.companies.end() && c->second.type == 1;
        const auto t = geo.tracks.find(l.code);
        if (t == geo.tracks.end()) continue;
        auto& out = simplified[l.code];
        for (const Polyline& piece : t->second) {
            Polyline s = simplify(piece, kTrackToleranceMetres);
            out.push_back(SimplifiedTrack{s, Box::of(s)});
        }
    }

    // Every open line's track pieces as the data gives them, each with its extent grown
    // by the distance a platform may lie from its station.
    std::vector<std::pair<Box, const Polyline*>> rawPieces;
    for (const OpenLine& l : open.lines)
        if (const auto t = geo.tracks.find(l.code); t != geo.tracks.end())
            for (const Polyline& piece : t->second) {
                const Box b = Box::of(piece);
                const double dLat = kPlatformTrackMetres / kMetresPerDegree;
                rawPieces.emplace_back(b.grown(dLat / std::cos(b.n * 3.14159265358979 / 180), dLat), &piece);
            }

    // The stations of each prefecture, by line and position.
    std::map<std::string, std::vector<const StationPlace*>> stationsOf;
    std::map<std::pair<int, int>, const StationPlace*> placeAt;
    for (const StationPlace& s : net.places) {
        stationsOf[d.ekiPref(s.line, s.pos)].push_back(&s);
        placeAt[{s.line, s.pos}] = &s;
    }

    std::vector<PrefectureMap> maps;
    for (const auto& [code, name] : open.prefectures) {
        const auto shape = shapes.find(name);
        if (shape == shapes.end())
            throw DataError("prefectures/prefectures.json", 0, "都道府県「" + name + "」の境界がありません");
        const MapOpenData::Prefecture& pref = *shape->second;
        const std::vector<const StationPlace*>& stations = stationsOf[name];
        PrefectureMap m;
        m.name = name;

        // Boundary: every ring of every part, islands far from any railway included.
        std::vector<Box> partBoxes;
        for (size_t i = 0; i < pref.parts.size(); ++i) {
            partBoxes.push_back(Box::of(pref.parts[i][0]));
            for (size_t r = 0; r < pref.parts[i].size(); ++r) {
                Polyline ring = written(pref.parts[i][r]);
                if (ring.size() < 2) continue;
                m.boundary.push_back(
                    {"b" + std::to_string(i + 1) + "_" + std::to_string(r + 1), std::move(ring), ""});
            }
        }

        // The box: the parts that hold stations, and every station with room for its label.
        Box box;
        for (const StationPlace* s : stations)
            box.add(partBoxes[partOf(pref, partBoxes, GeoPt{s->lng, s->lat})]);
        for (const StationPlace* s : stations) {
            Box room;
            room.add(GeoPt{s->lng, s->lat});
            box.add(room.grown(kLabelRoomDegrees, kLabelRoomDegrees));
        }
        if (box.empty)
            for (const Box& b : partBoxes) box.add(b);
        // Rounded outwards to the five decimals written (a value already on them stays).
        box.w = std::floor(box.w * 1e5 + 1e-6) / 1e5;
        box.s = std::floor(box.s * 1e5 + 1e-6) / 1e5;
        box.e = std::ceil(box.e * 1e5 - 1e-6) / 1e5;
        box.n = std::ceil(box.n * 1e5 - 1e-6) / 1e5;
        m.bounds = box;

        // Tracks in and near the opening view: a tenth of the view on every side, room
        // for the squared views of zooms picked near its edges.
        const Box view = openingView(box);
        const Box clip = view.grown((view.e - view.w) * kTrackMargin, (view.n - view.s) * kTrackMargin);
        for (const OpenLine& l : open.lines) {
            const auto t = simplified.find(l.code);
            if (t == simplified.end()) continue;
            for (size_t k = 0; k < t->second.size(); ++k) {
                if (!t->second[k].box.intersects(clip)) continue;
                const auto pieces = clipToBox(t->second[k].points, clip);
                for (size_t p = 0; p < pieces.size(); ++p) {
                    Polyline line = written(pieces[p]);
                    if (line.size() < 2) continue;
                    m.tracks.push_back({"r" + std::to_string(l.code) + "_" + std::to_string(k + 1) + "_" +
                                            std::to_string(p + 1),
                                        std::move(line), jr[l.code] ? "11" : "12"});
                }
            }
        }

        for (const StationPlace* s : stations) {
            const std::string& station = d.ekiName(s->line, s->pos);
            const std::string& lineName = d.ekiName(s->line, 0);
            refuseComma(station, "駅名");
            refuseComma(lineName, "路線名");
            const GeoPt at{s->lng, s->lat};
            m.labels.push_back({station, GeoPt{round5(at.lng), round5(at.lat)}, lineName});
            if (s->lineCode == 0) continue;  // an airport: no track, no platform

            // The platform along the line's own track; where its track data leaves out a
            // stretch it shares with another line, along the nearest track of any line;
            // across the neighbouring stations where no track comes near the station.
            Polyline platform;
            if (const auto t = geo.tracks.find(s->lineCode); t != geo.tracks.end()) {
                std::vector<const Polyline*> own;
                for (const Polyline& piece : t->second) own.push_back(&piece);
                platform = stretchAlong(own, at, kPlatformMetres, kPlatformTrackMetres);
            }
            if (platform.size() < 2) {
                std::vector<const Polyline*> near;
                for (const auto& [pieceBox, piece] : rawPieces)
                    if (pieceBox.contains(at)) near.push_back(piece);
                platform = stretchAlong(near, at, kPlatformMetres, kPlatformTrackMetres);
            }
            if (platform.size() < 2) {
                const auto prev = placeAt.find({s->line, s->pos - 1});
                const auto next = placeAt.find({s->line, s->pos + 1});
                const GeoPt from = prev != placeAt.end() ? GeoPt{prev->second->lng, prev->second->lat} : at;
                const GeoPt to = next != placeAt.end() ? GeoPt{next->second->lng, next->second->lat} : at;
                platform = straightStretch(at, from, to, kPlatformMetres);
                ++m.straightPlatforms;
            }
            platform = written(platform);
            if (platform.size() < 2) continue;
            m.platforms.push_back(
                {"s" + std::to_string(s->line) + "_" + std::to_string(s->pos), std::move(platform), station});
        }
        // Of two labels that overlap the map hides the one it looks at first and keeps
        // the later one: the stations served by the most lines come last, so that their
        // names stay where labels crowd.
        std::map<std::string, int> linesAt;
        for (const auto& l : m.labels) ++linesAt[l.station];
        std::stable_sort(m.labels.begin(), m.labels.end(), [&](const auto& a, const auto& b) {
            return linesAt[a.station] < linesAt[b.station];
        });
        maps.push_back(std::move(m));
    }
    return maps;
}

std::map<std::string, std::string> mapFileBytes(const PrefectureMap& m) {
    std::vector<std::string> pl, l, news, rr, st, labels;
    for (const auto& b : m.boundary) {
        pl.push_back(b.key);
        l.push_back(b.key + "," + coordinateList(b.points));
    }
    news = {fixed5(m.bounds.w), fixed5(m.bounds.e), fixed5(m.bounds.s), fixed5(m.bounds.n)};
    for (const auto& t : m.tracks) rr.push_back(t.key + "," + coordinateList(t.points) + "," + t.third);
    for (const auto& p : m.platforms) st.push_back(p.key + "," + coordinateList(p.points) + "," + p.third);
    for (const auto& s : m.labels)
        labels.push_back(s.station + "," + fixed5(s.at.lng) + "," + fixed5(s.at.lat) + "," + s.line);
    const std::string dir = m.name + "/";
    return {
        {"PL.dat", encodeLines(pl, dir + "PL.dat")},       {"L.dat", encodeLines(l, dir + "L.dat")},
        {"NEWS.dat", encodeLines(news, dir + "NEWS.dat")}, {"L_rr.dat", encodeLines(rr, dir + "L_rr.dat")},
        {"L_st.dat", encodeLines(st, dir + "L_st.dat")},   {"St.dat", encodeLines(labels, dir + "St.dat")}};
}

void writeMapData(const std::vector<PrefectureMap>& maps, const std::string& dataDir) {
    for (const PrefectureMap& m : maps) {
        const std::string dir = dataDir + "/MapData/" + m.name + "/";
        makeDirectories(dir);
        for (const auto& [file, bytes] : mapFileBytes(m)) {
            // The builder's output is rebuilt at will, so it is not flushed to disk file by
            // file (282 flushes take seconds); a file that already holds these bytes is
            // left alone.
            const std::string path = dir + file;
            if (fileExists(path) && readFileBytes(path) == bytes) continue;
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            out.close();
            if (!out) throw GameError("地図のファイル「" + path + "」を書けません");
        }
    }
}

}  // namespace kisharin::databuilder

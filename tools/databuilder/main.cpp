// kisharin-databuilder <open data folder> <data folder>
// Builds the game's railway network and the railway maps of the 47 prefectures from the
// open data and writes data/GameData and data/MapData.
#include <algorithm>
#include <chrono>
#include <iostream>

#include "databuilder/game_files.h"
#include "databuilder/map_files.h"
#include "databuilder/network.h"
#include "databuilder/open_data.h"
#include "state/error.h"

namespace {

using Clock = std::chrono::steady_clock;

long long msSince(Clock::time_point t) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t).count();
}

void reportNetwork(const kisharin::databuilder::NetworkStats& s) {
    std::cout << "路線 " << s.railwayLines + s.airRoutes << "（鉄道 " << s.railwayLines << "、飛行機 "
              << s.airRoutes << "、区間に分けた路線 " << s.splitLines << "）\n"
              << "駅 " << s.railwayStations << "（異なる駅 " << s.places << "）、空港 " << s.airportStations
              << "\n"
              << "乗り換え（組）：同じ駅 " << s.sameStationLinks << "、徒歩 " << s.walkingLinks << "（駅の組 "
              << s.walkingPlacePairs << "）、空港と駅 " << s.airportRailLinks << "、同じ空港 "
              << s.sameAirportLinks << "\n"
              << "競馬・競艇・競輪の印 " << s.markers << "\n"
              << "絵ごとの路線：";
    for (int p = 1; p <= 8; ++p)
        std::cout << (p > 1 ? "、" : "") << p << ":" << s.pictures[static_cast<size_t>(p)];
    std::cout << "\nCP932 に置き換えた文字 " << s.mappedChars << "\n";
}

void reportMaps(const std::vector<kisharin::databuilder::PrefectureMap>& maps) {
    struct Size {
        std::string name;
        size_t bytes = 0, vertices = 0, labels = 0;
    };
    std::vector<Size> sizes;
    size_t files = 0, bytes = 0, boundary = 0, tracks = 0, platforms = 0, labels = 0, vertices = 0,
           straight = 0;
    for (const auto& m : maps) {
        Size s{m.name};
        for (const auto& [file, b] : kisharin::databuilder::mapFileBytes(m)) {
            ++files;
            s.bytes += b.size();
        }
        for (const auto* set : {&m.boundary, &m.tracks, &m.platforms})
            for (const auto& k : *set) s.vertices += k.points.size();
        s.labels = m.labels.size();
        bytes += s.bytes;
        vertices += s.vertices;
        boundary += m.boundary.size();
        tracks += m.tracks.size();
        platforms += m.platforms.size();
        straight += static_cast<size_t>(m.straightPlatforms);
        labels += m.labels.size();
        sizes.push_back(s);
    }
    std::cout << "路線図 " << maps.size() << " 都道府県、ファイル " << files << "、" << bytes << " バイト\n"
              << "折れ線：県境 " << boundary << "、線路 " << tracks << "、ホーム " << platforms
              << "（うち線路から離れた駅 " << straight << "）、頂点 " << vertices << "、駅名 " << labels
              << "\n";
    auto largest = [&](const char* what, auto key) {
        std::sort(sizes.begin(), sizes.end(), [&](const Size& a, const Size& b) { return key(a) > key(b); });
        std::cout << what;
        for (size_t i = 0; i < 3 && i < sizes.size(); ++i)
            std::cout << (i ? "、" : "") << sizes[i].name << " " << key(sizes[i]);
        std::cout << "\n";
    };
    largest("大きい順（バイト）：", [](const Size& s) { return s.bytes; });
    largest("大きい順（頂点）：", [](const Size& s) { return s.vertices; });
    largest("大きい順（駅名）：", [](const Size& s) { return s.labels; });
}

}  // namespace

int main(int argc, char** argv) {
    using namespace kisharin::databuilder;
    if (argc != 3) {
        std::cerr << "使い方：kisharin-databuilder <オープンデータのフォルダ> <データのフォルダ>\n";
        return 2;
    }
    try {
        const auto start = Clock::now();
        const OpenData open = readOpenData(argv[1]);
        const Network net = buildNetwork(open);
        writeGameData(net, argv[2]);
        const long long railwayMs = msSince(start);
        reportNetwork(net.stats);

        const auto mapStart = Clock::now();
        const std::vector<PrefectureMap> maps = buildMaps(open, net, readMapOpenData(argv[1]));
        const long long mapMs = msSince(mapStart);
        const auto writeStart = Clock::now();
        writeMapData(maps, argv[2]);
        const long long writeMs = msSince(writeStart);
        reportMaps(maps);
        std::cout << "時間：鉄道 " << railwayMs << " ms（書き込みまで）、路線図 " << mapMs
                  << " ms、路線図の書き込み " << writeMs << " ms\n";
    } catch (const kisharin::GameError& e) {
        std::cerr << "kisharin-databuilder: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

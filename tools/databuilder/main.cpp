// kisharin-databuilder <open data folder> <data folder>
// Builds the game's railway network from the open data and writes data/GameData.
#include <chrono>
#include <iostream>

#include "databuilder/game_files.h"
#include "databuilder/network.h"
#include "databuilder/open_data.h"
#include "state/error.h"

int main(int argc, char** argv) {
    using namespace kisharin::databuilder;
    if (argc != 3) {
        std::cerr << "使い方：kisharin-databuilder <オープンデータのフォルダ> <データのフォルダ>\n";
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    try {
        const OpenData open = readOpenData(argv[1]);
        const Network net = buildNetwork(open);
        writeGameData(net, argv[2]);
        const NetworkStats& s = net.stats;
        const auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
                .count();
        std::cout << "路線 " << s.railwayLines + s.airRoutes << "（鉄道 " << s.railwayLines << "、飛行機 "
                  << s.airRoutes << "、区間に分けた路線 " << s.splitLines << "）\n"
                  << "駅 " << s.railwayStations << "（異なる駅 " << s.places << "）、空港 "
                  << s.airportStations << "\n"
                  << "乗り換え（組）：同じ駅 " << s.sameStationLinks << "、徒歩 " << s.walkingLinks
                  << "（駅の組 " << s.walkingPlacePairs << "）、空港と駅 " << s.airportRailLinks
                  << "、同じ空港 " << s.sameAirportLinks << "\n"
                  << "競馬・競艇・競輪の印 " << s.markers << "\n"
                  << "絵ごとの路線：";
        for (int p = 1; p <= 8; ++p)
            std::cout << (p > 1 ? "、" : "") << p << ":" << s.pictures[static_cast<size_t>(p)];
        std::cout << "\nCP932 に置き換えた文字 " << s.mappedChars << "\n"
                  << "時間 " << ms << " ms\n";
    } catch (const kisharin::GameError& e) {
        std::cerr << "kisharin-databuilder: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

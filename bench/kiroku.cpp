// The conquest record with both histories full (every station of the shipped railway
// reached by both players): opening the window (reading the station file or taking the
// board's tables, both histories, the figures, the lists and the first painting of the
// whole window), computing the figures alone, redrawing the map of Japan in full (not
// the kept picture) and opening a prefecture's railway map.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <memory>

#include "board/station_file.h"
#include "maps/picker.h"
#include "platform/temp_folder.h"
#include "platform/text_file.h"
#include "qt_bench.h"
#include "screens/frmKiroku.h"
#include "state/railway.h"

using namespace kisharin;

namespace {

const std::string kData = std::string(KISHARIN_SHIPPED_DATA_DIR) + "/";
const std::array<std::string, 2> kNames{"ひかり", "のぞみ"};

// A scratch folder with both histories full, removed at the end.
struct FullHistories {
    TempFolder folder{"kisharin-bench-"};
    std::string dir = folder.path();
    RailwayData railway;
    FullHistories() {
        railway = readStationFile(kData + "GameData/駅.txt");
        std::string bytes;
        for (int line = 1; line <= lineCount(railway); ++line)
            for (int pos = 1; pos <= stationCount(railway, line); ++pos)
                bytes += std::to_string(line) + " " + std::to_string(pos) + "\r\n";
        writeBytesAtomic(dir + "履歴0.txt", bytes);
        writeBytesAtomic(dir + "履歴1.txt", bytes);
    }
    std::string base() const { return dir + "履歴"; }
};

const FullHistories& full() {
    static const FullHistories f;
    return f;
}

void openAndPaint(const RailwayData* railway) {
    std::unique_ptr<FrmKiroku> w(FrmKiroku::create(kData, full().base(), kNames, railway, nullptr));
    if (!w) std::abort();
    const QPixmap first = w->grab();
    benchmark::DoNotOptimize(first.cacheKey());
}

// From the setup window: the station file is read as well.
void BM_KirokuOpenReadingStationFile(benchmark::State& state) {
    full();
    for (auto _ : state) openAndPaint(nullptr);
}
BENCHMARK(BM_KirokuOpenReadingStationFile)->Unit(benchmark::kMillisecond);

// From the board or the results: the board's railway tables are there.
void BM_KirokuOpenWithBoardRailway(benchmark::State& state) {
    for (auto _ : state) openAndPaint(&full().railway);
}
BENCHMARK(BM_KirokuOpenWithBoardRailway)->Unit(benchmark::kMillisecond);

void BM_ConquestFigures(benchmark::State& state) {
    const ConquestInputs in = readConquestHistories(full().railway, full().base());
    for (auto _ : state) {
        const ConquestRecord r = conquestRecord(in.railway, in.visited[0], in.visited[1]);
        benchmark::DoNotOptimize(r.all.stations.total);
    }
}
BENCHMARK(BM_ConquestFigures)->Unit(benchmark::kMillisecond);

// The whole map of Japan with its legend, as a change of player redraws it.
void BM_JapanMapRedraw(benchmark::State& state) {
    std::unique_ptr<FrmKiroku> w(FrmKiroku::create(kData, full().base(), kNames, &full().railway, nullptr));
    QImage image(kPickerWidth, kPickerHeight, QImage::Format_RGB32);
    int who = 0;
    for (auto _ : state) {
        w->japan()->setWho(who = (who + 1) % 3);
        QPainter p(&image);
        w->japan()->paintAll(p);
    }
}
BENCHMARK(BM_JapanMapRedraw)->Unit(benchmark::kMillisecond);

// A click on 東京都: its map files read, drawn with the reached stations and tracks.
void BM_PrefectureDetail(benchmark::State& state) {
    std::unique_ptr<FrmKiroku> w(FrmKiroku::create(kData, full().base(), kNames, &full().railway, nullptr));
    for (auto _ : state) w->openPrefecture(13);
}
BENCHMARK(BM_PrefectureDetail)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return kisharin::runWindowBenchmarks(argc, argv);
}

// Reading the railway network: the station file reader beside plain reading and
// decoding of the same bytes, on a file of the full size (600 lines, about 9,000
// stations). The shipped file is used when it exists, a generated one otherwise.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "board/station_file.h"
#include "platform/text_file.h"
#include "state/railway.h"

namespace {

using namespace kisharin;

std::string generatedFile() {
    RailwayData d;
    const char* prefs[] = {"北海道", "東京都", "大阪府", "福岡県", "宮城県", "愛知県"};
    for (int l = 1; l <= 600; ++l) {
        d.ekiLink(l, 0) = std::to_string(l);
        d.ekiName(l, 0) = "ＪＲ第" + std::to_string(l) + "本線（テスト区間）";
        d.ekiYomi(l, 0) = "じぇいあーるだい" + std::to_string(l) + "ほんせん";
        d.ekiPref(l, 0) = "2\\0\\128\\255\\0\\0";
        const int n = 5 + (l * 7) % 21;  // 5..25 stations, 15 on average
        for (int p = 1; p <= n; ++p) {
            d.ekiName(l, p) = "駅名" + std::to_string(l) + "の" + std::to_string(p) + "番目";
            d.ekiYomi(l, p) = "えきめいの" + std::to_string(p) + "ばんめ";
            d.ekiPref(l, p) = prefs[(l + p) % 6];
            if (p % 4 == 0) d.ekiLink(l, p) = std::to_string(l % 600 + 1) + "\\1;" + std::to_string((l + 3) % 600 + 1) + "\\2";
            if (p % 50 == 0) d.ekiMark(l, p) = "競馬";
        }
    }
    return formatStationFile(d, "路線番号\t駅名");
}

const std::string& fileBytes() {
    static const std::string bytes = [] {
        const std::string shipped = std::string(KISHARIN_SHIPPED_DATA_DIR) + "/GameData/駅.txt";
        if (fileExists(shipped)) {
            std::fprintf(stderr, "station file: the shipped %s\n", shipped.c_str());
            return readFileBytes(shipped);
        }
        std::fprintf(stderr, "station file: generated (600 lines)\n");
        return generatedFile();
    }();
    return bytes;
}

void BM_ReadStationFile(benchmark::State& state) {
    const std::string& bytes = fileBytes();
    int stations = 0;
    for (auto _ : state) {
        RailwayData d = parseStationFile(bytes, "駅.txt");
        stations = 0;
        for (int l = 1, n = lineCount(d); l <= n; ++l) stations += stationCount(d, l);
        benchmark::DoNotOptimize(stations);
    }
    state.counters["stations"] = stations;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_ReadStationFile)->Unit(benchmark::kMillisecond);

// The floor: the same bytes split into lines and decoded from CP932, nothing stored.
void BM_DecodeLinesOnly(benchmark::State& state) {
    const std::string& bytes = fileBytes();
    for (auto _ : state) {
        std::vector<std::string> lines = decodeLines(bytes, "駅.txt");
        benchmark::DoNotOptimize(lines.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_DecodeLinesOnly)->Unit(benchmark::kMillisecond);

// What the reader pays before reading a byte: the five empty tables of 751 x 101 texts.
void BM_EmptyTables(benchmark::State& state) {
    for (auto _ : state) {
        RailwayData d;
        benchmark::DoNotOptimize(&d);
    }
}
BENCHMARK(BM_EmptyTables)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

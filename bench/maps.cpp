// The railway maps on the shipped map data: reading the six files of the largest
// prefecture, and drawing the prefecture with the most polyline vertices and the one
// with the most station labels on the smallest (600 px) and the largest (2600 px)
// canvas, labels and their thinning included. The label thinning alone, fast and
// pairwise, on the labels of the busiest prefecture.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "board/text_metrics.h"
#include "maps/map_data.h"
#include "maps/map_view.h"
#include "maps/picker.h"

namespace {

using namespace kisharin;

const std::string kDir = std::string(KISHARIN_SHIPPED_DATA_DIR) + "/MapData/";

struct Picks {
    std::string largest, mostVertices, mostLabels;
};

// The prefectures to measure, found once from the shipped data.
const Picks& picks() {
    static const Picks p = [] {
        Picks out;
        std::uintmax_t bytes = 0;
        size_t vertices = 0, labels = 0;
        for (int code = 1; code <= kPrefCount; ++code) {
            const std::string pref = prefectureCaption(code);
            std::uintmax_t size = 0;
            for (const char* f : kMapFiles) size += std::filesystem::file_size(kDir + pref + "/" + f);
            const MapData d = データ読込(kDir, pref);
            if (size > bytes) bytes = size, out.largest = pref;
            if (d.vertexCount() > vertices) vertices = d.vertexCount(), out.mostVertices = pref;
            if (d.sameStation.size() > labels) labels = d.sameStation.size(), out.mostLabels = pref;
        }
        return out;
    }();
    return p;
}

void BM_LoadLargest(benchmark::State& state) {
    const std::string pref = picks().largest;
    size_t n = 0;
    for (auto _ : state) {
        MapData d = データ読込(kDir, pref);
        n = d.vertexCount();
        benchmark::DoNotOptimize(d);
    }
    state.SetLabel(pref + " " + std::to_string(n) + " vertices");
}
BENCHMARK(BM_LoadLargest)->Unit(benchmark::kMillisecond);

void drawBench(benchmark::State& state, const std::string& pref) {
    const MapData d = データ読込(kDir, pref);
    const MapView v = 座標設定(d.boundW, d.boundE, d.boundS, d.boundN);
    const int size = 600 + 200 * static_cast<int>(state.range(0));
    GameState s;
    size_t shown = 0;
    for (auto _ : state) {
        MapPicture pic = 描画(d, v, size, size, s, fixedTextMetrics());
        shown = 0;
        for (const auto& l : pic.labels) shown += l.visible;
        benchmark::DoNotOptimize(pic);
    }
    state.SetLabel(pref + " " + std::to_string(d.vertexCount()) + " vertices, " +
                   std::to_string(d.sameStation.size()) + " labels, " + std::to_string(shown) + " shown");
}

void BM_DrawMostVertices(benchmark::State& state) {
    drawBench(state, picks().mostVertices);
}
void BM_DrawMostLabels(benchmark::State& state) {
    drawBench(state, picks().mostLabels);
}
BENCHMARK(BM_DrawMostVertices)->Arg(0)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawMostLabels)->Arg(0)->Arg(10)->Unit(benchmark::kMillisecond);

// Thinning alone: the grid against comparing every pair, on the same labels.
void thinBench(benchmark::State& state, void (*thin)(std::vector<MapLabel>&)) {
    const MapData d = データ読込(kDir, picks().mostLabels);
    const MapView v = 座標設定(d.boundW, d.boundE, d.boundS, d.boundN);
    MapPicture pic;
    駅描画(d, CanvasScale{v, 600, 600}, fixedTextMetrics(), pic);
    for (auto _ : state) {
        auto labels = pic.labels;
        thin(labels);
        benchmark::DoNotOptimize(labels);
    }
}
void BM_ThinGrid(benchmark::State& state) {
    thinBench(state, 駅非重);
}
void BM_ThinPairwise(benchmark::State& state) {
    thinBench(state, 駅非重_総当たり);
}
BENCHMARK(BM_ThinGrid)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ThinPairwise)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

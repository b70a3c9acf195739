#include <benchmark/benchmark.h>

#include "snapping/RoriDeru.hpp"

namespace {

using tilmora::Rect;
using tilmora::RoriDeru;

const Rect retinaVisible{0, 0, 5120, 2855};

// The rectangle of every snap kind on a 5120x2880 screen, gap settings read from the user defaults
// on every call as the snap command does.
void BM_RectOfEveryKind(benchmark::State& state) {
    auto& grid = RoriDeru::shared();
    for (auto _ : state) {
        for (auto kind : tilmora::allSnapIconKinds) {
            benchmark::DoNotOptimize(grid.computeRectForVisible(kind, retinaVisible));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(tilmora::snapIconKindCount));
}
BENCHMARK(BM_RectOfEveryKind)->Unit(benchmark::kMicrosecond);

// Laying out an 8x8 preset on the same screen and hit-testing a window against its tiles.
void BM_LayoutAndPick8x8(benchmark::State& state) {
    auto& grid = RoriDeru::shared();
    const RoriDeru::Preset preset(8, 8, 6, 4);
    const Rect window{2000, 1100, 700, 420};
    for (auto _ : state) {
        const auto tiles = grid.tiles(retinaVisible, 2, 1, preset);
        const auto picked = RoriDeru::pickSnapTile(window, tiles, 16);
        benchmark::DoNotOptimize(picked);
        if (picked) benchmark::DoNotOptimize(RoriDeru::rowCol(*picked, tiles, preset.cols));
    }
}
BENCHMARK(BM_LayoutAndPick8x8)->Unit(benchmark::kMicrosecond);

} // namespace

#include <benchmark/benchmark.h>

#include "BenchSandbox.hpp"

#include "platform/control/FoldersControl.hpp"
#include "platform/control/SharedInstances.hpp"
#include "platform/control/SimDesktop.hpp"
#include "platform/control/SimScheduler.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "platform/dispatch/Runtime.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "snapping/RoriDeru.hpp"
#include "snapping/SystemOverlayWindow.hpp"

#include <filesystem>
#include <memory>
#include <vector>

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

/// The simulated runtime with a 5120 x 2880 display, fresh folders and defaults, verbose logging
/// off (the drag tick's usual state).
platform::NSScreen setUpRetinaDesktop() {
    benchsupport::simulatedSandbox("tilmora-bench-overlays");
    benchsupport::addDisplay(1, "Studio", {0, 0, 5120, 2880}, {0, 0, 5120, 2855});
    platform::UserDefaults::standard().set(false, "WMVerboseLogging");
    return platform::NSScreen::screens().front();
}

// One highlight step of the drag tick with six overlays up: the tile under the drag highlighted on
// one overlay and the highlights of all six hidden, the tile moving across the screen.
void BM_HighlightAndHideSixOverlays(benchmark::State& state) {
    const auto screen = setUpRetinaDesktop();
    std::vector<std::shared_ptr<tilmora::SystemOverlayWindow>> overlays;
    for (int i = 0; i < 6; ++i)
        overlays.push_back(std::make_shared<tilmora::SystemOverlayWindow>(screen));
    double x = 0;
    for (auto _ : state) {
        x = x >= 4480 ? 0 : x + 37;
        for (const auto& overlay : overlays)
            overlay->hideHighlight();
        overlays[static_cast<std::size_t>(x) % 6]->setHighlight(Rect{x, 700, 640, 360});
    }
    overlays.clear();
    platform::SharedInstances::resetAll();
}
BENCHMARK(BM_HighlightAndHideSixOverlays)->Unit(benchmark::kMicrosecond);

// Showing an 8x8 preset on a display whose overlay exists (the drag's once-per-drag show), with
// verbose logging off; the main queue's re-ordering blocks are drained every 64 shows.
void BM_ShowOverlay8x8(benchmark::State& state) {
    const auto screen = setUpRetinaDesktop();
    auto& grid = RoriDeru::shared();
    const RoriDeru::Preset preset(8, 8, 6, 4);
    grid.showOverlay(screen, preset, true, false, std::nullopt);
    int shows = 0;
    for (auto _ : state) {
        grid.showOverlay(screen, preset, true, false, std::nullopt);
        if (++shows % 64 == 0) platform::SimScheduler::shared().drainMainQueue();
    }
    platform::SimScheduler::shared().drainMainQueue();
    platform::SharedInstances::resetAll();
}
BENCHMARK(BM_ShowOverlay8x8)->Unit(benchmark::kMicrosecond);

} // namespace

#include <benchmark/benchmark.h>

#include "snapshots/DisplayMapping.hpp"
#include "snapshots/ScreenResolution.hpp"
#include "snapshots/SavedDisplayIdentity.hpp"
#include "snapshots/SmartFitPlacement.hpp"

#include "platform/control/DesktopSpecs.hpp"
#include "platform/control/SimDesktop.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "platform/dispatch/Runtime.hpp"

#include <vector>

namespace {

using namespace tilmora;

// Four displays in a row and 300 rows spread over five saved displays, one of them gone (fitted
// onto display 1) and one whose number moved.
struct Scene {
    std::vector<WindowValue> rows;
    WindowManager::ScreenRemap remap{{9, {1, WindowManager::RemapMode::smartFit}}};

    Scene() {
        platform::Runtime::start(platform::Runtime::Mode::real);
        auto& desk = platform::SimDesktop::shared();
        desk.useLaptop();
        for (std::uint32_t id = 2; id <= 4; ++id) {
            platform::DisplaySpec spec;
            spec.displayID = id;
            spec.name = "Display " + std::to_string(id);
            spec.frame = {1440.0 + 1920.0 * (id - 2), 0, 1920, 1080};
            spec.vendor = 100 + id;
            desk.addDisplay(spec);
        }
        const std::uint32_t saved[] = {1, 2, 3, 5, 9};
        for (int i = 0; i < 300; ++i) {
            const std::uint32_t display = saved[i % 5];
            WindowValue row;
            row.bundleIdentifier = "com.example.app" + std::to_string(i % 20);
            row.windowTitle = "Window " + std::to_string(i);
            row.screenUUID = WindowManager::packScreenUUID(display, 0);
            row.windowID = WindowManager::packWindowID(1440.0 + 1920.0 * (display - 2), 0);
            row.originalScreenWidth = 1920;
            row.originalScreenHeight = 1055;
            row.xPosition = (i * 37) % 1200;
            row.yPosition = (i * 23) % 600;
            row.width = 600;
            row.height = 400;
            row.rowID = i + 1;
            rows.push_back(row);
        }
    }
};

const Scene& scene() {
    static const Scene made;
    return made;
}

// The planning steps of a restore over 300 rows and 4 screens, verbose logging off: automatic
// mapping, swap test, resolution of every row, smart fit and the plan log. Part of the restore's
// 10 ms planning budget.
void BM_PlanRestoreOf300Rows(benchmark::State& state) {
    const auto& s = scene();
    for (auto _ : state) {
        const auto screens = platform::NSScreen::screens();
        benchmark::DoNotOptimize(WindowManager::automaticDisplayMapping(s.rows, screens));
        benchmark::DoNotOptimize(WindowManager::detectDisplayIdSwap(s.rows, screens));
        for (const auto& row : s.rows)
            benchmark::DoNotOptimize(WindowManager::resolveScreenWithReason(row, screens));
        benchmark::DoNotOptimize(WindowManager::precomputeSmartFitRects(s.rows, s.remap));
        WindowManager::logRestorePlanGroupedByDisplay(s.rows, screens, s.remap);
    }
}
BENCHMARK(BM_PlanRestoreOf300Rows)->Unit(benchmark::kMicrosecond);

} // namespace

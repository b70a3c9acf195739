#include <benchmark/benchmark.h>

#include "BenchSandbox.hpp"

#include "snapshots/AppRestoreContext.hpp"
#include "snapshots/RestorePlan.hpp"
#include "snapshots/RestoreTarget.hpp"
#include "snapshots/SavedDisplayIdentity.hpp"

#include "platform/control/DesktopSpecs.hpp"
#include "platform/control/SharedInstances.hpp"
#include "platform/control/SimDesktop.hpp"
#include "platform/desktop/NSScreen.hpp"

#include <string>
#include <vector>

namespace {

using namespace tilmora;

// The laptop with an external display, `count` saved rows of 20 applications spread over both
// displays, and those 20 applications running with `count` live windows between them.
SnapshotValue sceneOf(long count) {
    benchsupport::sandbox();
    platform::SharedInstances::resetAll();
    auto& desk = platform::SimDesktop::shared();
    desk.useLaptopWithExternal();
    SnapshotValue snapshot;
    std::vector<std::vector<platform::WindowSpec>> live(20);
    for (long i = 0; i < count; ++i) {
        const bool external = i % 2 == 1;
        WindowValue row;
        row.bundleIdentifier = "com.example.app" + std::to_string(i % 20);
        row.windowTitle = "Window " + std::to_string(i);
        row.screenUUID = WindowManager::packScreenUUID(external ? 2 : 1, 0);
        row.windowID = WindowManager::packWindowID(external ? 1440 : 0, 0);
        row.originalScreenWidth = external ? 1920 : 1440;
        row.originalScreenHeight = external ? 1055 : 875;
        row.xPosition = static_cast<double>((i * 37) % 700);
        row.yPosition = static_cast<double>((i * 23) % 400);
        row.width = 600;
        row.height = 400;
        row.rowID = i + 1;
        snapshot.windows.push_back(row);

        platform::WindowSpec window;
        window.title = "Window " + std::to_string(i);
        window.frame = {double((i * 13) % 800), double((i * 7) % 400), 500, 350};
        live[static_cast<std::size_t>(i % 20)].push_back(window);
    }
    for (int a = 0; a < 20; ++a) {
        platform::AppSpec app;
        app.bundleIdentifier = "com.example.app" + std::to_string(a);
        desk.run(app, live[static_cast<std::size_t>(a)]);
    }
    snapshot.name = "Bench";
    snapshot.scope = 1;
    return snapshot;
}

// The restore planning (swap test, placements, smart fit, grouping) and the target choice of every
// row, for `count` saved rows with every display present. The time per row should stay flat.
void BM_PlanRestore(benchmark::State& state) {
    const SnapshotValue snapshot = sceneOf(state.range(0));
    const WindowManager::ScreenRemap remap;
    for (auto _ : state) {
        const auto screens = platform::NSScreen::screens();
        const auto plan = WindowManager::planRestore(snapshot, snapshot.windows, remap, screens);
        WindowManager::AppRestoreContext context;
        context.placementsByRow = plan.placementsByRow;
        context.smartFitRects = plan.smartFitRects;
        for (const auto& [bundle, rows] : plan.groups)
            for (const auto& row : rows)
                benchmark::DoNotOptimize(WindowManager::RestoreTarget::choose(row, context, screens));
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_PlanRestore)->Arg(30)->Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace

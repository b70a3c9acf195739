#include <benchmark/benchmark.h>

#include "BenchSandbox.hpp"

#include "snapshots/AppRestoreContext.hpp"
#include "snapshots/RestorePlan.hpp"
#include "snapshots/RestoreTarget.hpp"
#include "snapshots/SavedDisplayIdentity.hpp"
#include "windows/AXWindowReader.hpp"
#include "windows/AXWindowTracker.hpp"

#include "platform/control/DesktopSpecs.hpp"
#include "platform/control/SharedInstances.hpp"
#include "platform/control/SimDesktop.hpp"
#include "platform/desktop/NSRunningApplication.hpp"
#include "platform/desktop/NSScreen.hpp"

#include <string>
#include <vector>

namespace {

using namespace tilmora;

// Saved row `i` of a bench snapshot: 20 applications, every other row on the external display.
WindowValue savedRow(long i) {
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
    return row;
}

// Live window `i`, titled like saved row `i`.
platform::WindowSpec liveWindow(long i) {
    platform::WindowSpec live;
    live.title = "Window " + std::to_string(i);
    live.frame = {double((i * 13) % 800), double((i * 7) % 400), 500, 350};
    return live;
}

// The restore worker's planning for `snapshot` with every display present (swap test, engine
// placements, plan log, smart fit, grouping) plus the target choice of every row.
void planAndChooseTargets(const SnapshotValue& snapshot) {
    const WindowManager::ScreenRemap remap;
    const auto screens = platform::NSScreen::screens();
    const auto plan = WindowManager::planRestore(snapshot, snapshot.windows, remap, screens);
    WindowManager::AppRestoreContext context;
    context.placementsByRow = plan.placementsByRow;
    context.smartFitRects = plan.smartFitRects;
    for (const auto& [bundle, rows] : plan.groups)
        for (const auto& row : rows)
            benchmark::DoNotOptimize(WindowManager::RestoreTarget::choose(row, context, screens));
}

// The laptop with an external display, 300 saved rows of 20 applications spread over both
// displays (all present), and one application with 300 live windows.
struct Scene {
    SnapshotValue snapshot;
    pid_t pid = 0;

    Scene() {
        benchsupport::sandbox();
        auto& desk = platform::SimDesktop::shared();
        desk.useLaptopWithExternal();
        std::vector<platform::WindowSpec> windows;
        for (int i = 0; i < 300; ++i) {
            snapshot.windows.push_back(savedRow(i));
            windows.push_back(liveWindow(i));
        }
        snapshot.name = "Bench";
        snapshot.scope = 1;
        platform::AppSpec app;
        app.bundleIdentifier = "com.example.live";
        pid = desk.run(app, windows);
    }
};

const Scene& scene() {
    static const Scene made;
    return made;
}

// The restore worker's own work up to the fan-out for 300 rows with every display present (swap
// test, engine placements, plan log, smart fit, grouping) plus the target choice of every row,
// verbose logging off. The screen list's settle wait of the remap is a wait, not work, and is left
// out. Budget: 10 ms.
void BM_PlanAndTargetsOf300Rows(benchmark::State& state) {
    const auto& s = scene();
    for (auto _ : state)
        planAndChooseTargets(s.snapshot);
}
BENCHMARK(BM_PlanAndTargetsOf300Rows)->Unit(benchmark::kMillisecond);

// One pick of the live window for a saved row among 300 live windows of one application.
void BM_PickOneOf300Windows(benchmark::State& state) {
    const auto& s = scene();
    const platform::NSRunningApplication app(s.pid);
    const auto windows = WindowManager::fetchAXWindows(app, 300, 0, std::string("com.example.live"));
    const auto screen = platform::NSScreen::screens().front();
    for (auto _ : state) {
        WindowManager::AXWindowTracker tracker;
        benchmark::DoNotOptimize(WindowManager::pickBestAXWindow(app, windows, tracker, {100, 100, 600, 400}, screen,
                                                                 "Window 150", std::nullopt));
    }
}
BENCHMARK(BM_PickOneOf300Windows)->Unit(benchmark::kMicrosecond);

// The planning and target choice for `count` saved rows, the 20 applications running with `count`
// live windows between them (on a desktop of its own, so it runs after the benchmarks of the shared
// scene). The time per row should stay flat.
void BM_PlanRestore(benchmark::State& state) {
    const long count = state.range(0);
    benchsupport::sandbox();
    platform::SharedInstances::resetAll();
    auto& desk = platform::SimDesktop::shared();
    desk.useLaptopWithExternal();
    SnapshotValue snapshot;
    snapshot.name = "Bench";
    snapshot.scope = 1;
    std::vector<std::vector<platform::WindowSpec>> live(20);
    for (long i = 0; i < count; ++i) {
        snapshot.windows.push_back(savedRow(i));
        live[static_cast<std::size_t>(i % 20)].push_back(liveWindow(i));
    }
    for (int a = 0; a < 20; ++a) {
        platform::AppSpec app;
        app.bundleIdentifier = "com.example.app" + std::to_string(a);
        desk.run(app, live[static_cast<std::size_t>(a)]);
    }
    for (auto _ : state)
        planAndChooseTargets(snapshot);
    state.SetComplexityN(count);
}
BENCHMARK(BM_PlanRestore)->Arg(30)->Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace

#include <benchmark/benchmark.h>

#include "BenchSandbox.hpp"

#include "platform/control/FoldersControl.hpp"
#include "platform/control/SharedInstances.hpp"
#include "platform/control/SimDesktop.hpp"
#include "platform/control/SimInput.hpp"
#include "platform/control/SimScheduler.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "platform/dispatch/Runtime.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/input/NSEvent.hpp"
#include "snapping/DragSession.hpp"
#include "snapping/RoriDeru.hpp"
#include "support/SnapGridParts.hpp"

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <string>

// Heap allocations made by this program, counted by the replaced global allocation functions so a
// benchmark can report how many its measured call made.
namespace {
std::atomic<long> allocationCount{0};
}

void* operator new(std::size_t size) {
    allocationCount.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return ::operator new(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

using tilmora::RoriDeru;
using tilmora::SnapGridParts;

/// `displays` displays of 1440 x 900 side by side, Notes frontmost with one window on the first,
/// verbose logging off, and on every display a shown overlay of a `rows` x `rows` grid preset
/// marked in the menu (the grid pinned). Simulated runtime, fresh folders.
void setUpDesktop(int displays, int rows) {
    benchsupport::simulatedSandbox("tilmora-bench-drag");
    auto& desktop = platform::SimDesktop::shared();
    for (int i = 0; i < displays; ++i) {
        benchsupport::addDisplay(static_cast<std::uint32_t>(i + 1), "Display " + std::to_string(i + 1),
                                 {1440.0 * i, 0, 1440, 900}, {1440.0 * i, 0, 1440, 875});
    }
    platform::WindowSpec window;
    window.title = "Todo";
    window.frame = {100, 300, 400, 300};
    platform::AppSpec notes;
    notes.bundleIdentifier = "com.example.notes";
    notes.localizedName = "Notes";
    const pid_t pid = desktop.run(notes, {window});
    desktop.setFrontmost(pid);
    platform::UserDefaults::standard().set(std::getenv("BENCH_VERBOSE") != nullptr, "WMVerboseLogging");
    platform::UserDefaults::standard().set(std::getenv("BENCH_VERBOSE") != nullptr, "WMOverlayDebug");
    platform::UserDefaults::standard().set(false, "WMLiveResizeDuringDrag");

    auto& grid = RoriDeru::shared();
    const RoriDeru::Preset preset(rows, rows, 4, 4);
    auto& marking = SnapGridParts::presetMarking(grid);
    auto marks = marking.state();
    marks.inMenu = true;
    marking.restore(marks);
    for (const auto& screen : platform::NSScreen::screens())
        grid.showOverlay(screen, preset, true, true, std::nullopt);
    platform::SimScheduler::shared().drainMainQueue();
}

/// A drag in progress: the session started at the window's title bar and the pointer is past
/// the 12-point threshold.
void beginDrag() {
    auto& grid = RoriDeru::shared();
    platform::SimInput::shared().moveMouse({300, 590});
    auto& session = SnapGridParts::dragSession(grid);
    auto fields = session.state();
    fields.isDragging = true;
    fields.dragStartMouseLocation = platform::CGPoint{300, 590};
    fields.dragStartWindowRect = grid.frontmostWindowAppKitRect();
    fields.dragExceededThreshold = true;
    session.restore(fields);
}

void tearDown() {
    platform::SimScheduler::shared().drainMainQueue();
    platform::SharedInstances::resetAll();
}

// One tick of the drag timer while the pointer and the window travel across every display: the
// pointer's screen, the overlay under it, the hit test with hysteresis and the highlight. Arguments:
// displays, grid rows (rows x rows tiles per overlay).
void BM_DragTick(benchmark::State& state) {
    const int displays = static_cast<int>(state.range(0));
    setUpDesktop(displays, static_cast<int>(state.range(1)));
    beginDrag();
    auto& session = SnapGridParts::dragSession(RoriDeru::shared());
    auto& desktop = platform::SimDesktop::shared();
    const auto window = desktop.windowsOf(desktop.frontmost()).front().number;
    const double width = 1440.0 * displays;
    double x = 0;
    for (auto _ : state) {
        state.PauseTiming();
        x = x + 53 >= width - 400 ? 0 : x + 53;
        desktop.setWindowFrame(window, {x, 300, 400, 300});
        platform::SimInput::shared().moveMouse({x + 200, 590});
        state.ResumeTiming();
        session.tick();
    }
    // The ticks must have reached the hit test, not an early exit.
    if (session.tiles().lastTileForScreen.empty()) state.SkipWithError("the tick highlighted no tile");
    tearDown();
}
BENCHMARK(BM_DragTick)
    ->Args({6, 8})
    ->Args({1, 8})
    ->Args({3, 8})
    ->Args({6, 2})
    ->Args({6, 4})
    ->Unit(benchmark::kMicrosecond);

// The platform calls one tick makes, on their own: the target window's frame through
// Accessibility, the screen list and the defaults the tick reads.
void BM_DragTickPlatformCalls(benchmark::State& state) {
    setUpDesktop(6, 8);
    auto& grid = RoriDeru::shared();
    auto& defaults = platform::UserDefaults::standard();
    for (auto _ : state) {
        benchmark::DoNotOptimize(grid.frontmostWindowAppKitRect());
        benchmark::DoNotOptimize(platform::NSScreen::screens());
        benchmark::DoNotOptimize(defaults.boolForKey("WMVerboseLogging"));
        benchmark::DoNotOptimize(defaults.boolForKey("WMOverlayDebug"));
        benchmark::DoNotOptimize(defaults.boolForKey("WMGridAllDisplays"));
    }
    tearDown();
}
BENCHMARK(BM_DragTickPlatformCalls)->Unit(benchmark::kMicrosecond);

// A dragged event reaching the handler in the three states that answer at once: a session already
// running, snapping off, and Option required but not held. Counts the heap allocations per event
// (the "allocs/event" counter); the first event of a session, which starts the timer, is not timed.
void BM_DraggedEventHandled(benchmark::State& state) {
    setUpDesktop(1, 2);
    auto& grid = RoriDeru::shared();
    auto& session = SnapGridParts::dragSession(grid);
    const auto variant = state.range(0);
    if (variant == 0) {
        session.handleDragged(platform::NSEvent::mouseEvent(platform::EventType::leftMouseDragged,
                                                            {300, 590}, {}, 0, 0, 1));
    } else if (variant == 1) {
        {
            auto switches = SnapGridParts::switches(grid);
            switches.snappingEnabled = false;
            SnapGridParts::restoreSwitches(grid, switches);
        }
    } else {
        grid.setDragRequireOption(true);
    }
    const auto event =
        platform::NSEvent::mouseEvent(platform::EventType::leftMouseDragged, {320, 580}, {}, 0, 0, 1);
    const long before = allocationCount.load();
    for (auto _ : state) {
        session.handleDragged(event);
        benchmark::ClobberMemory();
        if (variant == 2) session.handleMouseUp(); // every event is a session's first
    }
    const long allocations = allocationCount.load() - before;
    state.counters["allocs/event"] =
        static_cast<double>(allocations) / static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
    state.SetLabel(variant == 0 ? "session running" : variant == 1 ? "snapping off" : "Option missing");
    session.abandon();
    tearDown();
}
BENCHMARK(BM_DraggedEventHandled)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kNanosecond);

} // namespace

#include <benchmark/benchmark.h>

#include "model/WindowMutator.hpp"
#include "platform/control/FoldersControl.hpp"
#include "platform/control/SharedInstances.hpp"
#include "platform/control/SimDesktop.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "platform/dispatch/Runtime.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/input/CarbonEventHandlers.hpp"
#include "shortcuts/CarbonHotKeys.hpp"
#include "shortcuts/DefaultShortcuts.hpp"
#include "shortcuts/Registry.hpp"
#include "snapping/RoriDeru.hpp"
#include "windows/GeometryBridge.hpp"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <vector>

// Every allocation of the program is counted, so a benchmark can read how many a span made. The
// replacements pair malloc with free; GCC cannot see that through the inlined replacements.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
namespace {
std::atomic<std::uint64_t> allocations{0};
} // namespace

void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

using namespace tilmora;
using namespace tilmora::GlobalShortcuts;

/// Records the rectangles it is asked for.
class RecordingMutator : public WindowMutator {
public:
    void moveAndResize(const WindowId&, const Rect& frame) override {
        last = frame;
        ++moves;
    }
    Rect last;
    std::uint64_t moves = 0;
};

/// A simulated desktop with one laptop screen, fresh folders and defaults, the 30 first-run chords
/// stored and all 61 names bound with `action` (snapLeftHalf) or a no-op (the others).
void setUpDesktop(const std::function<void()>& leftHalfAction) {
    static const auto root = std::filesystem::temp_directory_path() / "tilmora-bench-shortcuts";
    std::filesystem::remove_all(root);
    platform::Runtime::start(platform::Runtime::Mode::simulated);
    platform::FoldersControl::useRoot(root);
    platform::SharedInstances::resetAll();
    platform::SimDesktop::shared().useLaptop();
    registerDefaultSnapShortcutsIfNeeded();
    for (const Name& name : Name::catalog())
        onKeyDown(
            name, name == Name::snapLeftHalf() ? leftHalfAction : [] {});
}

platform::EventRef hotKeyPressedEvent(const Shortcut& chord) {
    std::uint32_t id = 0;
    for (const auto& record : CarbonHotKeys::shared().records())
        if (record.shortcut == chord) id = record.carbonHotKeyId;
    auto event = platform::CreateEvent(platform::kEventClassKeyboard, platform::kEventHotKeyPressed);
    const platform::EventHotKeyID hotKey{CarbonHotKeys::signature, id};
    event->setParameter(platform::kEventParamDirectObject, platform::typeEventHotKeyID, &hotKey,
                        sizeof hotKey);
    return event;
}

void reportPercentiles(benchmark::State& state, std::vector<double>& millis) {
    if (millis.empty()) return;
    std::sort(millis.begin(), millis.end());
    state.counters["median_ms"] = millis[millis.size() / 2];
    state.counters["p99_ms"] = millis[std::min(millis.size() - 1, millis.size() * 99 / 100)];
}

// One press of Control-Option-Left from the hot-key event to a recorded window move of the left
// half of the main screen's visible frame. Targets: median <= 0.2 ms, p99 <= 1 ms.
void BM_PressToLeftHalf(benchmark::State& state) {
    RecordingMutator mutator;
    const WindowId window("bench-window");
    setUpDesktop([&] {
        const auto screen = platform::NSScreen::main();
        const Rect visible = toRect(screen->visibleFrame());
        mutator.moveAndResize(window,
                              RoriDeru::shared().computeRectForVisible(SnapIconKind::leftHalf, visible));
    });
    const auto event = hotKeyPressedEvent(
        Shortcut(Key::leftArrow, platform::ModifierFlags::control | platform::ModifierFlags::option));
    const auto target = platform::GetEventDispatcherTarget();
    std::vector<double> millis;
    millis.reserve(1 << 20);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const auto status = platform::SendEventToEventTarget(event, target);
        const auto end = std::chrono::steady_clock::now();
        if (status != platform::noErr) {
            state.SkipWithError("the press was not handled");
            break;
        }
        if (millis.size() < millis.capacity())
            millis.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    if (mutator.moves != static_cast<std::uint64_t>(state.iterations()))
        state.SkipWithError("not every press moved the window");
    reportPercentiles(state, millis);
    platform::SharedInstances::resetAll();
}
BENCHMARK(BM_PressToLeftHalf)->Unit(benchmark::kMicrosecond);

// The registry's lookup and dispatch of one press with a no-op action: allocations per press
// (target 0), and for comparison those of the whole path from the hot-key event.
void BM_DispatchAllocations(benchmark::State& state) {
    const auto beforeSetUp = allocations.load(std::memory_order_relaxed);
    setUpDesktop([] {});
    // Shows that the counting works: setting up allocates.
    state.counters["setup_allocs"] =
        static_cast<double>(allocations.load(std::memory_order_relaxed) - beforeSetUp);
    const Shortcut chord(Key::leftArrow, platform::ModifierFlags::control | platform::ModifierFlags::option);
    const auto event = hotKeyPressedEvent(chord);
    handleOnKeyDown(chord); // reads the stored chords once
    std::uint64_t registryAllocations = 0;
    std::uint64_t pathAllocations = 0;
    for (auto _ : state) {
        const auto before = allocations.load(std::memory_order_relaxed);
        handleOnKeyDown(chord);
        const auto middle = allocations.load(std::memory_order_relaxed);
        platform::SendEventToEventTarget(event, platform::GetEventDispatcherTarget());
        const auto after = allocations.load(std::memory_order_relaxed);
        registryAllocations += middle - before;
        pathAllocations += after - middle;
    }
    const double presses = static_cast<double>(state.iterations());
    state.counters["registry_allocs_per_press"] = static_cast<double>(registryAllocations) / presses;
    state.counters["path_allocs_per_press"] = static_cast<double>(pathAllocations) / presses;
    platform::SharedInstances::resetAll();
}
BENCHMARK(BM_DispatchAllocations)->Unit(benchmark::kMicrosecond);

} // namespace

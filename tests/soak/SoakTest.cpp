// Many everyday operations in a row on the simulated desktop, with the program's resident memory
// sampled every 1,000 operations and its platform resources counted after each batch: nothing may
// grow per operation. By default a tenth of the long form runs; TILMORA_SOAK=long (or the argument
// --soak-long) runs the long form, which also holds the total resident memory to 30 MB.
#include "support/DesktopTest.hpp"
#include "support/SnapGridState.hpp"

#include "model/LocalizationManager.hpp"
#include "model/NotificationManager.hpp"
#include "model/Settings.hpp"
#include "platform/control/AnimationJournal.hpp"
#include "platform/control/BundleControl.hpp"
#include "platform/control/LocaleControl.hpp"
#include "platform/control/ResourceCounts.hpp"
#include "platform/control/SimInput.hpp"
#include "platform/control/StandardOutputControl.hpp"
#include "platform/control/SystemLogControl.hpp"
#include "platform/control/UISimulator.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/input/KeyChord.hpp"
#include "platform/ui/Application.hpp"
#include "shell/AppDelegate.hpp"
#include "shell/ShellHooks.hpp"
#include "shortcuts/Registry.hpp"
#include "snapping/RoriDeru.hpp"
#include "snapshots/PersistenceController.hpp"
#include "snapshots/SnapshotRestore.hpp"
#include "snapshots/SnapshotSave.hpp"

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define TILMORA_SOAK_ASAN 1
// The sanitizer runtime's count of bytes in live allocations.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
// A small quarantine, so that freed memory is reused and the resident memory shows growth rather
// than the sanitizer's holding of freed blocks.
extern "C" const char* __asan_default_options() {
    return "quarantine_size_mb=4";
}
#else
#include <malloc.h>
#define TILMORA_SOAK_ASAN 0
#endif

namespace {

bool longForm = false;

using tilmora::RoriDeru;

/// Resident memory of this process in bytes (/proc/self/statm, second field, in pages).
double residentBytes() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE));
}

/// Bytes of heap in use by live allocations (the sanitizer's count when it replaces the allocator).
double heapInUse() {
#if TILMORA_SOAK_ASAN
    return static_cast<double>(__sanitizer_get_current_allocated_bytes());
#else
    const auto info = ::mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd);
#endif
}

/// Toasts cost nothing: no panel is made.
class NoToastHost : public tilmora::ToastHost {
public:
    std::shared_ptr<tilmora::ToastPanel> makePanel(const tilmora::ToastPanelSpec&) override {
        return nullptr;
    }
    std::optional<MainWindow> mainWindow() const override { return std::nullopt; }
};

/// What the program holds on the platform and the disk at one moment.
struct Holdings {
    std::size_t programWindows = 0;
    std::size_t desktopWindows = 0;
    std::size_t observers = 0;
    std::size_t timers = 0;
    std::size_t monitors = 0;
    std::size_t hotKeys = 0;
    std::int64_t statements = 0;
    std::size_t files = 0;
    bool operator==(const Holdings&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Holdings& h) {
    return out << "windows " << h.programWindows << " (desktop " << h.desktopWindows << "), observers "
               << h.observers << ", timers " << h.timers << ", monitors " << h.monitors << ", hot keys "
               << h.hotKeys << ", open statements " << h.statements << ", temporary files " << h.files;
}

class SoakTest : public DesktopTest {
protected:
    void restoreFixture() override {
        DesktopTest::restoreFixture();
        platform::BundleControl::setBundleIdentifier(testsupport::programBundleIdentifier);
        useProgramTextsInEnglish();
    }

    void SetUp() override {
        DesktopTest::SetUp();
        platform::StandardOutputControl::setCapture([](std::string_view) {});
        tilmora::NotificationManager::installHost(std::make_shared<NoToastHost>());
        desk().useLaptop();
        desk().setAccessibilityTrusted(true);
        desk().setAutomationStatus(0);
        notes = runFrontmost(notesApp(),
                             {window("Todo", {100, 500, 400, 300}), window("Draft", {600, 200, 500, 400})});
        notesWindow = desk().windowsOf(notes).at(0).number;

        wrapper = std::make_shared<tilmora::AppDelegateWrapper>();
        platform::ui::Application::shared().setDelegate(wrapper);
        wrapper->applicationDidFinishLaunching();
        const auto& shell = *wrapper->appDelegate();
        ASSERT_TRUE(sim().runUntil([&] { return shell.didFinishUIInitialization(); }, 60));
        platform::UserDefaults::standard().set(false, tilmora::settings::verboseLogging.key);
        platform::UserDefaults::standard().set(false, tilmora::settings::liveResizeDuringDrag.key);
        // Control-Option-Left sends the left-half command to the shell, as a bound chord does.
        std::weak_ptr<tilmora::AppDelegate> weakShell = wrapper->appDelegate();
        tilmora::GlobalShortcuts::onKeyDown(tilmora::GlobalShortcuts::Name::snapLeftHalf(), [weakShell] {
            if (auto shell = weakShell.lock())
                platform::ui::Application::shared().sendAction("snapLeftHalf", shell.get(), nullptr);
        });
        sim().runFor(0.1);
    }

    void TearDown() override {
        platform::ui::Application::shared().setDelegate(nullptr);
        wrapper.reset();
        tilmora::ShellHooks::reset();
        platform::StandardOutputControl::setCapture(nullptr);
        DesktopTest::TearDown();
    }

    Holdings holdings() {
        Holdings h;
        h.programWindows = platform::ResourceCounts::programWindows();
        h.desktopWindows = desk().allWindows().size();
        h.observers = platform::ResourceCounts::notificationObservers();
        h.timers = platform::ResourceCounts::scheduledTimers();
        h.monitors = platform::ResourceCounts::eventMonitors();
        h.hotKeys = platform::ResourceCounts::hotKeys();
        h.statements = platform::ResourceCounts::openStatements();
        // Files under the user's folders: stores, logs, the snapshot database and any temporary
        // file written next to them.
        std::error_code ignored;
        for (auto it = std::filesystem::recursive_directory_iterator(root(), ignored);
             it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
            if (it->is_regular_file(ignored)) ++h.files;
        }
        return h;
    }

    /// Resident memory after dropping the simulator's own records (its journal of desktop events
    /// and its copy of the system log), which keep every entry by design.
    double sample() {
        desk().clearJournal();
        platform::SystemLogControl::clearRecordedLines();
        platform::ui::AnimationJournal::clear();
        return residentBytes();
    }

    /// Runs `operation` `count` times, sampling resident memory every 1,000 operations overall.
    void repeat(long count, const std::function<void(long)>& operation) {
        for (long i = 0; i < count; ++i) {
            operation(i);
            if (++operations % 1000 == 0) samples.push_back(sample());
            // The simulator's records are dropped often, so they do not count as the program's growth.
            if (operations % 100 == 0) {
                desk().clearJournal();
                platform::SystemLogControl::clearRecordedLines();
                platform::ui::AnimationJournal::clear();
                platform::ui::UISimulator::clearMenuLog();
            }
        }
    }

    /// One title-bar drag of Notes' window onto the 2 x 2 grid, dropped on the tile of `index`.
    void dragOntoGrid(long index) {
        auto& grid = RoriDeru::shared();
        tilmora::testing::editMarking(grid, [&](auto& state) { state.inMenu = true; });
        tilmora::SnapGridParts::overlayLifecycle(grid).setActivePreset(1, tilmora::GridPreset(2, 2, 0, 0));
        desk().setFrontmost(notes);
        desk().setWindowFrame(notesWindow, {100, 500, 400, 300});
        const platform::CGPoint targets[] = {{300, 700}, {1100, 700}, {300, 200}, {1100, 200}};
        platform::SimInput::shared().drag({300, 790}, targets[index % 4], 0.2, 6);
        sim().runFor(0.4);
    }

    pid_t notes = 0;
    std::uint32_t notesWindow = 0;
    std::shared_ptr<tilmora::AppDelegateWrapper> wrapper;
    long operations = 0;
    std::vector<double> samples;
};

TEST_F(SoakTest, MemoryAndHoldingsStayFlatOverADayOfUse) {
    const long scale = longForm ? 10 : 1;
    auto& store = tilmora::PersistenceController::shared();
    auto& context = store.viewContext();
    const auto chord = platform::KeyChord::parse("ctrl+opt+left");
    ASSERT_TRUE(chord);

    auto snapshotCycle = [&] {
        bool saved = false;
        tilmora::WindowManager::saveSnapshot("Soak", context,
                                             [&](bool ok, const std::string&) { saved = ok; });
        sim().runFor(0.1);
        ASSERT_TRUE(saved);
        const auto snapshot = context.fetchSnapshots().front();
        int restored = 0;
        tilmora::WindowManager::restoreSnapshot(*snapshot, context,
                                                [&](bool, const std::string&) { ++restored; });
        sim().runUntil([&] { return restored > 0; }, 60);
        ASSERT_EQ(restored, 1);
        context.deleteObject(snapshot);
        context.save();
    };

    // Warm-up: one of each, so that caches, stores and lazily made objects exist before the counts.
    dragOntoGrid(0);
    snapshotCycle();
    if (HasFatalFailure()) return;
    platform::SimInput::shared().press(*chord);
    sim().runFor(0.05);
    tilmora::LocalizationManager::shared().setSelectedLanguageCode(std::string("de"));
    tilmora::LocalizationManager::shared().setSelectedLanguageCode(std::nullopt);
    sim().runFor(0.05);
    const Holdings before = holdings();
    const double firstSample = sample();
    const double firstHeap = heapInUse();
    samples.push_back(firstSample);

    struct Batch {
        const char* name;
        long count;
        std::function<void(long)> operation;
    };
    const std::vector<Batch> batches = {
        {"drags onto the grid", 1000 * scale, [&](long i) { dragOntoGrid(i); }},
        {"snapshot save, restore and delete", 100 * scale, [&](long) { snapshotCycle(); }},
        {"chords", 500 * scale,
         [&](long) {
             desk().setFrontmost(notes);
             platform::SimInput::shared().press(*chord);
             sim().runFor(0.02);
         }},
        {"status menu opens", 50 * scale,
         [&](long) {
             // The user clicks the status item and dismisses the menu.
             platform::ui::UISimulator::scriptMenuPick(platform::ui::MenuPick{{}, 0.05, nullptr});
             ASSERT_TRUE(
                 platform::ui::UISimulator::clickStatusItem(*wrapper->appDelegate()->statusItem(), 0));
             sim().runFor(0.1);
         }},
        {"language switches", 20 * scale,
         [&](long i) {
             tilmora::LocalizationManager::shared().setSelectedLanguageCode(
                 i % 2 == 0 ? std::optional<std::string>("de") : std::nullopt);
             sim().runFor(0.02);
         }},
    };
    for (const auto& batch : batches) {
        SCOPED_TRACE(batch.name);
        const auto started = std::chrono::steady_clock::now();
        repeat(batch.count, batch.operation);
        std::cout << "[soak] " << batch.count << " " << batch.name << ": "
                  << std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count()
                  << " s, resident " << static_cast<long>(sample() / 1024) << " KiB, heap in use "
                  << static_cast<long>(heapInUse() / 1024) << " KiB" << std::endl;
        if (HasFatalFailure()) return;
        sim().runFor(5); // lets toasts and delayed work end
        EXPECT_EQ(holdings(), before) << "after " << batch.name;
    }
    EXPECT_EQ(desk().windowsOf(notes).at(0).frame, (platform::CGRect{0, 0, 720, 875}))
        << "the last chord moved the window to the left half";

    const double last = sample();
    samples.push_back(last);
    std::string curve;
    for (double sample : samples)
        curve += std::to_string(static_cast<long>(sample / 1024)) + " ";
    std::cout << "[soak] " << operations << " operations; resident KiB every 1000: " << curve << std::endl;
    // Nothing grows per operation: the live heap ends within 2 MB of where it was after the
    // warm-up. The resident memory too, and at most 30 MB after the long form, where the sanitizer
    // does not hold freed blocks and its shadow memory.
    const double heapGrowth = heapInUse() - firstHeap;
    std::cout << "[soak] heap growth " << static_cast<long>(heapGrowth / 1024) << " KiB, resident growth "
              << static_cast<long>((last - firstSample) / 1024) << " KiB" << std::endl;
    const double twoMegabytes = 2.0 * 1024 * 1024;
    EXPECT_LE(heapGrowth, twoMegabytes);
    if (!TILMORA_SOAK_ASAN) {
        EXPECT_LE(last - firstSample, twoMegabytes);
        if (longForm) {
            EXPECT_LE(last, 30.0 * 1024 * 1024) << "total resident memory after the soak";
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const char* mode = std::getenv("TILMORA_SOAK");
    longForm = mode != nullptr && std::strcmp(mode, "long") == 0;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--soak-long") == 0) longForm = true;
    return RUN_ALL_TESTS();
}

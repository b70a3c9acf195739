#include <benchmark/benchmark.h>

#include "BenchSandbox.hpp"

#include "model/LocalizationManager.hpp"
#include "platform/control/BundleControl.hpp"
#include "platform/control/FoldersControl.hpp"
#include "platform/control/LocaleControl.hpp"
#include "platform/control/SharedInstances.hpp"
#include "platform/control/SimDesktop.hpp"
#include "platform/control/SimScheduler.hpp"
#include "platform/dispatch/Runtime.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/ui/Window.hpp"
#include "platform/ui/declarative/HostingView.hpp"
#include "preferences/PreferencesView.hpp"

#include <filesystem>
#include <memory>

namespace {

namespace decl = platform::ui::declarative;

/// The laptop desktop, the program's string tables from the source tree, English; simulated
/// runtime, fresh folders.
void setUp() {
    benchsupport::simulatedSandbox("tilmora-bench-preferences");
    platform::SimDesktop::shared().useLaptop();
    platform::BundleControl::setResourceDirectory(
        std::filesystem::path(__FILE__).parent_path().parent_path() / "resources");
    platform::LocaleControl::setPreferredLanguages(std::vector<std::string>{"en"});
    platform::UserDefaults::standard().set(false, "WMVerboseLogging");
}

struct Preferences {
    std::shared_ptr<platform::ui::Window> window;
    std::shared_ptr<decl::HostingView> host;
    /// Opens the window: the defaults read, the placeholder, one turn, the form with its controls
    /// and 61 recorders, laid out at 1000 × 800 points.
    void open() {
        window = std::make_shared<platform::ui::Window>(platform::ui::Rect{100, 100, 1000, 800},
                                                        platform::ui::StyleMask::titled);
        host = std::make_shared<decl::HostingView>(std::make_shared<tilmora::PreferencesView>(),
                                                   platform::ui::Rect{0, 0, 1000, 800});
        window->contentView()->addSubview(host);
        window->makeKeyAndOrderFront();
        host->rebuildIfNeeded();
        platform::SimScheduler::shared().drainMainQueue();
        host->rebuildIfNeeded();
        platform::SimScheduler::shared().drainMainQueue();
    }
    void close() {
        window->close();
        host.reset();
        window.reset();
    }
};

// Opening the preferences window up to its laid-out form.
void BM_PreferencesOpen(benchmark::State& state) {
    setUp();
    Preferences prefs;
    for (auto _ : state) {
        prefs.open();
        state.PauseTiming();
        prefs.close();
        platform::SimScheduler::shared().drainMainQueue();
        state.ResumeTiming();
    }
    platform::SharedInstances::resetAll();
}
BENCHMARK(BM_PreferencesOpen)->Unit(benchmark::kMillisecond);

// The form's rebuild after a language switch (the notification, the new texts, the layout).
void BM_PreferencesLanguageSwitch(benchmark::State& state) {
    setUp();
    Preferences prefs;
    prefs.open();
    bool german = false;
    for (auto _ : state) {
        german = !german;
        tilmora::LocalizationManager::shared().setSelectedLanguageCode(
            german ? std::optional<std::string>("de") : std::nullopt);
        prefs.host->rebuildIfNeeded();
        platform::SimScheduler::shared().drainMainQueue();
    }
    prefs.close();
    platform::SharedInstances::resetAll();
}
BENCHMARK(BM_PreferencesLanguageSwitch)->Unit(benchmark::kMillisecond);

} // namespace

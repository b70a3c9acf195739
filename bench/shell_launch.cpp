#include <benchmark/benchmark.h>

#include "BenchSandbox.hpp"

#include "model/DefaultLayoutStore.hpp"
#include "model/DefaultProfileStore.hpp"
#include "platform/control/BundleControl.hpp"
#include "platform/control/FoldersControl.hpp"
#include "platform/control/LocaleControl.hpp"
#include "platform/control/SharedInstances.hpp"
#include "platform/control/SimDesktop.hpp"
#include "platform/control/StandardOutputControl.hpp"
#include "platform/dispatch/Runtime.hpp"
#include "platform/ui/Application.hpp"
#include "shell/AppDelegate.hpp"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

/// A laptop with an external display and 200 layouts, 50 profiles and 100 snap areas stored, on
/// the simulated runtime with fresh folders; the program's output is dropped.
void setUpStores() {
    static const auto root = std::filesystem::temp_directory_path() / "tilmora-bench-launch";
    std::filesystem::remove_all(root);
    platform::Runtime::start(platform::Runtime::Mode::simulated);
    platform::FoldersControl::useRoot(root);
    platform::StandardOutputControl::setCapture([](std::string_view) {});
    platform::SharedInstances::resetAll();
    platform::BundleControl::setResourceDirectory(std::filesystem::path(__FILE__).parent_path().parent_path() /
                                                  "resources");
    platform::LocaleControl::setPreferredLanguages(std::vector<std::string>{"en"});
    platform::SimDesktop::shared().useLaptopWithExternal();
    tilmora::DefaultLayoutStore layouts;
    for (int i = 0; i < 200; ++i) {
        layouts.save(tilmora::Layout{tilmora::LayoutId(platform::UUID()), "Layout " + std::to_string(i),
                                     tilmora::DisplayId(i % 2 ? "1" : "2"), {}});
    }
    tilmora::DefaultProfileStore profiles;
    for (int i = 0; i < 50; ++i) {
        profiles.save(tilmora::LayoutProfile{
            tilmora::ProfileId(platform::UUID()), "Profile " + std::to_string(i),
            tilmora::MonitorConfigurationSignature({tilmora::DisplayId("1"), tilmora::DisplayId("2")}), {}});
    }
    benchsupport::storeSnapAreas(100, 0.25);
}

// Both phases of a launch: the launch phase, then the UI start-up (main window, status item and
// menu, chords, drag settings). The platform's shared instances are reset between launches,
// outside the timing. Target: 50 ms.
void BM_LaunchBothPhases(benchmark::State& state) {
    setUpStores();
    for (auto _ : state) {
        state.PauseTiming();
        platform::SharedInstances::resetAll();
        platform::SimDesktop::shared().useLaptopWithExternal();
        state.ResumeTiming();
        auto wrapper = std::make_shared<tilmora::AppDelegateWrapper>();
        platform::ui::Application::shared().setDelegate(wrapper);
        auto& shell = *wrapper->appDelegate();
        shell.applicationDidFinishLaunching();
        // The first finished update cycle starts the UI start-up, as in the program.
        shell.updaterDidFinishUpdateCycle(shell.updaterController()->updater(), std::nullopt);
        benchmark::DoNotOptimize(shell.cachedStatusMenu().get());
        state.PauseTiming();
        wrapper.reset();
        state.ResumeTiming();
    }
    platform::StandardOutputControl::setCapture(nullptr);
}
BENCHMARK(BM_LaunchBothPhases)->Unit(benchmark::kMillisecond);

} // namespace

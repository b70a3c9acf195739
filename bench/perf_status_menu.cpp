#include <benchmark/benchmark.h>

#include "BenchSandbox.hpp"

#include "model/DefaultLayoutStore.hpp"
#include "model/Layout.hpp"
#include "model/LayoutStoreVesk.hpp"
#include "platform/control/BundleControl.hpp"
#include "platform/control/FoldersControl.hpp"
#include "platform/control/LocaleControl.hpp"
#include "platform/control/SharedInstances.hpp"
#include "platform/control/SimDesktop.hpp"
#include "platform/dispatch/Runtime.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/JsonCoding.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/ui/Application.hpp"
#include "platform/ui/Menu.hpp"
#include "shell/AppDelegate.hpp"

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

/// Dates the layout file an hour back, as a file saved in an earlier session is.
void ageLayoutFile(tilmora::AppDelegate& shell) {
    const auto file = shell.baseLayoutStore()->url();
    std::filesystem::last_write_time(file, std::filesystem::last_write_time(file) - std::chrono::hours(1));
}

/// Three displays, 20 preset grids on the first one and 20 snap areas, the registered settings
/// and the program's English string tables, on the simulated runtime with fresh folders.
std::shared_ptr<tilmora::AppDelegateWrapper> setUpShell() {
    benchsupport::simulatedSandbox("tilmora-bench-status-menu");
    platform::BundleControl::setResourceDirectory(std::filesystem::path(__FILE__).parent_path().parent_path() /
                                                  "resources");
    platform::LocaleControl::setPreferredLanguages(std::vector<std::string>{"en"});
    for (int i = 0; i < 3; ++i) {
        benchsupport::addDisplay(static_cast<std::uint32_t>(i + 1), "Display " + std::to_string(i + 1),
                                 {1440.0 * i, 0, 1440, 900}, {1440.0 * i, 0, 1440, 875});
    }
    auto wrapper = std::make_shared<tilmora::AppDelegateWrapper>();
    platform::ui::Application::shared().setDelegate(wrapper);
    auto& shell = *wrapper->appDelegate();
    shell.registerAppDefaults();
    for (int i = 0; i < 20; ++i) {
        tilmora::VeskPreset preset{platform::UUID(), "Preset " + std::to_string(i + 1), tilmora::VeskPresetKind::grid, "1",
                                   {tilmora::VeskTile{platform::UUID(), "Tile", {0.0, 0.0, 0.5, 1.0}}}, i};
        tilmora::saveVeskPreset(*shell.baseLayoutStore(), preset, tilmora::DisplayId("1"));
    }
    benchsupport::storeSnapAreas(20, 0.5);
    ageLayoutFile(shell);
    return wrapper;
}

/// `count` layouts of two unlabelled tiles, all on the main display ("1"), written to the layout
/// file, which is then dated as one saved in an earlier session.
void storeLayoutsOnTheMainDisplay(tilmora::AppDelegate& shell, long count) {
    const tilmora::DisplayId display("1");
    std::vector<tilmora::Layout> layouts;
    for (long i = 0; i < count; ++i) {
        std::vector<tilmora::Tile> tiles{
            tilmora::Tile{tilmora::TileId{platform::UUID()}, display, {0.0, 0.0, 0.5, 1.0}, std::nullopt},
            tilmora::Tile{tilmora::TileId{platform::UUID()}, display, {0.5, 0.0, 0.5, 1.0}, std::nullopt}};
        layouts.push_back(tilmora::Layout{tilmora::LayoutId{platform::UUID()}, "Layout " + std::to_string(i), display,
                                          std::move(tiles)});
    }
    platform::FileSystem::createDirectories(shell.baseLayoutStore()->url().parent_path());
    platform::FileSystem::writeAtomically(shell.baseLayoutStore()->url(),
                                          platform::jsonText(platform::encodeJsonArray(layouts)));
    ageLayoutFile(shell);
}

/// The Custom Layouts submenu of the menu last built; null when it has none.
std::shared_ptr<platform::ui::Menu> customLayoutsSubmenu(tilmora::AppDelegate& shell) {
    for (const auto& item : shell.cachedStatusMenu()->items())
        if (item->title == "Custom Layouts") return item->submenu();
    return nullptr;
}

/// Times complete status-menu builds for the main display's context, with `layouts` layouts stored
/// on the main display first (none: no layout file).
void timeStatusMenuBuilds(benchmark::State& state, long layouts) {
    auto wrapper = setUpShell();
    auto& shell = *wrapper->appDelegate();
    if (layouts > 0) storeLayoutsOnTheMainDisplay(shell, layouts);
    for (auto _ : state) {
        shell.rebuildStatusMenu();
        benchmark::DoNotOptimize(shell.cachedStatusMenu().get());
    }
}

// One complete status-menu build for the main display's context. Target: 2 ms.
void BM_StatusMenuRebuild(benchmark::State& state) {
    timeStatusMenuBuilds(state, 0);
}
BENCHMARK(BM_StatusMenuRebuild)->Unit(benchmark::kMillisecond);

// The status-item click: the status menu built for the main display with `range(0)` layouts
// stored on it; the Custom Layouts submenu is not opened. Targets: 20,000 layouts 50 ms; linear
// (or flat) over 200, 2,000 and 20,000.
void BM_StatusMenuOpenWithLayouts(benchmark::State& state) {
    timeStatusMenuBuilds(state, state.range(0));
}
BENCHMARK(BM_StatusMenuOpenWithLayouts)->Arg(200)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);

// Opening Custom Layouts in a freshly built status menu with `range(0)` layouts on the main
// display: the submenu makes its `range(0)` items (the menu's build is not timed). Target: linear
// over 200, 2,000 and 20,000.
void BM_CustomLayoutsOpenWithLayouts(benchmark::State& state) {
    auto wrapper = setUpShell();
    auto& shell = *wrapper->appDelegate();
    storeLayoutsOnTheMainDisplay(shell, state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        shell.rebuildStatusMenu();
        auto submenu = customLayoutsSubmenu(shell);
        if (!submenu) {
            state.SkipWithError("the menu has no Custom Layouts submenu");
            break;
        }
        state.ResumeTiming();
        submenu->update();
        benchmark::DoNotOptimize(submenu->numberOfItems());
    }
}
BENCHMARK(BM_CustomLayoutsOpenWithLayouts)->Arg(200)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);

} // namespace

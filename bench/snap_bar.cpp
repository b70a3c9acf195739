#include <benchmark/benchmark.h>

#include "BenchSandbox.hpp"

#include "platform/control/BundleControl.hpp"
#include "platform/control/FoldersControl.hpp"
#include "platform/control/LocaleControl.hpp"
#include "platform/control/SharedInstances.hpp"
#include "platform/control/SimDesktop.hpp"
#include "platform/control/SimScheduler.hpp"
#include "platform/control/UISimulator.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "platform/dispatch/Runtime.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/foundation/Uuid.hpp"
#include "platform/ui/Responder.hpp"
#include "snapping/RoriDeru.hpp"
#include "snapping/SnapBarController.hpp"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using tilmora::SnapBarController;

/// A laptop display (1440 x 900, menu bar 24), the program's English string tables, snapping on;
/// simulated runtime, fresh folders.
void setUpDesktop() {
    benchsupport::simulatedSandbox("tilmora-bench-snap-bar");
    benchsupport::addDisplay(1, "Built-in", {0, 0, 1440, 900}, {0, 0, 1440, 876});
    platform::ui::UISimulator::setStatusBarThickness(24);
    platform::BundleControl::setResourceDirectory(std::filesystem::path(TILMORA_SOURCE_DIR) / "resources");
    platform::LocaleControl::setPreferredLanguages(std::vector<std::string>{"en"});
    platform::UserDefaults::standard().set(false, "WMVerboseLogging");
}

/// Eight single-tile presets for the preset row.
std::vector<tilmora::VeskPreset> tilePresets() {
    std::vector<tilmora::VeskPreset> presets;
    for (int i = 0; i < 8; ++i) {
        tilmora::VeskPreset preset;
        preset.name = "Tile " + std::to_string(i + 1);
        preset.kind = tilmora::VeskPresetKind::singleTile;
        preset.displayId = "1";
        preset.sortOrder = i;
        preset.tiles.push_back(tilmora::VeskTile{platform::UUID(), "Tile", {0.125 * i, 0, 0.125, 1}});
        presets.push_back(preset);
    }
    return presets;
}

struct Bar {
    std::shared_ptr<platform::ui::Responder> target = std::make_shared<platform::ui::Responder>();
    std::shared_ptr<SnapBarController> controller;
    Bar() {
        setUpDesktop();
        controller = std::make_shared<SnapBarController>(tilmora::RoriDeru::shared());
        const auto presets = tilePresets();
        controller->veskTilePresetsProvider = [presets](const platform::NSScreen&) { return presets; };
    }
    ~Bar() {
        controller->hide();
        platform::SimScheduler::shared().runFor(1.0);
        controller.reset();
        platform::SharedInstances::resetAll();
    }
};

// Showing the bar on the laptop: panel, icon grid of 31 buttons, controls and preset row laid out;
// the slide-in animation is not waited for, the bar is ordered out between shows.
void BM_SnapBarShow(benchmark::State& state) {
    Bar bar;
    const auto screen = platform::NSScreen::screens().front();
    for (auto _ : state) {
        bar.controller->show(screen, bar.target);
        state.PauseTiming();
        bar.controller->hide();
        platform::SimScheduler::shared().runFor(0.5);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SnapBarShow)->Unit(benchmark::kMicrosecond);

// Hiding a shown bar (monitors removed, slide-out started); the slide-out is not waited for.
void BM_SnapBarHide(benchmark::State& state) {
    Bar bar;
    const auto screen = platform::NSScreen::screens().front();
    for (auto _ : state) {
        state.PauseTiming();
        bar.controller->show(screen, bar.target);
        platform::SimScheduler::shared().runFor(0.5);
        state.ResumeTiming();
        bar.controller->hide();
        state.PauseTiming();
        platform::SimScheduler::shared().runFor(0.5);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SnapBarHide)->Unit(benchmark::kMicrosecond);

// Rebuilding the preset row of a shown bar (eight single-tile presets) and laying the bar out again.
void BM_SnapBarRefreshPresetButtons(benchmark::State& state) {
    Bar bar;
    bar.controller->show(platform::NSScreen::screens().front(), bar.target);
    platform::SimScheduler::shared().runFor(0.5);
    for (auto _ : state)
        bar.controller->refreshVeskPresetButtons();
}
BENCHMARK(BM_SnapBarRefreshPresetButtons)->Unit(benchmark::kMicrosecond);

} // namespace

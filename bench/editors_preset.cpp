#include <benchmark/benchmark.h>

#include "BenchSandbox.hpp"

#include "editors/VeskLayoutEditorController.hpp"
#include "editors/VeskLayoutEditorHost.hpp"

#include "platform/control/BundleControl.hpp"
#include "platform/control/LocaleControl.hpp"
#include "platform/ui/declarative/HostingView.hpp"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using tilmora::VeskLayoutEditorController;
using tilmora::VeskPreset;
using tilmora::VeskPresetKind;

/// The preset editor window (1100 x 720 points) over twelve presets of display "1", with the
/// program's English string tables, built once.
struct EditorWindow {
    std::shared_ptr<VeskLayoutEditorController> controller;
    std::shared_ptr<tilmora::VeskLayoutEditorHost> root;
    std::unique_ptr<platform::ui::declarative::HostingView> host;

    EditorWindow() {
        benchsupport::sandbox();
        platform::BundleControl::setResourceDirectory(std::filesystem::path(__FILE__).parent_path().parent_path() /
                                                      "resources");
        platform::LocaleControl::setPreferredLanguages(std::vector<std::string>{"en"});
        std::vector<VeskPreset> presets;
        for (int i = 0; i < 12; ++i)
            presets.push_back(VeskPreset{platform::UUID(), "Preset " + std::to_string(i + 1),
                                         i % 2 ? VeskPresetKind::grid : VeskPresetKind::singleTile, "1",
                                         {tilmora::VeskTile{platform::UUID(), "Tile 1", {0.1, 0.1, 0.5, 0.5}}}, 0});
        controller = std::make_shared<VeskLayoutEditorController>(presets, "1", std::nullopt, nullptr, nullptr);
        root = std::make_shared<tilmora::VeskLayoutEditorHost>(controller, "Built-in Retina Display", 1440.0 / 875.0);
        host = std::make_unique<platform::ui::declarative::HostingView>(root, platform::ui::Rect{0, 0, 1100, 720});
        host->rebuild();
    }
};

// One step of drawing a tile: the canvas writes the current point, the window is rebuilt and laid
// out. Target: 2 ms.
void BM_DrawTileDragStep(benchmark::State& state) {
    EditorWindow w;
    w.controller->beginNewSingleTilePreset();
    w.controller->setDragStart(platform::CGPoint{0.1, 0.1});
    double x = 0.2;
    for (auto _ : state) {
        x = x > 0.9 ? 0.2 : x + 0.01;
        w.controller->setDragCurrent(platform::CGPoint{x, 0.6});
        w.host->rebuild();
    }
}
BENCHMARK(BM_DrawTileDragStep)->Unit(benchmark::kMillisecond);

// Changing the rows of a 12 x 12 grid (144 tiles): the controller makes the new tiles and the
// window is rebuilt and laid out. Target: 5 ms.
void BM_ChangeRowsOf12x12Grid(benchmark::State& state) {
    EditorWindow w;
    w.controller->beginNewGridPreset();
    w.controller->setGridCols(12);
    w.controller->setGridRows(12);
    w.host->rebuild();
    long rows = 12;
    for (auto _ : state) {
        rows = rows == 12 ? 11 : 12;
        w.controller->setGridRows(rows);
        w.host->rebuild();
    }
}
BENCHMARK(BM_ChangeRowsOf12x12Grid)->Unit(benchmark::kMillisecond);

} // namespace

#include <benchmark/benchmark.h>

#include "BenchSandbox.hpp"

#include "editors/LayoutEditorView.hpp"
#include "editors/LayoutPreviewView.hpp"

#include "platform/control/ViewDriver.hpp"

#include <memory>
#include <vector>

namespace {

using namespace tilmora;
namespace decl = platform::ui::declarative;

/// A store holding one 4 x 3 layout of 12 tiles for display "1".
struct TwelveTiles : LayoutStore {
    Layout grid{LayoutId(platform::UUID()), "Grid", DisplayId("1"), {}};
    TwelveTiles() {
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 4; ++col)
                grid.tiles.push_back(Tile{TileId(platform::UUID()), DisplayId("1"),
                                          Rect{col / 4.0, row / 3.0, 0.25, 1 / 3.0}, std::nullopt});
    }
    std::vector<Layout> allLayouts() override { return {grid}; }
    std::optional<Layout> layout(const DisplayId&) override { return grid; }
    std::optional<Layout> layout(const LayoutId&) override { return grid; }
    void save(const Layout&) override {}
    void deleteLayout(const LayoutId&) override {}
};

struct NoProfiles : ProfileStore {
    std::vector<LayoutProfile> allProfiles() override { return {}; }
    void save(const LayoutProfile&) override {}
};

struct OneDisplay : DisplayProvider {
    std::vector<DisplayDescriptor> currentDisplays() override {
        return {DisplayDescriptor{DisplayId("1"), "Built-in Retina Display", Rect{0, 0, 1440, 875}, 2}};
    }
};

// A click on a tile of a 12-tile layout in the layout editor's content (720 x 560 points): the
// preview's hit test, the new selection, and the rebuild and layout of the whole content. The
// clicks walk over every tile so the selection changes each time. Target: 2 ms.
void BM_TapTileOfTwelve(benchmark::State& state) {
    benchsupport::sandbox();
    auto displays = std::make_shared<OneDisplay>();
    auto profiles = std::make_shared<NoProfiles>();
    auto controller = LayoutEditorView::makeController(
        displays->currentDisplays().front(), std::make_shared<TwelveTiles>(), profiles,
        std::make_shared<ProfileController>(displays, profiles), displays);
    auto& host = controller->hostingView();
    host.setFrame({0, 0, 720, 560});
    decl::ViewDriver driver(host);
    const decl::Node* preview = driver.find("layout.preview");
    const auto area = preview->layoutFrame.size;
    const auto box = LayoutPreviewView::boxRect(area, LayoutPreviewView::aspectRatio({0, 0, 1440, 875}));
    std::vector<platform::ui::Point> centres;
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 4; ++col)
            centres.push_back({box.origin.x + box.size.width * (col + 0.5) / 4,
                               box.origin.y + box.size.height * (row + 0.5) / 3});
    size_t next = 0;
    long hits = 0;
    const int buildsBefore = host.buildCount();
    for (auto _ : state) {
        hits += driver.tap("layout.preview", centres[next]) ? 1 : 0;
        next = (next + 1) % centres.size();
    }
    // Every click hits a tile and rebuilds the content once.
    state.counters["hits"] = benchmark::Counter(double(hits), benchmark::Counter::kAvgIterations);
    state.counters["builds"] = benchmark::Counter(double(host.buildCount() - buildsBefore),
                                                  benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_TapTileOfTwelve)->Unit(benchmark::kMillisecond);

} // namespace

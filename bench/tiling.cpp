#include <benchmark/benchmark.h>

#include "snapping/DefaultTilingEngine.hpp"
#include "snapping/TileEdgesShape.hpp"
#include "snapping/TilingController.hpp"

#include <memory>

namespace {

using namespace tilmora;

class OneDisplay : public DisplayProvider {
public:
    std::vector<DisplayDescriptor> currentDisplays() override { return {display}; }
    DisplayDescriptor display{"1", "Built-in", Rect{0, 0, 5120, 2855}, 2};
};

class NoMove : public WindowMutator {
public:
    void moveAndResize(const WindowId&, const Rect&) override {}
};

/// An 8 x 8 layout of 64 equal tiles on display "1".
Layout grid8x8() {
    Layout layout{LayoutId(platform::UUID()), "8x8", "1", {}};
    for (int row = 0; row < 8; ++row)
        for (int col = 0; col < 8; ++col)
            layout.tiles.push_back(Tile{TileId(platform::UUID()), "1",
                                        Rect{col / 8.0, row / 8.0, 1 / 8.0, 1 / 8.0}, std::nullopt});
    return layout;
}

// One sampling tick of a tiling drag: the tile under the pointer and the highlight callback (a
// no-op here), the pointer sweeping across the display so every tile position is hit.
void BM_UpdateDrag8x8(benchmark::State& state) {
    auto displays = std::make_shared<OneDisplay>();
    TilingController controller(displays, std::make_shared<WindowProvider>(), std::make_shared<NoMove>(),
                                std::make_shared<DefaultTilingEngine>(), nullptr);
    controller.onHighlightTile = [](const std::optional<TileId>&) {};
    controller.setTransientLayout(grid8x8(), "1");
    controller.beginDrag(WindowId("1"), {10, 10});
    double x = 0;
    for (auto _ : state) {
        x = x >= 5120 ? 0 : x + 37;
        controller.updateDrag({x, 2855 - x / 2});
    }
}
BENCHMARK(BM_UpdateDrag8x8);

// The edge path of the same 64 tiles on a 5120 x 2855 view at scale 2, one tile excluded.
void BM_TileEdgesPath8x8(benchmark::State& state) {
    const auto layout = grid8x8();
    const TileEdgesShape shape{layout.tiles, layout.tiles[27].id, 2};
    for (auto _ : state)
        benchmark::DoNotOptimize(shape.path({0, 0, 5120, 2855}));
}
BENCHMARK(BM_TileEdgesPath8x8)->Unit(benchmark::kMicrosecond);

} // namespace

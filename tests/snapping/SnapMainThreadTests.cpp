#include "snapping/GridPresetStorage.hpp"
#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/foundation/Error.hpp"
#include "snapping/RoriDeru.hpp"
#include "support/PlatformTest.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

namespace tilmora {
namespace {

class SnapMainThreadTest : public ::PlatformTest {};

#ifndef NDEBUG
TEST_F(SnapMainThreadTest, StateAndSettingsCallsFailOnAWorkerNamingTheCall) {
    auto& grid = RoriDeru::shared();
    const Rect frame{0, 0, 1440, 900};
    struct Case {
        const char* call;
        std::function<void()> work;
    };
    const std::vector<Case> cases = {
        {"RoriDeru::computeRectForVisible",
         [&] { grid.computeRectForVisible(SnapIconKind::leftHalf, frame); }},
        {"RoriDeru::applyGaps",
         [&] {
             grid.applyGaps({0, 0, 720, 900}, frame);
         }},
        {"RoriDeru::savePreset", [&] { grid.savePreset(RoriDeru::Preset(3, 3, 0, 0), 4); }},
        {"RoriDeru::loadPreset", [&] { grid.loadPreset(4); }},
        {"RoriDeru::tiles", [&] { grid.tiles(frame, 1, 4, RoriDeru::Preset(2, 2, 0, 0)); }},
        {"RoriDeru::screenForRect",
         [] {
             RoriDeru::screenForRect({0, 0, 10, 10});
         }},
        {"RoriDeru::setSelectedKind", [&] { grid.setSelectedKind(SnapIconKind::leftHalf, std::nullopt); }},
        {"RoriDeru::clearGridPresetMarking", [&] { grid.clearGridPresetMarking(true); }},
        {"RoriDeru::setMagnetMode", [&] { grid.setMagnetMode(true); }},
        {"RoriDeru::applyLayoutScopePreference", [&] { grid.applyLayoutScopePreference(std::nullopt); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call);
        expectMainThreadOnly(c.call, c.work);
        sim().reset();
    }
    // Nothing was stored by the refused save.
    EXPECT_EQ(grid.loadPreset(4), GridPreset::fallback());
}
#endif

TEST_F(SnapMainThreadTest, PureCalculationsRunOnAnyThread) {
    std::atomic<int> done{0};
    platform::DispatchQueue::global(platform::DispatchQoS::userInitiated).async([&] {
        const Rect frame{0, 0, 1200, 800};
        const auto gaps = RoriDeru::GapSettings{10, 10};
        if (RoriDeru::computeRectForVisible(SnapIconKind::leftHalf, frame, gaps) == Rect{0, 0, 595, 800})
            ++done;
        const auto metrics = RoriDeru::gridMetrics(frame, 2, 3, 0, 1);
        std::vector<Rect> tiles;
        for (std::size_t r = 0; r < metrics.rowYs.size(); ++r)
            for (std::size_t c = 0; c < metrics.colXs.size(); ++c)
                tiles.push_back(
                    {metrics.colXs[c], metrics.rowYs[r], metrics.colWidths[c], metrics.rowHeights[r]});
        const auto tile = RoriDeru::pickSnapTile({850, 450, 200, 200}, tiles, 16);
        if (tile && RoriDeru::rowCol(*tile, tiles, 3) == GridLayout::RowCol{2, 3}) ++done;
        if (GridPresetStorage::parse("2,3,nan,0") == RoriDeru::Preset(2, 3, 0, 0)) ++done;
    });
    sim().runFor(1.0);
    EXPECT_EQ(done.load(), 3);
}

} // namespace
} // namespace tilmora

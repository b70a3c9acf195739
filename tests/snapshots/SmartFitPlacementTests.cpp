#include "snapshots/SmartFitPlacement.hpp"
#include "snapshots/DisplayMatchingTest.hpp"

#include <gtest/gtest.h>

namespace tilmora::WindowManager {
namespace {

using platform::CGRect;

class SmartFitPlacementTest : public DisplayMatchingTest {
protected:
    /// A row of saved display `displayID` whose visible frame was `savedSize` (origin far away),
    /// stored at (x, y) from the frame's top-left with size w x h.
    static WindowValue placed(std::uint32_t displayID, platform::CGSize savedSize, CGRect stored, std::int64_t rowID) {
        auto row = savedRow(displayID, 0, {9000, 0, savedSize.width, savedSize.height}, rowID);
        row.xPosition = stored.origin.x;
        row.yPosition = stored.origin.y;
        row.width = stored.size.width;
        row.height = stored.size.height;
        return row;
    }
};

TEST_F(SmartFitPlacementTest, ScalesTheGroupToFitAndCentresIt) {
    useDisplays({display(1, "Laptop", {0, 0, 1440, 900}, CGRect{0, 25, 1440, 875}),
                 display(2, "Wide", {1440, 0, 1920, 1080}, CGRect{1440, 0, 1920, 1055}),
                 display(3, "Odd", {3360, 0, 1512, 982}, CGRect{3360, 0, 1512, 944.9})});
    struct Case {
        const char* name;
        std::vector<WindowValue> rows;
        ScreenRemap remap;
        PlacementRects expected;
    };
    const Case cases[] = {
        {"one window, no scaling", {placed(7, {1440, 875}, {100, 50, 800, 600}, 11)}, {{7, {1, RemapMode::smartFit}}},
         {{11, {320, 162, 800, 601}}}},
        {"side by side, halved",
         {placed(8, {3840, 1055}, {0, 0, 1920, 1000}, 21), placed(8, {3840, 1055}, {1920, 0, 1920, 1000}, 22)},
         {{8, {2, RemapMode::smartFit}}},
         {{21, {1440, 277, 960, 501}}, {22, {2400, 277, 960, 501}}}},
        {"the upper window stays above",
         {placed(7, {1440, 875}, {0, 400, 600, 300}, 31), placed(7, {1440, 875}, {0, 0, 600, 300}, 32)},
         {{7, {1, RemapMode::smartFit}}},
         {{31, {420, 112, 600, 301}}, {32, {420, 512, 600, 301}}}},
        {"only moveOnly entries", {placed(7, {1440, 875}, {100, 50, 800, 600}, 11)}, {{7, {1, RemapMode::moveOnly}}}, {}},
        {"tile grid is not fitted", {placed(7, {1440, 875}, {100, 50, 800, 600}, 11)}, {{7, {1, RemapMode::tileGrid}}}, {}},
        {"replacement gone", {placed(7, {1440, 875}, {100, 50, 800, 600}, 11)}, {{7, {4, RemapMode::smartFit}}}, {}},
        {"empty union", {placed(7, {1440, 875}, {100, 50, 0, 600}, 11)}, {{7, {1, RemapMode::smartFit}}}, {}},
        {"other displays untouched",
         {placed(7, {1440, 875}, {100, 50, 800, 600}, 11), placed(5, {1440, 875}, {100, 50, 800, 600}, 12)},
         {{7, {1, RemapMode::smartFit}}},
         {{11, {320, 162, 800, 601}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(precomputeSmartFitRects(c.rows, c.remap), c.expected);
        EXPECT_TRUE(precomputeTileGridRects(c.rows, c.remap).empty());
    }

    // A rectangle taller than the visible frame after rounding ends at its top edge.
    const auto tall = smartFitRects({placed(9, {1512, 944.9}, {0, 0, 1512, 944.9}, 41)},
                                    {{9, {3, RemapMode::smartFit}}}, screens());
    ASSERT_EQ(tall.count(41), 1u);
    EXPECT_EQ(tall.at(41).size, (platform::CGSize{1512, 945}));
    EXPECT_DOUBLE_EQ(tall.at(41).maxY(), 944.9);
    EXPECT_LT(tall.at(41).minY(), 0);

    // A row not saved yet has no key.
    auto unsaved = placed(7, {1440, 875}, {100, 50, 800, 600}, 0);
    unsaved.rowID.reset();
    EXPECT_TRUE(precomputeSmartFitRects({unsaved}, {{7, {1, RemapMode::smartFit}}}).empty());
}

} // namespace
} // namespace tilmora::WindowManager

#include "snapshots/DisplayFingerprint.hpp"
#include "snapshots/DisplayMapping.hpp"
#include "snapshots/MatchReason.hpp"
#include "snapshots/RemapMode.hpp"
#include "snapshots/DisplayMatchingTest.hpp"

#include "platform/desktop/CGDisplay.hpp"
#include "support/TableRow.hpp"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace tilmora::WindowManager {
namespace {

using platform::CGRect;
using Mapping = std::map<std::uint32_t, std::uint32_t>;

class DisplayMappingTest : public DisplayMatchingTest {};

TEST(DisplayBoundsTest, MatchWithinTwoPointsOnEachSide) {
    const CGRect saved{1440, 0, 1920, 1055};
    // A present screen's bounds and whether they match the saved ones.
    const testsupport::TableRow<CGRect, bool> cases[] = {
        {"equal", saved, true},
        {"off by 2.0 everywhere", {1442, -2, 1918, 1057}, true},
        {"x off by 2.01", {1442.01, 0, 1920, 1055}, false},
        {"y off by 2.01", {1440, -2.01, 1920, 1055}, false},
        {"width off by 2.01", {1440, 0, 1922.01, 1055}, false},
        {"height off by 2.01", {1440, 0, 1920, 1052.99}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(boundsMatch(saved, c.given), c.expected) << c.name;
}

TEST(DisplaySizeKeyTest, RoundsHalfAwayFromZero) {
    EXPECT_EQ(sizeKey({1512, 944.5}), "1512x945");
    EXPECT_EQ(sizeKey({1919.49, 1055.5}), "1919x1056");
    EXPECT_EQ(sizeKey({std::nan(""), 900}), std::nullopt);
}

TEST(MatchReasonTest, AcceptsExactlyTheFourRawValues) {
    for (auto reason : {MatchReason::id, MatchReason::boundsExact, MatchReason::closestSize, MatchReason::remap})
        EXPECT_EQ(matchReasonFromRawValue(rawValue(reason)), reason);
    EXPECT_EQ(rawValue(MatchReason::boundsExact), "BoundsExact");
    for (const char* other : {"remap", "id", "", "ClosestSize ", "Bounds"})
        EXPECT_EQ(matchReasonFromRawValue(other), std::nullopt) << other;
    EXPECT_EQ(caseName(RemapMode::tileGrid), "tileGrid");
}

TEST_F(DisplayMappingTest, FingerprintPassNeedsOneUniqueCandidate) {
    // Laptop #1 is main; #8 and #9 are two panels that may share a fingerprint.
    auto twin = display(9, "Twin", {1440, 0, 1920, 1080});
    auto other = display(8, "Other", {3360, 0, 1920, 1080});
    useDisplays({display(1, "Laptop", {0, 0, 1440, 900}), twin, other});
    const std::uint32_t f = displayFingerprintHash(9);
    ASSERT_NE(f, displayFingerprintHash(8));

    // Saved display 5 had the twin's fingerprint but other bounds and size.
    const auto row = savedRow(5, f, {5000, 0, 1000, 700});
    EXPECT_EQ(automaticDisplayMapping({row}, screens()), (Mapping{{5, 9}}));
    EXPECT_EQ(automaticDisplayMapping({savedRow(5, 0, {5000, 0, 1000, 700})}, screens()), (Mapping{{5, 1}}))
        << "a saved fingerprint 0 never matches";

    other.vendor = twin.vendor; // now two present displays carry the fingerprint
    desk().updateDisplay(8, other);
    sim().runFor(0.1);
    ASSERT_EQ(displayFingerprintHash(8), f);
    EXPECT_EQ(automaticDisplayMapping({row}, screens()), (Mapping{{5, 1}}));
}

TEST_F(DisplayMappingTest, PassesInOrderBoundsSameNumberSizeFallback) {
    useDisplays({display(1, "Laptop", {0, 0, 1440, 900}), display(3, "Left", {1440, 0, 1920, 1080}),
                 display(4, "Right", {3360, 0, 1920, 1080})});
    struct Case {
        const char* name;
        std::vector<WindowValue> rows;
        Mapping expected;
    };
    const Case cases[] = {
        {"bounds within the tolerance", {savedRow(7, 0, {3362, -2, 1918, 1057})}, {{7, 4}}},
        {"width off by 2.01: no pass matches", {savedRow(7, 0, {3360, 0, 1922.01, 1055})}, {{7, 1}}},
        {"same number", {savedRow(3, 0, {9000, 0, 800, 600})}, {{3, 3}}},
        {"size pairs left to right",
         {savedRow(12, 0, {1920, 0, 1920, 1055}), savedRow(11, 0, {0, 0, 1920, 1055})},
         {{11, 3}, {12, 4}}},
        {"number taken by bounds earlier falls to size",
         {savedRow(2, 0, {1440, 0, 1920, 1055}), savedRow(3, 0, {9000, 0, 1920, 1055})},
         {{2, 3}, {3, 4}}},
        {"nothing fits: the main screen", {savedRow(9, 0, {9000, 0, 800, 600})}, {{9, 1}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(automaticDisplayMapping(c.rows, screens()), c.expected) << c.name;
}

TEST_F(DisplayMappingTest, SizePassPairsLeftToRightNoScreenMapsNothingOneScreenTakesAll) {
    useDisplays({display(1, "Laptop", {0, 0, 1440, 900}), display(3, "Left", {1440, 0, 1920, 1080}),
                 display(4, "Right", {3360, 0, 1920, 1080})});
    const std::vector<WindowValue> rows{savedRow(11, 0, {0, 0, 1920, 1055}), savedRow(12, 0, {1920, 0, 1920, 1055})};
    EXPECT_EQ(automaticDisplayMapping(rows, screens()), (Mapping{{11, 3}, {12, 4}}));
    EXPECT_EQ(automaticDisplayMapping(rows, {}), Mapping{});

    useDisplays({display(3, "Only", {0, 0, 1920, 1080})});
    EXPECT_EQ(automaticDisplayMapping(rows, screens()), (Mapping{{11, 3}, {12, 3}}));
}

TEST_F(DisplayMappingTest, FallbackWithoutAnyScreenNumberIsZero) {
    auto bare = display(1, "A", {0, 0, 1920, 1080});
    bare.hasScreenNumber = false;
    useDisplays({bare});
    EXPECT_EQ(automaticDisplayMapping({savedRow(9, 0, {9000, 0, 1600, 1000})}, screens()), (Mapping{{9, 0}}));
}

TEST_F(DisplayMappingTest, SwapTestSeesNumbersExchangedSinceTheSave) {
    desk().useLaptopWithExternal();
    sim().runFor(0.1);
    // The laptop's visible frame starts at (0, 0), which packs as "no saved origin".
    const std::vector<WindowValue> rows{savedRow(1, 0, {0, 0, 1440, 875}), savedRow(2, 0, {1440, 0, 1920, 1055})};
    EXPECT_FALSE(detectDisplayIdSwap(rows, screens()));
    EXPECT_FALSE(detectDisplayIdSwap(rows, {}));

    desk().swapDisplayNumbers(1, 2);
    sim().runFor(0.1);
    EXPECT_TRUE(detectDisplayIdSwap(rows, screens()));
    EXPECT_FALSE(detectDisplayIdSwap({rows[0]}, screens())) << "a row with windowID 0 is skipped";
    auto noSize = rows[1];
    noSize.originalScreenHeight = 0;
    EXPECT_FALSE(detectDisplayIdSwap({noSize}, screens()));
}

TEST_F(DisplayMappingTest, PresentNumbersComeFromTheOnlineListElseTheScreens) {
    auto mirror = display(7, "Mirror", {1440, 0, 1920, 1080});
    mirror.inScreenList = false;
    auto hidden = display(5, "Hidden", {3360, 0, 1920, 1080});
    hidden.hasScreenNumber = false;
    useDisplays({display(1, "Laptop", {0, 0, 1440, 900}), mirror, hidden});
    EXPECT_EQ(presentScreenIDs(), (std::set<std::uint32_t>{1, 5, 7}));

    desk().setOnlineDisplayListError(platform::kCGErrorIllegalArgument);
    std::uint32_t written[4] = {99, 99, 99, 99};
    std::uint32_t count = 42;
    EXPECT_EQ(platform::CGGetOnlineDisplayList(4, written, &count), platform::kCGErrorIllegalArgument);
    EXPECT_EQ(count, 42u);
    EXPECT_EQ(written[0], 99u);
    EXPECT_EQ(presentScreenIDs(), (std::set<std::uint32_t>{1}));
}

} // namespace
} // namespace tilmora::WindowManager

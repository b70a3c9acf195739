#include "support/DesktopTest.hpp"

#include "platform/desktop/LargestOverlap.hpp"

#include <cmath>
#include <limits>

using namespace platform;

TEST(LargestOverlapTest, PicksTheFirstFrameWithTheLargestPositiveArea) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<CGRect> sideBySide = {{0, 0, 100, 100}, {100, 0, 100, 100}};
    struct Case {
        const char* name;
        CGRect rect;
        std::vector<CGRect> frames;
        std::optional<std::size_t> expected;
    };
    const std::vector<Case> cases = {
        {"no frames", {0, 0, 10, 10}, {}, std::nullopt},
        {"inside the first", {10, 10, 10, 10}, sideBySide, 0},
        {"mostly on the second", {80, 0, 50, 10}, sideBySide, 1},
        {"tie keeps the earlier frame", {90, 0, 20, 10}, sideBySide, 0},
        {"touching edge only", {200, 0, 10, 10}, sideBySide, std::nullopt},
        {"far away", {500, 500, 10, 10}, sideBySide, std::nullopt},
        {"zero-size rectangle", {50, 50, 0, 0}, sideBySide, std::nullopt},
        {"null rectangle", CGRect::null(), sideBySide, std::nullopt},
        {"negative size counts", {130, 10, -50, 10}, sideBySide, 1},
        {"NaN frame never wins", {10, 10, 10, 10}, {{nan, 0, 100, 100}, {0, 0, 100, 100}}, 1},
        {"NaN rectangle overlaps nothing", {10, 10, nan, 10}, sideBySide, std::nullopt},
        {"later larger overlap wins", {0, 0, 100, 100}, {{90, 90, 100, 100}, {50, 50, 100, 100}}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(indexOfLargestOverlap(c.rect, c.frames), c.expected);
    }
}

TEST_F(DesktopTest, ScreenWithLargestOverlapMeasuresTheChosenAreaAndFallsBackToTheCallersChoice) {
    desk().useLaptopWithExternal();
    const auto screens = NSScreen::screens();
    ASSERT_EQ(screens.size(), 2u);
    const NSScreen& laptop = screens[0];
    const NSScreen& external = screens[1];
    struct Case {
        const char* name;
        CGRect rect;
        ScreenArea area;
        std::optional<NSScreen> fallback;
        std::optional<NSScreen> expected;
    };
    const std::vector<Case> cases = {
        {"mostly on the external", {1300, 100, 400, 300}, ScreenArea::frame, std::nullopt, external},
        {"mostly on the laptop", {1200, 100, 400, 300}, ScreenArea::frame, std::nullopt, laptop},
        // Only in the laptop's menu bar: its frame holds it, its visible frame does not, the
        // external's visible frame (1055 high) does.
        {"menu bar strip, frames", {1400, 880, 60, 20}, ScreenArea::frame, std::nullopt, laptop},
        {"menu bar strip, visible frames", {1400, 880, 60, 20}, ScreenArea::visibleFrame, std::nullopt, external},
        {"off every screen, no fallback", {-500, -500, 10, 10}, ScreenArea::frame, std::nullopt, std::nullopt},
        {"off every screen, first screen", {-500, -500, 10, 10}, ScreenArea::frame, laptop, laptop},
        {"off every screen, another fallback", {-500, -500, 10, 10}, ScreenArea::visibleFrame, external, external},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(screenWithLargestOverlap(c.rect, screens, c.area, c.fallback), c.expected);
    }
    EXPECT_EQ(screenWithLargestOverlap({0, 0, 10, 10}, {}, ScreenArea::frame, std::nullopt), std::nullopt);
}

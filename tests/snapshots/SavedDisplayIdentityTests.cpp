#include "snapshots/DisplayFingerprint.hpp"
#include "snapshots/SavedDisplayIdentity.hpp"

#include "platform/control/SimDesktop.hpp"
#include "support/DesktopBuilders.hpp"
#include "support/PlatformTest.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace tilmora {
namespace {

using platform::CGRect;
using platform::SimDesktop;
namespace WM = WindowManager;

TEST(DisplayFingerprintTest, HashesTheSixValuesLittleEndianWithFnv1a) {
    struct Case {
        const char* name;
        std::uint32_t vendor, model, serial;
        bool builtin;
        std::uint32_t wide, high;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {"laptop panel", 1552, 41040, 0, true, 1512, 982, 0xD1BADF2Au},
        {"all zero", 0, 0, 0, false, 0, 0, 0xE2BA14A5u},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(WM::fingerprintHash(c.vendor, c.model, c.serial, c.builtin, c.wide, c.high), c.expected);
    }
    // Each input takes part: a different serial or pixel height changes the hash.
    const auto base = WM::fingerprintHash(1552, 41040, 0, true, 1512, 982);
    EXPECT_NE(WM::fingerprintHash(1552, 41040, 1, true, 1512, 982), base);
    EXPECT_NE(WM::fingerprintHash(1552, 41040, 0, false, 1512, 982), base);
    EXPECT_NE(WM::fingerprintHash(1552, 41040, 0, true, 1512, 983), base);
}

class DisplayFingerprintDesktopTest : public PlatformTest {};

TEST_F(DisplayFingerprintDesktopTest, ReadsTheDisplayQueries) {
    SimDesktop::shared().addDisplay(
        testsupport::asLaptopPanel(testsupport::displaySpec(1, "Built-in", {0, 0, 1512, 982})));
    EXPECT_EQ(WM::displayFingerprintHash(1), 0xD1BADF2Au);
    // An unknown display answers zeros everywhere.
    EXPECT_EQ(WM::displayFingerprintHash(77), 0xE2BA14A5u);
}

TEST(SavedDisplayIdentityTest, ScreenUUIDPacksDisplayNumberAndFingerprint) {
    const std::int64_t packed = WM::packScreenUUID(1, 0xD1BADF2Au);
    EXPECT_EQ(packed, -3334107202632810495LL);
    EXPECT_EQ(WM::savedDisplayNumber(packed), 1u);
    EXPECT_EQ(WM::savedFingerprint(packed), 0xD1BADF2Au);
    // The largest display number stays unsigned and leaves the high half alone.
    const std::int64_t high = WM::packScreenUUID(0xFFFFFFFFu, 0);
    EXPECT_EQ(WM::savedDisplayNumber(high), 0xFFFFFFFFu);
    EXPECT_EQ(WM::savedFingerprint(high), 0u);
}

TEST(SavedDisplayIdentityTest, WindowIDPacksTheRoundedVisibleFrameOrigin) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* name;
        double x, y;
        std::uint64_t bits;
        WM::SavedOrigin origin;
    };
    const Case cases[] = {
        {"left of the main display, halves away from zero",
         -1920.4,
         25.5,
         0xFFFFF8800000001Aull,
         {-1920, 26}},
        {"left and above", -1440, 900, 0xFFFFFA6000000384ull, {-1440, 900}},
        {"rounds to the origin", 0.3, -0.4, 0, {0, 0}},
        {"beyond 32 bits", 3e9, 0, 0, {0, 0}},
        {"largest y", 0, 2147483647.4, 0x000000007FFFFFFFull, {0, 2147483647}},
        {"just past the range", -2147483648.6, 5, 0, {0, 0}},
        {"negative half rounds away", -0.5, 1, 0xFFFFFFFF00000001ull, {-1, 1}},
        {"infinite", inf, 10, 0, {0, 0}},
        {"not a number", 10, nan, 0, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::int64_t packed = WM::packWindowID(c.x, c.y);
        EXPECT_EQ(static_cast<std::uint64_t>(packed), c.bits);
        EXPECT_EQ(WM::savedOrigin(packed), c.origin);
    }
    EXPECT_EQ(WM::packWindowID(-1920.4, 25.5), -8246337208294LL);
}

TEST(SavedDisplayIdentityTest, SavedDisplayBoundsNeedAnOriginAndAPositiveSize) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* name;
        std::int64_t windowID;
        double width, height;
        std::optional<CGRect> expected;
    };
    const Case cases[] = {
        {"saved origin", WM::packWindowID(-1920.4, 25.5), 1920, 1055, CGRect{-1920, 26, 1920, 1055}},
        {"no origin", 0, 1440, 875, std::nullopt},
        {"origin that rounded to zero", WM::packWindowID(0.3, -0.4), 1440, 875, std::nullopt},
        {"origin out of range", WM::packWindowID(3e9, 0), 1440, 875, std::nullopt},
        {"zero width", WM::packWindowID(-1440, 900), 0, 875, std::nullopt},
        {"negative height", WM::packWindowID(-1440, 900), 1440, -1, std::nullopt},
        {"NaN width", WM::packWindowID(-1440, 900), nan, 875, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WindowAttributes w;
        w.windowID = c.windowID;
        w.originalScreenWidth = c.width;
        w.originalScreenHeight = c.height;
        EXPECT_EQ(WM::savedDisplayBounds(w), c.expected);
    }
}

} // namespace
} // namespace tilmora

#include "platform/control/SimDesktop.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "support/DesktopTest.hpp"
#include "windows/ScreenIdentity.hpp"
#include "windows/SystemDisplayProvider.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

namespace tilmora {
namespace {

using platform::CFValue;
using platform::DisplaySpec;
using platform::NSScreen;
using platform::SimDesktop;

/// Every shared instance, the desktop too, is reset around each test: the desktop starts empty.
class ScreenIdentityTest : public ::DesktopTest {
protected:
    /// The laptop plus one more display described by `spec`; returns that display's screen.
    static NSScreen secondScreen(const DisplaySpec& spec) {
        SimDesktop::shared().useLaptop();
        SimDesktop::shared().addDisplay(spec);
        const auto screens = NSScreen::screens();
        EXPECT_EQ(screens.size(), 2u);
        return screens.back();
    }
};

struct IdentityCase {
    const char* name;
    bool hasScreenNumber;
    std::optional<CFValue> override;
    std::optional<std::uint32_t> displayID;
    std::string identifier;
};

TEST_F(ScreenIdentityTest, DisplayNumberAndIdentifierText) {
    const IdentityCase cases[] = {
        {"number", true, std::nullopt, 5, "5"},
        {"unnumbered", false, std::nullopt, std::nullopt, "Panel-640.0--200.0"},
        {"64-bit unsigned", true, CFValue(std::uint64_t{7}), 7, "7"},
        {"double", true, CFValue(7.0), 7, "7"},
        {"fraction", true, CFValue(2.5), std::nullopt, "2"},
        {"negative", true, CFValue(std::int64_t{-1}), std::nullopt, "4294967295"},
        {"above 32 bits", true, CFValue(std::int64_t{4294967297}), std::nullopt, "1"},
        {"text", true, CFValue("7"), std::nullopt, "Panel-640.0--200.0"},
        {"not finite", true, CFValue(std::numeric_limits<double>::infinity()), std::nullopt,
         "Panel-640.0--200.0"},
    };
    for (const auto& c : cases) {
        SimDesktop::clear();
        DisplaySpec spec;
        spec.displayID = 5;
        spec.name = "Panel";
        spec.frame = {640, -200, 800, 200};
        spec.hasScreenNumber = c.hasScreenNumber;
        spec.screenNumberOverride = c.override;
        const NSScreen screen = secondScreen(spec);
        EXPECT_EQ(tlm_displayID(screen), c.displayID) << c.name;
        EXPECT_EQ(tlm_identifierString(screen), c.identifier) << c.name;
    }
}

TEST_F(ScreenIdentityTest, ProviderListsScreensInOrderWithTheirVisibleFrames) {
    EXPECT_TRUE(SystemDisplayProvider().currentDisplays().empty());

    SimDesktop::shared().useLaptopWithExternal();
    const auto displays = SystemDisplayProvider().currentDisplays();
    ASSERT_EQ(displays.size(), 2u);
    EXPECT_EQ(displays[0].id, DisplayId("1"));
    EXPECT_EQ(displays[0].name, "Built-in Retina Display");
    EXPECT_EQ(displays[0].bounds, (Rect{0, 0, 1440, 875}));
    EXPECT_EQ(displays[0].scaleFactor, 2);
    EXPECT_EQ(displays[1].id, DisplayId("2"));
    EXPECT_EQ(displays[1].bounds, (Rect{1440, 0, 1920, 1055}));
    EXPECT_EQ(displays[1].scaleFactor, 1);
    const NSScreen laptop = NSScreen::screens().front();
    EXPECT_EQ(tlm_displayID(laptop), 1u);
    EXPECT_EQ(tlm_identifierString(laptop), "1");
}

TEST_F(ScreenIdentityTest, ProviderBoundsExcludeTheDock) {
    DisplaySpec spec;
    spec.displayID = 1;
    spec.name = "Studio Display";
    spec.frame = {0, 0, 1440, 900};
    spec.visibleFrame = platform::CGRect{0, 80, 1440, 795};
    SimDesktop::shared().addDisplay(spec);
    // Two unnumbered screens with the same name and origin keep two entries with one id.
    DisplaySpec twin;
    twin.displayID = 9;
    twin.name = "Twin";
    twin.frame = {1440, 0, 800, 600};
    twin.hasScreenNumber = false;
    SimDesktop::shared().addDisplay(twin);
    twin.displayID = 10;
    SimDesktop::shared().addDisplay(twin);
    const auto displays = SystemDisplayProvider().currentDisplays();
    ASSERT_EQ(displays.size(), 3u);
    EXPECT_EQ(displays[0].bounds, (Rect{0, 80, 1440, 795}));
    EXPECT_EQ(displays[1].id, DisplayId("Twin-1440.0-0.0"));
    EXPECT_EQ(displays[2].id, displays[1].id);
}

} // namespace
} // namespace tilmora

#include "model/DisplayConfigurationSignature.hpp"
#include "model/ScreenSource.hpp"
#include "model/SystemScreenSource.hpp"

#include "support/DesktopTest.hpp"

#include <gtest/gtest.h>
#include "platform/control/SimDesktop.hpp"

using namespace tilmora;

class SystemScreenSourceTest : public DesktopTest {
protected:
    void SetUp() override {
        DesktopTest::SetUp();
        ScreenSource::install(nullptr);
    }
};

TEST_F(SystemScreenSourceTest, ReadsThePlatformsScreens) {
    desk().useLaptopWithExternal();
    sim().runFor(5); // past any lag of the screen list
    auto screens = ScreenSource::current()->screens();
    ASSERT_EQ(screens.size(), 2u);
    EXPECT_EQ(screens[0].displayNumber, 1u);
    EXPECT_EQ(screens[0].localizedName, "Built-in Retina Display");
    EXPECT_EQ(screens[0].frame, (Rect{0, 0, 1440, 900}));
    EXPECT_EQ(screens[0].visibleFrame, (Rect{0, 0, 1440, 875}));
    EXPECT_EQ(screens[0].backingScaleFactor, 2.0);
    EXPECT_EQ(screens[1].visibleFrame, (Rect{1440, 0, 1920, 1055}));
    EXPECT_EQ(DisplayConfigurationSignature::key(screens), "1-2880x1800|2-1920x1080");
    ASSERT_TRUE(ScreenSource::current()->mainScreen());
}

TEST_F(SystemScreenSourceTest, DisplayNumberReadsAsUnsigned32BitOrNone) {
    struct Case {
        const char* what;
        bool hasNumber;
        std::optional<platform::CFValue> value;
        std::optional<std::uint32_t> expected;
    };
    const Case cases[] = {
        {"plain", true, std::nullopt, 3u},
        {"missing", false, std::nullopt, std::nullopt},
        {"text", true, platform::CFValue("3"), std::nullopt},
        {"negative", true, platform::CFValue(std::int64_t{-1}), 4294967295u},
        {"wide", true, platform::CFValue(std::uint64_t{(1ull << 32) + 5}), 5u},
        {"double", true, platform::CFValue(7.9), 7u},
    };
    for (const auto& c : cases) {
        platform::SimDesktop::clear();
        platform::DisplaySpec spec;
        spec.displayID = 3;
        spec.frame = platform::CGRect(0, 0, 1280, 800);
        spec.hasScreenNumber = c.hasNumber;
        spec.screenNumberOverride = c.value;
        desk().addDisplay(spec);
        sim().runFor(5);
        auto screens = ScreenSource::current()->screens();
        ASSERT_EQ(screens.size(), 1u) << c.what;
        EXPECT_EQ(screens[0].displayNumber, c.expected) << c.what;
    }
}

TEST_F(SystemScreenSourceTest, NoDisplaysNoScreens) {
    EXPECT_TRUE(ScreenSource::current()->screens().empty());
    EXPECT_FALSE(ScreenSource::current()->mainScreen());
}

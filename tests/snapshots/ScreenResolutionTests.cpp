#include "snapshots/DisplayFingerprint.hpp"

#include "model/Settings.hpp"
#include "snapshots/DisplayMatchingTest.hpp"
#include "snapshots/ScreenResolution.hpp"
#include "windows/ScreenIdentity.hpp"

#include <gtest/gtest.h>

namespace tilmora::WindowManager {
namespace {

using platform::CGRect;
using Lines = std::vector<std::string>;

class ScreenResolutionTest : public DisplayMatchingTest {
protected:
    /// Laptop #1, "Middle" #2 (visible (1440, 0, 1920, 1055)), "Wide" #3 (visible (3360, 0, 2560, 1415)).
    void useThreeDisplays() {
        useDisplays({display(1, "Laptop", {0, 0, 1440, 900}), display(2, "Middle", {1440, 0, 1920, 1080}),
                     display(3, "Wide", {3360, 0, 2560, 1440})});
    }
};

TEST_F(ScreenResolutionTest, PicksByNumberAndSavedBounds) {
    verbose();
    useThreeDisplays();
    struct Case {
        const char* name;
        WindowValue row;
        std::uint32_t screen;
        MatchReason reason;
        Lines lines;
    };
    const Case cases[] = {
        {"numbers swapped: bounds win", savedRow(2, 0, {3360, 0, 2560, 1415}), 3, MatchReason::boundsExact,
         {"[SCREEN] Display ID mismatch: savedID=2 savedBounds={{3360, 0}, {2560, 1415}} idMatch=Middle(2) "
          "idCapture={{1440, 0}, {1920, 1055}} boundsMatch=Wide(3) boundsCapture={{3360, 0}, {2560, 1415}} "
          "-> using BoundsExact"}},
        {"number and bounds agree", savedRow(2, 0, {1441, 1, 1920, 1055}), 2, MatchReason::id, {}},
        {"number present, bounds match nothing", savedRow(2, 0, {1440, 0, 1900, 1055}), 2, MatchReason::id,
         {"[SCREEN] Display bounds mismatch for ID match: savedID=2 savedBounds={{1440, 0}, {1900, 1055}} "
          "idMatch=Middle(2) idCapture={{1440, 0}, {1920, 1055}}"}},
        // windowID 0: the laptop's frame is not compared, although it would match.
        {"no saved origin", savedRow(2, 0, {0, 0, 1440, 875}), 2, MatchReason::id, {}},
        {"number gone, bounds present", savedRow(9, 0, {3360, 0, 2560, 1415}), 3, MatchReason::boundsExact, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto before = logLines().size();
        const auto resolved = resolveScreenWithReason(c.row, screens());
        ASSERT_TRUE(resolved);
        EXPECT_EQ(tlm_displayID(resolved->screen), c.screen);
        EXPECT_EQ(resolved->reason, c.reason);
        EXPECT_EQ(linesFrom(before), c.lines);
    }
}

TEST_F(ScreenResolutionTest, ClosestSizeUsesFullFramesAndKeepsTheEarlierOnTies) {
    struct Case {
        const char* name;
        std::vector<platform::DisplaySpec> displays;
        CGRect saved;
        std::uint32_t expected;
    };
    const Case cases[] = {
        // 1600 x 1000 is 188.7 from 1440 x 900 and 329.8 from 1920 x 1080.
        {"nearer laptop listed second",
         {display(2, "Ext", {0, 0, 1920, 1080}), display(1, "Laptop", {1920, 0, 1440, 900})},
         {5000, 0, 1600, 1000}, 1},
        // By visible frames the second (1440 x 880) would be nearer than the first (1440 x 700).
        {"full frame, not visible frame",
         {display(1, "Docked", {0, 0, 1440, 900}, CGRect{0, 200, 1440, 700}),
          display(2, "Big", {1440, 0, 1600, 1000}, CGRect{1440, 0, 1440, 880})},
         {5000, 0, 1440, 900}, 1},
        {"identical displays: the first",
         {display(1, "L", {0, 0, 1920, 1080}), display(2, "R", {1920, 0, 1920, 1080})},
         {5000, 0, 1600, 1000}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        useDisplays(c.displays);
        const auto resolved = resolveScreenWithReason(savedRow(7, 0, c.saved), screens());
        ASSERT_TRUE(resolved);
        EXPECT_EQ(tlm_displayID(resolved->screen), c.expected);
        EXPECT_EQ(resolved->reason, MatchReason::closestSize);
    }
}

TEST_F(ScreenResolutionTest, AnEmptyListFallsBackToTheMainScreenOrToNothing) {
    const auto row = savedRow(7, 0, {5000, 0, 1600, 1000});
    const auto main = resolveScreenWithReason(row, {});
    ASSERT_TRUE(main);
    EXPECT_EQ(tlm_displayID(main->screen), 1u);
    EXPECT_EQ(main->reason, MatchReason::closestSize);

    desk().removeDisplay(1);
    sim().runFor(0.1);
    EXPECT_FALSE(resolveScreenWithReason(row, screens()));
    verbose();
    logRestorePlanGroupedByDisplay({row}, screens(), {});
    EXPECT_TRUE(logLines().empty()) << "a row without a screen is left out of the plan";
}

TEST_F(ScreenResolutionTest, ThePlanGroupsRowsByTargetDisplay) {
    desk().useLaptopWithExternal();
    sim().runFor(0.1);
    auto onExternal = savedRow(2, displayFingerprintHash(2), {1440, 0, 1920, 1055});
    auto untitled = savedRow(1, displayFingerprintHash(1), {0, 0, 1440, 875});
    untitled.bundleIdentifier.reset();
    untitled.windowTitle.reset();

    verbose();
    logRestorePlanGroupedByDisplay({onExternal, untitled}, screens(), {});
    EXPECT_EQ(logLines(),
              (Lines{"", "[GROUP] Restoring to Built-in Retina Display (id=1): 1 window(s)",
                     "[GROUP]   \u2022  \u2018\u2019 from savedScreenID=1 -> targetID=1 [reason=ID]", "",
                     "[GROUP] Restoring to DELL U2720Q (id=2): 1 window(s)",
                     "[GROUP]   \u2022 com.example.notes \u2018Todo\u2019 from savedScreenID=2 -> targetID=2 [reason=ID]",
                     ""}));

    desk().removeDisplay(2);
    sim().runFor(0.1);
    struct Case {
        const char* name;
        ScreenRemap remap;
        const char* reason;
    };
    const Case cases[] = {
        {"unplugged and remapped", {{2, {1, RemapMode::moveOnly}}}, "Remap"},
        {"replacement gone: resolved", {{2, {7, RemapMode::moveOnly}}}, "ClosestSize"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto before = logLines().size();
        logRestorePlanGroupedByDisplay({onExternal}, screens(), c.remap);
        EXPECT_EQ(linesFrom(before),
                  (Lines{"", "[GROUP] Restoring to Built-in Retina Display (id=1): 1 window(s)",
                         std::string("[GROUP]   \u2022 com.example.notes \u2018Todo\u2019 from savedScreenID=2 -> "
                                     "targetID=1 [reason=") +
                             c.reason + "]",
                         ""}));
    }

    const auto before = logLines().size();
    platform::UserDefaults::standard().set(false, settings::verboseLogging.key);
    applyRuntimePrefs();
    logRestorePlanGroupedByDisplay({onExternal}, screens(), cases[0].remap);
    EXPECT_EQ(logLines().size(), before) << "verbose off writes not even the empty lines";
}

} // namespace
} // namespace tilmora::WindowManager

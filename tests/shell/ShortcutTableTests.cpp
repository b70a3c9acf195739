#include "ChordFixture.hpp"

#include "model/Settings.hpp"

#include "platform/input/KeyChord.hpp"
#include "shortcuts/DefaultShortcuts.hpp"
#include "shortcuts/Key.hpp"
#include "shortcuts/Name.hpp"
#include "shortcuts/Registry.hpp"
#include "shortcuts/Shortcut.hpp"
#include "snapping/RoriDeru.hpp"

#include <gtest/gtest.h>

namespace tilmora {
namespace {

using GlobalShortcuts::Name;
using GlobalShortcuts::Shortcut;

/// The names in the order the shell binds them.
const std::vector<const Name& (*)()> bindingOrder = {
    &Name::snapLeftHalf,
    &Name::snapRightHalf,
    &Name::snapTopHalf,
    &Name::snapBottomHalf,
    &Name::snapLeftThird,
    &Name::snapMiddleThird,
    &Name::snapRightThird,
    &Name::snapLeftTwoThirds,
    &Name::snapRightTwoThirds,
    &Name::snapTopLeft,
    &Name::snapTopRight,
    &Name::snapBottomLeft,
    &Name::snapBottomRight,
    &Name::snapCenter,
    &Name::snapMaximize,
    &Name::snapCenterHalf,
    &Name::snapCenterTwoThirds,
    &Name::snapCenterThreeFourths,
    &Name::nativeFullScreen,
    &Name::fullScreenLeftHalf,
    &Name::fullScreenRightHalf,
    &Name::snapAlmostMaximize,
    &Name::snapMaximizeHeight,
    &Name::snapSmaller,
    &Name::snapLarger,
    &Name::snapRestore,
    &Name::nextDisplay,
    &Name::previousDisplay,
    &Name::moveToEdgeLeft,
    &Name::moveToEdgeRight,
    &Name::moveToEdgeUp,
    &Name::moveToEdgeDown,
    &Name::firstQuarter,
    &Name::secondQuarter,
    &Name::thirdQuarter,
    &Name::lastQuarter,
    &Name::firstThreeQuarters,
    &Name::lastThreeQuarters,
    &Name::topLeftSixth,
    &Name::topCenterSixth,
    &Name::topRightSixth,
    &Name::bottomLeftSixth,
    &Name::bottomCenterSixth,
    &Name::bottomRightSixth,
    &Name::grid1x2,
    &Name::grid1x3,
    &Name::grid2x1,
    &Name::grid3x1,
    &Name::grid2x2,
    &Name::grid3x3,
    &Name::grid4x4,
    &Name::grid6x4,
    &Name::grid8x2,
    &Name::toggleSnapBar,
    &Name::toggleSnapping,
    &Name::showSnapshotManager,
    &Name::openPreferences,
    &Name::openHelp,
    &Name::quitApp,
    &Name::toggleIntegrateMissionControl,
    &Name::toggleIntegrateStageManager,
};

/// A chord of its own for each position: key codes 0 to 30 with Control-Option-Command, then
/// with Shift added (Carbon modifier bits).
Shortcut chordAt(std::size_t index) {
    constexpr std::int64_t controlOptionCommand = 4096 + 2048 + 256;
    constexpr std::int64_t shift = 512;
    return Shortcut(static_cast<std::int64_t>(index % 31), controlOptionCommand + (index >= 31 ? shift : 0));
}

Shortcut shortcutOf(const char* text) {
    const auto chord = *platform::KeyChord::parse(text);
    return Shortcut(GlobalShortcuts::Key(chord.keyCode), chord.modifiers);
}

using ShortcutTableTest = ChordTest;

TEST_F(ShortcutTableTest, BindsTheSixtyOneNamesInTableOrder) {
    ASSERT_EQ(bindingOrder.size(), 61u);
    EXPECT_EQ(bindingOrder[18]().rawValue, Name::nativeFullScreen().rawValue);
    EXPECT_EQ(bindingOrder[59]().rawValue, Name::toggleIntegrateMissionControl().rawValue);
    // Stored last name first, then released: the hot keys come back in the order of the bindings.
    std::vector<Name> names;
    for (std::size_t i = bindingOrder.size(); i-- > 0;) {
        bindingOrder[i]().setShortcut(chordAt(i));
        names.push_back(bindingOrder[i]());
    }
    GlobalShortcuts::disable(names);
    ASSERT_TRUE(platform::SimInput::shared().registeredHotKeys().empty());

    shell().registerSnapShortcutHandlers();
    const auto hotKeys = platform::SimInput::shared().registeredHotKeys();
    ASSERT_EQ(hotKeys.size(), bindingOrder.size());
    for (std::size_t i = 0; i < hotKeys.size(); ++i) {
        SCOPED_TRACE(bindingOrder[i]().rawValue);
        EXPECT_EQ(hotKeys[i].keyCode, chordAt(i).carbonKeyCode);
        EXPECT_EQ(hotKeys[i].modifiers, chordAt(i).carbonModifiers);
    }
}

TEST_F(ShortcutTableTest, SharedDefaultChordRunsBothCommands) {
    registerDefaultSnapShortcutsIfNeeded();
    ASSERT_EQ(Name::snapRightThird().shortcut(), Name::toggleIntegrateStageManager().shortcut());
    const bool stageBefore = defaults().boolForKey(settings::integrateStageManager.key);
    shell().registerSnapShortcutHandlers();
    press("ctrl+opt+g");
    const auto visible = platform::NSScreen::main()->visibleFrame();
    EXPECT_DOUBLE_EQ(notesFrame().origin.x, visible.origin.x + visible.size.width * 2 / 3);
    EXPECT_DOUBLE_EQ(notesFrame().size.width, visible.size.width / 3);
    EXPECT_EQ(RoriDeru::shared().selectedKind(platform::NSScreen::main()), SnapIconKind::rightThird);
    EXPECT_EQ(defaults().boolForKey(settings::integrateStageManager.key), !stageBefore);
}

TEST_F(ShortcutTableTest, GridChordsApplyRowsThenColumns) {
    struct Case {
        const Name& (*name)();
        const char* chord;
        std::int64_t rows;
        std::int64_t cols;
    };
    const std::vector<Case> cases = {
        {&Name::grid1x2, "ctrl+opt+cmd+1", 1, 2},
        {&Name::grid2x1, "ctrl+opt+cmd+2", 2, 1},
        {&Name::grid8x2, "ctrl+opt+cmd+3", 8, 2},
    };
    for (const auto& c : cases)
        c.name().setShortcut(shortcutOf(c.chord));
    shell().registerSnapShortcutHandlers();
    const auto screen = platform::NSScreen::main();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chord);
        press(c.chord);
        const auto preset = shell().roriDeru().activePreset(*screen);
        ASSERT_TRUE(preset);
        EXPECT_EQ(preset->rows, c.rows);
        EXPECT_EQ(preset->cols, c.cols);
    }
}

TEST_F(ShortcutTableTest, WindowShownBeforeTheFirstUpdateCycleLeavesOneBindingPerName) {
    registerDefaultSnapShortcutsIfNeeded();
    shell().showWindow();
    platform::SPUStandardUpdaterController controller(false, &shell());
    shell().updaterDidFinishUpdateCycle(controller.updater(), std::nullopt);
    sim().runFor(0.1);
    // A second binding would run the switch twice per press and leave it as it was.
    const bool stageBefore = defaults().boolForKey(settings::integrateStageManager.key);
    const bool missionBefore = defaults().boolForKey(settings::integrateMissionControl.key);
    Name::toggleIntegrateMissionControl().setShortcut(shortcutOf("ctrl+opt+cmd+m"));
    press("ctrl+opt+g");
    press("ctrl+opt+cmd+m");
    EXPECT_EQ(defaults().boolForKey(settings::integrateStageManager.key), !stageBefore);
    EXPECT_EQ(defaults().boolForKey(settings::integrateMissionControl.key), !missionBefore);
}

} // namespace
} // namespace tilmora

#include "WindowCommandFixture.hpp"

#include "model/Settings.hpp"

#include "platform/control/SimInput.hpp"
#include "platform/desktop/NSGeometry.hpp"
#include "snapping/TilingController.hpp"
#include "support/SnapGridParts.hpp"

namespace tilmora::shelltest {
namespace {

using platform::CGRect;

/// The laptop with visible frame (0, 25, 1440, 875): a menu bar and a Dock-free bottom edge.
void useRaisedVisibleFrame() {
    platform::SimDesktop::shared().setDisplayFrame(1, {0, 0, 1440, 900}, CGRect{0, 25, 1440, 875});
}

TEST_F(WindowCommandTest, ResizeRelativeScalesAroundTheCentreWithinTheVisibleFrameAndTheMinimums) {
    struct Case {
        const char* selector;
        CGRect start;
        Rect handed;
    };
    const Case cases[] = {
        {"snapSmaller", {100, 100, 300, 200}, {115, 110, 270, 180}},
        // 189 x 144 would be below the minimums: 200 x 150, centred on the old centre.
        {"snapSmaller", {100, 100, 210, 160}, {105, 105, 200, 150}},
        // As wide as the visible frame: the width stays; the taller window is pushed down from the top.
        {"snapLarger", {0, 100, 1440, 400}, {0, 80, 1440, 440}},
        // Larger near the top edge: pushed back inside the visible frame.
        {"snapLarger", {100, 575, 400, 300}, {80, 545, 440, 330}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.selector) + " " + platform::NSStringFromRect(c.start));
        setWindowFrame(c.start);
        mover->moves.clear();
        ASSERT_TRUE(send(c.selector));
        ASSERT_EQ(mover->moves.size(), 1u);
        EXPECT_TRUE(sameRect(mover->moves.at(0), c.handed));
    }
    EXPECT_TRUE(sameRect(rectOf(windowFrame()), {80, 545, 440, 330}, 0.5));
}

TEST_F(WindowCommandTest, ResizeAndMoveToEdgeLogTheKeyAndBothRectanglesAndTheWindowEndsInside) {
    struct Case {
        const char* selector;
        CGRect start;
        std::vector<std::string> logged;
        std::optional<Rect> end;
    };
    const Case cases[] = {
        {"snapSmaller",
         {100, 100, 300, 200},
         {"[UI] Resize relative scale=0.9 key=com.apple.TextEdit|Notes fromRect={{100, 100}, {300, 200}}",
          "[UI] Resize -> newRect={{115, 110}, {270, 180}}"},
         std::nullopt},
        {"snapLarger", {0, 100, 1440, 400}, {"[UI] Resize relative scale=1.1 key="}, Rect{0, 80, 1440, 440}},
        // The mover clamps the window the command handed on.
        {"moveToEdgeRight",
         {0, 0, 1600, 500},
         {"[UI] Move to edge h=right v=nil key=com.apple.TextEdit|Notes fromRect={{0, 0}, {1600, 500}} "
          "on=Built-in Retina Display",
          "[UI] Move to edge -> newRect={{-160, 0}, {1600, 500}}"},
         Rect{0, 0, 1440, 500}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.selector);
        setWindowFrame(c.start);
        ASSERT_TRUE(send(c.selector));
        const auto fresh = newLines();
        for (const auto& line : c.logged)
            EXPECT_EQ(countContaining(fresh, line), 1u) << line;
        if (c.end) {
            EXPECT_TRUE(sameRect(rectOf(windowFrame()), *c.end, 0.5));
        }
    }
}

TEST_F(WindowCommandTest, FullHeightTakesTheVisibleHeightLessTheChosenGaps) {
    useRaisedVisibleFrame();
    auto& defaults = platform::UserDefaults::standard();
    struct Case {
        const char* name;
        CGRect start;
        bool gaps;
        bool includeEdges;
        bool bottom;
        bool top;
        Rect handed;
    };
    const Case cases[] = {
        {"no gaps", {100, 200, 500, 300}, false, true, false, false, {100, 25, 500, 875}},
        {"both screen edges", {100, 200, 500, 300}, true, true, false, false, {100, 31, 500, 863}},
        {"bottom edge only", {100, 200, 500, 300}, true, false, true, false, {100, 31, 500, 869}},
        {"top edge only", {100, 200, 500, 300}, true, false, false, true, {100, 25, 500, 869}},
        {"no edge", {100, 200, 500, 300}, true, false, false, false, {100, 25, 500, 875}},
        {"wider than the screen", {100, 200, 1600, 300}, false, false, false, false, {0, 25, 1600, 875}},
        {"sticking out on the right", {1200, 200, 500, 300}, false, false, false, false, {940, 25, 500, 875}},
    };
    defaults.set(12.0, settings::gapVertical.key);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        defaults.set(c.gaps, settings::applyGapsToMaximizeHeight.key);
        defaults.set(c.includeEdges, settings::gapsIncludeScreenEdges.key);
        defaults.set(c.bottom, settings::gapsEdgesBottom.key);
        defaults.set(c.top, settings::gapsEdgesTop.key);
        setWindowFrame(c.start);
        mover->moves.clear();
        ASSERT_TRUE(send("snapMaximizeHeight"));
        ASSERT_EQ(mover->moves.size(), 1u);
        EXPECT_TRUE(sameRect(mover->moves.at(0), c.handed));
    }
}

TEST_F(WindowCommandTest, FullHeightGapFallsBackToTheGapSizeAndIgnoresNegativeOrTextValues) {
    useRaisedVisibleFrame();
    auto& defaults = platform::UserDefaults::standard();
    defaults.set(true, settings::applyGapsToMaximizeHeight.key);
    defaults.set(true, settings::gapsIncludeScreenEdges.key);
    const auto vertical = settings::gapVertical.key;
    const auto size = settings::gapSize.key;
    struct Case {
        const char* name;
        platform::PropertyDictionary stored;
        Rect handed;
    };
    const Case cases[] = {
        {"vertical absent: gap size", {{size, 8.0}}, {100, 29, 500, 867}},
        {"vertical as text: gap size", {{vertical, std::string("12")}, {size, 8.0}}, {100, 29, 500, 867}},
        {"negative vertical counts as none", {{vertical, -12.0}, {size, 8.0}}, {100, 25, 500, 875}},
        {"neither", {}, {100, 25, 500, 875}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        defaults.removeObjectForKey(vertical);
        defaults.removeObjectForKey(size);
        for (const auto& [key, value] : c.stored)
            defaults.set(value, key);
        setWindowFrame({100, 200, 500, 300});
        mover->moves.clear();
        ASSERT_TRUE(send("snapMaximizeHeight"));
        ASSERT_EQ(mover->moves.size(), 1u);
        EXPECT_TRUE(sameRect(mover->moves.at(0), c.handed));
    }
}

TEST_F(WindowCommandTest, MoveToEdgeKeepsTheSizeAndClampsNothing) {
    struct Case {
        const char* selector;
        bool raised;
        CGRect start;
        Rect handed;
    };
    const Case cases[] = {
        {"moveToEdgeRight", false, {0, 0, 1600, 500}, {-160, 0, 1600, 500}},
        {"moveToEdgeLeft", false, {300, 200, 400, 300}, {0, 200, 400, 300}},
        {"moveToEdgeUp", true, {100, 100, 400, 300}, {100, 600, 400, 300}},
        {"moveToEdgeDown", true, {100, 300, 400, 300}, {100, 25, 400, 300}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.selector);
        if (c.raised) useRaisedVisibleFrame();
        setWindowFrame(c.start);
        mover->moves.clear();
        ASSERT_TRUE(send(c.selector));
        ASSERT_EQ(mover->moves.size(), 1u);
        EXPECT_TRUE(sameRect(mover->moves.at(0), c.handed));
    }
}

TEST_F(WindowCommandTest, RestoreGoesBackToTheBaselineAndRestoreLayoutUndoesOneCommand) {
    ASSERT_TRUE(send("snapLeftHalf"));
    ASSERT_TRUE(send("snapRightThird"));
    EXPECT_TRUE(sameRect(mover->moves.back(), {960, 0, 480, 875}));
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(send("snapRestoreLast"));
        EXPECT_TRUE(sameRect(mover->moves.back(), {100, 100, 400, 300}));
    }
    ASSERT_TRUE(send("snapRestoreLastLayout"));
    EXPECT_TRUE(sameRect(mover->moves.back(), {0, 0, 720, 875}));
    const auto fresh = newLines();
    EXPECT_EQ(
        countContaining(
            fresh, "[UI] Stored baseline rect for key=com.apple.TextEdit|Notes: {{100, 100}, {400, 300}}"),
        1u);
    EXPECT_EQ(countContaining(fresh, "[UI] Stored baseline rect for key="), 1u);
    EXPECT_EQ(
        countContaining(
            fresh, "[UI] Restore baseline for key=com.apple.TextEdit|Notes rect={{100, 100}, {400, 300}}"),
        2u);
    EXPECT_EQ(
        countContaining(
            fresh, "[UI] Restore last layout for key=com.apple.TextEdit|Notes rect={{0, 0}, {720, 875}}"),
        1u);
}

TEST_F(WindowCommandTest, CommandsWithoutAFrontmostWindowMoveAndLogNothing) {
    desk().quit(textEdit);
    for (const char* selector : {"snapSmaller", "snapMaximizeHeight", "moveToEdgeLeft", "snapRestoreLast",
                                 "snapRestoreLastLayout", "snapNextDisplay"}) {
        SCOPED_TRACE(selector);
        ASSERT_TRUE(send(selector));
    }
    EXPECT_TRUE(mover->moves.empty());
    EXPECT_EQ(countContaining(newLines(), "[UI]"), 0u);
}

TEST_F(WindowCommandTest, DisplayHopKeepsTheRelativeFrameAndWrapsAround) {
    desk().useLaptopWithExternal();
    auto& defaults = platform::UserDefaults::standard();
    struct Case {
        const char* name;
        std::optional<platform::PropertyValue> preserve;
        CGRect start;
        const char* selector;
        Rect handed;
    };
    const Case cases[] = {
        {"next, relative", std::nullopt, {0, 0, 720, 875}, "snapNextDisplay", {1440, 0, 960, 1055}},
        {"next from the last wraps to the first",
         std::nullopt,
         {1440, 0, 960, 1055},
         "snapNextDisplay",
         {0, 0, 720, 875}},
        {"previous from the first wraps to the last",
         std::nullopt,
         {0, 0, 720, 875},
         "snapPreviousDisplay",
         {1440, 0, 960, 1055}},
        {"kept frame when not relative",
         platform::PropertyValue(false),
         {0, 0, 720, 875},
         "snapNextDisplay",
         {1440, 0, 720, 875}},
        {"a text setting counts as relative",
         platform::PropertyValue(std::string("no")),
         {0, 0, 720, 875},
         "snapNextDisplay",
         {1440, 0, 960, 1055}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        defaults.removeObjectForKey(settings::preserveRelativeMove.key);
        if (c.preserve) defaults.set(*c.preserve, settings::preserveRelativeMove.key);
        setWindowFrame(c.start);
        mover->moves.clear();
        ASSERT_TRUE(send(c.selector));
        ASSERT_EQ(mover->moves.size(), 1u);
        EXPECT_TRUE(sameRect(mover->moves.at(0), c.handed));
    }
    EXPECT_EQ(
        countContaining(newLines(), "[UI] Display hop -> newRect={{1440, 0}, {960, 1055}} on=DELL U2720Q"),
        3u);
}

TEST_F(WindowCommandTest, DisplayHopLeavesAWindowWhoseCentreIsOnNoDisplay) {
    desk().useLaptopWithExternal();
    setWindowFrame({-900, 100, 400, 300});
    ASSERT_TRUE(send("snapNextDisplay"));
    EXPECT_TRUE(mover->moves.empty());
    const auto fresh = newLines();
    EXPECT_EQ(countContaining(fresh, "[UI] Move to next display fromRect={{-900, 100}, {400, 300}}"), 1u);
    EXPECT_EQ(countContaining(fresh, "Display hop"), 0u);
}

TEST_F(WindowCommandTest, PreviousDisplayFromTheFirstOfThreeGoesToTheThird) {
    desk().useLaptopWithExternal();
    platform::DisplaySpec third;
    third.displayID = 3;
    third.name = "Side";
    third.frame = {3360, 0, 1000, 800};
    third.visibleFrame = third.frame;
    desk().addDisplay(third);
    setWindowFrame({0, 0, 720, 875});
    ASSERT_TRUE(send("snapPreviousDisplay"));
    ASSERT_EQ(mover->moves.size(), 1u);
    EXPECT_TRUE(sameRect(mover->moves.at(0), {3360, 0, 500, 800}));
}

TEST_F(WindowCommandTest, SnapKindFromAClickUnchecksTheSelectedKindAndFromAChordKeepsIt) {
    auto& grid = shell->roriDeru();
    const auto laptop = screen(1);
    auto& defaults = platform::UserDefaults::standard();
    enum class Sent { click, hotKey, noEvent };
    struct Case {
        const char* name;
        Sent sent;
        bool snapping;
        std::optional<SnapIconKind> selected;
    };
    const Case cases[] = {
        {"menu pick of the selected kind", Sent::click, true, std::nullopt},
        {"hot key", Sent::hotKey, true, SnapIconKind::leftHalf},
        {"no current event", Sent::noEvent, true, SnapIconKind::leftHalf},
        {"snapping off", Sent::noEvent, false, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        {
            auto switches = SnapGridParts::switches(grid);
            switches.snappingEnabled = true;
            SnapGridParts::restoreSwitches(grid, switches);
        }
        grid.setSelectedKind(SnapIconKind::leftHalf, laptop);
        {
            auto switches = SnapGridParts::switches(grid);
            switches.snappingEnabled = c.snapping;
            SnapGridParts::restoreSwitches(grid, switches);
        }
        defaults.set(std::string("3F2504E0-4F89-11D3-9A0C-0305E82C3301"), "WMVeskSelectedPresetId.1");
        setWindowFrame({100, 100, 400, 300});
        mover->moves.clear();
        if (c.sent == Sent::click) {
            ASSERT_TRUE(sendClick("snapLeftHalf"));
        } else if (c.sent == Sent::hotKey) {
            ASSERT_TRUE(sendHotKey("snapLeftHalf"));
        } else {
            ASSERT_TRUE(send("snapLeftHalf"));
        }
        ASSERT_EQ(mover->moves.size(), 1u);
        EXPECT_TRUE(sameRect(mover->moves.at(0), {0, 0, 720, 875}));
        EXPECT_EQ(grid.selectedKind(laptop), c.selected);
        EXPECT_FALSE(defaults.objectForKey("WMVeskSelectedPresetId.1").has_value());
    }
}

TEST_F(WindowCommandTest, SnapKindLogsTheScreenTheRecordAndTheComputedRect) {
    ASSERT_TRUE(send("snapLeftHalf"));
    const auto fresh = newLines();
    EXPECT_EQ(countContaining(fresh, "[...] [UI] SnapBar action: leftHalf on screen=Built-in Retina Display"),
              1u);
    EXPECT_EQ(countContaining(
                  fresh, "[UI] Stored last rect for key=com.apple.TextEdit|Notes: {{100, 100}, {400, 300}})"),
              1u);
    EXPECT_EQ(countContaining(fresh, "[UI] Computed rect for leftHalf: {{0, 0}, {720, 875}}"), 1u);
    EXPECT_TRUE(sameRect(rectOf(windowFrame()), {0, 0, 720, 875}, 0.5));
}

TEST_F(WindowCommandTest, SnapKindWithoutAFrontmostWindowOnlySelects) {
    desk().quit(textEdit);
    auto& defaults = platform::UserDefaults::standard();
    defaults.set(std::string("3F2504E0-4F89-11D3-9A0C-0305E82C3301"), "WMVeskSelectedPresetId.1");
    ASSERT_TRUE(sendClick("snapLeftHalf"));
    EXPECT_EQ(shell->roriDeru().selectedKind(screen(1)), SnapIconKind::leftHalf);
    EXPECT_TRUE(shell->lastRectByWindowKey().empty());
    EXPECT_FALSE(defaults.objectForKey("WMVeskSelectedPresetId.1").has_value());
}

TEST_F(WindowCommandTest, ScreenForSnappingFollowsThePointerOnlyWhenAskedWithABoolean) {
    desk().useLaptopWithExternal();
    auto& defaults = platform::UserDefaults::standard();
    struct Case {
        const char* name;
        platform::PropertyValue useCursor;
        platform::CGPoint mouse;
        std::uint32_t display;
    };
    const Case cases[] = {
        {"pointer on the external display's left edge", platform::PropertyValue(true), {1440, 500}, 2},
        {"pointer on no display: the window's", platform::PropertyValue(true), {-50, -50}, 1},
        {"setting off", platform::PropertyValue(false), {1440, 500}, 1},
        {"setting as text", platform::PropertyValue(std::string("YES")), {1440, 500}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        defaults.set(c.useCursor, settings::useCursorDisplay.key);
        platform::SimInput::shared().moveMouse(c.mouse);
        const auto chosen = shell->screenForSnapping();
        ASSERT_TRUE(chosen.has_value());
        EXPECT_EQ(tlm_displayID(*chosen), c.display);
    }
    defaults.set(true, settings::useCursorDisplay.key);
    platform::SimInput::shared().moveMouse({1440, 500});
    ASSERT_TRUE(send("snapLeftHalf"));
    EXPECT_TRUE(sameRect(mover->moves.back(), {1440, 0, 960, 1055}));
}

TEST_F(WindowCommandTest, LayoutTargetsAreEveryDisplayInAllDisplaysScope) {
    desk().useLaptopWithExternal();
    EXPECT_EQ(shell->layoutTargetScreens(std::nullopt).size(), 1u);
    platform::UserDefaults::standard().set(true, settings::gridAllDisplays.key);
    EXPECT_EQ(shell->layoutTargetScreens(std::nullopt).size(), 2u);
}

TEST_F(WindowCommandTest, SelectorsRunTheirCommandsWithTheirConstants) {
    EXPECT_FALSE(send("snapAlmostMaximize"));
    ASSERT_TRUE(send("snapAlmostMaximise"));
    EXPECT_EQ(shell->roriDeru().selectedKind(screen(1)), SnapIconKind::almostMaximize);

    mover->moves.clear();
    ASSERT_TRUE(sendWithObject("snapFromMenuItem:", RoriDeru::Preset(2, 2, 0, 0)));
    ASSERT_TRUE(sendWithObject("snapFromMenuItem:", std::any()));
    EXPECT_TRUE(mover->moves.empty());
    ASSERT_TRUE(sendWithObject("snapFromMenuItem:", SnapIconKind::topLeftSixth));
    EXPECT_EQ(shell->roriDeru().selectedKind(screen(1)), SnapIconKind::topLeftSixth);
    ASSERT_EQ(mover->moves.size(), 1u);
    EXPECT_TRUE(sameRect(mover->moves.at(0), shell->roriDeru().computeRectForVisible(
                                                 SnapIconKind::topLeftSixth, {0, 0, 1440, 875})));
}

TEST_F(WindowCommandTest, FullScreenPresetActionSelectsTheKindAndMovesToItsHalfWithoutRecording) {
    ASSERT_TRUE(sendWithObject("fullScreenPresetAction:", SnapIconKind::fullScreenRightHalf));
    EXPECT_EQ(shell->roriDeru().selectedKind(screen(1)), SnapIconKind::fullScreenRightHalf);
    ASSERT_EQ(mover->moves.size(), 1u);
    EXPECT_TRUE(sameRect(mover->moves.at(0), {720, 0, 720, 875}));
    EXPECT_TRUE(shell->baselineRectByWindowKey().empty());
    EXPECT_TRUE(shell->lastRectByWindowKey().empty());
}

TEST_F(WindowCommandTest, FullScreenHalvesFromTheShortcutsSelectAndMoveWithoutRecording) {
    struct Case {
        SnapIconKind kind;
        Rect handed;
    };
    const Case cases[] = {
        {SnapIconKind::fullScreenLeftHalf, {0, 0, 720, 875}},
        {SnapIconKind::fullScreenRightHalf, {720, 0, 720, 875}},
    };
    auto& defaults = platform::UserDefaults::standard();
    for (const auto& c : cases) {
        defaults.set(std::string("3F2504E0-4F89-11D3-9A0C-0305E82C3301"), "WMVeskSelectedPresetId.1");
        mover->moves.clear();
        shell->snapFullScreenHalf(c.kind);
        EXPECT_EQ(shell->roriDeru().selectedKind(screen(1)), c.kind);
        ASSERT_EQ(mover->moves.size(), 1u);
        EXPECT_TRUE(sameRect(mover->moves.at(0), c.handed));
        // No preset-grid clearing on this road.
        EXPECT_TRUE(defaults.objectForKey("WMVeskSelectedPresetId.1").has_value());
    }
    EXPECT_TRUE(shell->baselineRectByWindowKey().empty());
}

TEST_F(WindowCommandTest, EnterMacFullScreenSelectsItsKindAndPutsTheWindowInFullScreen) {
    ASSERT_TRUE(send("enterMacFullScreen"));
    sim().runFor(2.0);
    EXPECT_EQ(shell->roriDeru().selectedKind(screen(1)), SnapIconKind::macFullScreen);
    EXPECT_TRUE(desk().windowsOf(textEdit).at(0).fullScreen);
}

TEST_F(WindowCommandTest, ResetAllSnappedWindowsMovesEachBaselineWindowBackAndKeepsTheBaselines) {
    EditorWindowHooks hooks;
    hooks.groupedTargets = [](const std::map<std::string, CGRect>& targets) {
        EditorWindowHooks::BaselineGroups groups;
        for (const auto& [key, rect] : targets) {
            const auto bar = key.find('|');
            groups[key.substr(0, bar)].emplace_back(key.substr(bar + 1), rect);
        }
        return groups;
    };
    EditorWindowHooks::install(hooks);
    ASSERT_TRUE(send("snapLeftHalf"));
    EXPECT_TRUE(sameRect(rectOf(windowFrame()), {0, 0, 720, 875}, 0.5));
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(send("resetAllSnappedWindows:"));
        sim().runFor(1.0);
        EXPECT_TRUE(sameRect(rectOf(windowFrame()), {100, 100, 400, 300}, 0.5));
        EXPECT_EQ(shell->baselineRectByWindowKey().size(), 1u);
        setWindowFrame({0, 0, 720, 875});
    }
}

TEST_F(WindowCommandTest, LayoutScopeSwitchesOnlyWhenTheScopeChanges) {
    auto& defaults = platform::UserDefaults::standard();
    ASSERT_TRUE(send("setLayoutScopeSingle:"));
    EXPECT_FALSE(defaults.boolForKey(settings::gridAllDisplays.key));
    ASSERT_TRUE(send("toggleLayoutScope:"));
    EXPECT_TRUE(defaults.boolForKey(settings::gridAllDisplays.key));
    ASSERT_TRUE(send("setLayoutScopeAll:"));
    EXPECT_TRUE(defaults.boolForKey(settings::gridAllDisplays.key));
    ASSERT_TRUE(send("toggleLayoutScope:"));
    EXPECT_FALSE(defaults.boolForKey(settings::gridAllDisplays.key));
}

TEST_F(WindowCommandTest, OpenSnapPreferencesOpensThePreferencesWindow) {
    ASSERT_TRUE(send("openSnapPreferences"));
    ASSERT_NE(shell->preferencesWindowController(), nullptr);
    EXPECT_TRUE(shell->preferencesWindowController()->window()->isVisible());
}

TEST_F(WindowCommandTest, ToggleGridLinesFlipsTheSettingAndLogsTheNewState) {
    auto& defaults = platform::UserDefaults::standard();
    defaults.set(true, settings::showGridLinesDuringDrag.key);
    ASSERT_TRUE(send("toggleGridLines:"));
    EXPECT_FALSE(defaults.boolForKey(settings::showGridLinesDuringDrag.key));
    ASSERT_TRUE(send("toggleGridLines:"));
    EXPECT_TRUE(defaults.boolForKey(settings::showGridLinesDuringDrag.key));
    const auto fresh = newLines();
    EXPECT_EQ(countContaining(fresh, "[UI] Toggle grid lines during drag -> OFF"), 1u);
    EXPECT_EQ(countContaining(fresh, "[UI] Toggle grid lines during drag -> ON"), 1u);
}

} // namespace
} // namespace tilmora::shelltest

#include "SnapStateFixture.hpp"

#include "model/Settings.hpp"
#include "platform/control/SimInput.hpp"

#include <gtest/gtest.h>

namespace tilmora::testing {
namespace {

using platform::UserDefaults;

class RectSelectionTest : public SnapStateTest {
protected:
    static void setAllDisplays(bool on) { UserDefaults::standard().set(on, settings::gridAllDisplays.key); }
};

TEST_F(RectSelectionTest, SettingAKindPostsOncePerEffectiveChange) {
    constexpr auto leftHalf = SnapIconKind::leftHalf;
    constexpr auto rightHalf = SnapIconKind::rightHalf;
    struct Step {
        const char* name;
        bool allDisplays;
        std::optional<SnapIconKind> kind;
        std::optional<std::uint32_t> screen;
        int posts;
        std::string line;
    };
    const std::string set = "[...] [PRESET] [rect] setSelectedKind";
    const std::string left = "Optional(Tilmora.SnapIconKind.leftHalf)";
    const std::string right = "Optional(Tilmora.SnapIconKind.rightHalf)";
    const std::string laptopLeft = "entries=[Built-in Retina Display=leftHalf]";
    // One grid walks through the steps in order; each step states its own posts and its line.
    const Step steps[] = {
        {"first choice", false, leftHalf, 1u, 1,
         set + " sid=1 kind=" + left + " scope=single global=nil last=Built-in Retina Display " + laptopLeft},
        {"same kind again", false, leftHalf, 1u, 0,
         set + "(no-change) sid=1 scope=single global=nil last=Built-in Retina Display " + laptopLeft},
        {"no kind where there is none", false, std::nullopt, 2u, 0,
         set + "(no-change) sid=2 scope=single global=nil last=Built-in Retina Display " + laptopLeft},
        {"second display", false, rightHalf, 2u, 1,
         set + " sid=2 kind=" + right +
             " scope=single global=nil last=DELL U2720Q entries=[Built-in Retina Display=leftHalf, "
             "DELL U2720Q=rightHalf]"},
        {"clear the latest display", false, std::nullopt, 2u, 1,
         set + " sid=2 kind=nil scope=single global=nil last=nil " + laptopLeft},
        {"global kind", true, rightHalf, std::nullopt, 1,
         set + "(all)=" + right + " scope=all global=rightHalf last=nil " + laptopLeft},
        {"same global kind", true, rightHalf, 2u, 0,
         set + "(all) unchanged=" + right + " scope=all global=rightHalf last=nil " + laptopLeft},
        {"clear the global kind", true, std::nullopt, std::nullopt, 1,
         set + "(all)=nil scope=all global=nil last=nil entries=[]"},
    };
    RecordingGrid grid;
    countPosts(grid);
    newLines();
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        setAllDisplays(step.allDisplays);
        posts = 0;
        grid.setSelectedKind(step.kind, step.screen ? std::optional(screen(*step.screen)) : std::nullopt);
        EXPECT_EQ(posts, step.posts);
        EXPECT_EQ(newLines(), std::vector<std::string>{step.line});
    }
}

TEST_F(RectSelectionTest, ARepeatedChoiceStillMakesItsDisplayTheLatest) {
    RecordingGrid grid;
    grid.setSelectedKind(SnapIconKind::leftHalf, screen(1));
    grid.setSelectedKind(SnapIconKind::topHalf, screen(2));
    EXPECT_EQ(SnapGridParts::rectSelection(grid).state().lastDisplay, 2u);
    EXPECT_EQ(grid.selectedKind(), SnapIconKind::topHalf);
    countPosts(grid);
    grid.setSelectedKind(SnapIconKind::leftHalf, screen(1));
    EXPECT_EQ(posts, 0);
    EXPECT_EQ(SnapGridParts::rectSelection(grid).state().lastDisplay, 1u);
    EXPECT_EQ(grid.selectedKind(), SnapIconKind::leftHalf);
    // Without a latest display the lowest display number answers.
    editSelection(grid, [&](auto& state) { state.lastDisplay.reset(); });
    EXPECT_EQ(grid.selectedKind(), SnapIconKind::leftHalf);
    editSelection(grid, [&](auto& state) { state.lastDisplay = 9; });
    EXPECT_EQ(grid.selectedKind(), SnapIconKind::leftHalf);
}

TEST_F(RectSelectionTest, WithoutAScreenTheSelectionGoesToThePreferredScreen) {
    RecordingGrid grid;
    platform::SimInput::shared().moveMouse({2000, 500});
    grid.setSelectedKind(SnapIconKind::maximize, std::nullopt);
    EXPECT_EQ(SnapGridParts::rectSelection(grid).state().byDisplay,
              (std::map<std::uint32_t, SnapIconKind>{{2, SnapIconKind::maximize}}));
    // With no screens at all the call is skipped with its line.
    desk().removeDisplay(2);
    desk().removeDisplay(1);
    sim().runFor(5);
    ASSERT_TRUE(platform::NSScreen::screens().empty());
    countPosts(grid);
    newLines();
    grid.setSelectedKind(SnapIconKind::center, std::nullopt);
    EXPECT_EQ(posts, 0);
    EXPECT_EQ(newLines(),
              std::vector<std::string>{"[...] [PRESET] [rect] setSelectedKind(no-screen)=Optional("
                                       "Tilmora.SnapIconKind.center) skipped scope=single global=nil "
                                       "last=sid:2 entries=[sid:2=maximize]"});
}

TEST_F(RectSelectionTest, ClearingPostsOnlyWhenThereWasASelection) {
    struct Case {
        const char* name;
        bool allDisplays;
        std::optional<SnapIconKind> global;
        std::map<std::uint32_t, SnapIconKind> byDisplay;
        int posts;
    };
    const Case cases[] = {
        {"nothing, one display", false, std::nullopt, {}, 0},
        {"nothing, all displays", true, std::nullopt, {}, 0},
        {"a global kind is not looked at per display", false, SnapIconKind::center, {}, 0},
        {"a display entry", false, std::nullopt, {{2, SnapIconKind::center}}, 1},
        {"a global kind", true, SnapIconKind::center, {}, 1},
        {"only display entries, all displays", true, std::nullopt, {{1, SnapIconKind::center}}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        setAllDisplays(c.allDisplays);
        RecordingGrid grid;
        editSelection(grid, [&](auto& state) {
            state.global = c.global;
            state.byDisplay = c.byDisplay;
            state.lastDisplay =
                c.byDisplay.empty() ? std::nullopt : std::optional(c.byDisplay.begin()->first);
        });
        countPosts(grid);
        grid.clearAllRectSelections();
        EXPECT_EQ(posts, c.posts);
        EXPECT_TRUE(SnapGridParts::rectSelection(grid).state().byDisplay.empty());
        EXPECT_FALSE(SnapGridParts::rectSelection(grid).state().lastDisplay);
        if (c.allDisplays) {
            EXPECT_FALSE(SnapGridParts::rectSelection(grid).state().global);
        }
    }
}

TEST_F(RectSelectionTest, ScopeChangesCarryTheSelectionAcross) {
    const std::map<std::uint32_t, SnapIconKind> both{{1, SnapIconKind::leftHalf},
                                                     {2, SnapIconKind::rightHalf}};
    struct Case {
        const char* name;
        bool toAll;
        std::map<std::uint32_t, SnapIconKind> byDisplay;
        std::optional<SnapIconKind> global;
        std::optional<std::uint32_t> preferred;
        bool noScreens;
        std::optional<SnapIconKind> globalAfter;
        std::map<std::uint32_t, SnapIconKind> byDisplayAfter;
        int posts;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"to all, lowest display",
         true,
         both,
         std::nullopt,
         std::nullopt,
         false,
         SnapIconKind::leftHalf,
         {},
         1,
         {}},
        {"to all, preferred display",
         true,
         both,
         std::nullopt,
         2u,
         false,
         SnapIconKind::rightHalf,
         {},
         1,
         {}},
        {"to all, a global kind stays",
         true,
         both,
         SnapIconKind::center,
         2u,
         false,
         SnapIconKind::center,
         {},
         1,
         {}},
        {"to all, nothing selected", true, {}, std::nullopt, std::nullopt, false, std::nullopt, {}, 0, {}},
        {"to single, preferred display",
         false,
         {},
         SnapIconKind::center,
         2u,
         false,
         std::nullopt,
         {{2, SnapIconKind::center}},
         1,
         {"[...] [PRESET] [rect] migrate scope change to single scope=single global=nil last=DELL U2720Q "
          "entries=[DELL U2720Q=center]"}},
        {"to single, no screens",
         false,
         both,
         SnapIconKind::center,
         std::nullopt,
         true,
         std::nullopt,
         {},
         1,
         {"[...] [PRESET] [rect] migrate scope change to single scope=single global=nil last=nil "
          "entries=[]"}},
        {"to single, no global kind",
         false,
         {{1, SnapIconKind::center}},
         std::nullopt,
         std::nullopt,
         false,
         std::nullopt,
         {{1, SnapIconKind::center}},
         0,
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        resetSharedInstances();
        setAllDisplays(!c.toAll);
        RecordingGrid grid;
        const std::optional<platform::NSScreen> preferred =
            c.preferred ? std::optional(screen(*c.preferred)) : std::nullopt;
        if (c.noScreens) {
            desk().removeDisplay(2);
            desk().removeDisplay(1);
            sim().runFor(5);
        }
        editSelection(grid, [&](auto& state) {
            state.byDisplay = c.byDisplay;
            state.global = c.global;
        });
        countPosts(grid);
        seen = lines().size();
        setAllDisplays(c.toAll);
        grid.migrateRectSelectionsForScopeChange(preferred);
        EXPECT_EQ(SnapGridParts::rectSelection(grid).state().global, c.globalAfter);
        EXPECT_EQ(SnapGridParts::rectSelection(grid).state().byDisplay, c.byDisplayAfter);
        EXPECT_EQ(SnapGridParts::rectSelection(grid).state().cachedScopeAllDisplays, c.toAll);
        EXPECT_EQ(posts, c.posts);
        EXPECT_EQ(newLines(), c.lines);
        // Once the cache holds the scope, another call changes nothing.
        grid.migrateRectSelectionsForScopeChange(std::nullopt);
        EXPECT_EQ(posts, c.posts);
    }
}

TEST_F(RectSelectionTest, PreferredAndTargetScreensFollowTheirFallbacks) {
    const Rect onLaptop{100, 100, 600, 400};
    const Rect onExternal{2000, 100, 600, 400};
    struct Case {
        const char* name;
        std::optional<Rect> frontmost;
        platform::CGPoint pointer;
        bool allDisplays;
        std::optional<std::uint32_t> preferred;
        std::optional<Rect> focus;
        std::uint32_t preferredScreen;
        std::vector<std::uint32_t> targets;
    };
    const Case cases[] = {
        {"pointer on the external display",
         std::nullopt,
         {2000, 500},
         false,
         std::nullopt,
         std::nullopt,
         2,
         {2}},
        {"target window beats the pointer", onLaptop, {2000, 500}, false, std::nullopt, std::nullopt, 1, {1}},
        {"pointer off every screen: main screen",
         std::nullopt,
         {-500, -500},
         false,
         std::nullopt,
         std::nullopt,
         1,
         {1}},
        {"preferred screen wins", onLaptop, {100, 100}, false, 2u, std::nullopt, 1, {2}},
        {"focus rectangle beats the target window",
         onLaptop,
         {100, 100},
         false,
         std::nullopt,
         onExternal,
         1,
         {2}},
        {"all displays ignore the preferred screen",
         std::nullopt,
         {100, 100},
         true,
         2u,
         std::nullopt,
         1,
         {1, 2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        setAllDisplays(c.allDisplays);
        RecordingGrid grid;
        if (c.frontmost) grid.frontmost = RoriDeru::KeyAndRect{"com.example.notes|Notes", *c.frontmost};
        platform::SimInput::shared().moveMouse(c.pointer);
        const auto preferred = grid.preferredScreenForSelection();
        ASSERT_TRUE(preferred);
        EXPECT_EQ(tlm_displayID(*preferred), c.preferredScreen);
        std::vector<std::uint32_t> targets;
        for (const auto& target : grid.layoutTargetScreens(
                 c.preferred ? std::optional(screen(*c.preferred)) : std::nullopt, c.focus, false))
            targets.push_back(*tlm_displayID(target));
        EXPECT_EQ(targets, c.targets);
        EXPECT_EQ(grid.layoutTargetScreens(std::nullopt, std::nullopt, true).size(), 2u);
    }
    desk().removeDisplay(2);
    desk().removeDisplay(1);
    sim().runFor(5);
    RecordingGrid grid;
    EXPECT_FALSE(grid.preferredScreenForSelection());
    EXPECT_TRUE(grid.targetScreensForLayout(std::nullopt).empty());
}

} // namespace
} // namespace tilmora::testing

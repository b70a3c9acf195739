#include "ShortcutTestSupport.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "shortcuts/DefaultShortcuts.hpp"
#include "shortcuts/NameRow.hpp"
#include "shortcuts/Registry.hpp"
#include "shortcuts/ShortcutDisplay.hpp"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace tilmora::GlobalShortcuts;
using platform::UserDefaults;

namespace {

struct CatalogEntry {
    const Name& (*name)();
    const char* rawValue;
};

const CatalogEntry catalog[] = {
    {&Name::snapLeftHalf, "snap-left-half"},
    {&Name::snapRightHalf, "snap-right-half"},
    {&Name::snapTopHalf, "snap-top-half"},
    {&Name::snapBottomHalf, "snap-bottom-half"},
    {&Name::snapLeftThird, "snap-left-third"},
    {&Name::snapMiddleThird, "snap-middle-third"},
    {&Name::snapRightThird, "snap-right-third"},
    {&Name::snapLeftTwoThirds, "snap-left-two-thirds"},
    {&Name::snapRightTwoThirds, "snap-right-two-thirds"},
    {&Name::snapTopLeft, "snap-top-left"},
    {&Name::snapTopRight, "snap-top-right"},
    {&Name::snapBottomLeft, "snap-bottom-left"},
    {&Name::snapBottomRight, "snap-bottom-right"},
    {&Name::snapCenter, "snap-center"},
    {&Name::snapMaximize, "snap-maximize"},
    {&Name::snapCenterHalf, "snap-center-half"},
    {&Name::snapCenterTwoThirds, "snap-center-two-thirds"},
    {&Name::snapCenterThreeFourths, "snap-center-three-fourths"},
    {&Name::snapAlmostMaximize, "snap-almost-maximize"},
    {&Name::snapMaximizeHeight, "snap-maximize-height"},
    {&Name::snapSmaller, "snap-smaller"},
    {&Name::snapLarger, "snap-larger"},
    {&Name::snapRestore, "snap-restore"},
    {&Name::nextDisplay, "next-display"},
    {&Name::previousDisplay, "previous-display"},
    {&Name::moveToEdgeLeft, "move-to-edge-left"},
    {&Name::moveToEdgeRight, "move-to-edge-right"},
    {&Name::moveToEdgeUp, "move-to-edge-up"},
    {&Name::moveToEdgeDown, "move-to-edge-down"},
    {&Name::firstQuarter, "first-quarter"},
    {&Name::secondQuarter, "second-quarter"},
    {&Name::thirdQuarter, "third-quarter"},
    {&Name::lastQuarter, "last-quarter"},
    {&Name::firstThreeQuarters, "first-three-quarters"},
    {&Name::lastThreeQuarters, "last-three-quarters"},
    {&Name::topLeftSixth, "top-left-sixth"},
    {&Name::topCenterSixth, "top-center-sixth"},
    {&Name::topRightSixth, "top-right-sixth"},
    {&Name::bottomLeftSixth, "bottom-left-sixth"},
    {&Name::bottomCenterSixth, "bottom-center-sixth"},
    {&Name::bottomRightSixth, "bottom-right-sixth"},
    {&Name::fullScreenLeftHalf, "full-screen-left-half"},
    {&Name::fullScreenRightHalf, "full-screen-right-half"},
    {&Name::nativeFullScreen, "native-full-screen"},
    {&Name::grid1x2, "grid-1x2"},
    {&Name::grid1x3, "grid-1x3"},
    {&Name::grid2x1, "grid-2x1"},
    {&Name::grid3x1, "grid-3x1"},
    {&Name::grid2x2, "grid-2x2"},
    {&Name::grid3x3, "grid-3x3"},
    {&Name::grid4x4, "grid-4x4"},
    {&Name::grid6x4, "grid-6x4"},
    {&Name::grid8x2, "grid-8x2"},
    {&Name::toggleSnapBar, "toggle-snap-bar"},
    {&Name::toggleSnapping, "toggle-snapping"},
    {&Name::showSnapshotManager, "show-snapshot-manager"},
    {&Name::openPreferences, "open-preferences"},
    {&Name::openHelp, "open-help"},
    {&Name::quitApp, "quit-app"},
    {&Name::toggleIntegrateStageManager, "toggle-integrate-stage-manager"},
    {&Name::toggleIntegrateMissionControl, "toggle-integrate-mission-control"},
};

const char* const laterNames[] = {"toggle-snap-bar",
                                  "toggle-snapping",
                                  "show-snapshot-manager",
                                  "open-preferences",
                                  "open-help",
                                  "quit-app",
                                  "toggle-integrate-mission-control",
                                  "toggle-integrate-stage-manager"};

class CatalogTest : public ShortcutTest {
protected:
    std::size_t storedChordCount() {
        std::size_t n = 0;
        for (const auto& entry : catalog)
            if (getShortcut(entry.name())) ++n;
        return n;
    }
    bool flag(const std::string& key) { return UserDefaults::standard().boolForKey(key); }
};

TEST_F(CatalogTest, SixtyOneNamesWithTheirRawValues) {
    std::set<std::string> seen;
    for (const auto& entry : catalog) {
        EXPECT_EQ(entry.name().rawValue, entry.rawValue);
        EXPECT_FALSE(entry.name().defaultShortcut) << entry.rawValue;
        EXPECT_EQ(&entry.name(), &entry.name()) << entry.rawValue; // built once
        seen.insert(entry.rawValue);
    }
    EXPECT_EQ(seen.size(), 61u);
    ASSERT_EQ(Name::catalog().size(), std::size(catalog));
    for (std::size_t i = 0; i < std::size(catalog); ++i)
        EXPECT_EQ(&Name::catalog()[i].get(), &catalog[i].name()) << catalog[i].rawValue;
}

// Each first-run group is considered in a complete order (1 to its size), and a name's first-run
// chord is its row's.
TEST_F(CatalogTest, FirstRunGroupsHaveCompleteOrders) {
    std::map<FirstRunGroup, std::set<int>> orders;
    for (const NameRow& row : NameRow::all()) {
        if (row.group != FirstRunGroup::none) {
            EXPECT_TRUE(orders[row.group].insert(row.order).second) << row.rawValue;
        }
        EXPECT_EQ(tilmora::firstRunShortcut(row.name()), row.firstRunChord()) << row.rawValue;
        EXPECT_EQ(NameRow::of(row.name()), &row) << row.rawValue;
    }
    for (const auto& [group, seen] : orders) {
        EXPECT_EQ(*seen.begin(), 1);
        EXPECT_EQ(*seen.rbegin(), static_cast<int>(seen.size()));
    }
    EXPECT_EQ(orders[FirstRunGroup::snapCommands].size(), 22u);
    EXPECT_EQ(orders[FirstRunGroup::laterCommands].size(), 8u);
}

TEST_F(CatalogTest, FirstRunStoresThirtyChordsAndEveryFlag) {
    tilmora::registerDefaultSnapShortcutsIfNeeded();
    EXPECT_EQ(storedChordCount(), 30u);
    struct Case {
        const Name& (*name)();
        Shortcut chord;
    };
    const Case cases[] = {
        {&Name::snapMaximizeHeight, Shortcut(126, 6656)},
        {&Name::nextDisplay, Shortcut(124, 6400)},
        {&Name::previousDisplay, Shortcut(123, 6400)},
        {&Name::quitApp, Shortcut(12, 6144)},
        {&Name::snapRightThird, Shortcut(5, 6144)},
        {&Name::toggleIntegrateStageManager, Shortcut(5, 6144)},
        {&Name::snapSmaller, Shortcut(27, 6144)},
        {&Name::snapRestore, Shortcut(117, 6144)},
        {&Name::openPreferences, Shortcut(43, 6144)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(getShortcut(c.name()), c.chord) << c.name().rawValue;
    for (const Name* unbound : {&Name::snapCenterHalf(), &Name::grid8x2(), &Name::nativeFullScreen()})
        EXPECT_EQ(getShortcut(*unbound), std::nullopt) << unbound->rawValue;
    EXPECT_TRUE(flag("HasRegisteredDefaultSnapShortcutsV1"));
    for (const char* raw : laterNames)
        EXPECT_TRUE(flag(std::string("HasRegisteredDefaultShortcut.") + raw)) << raw;
}

TEST_F(CatalogTest, LaterNamesGetNoChordOnAnInstallationThatHadTheSnapDefaults) {
    UserDefaults::standard().set(platform::PropertyValue(true), "HasRegisteredDefaultSnapShortcutsV1");
    tilmora::registerDefaultSnapShortcutsIfNeeded();
    EXPECT_EQ(storedChordCount(), 0u);
    for (const char* raw : laterNames)
        EXPECT_TRUE(flag(std::string("HasRegisteredDefaultShortcut.") + raw)) << raw;
}

TEST_F(CatalogTest, RerunningFillsOnlyNamesWithoutAChord) {
    tilmora::registerDefaultSnapShortcutsIfNeeded();
    const Shortcut mine(Key::z, platform::ModifierFlags::command);
    Name::snapRightHalf().setShortcut(mine);
    Name::snapLeftHalf().setShortcut(std::nullopt);
    Name::toggleSnapBar().setShortcut(std::nullopt);
    tilmora::registerDefaultSnapShortcutsIfNeeded(); // flag set: clearing sticks
    EXPECT_EQ(getShortcut(Name::snapLeftHalf()), std::nullopt);

    UserDefaults::standard().removeObjectForKey("HasRegisteredDefaultSnapShortcutsV1");
    tilmora::registerDefaultSnapShortcutsIfNeeded();
    EXPECT_EQ(getShortcut(Name::snapLeftHalf()), Shortcut(123, 6144));
    EXPECT_EQ(getShortcut(Name::snapRightHalf()), mine);
    EXPECT_EQ(getShortcut(Name::toggleSnapBar()), std::nullopt); // its own flag is set
}

TEST_F(CatalogTest, ControlOptionGRunsBothOfItsNames) {
    tilmora::registerDefaultSnapShortcutsIfNeeded();
    std::vector<std::string> ran;
    for (const auto& entry : catalog)
        onKeyDown(entry.name(), [&ran, raw = std::string(entry.rawValue)] { ran.push_back(raw); });
    input().press(*platform::KeyChord::parse("ctrl+opt+g"));
    settle();
    std::sort(ran.begin(), ran.end());
    EXPECT_EQ(ran, (std::vector<std::string>{"snap-right-third", "toggle-integrate-stage-manager"}));
    // One hot key per distinct chord: 29 chords among the 30 names.
    EXPECT_EQ(input().registeredHotKeys().size(), 29u);
}

TEST(ShortcutDisplayTest, GlyphTextOfStoredChords) {
    struct Case {
        Shortcut shortcut;
        const char* text;
    };
    const Case cases[] = {
        {Shortcut(123, 6144), "\u2303\u2325\u2190"},
        {Shortcut(124, 6400), "\u2303\u2325\u2318\u2192"},
        {Shortcut(126, 6656), "\u2303\u2325\u21E7\u2191"},
        {Shortcut(27, 6144), "\u2303\u2325\u2212"},
        {Shortcut(6, 6144), "\u2303\u2325\u2026"}, // z is not in the table
        {Shortcut(0, 131072), "A"},                // function is not shown
        {Shortcut(4, 0), "\u2026"},                // h
        {Shortcut(-5, 256), "\u2318\u2026"},
        {Shortcut(36, 0x1000 | 0x200 | 0x100 | 0x800), "\u2303\u2325\u21E7\u2318\u21A9"},
        {Shortcut(117, 6144), "\u2303\u2325\u2326"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(tilmora::ShortcutDisplay::describe(c.shortcut), c.text) << c.shortcut.carbonKeyCode;
}

} // namespace

#include "LaptopShellTest.hpp"

#include "model/Settings.hpp"

#include "shell/Diagnostics.hpp"
#include "shortcuts/DefaultShortcuts.hpp"
#include "shortcuts/Name.hpp"
#include "snapping/RoriDeru.hpp"

#include <gtest/gtest.h>

namespace tilmora {
namespace {

class DiagnosticsTest : public LaptopShellTest {};

TEST_F(DiagnosticsTest, CountsByHowTheUserDefaultsStand) {
    struct Case {
        const char* name;
        bool firstLaunchDone;
        bool minimalMenu;
        int passed;
        int failed;
    };
    const std::vector<Case> cases = {
        // The stored values outlive the resets, so the cases that need no markers come first
        // (the self-test itself removes the markers it set).
        {"fresh domain", false, false, 25, 0},
        {"minimal menu", false, true, 24, 0},
        // The six commands' markers are set aside while their defaults are registered again.
        {"after a first launch", true, false, 25, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        resetSharedInstances();
        desk().useLaptop();
        makeShell().registerAppDefaults();
        if (c.firstLaunchDone) registerDefaultSnapShortcutsIfNeeded();
        defaults().set(platform::PropertyValue(c.minimalMenu), settings::minimalMenuMode.key);
        const auto markers = [&] {
            std::vector<std::optional<platform::PropertyValue>> values;
            for (const auto& name : GlobalShortcuts::Name::catalog())
                values.push_back(
                    defaults().persistedObjectForKey("HasRegisteredDefaultShortcut." + name.get().rawValue));
            return values;
        };
        const auto markersBefore = markers();
        const auto result = Diagnostics::run(shell());
        EXPECT_EQ(result.passed, c.passed);
        EXPECT_EQ(result.failed, c.failed);
        EXPECT_EQ(result.messages, std::vector<std::string>{});
        EXPECT_EQ(markers(), markersBefore);
    }
}

TEST_F(DiagnosticsTest, PutsTheUsersValuesBack) {
    registerDefaultSnapShortcutsIfNeeded();
    defaults().set(platform::PropertyValue(7.0), settings::gapHorizontal.key);
    const auto quitChord = GlobalShortcuts::Name::quitApp().shortcut();
    const auto snapBarChord = GlobalShortcuts::Name::toggleSnapBar().shortcut();
    RoriDeru& grid = shell().roriDeru();
    grid.setSnappingEnabled(false);
    grid.stopMonitoring();
    Diagnostics::run(shell());
    EXPECT_EQ(defaults().persistedObjectForKey(settings::gapHorizontal.key), platform::PropertyValue(7.0));
    for (const char* key : {settings::gapSize.key, settings::gapVertical.key,
                            settings::gapsIncludeScreenEdges.key, settings::gapsEdgesLeft.key}) {
        EXPECT_FALSE(defaults().persistedObjectForKey(key).has_value()) << key;
    }
    EXPECT_EQ(GlobalShortcuts::Name::quitApp().shortcut(), quitChord);
    EXPECT_EQ(GlobalShortcuts::Name::toggleSnapBar().shortcut(), snapBarChord);
    EXPECT_FALSE(grid.isSnappingEnabled());
    EXPECT_FALSE(grid.isMonitoring());
}

} // namespace
} // namespace tilmora

// The program as `main` runs it: every hook a lower layer declares holds the real thing, the
// display-layout memory drives the snap grid, the uniform gap moves windows, a drag keeps the
// overlay a flashed grid showed, and a Boolean Stage Manager reserve is a 1-point reserve.

#include "support/ProgramScriptTest.hpp"

#include "model/HookRegistry.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using tilmora::DesktopConsole;
using tilmora::HookRegistry;

using ProgramWiringTest = ProgramScriptTest;

// The console launches the program through `ProgramHost`, the path `main` takes, with nothing of
// the tests installed; a hook that a newly added layer seam leaves on its placeholder fails here.
TEST_F(ProgramWiringTest, LaunchedAsMainLaunchesItEveryHookHoldsTheRealThing) {
    std::vector<std::string> names;
    for (const auto& hook : HookRegistry::hooks())
        names.push_back(hook.name);
    for (const char* known : {"DisplayLayoutMemory.grid", "ScreenSource", "NotificationManager.host",
                              "RoriDeru.tilingController", "ShellHooks.persistenceController",
                              "ShellHooks.mainWindowRoot", "EditorWindowHooks.presetEditor",
                              "ResetSnappedWindowsHook", "PreferencesShell", "SpacesService.primarySpaceProvider"})
        EXPECT_NE(std::find(names.begin(), names.end(), known), names.end()) << known;

    DesktopConsole console(out);
    ASSERT_TRUE(console.execute("desktop default"));
    // Before the launch the layers' placeholders are in force.
    EXPECT_FALSE(HookRegistry::notReal().empty());
    for (const char* launch : {"program launch", "program launch"}) {
        ASSERT_TRUE(console.execute(launch)) << out.str();
        EXPECT_EQ(HookRegistry::notReal(), std::vector<std::string>{}) << "launched after: " << out.str();
        // A program launched again after it ended fills them anew.
        ASSERT_TRUE(console.execute("program quit"));
    }
    EXPECT_EQ(programLog().find("[Hooks] Nothing installed"), std::string::npos) << programLog();
}

// Scripts as a user runs them, each with what its transcript must show besides its expectations.
TEST_F(ProgramWiringTest, ScriptsOverTheRunningProgram) {
    struct Case {
        const char* name;
        const char* script;
        std::vector<const char*> shown;
    };
    const Case cases[] = {
        {"a stored grid per display configuration is applied through the snap grid",
         R"x(desktop default
program launch
menu pick "Grid 4 × 4"
wait 1
expect log "Captured 2 preset(s) for configuration 1-2880x1800|2-1920x1080"
defaults write WMPreset_1 string "2,2,0,0"
ui action "applyStoredLayoutForCurrentSetup:"
wait 1
expect log "Applying preset 4x4 to Built-in Retina Display (activate=true)"
defaults read WMPreset_1
)x",
         {"> defaults read WMPreset_1\nWMPreset_1 = string \"4,4,0.0,0.0\"\n"}},
        {"a drag begun at once after a grid is picked snaps after the flash's end",
         R"(desktop default
program launch
menu pick "Grid 2 × 2"
mouse move 520 770
mouse down
mouse move 700 600
mouse move 800 500
wait 1.5
mouse move 1000 300
mouse move 1080 200
mouse up
wait 1
expect window com.apple.TextEdit "Untitled" frame 720 0 720 437.5
)",
         {}},
        {"a drag made by hand snaps as `drag` does, without waits",
         R"(desktop default
program launch
menu pick "Maximize"
window open com.apple.TextEdit "Notes" 200 200 600 400
mouse move 500 590
mouse down
mouse move 400 700
mouse move 1300 100
mouse up
expect window com.apple.TextEdit "Notes" frame 0 0 1440 875
)",
         {}},
        {"a Boolean Stage Manager reserve keeps 1 point free",
         R"(desktop default
defaults write WMIntegrateStageManager bool true
defaults write WMMockStageManagerActive bool true
defaults write WMStageReserveLeftWidth bool true
program launch
app focus com.apple.TextEdit
key ctrl+opt+left
expect window com.apple.TextEdit "Untitled" frame 1 0 719.5 875
)",
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        resetSharedInstances();
        tilmora::ProgramHost::shared().reset();
        EXPECT_EQ(run(c.script), DesktopConsole::exitOk) << out.str();
        for (const char* text : c.shown)
            EXPECT_NE(out.str().find(text), std::string::npos) << text << "\n" << out.str();
    }
}

// The uniform gap, saved, moves the next snapped window, and the preferences show both directional
// gaps at its value.
TEST_F(ProgramWiringTest, TheUniformGapMovesWindowsAndTheDirectionalSlidersFollowIt) {
    ASSERT_EQ(run(R"(desktop default
program launch
menu pick "Preferences…"
ui slide "Preferences" "prefs.gapsUniform" 10
ui click "Preferences" "prefs.save"
ui click "Preferences" "prefs.close"
app focus com.apple.TextEdit
key ctrl+opt+left
expect window com.apple.TextEdit "Untitled" frame 0 0 715 875
menu pick "Preferences…"
ui show "Preferences"
)"),
              DesktopConsole::exitOk)
        << out.str();
    const std::string text = out.str();
    for (const char* id : {"prefs.gapsHorizontal", "prefs.gapsVertical"}) {
        const auto at = text.find(std::string(" id=") + id);
        ASSERT_NE(at, std::string::npos) << id << "\n" << text;
        const std::string line = text.substr(at, text.find('\n', at) - at);
        EXPECT_NE(line.find("value=10.0"), std::string::npos) << line;
    }
}

} // namespace

// Chords recorded from the console as a user records them: a click on a recorder of the
// preferences or of a snapshot row, then the keys.
#include "support/ProgramScriptTest.hpp"

#include "platform/foundation/FileSystem.hpp"

#include <gtest/gtest.h>

namespace {

using tilmora::DesktopConsole;

class RecorderCommandTest : public ProgramScriptTest {
protected:
    /// A command and a text its output must hold ("" for anything).
    struct Step {
        const char* line;
        const char* output;
    };

    /// Runs the steps as one script (every `expect` in it must hold) and checks each step's output.
    void runSteps(const std::vector<Step>& steps) {
        std::string script;
        for (const auto& s : steps)
            script += std::string(s.line) + "\n";
        EXPECT_EQ(run(script), DesktopConsole::exitOk) << transcript();
        // The transcript echoes each command after "> ", its output follows up to the next echo.
        const std::string text = "\n" + transcript();
        std::size_t at = 0;
        for (const auto& s : steps) {
            at = text.find(std::string("\n> ") + s.line + "\n", at);
            ASSERT_NE(at, std::string::npos) << s.line;
            at += 1;
            const std::size_t end = text.find("\n> ", at);
            const std::string output =
                text.substr(at, end == std::string::npos ? std::string::npos : end - at + 1);
            EXPECT_NE(output.find(s.output), std::string::npos) << s.line << "\n" << output;
        }
    }
};

TEST_F(RecorderCommandTest, APreferencesRecorderTakesTheNextChordAndRefusesAsTheUserIsTold) {
    runSteps({
        {"desktop default", ""},
        {"program launch", ""},
        {"menu pick \"Preferences…\"", ""},
        {"ui show \"Preferences\"", "hstack id=shortcut.snap-left-half frame "},
        {"ui click \"Preferences\" \"snap-left-half\"", ""},
        {"ui show \"Preferences\"", "recorder id=snap-left-half \"⌃⌥←\" recording frame "},
        {"key ctrl+opt+shift+j", ""},
        {"defaults read GlobalShortcuts_snap-left-half",
         R"({\"carbonKeyCode\":38,\"carbonModifiers\":6656})"},
        {"ui show \"Preferences\"", "recorder id=snap-left-half \"⌃⌥⇧J\" frame "},
        // The new chord snaps; the old one no longer does.
        {"app focus com.apple.TextEdit", ""},
        {"key ctrl+opt+right", ""},
        {"wait 1", ""},
        {"expect window com.apple.TextEdit \"Untitled\" frame 720 0 720 875", ""},
        {"key ctrl+opt+left", ""},
        {"wait 1", ""},
        {"expect window com.apple.TextEdit \"Untitled\" frame 720 0 720 875", ""},
        {"key ctrl+opt+shift+j", ""},
        {"wait 1", ""},
        {"expect window com.apple.TextEdit \"Untitled\" frame 0 0 720 875", ""},
        // A reserved chord asks first; "OK" keeps the stored chord and recording goes on; a plain
        // letter is refused; Escape ends recording.
        {"ui click \"Preferences\" \"snap-left-half\"", ""},
        {"alert answer \"OK\"", ""},
        {"key cmd+shift+3", ""},
        {"expect alert \"The system already uses this keyboard shortcut.\"", ""},
        {"key j", ""},
        {"ui show \"Preferences\"", "recorder id=snap-left-half \"⌃⌥⇧J\" recording frame "},
        {"key escape", ""},
        {"ui show \"Preferences\"", "recorder id=snap-left-half \"⌃⌥⇧J\" frame "},
        {"defaults read GlobalShortcuts_snap-left-half",
         R"({\"carbonKeyCode\":38,\"carbonModifiers\":6656})"},
    });
}

TEST_F(RecorderCommandTest, RecordingEndsWhenTheProgramLeavesTheFrontAndTheChordsWorkAtOnce) {
    const char* recording = "recorder id=snap-left-half \"⌃⌥←\" recording frame ";
    const char* idle = "recorder id=snap-left-half \"⌃⌥←\" frame ";
    runSteps({
        {"desktop default", ""},
        {"program launch", ""},
        {"menu pick \"Preferences…\"", ""},
        // Another application comes to the front.
        {"ui click \"Preferences\" \"snap-left-half\"", ""},
        {"app focus com.apple.TextEdit", ""},
        {"key ctrl+opt+right", ""},
        {"wait 1", ""},
        {"expect window com.apple.TextEdit \"Untitled\" frame 720 0 720 875", ""},
        {"ui show \"Preferences\"", idle},
        // A click on another application's window (TextEdit's, right of the preferences).
        {"ui click \"Preferences\" \"snap-left-half\"", ""},
        {"ui show \"Preferences\"", recording},
        {"mouse move 1350 400", ""},
        {"mouse down", ""},
        {"mouse up", ""},
        {"key ctrl+opt+left", ""},
        {"wait 1", ""},
        {"expect window com.apple.TextEdit \"Untitled\" frame 0 0 720 875", ""},
        {"ui show \"Preferences\"", idle},
        // A click on the bare desktop (the external display).
        {"ui click \"Preferences\" \"snap-left-half\"", ""},
        {"mouse move 2500 500", ""},
        {"mouse down", ""},
        {"mouse up", ""},
        {"ui show \"Preferences\"", idle},
    });
}

TEST_F(RecorderCommandTest, AMouseClickOnTheProgramsWindowBringsItForwardAndTheRecorderTakesTheChord) {
    runSteps({
        {"desktop default", ""},
        {"program launch", ""},
        {"menu pick \"Preferences…\"", ""},
        {"ui scroll \"Preferences\" to \"snap-left-half\"", ""},
        {"app focus com.apple.TextEdit", ""},
        // A check box first: the click activates the program and still ticks the box.
        {"ui show \"Preferences\"", "checkbox id=prefs.left \"Left\" value=0 frame 186.0 125.0 45.0 22.0"},
        {"mouse move 200 136", ""},
        {"mouse down", ""},
        {"mouse up", ""},
        {"expect frontmost com.quorvane.Tilmora", ""},
        {"ui show \"Preferences\"", "checkbox id=prefs.left \"Left\" value=1"},
        {"app focus com.apple.TextEdit", ""},
        // The recorder (at the foot of the form, below TextEdit's window).
        {"mouse move 539 74", ""},
        {"mouse down", ""},
        {"mouse up", ""},
        {"expect frontmost com.quorvane.Tilmora", ""},
        {"key ctrl+opt+shift+h", ""},
        {"ui show \"Preferences\"", "recorder id=snap-left-half \"⌃⌥⇧H\" frame 474.0 63.0 130.0 22.0"},
        {"app focus com.apple.TextEdit", ""},
        {"key ctrl+opt+shift+h", ""},
        {"wait 1", ""},
        {"expect window com.apple.TextEdit \"Untitled\" frame 0 0 720 875", ""},
        // `ui click` on a check box activates the program as the pointer does.
        {"ui click \"Preferences\" \"prefs.verbose\"", ""},
        {"expect frontmost com.quorvane.Tilmora", ""},
    });
}

TEST_F(RecorderCommandTest, ASnapshotRowsRecorderStoresTheSnapshotsChordAndDeleteClearsIt) {
    runSteps({
        {"desktop default", ""},
        {"program launch", ""},
        {"menu pick \"Show Snapshot Manager\"", ""},
        {"ui type \"Tilmora Snapshots\" \"snapshot.nameField\" \"Desk\"", ""},
        {"ui click \"Tilmora Snapshots\" \"snapshot.save\"", ""},
        {"wait 1", ""},
        {"ui show \"Tilmora Snapshots\"", "recorder id=quit-p1 frame "},
        {"ui click \"Tilmora Snapshots\" \"launch-p1\"", ""},
        {"key ctrl+opt+shift+l", ""},
        {"defaults read GlobalShortcuts_launch-p1", R"({\"carbonKeyCode\":37,\"carbonModifiers\":6656})"},
        {"ui show \"Tilmora Snapshots\"", "recorder id=launch-p1 \"⌃⌥⇧L\" frame "},
        // The chord restores the snapshot from anywhere.
        {"app focus com.apple.TextEdit", ""},
        {"key ctrl+opt+left", ""},
        {"wait 1", ""},
        {"key ctrl+opt+shift+l", ""},
        {"wait 3", ""},
        {"expect toast \"Snapshot 'Desk' launched.\"", ""},
        {"expect window com.apple.TextEdit \"Untitled\" frame 120 180 800 600", ""},
        // Delete clears it and recording goes on.
        {"ui click \"Tilmora Snapshots\" \"launch-p1\"", ""},
        {"key delete", ""},
        {"defaults read GlobalShortcuts_launch-p1", "is not set"},
        {"ui show \"Tilmora Snapshots\"", "recorder id=launch-p1 recording frame "},
        {"key escape", ""},
        {"ui show \"Tilmora Snapshots\"", "recorder id=launch-p1 frame "},
    });
}

TEST_F(RecorderCommandTest, ASnapshotsNameAndChordAreDrawnWhole) {
    // One snapshot at a time with its launch chord, drawn, then deleted: the same picture but for
    // the name and the chord.
    struct Variant {
        const char* picture;
        const char* name;
        const char* key;
    };
    const Variant variants[] = {
        {"shown", "Café 東京", "ctrl+opt+shift+1"},
        {"again", "Café 東京", "ctrl+opt+shift+1"},
        {"boxes", "Café \U0010FFFD\U0010FFFD", "ctrl+opt+shift+1"},
        {"other-key", "Café 東京", "ctrl+opt+shift+2"},
    };
    std::string script = "desktop default\nprogram launch\nmenu pick \"Show Snapshot Manager\"\n";
    for (const auto& v : variants) {
        script += std::string("ui type \"Tilmora Snapshots\" \"snapshot.nameField\" \"") + v.name +
                  "\"\nui click \"Tilmora Snapshots\" \"snapshot.save\"\nwait 1\n"
                  // A click on the row's launch recorder (664 615.5 80 30), then the chord.
                  "mouse move 704 630\nmouse down\nmouse up\nkey " +
                  v.key + "\nkey escape\n" + "show picture " + (root() / v.picture).string() +
                  ".png display 1\n" +
                  // The toast gone, a click on the row's Delete (1046 619.5 90 22).
                  "wait 4\nmouse move 1091 630\nmouse down\nmouse up\nmouse move 704 630\n";
    }
    ASSERT_EQ(run(script), DesktopConsole::exitOk) << transcript();
    auto picture = [&](const char* name) {
        return platform::FileSystem::readFile(root() / (name + std::string(".png")));
    };
    EXPECT_TRUE(picture("shown") == picture("again"));
    // Had the ideographs been boxes, or the chord been cut before its last key, these would be alike.
    EXPECT_TRUE(picture("shown") != picture("boxes"));
    EXPECT_TRUE(picture("shown") != picture("other-key"));
}

} // namespace

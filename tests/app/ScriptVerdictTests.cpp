#include "console/ChordText.hpp"
#include "console/CommandError.hpp"
#include "support/ProgramScriptTest.hpp"

#include <gtest/gtest.h>

#include <string>

using tilmora::DesktopConsole;

namespace {

class ScriptVerdictTest : public ProgramScriptTest {
protected:
    /// Runs `script` as `--script` does, to its verdict; returns the exit status.
    int runScript(const std::string& script) {
        out.str("");
        DesktopConsole console(out);
        console.runString(script);
        return console.finishScript();
    }
    std::string lastLine() const {
        std::string text = out.str();
        if (!text.empty() && text.back() == '\n') text.pop_back();
        return text.substr(text.rfind('\n') + 1);
    }
};

TEST_F(ScriptVerdictTest, AScriptEndsWithItsVerdictAndTheStatusItGives) {
    struct Case {
        const char* script;
        const char* verdict;
        int status;
    };
    const Case cases[] = {
        {"", "passed: 0 expects", 0},
        {"desktop laptop\nexpect screens 1\nexpect windows 0\n", "passed: 2 expects", 0},
        {"desktop laptop\nexpect screens 2\nexpect screens 1\n", "failed: 1 of 2 expects, 0 errors", 1},
        {"desktop laptop\nbogus\nexpect screens 1\n", "failed: 0 of 1 expects, 1 errors", 2},
        // A failed expect decides the status over errors; an expect that cannot run is an error.
        {"bogus\nexpect screens 7\nexpect screens\n", "failed: 1 of 1 expects, 2 errors", 1},
        {"desktop laptop\nexpect screens 1\nquit\nexpect screens 5\n", "passed: 1 expects", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        EXPECT_EQ(runScript(c.script), c.status) << out.str();
        EXPECT_EQ(lastLine(), c.verdict) << out.str();
    }
}

TEST_F(ScriptVerdictTest, AnswersThatCannotApplyAreErrorsOnTheLineThatTookThem) {
    // Launching without Accessibility access shows a two-button alert.
    const std::string launch = "desktop default\npermission accessibility denied\n";
    struct Case {
        std::string answer;
        std::string error;
    };
    const std::string fit = "error: line 4: the answer on line 3, ";
    const Case cases[] = {
        {"alert answer 5", fit + "alert answer 5, does not fit the alert \"Accessibility Access Required\": it has 2 "
                                 "buttons: \"Open System Settings\", \"Later\"\n"},
        {"alert answer \"Never\"", fit + "alert answer \"Never\", does not fit the alert \"Accessibility Access "
                                         "Required\": no button \"Never\" (buttons: \"Open System Settings\", \"Later\")\n"},
        {"alert answer 2 text \"typed\"", fit + "alert answer 2 text \"typed\", does not fit the alert \"Accessibility "
                                                "Access Required\": the alert has no text field\n"},
        {"alert answer 1 pick \"Side\"", "an alert has no items to pick\n"},
        {"alert answer -1", "error: line 3: alert buttons count from 1\n"},
        {"alert answer \"\"", "error: line 3: alert answer names no button"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        resetSharedInstances();
        EXPECT_EQ(runScript(launch + c.answer + "\nprogram launch\n"), DesktopConsole::exitError);
        EXPECT_NE(out.str().find(c.error), std::string::npos) << out.str();
        EXPECT_EQ(lastLine(), "failed: 0 of 0 expects, 1 errors");
    }
    // An answer no prompt took is named at the end, on the line that queued it.
    resetSharedInstances();
    EXPECT_EQ(runScript("desktop laptop\nalert answer 2\nalert answer \"OK\" pick \"Side\"\n"), DesktopConsole::exitError);
    EXPECT_NE(out.str().find("error: line 2: the answer alert answer 2 was never used: no alert or modal window took "
                             "it\nerror: line 3: the answer alert answer \"OK\" pick \"Side\" was never used"),
              std::string::npos)
        << out.str();
    EXPECT_EQ(lastLine(), "failed: 0 of 0 expects, 2 errors");
}

TEST_F(ScriptVerdictTest, ErrorsNameWhatThereIs) {
    struct Case {
        const char* line;
        const char* error;
    };
    const Case cases[] = {
        {"ui pick \"Preferences\" \"prefs.language\" \"French\"",
         "error: line 4: \"prefs.language\" in \"Preferences\" has no item \"French\" (items: \"System "
         "Default\", "
         "\"Deutsch\", \"English\")\n"},
        {"ui pick \"Preferences\" \"prefs.languages\" \"French\"",
         "no element \"prefs.languages\" in \"Preferences\"; did you mean prefs.language"},
        {"ui click \"Prefs\" \"Save\"", "no program window \"Prefs\" (windows: "},
        {"menu pick \"Left Halve\"",
         "no menu item \"Left Halve\"; did you mean \"Left Half\"? (`menu` lists the 54 items)\n"},
        {"menu pick \"Move to Edge\" > \"Middle\"", "no menu item \"Move to Edge\" > \"Middle\" (items in "
                                                    "\"Move to Edge\": \"Left Edge\", \"Right Edge\", "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        resetSharedInstances();
        run(std::string("desktop default\nprogram launch\nmenu pick \"Preferences…\"\n") + c.line + "\n");
        EXPECT_NE(out.str().find(c.error), std::string::npos) << out.str();
    }
}

TEST_F(ScriptVerdictTest, WithoutADisplayMenuAndUiSayHowToStart) {
    const std::string hint =
        "there is no display: start with `desktop default` (or laptop, laptop-external, two-displays, load FILE)";
    EXPECT_EQ(run("program launch\nmenu\nui windows\nexpect program running\n"), DesktopConsole::exitError);
    for (const std::string& line : {"note: " + hint + "\n", "error: line 2: " + hint + "\n", "error: line 3: " + hint + "\n"})
        EXPECT_NE(out.str().find(line), std::string::npos) << line << "\n" << out.str();
}

TEST_F(ScriptVerdictTest, ShowToastsListsEachToastSinceTheLastOnceWithWhetherItIsStillUp) {
    EXPECT_EQ(run(R"(desktop laptop-external
app install com.example.notes "Notes"
window open com.example.notes "Todo" 1600 200 900 600
program launch
menu pick "Show Snapshot Manager"
ui type "Tilmora Snapshots" "snapshot.nameField" "Desk"
ui click "Tilmora Snapshots" "snapshot.save"
show toasts
ui click "Tilmora Snapshots" "snapshot.launch.p1"
wait 1
show toasts
wait 10
show toasts
)"),
              0)
        << out.str();
    const std::string text = out.str();
    EXPECT_NE(text.find(R"(> show toasts
toast "Snapshot" "Snapshot 'Desk' saved successfully." on screen
> ui click)"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find(R"(> show toasts
toast "Launching Snapshot" "Restoring 'Desk'..." gone
toast "Snapshot Restore" "Snapshot 'Desk' launched." on screen
> wait 10
> show toasts
)"),
              std::string::npos)
        << text;
}

TEST_F(ScriptVerdictTest, TheMenuGlyphsOfAChordSnapAsItsWordsDo) {
    EXPECT_EQ(run("desktop default\nprogram launch\nkey ⌃⌥←\n"
                  "expect window com.apple.TextEdit \"Untitled\" frame 0 0 720 875\n"),
              0)
        << out.str();
    using platform::KeyChord;
    const std::pair<const char*, const char*> same[] = {
        {"⌃⌥←", "ctrl+opt+left"},       {"⌃⌥→", "ctrl+opt+right"},         {"⌃⌥↑", "ctrl+opt+up"},
        {"⌃⌥↓", "ctrl+opt+down"},       {"⌃⌥↩", "ctrl+opt+return"},        {"⌃⌥⌦", "ctrl+opt+forwarddelete"},
        {"⌃⌥⌫", "ctrl+opt+delete"},     {"⎋", "escape"},                   {"⇧⌘O", "shift+cmd+o"},
        {"⌘Space", "cmd+space"},        {"⌃⌥−", "ctrl+opt+minus"},         {"⌃⌥=", "ctrl+opt+equal"},
        {"⌘,", "cmd+comma"},            {"⌃⌥⇧⌘F5", "ctrl+opt+shift+cmd+f5"}, {"⇥", "tab"},
    };
    for (const auto& [glyphs, words] : same)
        EXPECT_EQ(tilmora::ChordText::parse(glyphs), *KeyChord::parse(words)) << glyphs;
}

} // namespace

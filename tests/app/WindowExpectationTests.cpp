// What a person types into the program's windows and what a script expects them to show, through
// the console and the real program.
#include "support/ProgramScriptTest.hpp"

#include "platform/control/UISimulator.hpp"
#include "support/TableRow.hpp"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>

namespace {

using tilmora::DesktopConsole;

class WindowExpectationTest : public ProgramScriptTest {
protected:
    /// Runs more lines in `console`; returns what they printed.
    std::string more(DesktopConsole& console, const std::string& lines) {
        out.str("");
        console.runString(lines);
        return out.str();
    }
    /// "mouse move X Y", "mouse down", "mouse up" at the middle of the element `id` as `shown`
    /// (the output of `ui show`) frames it.
    static std::string clickAt(const std::string& shown, const std::string& id) {
        std::smatch frame;
        const std::regex re("id=" + id + " [^\n]*frame (\\S+) (\\S+) (\\S+) (\\S+)");
        if (!std::regex_search(shown, frame, re)) return "# no " + id + "\n";
        const double x = std::stod(frame[1]) + std::stod(frame[3]) / 2;
        const double y = std::stod(frame[2]) + std::stod(frame[4]) / 2;
        return "mouse move " + std::to_string(x) + " " + std::to_string(y) + "\nmouse down\nmouse up\n";
    }
};

TEST_F(WindowExpectationTest, ExpectUiPassesWhereTrueAndFailsNamingTheActualState) {
    DesktopConsole console(out);
    const std::string setUp = more(console, R"(desktop default
program launch
menu pick "Show Snap Bar"
wait 1
ui click "snap bar" "leftHalf"
menu pick "Preferences…"
ui slide "Preferences" "prefs.gapsHorizontal" 10
ui click "Preferences" "snap-left-half"
)");
    ASSERT_EQ(setUp.find("error"), std::string::npos) << setUp;
    struct Case {
        const char* line;
        const char* actual; // nullptr: the expectation holds
    };
    const Case cases[] = {
        {R"(expect ui "snap bar" shown)", nullptr},
        {R"(expect ui "snap bar" hidden)", "shown"},
        {R"(expect ui "Tilmora Snapshots" hidden)", nullptr},
        {R"(expect ui "toast" shown)", "no program window \"toast\""},
        {R"(expect ui "snap bar" "leftHalf" selected)", nullptr},
        {R"(expect ui "snap bar" "rightHalf" selected)",
         "button id=rightHalf tooltip=\"Snap the window to the right half\" frame "},
        {R"(expect ui "Preferences" "prefs.gapsHorizontal" value "10.0")", nullptr},
        {R"(expect ui "Preferences" "prefs.gapsHorizontal" value "10")", nullptr}, // a number as a number
        {R"(expect ui "Preferences" "prefs.gapsHorizontal" value "10.01")",
         "slider id=prefs.gapsHorizontal value=10.0 frame "},
        {R"(expect ui "Preferences" "prefs.language" value "System")", "popUp id=prefs.language "},
        {R"(expect ui "Preferences" "prefs.language" value "System Default")", nullptr},
        {R"(expect ui "Preferences" "snap-left-half" recording)", nullptr},
        {R"(expect ui "Preferences" "snap-right-half" recording)",
         "recorder id=snap-right-half \"⌃⌥→\" frame "},
        {R"(expect ui "Preferences" "snap-right-half" not recording)", nullptr},
        {R"(expect ui "Preferences" "snap-left-half" not recording)",
         "recorder id=snap-left-half \"⌃⌥←\" recording"},
        // The shown text: a recorder's chord, a button's title, a field's placeholder (not its value).
        {R"(expect ui "Preferences" "snap-right-half" text "⌃⌥→")", nullptr},
        {R"(expect ui "Preferences" "snap-right-half" text "⌃⌥←")",
         "recorder id=snap-right-half \"⌃⌥→\" frame "},
        {R"(expect ui "Preferences" "prefs.save" text "Save")", nullptr},
        {R"(expect ui "Tilmora Snapshots" "snapshot.nameField" text "")",
         "hidden: textField id=snapshot.nameField \""},
        {R"(expect ui "snap bar" "rightHalf" not selected)", nullptr},
        {R"(expect ui "snap bar" "leftHalf" not selected)", "button id=leftHalf"},
        {R"(expect ui "Preferences" "prefs.save" not enabled)", "button id=prefs.save \"Save\" frame "},
        {R"(expect ui "Preferences" "prefs.nothing" not shown)", nullptr},
        // A misspelt id fails every check but hidden, negated or not.
        {R"(expect ui "Preferences" "prefs.nothing" not recording)",
         "no element \"prefs.nothing\" in \"Preferences\"\n"},
        {R"(expect ui "Preferences" "prefs.save" enabled)", nullptr},
        {R"(expect ui "Preferences" "prefs.save" disabled)", "button id=prefs.save \"Save\" frame "},
        {R"(expect ui "Preferences" "prefs.save" shown)", nullptr},
        {R"(expect ui "Preferences" "prefs.nothing" hidden)", nullptr},
        {R"(expect ui "Preferences" "prefs.nothing" shown)",
         "no element \"prefs.nothing\" in \"Preferences\"\n"},
        {R"(expect ui "Tilmora Snapshots" "snapshot.save" disabled)", nullptr},
        {R"(expect ui "Tilmora Snapshots" "snapshot.save" shown)", "hidden: button id=snapshot.save "},
    };
    for (const auto& c : cases) {
        const std::string text = more(console, std::string(c.line) + "\n");
        if (!c.actual) {
            EXPECT_EQ(text.find("expect failed"), std::string::npos) << text;
            continue;
        }
        EXPECT_NE(text.find("expect failed: line "), std::string::npos) << text;
        EXPECT_NE(text.find("  actual:   " + std::string(c.actual)), std::string::npos) << text;
    }
    // A check the command does not know is an error, not a verdict.
    const std::string wrong = more(console, "expect ui \"Preferences\" \"prefs.save\" pressed\n"
                                            "expect ui \"Preferences\" \"prefs.gapsHorizontal\" value\n"
                                            "expect ui \"Preferences\" \"prefs.save\" not text \"Save\"\n"
                                            "expect ui \"Preferences\" \"prefs.save\" not\n");
    const std::regex usage(": usage: expect ui \"<window>\" shown\\|hidden, or ");
    EXPECT_EQ(std::distance(std::sregex_iterator(wrong.begin(), wrong.end(), usage), std::sregex_iterator()),
              4)
        << wrong;
    EXPECT_EQ(wrong.find("expect failed"), std::string::npos) << wrong;
}

TEST_F(WindowExpectationTest, ExpectUiReadsTheLineUiShowPrintsInEveryWindowTheProgramKeeps) {
    DesktopConsole console(out);
    const std::string setUp = more(console, "desktop default\nprogram launch\nmenu pick \"Help\"\nwait 1\n"
                                            "ui click \"Tilmora Help\" \"Snapping\"\nmenu pick \"Preferences…\"\n"
                                            "ui scroll \"Preferences\" to \"prefs.gapsUniform\"\n");
    ASSERT_EQ(setUp.find("error"), std::string::npos) << setUp;
    // Every element with an id reads as its `ui show` line.
    for (const char* window : {"Tilmora Help", "Preferences"}) {
        const std::string shown = more(console, "ui show \"" + std::string(window) + "\"\n");
        std::istringstream lines(shown);
        int read = 0;
        for (std::string line; std::getline(lines, line);) {
            const auto id = line.find(" id=");
            if (line.starts_with(">") || id == std::string::npos) continue;
            const std::string name = line.substr(id + 4, line.find(' ', id + 4) - id - 4);
            const std::string text = more(console, "expect ui \"" + std::string(window) + "\" \"" + name + "\" text \"\x01\"\n");
            EXPECT_NE(text.find("  actual:   " + line.substr(line.find_first_not_of(' ')) + "\n"), std::string::npos)
                << text;
            ++read;
        }
        EXPECT_GT(read, 0) << shown;
    }
    // Closed, the preferences are kept as they were left: listed hidden, and read.
    const std::string closed = more(console, "ui click \"Preferences\" \"Close\"\nui windows\n");
    EXPECT_NE(closed.find(" \"Preferences\" frame 170.0 18.0 1100.0 848.0 level 0 hidden\n"), std::string::npos) << closed;
    const std::vector<testsupport::TableRow<const char*, const char*>> cases = {
        {"the web view", R"(expect ui "Tilmora Help" "help.page" value "file:///#snapping")", nullptr},
        {"the web view's line", R"(expect ui "Tilmora Help" "help.page" value "file:///")",
         "webView id=help.page value=\"file:///#snapping\" frame "},
        {"a link's line", R"(expect ui "Tilmora Help" "Snapping" value "#snapping")", nullptr},
        {"a block by its text", R"(expect ui "Tilmora Help" "Contents" text "Contents")", nullptr},
        {"a closed window", R"(expect ui "Preferences" "prefs.verbose" value 1)", nullptr},
        {"what it holds is hidden", R"(expect ui "Preferences" "prefs.verbose" shown)",
         "hidden: checkbox id=prefs.verbose \"Verbose logging\" value=1 frame "},
    };
    for (const auto& c : cases) {
        const std::string text = more(console, std::string(c.given) + "\n");
        if (!c.expected) {
            EXPECT_EQ(text.find("expect failed"), std::string::npos) << c.name << "\n" << text;
            continue;
        }
        EXPECT_NE(text.find("  actual:   " + std::string(c.expected)), std::string::npos) << c.name << "\n" << text;
    }
}

TEST_F(WindowExpectationTest, TypedKeysGoToTheFieldAClickFocusedAndARecorderRefusesText) {
    DesktopConsole console(out);
    const std::string shown = more(console, "desktop default\nprogram launch\nkey ctrl+opt+o\n"
                                            "ui show \"Tilmora Snapshots\"\n");
    // Return saves nothing (the name field has no commit action); a character no key types is
    // inserted as an input method would; after ⌘A typing replaces the text and Delete clears it.
    std::string text = more(console, clickAt(shown, "snapshot.nameField") + R"(type "Desk"
key return
key d
expect ui "Tilmora Snapshots" "snapshot.nameField" value "Deskd"
type "é"
key delete
key delete
type " Café"
expect ui "Tilmora Snapshots" "snapshot.nameField" value "Desk Café"
key cmd+a
type "Work"
expect ui "Tilmora Snapshots" "snapshot.nameField" value "Work"
key cmd+a
key delete
expect ui "Tilmora Snapshots" "snapshot.nameField" value ""
type "Desk Café"
expect ui "Tilmora Snapshots" "snapshot.save" enabled
)" + clickAt(shown, "snapshot.save") + R"(wait 1
expect toast "Snapshot 'Desk Café' saved successfully."
expect ui "Tilmora Snapshots" "snapshot.nameField" value ""
)");
    EXPECT_EQ(text.find("expect failed"), std::string::npos) << text;
    EXPECT_EQ(text.find("error"), std::string::npos) << text;

    // A recorder that records takes no text: it beeps and keeps recording its chord.
    const int beeps = platform::ui::UISimulator::beepCount();
    text = more(console, R"(ui click "Tilmora Snapshots" "launch-p1"
type "aé"
expect ui "Tilmora Snapshots" "launch-p1" recording
key ctrl+opt+shift+l
expect ui "Tilmora Snapshots" "launch-p1" enabled
ui show "Tilmora Snapshots"
)");
    EXPECT_EQ(platform::ui::UISimulator::beepCount() - beeps, 2);
    EXPECT_EQ(text.find("expect failed"), std::string::npos) << text;
    EXPECT_NE(text.find("recorder id=launch-p1 \"⌃⌥⇧L\" frame "), std::string::npos) << text;
}

} // namespace

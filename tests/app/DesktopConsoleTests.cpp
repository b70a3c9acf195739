#include "console/ConsoleText.hpp"
#include "console/DesktopConsole.hpp"

#include "model/Log.hpp"
#include "platform/control/SimDesktop.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/input/NSEvent.hpp"
#include "support/ConsoleScriptTest.hpp"

#include <gtest/gtest.h>

#include <sstream>

using tilmora::DesktopConsole;

namespace {

class DesktopConsoleTest : public ConsoleScriptTest {};

TEST_F(DesktopConsoleTest, ScriptOpensAWindowMovesThePointerAndShowsTheWindows) {
    const int status = run(R"(# one window on the laptop
desktop laptop
app install com.apple.TextEdit "TextEdit"
window open com.apple.TextEdit "Notes \"draft\"" 100 100 800.5 600
mouse move 300 200
show windows
expect pointer 300 200
)");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(transcript(), R"(> desktop laptop
> app install com.apple.TextEdit "TextEdit"
> window open com.apple.TextEdit "Notes \"draft\"" 100 100 800.5 600
> mouse move 300 200
> show windows
com.apple.TextEdit "Notes \"draft\"" frame 100.0 100.0 800.5 600.0 space 1
> expect pointer 300 200
)");
}

TEST(ConsoleTextTest, NumbersPrintRoundedToTwoDecimals) {
    const std::pair<double, const char*> cases[] = {
        {62.999999999999886, "63.0"}, {437.5, "437.5"},  {165.87677725118476, "165.88"},
        {300.17361111111114, "300.17"}, {0.125, "0.13"}, {-0.001, "0.0"},
        {-720.25, "-720.25"},          {1e20, "1e+20"},  {2.5e-7, "0.0"}};
    for (const auto& [value, text] : cases)
        EXPECT_EQ(tilmora::ConsoleText::number(value), text) << value;
}

TEST_F(DesktopConsoleTest, ExpectationsCompareTheNumbersThatPrintRounded) {
    EXPECT_EQ(run(R"(desktop laptop
app install com.apple.TextEdit "TextEdit"
window open com.apple.TextEdit "Notes" 120 165.87677725118476 900 580.5687203791468
show windows
expect window com.apple.TextEdit "Notes" frame 120 165.88 900 580.57
expect window com.apple.TextEdit "Notes" frame 120 165.87 900 580.57
expect window com.apple.TextEdit "Notes" frame 120 165.87 900 580.57 tolerance 0.01
mouse move 300.004 199.996
expect pointer 300 200
)"),
              DesktopConsole::exitExpectFailed);
    EXPECT_NE(transcript().find("com.apple.TextEdit \"Notes\" frame 120.0 165.88 900.0 580.57 space 1\n"),
              std::string::npos)
        << transcript();
    // Only the frame 0.0068 off without a tolerance that covers it fails.
    EXPECT_NE(transcript().find("expect failed: line 6: window com.apple.TextEdit \"Notes\"\n"
                                "  expected: frame 120.0 165.87 900.0 580.57\n"
                                "  actual:   frame 120.0 165.88 900.0 580.57\n"
                                "> expect window"),
              std::string::npos)
        << transcript();
    EXPECT_EQ(transcript().find("expect failed", transcript().find("tolerance 0.01")), std::string::npos)
        << transcript();
}

TEST_F(DesktopConsoleTest, FailingExpectationPrintsBothSidesAndExitsNonZero) {
    const int status = run(R"(desktop laptop
window open com.apple.TextEdit "Notes" 100 100 800 600
app install com.apple.TextEdit "TextEdit"
window open com.apple.TextEdit "Notes" 100 100 800 600
expect window com.apple.TextEdit "Notes" frame 0 0 720 875
expect window com.apple.TextEdit "Notes" frame 100.4 99.6 800 600 tolerance 0.5
)");
    // The first window command failed (not installed): an error wins over the failed expect.
    EXPECT_EQ(status, DesktopConsole::exitError);
    EXPECT_NE(transcript().find("error: line 2: application not installed: com.apple.TextEdit"),
              std::string::npos);
    EXPECT_NE(transcript().find("expect failed: line 5: window com.apple.TextEdit \"Notes\"\n"
                                "  expected: frame 0.0 0.0 720.0 875.0\n"
                                "  actual:   frame 100.0 100.0 800.0 600.0\n"),
              std::string::npos);
    EXPECT_EQ(transcript().find("line 6"), std::string::npos); // within tolerance

    EXPECT_EQ(run("desktop laptop\nexpect screens 2\nexpect screens 1\n"), DesktopConsole::exitExpectFailed);
}

struct LineCase {
    const char* line;
    int status;
    const char* output; ///< expected part of the transcript
};

TEST_F(DesktopConsoleTest, EveryCommandChecksItsArguments) {
    const std::string setup = "desktop laptop\napp install com.apple.TextEdit \"TextEdit\"\n"
                              "window open com.apple.TextEdit \"Notes\" 100 100 800 600\n";
    const LineCase cases[] = {
        {"frobnicate", 2, "error: line 4: unknown command: frobnicate"},
        {"desktop moon", 2, "unknown desktop: moon"},
        {"desktop load /nonexistent/desktop.json", 2, "cannot read /nonexistent/desktop.json"},
        {"window open com.apple.TextEdit \"A\" 1 2 3", 2, "usage: window open"},
        {"window open com.apple.TextEdit \"A\" 1 2 x 4", 2, "not a number: x"},
        {"window open com.apple.TextEdit \"A\" 1 2 -3 4", 2, "negative"},
        {"window open com.apple.TextEdit \"A\" 1 2 3 4 space 0", 2, "a space number starts at 1"},
        {"window open com.apple.TextEdit \"A\" 1 2 3 4 colour red", 2, "unexpected: colour"},
        {"window open com.apple.TextEdit \"A 1 2 3 4", 2, "unterminated quotation"},
        {"window open com.apple.Unknown \"A\" 1 2 3 4", 2, "application not installed: com.apple.Unknown"},
        {"key ctrl+opt+nowhere", 2, "unknown key \"nowhere\" in ctrl+opt+nowhere: see `help keys`"},
        {"key ctrl+otp+left", 2, "unknown modifier \"otp\" in ctrl+otp+left; did you mean opt? (`help keys` lists them)"},
        {"key left+ctrl", 2, "\"left\" in left+ctrl is a key: the key comes last"},
        {"key ctrl+", 2, "a chord needs a key after its modifiers: ctrl+"},
        {"key ctrl+opt", 2, "a chord needs a key after its modifiers: ctrl+opt"},
        {"key ⌃⌥", 2, "a chord needs a key after its modifiers: ⌃⌥"},
        {"key ⌃⌥Wing", 2, "unknown key \"Wing\" in ⌃⌥Wing"},
        {"help keys", 0, "modifiers: ctrl control opt"},
        {"help keys", 0, "⌃=ctrl ⌥=opt ⇧=shift ⌘=cmd ←=left"},
        {"key", 2, "usage: key <chord>"},
        {"mouse move 1", 2, "usage: mouse move"},
        {"mouse move nan 3", 2, "not a number: nan"},
        {"mouse move 1e999 3", 2, "not a number: 1e999"},
        {"drag 1 2 3 4", 2, "usage: drag"},
        {"drag 1 2 to 3 4 steps 0", 2, "steps must be 1 to 10000"},
        {"drag 1 2 to 3 4 with hyper", 2, "unknown modifiers: hyper"},
        {"wait -1", 2, "wait takes 0 to 86400 seconds"},
        {"wait 1.5x", 2, "not a number: 1.5x"},
        {"show everything", 2,
         "unknown show: everything (show screens | windows | apps | spaces | journal | log | "
         "alerts | toasts | picture FILE.png"},
        {"screen add 1 frame 0 0 100 100", 2, "display 1 exists already"},
        {"screen add 3 visible 0 0 10 10", 2, "a screen needs a frame"},
        {"screen add 3 frame 0 0 0 100", 2, "a screen needs a size"},
        {"screen remove 9", 2, "no display 9"},
        {"app quit com.apple.Safari", 2, "application not running: com.apple.Safari"},
        {"app launch com.apple.Safari", 2, "application not installed: com.apple.Safari"},
        {"app dance com.apple.TextEdit", 2, "unknown app command: dance"},
        {"app install com.apple.Safari Safari", 2, "usage: app install"},
        {"app install com.apple.Safari \"Safari\" launch-delay -2", 2, "a delay cannot be negative"},
        {"expect window com.apple.TextEdit \"Notes\" frame 1 2 3", 2, "expected X Y W H"},
        {"expect window com.apple.TextEdit \"Notes\" frame 100 100 800 600 tolerance -1", 2,
         "tolerance cannot be negative"},
        {"expect window com.apple.TextEdit \"Notes\" glows", 2, "unknown window check: glows"},
        {"expect weather sunny", 2, "unknown expectation: weather"},
        {"expect window com.apple.TextEdit \"Notes\" frame 100 100 800 600", 0, ""},
        {"expect window com.apple.TextEdit \"Notes\" exists", 0, ""},
        {"expect window com.apple.TextEdit \"Other\" missing", 0, ""},
        {"expect window com.apple.TextEdit \"Notes\" space 1", 0, ""},
        {"expect windows 1", 0, ""},
        {"expect frontmost com.quorvane.Tilmora", 1, "expected: com.quorvane.Tilmora"},
        {"expect window com.apple.TextEdit \"Notes\" missing", 1, "actual:   exists"},
        {"expect window com.apple.TextEdit \"Notes\" space 2", 1, "actual:   space 1"},
        {"expect window com.apple.TextEdit \"Notes\" minimized", 1, "actual:   not minimized"},
        {"expect window com.apple.TextEdit \"Gone\" frame 1 2 3 4", 1, "actual:   no such window"},
        {"expect pointer 1 2", 1, "actual:   0.0 0.0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        platform::SimDesktop::clear();
        EXPECT_EQ(run(setup + c.line + "\n"), c.status) << transcript();
        EXPECT_NE(transcript().find(c.output), std::string::npos) << transcript();
    }
}

TEST_F(DesktopConsoleTest, DragByTheTitleBarMovesTheWindowAndGlobalMonitorsSeeIt) {
    std::vector<platform::NSEvent> seen;
    auto monitor = platform::NSEvent::addGlobalMonitorForEvents(
        platform::EventTypeMask::leftMouseDragged, [&](const platform::NSEvent& e) { seen.push_back(e); });
    EXPECT_EQ(run(R"(desktop laptop
window open com.apple.TextEdit "Body" 100 100 400 300
app install com.apple.TextEdit "TextEdit"
window open com.apple.TextEdit "Body" 100 100 400 300
drag 200 300 to 600 300 steps 4
expect window com.apple.TextEdit "Body" frame 100 100 400 300
drag 200 390 to 600 290 steps 4 with opt
expect window com.apple.TextEdit "Body" frame 500 0 400 300
expect pointer 600 290
)"),
              DesktopConsole::exitError); // only the first line's error
    EXPECT_EQ(transcript().find("expect failed"), std::string::npos) << transcript();
    ASSERT_EQ(seen.size(), 8u);
    EXPECT_FALSE(seen[0].modifierFlags.contains(platform::ModifierFlags::option));
    EXPECT_TRUE(seen[7].modifierFlags.contains(platform::ModifierFlags::option));
}

TEST_F(DesktopConsoleTest, KeysGoToTheProgramOnlyWhileItIsFrontmost) {
    std::vector<platform::NSEvent> global;
    std::vector<platform::NSEvent> local;
    auto g = platform::NSEvent::addGlobalMonitorForEvents(
        platform::EventTypeMask::keyDown, [&](const platform::NSEvent& e) { global.push_back(e); });
    auto l = platform::NSEvent::addLocalMonitorForEvents(
        platform::EventTypeMask::keyDown,
        [&](const platform::NSEvent& e) -> std::optional<platform::NSEvent> {
            local.push_back(e);
            return e;
        });
    EXPECT_EQ(run("desktop laptop\napp install com.apple.TextEdit \"TextEdit\"\n"
                  "window open com.apple.TextEdit \"A\" 0 0 100 100\napp focus com.apple.TextEdit\nkey "
                  "cmd+shift+f5\n"
                  "app focus com.quorvane.Tilmora\nkey a\n"),
              0)
        << transcript();
    ASSERT_EQ(global.size(), 1u);
    EXPECT_EQ(global[0].keyCode, 96);
    EXPECT_TRUE(
        global[0].modifierFlags.contains(platform::ModifierFlags::command | platform::ModifierFlags::shift));
    ASSERT_EQ(local.size(), 1u);
    EXPECT_EQ(local[0].characters, "a");
}

TEST_F(DesktopConsoleTest, WaitAdvancesTheVirtualClock) {
    EXPECT_EQ(run(R"(desktop laptop
app install com.apple.Safari "Safari" launch-delay 2
app launch com.apple.Safari
wait 1
show apps
wait 1.5
show apps
expect frontmost com.apple.Safari
)"),
              0)
        << transcript();
    // Still launching after 1 s: not yet among the running applications.
    const auto t = transcript();
    const auto first = t.find("> wait 1.5");
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(t.find("com.apple.Safari"), t.find("com.apple.Safari \"Safari\" launch-delay 2"));
    EXPECT_NE(t.find("com.apple.Safari \"Safari\" pid 501 frontmost\n", first), std::string::npos);
    EXPECT_DOUBLE_EQ(sim().now(), 2.5);
}

TEST_F(DesktopConsoleTest, ScreensSpacesJournalAndLog) {
    tilmora::print("before the console");
    EXPECT_EQ(run(R"(desktop laptop
screen add 7 frame 1440 0 1920 1080 visible 1440 0 1920 1055 scale 1 name "Side"
screen add none frame -1000 0 1000 800
show screens
screen remove 7
expect screens 2
show spaces
show journal
show log
)"),
              0)
        << transcript();
    const auto t = transcript();
    EXPECT_NE(
        t.find(
            "screen 7 \"Side\" frame 1440.0 0.0 1920.0 1080.0 visible 1440.0 0.0 1920.0 1055.0 scale 1.0\n"),
        std::string::npos);
    EXPECT_NE(t.find("screen none \"Display 8\" frame -1000.0 0.0 1000.0 800.0"), std::string::npos);
    EXPECT_NE(t.find("display 1: 1*\n"), std::string::npos);
    EXPECT_EQ(t.find("before the console"), std::string::npos); // the log shows what came later only

    out.str("");
    DesktopConsole console(out);
    tilmora::print("[Test] hello");
    console.execute("show log");
    console.execute("show log");
    EXPECT_EQ(out.str(), "> show log\n[Test] hello\n> show log\n");
}

TEST_F(DesktopConsoleTest, DesktopLoadsFromJsonAndRejectsBadFiles) {
    const auto file = root() / "desk.json";
    platform::FileSystem::writeFile(file,
                                    R"({"displays": [{"id": 3, "name": "Wide", "frame": [0, 0, 3440, 1440],
        "spaces": 2}], "apps": [{"bundleIdentifier": "com.apple.Notes", "name": "Notes",
        "windows": [{"title": "List", "frame": [10, 20, 300, 400], "space": 2, "minimized": true}]}],
        "frontmost": "com.apple.Notes"})");
    EXPECT_EQ(run("desktop load " + file.string() +
                  "\nshow windows\nshow spaces\nexpect frontmost com.apple.Notes\n"),
              0)
        << transcript();
    EXPECT_NE(transcript().find("com.apple.Notes \"List\" frame 10.0 20.0 300.0 400.0 space 2 minimized\n"),
              std::string::npos)
        << transcript();
    EXPECT_NE(transcript().find("display 3: 1* 2\n"), std::string::npos);

    const std::pair<const char*, const char*> bad[] = {
        {"{", "bad desktop file: line 1, column 2: expected a key in double quotes or '}', found the end of the text"},
        {"{\n  \"fixture\": \"laptop\",\n}", "bad desktop file: line 3, column 1: expected a key in double quotes, found \"}\""},
        {"{\"apps\": [1 2]}", "line 1, column 13: expected ',' or ']', found \"2\""},
        {"{\"a\" 1}", "line 1, column 6: expected ':' after the key, found \"1\""},
        {"{\"é\": tru}", "line 1, column 7: expected a value (an object, an array, a text in double quotes, a number, "
                       "true, false or null), found \"tru\""},
        {"{} x", "line 1, column 4: expected the end of the text after the value, found \"x\""},
        {"{\"a\": \"\\q\"}", "line 1, column 8: expected an escape"},
        {"{\"a\": -}", "line 1, column 8: expected a digit, found \"}\""},
        {"{\"a\": \"x", "line 1, column 9: expected '\"' to close the text, found the end of the text"},
        {"{\"a\": \"\\ud800\"}", "expected \\uDC00 to \\uDFFF, the second half of the pair begun by \\ud800"},
        {"", "line 1, column 1: expected a value"},
        {"[]", "not an object"},
        {R"({"fixture": "moon"})", "unknown fixture moon"},
        {R"({"displays": [{"frame": [0, 0, 10]}]})", "displays[0].frame: must be [x, y, w, h]"},
        {R"({"displays": [{"name": "x"}]})", "a display needs a frame"},
        {R"({"apps": [{"name": "x"}]})", "needs a bundleIdentifier"},
        {R"({"apps": [{"bundleIdentifier": "a", "windows": [{"min": [1]}]}]})", "min must be [w, h]"},
        {R"({"frontmost": "com.nobody"})", "application not running: com.nobody"},
    };
    for (const auto& [json, message] : bad) {
        SCOPED_TRACE(json);
        platform::FileSystem::writeFile(file, json);
        EXPECT_EQ(run("desktop load " + file.string() + "\n"), DesktopConsole::exitError);
        EXPECT_NE(transcript().find(message), std::string::npos) << transcript();
    }
}

TEST_F(DesktopConsoleTest, QuitEndsTheRunAndBlankLinesCommentsAndCarriageReturnsAreSkipped) {
    EXPECT_EQ(run("\n   \n# note\r\ndesktop laptop\r\nquit\nfrobnicate\n"), 0);
    EXPECT_EQ(transcript(), "> desktop laptop\n> quit\n");

    out.str("");
    DesktopConsole console(out);
    console.useDefaultDesktop();
    console.execute("expect window com.apple.TextEdit \"Untitled\" exists");
    console.execute("expect screens 2");
    EXPECT_EQ(console.exitStatus(), 0) << out.str();
}

TEST_F(DesktopConsoleTest, StartsTheApplicationOnceBeforeTheFirstCommand) {
    int starts = 0;
    DesktopConsole::Options options;
    options.startApplication = [&](DesktopConsole&) { ++starts; };
    DesktopConsole console(out, options);
    EXPECT_EQ(starts, 0);
    console.execute("# not a command");
    EXPECT_EQ(starts, 0);
    console.execute("desktop laptop");
    console.execute("show apps");
    EXPECT_EQ(starts, 1);
}

} // namespace

namespace {

TEST_F(DesktopConsoleTest, EchoEscapesControlCharactersAndHelpListsTheExpectations) {
    run("wait\x1B[2J 0\nhelp\n");
    const std::string text = transcript();
    EXPECT_EQ(text.find('\x1B'), std::string::npos) << "no raw escape reaches the terminal";
    EXPECT_EQ(text.rfind("> wait\\x1B[2J 0\n", 0), 0u) << text;
    for (const char* line : {"expect log \"text\"", "expect alert \"text\"", "expect toast",
                             "expect program running|stopped", "alert answer N|\"Button title\""})
        EXPECT_NE(text.find(line), std::string::npos) << line;
}

} // namespace

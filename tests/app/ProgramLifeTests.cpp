// The program's life in the console as a user lives it: launched behind the user's application,
// ended by its Quit item or chord, its prompts answered from the script, the desktop keeping the
// pointer and the windows of an unplugged display on the displays.

#include "support/ProgramScriptTest.hpp"
#include "platform/control/SimDesktop.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>

namespace {

using ProgramLifeTest = ProgramScriptTest;
using platform::CGRect;

TEST_F(ProgramLifeTest, LaunchLeavesTheUsersApplicationInFrontAndTheFirstChordMovesIt) {
    const int status = run(R"(desktop default
program launch
show apps
expect frontmost com.apple.TextEdit
key ctrl+opt+left
expect window com.apple.TextEdit "Untitled" frame 0 0 720 875
menu pick "Right Half"
expect window com.apple.TextEdit "Untitled" frame 720 0 720 875
)");
    EXPECT_EQ(status, 0) << out.str();
    EXPECT_NE(out.str().find("com.apple.TextEdit \"TextEdit\" pid 501 frontmost\n"), std::string::npos) << out.str();
}

TEST_F(ProgramLifeTest, EveryWayOfQuittingEndsTheProgram) {
    for (const char* quit : {"menu pick \"Quit Tilmora\"", "key ctrl+opt+q", "program quit"}) {
        SCOPED_TRACE(quit);
        resetSharedInstances();
        tilmora::ProgramHost::shared().reset();
        const int status = run(std::string("desktop default\nprogram launch\n") + quit + R"(
expect program stopped
key ctrl+opt+right
expect window com.apple.TextEdit "Untitled" frame 120 180 800 600
expect frontmost com.apple.TextEdit
show apps
menu
)");
        EXPECT_EQ(status, tilmora::DesktopConsole::exitError);
        const std::string text = out.str();
        EXPECT_EQ(text.find("com.quorvane.Tilmora"), std::string::npos) << text;
        EXPECT_EQ(text.find("expect failed"), std::string::npos) << text;
        EXPECT_NE(text.find("> menu\nerror: line 9: the program is not running\n"), std::string::npos) << text;
        EXPECT_EQ(text.find("error:"), text.rfind("error:")) << "the only error is the last line's";
        EXPECT_TRUE(platform::SimDesktop::shared().windowsOf(platform::SimDesktop::shared().programPid()).empty());
    }
}

TEST_F(ProgramLifeTest, AProgramQuitAnyWayLaunchesAgainListedOnceWithItsSettings) {
    for (const char* quit : {"menu pick \"Quit Tilmora\"", "key ctrl+opt+q", "program quit"}) {
        SCOPED_TRACE(quit);
        resetSharedInstances();
        tilmora::ProgramHost::shared().reset();
        // The user folders are the test's: the bar starts hidden in every round.
        const int status = run(std::string("desktop default\ndefaults delete WMSnapBarVisible\nprogram launch\n"
                                           "menu pick \"Show Snap Bar\"\n") +
                               quit + R"(
program launch
expect program running
expect menu "Show Snap Bar" checked
show apps
key ctrl+opt+left
expect window com.apple.TextEdit "Untitled" frame 0 0 720 875
)");
        EXPECT_EQ(status, 0) << out.str();
        const std::string text = out.str();
        const std::string apps = text.substr(text.find("> show apps"));
        std::size_t listed = 0;
        for (auto at = apps.find("com.quorvane.Tilmora"); at != std::string::npos;
             at = apps.find("com.quorvane.Tilmora", at + 1))
            ++listed;
        EXPECT_EQ(listed, 1u) << apps;
    }
}

TEST_F(ProgramLifeTest, ReplacementDisplayChosenFromTheScriptPlacesTheWindowsBySmartFit) {
    const int status = run(R"(desktop laptop-external
app install com.example.notes "Notes"
window open com.example.notes "Todo" 1600 200 900 600
window open com.example.notes "Memo" 1700 100 600 400
program launch
menu pick "Show Snapshot Manager"
ui type "Tilmora Snapshots" "snapshot.nameField" "Desk"
ui click "Tilmora Snapshots" "snapshot.save"
wait 1
screen add none frame 3360 0 1600 1000 visible 3360 0 1600 975 name "Studio"
screen add 5 frame 4960 0 1280 800 visible 4960 0 1280 775 name "Side"
screen remove 1
screen remove 2
wait 1
alert answer "OK" pick "Side" choose "Smart resize to fit all windows on new screen"
ui click "Tilmora Snapshots" "snapshot.launch.p1"
wait 5
show alerts
)");
    ASSERT_EQ(status, 0) << out.str();
    EXPECT_NE(out.str().find("window \"Select Replacement Display\" buttons \"Just move to new screen\" \"Smart resize "
                             "to fit all windows on new screen\" \"OK\" items \"Studio (1600×975 pt)\" \"Side "
                             "(1280×775 pt)\" answer \"OK\"\n"),
              std::string::npos)
        << out.str();

    // Both windows were saved on display 2 (visible frame 1440, 0, 1920, 1055); each source
    // rectangle is measured up from the bottom of that visible frame. The group is scaled (never
    // up) to fit "Side"'s visible frame, centred, and rounded outwards.
    const CGRect vf{1600, 0, 1280, 775};
    const CGRect todo{1600 - 1440, 200, 900, 600}, memo{1700 - 1440, 100, 600, 400};
    const CGRect u = todo.unionWith(memo);
    const double s = std::min({vf.width() / u.width(), vf.height() / u.height(), 1.0});
    const double ox = vf.minX() + (vf.width() - u.width() * s) * 0.5 - u.minX() * s;
    const double oy = vf.minY() + (vf.height() - u.height() * s) * 0.5 - u.minY() * s;
    auto placed = [&](const CGRect& r) {
        const double x = ox + s * r.minX(), y = oy + s * r.minY();
        const double x0 = std::floor(x), y0 = std::floor(y);
        return CGRect{x0, y0, std::ceil(x + s * r.width()) - x0, std::ceil(y + s * r.height()) - y0};
    };
    auto& desktop = platform::SimDesktop::shared();
    const auto pid = desktop.pids("com.example.notes").at(0);
    for (const auto& window : desktop.windowsOf(pid)) {
        SCOPED_TRACE(window.title);
        EXPECT_EQ(window.frame, placed(window.title == "Todo" ? todo : memo));
    }
}

TEST_F(ProgramLifeTest, PointerAndTheWindowsOfAnUnpluggedDisplayStayOnTheDisplays) {
    const int status = run(R"(desktop default
window open com.apple.Safari "Far" 2000 200 1000 600
program launch
mouse move 1e308 0
expect pointer 3360 0
mouse move -1e308 5
expect pointer 0 5
mouse move 2000 500
menu pick "Layout Editor…" display 2
screen remove 2
expect pointer 1440 500
wait 1
ui windows
screen remove 1
)");
    EXPECT_EQ(status, tilmora::DesktopConsole::exitError);
    const std::string text = out.str();
    EXPECT_NE(text.find("> screen remove 1\nerror: line 14: at least one display must stay\n"), std::string::npos)
        << text;
    EXPECT_EQ(text.find("expect failed"), std::string::npos) << text;
    const CGRect visible{0, 0, 1440, 875};
    for (const auto& window : platform::SimDesktop::shared().allWindows()) {
        SCOPED_TRACE(window.title);
        EXPECT_EQ(visible.intersection(window.frame), window.frame);
    }
    // The editor stays open, now on the main display ("window N "TITLE" frame X Y W H ...").
    const auto editor = text.find("\"Layout Editor");
    ASSERT_NE(editor, std::string::npos) << text;
    std::istringstream line(text.substr(text.find(" frame ", editor) + 7));
    CGRect frame;
    line >> frame.origin.x >> frame.origin.y >> frame.size.width >> frame.size.height;
    EXPECT_EQ(visible.intersection(frame), frame) << text;
}

} // namespace

// A session has built its desktop and launched the program before its first line: the walk's
// first lines are answered with a note; anything else that would change the desktop is refused.
TEST_F(ProgramLifeTest, ASessionNotesWhatItDidAtItsStart) {
    struct Case {
        const char* name;
        const char* lines;
        const char* expected; // the transcript after the start
    };
    const Case cases[] = {
        {"the walk's start", "desktop default\nprogram launch\ndesktop default\n",
         "> desktop default\nnote: the session is on the default desktop already, as it started\n"
         "> program launch\nnote: the program is running already\n"
         "> desktop default\nnote: the session is on the default desktop already, as it started\n"},
        {"another desktop", "desktop laptop\n",
         "> desktop laptop\nerror: line 1: the desktop cannot change while the program runs: `program quit` first\n"},
        {"after the desktop changed", "app focus com.apple.TextEdit\ndesktop default\n",
         "> app focus com.apple.TextEdit\n> desktop default\nerror: line 2: the desktop cannot change while the "
         "program runs: `program quit` first\n"},
        {"after the program quit", "program quit\nwindow open com.apple.Notes \"N\" 0 0 300 300\ndesktop default\n",
         "> program quit\nprogram quit\n> window open com.apple.Notes \"N\" 0 0 300 300\n> desktop default\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        resetSharedInstances();
        std::ostringstream session;
        tilmora::DesktopConsole::Options options;
        options.interactive = true;
        options.errorsSetStatus = false;
        tilmora::DesktopConsole console(session, options);
        console.useDefaultDesktop();
        console.prepare("program launch");
        session.str("");
        EXPECT_EQ(console.runString(c.lines), 0);
        EXPECT_EQ(session.str(), c.expected);
    }
    // A script launches the program itself: a second launch is an error.
    EXPECT_EQ(run("desktop default\nprogram launch\nprogram launch\n"), 2);
    EXPECT_NE(transcript().find("error: line 3: the program is already running\n"), std::string::npos);
}

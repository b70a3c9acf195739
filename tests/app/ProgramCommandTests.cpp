#include "platform/foundation/StandardOutput.hpp"
#include "support/ProgramScriptTest.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

using tilmora::DesktopConsole;

namespace {

using ProgramCommandTest = ProgramScriptTest;

TEST_F(ProgramCommandTest, ScriptSetsSettingsAnswersAlertsLaunchesAndQuits) {
    const int status = run(R"(defaults write WMGapSize double 12
defaults read WMGapSize
permission accessibility denied
alert answer "Later"
program launch
show alerts
expect log "Updater finished update cycle"
expect alert "Accessibility Access Required"
desktop laptop
program quit
program launch
)");
    EXPECT_EQ(status, DesktopConsole::exitError);
    EXPECT_EQ(out.str(), R"(> defaults write WMGapSize double 12
> defaults read WMGapSize
WMGapSize = double 12.0
> permission accessibility denied
> alert answer "Later"
> program launch
program launched
note: there is no display: start with `desktop default` (or laptop, laptop-external, two-displays, load FILE)
program ready
> show alerts
alert "Accessibility Access Required" info "Tilmora needs Accessibility access to move and resize the windows of other apps. Turn it on in System Settings > Privacy & Security > Accessibility." buttons "Open System Settings" "Later" answer "Later"
> expect log "Updater finished update cycle"
> expect alert "Accessibility Access Required"
> desktop laptop
error: line 9: the desktop cannot change while the program runs: `program quit` first
> program quit
program quit
> program launch
program launched
note: there is no display: start with `desktop default` (or laptop, laptop-external, two-displays, load FILE)
program ready
)");
}

TEST_F(ProgramCommandTest, DefaultsReadEveryKindAndRefuseBadValues) {
    struct Case {
        std::string script;
        std::string lastLines;
        int status;
    };
    const std::vector<Case> cases = {
        {"defaults write K bool true\ndefaults read K", "K = bool true\n", 0},
        {"defaults write K int 5\ndefaults read K", "K = int 5\n", 0},
        {"defaults write K double 12\ndefaults read K", "K = double 12.0\n", 0},
        {"defaults write K string \"a \\\"b\\\"\"\ndefaults read K", "K = string \"a \\\"b\\\"\"\n", 0},
        {"defaults write K int 5\ndefaults delete K\ndefaults read K", "K is not set\n", 0},
        {"defaults write K int 5x", "error: line 1: not an int: 5x\n", 2},
        {"defaults write K bool maybe", "error: line 1: not a bool: maybe (true or false)\n", 2},
        {"defaults write K date 5", "error: line 1: unknown kind: date (bool, int, double or string)\n", 2},
        {"program quit", "error: line 1: the program is not running\n", 2},
        {"permission automation sometimes",
         "error: line 1: usage: permission accessibility granted|denied | permission automation granted|denied|ask\n", 2},
        {"alert answer 0", "error: line 1: alert buttons count from 1\n", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        resetSharedInstances();
        EXPECT_EQ(run(c.script), c.status);
        const std::string text = out.str();
        EXPECT_EQ(text.substr(text.size() - std::min(text.size(), c.lastLines.size())), c.lastLines) << text;
    }
}

TEST_F(ProgramCommandTest, ProgramOutputStaysOutOfTheTranscriptUntilShown) {
    EXPECT_EQ(run("desktop laptop\npermission accessibility granted\nprogram launch\nshow log\nshow log\n"), 0);
    const std::string text = out.str();
    const auto shown = text.find("> show log\n");
    ASSERT_NE(shown, std::string::npos);
    EXPECT_EQ(text.substr(0, shown),
              "> desktop laptop\n> permission accessibility granted\n> program launch\nprogram launched\nprogram ready\n");
    EXPECT_NE(text.find("[TLM] Sentinel AppDelegate loaded at "), std::string::npos);
    EXPECT_NE(text.find("Accessibility permissions granted."), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 11), "> show log\n") << "the second show prints nothing new";
}

TEST_F(ProgramCommandTest, ChordSnapsThenTheMenuPicksAGridAndShowsTheChecks) {
    const int status = run(R"(desktop default
program launch
app focus com.apple.TextEdit
expect frontmost com.apple.TextEdit
key ctrl+opt+left
wait 1
expect window com.apple.TextEdit "Untitled" frame 0 0 720 875
expect log "[UI] SnapBar action: leftHalf on screen=Built-in Retina Display"
expect menu "Left Half" checked
menu pick "Grid 2 × 2"
expect log "[UI] Selected grid preset via menu: 2×2 gutter=0 padding=0"
expect menu "Grid 2 × 2" checked
expect menu "Left Half" unchecked
program quit
)");
    EXPECT_EQ(status, 0) << out.str();
    const std::string text = out.str();
    for (const char* line : {"program launched\n", "program ready\n", "picked \"Grid 2 × 2\"\n", "program quit\n"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line;
    }
}

TEST_F(ProgramCommandTest, FreshMenuStartsWithTheManagerAndTheSwitches) {
    EXPECT_EQ(run("desktop default\nprogram launch\nmenu\n"), 0);
    const std::string text = out.str();
    EXPECT_NE(text.find("> menu\nShow Snapshot Manager\t⌃⌥O [⇧⌘O]\n---\nShow Snap Bar\t⌃⌥B\n"
                        "✓ Stop Snapping\t⌃⌥S\n"),
              std::string::npos)
        << text;
}

TEST_F(ProgramCommandTest, MessagesWithAnObjectPrintTheirAnswerAndStoreNothing) {
    EXPECT_EQ(run(R"(desktop default
program launch
ui action "setLaunchAtLoginWithEnabled:" false
expect menu "Launch at Login" unchecked
defaults read LaunchAtLogin
ui action "setLaunchAtLoginWithEnabled:"
ui action "showWindow" true
ui action "createMenuWithPreferredScreen:"
help actions
)"),
              DesktopConsole::exitError);
    const std::string text = out.str();
    for (const char* line :
         {"> ui action \"setLaunchAtLoginWithEnabled:\" false\nreturned true\n",
          "> defaults read LaunchAtLogin\nLaunchAtLogin = bool true\n",
          "error: line 6: usage: ui action \"setLaunchAtLoginWithEnabled:\" true|false\n",
          "error: line 7: usage: ui action \"showWindow\"\n",
          "> ui action \"createMenuWithPreferredScreen:\"\nShow Snapshot Manager\t⌃⌥O [⇧⌘O]\n---\n",
          "\n  createMenuWithPreferredScreen:      prints the status menu",
          "\n  setLaunchAtLoginWithEnabled:        true|false"})
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
}

} // namespace

namespace {

TEST(ProgramOutputJournal, KeepsAtMostItsBoundAndTheNewestLineWholeAndHandsOutEachLineOnce) {
    auto& host = tilmora::ProgramHost::shared();
    host.reset();
    host.captureOutput();
    const auto write = [](const std::string& text) { platform::StandardOutput::write(text); };
    write("first\n");
    EXPECT_EQ(host.takeNewOutput(), "first\n");
    // A line longer than the bound is kept whole, alone, and handed out once.
    const std::string longLine(tilmora::ProgramHost::maxKeptOutput + 10, 'x');
    write(longLine + "\n");
    EXPECT_EQ(host.output(), longLine + "\n");
    EXPECT_EQ(host.takeNewOutput(), longLine + "\n");
    EXPECT_EQ(host.takeNewOutput(), "");
    write("next\n");
    EXPECT_EQ(host.output(), "next\n");
    EXPECT_EQ(host.takeNewOutput(), "next\n");
    // Many short lines: never more than the bound, always cut at a line start.
    const std::string line(999, 'y');
    for (int i = 0; i < 3000; ++i) {
        write(line + "\n");
        ASSERT_LE(host.outputSize(), tilmora::ProgramHost::maxKeptOutput);
    }
    EXPECT_TRUE(host.outputTruncated());
    EXPECT_EQ(host.outputSize(), host.output().size());
    EXPECT_EQ(host.output().size() % 1000, 0u);
    EXPECT_EQ(host.takeNewOutput(), host.output());
    host.reset();
}

} // namespace

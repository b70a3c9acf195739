// The running program meets settings written outside it (absurd gaps, chords no recorder would
// take) and keeps its self-test and its preferences form true to what is stored.
#include "support/ProgramScriptTest.hpp"

#include <gtest/gtest.h>

namespace {

using tilmora::DesktopConsole;

class ProgramSettingsTest : public ProgramScriptTest {};

TEST_F(ProgramSettingsTest, StoredGapsLeaveEveryTileItsSize) {
    struct Case {
        const char* gap;
        const char* width; // of the left half of the 1440 x 875 visible frame, right side inset
    };
    // A quarter of the frame's smaller side (218.75) at most; the slider's values as they are.
    const std::vector<Case> cases = {{"1e308", "610.5"}, {"24", "708"}, {"0", "720"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.gap);
        resetSharedInstances();
        const int status = run(std::string("desktop default\n") + "defaults write WMGapHorizontal double " + c.gap +
                               "\ndefaults write WMGapVertical double " + c.gap + R"(
program launch
app focus com.apple.TextEdit
key ctrl+opt+left
wait 1
expect window com.apple.TextEdit "Untitled" frame 0 0 )" + c.width + R"( 875
expect log "[RoriDeru] Moved window -> {{0, 0}, {)" + c.width + R"x(, 875}})"
)x");
        EXPECT_EQ(status, DesktopConsole::exitOk) << out.str();
        tilmora::ProgramHost::shared().reset();
    }
}

TEST_F(ProgramSettingsTest, StoredChordsTheRecorderRefusesAreNeverSilentAndSharedOnesAreNotReported) {
    // "A" alone for a name without a first-run chord, Control-Option-A for two snap names.
    const int status = run(R"(desktop default
defaults write GlobalShortcuts_snap-center-half string "{\"carbonKeyCode\":0,\"carbonModifiers\":0}"
defaults write GlobalShortcuts_snap-left-half string "{\"carbonKeyCode\":0,\"carbonModifiers\":6144}"
defaults write GlobalShortcuts_snap-almost-maximize string "{\"carbonKeyCode\":0,\"carbonModifiers\":6144}"
program launch
app focus com.apple.TextEdit
key a
wait 1
expect window com.apple.TextEdit "Untitled" frame 120 180 800 600
expect log "[GlobalShortcuts] Ignored the stored chord A of \"snap-center-half\": a chord needs Control, Option or Command unless its key is F1 to F20"
menu
)");
    EXPECT_EQ(status, DesktopConsole::exitOk) << out.str();
    EXPECT_NE(out.str().find("\nCenter Half\n"), std::string::npos) << out.str();
    // A chord stored for two names runs both; it is no fault to report.
    EXPECT_EQ(programLog().find("Conflict"), std::string::npos) << programLog();
    EXPECT_EQ(programLog().find("Ignored the stored chord A", programLog().find("Ignored the stored chord A") + 1),
              std::string::npos)
        << "logged once";
}

TEST_F(ProgramSettingsTest, SelfTestPassesAfterTheFirstLaunchAndKeepsTheMarkersAndChords) {
    struct Case {
        const char* minimalMenu;
        const char* passed;
    };
    for (const auto& c : std::vector<Case>{{"false", "25"}, {"true", "24"}}) {
        SCOPED_TRACE(c.minimalMenu);
        resetSharedInstances();
        const std::string reads = "defaults read HasRegisteredDefaultShortcut.quit-app\n"
                                  "defaults read HasRegisteredDefaultShortcut.toggle-snap-bar\n"
                                  "defaults read HasRegisteredDefaultSnapShortcutsV1\n"
                                  "defaults read GlobalShortcuts_toggle-snap-bar\n"
                                  "defaults read GlobalShortcuts_open-help\n";
        ASSERT_EQ(run(std::string("desktop default\ndefaults write MinimalMenuMode bool ") + c.minimalMenu +
                      "\nprogram launch\n" + reads + "ui action \"runDiagnostics\"\nshow alerts\n" + reads),
                  DesktopConsole::exitOk)
            << out.str();
        const std::string transcript = out.str();
        EXPECT_NE(transcript.find(std::string("alert \"Diagnostics Passed\" info \"Passed: ") + c.passed +
                                  "\\nFailed: 0\""),
                  std::string::npos)
            << transcript;
        const auto first = transcript.find("> defaults read");
        const auto action = transcript.find("> ui action");
        const auto second = transcript.find("> defaults read", action);
        EXPECT_EQ(transcript.substr(second), transcript.substr(first, action - first));
        tilmora::ProgramHost::shared().reset();
    }
}

TEST_F(ProgramSettingsTest, PreferencesSaveWritesWhatTheFormShowsAfterChangesElsewhere) {
    const int status = run(R"(desktop laptop
program launch
menu pick "Preferences…"
menu pick "Show Snap Bar"
menu pick "Keyboard Shortcuts"
ui click "Preferences" "prefs.save"
wait 1
expect menu "Show Snap Bar" checked
expect menu "Keyboard Shortcuts" unchecked
ui show "Preferences"
defaults read WMSnapBarVisible
defaults read WMKeyboardShortcutsEnabled
)");
    EXPECT_EQ(status, DesktopConsole::exitOk) << out.str();
    for (const char* line : {"checkbox id=menu.showSnapBar \"Show Snap Bar\" value=1",
                             "checkbox id=prefs.shortcuts.masterToggle \"Enable global keyboard shortcuts\" value=0",
                             "WMSnapBarVisible = bool true", "WMKeyboardShortcutsEnabled = bool false"}) {
        EXPECT_NE(out.str().find(line), std::string::npos) << line << "\n" << out.str();
    }
}

TEST_F(ProgramSettingsTest, AStageReserveWiderThanTheFrameLeavesItsLastPointAndShowsAsTheSliderHoldsIt) {
    struct Case {
        const char* reserve;
        const char* rect; // inside the main display's visible frame (0, 0, 1440, 875)
    } cases[] = {{"1e308", "{{1439, 0}, {0.5, 875}}"},
                 {"5000", "{{1439, 0}, {0.5, 875}}"},
                 {"-1e308", "{{0, 0}, {720, 875}}"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reserve);
        resetSharedInstances();
        const int status = run(std::string(R"(desktop default
defaults write WMIntegrateStageManager bool true
defaults write WMMockStageManagerActive bool true
defaults write WMStageReserveLeftWidth double )") + c.reserve + R"(
program launch
app focus com.apple.TextEdit
key ctrl+opt+left
wait 1
defaults write WMGapSize double 1e308
menu pick "Preferences…"
ui show "Preferences"
)");
        EXPECT_EQ(status, DesktopConsole::exitOk) << out.str();
        EXPECT_NE(programLog().find(std::string("[UI] Computed rect for leftHalf: ") + c.rect), std::string::npos)
            << programLog();
        // The gaps of 1e308 stand at the slider's upper end; a reserve of -1e308 at its lower end.
        const std::string form = out.str().substr(out.str().find("> ui show"));
        EXPECT_NE(form.find("\"24 px\""), std::string::npos) << form;
        if (std::string(c.reserve) == "-1e308") {
            EXPECT_NE(form.find("\"0 px\""), std::string::npos) << form;
        }
        EXPECT_EQ(form.find("9223372036854775"), std::string::npos) << form;
        tilmora::ProgramHost::shared().reset();
    }
}

TEST_F(ProgramSettingsTest, TheOpenPreferencesFollowALanguageStoredElsewhere) {
    const int status = run(R"(desktop laptop
program launch
menu pick "Preferences…"
defaults write AppLanguage string de
wait 1
ui show "Preferences"
)");
    EXPECT_EQ(status, DesktopConsole::exitOk) << out.str();
    const std::string form = out.str().substr(out.str().find("> ui show"));
    EXPECT_NE(form.find("id=prefs.language value=\"Deutsch\""), std::string::npos) << form;
    EXPECT_NE(form.find("\"Einstellungen\""), std::string::npos) << form;
    EXPECT_NE(form.find("\"Sprache:\""), std::string::npos) << form;
}

} // namespace

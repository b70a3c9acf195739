#include "support/DesktopTest.hpp"

#include "platform/control/SimDesktop.hpp"
#include "platform/desktop/NSAppleScript.hpp"

#include <gtest/gtest.h>

using namespace platform;

namespace {

const std::string kFullScreenKeystroke =
    "tell application \"System Events\" to keystroke \"f\" using {control down, command down}";

/// Runs a script; the error number (0 on success).
int runScript(const std::string& source) {
    std::optional<CFDictionary> error;
    NSAppleScript::create(source)->executeAndReturnError(error);
    if (!error) return 0;
    return int(*lookup(*error, NSAppleScriptErrorNumber)->integerValue());
}

class FullScreenTest : public DesktopTest {
protected:
    void SetUp() override {
        DesktopTest::SetUp();
        desk().useLaptop();
    }

    /// Notes frontmost with one window, refusing full screen through Accessibility or not.
    std::uint32_t openNotes(bool refuses) {
        WindowSpec w = window("Doc", {100, 100, 600, 400});
        w.refusesFullScreen = refuses;
        notes = runFrontmost(notesApp(), {w});
        return desk().windowsOf(notes).at(0).number;
    }

    pid_t notes = 0;
};

} // namespace

TEST_F(FullScreenTest, AccessibilityFullScreenWriteFollowsTheWindowsSwitch) {
    // A refusing window stays as it is, and the write says it could not complete.
    for (const bool refuses : {false, true}) {
        SCOPED_TRACE(refuses ? "refusing" : "cooperative");
        const AXError result = refuses ? kAXErrorCannotComplete : kAXErrorSuccess;
        SimDesktop::clear();
        desk().useLaptop();
        const auto number = openNotes(refuses);
        EXPECT_EQ(AXUIElementSetAttributeValue(windowElement(notes, number), "AXFullScreen", CFValue(true)),
                  result);
        EXPECT_EQ(desk().windowState(number)->fullScreen, !refuses);
        const auto writes = desk().journal(JournalEntry::Kind::axWrite);
        ASSERT_EQ(writes.size(), 1u);
        EXPECT_EQ(writes[0].what, "AXFullScreen");
        EXPECT_EQ(writes[0].result, result);
    }
}

TEST_F(FullScreenTest, ControlCommandFTogglesTheFrontWindowEvenWhenAccessibilityIsRefused) {
    const auto number = openNotes(true);
    ASSERT_EQ(runScript(kFullScreenKeystroke), 0);
    EXPECT_TRUE(desk().windowState(number)->fullScreen);
    EXPECT_EQ(desk().windowState(number)->frame, (CGRect{0, 0, 1440, 900}));
    ASSERT_EQ(runScript(kFullScreenKeystroke), 0);
    EXPECT_FALSE(desk().windowState(number)->fullScreen);
    EXPECT_EQ(desk().windowState(number)->frame, (CGRect{100, 100, 600, 400}));

    const auto scripts = desk().journal(JournalEntry::Kind::script);
    ASSERT_EQ(scripts.size(), 2u);
    EXPECT_EQ(scripts[0].pid, notes);
    EXPECT_EQ(scripts[0].window, number);
    EXPECT_EQ(scripts[0].result, 0);
}

TEST_F(FullScreenTest, ControlCommandFNeedsAccessibilityTrust) {
    const auto number = openNotes(false);
    desk().setAccessibilityTrusted(false);
    EXPECT_EQ(runScript(kFullScreenKeystroke), 1002);
    EXPECT_FALSE(desk().windowState(number)->fullScreen);
}

#include "windows/AppleScriptRunner.hpp"

#include "platform/desktop/NSAppleScript.hpp"
#include "windows/SpacesMover.hpp"
#include "windows/SpacesTest.hpp"

#include <gtest/gtest.h>

namespace tilmora::WindowManager {
namespace {

using platform::JournalEntry;

const std::string kContext = "fallback after move failure";
const std::string kDesktop4Script =
    "tell application \"System Events\"\n    key code 21 using {control down}\nend tell";
const std::string kAutomationHint = "[WARN] Spaces(AppleScript) switch to Desktop 4 AppleScript error "
                                    "(-1743). Check Automation permissions / "
                                    "responsiveness for Terminal/System Events.";

class AppleScriptRunnerTest : public SpacesTest {
protected:
    void SetUp() override {
        SpacesTest::SetUp();
        verbose();
    }

    std::vector<std::string> scriptsRun() {
        std::vector<std::string> sources;
        for (const auto& e : desk().journal(JournalEntry::Kind::script))
            sources.push_back(e.what);
        return sources;
    }

    std::string prefix(const RestoreLogSession& session, const char* level) {
        return std::string("[") + level + "] [RESTORE][" + session.id() + "] ";
    }
};

TEST_F(AppleScriptRunnerTest, DesktopsOneToNineHaveTheirDigitKeys) {
    const std::optional<int> expected[] = {std::nullopt, 18, 19, 20, 21, 23, 22, 26, 28, 25, std::nullopt};
    for (int desktop = 0; desktop <= 10; ++desktop)
        EXPECT_EQ(desktopKeyCode(desktop), expected[desktop]) << desktop;
}

TEST_F(AppleScriptRunnerTest, SwitchingToTheFourthDesktopSendsControlAndItsDigit) {
    const std::uint64_t space = laptopSpaces()[3];
    RestoreLogSession session;
    const double start = sim().now();
    EXPECT_TRUE(appleScriptSwitchToSpace(space, spacesMover(), session, kContext));
    EXPECT_NEAR(sim().now() - start, 0.22, 1e-6);
    EXPECT_EQ(scriptsRun(), std::vector<std::string>{kDesktop4Script});
    EXPECT_EQ(desk().activeSpace(1), space);
    const std::string line = prefix(session, "SPACE") +
                             "Spaces(AppleScript) switched to Desktop 4 for Space " + std::to_string(space) +
                             ". " + kContext;
    EXPECT_EQ(logLines(), std::vector<std::string>{line});

    // Again in the same restore: the pause again, the line not.
    desk().switchToDesktop(1, 1);
    EXPECT_TRUE(appleScriptSwitchToSpace(space, spacesMover(), session, kContext));
    EXPECT_NEAR(sim().now() - start, 0.44, 1e-6);
    EXPECT_EQ(logLines(), std::vector<std::string>{line});
}

TEST_F(AppleScriptRunnerTest, ADesktopBeyondNineSendsNothing) {
    for (int i = 0; i < 6; ++i)
        desk().addSpace(1);
    const std::uint64_t tenth = laptopSpaces()[9];
    RestoreLogSession session;
    EXPECT_FALSE(appleScriptSwitchToSpace(tenth, spacesMover(), session, kContext));
    EXPECT_FALSE(appleScriptSwitchToSpace(tenth, spacesMover(), session, kContext));
    EXPECT_TRUE(scriptsRun().empty());
    EXPECT_EQ(logLines(), std::vector<std::string>{prefix(session, "WARN") +
                                                   "Spaces(AppleScript) no Desktop mapping for Space " +
                                                   std::to_string(tenth) + ". " + kContext});
}

TEST_F(AppleScriptRunnerTest, DeniedAutomationWarnsPerRunAndFailsOncePerRestore) {
    desk().setAutomationStatus(-1743);
    const std::uint64_t space = laptopSpaces()[3];
    RestoreLogSession session;
    const double start = sim().now();
    EXPECT_FALSE(appleScriptSwitchToSpace(space, spacesMover(), session, kContext));
    EXPECT_FALSE(appleScriptSwitchToSpace(space, spacesMover(), session, kContext));
    EXPECT_NEAR(sim().now() - start, 0.0, 1e-6) << "no pause after a failure";
    EXPECT_EQ(desk().activeSpace(1), laptopSpaces()[0]);
    EXPECT_EQ(logLines(),
              (std::vector<std::string>{
                  kAutomationHint,
                  prefix(session, "WARN") + "Spaces(AppleScript) switch failed (Desktop 4, Space " +
                      std::to_string(space) + "). Check Mission Control shortcuts + Automation permission. " +
                      kContext,
                  kAutomationHint,
              }));
}

TEST_F(AppleScriptRunnerTest, ScriptErrorsAreClassifiedByNumber) {
    struct Case {
        int number;
        bool hint;
    };
    const Case cases[] = {{-1743, true}, {-1712, true}, {-10000, true}, {-2753, false}, {1002, false}};
    for (const auto& c : cases) {
        const std::size_t before = logText().size();
        desk().queueScriptFailure(c.number, "Something went wrong.");
        EXPECT_FALSE(runAppleScript(kDesktop4Script, "Label")) << c.number;
        std::string written = logText().substr(before);
        // Take the time stamp off.
        ASSERT_GT(written.size(), 15u) << c.number;
        written = written.substr(15);
        if (c.hint) {
            EXPECT_EQ(written,
                      "[WARN] Label AppleScript error (" + std::to_string(c.number) +
                          "). Check Automation permissions / responsiveness for Terminal/System Events.\n");
        } else {
            const platform::CFDictionary error = {
                {platform::NSAppleScriptErrorNumber, platform::CFValue(std::int64_t(c.number))},
                {platform::NSAppleScriptErrorMessage, platform::CFValue("Something went wrong.")},
                {platform::NSAppleScriptErrorBriefMessage, platform::CFValue("Something went wrong.")}};
            EXPECT_EQ(written,
                      "[WARN] Label AppleScript error: " + platform::CFValue(error).description() + "\n");
        }
    }
    EXPECT_EQ(desk().activeSpace(1), laptopSpaces()[0]);
}

TEST_F(AppleScriptRunnerTest, AScriptThatCannotBeMadeFailsQuietly) {
    desk().setScriptCreationFails(true);
    EXPECT_FALSE(runAppleScript(kDesktop4Script, "Label"));
    EXPECT_TRUE(scriptsRun().empty());
    EXPECT_TRUE(logLines().empty());
}

TEST_F(AppleScriptRunnerTest, AWorkerWaitsForTheMainThreadToRunTheScript) {
    const std::uint64_t space = laptopSpaces()[1];
    RestoreLogSession session;
    auto [ok, seconds] =
        onWorker<bool>([&] { return appleScriptSwitchToSpace(space, spacesMover(), session, kContext); });
    EXPECT_TRUE(ok);
    EXPECT_NEAR(seconds, 0.22, 1e-6);
    EXPECT_EQ(desk().activeSpace(1), space);
    EXPECT_EQ(countContaining("switched to Desktop 2 for Space " + std::to_string(space)), 1);
}

} // namespace
} // namespace tilmora::WindowManager

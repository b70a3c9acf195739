#include "support/DesktopTest.hpp"

#include "platform/control/SimDesktop.hpp"
#include "platform/desktop/AppleEvents.hpp"
#include "platform/desktop/NSAppleScript.hpp"
#include "platform/desktop/NSWorkspace.hpp"
#include "platform/desktop/Process.hpp"
#include "platform/desktop/SMAppService.hpp"
#include "platform/desktop/SPUStandardUpdaterController.hpp"
#include "platform/foundation/Error.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/Folders.hpp"
#include "platform/foundation/PropertyListSerialization.hpp"

using namespace platform;

namespace {

const std::string kMoveScript =
    "tell application \"System Events\"\n  try\n    set position of front window of (first application "
    "process "
    "whose frontmost is true) to {100, 200}\n    set size of front window of (first application process "
    "whose "
    "frontmost is true) to {800, 600}\n    return true\n  on error\n    return false\n  end try\nend tell";

std::string menuScript(const std::string& process) {
    return "tell application \"System Events\"\n  tell process \"" + process +
           "\"\n    try\n      click menu item \"New Window\" of menu 1 of menu bar item \"File\" of menu "
           "bar 1\n"
           "      return true\n    on error\n      return false\n    end try\n  end tell\nend tell";
}

struct ScriptRun {
    std::optional<NSAppleEventDescriptor> result;
    std::optional<CFDictionary> error;
    int errorNumber() const {
        return error ? int(*lookup(*error, NSAppleScriptErrorNumber)->integerValue()) : 0;
    }
};

ScriptRun run(const std::string& source) {
    ScriptRun r;
    r.result = NSAppleScript::create(source)->executeAndReturnError(r.error);
    return r;
}

} // namespace

TEST_F(DesktopTest, ScriptEngineActsOnTheScriptsItKnows) {
    desk().useLaptop();
    AppSpec code = notesApp();
    code.bundleIdentifier = "com.microsoft.VSCode";
    code.localizedName = "Code";
    code.newWindow = TimedWindow{0.1, window("Untitled", {100, 100, 500, 400})};
    pid_t pid = runFrontmost(code, {window("Main", {0, 0, 400, 300})});
    std::uint32_t main = desk().windowsOf(pid).at(0).number;

    ScriptRun move = run(kMoveScript);
    EXPECT_EQ(move.errorNumber(), 0);
    EXPECT_TRUE(move.result->booleanValue());
    EXPECT_EQ(desk().windowState(main)->frame, (CGRect{100, 100, 800, 600}));

    EXPECT_TRUE(run(menuScript("Code")).result->booleanValue());
    EXPECT_FALSE(run(menuScript("Google Chrome")).result->booleanValue()) << "not running";
    EXPECT_EQ(run("tell application \"System Events\" to keystroke \"n\" using {command down}").errorNumber(),
              0);
    sim().runFor(0.2);
    EXPECT_EQ(axWindowCount(pid), 3u);

    ScriptRun names = run("tell application \"System Events\" to get name of every process");
    ASSERT_TRUE(names.result);
    EXPECT_EQ(names.result->value().asArray()->size(), 2u); // the program and Code

    WindowSpec fixed;
    fixed.positionSettable = false;
    desk().updateWindow(desk().windowsOf(pid).at(0).number, fixed); // the front window
    EXPECT_FALSE(run(kMoveScript).result->booleanValue()) << "the script's own try catches the refusal";
}

TEST_F(DesktopTest, ScriptsThatDriveAnotherApplicationNeedAccessibilityTrust) {
    struct Case {
        const char* name;
        std::string source;
        int errorNumber;
        bool result;
    };
    const std::vector<Case> cases = {
        {"move front window", kMoveScript, 0, false},
        {"menu click", menuScript("Code"), 0, false},
        {"keystroke", "tell application \"System Events\" to keystroke \"n\" using {command down}", 1002,
         false},
        {"key code", "tell application \"System Events\"\n    key code 19 using {control down}\nend tell",
         1002, false},
        {"process names", "tell application \"System Events\" to get name of every process", 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimDesktop::clear();
        DisplaySpec d;
        d.frame = {0, 0, 1440, 900};
        d.spaces = 2;
        desk().addDisplay(d);
        AppSpec code = notesApp();
        code.localizedName = "Code";
        code.newWindow = TimedWindow{0, window("Untitled", {100, 100, 500, 400})};
        pid_t pid = runFrontmost(code, {window("Main", {0, 0, 400, 300})});
        const CGRect before = desk().windowsOf(pid).at(0).frame;
        desk().setAccessibilityTrusted(false);

        ScriptRun r = run(c.source);
        EXPECT_EQ(r.errorNumber(), c.errorNumber);
        if (c.errorNumber == 0) {
            ASSERT_TRUE(r.result);
            EXPECT_EQ(r.result->booleanValue(), c.result);
        }
        sim().runFor(0.1);
        EXPECT_EQ(desk().windowsOf(pid).size(), 1u) << "no window was opened";
        EXPECT_EQ(desk().windowsOf(pid).at(0).frame, before) << "no window was moved";
        EXPECT_EQ(desk().activeSpace(1), desk().spaces(1)[0]) << "no Desktop was switched";
    }
}

TEST_F(DesktopTest, ScriptFailuresCarryTheirErrorNumbers) {
    struct Case {
        const char* name;
        std::function<void()> arrange;
        std::string source;
        int expected;
    };
    const std::string keyCode =
        "tell application \"System Events\"\n    key code 18 using {control down}\nend tell";
    const std::vector<Case> cases = {
        {"automation denied", [] { SimDesktop::shared().setAutomationStatus(errAEEventNotPermitted); },
         keyCode, -1743},
        {"prompt answered no",
         [] {
             SimDesktop::shared().setAutomationStatus(errAEEventWouldRequireUserConsent);
             SimDesktop::shared().setAutomationPromptGrants(false);
         },
         keyCode, -1743},
        {"prompt answered yes",
         [] { SimDesktop::shared().setAutomationStatus(errAEEventWouldRequireUserConsent); }, keyCode, 0},
        {"time-out", [] { SimDesktop::shared().queueScriptFailure(-1712, "AppleEvent timed out."); }, keyCode,
         -1712},
        {"unknown script", [] {}, "tell application \"Finder\" to quit", -2741},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimDesktop::clear();
        c.arrange();
        ScriptRun r = run(c.source);
        EXPECT_EQ(r.errorNumber(), c.expected);
        EXPECT_EQ(bool(r.result), c.expected == 0);
        EXPECT_EQ(desk().journal(JournalEntry::Kind::script).back().result, c.expected);
    }
    SimDesktop::clear();
    desk().setScriptCreationFails(true);
    EXPECT_FALSE(NSAppleScript::create("tell application \"System Events\" to get name of every process"));
}

TEST_F(DesktopTest, AutomationPermissionAsksOnceWhenAllowedTo) {
    desk().setAutomationStatus(errAEEventWouldRequireUserConsent);
    EXPECT_EQ(AEDeterminePermissionToAutomateTarget("com.apple.systemevents", false),
              errAEEventWouldRequireUserConsent);
    EXPECT_EQ(desk().automationPrompts(), 0);
    EXPECT_EQ(AEDeterminePermissionToAutomateTarget("com.apple.systemevents", true), 0);
    EXPECT_EQ(AEDeterminePermissionToAutomateTarget("com.apple.systemevents", true), 0);
    EXPECT_EQ(desk().automationPrompts(), 1);
    EXPECT_EQ(AEDeterminePermissionToAutomateTarget("com.example.other", true), procNotFound);
}

TEST_F(DesktopTest, ProcessRunsAnswerLikeTheirTools) {
    struct Case {
        std::string executable;
        std::vector<std::string> args;
        int status;
        std::string errContains;
        std::string outContains;
    };
    // launchctl reads the property list, so the agent's file exists with its own label.
    const auto agents = *platform::Folders::home() / "Library/LaunchAgents";
    platform::FileSystem::createDirectories(agents);
    const std::string plist = (agents / "com.quorvane.Tilmora.launchagent.plist").string();
    platform::FileSystem::writeFile(
        plist, platform::PropertyListSerialization::dataFromPropertyList(
                   platform::PropertyDictionary{{"Label", "com.quorvane.Tilmora.launchagent"}}));
    const std::string target = "gui/501/com.quorvane.Tilmora.launchagent";
    const std::vector<Case> cases = {
        {"/bin/launchctl", {"print", target}, 113, "Could not find service", ""},
        {"/bin/launchctl", {"bootstrap", "gui/501", plist}, 0, "", ""},
        {"/bin/launchctl", {"bootstrap", "gui/501", plist}, 5, "Service already loaded", ""},
        {"/bin/launchctl", {"print", target}, 0, "", target},
        {"/bin/launchctl", {"enable", target}, 0, "", ""},
        {"/bin/launchctl", {"bootout", "gui/501", plist}, 0, "", ""},
        {"/bin/launchctl", {"bootout", "gui/501", plist}, 3, "No such process", ""},
        {"/usr/bin/open", {"-n", "-b", "com.example.unknown"}, 1, "com.example.unknown", ""},
        {"/usr/bin/open", {"-n", "-b", "com.example.notes"}, 0, "", ""},
        {"/usr/bin/open", {"-n", "-b", "com.example.notes"}, 0, "", ""},
    };
    desk().install(notesApp());
    for (const auto& c : cases) {
        Process p;
        p.executablePath = c.executable;
        p.arguments = c.args;
        p.run();
        p.waitUntilExit();
        SCOPED_TRACE(c.args[0] + " " + c.args[1]);
        EXPECT_EQ(p.terminationStatus(), c.status);
        EXPECT_NE(p.standardError().find(c.errContains), std::string::npos) << p.standardError();
        EXPECT_NE(p.standardOutput().find(c.outContains), std::string::npos);
    }
    sim().runFor(1.0);
    EXPECT_EQ(NSRunningApplication::runningApplications("com.example.notes").size(), 2u)
        << "-n starts new instances";
    auto runs = desk().journal(JournalEntry::Kind::process);
    ASSERT_EQ(runs.size(), cases.size());
    EXPECT_EQ(runs.back().argv, (std::vector<std::string>{"/usr/bin/open", "-n", "-b", "com.example.notes"}));

    desk().queueLaunchctlResult("print", 0, "label", "");
    Process queued;
    queued.executablePath = "/bin/launchctl";
    queued.arguments = {"print", target};
    queued.run();
    EXPECT_EQ(queued.standardOutput(), "label");

    desk().setExecutableMissing("/bin/launchctl", true);
    Process missing;
    missing.executablePath = "/bin/launchctl";
    EXPECT_THROW(missing.run(), platform::Error);
    Process unknown;
    unknown.executablePath = "/bin/sh";
    EXPECT_THROW(unknown.run(), platform::Error);
}

TEST_F(DesktopTest, LoginItemRegistrationFollowsTheConfiguredOutcome) {
    SMAppService& service = SMAppService::mainApp();
    EXPECT_EQ(service.status(), SMAppService::Status::notRegistered);
    desk().setLoginItemRegisterOutcome(int(SMAppService::Status::requiresApproval));
    service.registerService();
    EXPECT_EQ(service.status(), SMAppService::Status::requiresApproval);
    desk().setLoginItemUnregisterError(std::string("Operation not permitted"));
    EXPECT_THROW(service.unregister(), platform::Error);
    EXPECT_EQ(service.status(), SMAppService::Status::requiresApproval);
    desk().setLoginItemRegisterOutcome(1, std::string("Invalid code signature"));
    EXPECT_THROW(service.registerService(), platform::Error);
    EXPECT_EQ(desk().journal(JournalEntry::Kind::loginItem).size(), 3u);
}

TEST_F(DesktopTest, EveryUpdateCycleFinishes) {
    struct Delegate : SPUUpdaterDelegate {
        std::vector<std::string> calls;
        void updaterDidNotFindUpdate(SPUUpdater&) override { calls.push_back("none"); }
        void updaterDidAbortWithError(SPUUpdater&, const Error&) override { calls.push_back("abort"); }
        void updaterDidFindValidUpdate(SPUUpdater&, const std::string&) override { calls.push_back("found"); }
        void updaterDidFinishUpdateCycle(SPUUpdater&, const std::optional<Error>& e) override {
            calls.push_back(e ? "finish with error" : "finish");
        }
    };
    const std::vector<std::pair<int, std::vector<std::string>>> cases = {
        {0, {"none", "finish"}}, {1, {"found", "finish"}}, {2, {"abort", "finish with error"}}};
    for (const auto& [outcome, expected] : cases) {
        SimDesktop::clear();
        desk().setUpdateCycleOutcome(outcome, 0.3);
        Delegate delegate;
        SPUStandardUpdaterController controller(false, &delegate);
        controller.updater().automaticallyChecksForUpdates = true;
        controller.startUpdater();
        controller.updater().checkForUpdatesInBackground();
        sim().runFor(0.2);
        EXPECT_TRUE(delegate.calls.empty());
        sim().runFor(0.2);
        EXPECT_EQ(delegate.calls, expected);
    }
    Delegate gone;
    {
        SPUStandardUpdaterController controller(true, &gone);
        controller.updater().checkForUpdatesInBackground();
    }
    sim().runFor(1.0);
    EXPECT_TRUE(gone.calls.empty()) << "a cycle of a released controller calls nothing";
}

#include "ShellFixture.hpp"
#include "support/ShellAccess.hpp"

#include "platform/control/FileSystemControl.hpp"
#include "platform/control/SimInput.hpp"
#include "platform/foundation/Folders.hpp"
#include "snapping/RoriDeru.hpp"

#include <gtest/gtest.h>

namespace tilmora {
namespace {

using platform::ui::AlertResponse;
using platform::ui::UISimulator;

class ShellServicesTest : public ShellTest {
protected:
    std::filesystem::path documents() { return *platform::Folders::documents(); }
    void touch(const std::filesystem::path& file, std::optional<double> modified, std::optional<double> created = {}) {
        platform::FileSystem::createDirectories(file.parent_path());
        platform::FileSystem::writeFile(file, "log");
        platform::FileSystemControl::setDates(file, modified ? std::optional(platform::Date{*modified}) : std::nullopt,
                                              created ? std::optional(platform::Date{*created}) : std::nullopt);
    }
    bool exists(const std::filesystem::path& file) { return platform::FileSystem::fileExists(file); }
};

TEST_F(ShellServicesTest, AccessibilityRefusalIsExplainedAndSettingsOpenOnlyOnRequest) {
    desk().setAccessibilityTrusted(false);
    platform::BundleControl::setInfoDictionary(platform::PropertyDictionary{{"CFBundleName", 7}});
    struct Case {
        AlertResponse answer;
        std::vector<std::string> opened;
    };
    const std::vector<Case> cases = {
        {AlertResponse::pressTitled("Later"), {}},
        {AlertResponse::press(0), {"x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility"}},
    };
    makeShell();
    for (const auto& c : cases) {
        desk().clearJournal();
        UISimulator::scriptAlertResponse(c.answer);
        tilmora::testing::ShellAccess::checkAccessibilityAndExplain(shell());
        EXPECT_EQ(openedURLs(), c.opened);
    }
    EXPECT_TRUE(printed("Accessibility permissions NOT granted. Prompting user...\n"));
    const auto& alert = UISimulator::alertLog().back();
    EXPECT_EQ(alert.messageText, "Accessibility Access Required");
    EXPECT_EQ(alert.informativeText.rfind("This app needs", 0), 0u) << alert.informativeText;
    EXPECT_EQ(alert.buttonTitles, (std::vector<std::string>{"Open System Settings", "Later"}));
}

TEST_F(ShellServicesTest, SystemEventsPermissionByStatus) {
    struct Case {
        int status;
        bool scriptFails;
        bool scriptCannotBeCreated;
        std::vector<std::string> lines;
        bool alert;
    };
    const std::vector<Case> cases = {
        {0, false, false, {"System Events permission: Granted."}, false},
        {-1743, true, false,
         {"System Events permission: Not permitted. Will attempt to request.",
          "Error executing AppleScript for System Events permission (or permission denied): "},
         true},
        // Not yet asked: the system prompt grants it, so the check answers granted.
        {-1744, false, false, {"System Events permission: Granted."}, false},
        {-1743, false, true,
         {"System Events permission: Not permitted. Will attempt to request.",
          "Failed to create AppleScript for requesting System Events permission."},
         false},
    };
    makeShell();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        output.clear();
        desk().clearJournal();
        desk().setAutomationStatus(c.status);
        desk().setAutomationPromptGrants(!c.scriptFails);
        desk().setScriptCreationFails(c.scriptCannotBeCreated);
        const auto alertsBefore = UISimulator::alertLog().size();
        shell().requestSystemEventsPermission();
        EXPECT_EQ(UISimulator::alertLog().size(), alertsBefore) << "the alert waits for the main queue";
        sim().runFor(0.1);
        const auto lines = outputLines();
        // The script's error dictionary prints over several lines.
        ASSERT_EQ(c.alert ? std::min(lines.size(), c.lines.size()) : lines.size(), c.lines.size()) << output;
        for (std::size_t i = 0; i < c.lines.size(); ++i) EXPECT_EQ(lines[i].rfind(c.lines[i], 0), 0u) << lines[i];
        EXPECT_EQ(UISimulator::alertLog().size(), alertsBefore + (c.alert ? 1 : 0));
        if (c.alert) {
            EXPECT_EQ(UISimulator::alertLog().back().messageText, "Automation Permission Required");
        }
        if (c.status == 0) {
            EXPECT_TRUE(desk().journal(platform::JournalEntry::Kind::script).empty());
        }
    }
}

TEST_F(ShellServicesTest, LaunchPrunesOldLogsAndClearsTheCurrentOne) {
    const auto txt = documents() / "txt";
    for (int i = 0; i < 33; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "tilmora_log_%02d.txt", i);
        touch(txt / name, 1000.0 + i);
    }
    touch(txt / "tilmora_log_undated.txt", std::nullopt);
    touch(txt / "TILMORA_LOG_X.LOG", std::nullopt, 500.0);  // a candidate: case does not matter
    touch(txt / "tilmora_log.md", 1.0);                       // not a candidate
    touch(txt / "tilmora.txt", 1.0);                          // not a candidate
    touch(documents() / "Tilmora_log.txt", 1.0);              // never pruned, cleared after
    makeShell().clearLogFile();
    std::vector<std::string> gone;
    for (const char* name : {"tilmora_log_undated.txt", "TILMORA_LOG_X.LOG", "tilmora_log_00.txt", "tilmora_log_01.txt",
                             "tilmora_log_02.txt"}) {
        EXPECT_FALSE(exists(txt / name)) << name;
    }
    for (const char* name : {"tilmora_log_03.txt", "tilmora_log_32.txt", "tilmora_log.md", "tilmora.txt"}) {
        EXPECT_TRUE(exists(txt / name)) << name;
    }
    EXPECT_FALSE(exists(documents() / "Tilmora_log.txt"));
    EXPECT_EQ(outputLines(), (std::vector<std::string>{"Pruned legacy TLM logs in txt: removed 5, kept 30",
                                                       "Log file cleared."}));
}

TEST_F(ShellServicesTest, PruningSurvivesListingAndRemovalFailures) {
    const auto txt = documents() / "txt";
    for (int i = 0; i < 32; ++i) touch(txt / ("tilmora_log_" + std::to_string(100 + i) + ".txt"), 1000.0 + i);
    platform::FileSystemControl::setRemovalError(txt / "tilmora_log_100.txt", "busy");
    makeShell().pruneTLMLogFiles(txt, 30, {});
    EXPECT_EQ(outputLines(), (std::vector<std::string>{"Failed to remove legacy log tilmora_log_100.txt: busy",
                                                       "Pruned legacy TLM logs in txt: removed 1, kept 30"}));
    output.clear();
    platform::FileSystemControl::setListingError(txt, "denied");
    shell().pruneTLMLogFiles(txt, 1, {});
    EXPECT_EQ(outputLines(), (std::vector<std::string>{"Failed to enumerate legacy logs in " + txt.string() + ": denied"}));
    output.clear();
    shell().pruneTLMLogFiles(documents() / "missing", 0, {});
    EXPECT_TRUE(output.empty());
}

TEST_F(ShellServicesTest, FoldersWhereLogsAndTheLaunchAgentGoAreNeverDeleted) {
    const auto txt = documents() / "txt";
    for (int i = 0; i < 31; ++i) touch(txt / ("tilmora_log_" + std::to_string(100 + i) + ".txt"), 1000.0 + i);
    touch(txt / "tilmora_log_old.txt" / "mine.txt", 1.0); // a folder named like the oldest log
    platform::FileSystemControl::setDates(txt / "tilmora_log_old.txt", platform::Date{1.0}, std::nullopt);
    touch(documents() / "Tilmora_log.txt" / "notes.txt", 1.0);
    AppDelegate& s = makeShell();
    s.clearLogFile();
    EXPECT_TRUE(exists(txt / "tilmora_log_old.txt" / "mine.txt"));
    EXPECT_FALSE(exists(txt / "tilmora_log_100.txt"));
    EXPECT_TRUE(exists(documents() / "Tilmora_log.txt" / "notes.txt"));
    EXPECT_EQ(outputLines(), (std::vector<std::string>{
                                 "Pruned legacy TLM logs in txt: removed 1, kept 30",
                                 "Error clearing log file: could not remove \"" +
                                     (documents() / "Tilmora_log.txt").string() + "\": Is a directory"}));

    const auto plist = s.launchAgentPlistURL();
    touch(plist / "keep.txt", 1.0);
    platform::SimInput::shared().setOperatingSystemVersion({12, 6, 0});
    EXPECT_FALSE(s.setLaunchAtLogin(true));
    EXPECT_TRUE(printed("[LaunchAtLogin] Failed writing plist: "));
    s.setLaunchAtLogin(false);
    platform::SimInput::shared().setOperatingSystemVersion({15, 3, 0});
    s.migrateLaunchAtLoginIfNeeded();
    EXPECT_TRUE(exists(plist / "keep.txt"));
}

TEST_F(ShellServicesTest, QuitAndTerminationStopSnapping) {
    makeShell();
    RoriDeru& grid = RoriDeru::shared();
    grid.setSnappingEnabled(true);
    grid.startMonitoringIfNeeded();
    shell().quitApp();
    EXPECT_FALSE(grid.isSnappingEnabled());
    EXPECT_FALSE(grid.isMonitoring());
    EXPECT_TRUE(platform::ui::Application::shared().isTerminated());
}

TEST_F(ShellServicesTest, TerminationAloneRunsTheCleanUpOnce) {
    makeShell();
    RoriDeru& grid = RoriDeru::shared();
    grid.setSnappingEnabled(true);
    grid.startMonitoringIfNeeded();
    platform::ui::Application::shared().terminate(nullptr);
    EXPECT_FALSE(grid.isSnappingEnabled());
    EXPECT_FALSE(grid.isMonitoring());
}

TEST_F(ShellServicesTest, ADefaultsChangeJustBeforeTerminationIsOnDisk) {
    makeShell();
    auto& defaults = platform::UserDefaults::standard();
    defaults.set(std::int64_t{1}, "WMFirstChange");  // written at once
    defaults.set(std::int64_t{2}, "WMLastChange");   // within the second: its save waits
    const auto onDisk = [&] { return platform::FileSystem::readFile(defaults.storagePath()); };
    ASSERT_EQ(onDisk().find("WMLastChange"), std::string::npos);
    platform::ui::Application::shared().terminate(nullptr);
    EXPECT_NE(onDisk().find("WMLastChange"), std::string::npos);
}

TEST_F(ShellServicesTest, HelpOpensOnePanelAndStampsEachCall) {
    int made = 0;
    ShellHooks hooks;
    hooks.makeHelpPanel = [&] {
        ++made;
        auto panel = std::make_shared<platform::ui::Window>(platform::CGRect{{0, 0}, {400, 300}}, platform::ui::StyleMask::titled);
        return std::make_shared<platform::ui::WindowController>(panel);
    };
    ShellHooks::install(hooks);
    makeShell().openHelp(nullptr);
    sim().runFor(1.5);
    shell().openHelp(nullptr);
    EXPECT_EQ(made, 1);
    const auto lines = outputLines();
    ASSERT_EQ(lines.size(), 5u);
    const std::vector<std::string> tails = {"] [UI] Help menu item selected", "] [UI] Creating Help panel controller\u2026",
                                            "] [UI] Help panel created and shown", "] [UI] Help menu item selected",
                                            "] [UI] Help panel brought to front"};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_NE(lines[i].find(tails[i]), std::string::npos) << lines[i];
    }
    EXPECT_EQ(lines[0].substr(0, 14), lines[2].substr(0, 14)) << "one stamp per call";
    EXPECT_NE(lines[0].substr(0, 14), lines[3].substr(0, 14));
    EXPECT_TRUE(shell().helpWindowController()->window()->isVisible());
}

TEST_F(ShellServicesTest, DiagnosticsReportShowsThenLogs) {
    struct Case {
        AppDelegate::DiagnosticsResult result;
        std::string title;
        std::string text;
        std::vector<std::string> logged;
    };
    const std::vector<Case> cases = {
        {{23, 2, {"FAIL: A", "FAIL: B"}}, "Diagnostics Completed with Failures",
         "Passed: 23\nFailed: 2\nFAIL: A\nFAIL: B",
         {"[Diagnostics] Summary \u2014 Passed: 23, Failed: 2", "[Diagnostics] Details:",
          "Passed: 23", "Failed: 2", "FAIL: A", "FAIL: B"}},
        {{25, 0, {}}, "Diagnostics Passed", "Passed: 25\nFailed: 0", {"[Diagnostics] Summary \u2014 Passed: 25, Failed: 0"}},
    };
    makeShell();
    for (const auto& c : cases) {
        output.clear();
        std::size_t logLinesBeforeAlert = 99;
        UISimulator::setAlertResponder([&](const platform::ui::Alert&) {
            logLinesBeforeAlert = outputLines().size();
            return AlertResponse::press(0);
        });
        tilmora::testing::ShellAccess::presentDiagnosticsResult(shell(), c.result);
        EXPECT_EQ(logLinesBeforeAlert, 0u);
        const auto& alert = UISimulator::alertLog().back();
        EXPECT_EQ(alert.messageText, c.title);
        EXPECT_EQ(alert.informativeText, c.text);
        EXPECT_EQ(alert.buttonTitles, (std::vector<std::string>{"OK"}));
        EXPECT_EQ(outputLines(), c.logged);
    }
}

} // namespace
} // namespace tilmora

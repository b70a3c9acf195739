#include "ShellFixture.hpp"

#include "model/Settings.hpp"

#include "platform/control/SimInput.hpp"
#include "platform/desktop/SMAppService.hpp"
#include "platform/foundation/Folders.hpp"
#include "platform/foundation/PropertyListSerialization.hpp"
#include "platform/ui/MenuItem.hpp"

#include <gtest/gtest.h>

namespace tilmora {
namespace {

class LaunchAtLoginTest : public ShellTest {
protected:
    void useSystem(int major, int minor) { platform::SimInput::shared().setOperatingSystemVersion({major, minor, 0}); }
    std::vector<std::vector<std::string>> launchctlRuns() {
        std::vector<std::vector<std::string>> runs;
        for (const auto& entry : desk().journal(platform::JournalEntry::Kind::process)) {
            if (!entry.argv.empty() && entry.argv[0] == "/bin/launchctl") {
                runs.emplace_back(entry.argv.begin() + 1, entry.argv.end());
            }
        }
        return runs;
    }
    int status() { return static_cast<int>(platform::SMAppService::mainApp().status()); }
};

TEST_F(LaunchAtLoginTest, OlderSystemWritesTheAgentAndBootstrapsIt) {
    useSystem(12, 6);
    platform::BundleControl::setBundlePath(std::filesystem::path("/Applications/Tilmora.app"));
    AppDelegate& shell = makeShell();
    EXPECT_EQ(shell.launchAgentLabel(), "com.til-mora.app.launchagent");
    const auto plist = *platform::Folders::home() / "Library/LaunchAgents/com.til-mora.app.launchagent.plist";
    EXPECT_EQ(shell.launchAgentPlistURL(), plist);
    EXPECT_FALSE(shell.isLaunchAtStartupEnabled());
    EXPECT_TRUE(launchctlRuns().empty()) << "no file: no query";

    EXPECT_TRUE(shell.setLaunchAtLogin(true));
    const auto written = platform::PropertyListSerialization::propertyListFromData(platform::FileSystem::readFile(plist));
    EXPECT_EQ(written, platform::PropertyValue(platform::PropertyDictionary{
                           {"Label", "com.til-mora.app.launchagent"},
                           {"RunAtLoad", true},
                           {"ProcessType", "Interactive"},
                           {"ProgramArguments", platform::PropertyArray{"/usr/bin/open", "-a", "/Applications/Tilmora.app"}}}));
    EXPECT_EQ(launchctlRuns(), (std::vector<std::vector<std::string>>{{"bootstrap", "gui/501", plist.string()}}));
    EXPECT_TRUE(desk().launchctlServiceLoaded("gui/501/com.til-mora.app.launchagent"));
    EXPECT_TRUE(shell.isLaunchAtStartupEnabled());
}

TEST_F(LaunchAtLoginTest, OlderSystemBootstrapFailures) {
    struct Case {
        std::string err;
        bool success;
        std::string printedLine;
        int enables;
    };
    const std::vector<Case> cases = {
        {"Bootstrap failed: 5: Input/output error\nService already loaded\n", true, "", 0},
        {"boom", false, "[LaunchAtLogin] bootstrap failed (code=5): boom", 1},
    };
    useSystem(12, 6);
    makeShell();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.err);
        output.clear();
        desk().clearJournal();
        desk().queueLaunchctlResult("bootstrap", 5, "", c.err);
        desk().queueLaunchctlResult("print", 113, "", "Could not find service");
        EXPECT_EQ(shell().setLaunchAtLogin(true), c.success);
        int enables = 0;
        for (const auto& run : launchctlRuns()) enables += run[0] == "enable" ? 1 : 0;
        EXPECT_EQ(enables, c.enables);
        EXPECT_EQ(printed(c.printedLine), true);
        if (c.printedLine.empty()) {
            EXPECT_TRUE(output.empty());
        }
    }
}

TEST_F(LaunchAtLoginTest, OlderSystemQueryReadsTheToolsText) {
    struct Case {
        int status;
        std::string out;
        std::string err;
        bool on;
    };
    const std::vector<Case> cases = {
        {0, "", "", true},
        {1, "com.til-mora.app.launchagent", "", true},
        {1, "com.til-mora.app.launchagent", "could not find", false},
        {1, "com.til-mora.app.launchagent", "No such process", false},
        {1, "other", "", false},
    };
    useSystem(12, 6);
    makeShell();
    platform::FileSystem::createDirectories(shell().launchAgentPlistURL().parent_path());
    platform::FileSystem::writeFile(shell().launchAgentPlistURL(), "x");
    for (const auto& c : cases) {
        desk().queueLaunchctlResult("print", c.status, c.out, c.err);
        EXPECT_EQ(shell().isLaunchAtStartupEnabled(), c.on) << c.out << " / " << c.err;
    }
}

TEST_F(LaunchAtLoginTest, ModernToggleFollowsTheService) {
    struct Case {
        int statusBefore;
        int registerStatusAfter;
        std::optional<std::string> registerError;
        int statusAfter;
        bool stored;
        std::optional<std::string> alert;
        std::string printedLine;
    };
    const std::vector<Case> cases = {
        {2, 1, {}, 0, false, {}, ""},
        {0, 1, {}, 1, true, {}, ""},
        {0, 2, {}, 2, true, "The app was added to your login items, but macOS needs your approval.", ""},
        {0, 1, "refused", 0, false, "The login item could not be changed.", "[LaunchAtLogin] SMAppService error: refused"},
    };
    useSystem(15, 3);
    makeShell();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.statusBefore);
        output.clear();
        desk().setLoginItemStatus(c.statusBefore);
        desk().setLoginItemRegisterOutcome(c.registerStatusAfter, c.registerError);
        const auto alertsBefore = platform::ui::UISimulator::alertLog().size();
        auto item = std::make_shared<platform::ui::MenuItem>();
        shell().toggleLaunchAtStartup(item.get());
        EXPECT_EQ(status(), c.statusAfter);
        EXPECT_EQ(defaults().boolForKey(settings::launchAtLogin.key), c.stored);
        EXPECT_EQ(item->state, c.stored ? 1 : 0);
        if (c.alert) {
            ASSERT_EQ(platform::ui::UISimulator::alertLog().size(), alertsBefore + 1);
            EXPECT_EQ(platform::ui::UISimulator::alertLog().back().messageText.rfind(*c.alert, 0), 0u);
        } else {
            EXPECT_EQ(platform::ui::UISimulator::alertLog().size(), alertsBefore);
        }
        EXPECT_TRUE(printed(c.printedLine));
    }
}

TEST_F(LaunchAtLoginTest, ModernMigrationRemovesTheAgentAndFollowsTheWish) {
    useSystem(15, 3);
    makeShell();
    platform::FileSystem::createDirectories(shell().launchAgentPlistURL().parent_path());
    platform::FileSystem::writeFile(shell().launchAgentPlistURL(), "x");
    defaults().set(platform::PropertyValue(false), settings::launchAtLogin.key);
    desk().setLoginItemStatus(0);
    shell().migrateLaunchAtLoginIfNeeded();
    EXPECT_FALSE(platform::FileSystem::fileExists(shell().launchAgentPlistURL()));
    EXPECT_EQ(status(), 0);
    defaults().set(platform::PropertyValue(true), settings::launchAtLogin.key);
    desk().setLoginItemStatus(2);
    desk().setLoginItemRegisterOutcome(1);
    shell().migrateLaunchAtLoginIfNeeded();
    EXPECT_EQ(status(), 1) << "a pending approval registers again";
}

} // namespace
} // namespace tilmora

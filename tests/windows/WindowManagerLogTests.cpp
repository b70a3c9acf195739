#include "windows/RestoreLogSession.hpp"

#include "model/Settings.hpp"
#include "windows/WindowManager.hpp"

#include "platform/control/SharedInstances.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "windows/WindowAccessTest.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <regex>
#include <string>
#include <vector>

namespace tilmora::WindowManager {
namespace {

using platform::CGRect;
using platform::UserDefaults;

class WindowManagerLogTest : public WindowAccessTest {};

TEST_F(WindowManagerLogTest, TheSwitchFollowsTheSettingOnlyWhenApplied) {
    struct Case {
        const char* name;
        std::optional<platform::PropertyValue> registered;
        std::optional<platform::PropertyValue> stored;
        bool expected;
    };
    const Case cases[] = {
        {"nothing stored", std::nullopt, std::nullopt, false},
        {"registered true", true, std::nullopt, true},
        {"stored false over registered true", true, false, false},
        {"stored text YES", std::nullopt, "YES", true},
        {"stored zero", std::nullopt, 0, false},
    };
    for (const auto& c : cases) {
        platform::SharedInstances::resetAll();
        UserDefaults::standard().removeObjectForKey(settings::verboseLogging.key);
        if (c.registered)
            UserDefaults::standard().registerDefaults({{settings::verboseLogging.key, *c.registered}});
        if (c.stored) UserDefaults::standard().set(*c.stored, settings::verboseLogging.key);
        setVerboseLogging(!c.expected);
        applyRuntimePrefs();
        EXPECT_EQ(verboseLogging(), c.expected) << c.name;
    }
}

TEST_F(WindowManagerLogTest, NoLineUntilThePreferenceIsApplied) {
    UserDefaults::standard().registerDefaults({{settings::verboseLogging.key, true}});
    EXPECT_FALSE(verboseLogging());
    logLine("WARN", "early");
    RestoreLogSession session;
    session.logOnce("k", "hi", "SPACE");
    EXPECT_TRUE(logLines().empty());

    applyRuntimePrefs();
    session.logOnce("k", "hi", "SPACE");
    EXPECT_TRUE(logLines().empty()) << "the key was used while the switch was off";
}

TEST_F(WindowManagerLogTest, SessionLinesCarryTheTimeTheLevelAndTheSessionId) {
    verbose();
    sim().runFor(1.25);
    RestoreLogSession session;
    ASSERT_EQ(session.id().size(), 8u);
    EXPECT_TRUE(std::regex_match(session.id(), std::regex("[0-9A-F]{8}")));
    EXPECT_NE(RestoreLogSession().id(), session.id());

    session.logOnce("k", "hi", "SPACE");
    session.logOnce("k", "again", "SPACE");
    session.logOnce("other", "there", "WARN");
    session.log("plain", "INFO");
    logLine("ERROR", "outside");

    const auto path = logFilePath();
    ASSERT_TRUE(path);
    std::ifstream file(*path);
    std::vector<std::string> raw;
    for (std::string line; std::getline(file, line);)
        raw.push_back(line);
    const std::string stamp = "[" + platform::Text::timeOfDay(platform::Date::now()) + "] ";
    EXPECT_EQ(raw, (std::vector<std::string>{
                       stamp + "[SPACE] [RESTORE][" + session.id() + "] hi",
                       stamp + "[WARN] [RESTORE][" + session.id() + "] there",
                       stamp + "[INFO] [RESTORE][" + session.id() + "] plain",
                       stamp + "[ERROR] outside",
                   }));
}

TEST_F(WindowManagerLogTest, TheScreenForARectangleIsTheLargestVisibleOverlap) {
    desk().useLaptopWithExternal();
    struct Case {
        const char* name;
        CGRect rect;
        std::optional<std::string> screen;
    };
    const Case cases[] = {
        {"off every screen", {-3000, -3000, 100, 100}, std::nullopt},
        {"in the laptop's menu bar only", {100, 880, 200, 20}, std::nullopt},
        {"mostly on the external", {1200, 100, 800, 600}, "DELL U2720Q"},
        {"mostly on the laptop", {900, 100, 800, 600}, "Built-in Retina Display"},
        {"equal halves: the first screen", {1040, 100, 800, 600}, "Built-in Retina Display"},
    };
    for (const auto& c : cases) {
        const auto screen = screenForRect(c.rect);
        EXPECT_EQ(screen ? std::optional<std::string>(screen->localizedName()) : std::nullopt, c.screen)
            << c.name;
    }
    desk().removeDisplay(1);
    desk().removeDisplay(2);
    sim().runFor(5);
    EXPECT_EQ(screenForRect({0, 0, 100, 100}), std::nullopt);
}

} // namespace
} // namespace tilmora::WindowManager

#include "windows/WindowManager.hpp"

#include "model/Log.hpp"
#include "model/Settings.hpp"
#include "platform/desktop/LargestOverlap.hpp"
#include "platform/foundation/Date.hpp"
#include "platform/foundation/SharedInstance.hpp"
#include "platform/foundation/UserDefaults.hpp"

#include <atomic>
#include <string>

namespace tilmora::WindowManager {

namespace {

/// The verbose switch, held as a shared instance so that a test fixture's reset turns it off.
struct LogSwitch {
    std::atomic<bool> verbose{false};
    static LogSwitch& shared() { return platform::SharedInstance<LogSwitch>::get(); }
};

} // namespace

bool verboseLogging() {
    return LogSwitch::shared().verbose.load();
}

void setVerboseLogging(bool on) {
    LogSwitch::shared().verbose.store(on);
}

void applyRuntimePrefs() {
    setVerboseLogging(platform::UserDefaults::standard().boolForKey(settings::verboseLogging.key));
}

void logLine(std::string_view level, std::string_view message) {
    if (!verboseLogging()) return;
    std::string line = "[" + timeFormatter(platform::Date::now()) + "] [";
    line.append(level);
    line += "] ";
    line.append(message);
    print(line);
}

std::optional<platform::NSScreen> screenForRect(const platform::CGRect& rect) {
    return platform::screenWithLargestOverlap(rect, platform::NSScreen::screens(),
                                              platform::ScreenArea::visibleFrame, std::nullopt);
}

} // namespace tilmora::WindowManager

#pragma once

#include "platform/foundation/UserDefaults.hpp"
#include "platform/ui/Alert.hpp"
#include "platform/ui/Responder.hpp"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace tilmora {

/// Starting the program at login: through the login-item service on systems from 13.0 on, else
/// through a LaunchAgent property list and `launchctl` in the user's login domain. "LaunchAtLogin"
/// in the user defaults keeps the last wish. Messages go to standard output only. Main thread
/// (`runProcess` blocks it until the tool exits).
class LaunchAtLogin {
public:
    /// Shows a one-button alert with `message` in `style` (modal).
    using ShowAlert = std::function<void(const std::string& message, platform::ui::AlertStyle style)>;
    /// The outcome of one run of a tool: its exit status (127 when it cannot start, the error in
    /// `standardError` after "run failed: ") and both texts (UTF-8).
    struct ProcessResult {
        int status = 0;
        std::string standardOutput;
        std::string standardError;
    };

    LaunchAtLogin(platform::UserDefaults& defaults, ShowAlert showAlert);

    /// The bundle identifier (else "com.til-mora.app") + ".launchagent".
    std::string launchAgentLabel() const;
    /// "Library/LaunchAgents/<label>.plist" in the home folder.
    std::filesystem::path launchAgentPlistURL() const;
    /// Writes the agent's property list (throws `platform::Error` when it cannot).
    void writeLaunchAgentPlist() const;
    ProcessResult runProcess(const std::string& path, const std::vector<std::string>& arguments) const;
    /// Whether login start is in force now, as the system reports it.
    bool isLaunchAtStartupEnabled() const;
    /// Turns login start on or off; true when the system now stands as asked.
    bool setLaunchAtLogin(bool enabled) const;
    /// The state the menu's check mark shows: on a modern system a registration waiting for approval
    /// counts as on; else `isLaunchAtStartupEnabled()`.
    bool showsOn() const;
    /// The menu's switch: flips login start, shows the state reached on `sender` (a menu item or a
    /// button), stores it as the wish, and explains a failure (or a pending approval) in an alert.
    void toggle(platform::ui::Responder* sender);
    /// At launch: brings the system in line with the stored wish (on a modern system removing a
    /// leftover LaunchAgent first).
    void migrateIfNeeded();

private:
    platform::UserDefaults& defaults_;
    ShowAlert showAlert_;
};

} // namespace tilmora

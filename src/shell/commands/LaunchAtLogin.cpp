#include "shell/commands/LaunchAtLogin.hpp"

#include "model/LocalizationManager.hpp"
#include "model/Settings.hpp"
#include "platform/desktop/Process.hpp"
#include "platform/desktop/SMAppService.hpp"
#include "platform/desktop/UserIdentity.hpp"
#include "platform/foundation/Bundle.hpp"
#include "platform/foundation/Error.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/Folders.hpp"
#include "platform/foundation/PropertyListSerialization.hpp"
#include "platform/foundation/StandardOutput.hpp"
#include "platform/input/ProcessInfo.hpp"
#include "platform/ui/Button.hpp"
#include "platform/ui/MenuItem.hpp"

namespace tilmora {

namespace {

// Messages of the login item go to standard output only.
void say(const std::string& line) { platform::StandardOutput::write(line + "\n"); }

bool isModernSystem() { return platform::ProcessInfo::processInfo().isOperatingSystemAtLeast({13, 0, 0}); }

std::string loginDomain() { return "gui/" + std::to_string(platform::UserIdentity::getuid()); }

bool contains(const std::string& text, std::string_view part) { return text.find(part) != std::string::npos; }

using Status = platform::SMAppService::Status;

// The login-item service counts a registration waiting for the user's approval as on.
bool countsAsOn(Status status) { return status == Status::enabled || status == Status::requiresApproval; }

void setSenderState(platform::ui::Responder* sender, bool on) {
    if (auto* item = dynamic_cast<platform::ui::MenuItem*>(sender)) {
        item->state = on ? 1 : 0;
    } else if (auto* button = dynamic_cast<platform::ui::Button*>(sender)) {
        button->state = on ? 1 : 0;
    }
}

} // namespace

LaunchAtLogin::LaunchAtLogin(platform::UserDefaults& defaults, ShowAlert showAlert)
    : defaults_(defaults)
    , showAlert_(std::move(showAlert)) {}

std::string LaunchAtLogin::launchAgentLabel() const {
    return platform::Bundle::main().bundleIdentifier().value_or("com.til-mora.app") + ".launchagent";
}

std::filesystem::path LaunchAtLogin::launchAgentPlistURL() const {
    return platform::Folders::home().value_or(std::filesystem::path()) / "Library/LaunchAgents" /
           (launchAgentLabel() + ".plist");
}

void LaunchAtLogin::writeLaunchAgentPlist() const {
    platform::PropertyDictionary plist;
    plist["Label"] = launchAgentLabel();
    plist["RunAtLoad"] = true;
    plist["ProcessType"] = "Interactive";
    plist["ProgramArguments"] = platform::PropertyArray{"/usr/bin/open", "-a", platform::Bundle::main().bundlePath().string()};
    const std::string data = platform::PropertyListSerialization::dataFromPropertyList(plist);
    const auto url = launchAgentPlistURL();
    // A pipe or a device in the file's place is left as it is.
    if (const auto check = platform::FileSystem::checkOwnedPath(url);
        check.kind == platform::FileSystem::PathCheck::Kind::notRegular)
        throw platform::Error("could not write \"" + url.string() + "\": " + check.reason);
    platform::FileSystem::createDirectories(url.parent_path());
    platform::FileSystem::writeAtomically(url, data);
}

LaunchAtLogin::ProcessResult LaunchAtLogin::runProcess(const std::string& path,
                                                   const std::vector<std::string>& arguments) const {
    platform::Process process;
    process.executablePath = path;
    process.arguments = arguments;
    try {
        process.run();
    } catch (const platform::Error& error) {
        return {127, "", std::string("run failed: ") + error.what()};
    }
    // Both pipes are drained while the child runs, so a child that fills a pipe cannot stall.
    process.waitUntilExit();
    return {process.terminationStatus(), process.standardOutput(), process.standardError()};
}

bool LaunchAtLogin::isLaunchAtStartupEnabled() const {
    if (isModernSystem()) return platform::SMAppService::mainApp().status() == Status::enabled;
    if (!platform::FileSystem::fileExists(launchAgentPlistURL())) return false;
    const auto result = runProcess("/bin/launchctl", {"print", loginDomain() + "/" + launchAgentLabel()});
    if (result.status == 0) return true;
    return contains(result.standardOutput, launchAgentLabel()) && !contains(result.standardError, "could not find") &&
           !contains(result.standardError, "No such process");
}

bool LaunchAtLogin::setLaunchAtLogin(bool enabled) const {
    if (isModernSystem()) {
        try {
            if (enabled) {
                platform::SMAppService::mainApp().registerService();
            } else {
                platform::SMAppService::mainApp().unregister();
            }
            return true;
        } catch (const platform::Error& error) {
            say(std::string("[LaunchAtLogin] SMAppService error: ") + error.what());
            return false;
        }
    }
    const std::string plist = launchAgentPlistURL().string();
    if (!enabled) {
        runProcess("/bin/launchctl", {"bootout", loginDomain(), plist});
        try {
            platform::FileSystem::removeItem(launchAgentPlistURL());
        } catch (const platform::Error&) {
        }
        return !isLaunchAtStartupEnabled();
    }
    try {
        writeLaunchAgentPlist();
    } catch (const platform::Error& error) {
        say(std::string("[LaunchAtLogin] Failed writing plist: ") + error.what());
        return false;
    }
    const auto result = runProcess("/bin/launchctl", {"bootstrap", loginDomain(), plist});
    if (result.status == 0 || contains(result.standardError, "Service already loaded")) return true;
    say("[LaunchAtLogin] bootstrap failed (code=" + std::to_string(result.status) + "): " + result.standardError);
    runProcess("/bin/launchctl", {"enable", loginDomain() + "/" + launchAgentLabel()});
    return isLaunchAtStartupEnabled();
}

bool LaunchAtLogin::showsOn() const {
    if (isModernSystem()) return countsAsOn(platform::SMAppService::mainApp().status());
    return isLaunchAtStartupEnabled();
}

void LaunchAtLogin::toggle(platform::ui::Responder* sender) {
    auto& localization = LocalizationManager::shared();
    if (isModernSystem()) {
        auto& service = platform::SMAppService::mainApp();
        const Status before = service.status();
        const bool wish = !countsAsOn(before);
        const bool success = setLaunchAtLogin(wish);
        const Status after = service.status();
        const bool on = countsAsOn(after);
        setSenderState(sender, on);
        defaults_.set(platform::PropertyValue(on), settings::launchAtLogin.key);
        if (success && after == Status::requiresApproval) {
            showAlert_(localization.localizedString("alert.launch.addedPendingApproval"),
                      platform::ui::AlertStyle::informational);
        } else if (!success) {
            showAlert_(localization.localizedString("alert.launch.couldNotUpdateGeneral"), platform::ui::AlertStyle::warning);
        }
        return;
    }
    const bool current = isLaunchAtStartupEnabled();
    const bool success = setLaunchAtLogin(!current);
    const bool state = success ? !current : current;
    setSenderState(sender, state);
    defaults_.set(platform::PropertyValue(state), settings::launchAtLogin.key);
    if (!success) {
        showAlert_(localization.localizedString("alert.launch.couldNotUpdateSession"), platform::ui::AlertStyle::warning);
    }
}

void LaunchAtLogin::migrateIfNeeded() {
    const bool wish = defaults_.boolForKey(settings::launchAtLogin.key);
    if (!isModernSystem()) {
        if (isLaunchAtStartupEnabled() != wish) setLaunchAtLogin(wish);
        return;
    }
    if (platform::FileSystem::fileExists(launchAgentPlistURL())) {
        runProcess("/bin/launchctl", {"bootout", loginDomain(), launchAgentPlistURL().string()});
        try {
            platform::FileSystem::removeItem(launchAgentPlistURL());
        } catch (const platform::Error&) {
        }
    }
    auto& service = platform::SMAppService::mainApp();
    const Status status = service.status();
    try {
        if (wish && status != Status::enabled) {
            service.registerService();
        } else if (!wish && status == Status::enabled) {
            service.unregister();
        }
    } catch (const platform::Error& error) {
        say(std::string("[LaunchAtLogin] Migration SMAppService error: ") + error.what());
    }
}

} // namespace tilmora

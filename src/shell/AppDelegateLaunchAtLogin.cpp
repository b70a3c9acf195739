#include "shell/AppDelegate.hpp"

namespace tilmora {

LaunchAtLogin AppDelegate::loginItem() const { return LaunchAtLogin(defaults(), &AppDelegate::showAlert); }

std::string AppDelegate::launchAgentLabel() const { return loginItem().launchAgentLabel(); }

std::filesystem::path AppDelegate::launchAgentPlistURL() const { return loginItem().launchAgentPlistURL(); }

void AppDelegate::writeLaunchAgentPlist() const { loginItem().writeLaunchAgentPlist(); }

AppDelegate::ProcessResult AppDelegate::runProcess(const std::string& path, const std::vector<std::string>& arguments) const {
    return loginItem().runProcess(path, arguments);
}

bool AppDelegate::isLaunchAtStartupEnabled() const { return loginItem().isLaunchAtStartupEnabled(); }

bool AppDelegate::setLaunchAtLogin(bool enabled) const { return loginItem().setLaunchAtLogin(enabled); }

void AppDelegate::toggleLaunchAtStartup(platform::ui::Responder* sender) { loginItem().toggle(sender); }

void AppDelegate::migrateLaunchAtLoginIfNeeded() { loginItem().migrateIfNeeded(); }

} // namespace tilmora

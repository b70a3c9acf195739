#include "shell/AppDelegate.hpp"

#include "model/LocalizationManager.hpp"
#include "model/Log.hpp"
#include "platform/dispatch/MainThread.hpp"
#include "platform/foundation/DirectoryListing.hpp"
#include "platform/foundation/Error.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/Folders.hpp"
#include "platform/foundation/StandardOutput.hpp"
#include "platform/foundation/Text.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "shell/Diagnostics.hpp"
#include "shell/ShellHooks.hpp"
#include "shell/SnappingSwitch.hpp"
#include "snapping/RoriDeru.hpp"

#include <algorithm>

namespace tilmora {

namespace {

void say(const std::string& line) { platform::StandardOutput::write(line + "\n"); }

bool isLogCandidate(const std::string& name) {
    const std::string lower = platform::Text::lowercased(name);
    auto startsWith = [&](std::string_view prefix) { return lower.rfind(prefix, 0) == 0; };
    auto endsWith = [&](std::string_view suffix) {
        return lower.size() >= suffix.size() && lower.compare(lower.size() - suffix.size(), suffix.size(), suffix) == 0;
    };
    return (startsWith("tilmora_log") || startsWith("til mora_log")) && (endsWith(".txt") || endsWith(".log"));
}

} // namespace

void AppDelegate::quitApp() {
    platform::requireMainThread("AppDelegate::quitApp");
    switchSnappingOff(roriDeru(), SelectionOnSnappingOff::cleared);
    platform::ui::Application::shared().terminate(nullptr);
}

void AppDelegate::applicationWillTerminate() {
    platform::requireMainThread("AppDelegate::applicationWillTerminate");
    switchSnappingOff(roriDeru(), SelectionOnSnappingOff::cleared);
    platform::UserDefaults::synchronizeAll();
}

void AppDelegate::showAlert(const std::string& message, platform::ui::AlertStyle style) {
    auto alert = std::make_shared<platform::ui::Alert>();
    alert->messageText = message;
    alert->alertStyle = style;
    alert->addButton(LocalizationManager::shared().localizedString("alert.ok"));
    alert->runModal();
}

void AppDelegate::clearLogFile() {
    const auto documents = platform::Folders::documents();
    if (!documents) return;
    pruneTLMLogFiles(*documents / "txt", 30, {});
    pruneTLMLogFiles(*documents, 10, {std::string(logFileName)});
    const auto current = *documents / logFileName;
    if (!platform::FileSystem::fileExists(current)) return;
    try {
        platform::FileSystem::removeItem(current);
        say("Log file cleared.");
    } catch (const platform::Error& error) {
        say(std::string("Error clearing log file: ") + error.what());
    }
}

void AppDelegate::pruneTLMLogFiles(const std::filesystem::path& folder, std::size_t maxToKeep,
                                   const std::set<std::string>& excludeExactFileNames) {
    if (!platform::FileSystem::isDirectory(folder)) return;
    std::vector<platform::DirectoryEntry> entries;
    try {
        entries = platform::DirectoryListing::contents(folder, true);
    } catch (const platform::Error& error) {
        say("Failed to enumerate legacy logs in " + folder.string() + ": " + error.what());
        return;
    }
    std::vector<platform::DirectoryEntry> candidates;
    for (auto& entry : entries) {
        // Only files are pruned: a folder named like a log is the user's and stays.
        if (isLogCandidate(entry.name) && !excludeExactFileNames.count(entry.name) &&
            platform::FileSystem::isFileOrLink(entry.url))
            candidates.push_back(std::move(entry));
    }
    if (candidates.size() <= maxToKeep) return;
    // Newest first; a file without dates counts as the distant past, so it goes first.
    auto age = [](const platform::DirectoryEntry& entry) {
        if (entry.contentModificationDate) return entry.contentModificationDate->timeIntervalSince1970;
        if (entry.creationDate) return entry.creationDate->timeIntervalSince1970;
        return -1e300;
    };
    std::stable_sort(candidates.begin(), candidates.end(),
                     [&](const auto& a, const auto& b) { return age(a) > age(b); });
    std::size_t removed = 0;
    for (std::size_t i = maxToKeep; i < candidates.size(); ++i) {
        try {
            platform::FileSystem::removeItem(candidates[i].url);
            ++removed;
        } catch (const platform::Error& error) {
            say("Failed to remove legacy log " + candidates[i].name + ": " + error.what());
        }
    }
    if (removed > 0) {
        say("Pruned legacy TLM logs in " + folder.filename().string() + ": removed " + std::to_string(removed) +
            ", kept " + std::to_string(maxToKeep));
    }
}

void AppDelegate::openHelp(platform::ui::Responder*) {
    const std::string stamp = "[" + platform::Text::timeOfDay(platform::Date::now()) + "] ";
    say(stamp + "[UI] Help menu item selected");
    auto& application = platform::ui::Application::shared();
    if (helpWindowController_) {
        helpWindowController_->showWindow(nullptr);
        if (auto panel = helpWindowController_->window()) panel->makeKeyAndOrderFront();
        application.activate(true);
        say(stamp + "[UI] Help panel brought to front");
        return;
    }
    say(stamp + "[UI] Creating Help panel controller\u2026");
    helpWindowController_ = ShellHooks::current().makeHelpPanel();
    if (helpWindowController_) {
        helpWindowController_->showWindow(nullptr);
        if (auto panel = helpWindowController_->window()) panel->makeKeyAndOrderFront();
    }
    application.activate(true);
    say(stamp + "[UI] Help panel created and shown");
}

void AppDelegate::runDiagnostics() { presentDiagnosticsResult(Diagnostics::run(*this)); }

void AppDelegate::presentDiagnosticsResult(const DiagnosticsResult& result) {
    std::string text = "Passed: " + std::to_string(result.passed) + "\nFailed: " + std::to_string(result.failed);
    for (const auto& line : result.messages) text += "\n" + line;
    auto alert = std::make_shared<platform::ui::Alert>();
    alert->messageText = result.failed == 0 ? "Diagnostics Passed" : "Diagnostics Completed with Failures";
    alert->informativeText = text;
    alert->addButton("OK");
    alert->runModal();
    print("[Diagnostics] Summary \u2014 Passed: " + std::to_string(result.passed) +
          ", Failed: " + std::to_string(result.failed));
    if (!result.messages.empty()) print("[Diagnostics] Details:\n" + text);
}

} // namespace tilmora

#include "snapshots/WindowSpawning.hpp"

#include "windows/AXAttributeNames.hpp"
#include "windows/AXWindowReader.hpp"
#include "windows/WindowManager.hpp"

#include "platform/desktop/Accessibility.hpp"
#include "platform/desktop/CGEvent.hpp"
#include "platform/desktop/NSAppleScript.hpp"
#include "platform/desktop/NSWorkspace.hpp"
#include "platform/desktop/Process.hpp"
#include "platform/dispatch/MediaTime.hpp"
#include "platform/dispatch/Thread.hpp"
#include "platform/foundation/Error.hpp"

#include <algorithm>
#include <mutex>

namespace tilmora::WindowManager {

using platform::AXUIElement;
using platform::NSRunningApplication;

namespace {

constexpr const char* kTerminal = "com.apple.Terminal";
constexpr const char* kTerminalPath = "/System/Applications/Utilities/Terminal.app";
constexpr platform::CGKeyCode kKeyN = 45;
constexpr platform::CGKeyCode kKeyEscape = 53;

/// Shows the system's Accessibility prompt when the program is not trusted yet.
void promptForAccessibilityIfNeeded() {
    if (platform::AXIsProcessTrusted()) return;
    platform::AXIsProcessTrustedWithOptions({{platform::kAXTrustedCheckOptionPrompt, platform::CFValue(true)}});
}

/// "<name> (<bundle>) pid=<pid>" of the frontmost application ("? (?) pid=0" without one).
std::string frontmostDescription() {
    const auto front = platform::NSWorkspace::shared().frontmostApplication();
    if (!front) return "? (?) pid=0";
    return front->localizedName().value_or("?") + " (" + front->bundleIdentifier().value_or("?") +
           ") pid=" + std::to_string(front->processIdentifier());
}

std::size_t terminalInstanceCount() {
    return NSRunningApplication::runningApplications(kTerminal).size();
}

/// Terminal's window count across its instances, polled every 80 ms until it exceeds `from` or
/// `timeout` seconds have passed; the last count then (`from` when no pass ran).
int waitForTerminalIncrease(int from, double timeout) {
    const double deadline = platform::mediaTime() + timeout;
    int n = from;
    while (platform::mediaTime() < deadline) {
        n = static_cast<int>(fetchAXWindowsForBundleID(kTerminal, 1, 0.25).size());
        if (n > from) return n;
        platform::Thread::sleep(0.08);
    }
    return n;
}

/// Runs a "System Events" script on this thread; the error dictionary's description on failure.
struct ScriptOutcome {
    std::optional<platform::NSAppleEventDescriptor> result;
    std::optional<std::string> error;
    bool created = false;
};

ScriptOutcome runScript(const std::string& source) {
    ScriptOutcome outcome;
    auto script = platform::NSAppleScript::create(source);
    if (!script) return outcome;
    outcome.created = true;
    std::optional<platform::CFDictionary> error;
    outcome.result = script->executeAndReturnError(error);
    if (error) outcome.error = platform::CFValue(*error).description();
    return outcome;
}

} // namespace

platform::RecursiveLock& uiAutomationLock() {
    static platform::RecursiveLock lock("uiAutomationLock");
    return lock;
}

std::vector<AXUIElement> fetchAXWindowsForBundleID(const std::string& bundleID, int minCount, double timeout) {
    const double deadline = platform::mediaTime() + timeout;
    std::vector<AXUIElement> last;
    while (true) {
        std::vector<AXUIElement> pass;
        for (const auto& app : NSRunningApplication::runningApplications(bundleID)) {
            auto windows = fetchAXWindows(app, 1, 0.25, bundleID);
            pass.insert(pass.end(), windows.begin(), windows.end());
        }
        // Repeats go by window number; windows without one only by element.
        std::vector<AXUIElement> unique;
        for (const auto& window : pass) {
            const auto number = axWindowNumber(window);
            const bool seen = std::any_of(unique.begin(), unique.end(), [&](const AXUIElement& kept) {
                if (number) return axWindowNumber(kept) == number;
                return kept == window;
            });
            if (!seen) unique.push_back(window);
        }
        if (!unique.empty()) last = unique;
        if (static_cast<int>(unique.size()) >= minCount) return unique;
        platform::Thread::sleep(0.1);
        if (platform::mediaTime() >= deadline) return last;
    }
}

bool activateAndWaitFrontmost(const std::string& bundleID, double timeout) {
    std::lock_guard guard(uiAutomationLock());
    const auto isFront = [&] {
        const auto front = platform::NSWorkspace::shared().frontmostApplication();
        return front && front->bundleIdentifier() == bundleID;
    };
    const double deadline = platform::mediaTime() + timeout;
    while (platform::mediaTime() < deadline) {
        if (isFront()) return true;
        auto instances = NSRunningApplication::runningApplications(bundleID);
        if (!instances.empty())
            instances.front().activate(platform::NSApplicationActivateAllWindows |
                                       platform::NSApplicationActivateIgnoringOtherApps);
        platform::Thread::sleep(0.05);
    }
    return isFront();
}

bool menuClickNewWindow(const std::string& bundleID) {
    std::string process;
    if (bundleID == "com.microsoft.VSCode")
        process = "Code";
    else if (bundleID == "com.google.Chrome")
        process = "Google Chrome";
    else
        return false;
    const std::string source = "tell application \"System Events\"\n"
                               "  tell process \"" +
                               process +
                               "\"\n"
                               "    try\n"
                               "      click menu item \"New Window\" of menu 1 of menu bar item \"File\" of menu bar 1\n"
                               "      return true\n"
                               "    on error\n"
                               "      return false\n"
                               "    end try\n"
                               "  end tell\n"
                               "end tell";
    std::lock_guard guard(uiAutomationLock());
    const auto outcome = runScript(source);
    if (outcome.error) logLine("WARN", "Menu click New Window error for " + bundleID + ": " + *outcome.error);
    return outcome.result && outcome.result->booleanValue();
}

bool attemptCmdNNewWindow(const NSRunningApplication& app) {
    std::lock_guard guard(uiAutomationLock());
    const auto bundleID = app.bundleIdentifier();
    if (bundleID)
        activateAndWaitFrontmost(*bundleID, 1.0);
    else
        NSRunningApplication(app).activate(platform::NSApplicationActivateIgnoringOtherApps);
    const auto outcome = runScript("tell application \"System Events\" to keystroke \"n\" using {command down}");
    if (!outcome.created) {
        logLine("WARN", "Cmd+N AppleScript error for " + bundleID.value_or("") + ": the script could not be made");
        return false;
    }
    if (!outcome.error) return true;
    logLine("WARN", "Cmd+N AppleScript error for " + bundleID.value_or("") + ": " + *outcome.error);
    return false;
}

bool runShellOpenNewInstance(const std::string& bundleID) {
    platform::Process process;
    process.executablePath = "/usr/bin/open";
    process.arguments = {"-n", "-b", bundleID};
    try {
        process.run();
    } catch (const platform::Error& error) {
        logLine("WARN", "open -n -b failed for " + bundleID + ": " + error.what());
        return false;
    }
    process.waitUntilExit();
    return process.terminationStatus() == 0;
}

bool attemptEscapeKeyEvent(const std::optional<std::string>& frontmostBundleID) {
    if (frontmostBundleID) activateAndWaitFrontmost(*frontmostBundleID, 1.0);
    promptForAccessibilityIfNeeded();
    const auto source = platform::CGEventSourceCreate(platform::CGEventSourceStateID::combinedSessionState);
    if (!source) return false;
    const auto down = platform::CGEventCreateKeyboardEvent(source, kKeyEscape, true);
    const auto up = platform::CGEventCreateKeyboardEvent(source, kKeyEscape, false);
    if (!down || !up) return false;
    platform::CGEventPost(platform::CGEventTapLocation::hid, *down);
    platform::CGEventPost(platform::CGEventTapLocation::hid, *up);
    platform::Thread::sleep(0.05);
    return true;
}

bool attemptCmdNKeyEvent(int repeatCount, std::optional<pid_t> postToPid) {
    if (repeatCount < 1) return true;
    promptForAccessibilityIfNeeded();
    const auto source = platform::CGEventSourceCreate(platform::CGEventSourceStateID::combinedSessionState);
    for (int i = 0; i < repeatCount; ++i) {
        auto down = platform::CGEventCreateKeyboardEvent(source, kKeyN, true);
        auto up = platform::CGEventCreateKeyboardEvent(source, kKeyN, false);
        if (!down || !up) return false;
        platform::CGEventSetFlags(*down, platform::kCGEventFlagMaskCommand);
        platform::CGEventSetFlags(*up, platform::kCGEventFlagMaskCommand);
        if (postToPid) {
            platform::CGEventPostToPid(*postToPid, *down);
            platform::CGEventPostToPid(*postToPid, *up);
        } else {
            platform::CGEventPost(platform::CGEventTapLocation::hid, *down);
            platform::CGEventPost(platform::CGEventTapLocation::hid, *up);
        }
        platform::Thread::sleep(0.12);
    }
    return true;
}

void ensureTerminalWindows(int currentCount, int targetCount) {
    if (targetCount < 1) return;
    promptForAccessibilityIfNeeded();
    logLine("TERM", "Terminal spawn strategy=v2 (Cmd+N + open -n)");

    if (terminalInstanceCount() == 0) {
        platform::NSWorkspace::shared().openURL(std::string("file://") + kTerminalPath);
        platform::Thread::sleep(0.5);
    }
    {
        std::lock_guard guard(uiAutomationLock());
        activateAndWaitFrontmost(kTerminal, 2.0);
        attemptEscapeKeyEvent(std::string(kTerminal));
    }

    int count = static_cast<int>(fetchAXWindowsForBundleID(kTerminal, 1, 1.5).size());
    logLine("TERM", "Terminal spawn start: currentCount=" + std::to_string(currentCount) +
                        " targetCount=" + std::to_string(targetCount) + " axWindows=" + std::to_string(count) +
                        " frontmost=" + frontmostDescription());
    if (verboseLogging() && terminalInstanceCount() > 0) logTerminalAXState("Terminal before spawn");
    if (count >= targetCount) return;

    const int need = targetCount - std::max(count, currentCount);
    if (need > 0)
        logLine("TERM", "Terminal needs " + std::to_string(need) + " more window(s) (count=" + std::to_string(count) +
                            "/" + std::to_string(targetCount) + ")");
    const int maxAttempts = std::max(3 * (targetCount - count), 3);
    int stalls = 0;
    for (int attempt = 1;; ++attempt) {
        logLine("TERM", "Terminal needs " + std::to_string(targetCount - count) + " more window(s) (windows=" +
                            std::to_string(count) + "/" + std::to_string(targetCount) +
                            " instances=" + std::to_string(terminalInstanceCount()) + ")");
        const std::string frontBefore = frontmostDescription();
        bool activated = false;
        std::optional<pid_t> pid;
        {
            std::lock_guard guard(uiAutomationLock());
            activated = activateAndWaitFrontmost(kTerminal, 2.0);
            attemptEscapeKeyEvent(std::string(kTerminal));
            const auto instances = NSRunningApplication::runningApplications(kTerminal);
            if (!instances.empty()) pid = instances.front().processIdentifier();
            attemptCmdNKeyEvent(1, pid);
        }
        int newCount = waitForTerminalIncrease(count, 1.0);
        logLine("TERM", std::string("Terminal Cmd+N dispatch: activated=") + (activated ? "true" : "false") +
                            " pid=" + std::to_string(pid ? *pid : -1) + " frontBefore=" + frontBefore +
                            " frontAfter=" + frontmostDescription());
        logLine("TERM", "Terminal spawn progress after Cmd+N: " + std::to_string(count) + " -> " +
                            std::to_string(newCount));
        if (newCount <= count) {
            logLine("HINT", "Terminal open -n fallback for 1 window(s)");
            const std::size_t before = terminalInstanceCount();
            runShellOpenNewInstance(kTerminal);
            newCount = waitForTerminalIncrease(count, 2.5);
            logLine("TERM", "Terminal spawn progress after open -n: " + std::to_string(count) + " -> " +
                                std::to_string(newCount) + " instances=" + std::to_string(before) + "->" +
                                std::to_string(terminalInstanceCount()));
            if (newCount <= count) {
                ++stalls;
                if (stalls >= 2) {
                    logLine("WARN", "Terminal spawn made no progress; stopping at count=" + std::to_string(newCount) +
                                        "/" + std::to_string(targetCount));
                    break;
                }
                logLine("WARN", "Terminal spawn made no progress; retrying (stalled=" + std::to_string(stalls) + "/2)");
            }
        }
        count = newCount;
        if (count >= targetCount || attempt >= maxAttempts) break;
    }
    if (verboseLogging() && terminalInstanceCount() > 0) logTerminalAXState("Terminal after spawn");
}

std::optional<int> axTabsCount(const AXUIElement& window) {
    platform::CFValue value;
    if (platform::AXUIElementCopyAttributeValue(window, kAXTabsAttributeCF, value) != platform::kAXErrorSuccess)
        return std::nullopt;
    if (const auto* list = value.asArray()) return static_cast<int>(list->size());
    return std::nullopt;
}

std::string describeAXWindow(const AXUIElement& window) {
    const auto number = axWindowNumber(window);
    const auto tabs = axTabsCount(window);
    return "num=" + (number ? std::to_string(*number) : std::string("nil")) +
           " tabs=" + (tabs ? std::to_string(*tabs) : std::string("nil")) +
           " role=" + axStringAttr(window, "AXRole").value_or("?") +
           " sub=" + axStringAttr(window, "AXSubrole").value_or("?") + " title=" + readAXTitle(window).value_or("");
}

void logTerminalAXState(const std::string& label) {
    if (!verboseLogging()) return;
    const auto instances = NSRunningApplication::runningApplications(kTerminal);
    logLine("TERM", label + ": Terminal instances=" + std::to_string(instances.size()));
    std::vector<AXUIElement> all;
    for (const auto& app : instances) {
        auto windows = fetchAXWindows(app, 1, 0.3, std::string(kTerminal));
        logLine("TERM", "  pid=" + std::to_string(app.processIdentifier()) +
                            " windows=" + std::to_string(windows.size()));
        all.insert(all.end(), windows.begin(), windows.end());
    }
    all = uniqueAXWindowsByNumber(all);
    logLine("TERM", "  total AX windows=" + std::to_string(all.size()));
    for (std::size_t i = 0; i < all.size() && i < 6; ++i)
        logLine("TERM", "  [" + std::to_string(i) + "] " + describeAXWindow(all[i]));
    if (all.size() >= 7) logLine("TERM", "  … (" + std::to_string(all.size() - 6) + " more)");
}

} // namespace tilmora::WindowManager

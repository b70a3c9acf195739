#include "snapshots/SnapshotQuit.hpp"

#include "model/Log.hpp"
#include "windows/WindowManager.hpp"

#include "platform/desktop/NSRunningApplication.hpp"
#include "platform/desktop/Signal.hpp"
#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/dispatch/MediaTime.hpp"
#include "platform/dispatch/Thread.hpp"
#include "platform/foundation/Bundle.hpp"

#include <cerrno>
#include <csignal>
#include <memory>

namespace tilmora::WindowManager {

namespace {

constexpr const char* nothingToQuit = "No applications to quit for this snapshot.";

std::string boolText(bool value) {
    return value ? "true" : "false";
}

/// Takes one running instance down the ladder; true when it is gone at the end.
bool endInstance(platform::NSRunningApplication app, const std::string& bundleID) {
    const std::int32_t pid = app.processIdentifier();
    const std::string name = app.localizedName().value_or(bundleID);
    const std::string pidText = "[pid=" + std::to_string(pid) + "]";

    logLine("INFO", "Attempting to terminate " + name + " (" + bundleID + ") " + pidText);
    const bool terminated = app.terminate();
    logLine("INFO", "Terminate requested=" + boolText(terminated) + " " + name);
    if (waitUntilExit(pid, 2.5)) {
        logLine("INFO", "Terminated " + name);
        return true;
    }
    const bool forced = app.forceTerminate();
    logLine("INFO", "Force-terminate requested=" + boolText(forced) + " " + name);
    if (waitUntilExit(pid, 2.0)) {
        logLine("INFO", "Force-terminated " + name);
        return true;
    }
    logLine("WARN", "SIGTERM fallback " + name + " " + pidText);
    sendSignal(pid, SIGTERM);
    if (waitUntilExit(pid, 1.0)) {
        logLine("INFO", "SIGTERM succeeded " + name);
        return true;
    }
    logLine("WARN", "SIGKILL fallback " + name + " " + pidText);
    sendSignal(pid, SIGKILL);
    if (waitUntilExit(pid, 1.0)) {
        logLine("INFO", "SIGKILL succeeded " + name);
        return true;
    }
    logLine("ERROR", "Failed to terminate " + name + " (" + bundleID + ") " + pidText);
    return false;
}

void finish(const SnapshotCompletion& completion, bool success, const std::string& message) {
    platform::DispatchQueue::main().async([completion, success, message] {
        if (completion) completion(success, message + "\n");
    });
}

void quitWorker(const SnapshotValue& snapshot, const SnapshotCompletion& completion) {
    std::set<std::string> bundleIDs;
    for (const auto& window : snapshot.windows)
        if (window.bundleIdentifier) bundleIDs.insert(*window.bundleIdentifier);
    for (const auto& excluded : neverQuitBundleIdentifiers())
        bundleIDs.erase(excluded);

    if (bundleIDs.empty()) {
        print("");
        logLine("SUCCESS", std::string("quitSnapshot complete — success=true. ") + nothingToQuit);
        finish(completion, true, nothingToQuit);
        return;
    }

    bool allEnded = true;
    for (const auto& bundleID : bundleIDs) // ascending
        for (const auto& app : platform::NSRunningApplication::runningApplications(bundleID))
            if (!endInstance(app, bundleID)) allEnded = false;

    const std::string message =
        allEnded ? "All snapshot applications terminated." : "Some snapshot applications failed to terminate.";
    print("");
    logLine(allEnded ? "SUCCESS" : "WARN",
            "quitSnapshot complete — success=" + boolText(allEnded) + ". " + message);
    finish(completion, allEnded, message);
}

} // namespace

std::set<std::string> neverQuitBundleIdentifiers() {
    return {"",
            platform::Bundle::main().bundleIdentifier().value_or(""),
            "com.apple.finder",
            "com.apple.dock",
            "com.apple.systemuiserver",
            "com.apple.loginwindow"};
}

void quitSnapshot(const Snapshot& snapshot, SnapshotCompletion completion) {
    quitSnapshot(snapshot.value(), std::move(completion));
}

void quitSnapshot(const SnapshotValue& snapshot, SnapshotCompletion completion) {
    print("");
    logLine("START", "=== quitSnapshot: " + snapshot.name.value_or("Unnamed") + " ===");
    auto value = std::make_shared<SnapshotValue>(snapshot);
    platform::DispatchQueue::global(platform::DispatchQoS::userInitiated)
        .async([value, completion = std::move(completion)] { quitWorker(*value, completion); });
}

bool waitUntilExit(std::int32_t pid, double timeout) {
    const double deadline = platform::mediaTime() + timeout;
    if (pid < 1) return true;
    while (platform::mediaTime() < deadline) {
        if (platform::kill(pid, 0) != 0 && errno == ESRCH) return true;
        platform::usleep(100000);
    }
    if (platform::kill(pid, 0) == 0) return false;
    return errno == ESRCH;
}

bool sendSignal(std::int32_t pid, int signal) {
    if (pid < 1) return false;
    return platform::kill(pid, signal) == 0;
}

} // namespace tilmora::WindowManager

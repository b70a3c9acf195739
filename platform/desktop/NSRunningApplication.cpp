#include "platform/desktop/NSRunningApplication.hpp"

#include "platform/internal/DesktopModel.hpp"
#include "platform/internal/DesktopTransaction.hpp"

#include <algorithm>

namespace platform {

using desktop_detail::AppRecord;
using desktop_detail::AppState;
using desktop_detail::DesktopModel;

std::vector<NSRunningApplication>
NSRunningApplication::runningApplications(const std::string& bundleIdentifier) {
    TXN;
    const auto pids = m.runningPids(
        [&](const AppRecord& a) { return a.listed && a.spec.bundleIdentifier == bundleIdentifier; });
    return {pids.begin(), pids.end()};
}

std::optional<NSRunningApplication> NSRunningApplication::runningApplication(pid_t pid) {
    TXN;
    auto* a = m.liveApp(pid);
    if (!a || a->spec.neverStarts) return std::nullopt;
    return NSRunningApplication(pid);
}

NSRunningApplication NSRunningApplication::current() {
    TXN;
    return NSRunningApplication(m.programPid);
}

std::optional<std::string> NSRunningApplication::bundleIdentifier() const {
    TXN;
    auto* a = m.app(pid_);
    if (!a || a->spec.bundleIdentifier.empty()) return std::nullopt;
    return a->spec.bundleIdentifier;
}

std::optional<std::string> NSRunningApplication::localizedName() const {
    TXN;
    auto* a = m.app(pid_);
    return a ? a->spec.localizedName : std::nullopt;
}

std::optional<std::string> NSRunningApplication::bundlePath() const {
    TXN;
    auto* a = m.app(pid_);
    if (!a || a->spec.bundlePath.empty()) return std::nullopt;
    return a->spec.bundlePath;
}

NSApplicationActivationPolicy NSRunningApplication::activationPolicy() const {
    TXN;
    auto* a = m.app(pid_);
    return a ? a->spec.activationPolicy : NSApplicationActivationPolicy::prohibited;
}

bool NSRunningApplication::isTerminated() const {
    TXN;
    auto* a = m.app(pid_);
    return !a || a->state == AppState::terminated;
}

bool NSRunningApplication::isFinishedLaunching() const {
    TXN;
    auto* a = m.app(pid_);
    return a && a->state == AppState::running;
}

bool NSRunningApplication::isActive() const {
    TXN;
    return m.frontPid == pid_ && m.liveApp(pid_);
}

bool NSRunningApplication::isHidden() const {
    TXN;
    auto* a = m.app(pid_);
    return a && a->hidden;
}

bool NSRunningApplication::activate(unsigned options) {
    TXN;
    return m.activate(pid_, options);
}

bool NSRunningApplication::hide() {
    TXN;
    auto* a = m.liveApp(pid_);
    if (!a || a->isProgram) return false;
    a->hidden = true;
    if (m.frontPid == pid_) m.frontPid = 0;
    return true;
}

bool NSRunningApplication::unhide() {
    TXN;
    auto* a = m.liveApp(pid_);
    if (!a) return false;
    a->hidden = false;
    return true;
}

namespace {

bool requestQuit(DesktopModel& m, pid_t pid, bool forced) {
    auto* a = m.liveApp(pid);
    JournalEntry e;
    e.kind = JournalEntry::Kind::termination;
    e.pid = pid;
    e.what = forced ? "forceTerminate" : "terminate";
    if (!a || a->isProgram) {
        e.detail = "not running";
        m.record(e);
        return false;
    }
    bool obeys = forced ? a->spec.termination.obeysForceTerminate : a->spec.termination.obeysTerminate;
    e.detail = obeys ? "obeyed" : "ignored";
    e.result = 1;
    m.record(e);
    if (obeys)
        m.after(
            a->spec.termination.quitDelay, [pid](DesktopModel& model) { model.endApp(pid); }, e.what);
    return true;
}

} // namespace

bool NSRunningApplication::terminate() {
    TXN;
    return requestQuit(m, pid_, false);
}

bool NSRunningApplication::forceTerminate() {
    TXN;
    return requestQuit(m, pid_, true);
}

} // namespace platform

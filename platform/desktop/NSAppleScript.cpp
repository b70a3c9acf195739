#include "platform/desktop/NSAppleScript.hpp"

#include "platform/desktop/AppleEvents.hpp"
#include "platform/internal/DesktopModel.hpp"
#include "platform/internal/DesktopState.hpp"

#include <regex>

namespace platform {

using desktop_detail::AppState;
using desktop_detail::DesktopModel;
using desktop_detail::WindowRecord;

namespace desktop_detail {

/// The Automation permission check for System Events (see AEDeterminePermissionToAutomateTarget).
int automationPermission(DesktopModel& m, bool ask) {
    if (m.automationStatus == errAEEventWouldRequireUserConsent && ask) {
        ++m.automationPrompts;
        JournalEntry j;
        j.kind = JournalEntry::Kind::prompt;
        j.what = "automation";
        j.detail = m.automationPromptGrants ? "granted" : "denied";
        m.record(j);
        m.automationStatus = m.automationPromptGrants ? 0 : errAEEventNotPermitted;
    }
    return m.automationStatus;
}

/// Desktop number (1-9) of a key code of the number row; 0 for other keys.
int desktopForKeyCode(int keyCode) {
    static const int codes[] = {18, 19, 20, 21, 23, 22, 26, 28, 25};
    for (int i = 0; i < 9; ++i)
        if (codes[i] == keyCode) return i + 1;
    return 0;
}

/// Switches Desktop n of the key window's display (else the main display); nothing when that
/// display has fewer Spaces.
void switchDesktop(DesktopModel& m, int n) {
    if (m.displays.empty() || n < 1) return;
    DisplayRecord* d = nullptr;
    if (auto key = m.keyWindow()) d = m.displayOfSpace(m.windows.at(*key).space);
    if (!d) d = &m.displays.front();
    if (std::size_t(n) <= d->spaces.size()) m.switchSpace(*d, d->spaces[std::size_t(n) - 1]);
}

void setWindowFullScreen(DesktopModel& m, WindowRecord& w, bool on);

} // namespace desktop_detail

namespace {

std::string normalized(const std::string& source) {
    std::string out;
    bool space = false;
    for (char c : source) {
        if (c == ' ' || c == '\n' || c == '\t' || c == '\r') {
            space = true;
            continue;
        }
        if (space && !out.empty()) out += ' ';
        space = false;
        out += c;
    }
    return out;
}

const std::string kFront = R"(front window of \(first application process whose frontmost is true\))";
const std::regex kMoveFront("tell application \"System Events\" try set position of " + kFront +
                            R"( to \{(-?\d+), (-?\d+)\} set size of )" + kFront +
                            R"( to \{(-?\d+), (-?\d+)\} return true on error return false end try end tell)");
const std::regex
    kKeyCode(R"(tell application "System Events" key code (\d+) using \{control down\} end tell)");
const std::regex kMenuNewWindow(
    R"re(tell application "System Events" tell process "([^"]*)" try click menu item "New Window" of menu 1 of menu bar item "File" of menu bar 1 return true on error return false end try end tell end tell)re");
const std::regex kKeystrokeN(R"(tell application "System Events" to keystroke "n" using \{command down\})");
const std::regex kKeystrokeFullScreen(
    R"(tell application "System Events" to keystroke "f" using \{control down, command down\})");
const std::regex kProcessNames(R"(tell application "System Events" to get name of every process)");

/// The error of a keystroke or key code sent without Accessibility trust.
constexpr int kNotAllowedToSendKeystrokes = 1002;

CFDictionary errorDictionary(int number, const std::string& message) {
    return {{NSAppleScriptErrorNumber, CFValue(std::int64_t(number))},
            {NSAppleScriptErrorMessage, CFValue(message)},
            {NSAppleScriptErrorBriefMessage, CFValue(message)}};
}

} // namespace

bool NSAppleEventDescriptor::booleanValue() const {
    if (const bool* b = value_.asBool()) return *b;
    if (auto n = value_.integerValue()) return *n != 0;
    return false;
}

std::optional<std::string> NSAppleEventDescriptor::stringValue() const {
    if (const std::string* s = value_.asString()) return *s;
    return std::nullopt;
}

std::optional<NSAppleScript> NSAppleScript::create(const std::string& source) {
    auto holder = desktop_detail::currentModel();
    DesktopModel::Txn t(*holder);
    if (holder->scriptCreationFails) return std::nullopt;
    return NSAppleScript(source);
}

std::optional<NSAppleEventDescriptor>
NSAppleScript::executeAndReturnError(std::optional<CFDictionary>& errorInfo) {
    auto holder = desktop_detail::currentModel();
    DesktopModel& m = *holder;
    DesktopModel::Txn t(m);
    errorInfo.reset();
    JournalEntry j;
    j.kind = JournalEntry::Kind::script;
    j.what = source_;
    auto fail = [&](int number, const std::string& message) -> std::optional<NSAppleEventDescriptor> {
        errorInfo = errorDictionary(number, message);
        j.result = number;
        j.detail = message;
        m.record(j);
        return std::nullopt;
    };

    if (desktop_detail::automationPermission(m, true) != 0)
        return fail(errAEEventNotPermitted, "Not authorized to send Apple events to System Events.");
    if (!m.scriptFailures.empty()) {
        auto [number, message] = m.scriptFailures.front();
        m.scriptFailures.pop_front();
        return fail(number, message);
    }

    std::string text = normalized(source_);
    std::smatch match;
    NSAppleEventDescriptor result;
    // Driving another application's interface (its windows, menus and keys) needs the program's
    // Accessibility trust as well; the scripts' own `try` turns a refusal into false.
    const bool assistive = m.accessibilityTrusted;
    const std::string noKeystrokes = "System Events got an error: Tilmora is not allowed to send keystrokes.";
    if (std::regex_match(text, match, kMoveFront)) {
        bool ok = false;
        auto* front = m.liveApp(m.frontPid);
        if (assistive && front && !front->isProgram) {
            if (auto win = m.focusedWindow(m.frontPid)) {
                AXValue position, size;
                position.type = AXValueType::cgPoint;
                position.point = {std::stod(match[1]), std::stod(match[2])};
                size.type = AXValueType::cgSize;
                size.size = {std::stod(match[3]), std::stod(match[4])};
                ok = m.writeGeometry(*win, true, position) == 0 && m.writeGeometry(*win, false, size) == 0;
                j.window = *win;
                j.pid = m.frontPid;
            }
        }
        result = NSAppleEventDescriptor(CFValue(ok));
    } else if (std::regex_match(text, match, kKeyCode)) {
        if (!assistive) return fail(kNotAllowedToSendKeystrokes, noKeystrokes);
        desktop_detail::switchDesktop(m, desktop_detail::desktopForKeyCode(std::stoi(match[1])));
    } else if (std::regex_match(text, match, kMenuNewWindow)) {
        bool ok = false;
        for (const auto& [pid, a] : m.apps) {
            if (!assistive) break;
            if (a.state == AppState::running && a.spec.localizedName == match[1].str()) {
                j.pid = pid;
                ok = m.openNewWindow(pid);
                break;
            }
        }
        result = NSAppleEventDescriptor(CFValue(ok));
    } else if (std::regex_match(text, kKeystrokeN)) {
        if (!assistive) return fail(kNotAllowedToSendKeystrokes, noKeystrokes);
        j.pid = m.frontPid;
        m.openNewWindow(m.frontPid);
    } else if (std::regex_match(text, kKeystrokeFullScreen)) {
        // Control-Command-F: the frontmost application toggles full screen of its focused window.
        if (!assistive) return fail(kNotAllowedToSendKeystrokes, noKeystrokes);
        j.pid = m.frontPid;
        auto* front = m.liveApp(m.frontPid);
        if (front && !front->isProgram) {
            if (auto win = m.focusedWindow(m.frontPid)) {
                WindowRecord& w = m.windows.at(*win);
                desktop_detail::setWindowFullScreen(m, w, !w.spec.fullScreen);
                j.window = *win;
            }
        }
    } else if (std::regex_match(text, kProcessNames)) {
        CFArray names;
        for (const auto& [pid, a] : m.apps)
            if (a.listed && a.state == AppState::running && a.spec.localizedName)
                names.emplace_back(*a.spec.localizedName);
        result = NSAppleEventDescriptor(CFValue(std::move(names)));
    } else {
        return fail(-2741, "Expected end of line but found unknown token.");
    }
    m.record(j);
    return result;
}

} // namespace platform

#pragma once

#include "platform/desktop/CFValue.hpp"

#include <optional>
#include <string>

namespace platform {

/// The error dictionary's keys.
inline constexpr const char* NSAppleScriptErrorNumber = "NSAppleScriptErrorNumber";
inline constexpr const char* NSAppleScriptErrorMessage = "NSAppleScriptErrorMessage";
inline constexpr const char* NSAppleScriptErrorBriefMessage = "NSAppleScriptErrorBriefMessage";

/// The result of a script: nothing, a Boolean, text or a list of texts.
class NSAppleEventDescriptor {
public:
    NSAppleEventDescriptor() = default;
    explicit NSAppleEventDescriptor(CFValue value)
        : value_(std::move(value)) {}
    /// True only for a Boolean true (or a non-zero number).
    bool booleanValue() const;
    std::optional<std::string> stringValue() const;
    const CFValue& value() const { return value_; }

private:
    CFValue value_;
};

/// A script for "System Events", run against the simulated desktop. The engine understands exactly
/// the scripts the system sends: the front-window position and size fallback, "key code N using
/// {control down}" (switch to Desktop N of the key window's display), the "New Window" menu click
/// of a named process, the keystroke "n" using command, the keystroke "f" using {control down,
/// command down} (the frontmost application toggles full screen of its focused window), and the
/// process-name listing that asks for the Automation permission. Every run checks the Automation permission for
/// "com.apple.systemevents" first (asking once when it is not yet decided): denied runs fail with
/// -1743. Forced failures (`SimDesktop::queueScriptFailure`) come next; any other source fails with
/// -2741. The scripts that drive another application (position and size, menu click, keystroke,
/// key code) also need the program's Accessibility trust: without it the move and the menu click
/// return false (their own `try` catches the refusal) and the keystroke and the key code fail with
/// 1002. Runs are journalled with their source and error number. Any thread; logs nothing.
class NSAppleScript {
public:
    /// None when the desktop is told that script objects cannot be created.
    static std::optional<NSAppleScript> create(const std::string& source);

    /// Runs the script. On failure `errorInfo` receives a dictionary with `NSAppleScriptErrorNumber`
    /// and `NSAppleScriptErrorMessage` and the result is none.
    std::optional<NSAppleEventDescriptor> executeAndReturnError(std::optional<CFDictionary>& errorInfo);

    const std::string& source() const { return source_; }

private:
    explicit NSAppleScript(std::string source)
        : source_(std::move(source)) {}
    std::string source_;
};

} // namespace platform

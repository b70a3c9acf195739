#pragma once

#include "platform/desktop/AXUIElement.hpp"
#include "platform/desktop/NSRunningApplication.hpp"
#include "platform/dispatch/RecursiveLock.hpp"

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

// How a restore gets an application to show more windows than it does (its "New Window" menu
// item, a Command-N through "System Events" or as key events, a new instance through
// "/usr/bin/open"), Terminal's own spawn loop across all of its instances, and the polling of an
// application's windows and of the frontmost application that the restore uses. Every function
// runs on the calling thread (a restore worker, never the main thread) and blocks it while it
// waits (on the virtual clock in tests). Lines are `WindowManager` lines (verbose only).
namespace tilmora::WindowManager {

/// The lock that serialises activations, scripted keystrokes and synthetic key events of the
/// restore workers, so that one worker's Command-N never lands in another's application.
/// Recursive: the functions below take it and call each other while holding it. Any thread.
platform::RecursiveLock& uiAutomationLock();

/// The standard movable windows of every running instance of `bundleID`, polled until there are at
/// least `minCount`: each pass asks every instance (`fetchAXWindows` with minimum 1 and 0.25 s)
/// and drops repeats (the same window number, or the same element when there is none). A pass with
/// enough windows answers at once; otherwise it sleeps 100 ms and passes again until `timeout`
/// seconds have passed, then answers the last non-empty pass (an empty list when none was).
std::vector<platform::AXUIElement> fetchAXWindowsForBundleID(const std::string& bundleID, int minCount,
                                                             double timeout);

/// Brings the first instance of `bundleID` to the front (all windows, ignoring other
/// applications) every 50 ms until it is frontmost or `timeout` seconds have passed; whether it
/// is frontmost then. Holds `uiAutomationLock` throughout.
bool activateAndWaitFrontmost(const std::string& bundleID, double timeout);

/// Clicks "New Window" in the "File" menu of "Code" ("com.microsoft.VSCode") or "Google Chrome"
/// ("com.google.Chrome") through a "System Events" script run on this thread; false for any other
/// bundle, when the script cannot be made, and when it answers no true. A script error logs WARN
/// "Menu click New Window error for <bundle>: <error>".
bool menuClickNewWindow(const std::string& bundleID);

/// Brings the application forward and sends Command-N through "System Events", under
/// `uiAutomationLock`. True unless the script fails (WARN "Cmd+N AppleScript error for <bundle>:
/// <error>").
bool attemptCmdNNewWindow(const platform::NSRunningApplication& app);

/// Runs "/usr/bin/open" "-n" "-b" `bundleID` (an argument list, never a shell line) and answers
/// whether it ended with status 0. When it cannot start: WARN "open -n -b failed for <bundle>:
/// <reason>" and false.
bool runShellOpenNewInstance(const std::string& bundleID);

/// Brings `frontmostBundleID` forward when given (1 s), asks for Accessibility trust when missing
/// (the system prompt), then posts one Escape press and release to the HID tap and pauses 50 ms.
/// False when the event source or an event cannot be made.
bool attemptEscapeKeyEvent(const std::optional<std::string>& frontmostBundleID);

/// Posts `repeatCount` Command-N presses (key 45 with the Command flag, down and up, 120 ms after
/// each) to `postToPid`, or to the HID tap without a pid. True at once for a count below 1; false
/// when an event cannot be made. Asks for Accessibility trust as `attemptEscapeKeyEvent` does.
bool attemptCmdNKeyEvent(int repeatCount, std::optional<pid_t> postToPid);

/// Terminal's spawn loop: launches Terminal when none runs, then asks it for windows (Command-N to
/// its first instance, else a new instance through "/usr/bin/open") until all its instances show
/// `targetCount` windows, the attempts run out (three per missing window, at least three) or two
/// attempts in a row make no progress. Logs "TERM", "HINT" and "WARN" lines as it goes.
void ensureTerminalWindows(int currentCount, int targetCount);

/// The number of elements of the window's "AXTabs"; none when the attribute is absent.
std::optional<int> axTabsCount(const platform::AXUIElement& window);

/// "num=<n> tabs=<t> role=<role> sub=<subrole> title=<title>" ("nil" for an absent number or tab
/// count, "?" for an absent role or subrole).
std::string describeAXWindow(const platform::AXUIElement& window);

/// Verbose only: Terminal's instances, their window counts and the first six windows, each as a
/// "TERM" line headed by `label`.
void logTerminalAXState(const std::string& label);

} // namespace tilmora::WindowManager

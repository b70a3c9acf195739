#pragma once

#include "platform/control/DesktopJournal.hpp"
#include "platform/control/DesktopSpecs.hpp"
#include "platform/desktop/Geometry.hpp"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace platform {

namespace desktop_detail {
class DesktopModel;
}

/// The simulated desktop's control API: tests and the desktop console build desktops with it,
/// change them over virtual time and read the journal of what the system did. The system itself
/// never calls it; it sees the desktop only through the app-facing calls (`NSScreen`,
/// `NSWorkspace`, `NSRunningApplication`, the Accessibility functions, the window list, the Spaces
/// functions, `NSAppleScript`, key events, `Process`, `kill`, the permission and service stand-ins).
///
/// Every frame taken or returned here is in global coordinates (points, y up from the bottom of the
/// main display). The first display is the main (menu-bar) display; its frame's origin is (0, 0).
/// Changes that the real system makes later (launches, delayed writes, the screen list's lag) are
/// scheduled on the virtual clock (`SimScheduler`). Thread-safe; logs nothing.
class SimDesktop {
public:
    /// The one desktop every app-facing call answers from.
    static SimDesktop& shared();
    /// Replaces the desktop by an empty one: no displays, the program itself as the only running
    /// application, every permission granted, an empty journal, no observers of the workspace's
    /// notifications. The program's other state (its windows, the default center's observers,
    /// defaults) is left alone. `SharedInstances::resetAll` does this as part of resetting
    /// everything.
    static void clear();

    // ----- ready-made desktops (each replaces the displays; applications are kept)

    /// One laptop screen: display 1 "Built-in Retina Display", frame (0, 0, 1440, 900), visible
    /// frame (0, 0, 1440, 875), scale 2, built in.
    void useLaptop();
    /// The laptop plus display 2 "DELL U2720Q", 1920 x 1080 at scale 1, to the right of it with
    /// the bottoms aligned: frame (1440, 0, 1920, 1080), visible frame (1440, 0, 1920, 1055).
    void useLaptopWithExternal();
    /// Two identical 1920 x 1080 displays "LG HDR 4K" side by side: display 1 at (0, 0) and display 2
    /// at (1920, 0), same vendor, model and serial 0; visible frames without a 25-point menu bar.
    void useTwoIdenticalDisplays();

    // ----- displays

    /// Plugs a display in (appended after the existing ones). The screen list follows after the lag.
    /// A frame, visible frame or scale outside `DisplayRange` throws `platform::Error` ("display 3:
    /// frame x 1e+20: must be within ±1e9 points") and changes nothing; so do `setDisplayFrame` and
    /// `updateDisplay`.
    void addDisplay(const DisplaySpec& spec);
    /// Unplugs a display: its windows move onto the main display's active Space; the screen list
    /// follows after the lag. Unplugging the main display makes the next one main and shifts the
    /// global space so that its origin is (0, 0). Unknown numbers are ignored.
    void removeDisplay(std::uint32_t displayID);
    /// Gives a display another window-server number.
    void renumberDisplay(std::uint32_t from, std::uint32_t to);
    /// Exchanges the numbers of two displays (as after a reboot that enumerated them the other way).
    void swapDisplayNumbers(std::uint32_t a, std::uint32_t b);
    /// Changes a display's frame (resolution or arrangement) and optionally its visible frame
    /// (default: the frame without a 25-point menu bar). The display's windows move with it,
    /// keeping their place relative to its top-left corner; a window that no longer fits is pulled
    /// into the visible frame. A main display given another origin moves the global space so that
    /// its origin stays (0, 0).
    void setDisplayFrame(std::uint32_t displayID, const CGRect& frame,
                         std::optional<CGRect> visibleFrame = {});
    /// Replaces every field of a display (found by its current number) but its Spaces; a new frame
    /// moves its windows as `setDisplayFrame` does.
    void updateDisplay(std::uint32_t displayID, const DisplaySpec& spec);
    /// Seconds by which the published screen list (`NSScreen::screens`) follows a display change.
    void setScreenListLag(double seconds);
    /// On each later display change, the screen list first shows only the first `counts[i]`
    /// screens, one step every `stepSeconds`, before the full list after the lag.
    void setScreenListTransients(std::vector<std::size_t> counts, double stepSeconds);
    /// The current display numbers, main first.
    std::vector<std::uint32_t> displayIDs() const;
    /// Non-zero: `CGGetOnlineDisplayList` fails with this result code and writes neither numbers
    /// nor a count (0, the default, lets it answer).
    void setOnlineDisplayListError(std::int32_t error);

    // ----- Spaces

    /// The Space ids of a display, in Desktop order; empty for an unknown display.
    std::vector<std::uint64_t> spaces(std::uint32_t displayID) const;
    /// The number of Desktops of the display a window with `frame` (global) opens on: the display
    /// it overlaps most, else the nearest one; 0 when there is no display.
    int desktopCountFor(const CGRect& frame) const;
    /// The active Space of a display; 0 for an unknown display.
    std::uint64_t activeSpace(std::uint32_t displayID) const;
    /// Makes Desktop `desktop` (1-based) of a display active, as the user would; posts the
    /// active-Space notification when it changed.
    void switchToDesktop(std::uint32_t displayID, int desktop);
    /// Appends a Space to a display and returns its id (0 for an unknown display).
    std::uint64_t addSpace(std::uint32_t displayID);

    // ----- applications

    /// Makes an application installed (known by bundle identifier and path).
    void install(const AppSpec& spec);
    /// Starts an installed application at once, finished launching, with its launch windows and the
    /// given extra windows open now; not activated. Returns its pid (0 for an unknown bundle).
    pid_t run(const std::string& bundleIdentifier, const std::vector<WindowSpec>& windows = {});
    /// Installs and runs in one step.
    pid_t run(const AppSpec& spec, const std::vector<WindowSpec>& windows = {});
    /// Launches an installed application as the user would (with its launch delay and timed
    /// windows, activated when it has finished launching). Returns its pid (0 when unknown).
    pid_t launch(const std::string& bundleIdentifier);
    /// The user quits an application: it ends at once.
    void quit(pid_t pid);
    /// The user brings an application to the front.
    void setFrontmost(pid_t pid);
    /// The frontmost application's pid (0 when none).
    pid_t frontmost() const;
    /// The live instances of a bundle, in launch order.
    std::vector<pid_t> pids(const std::string& bundleIdentifier) const;
    /// Replaces the behaviour of a running instance (activation, termination, new windows, ...).
    void updateApp(pid_t pid, const AppSpec& spec);

    // ----- windows

    /// The state of one window as the model holds it.
    struct WindowState {
        std::uint32_t number = 0;
        pid_t pid = 0;
        std::string title;
        CGRect frame; ///< global coordinates
        std::uint64_t space = 0;
        bool onScreen = false;
        bool minimized = false;
        bool fullScreen = false;
        bool closed = false;
    };

    /// Opens a window for a running application now, in front of its other windows. Returns its
    /// window number (0 when the application is not running).
    std::uint32_t openWindow(pid_t pid, const WindowSpec& spec);
    void closeWindow(std::uint32_t number);
    /// The user moves or resizes a window (no write rules apply).
    void setWindowFrame(std::uint32_t number, const CGRect& frame);
    /// The user drags a window by its title bar by (dx, dy) points: the window's current frame
    /// moves by that much, keeping its size, at once or `titleBarDragLag` seconds later; a window
    /// with `movesWithTitleBarDrag` false stays.
    void dragWindowByTitleBar(std::uint32_t number, double dx, double dy);
    void setWindowTitle(std::uint32_t number, const std::string& title);
    void setWindowMinimized(std::uint32_t number, bool minimized);
    /// Moves a window to Desktop `desktop` (1-based) of the display that holds it.
    void moveWindowToDesktop(std::uint32_t number, int desktop);
    /// Replaces a window's behaviour (write rules, sizes, roles); its frame and Space stay.
    void updateWindow(std::uint32_t number, const WindowSpec& spec);
    std::optional<WindowState> windowState(std::uint32_t number) const;
    /// The open windows of an application, front to back.
    std::vector<WindowState> windowsOf(pid_t pid) const;
    /// Every open window (the program's own included), front to back within the z-order.
    std::vector<WindowState> allWindows() const;
    /// The window a click at a global point lands on: the frontmost on-screen window under it,
    /// higher layers first, then the z-order (the program's own windows included; fully
    /// transparent windows and windows that ignore mouse events let clicks through). None over
    /// the bare desktop.
    std::optional<WindowState> windowAt(CGPoint location) const;
    /// The user clicks a window: it comes in front of the others and its application becomes the
    /// frontmost (the application's other windows keep their places). Unknown numbers are ignored.
    void clickWindow(std::uint32_t number);
    /// The user clicks the bare desktop at `location` (global points, y up; no window there):
    /// inside a display's visible frame, the program, when it is the frontmost application, stops
    /// being it and no application is frontmost (the real system's Finder, which this desktop
    /// does not run, would take the front), so the program's key window resigns key. A click on a
    /// menu bar or off the visible frames changes nothing.
    void clickDesktop(CGPoint location);

    // ----- the program's own windows (made and ordered only through the UI toolkit)

    /// The program's own pid (owner of its windows in the window list).
    pid_t programPid() const;
    /// The program is launched again after it ended (its application object terminated): its
    /// process joins the running applications under a new pid, last in their order and behind the
    /// frontmost application, and the workspace posts its did-launch notification. Nothing while
    /// the program runs (a fresh desktop lists it from the start).
    void startProgram();

    // ----- window server and Spaces behaviour

    /// The window list answers nothing.
    void setWindowListUnavailable(bool unavailable);
    /// The window list leaves out every "kCGWindowName" (no screen-recording permission).
    void setWindowNamesHidden(bool hidden);
    void setWorkspaceNumberForm(WorkspaceNumberForm form);
    void setSpaceAnswerForm(SpaceAnswerForm form);
    /// The main connection id; 0 makes the private functions unusable.
    void setConnectionID(std::uint32_t id);
    /// Removes a private symbol from every run-time lookup scope.
    void removeSymbol(const std::string& name);
    /// False: the private framework cannot be opened.
    void setSkyLightLoadable(bool loadable);
    /// Result codes of the next calls of the framework's move function; 0 moves the windows, any
    /// other code leaves them. When the queue is empty the answer is 0.
    void queueSkyLightMoveResults(const std::vector<std::int32_t>& codes);
    /// False: the framework's move function answers its result code but leaves the windows where
    /// they are (a move that reports success without doing it).
    void setSkyLightMoveTakesEffect(bool takesEffect);
    /// False: the older move function returns without moving.
    void setLegacyMoveWorks(bool works);

    // ----- permissions, Accessibility and scripts

    void setAccessibilityTrusted(bool trusted);
    /// How many times the Accessibility prompt was shown.
    int accessibilityPrompts() const;
    void setAXValueCreationFails(bool fails);
    void setAXValueConversionFails(bool fails);
    /// Automation permission for "com.apple.systemevents": 0 granted, -1743 denied, -1744 not yet
    /// asked (the first script or permission request with asking shows the prompt).
    void setAutomationStatus(int status);
    /// What the user answers at the Automation prompt.
    void setAutomationPromptGrants(bool grants);
    int automationPrompts() const;
    void setScriptCreationFails(bool fails);
    /// The next script runs fail with this error number and message (-1712 is a time-out).
    void queueScriptFailure(int errorNumber, const std::string& message);
    void setEventSourceFails(bool fails);

    // ----- processes and services

    /// Makes an executable path missing, so that running it fails to start.
    void setExecutableMissing(const std::string& path, bool missing);
    /// The next "/bin/launchctl" run with this first argument answers as given (queued, used once).
    void queueLaunchctlResult(const std::string& subcommand, int status, const std::string& out,
                              const std::string& err);
    /// Whether launchctl has the service target ("gui/<uid>/<label>") loaded.
    bool launchctlServiceLoaded(const std::string& serviceTarget) const;

    /// The login-item service's status for the program (values of `SMAppService::Status`).
    void setLoginItemStatus(int status);
    /// What `registerService` leads to: the status afterwards, or an error it throws (the status
    /// then stays).
    void setLoginItemRegisterOutcome(int statusAfter, std::optional<std::string> error = {});
    /// An error `unregister` throws (none: it succeeds and the status becomes not registered).
    void setLoginItemUnregisterError(std::optional<std::string> error);
    int loginItemStatus() const;
    /// How the update framework's cycles end: 0 no update, 1 a valid update found, 2 aborted with
    /// an error; every cycle finishes `seconds` after the check was asked for.
    void setUpdateCycleOutcome(int outcome, double seconds = 0.5);

    // ----- journal

    std::vector<JournalEntry> journal() const;
    std::vector<JournalEntry> journal(JournalEntry::Kind kind) const;
    void clearJournal();

private:
    SimDesktop() = default;
    /// The record store behind both faces (`desktop_detail::currentModel`).
    std::shared_ptr<desktop_detail::DesktopModel> model() const;
};

} // namespace platform

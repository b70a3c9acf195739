#pragma once

#include "platform/desktop/CFValue.hpp"
#include "platform/desktop/Geometry.hpp"
#include "platform/desktop/NSApplicationActivationPolicy.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

/// How a window's Accessibility element tells its window-server number.
enum class AXNumberForm {
    windowNumber, ///< "AXWindowNumber" answers the number
    windowIDOnly, ///< "AXWindowNumber" fails, "AXWindowID" answers the number
    none          ///< neither answers
};

/// The numeric type in which the window list carries "kCGWindowWorkspace".
enum class WorkspaceNumberForm { int32, int64, platformInt, number, absent };

/// The form in which the Space lookup for windows answers.
enum class SpaceAnswerForm {
    uint64Numbers,
    int64Numbers,
    platformIntNumbers,
    numberObjects,
    dictionariesId64,
    dictionariesManagedSpaceID,
    empty
};

/// What an application does when it is asked to come to the front.
enum class ActivationBehaviour {
    immediate, ///< becomes frontmost at once; `activate` answers true
    delayed,   ///< becomes frontmost after `AppSpec::activationDelay`; answers true
    ignored,   ///< answers true but never comes to the front
    refused    ///< answers false and stays where it is
};

/// One display of the control API. Frames are in global coordinates (points, y up from the bottom
/// of the main display).
struct DisplaySpec {
    std::uint32_t displayID = 1;
    std::string name = "Display";
    CGRect frame;
    /// Default: the frame without a 25-point menu bar at its top.
    std::optional<CGRect> visibleFrame;
    double backingScaleFactor = 2.0;
    std::uint32_t vendor = 0;
    std::uint32_t model = 0;
    std::uint32_t serial = 0;
    bool builtin = false;
    /// Mode size answered by the pixel queries. Default: the frame's size.
    std::optional<std::size_t> pixelsWide;
    std::optional<std::size_t> pixelsHigh;
    /// False: the display is online (display queries list it) but has no screen (a mirror).
    bool inScreenList = true;
    /// False: the screen's device description has no "NSScreenNumber".
    bool hasScreenNumber = true;
    /// Replaces the "NSScreenNumber" value (for example a text or a negative number).
    std::optional<CFValue> screenNumberOverride;
    /// Number of Spaces (Desktops) of the display; the first is active.
    int spaces = 1;
};

/// One window of the control API.
struct WindowSpec {
    std::string title;
    /// Global coordinates (points, y up from the bottom of the main display).
    CGRect frame{100, 100, 800, 600};
    /// 1-based Desktop on the display that holds the frame; 0: that display's active Space.
    int desktop = 0;
    std::optional<CGSize> minSize;
    std::optional<CGSize> maxSize;
    bool positionSettable = true;
    bool sizeSettable = true;
    /// Accessibility writes answer success at once and take effect this many seconds later.
    double applyDelay = 0;
    /// The first k position or size writes fail with `kAXErrorCannotComplete` and change nothing.
    int failFirstWrites = 0;
    /// Every position write lands this many points right of and below the requested place.
    double nudge = 0;
    bool minimized = false;
    bool fullScreen = false;
    /// "AXFullScreen" writes fail with `kAXErrorCannotComplete` and change nothing (the System
    /// Events full-screen keystroke still toggles it).
    bool refusesFullScreen = false;
    std::string role = "AXWindow";
    std::optional<std::string> subrole = std::string("AXStandardWindow");
    int layer = 0;
    double alpha = 1.0;
    /// The window list leaves out "kCGWindowName" for this window.
    bool nameHiddenInList = false;
    bool hasZoomButton = true;
    /// Number of tabs answered by "AXTabs"; none: the attribute is unsupported.
    std::optional<int> tabs;
    AXNumberForm numberForm = AXNumberForm::windowNumber;
    /// False: Accessibility does not report the window (it is only in the window list).
    bool inAXList = true;
    /// How many times the application's "AXWindows" lists the window: an application may report
    /// one window more than once (the same element, the same number).
    int axListings = 1;
    /// Shown on every Space.
    bool onAllSpaces = false;
    /// Clicks pass through the window to the window below it (the window server's hit testing
    /// skips it).
    bool ignoresMouseEvents = false;
    /// False: a drag by the title bar does not move the window (the application handles the drag
    /// itself and ignores it).
    bool movesWithTitleBarDrag = true;
    /// Each title-bar move takes effect this many seconds after the pointer moved (the window lags
    /// behind the pointer); 0: at once.
    double titleBarDragLag = 0;
};

/// A window that an application opens some time after it was asked to launch (or to open one).
struct TimedWindow {
    /// Seconds after the request.
    double delay = 0;
    WindowSpec window;
};

/// What an application does on each way of ending it.
struct TerminationSpec {
    bool obeysTerminate = true;
    bool obeysForceTerminate = true;
    bool obeysSIGTERM = true;
    bool obeysSIGKILL = true;
    /// Seconds from an obeyed terminate or force-terminate request to the end of the process.
    double quitDelay = 0.1;
    /// False: signals fail with EPERM (the process belongs to someone else).
    bool signalsPermitted = true;
};

/// One installed application of the control API.
struct AppSpec {
    std::string bundleIdentifier;
    std::optional<std::string> localizedName;
    /// Default: "/Applications/" + name + ".app".
    std::string bundlePath;
    NSApplicationActivationPolicy activationPolicy = NSApplicationActivationPolicy::regular;
    /// Seconds from the launch request until the application has finished launching.
    double launchDelay = 0.5;
    /// The launch request is accepted but the application never appears.
    bool neverStarts = false;
    std::vector<TimedWindow> windowsAtLaunch;
    ActivationBehaviour activation = ActivationBehaviour::immediate;
    double activationDelay = 0.2;
    TerminationSpec termination;
    /// What Command-N, the "New Window" menu item and the System Events keystroke open; none:
    /// the application opens no window that way.
    std::optional<TimedWindow> newWindow;
    /// False: every Accessibility request to the application fails with `kAXErrorCannotComplete`.
    bool axResponds = true;
    /// "AXWindows" lists only the windows on an active Space.
    bool axListsOnlyActiveSpace = false;
    /// "AXWindows" answers an empty list although the application has windows; its focused and
    /// main windows still answer.
    bool axWindowsEmpty = false;
    /// "AXFocusedWindow" answers no value; "AXMainWindow" still answers.
    bool axFocusedWindowMissing = false;
};

} // namespace platform

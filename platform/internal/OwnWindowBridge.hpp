#pragma once

#include "platform/desktop/Geometry.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <sys/types.h>

/// The UI toolkit's link to the simulated window server for the program's own windows and panels:
/// the one path by which they enter, move in and leave the window list.
///
/// Internal to the platform: only platform/ui calls it (a window reports itself whenever it is
/// ordered in or out, moved, resized, faded, re-levelled or closed, and the application when it
/// activates). It is neither app-facing (the system's code sees its windows through
/// `platform::ui::Window` and the window list) nor part of the simulator's control API (tests
/// inspect the outcome with `CGWindowListCopyWindowInfo` or `SimDesktop::allWindows`).
///
/// Frames are in global coordinates (points, y up from the bottom of the main display); the window
/// list shows them in top-left coordinates. Thread-safe; logs nothing; Desktop switches are
/// journalled as the window server's (`JournalEntry::Kind::spaceSwitch`).
namespace platform::OwnWindowBridge {

/// What the window server keeps of one of the program's windows.
struct OwnWindowSpec {
    std::string title;
    CGRect frame;
    int level = 0;
    double alpha = 1.0;
    /// Ordered in (on screen while its Space is active).
    bool visible = true;
    /// Collection behaviour "can join all Spaces": shown on every Space, never switches one.
    bool onAllSpaces = false;
    /// Collection behaviour "move to active Space": a plain order-front brings the window to the
    /// active Space of its display.
    bool moveToActiveSpace = false;
    /// Clicks pass through the window to the window below it.
    bool ignoresMouseEvents = false;
    /// Miniaturized (in the Dock; then also ordered out).
    bool minimized = false;
};

/// How a window is ordered front.
enum class Ordering {
    /// `orderFront`, `orderFrontRegardless`: no Desktop switch.
    plain,
    /// `makeKeyAndOrderFront`: the window's display switches to the window's Desktop.
    makingKey,
};

/// The program's pid: the owner of its windows in the window list.
pid_t programPid();

/// A window number from the window server's sequence, unique among the current desktop's windows.
/// A window of the program takes one when it is created and keeps it.
std::uint32_t newWindowNumber();

/// Brings the window server's record of window `number` up to date: frame, level, alpha, title,
/// Space flags, hit testing and whether it is ordered in (`spec.visible`). A window never ordered
/// in gets no record; a window ordered out stays listed off screen and keeps its Desktop. A frame
/// moved onto another display takes that display's active Space. Numbers that belong to another
/// application's window (a desktop replaced meanwhile) are ignored.
void sync(std::uint32_t number, const OwnWindowSpec& spec);

/// Orders window `number` in (as `spec`, which is then visible) in front of the other windows of
/// its layer, following the window server's rules for Desktops:
/// - the first time (or again after `remove`) the record is made on the active Space of the
///   display that holds most of its frame;
/// - a window that can join all Spaces is shown wherever the displays stand, and never switches;
/// - `Ordering::makingKey`: when the window stands on a Desktop that is not active, its display
///   switches to that Desktop, whatever its other flags say (also with "move to active Space",
///   and also for a window that was ordered out: it goes back to the Desktop it was on);
/// - `Ordering::plain`: a window that was ordered out, or that has "move to active Space", joins
///   the active Space of its display; a window still ordered in on another Desktop stays there.
void orderFront(std::uint32_t number, const OwnWindowSpec& spec, Ordering ordering);

/// The number of the program's window that a click at `location` (global points, y up) lands on,
/// by the window server's hit testing (`SimDesktop::windowAt`); none when the click lands on
/// another application's window or on none.
std::optional<std::uint32_t> ownWindowAt(const CGPoint& location);

/// The user zoomed window `number` (its zoom button): the window server's zoom rule for every
/// window (`AXPress` on another application's zoom button), which toggles between the visible
/// frame of the window's display and the frame the window had before. Returns the frame the
/// window is to take; none when the window has no record on screen. The toolkit's window then
/// takes the frame itself (`Window::setFrame`), which brings the record up to date.
std::optional<CGRect> zoom(std::uint32_t number);

/// Drops the window from the list (the window was closed); its record stays, marked closed.
void remove(std::uint32_t number);

/// Forgets a destroyed window's record altogether: nothing can show it again, and a program that
/// makes and destroys windows all day keeps the desktop's records from growing.
void discard(std::uint32_t number);

/// The window server moved window `number` to `frame` (its display was unplugged): the toolkit's
/// window takes that frame, on the main thread (at once when called there, else through the main
/// queue). Unknown numbers are ignored.
void windowServerMoved(std::uint32_t number, const CGRect& frame);

/// The program has terminated: it leaves the running applications (the workspace posts its
/// did-terminate notification), its window records close and the next application comes forward.
void endProgram();

/// Makes the program the frontmost application. When it was not, the workspace posts its
/// did-activate notification with the program as the application.
void activateProgram();

/// The program stopped being the frontmost application (another one came to the front, or a click
/// landed on the desktop outside every window): its application object resigns active, so its key
/// window resigns key, as the toolkit does when its application is deactivated. Runs on the main
/// thread: at once when called there, else through the main queue. The desktop calls it once its
/// lock is released.
void programLeftFront();

} // namespace platform::OwnWindowBridge

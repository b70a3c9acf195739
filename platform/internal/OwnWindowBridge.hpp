#pragma once

#include "platform/control/DesktopSpecs.hpp"

#include <cstdint>
#include <sys/types.h>

/// The UI toolkit's link to the simulated window server for the program's own windows and panels.
///
/// Internal to the platform: only platform/ui calls it (a window reports itself whenever it is
/// ordered in or out, moved, resized, faded, re-levelled or closed). It is neither app-facing (the
/// system's code sees its windows through `platform::ui::Window` and the window list) nor part of
/// the simulator's control API (tests inspect the outcome with `CGWindowListCopyWindowInfo` or
/// `SimDesktop::allWindows`).
///
/// Frames are in global coordinates (points, y up from the bottom of the main display); the window
/// list shows them in top-left coordinates. Thread-safe; logs nothing.
namespace platform::OwnWindowBridge {

/// The program's pid: the owner of its windows in the window list.
pid_t programPid();

/// A window number from the window server's sequence, unique among the current desktop's windows.
/// A window of the program takes one when it is created and keeps it.
std::uint32_t newWindowNumber();

/// Brings the window server's record of window `number` up to date: frame, level, alpha, title,
/// all-Spaces flag and whether it is ordered in (`spec.visible`). The first time a window is
/// ordered in (or again after `remove`) the record is made, on the active Space of the display
/// that holds most of its frame, in front of its layer; a window ordered in again after being
/// ordered out joins that display's active Space. A window never ordered in gets no record, and
/// a window ordered out stays listed off screen. Numbers that belong to another application's
/// window (a desktop replaced meanwhile) are ignored.
void sync(std::uint32_t number, const OwnWindowSpec& spec);

/// Puts a listed window in front of the other windows of its layer.
void orderFront(std::uint32_t number);

/// Drops the window from the list (the window was closed or destroyed).
void remove(std::uint32_t number);

} // namespace platform::OwnWindowBridge

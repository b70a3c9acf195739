#pragma once

#include "snapshots/AppRestoreContext.hpp"

#include "platform/desktop/NSRunningApplication.hpp"

#include <optional>

namespace tilmora::WindowManager {

/// Restores the windows of one application of a snapshot: waits up to 2 s for the application
/// when none is given (gone: ERROR "App not running for restore: <bundle>" and the identifier goes
/// to the failure list), fetches its windows, asks it for missing ones (Terminal, VSCode and Chrome
/// only), then per saved row in order (by ascending Space when the desktop is switched per Space):
/// chooses the target screen and rectangle (the row's own engine placement when its display is
/// present, else the remap, else the screen resolution), picks a live window not used yet, sets
/// its frame with verify and retry, returns it to its saved Space, raises it when asked and logs
/// the result. A row that cannot be placed is logged and skipped; it never fails the restore.
///
/// Leaves `context.group` exactly once, on every path (an exception thrown on the way is logged as
/// ERROR "Restore of <bundle> stopped: <reason>" and ends the application's work). Runs on a
/// background queue and blocks it while it waits (virtual clock in tests). Lines are
/// `WindowManager` lines (verbose only); the Space lines go through the context's log session.
void restoreAppWindows(std::optional<platform::NSRunningApplication> app, const AppRestoreContext& context);

} // namespace tilmora::WindowManager

#pragma once

/// The simulator's control of `NSWorkspace` beyond the desktop: answers it gives that the desktop
/// does not decide. Changes last until `SharedInstances::resetAll`. Tests and the desktop console
/// only. Any thread.
namespace platform::WorkspaceControl {

/// While true, `NSWorkspace::openURL` opens nothing and answers false for every URL (journalled
/// with result -1 and the detail "opening failed").
void setOpenURLFails(bool fails);

} // namespace platform::WorkspaceControl

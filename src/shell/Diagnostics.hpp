#pragma once

#include "shell/AppDelegate.hpp"

namespace tilmora {

class RoriDeru;

/// The built-in self-test of the running program: gap geometry of snapped rectangles on a
/// 1440 x 900 point frame, the default chords of the six application commands, the snapping
/// switch and the chord hints of the status menu. It writes test values into the live settings
/// and chord store while it runs and puts the user's own values back afterwards (the six gap and
/// edge settings, the registration markers, every stored chord, the snapping switch, the
/// monitoring and the menu's one-shot suppress flag). Main thread.
namespace Diagnostics {

/// The snap grid under test: `RoriDeru::shared()` until the shell's launch publishes its own.
RoriDeru& roriDeru();
void setRoriDeru(RoriDeru* grid);

/// Runs every check in order; `shell` builds the status menu that is read (and not kept).
AppDelegate::DiagnosticsResult run(AppDelegate& shell);

} // namespace Diagnostics

} // namespace tilmora

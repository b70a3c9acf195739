#pragma once

#include "shell/AppDelegate.hpp"

#include <functional>

namespace tilmora {

class RoriDeru;

/// The built-in self-test of the running program: gap geometry of snapped rectangles on a
/// 1440 x 900 point frame, the default chords of the six application commands, the snapping
/// switch and the chord hints of the status menu. The six commands' chords are cleared and
/// registered again with their per-name registration markers set aside, so a healthy installation
/// passes every check after its first launch too. It writes test values into the live settings
/// and chord store while it runs and puts the user's own values back afterwards (the six gap and
/// edge settings, the registration markers, every stored chord, the snapping switch, the
/// monitoring and the menu's one-shot suppress flag). Main thread.
namespace Diagnostics {

/// The snap grid under test: `RoriDeru::shared()` until the shell's launch publishes its own.
RoriDeru& roriDeru();
void setRoriDeru(RoriDeru* grid);

/// The gap arithmetic the geometry checks measure: a rectangle and the visible frame (points, the
/// grid's own space) to the gapped rectangle. `RoriDeru::applyGaps` with the settings the user
/// defaults hold at the call, unless a build of the grid with its own arithmetic installs another;
/// nullptr puts the grid's arithmetic back.
using GapArithmetic = std::function<Rect(const Rect& rect, const Rect& visible)>;
void setGapArithmetic(GapArithmetic arithmetic);

/// Runs every check in order; `shell` builds the status menu that is read (and not kept).
AppDelegate::DiagnosticsResult run(AppDelegate& shell);

} // namespace Diagnostics

} // namespace tilmora

#pragma once

#include "model/Rect.hpp"
#include "platform/desktop/NSScreen.hpp"

#include <optional>

namespace tilmora {

/// The screens as the snap grid sees them: the frame snapping uses on a screen and the screen a
/// rectangle belongs to. Reads the screen list anew on every call; holds no state. Rectangles are
/// in global coordinates, points, y up. Main thread (the snap grid's callers); logs nothing.
namespace SnapScreens {

/// The frame that snapping uses on `screen`: its visible frame, narrowed by the Stage Manager
/// reserve when it is the primary screen (the first of the screen list) and the settings ask for
/// it.
Rect adjustedVisibleFrame(const platform::NSScreen& screen);

/// The screen that `rect` mostly lies on: the first of the screen list whose visible frame has the
/// largest intersection area with it; the first screen when it overlaps none (a single screen is
/// therefore always the answer); none without screens.
std::optional<platform::NSScreen> screenForRect(const Rect& rect);

} // namespace SnapScreens

} // namespace tilmora

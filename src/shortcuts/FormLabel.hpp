#pragma once

#include "platform/ui/declarative/Elements.hpp"

namespace tilmora::GlobalShortcuts {

/// The custom horizontal alignment that lines up the controls of form-label rows (its default is
/// the centre).
inline constexpr const char* controlAlignment = "controlAlignment";

/// A form row: `label`, then `view` with its own labels hidden, in a horizontal stack aligned on the
/// first text baseline. The view's leading edge is the row's `controlAlignment` guide and the row
/// reports that guide as its leading edge, so rows stacked on `controlAlignment` share one line for
/// their controls whatever their labels' widths. Main thread.
platform::ui::declarative::Element formLabel(platform::ui::declarative::Element view,
                                             platform::ui::declarative::Element label);

} // namespace tilmora::GlobalShortcuts

#pragma once

#include "platform/ui/Responder.hpp"
#include "shell/commands/WindowCommandContext.hpp"

#include <cstdint>

namespace tilmora {

/// The grid-preset commands: a preset chosen in the status menu, in the snap bar's pop-up or by
/// its chord, applied on the layout target screens of the chosen screen (or switched off where it
/// is already active). Main thread.
class GridPresetCommands {
public:
    /// Over `context`, which outlives the commands (one command per full expression).
    explicit GridPresetCommands(const WindowCommandContext& context)
        : c_(context) {}

    /// The preset a menu item carries: switched off where it is active, else applied; the layout
    /// memory captures the result.
    void selectGridPreset(platform::ui::Responder* sender);
    /// The same for the item chosen in the snap bar's pop-up (switching off is not captured).
    void selectGridPresetFromPopup(platform::ui::Responder* sender);
    /// Applies a `rows` × `cols` preset without gutter or padding (at least one of each) and
    /// rebuilds the status menu.
    void selectGridViaShortcut(std::int64_t rows, std::int64_t cols);

private:
    const WindowCommandContext& c_;
};

} // namespace tilmora

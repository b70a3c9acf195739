#pragma once

#include "platform/ui/View.hpp"

namespace platform::ui {

/// A container that stands for a translucent material behind its content. Rendering aside, it is
/// a plain view with its material, blending mode and state.
class VisualEffectView : public View {
public:
    enum class Material {
        titlebar = 3,
        selection = 4,
        menu = 5,
        popover = 6,
        sidebar = 7,
        headerView = 10,
        sheet = 11,
        windowBackground = 12,
        hudWindow = 13,
        fullScreenUI = 15,
        toolTip = 17,
        contentBackground = 18,
        underWindowBackground = 21,
        underPageBackground = 22
    };
    enum class BlendingMode { behindWindow = 0, withinWindow = 1 };
    enum class State { followsWindowActiveState = 0, active = 1, inactive = 2 };

    using View::View;
    Material material = Material::windowBackground;
    BlendingMode blendingMode = BlendingMode::behindWindow;
    State state = State::followsWindowActiveState;
};

} // namespace platform::ui

#pragma once

#include "platform/ui/Window.hpp"

namespace platform::ui {

/// A panel: a window for auxiliary content. A non-activating panel (style bit 128) never
/// activates the application when it is ordered in or clicked.
class Panel : public Window {
public:
    using Window::Window;
    bool becomesKeyOnlyIfNeeded = false;
    bool isFloatingPanel = false;
    bool worksWhenModal = false;
};

} // namespace platform::ui

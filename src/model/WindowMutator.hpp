#pragma once

#include "model/Rect.hpp"
#include "model/WindowId.hpp"

namespace tilmora {

/// Changes other applications' windows.
class WindowMutator {
public:
    virtual ~WindowMutator() = default;

    /// Moves and resizes the window so that its frame becomes `frame`, given in the global desktop
    /// space (points, origin at the bottom left of the primary screen, y up; the space of
    /// `DisplayDescriptor::bounds`). The position is set before the size. A window that cannot be
    /// found or changed is left alone without a report. Returns when done. Main thread.
    virtual void moveAndResize(const WindowId& windowId, const Rect& frame) = 0;
};

} // namespace tilmora

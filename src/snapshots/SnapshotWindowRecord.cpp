#include "snapshots/SnapshotWindowRecord.hpp"

#include "snapshots/SavedDisplayIdentity.hpp"

namespace tilmora {

SnapshotWindowRecord::SnapshotWindowRecord(const WindowAttributes& window)
    : xPosition(window.xPosition)
    , yPosition(window.yPosition)
    , width(window.width)
    , height(window.height)
    , bundleIdentifier(window.bundleIdentifier) {
    const auto origin = WindowManager::savedOrigin(window.windowID);
    originalFrame = platform::CGRect{static_cast<double>(origin.x), static_cast<double>(origin.y),
                                     window.originalScreenWidth, window.originalScreenHeight};
}

} // namespace tilmora

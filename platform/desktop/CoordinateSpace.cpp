#include "platform/desktop/CoordinateSpace.hpp"

#include "platform/desktop/CGDisplay.hpp"

namespace platform {

double mainDisplayHeight() {
    const CGDirectDisplayID main = CGMainDisplayID();
    if (main == 0) return 0;
    return CGDisplayBounds(main).height();
}

CGRect globalToTopLeft(const CGRect& global) {
    return flipRect(global, mainDisplayHeight());
}

CGRect topLeftToGlobal(const CGRect& topLeft) {
    return flipRect(topLeft, mainDisplayHeight());
}

} // namespace platform

#pragma once

#include "platform/ui/Menu.hpp"

namespace platform::ui {

/// A menu-tracking session: the delegate's will-open, the begin-tracking notification, the main run
/// loop in event-tracking mode while the user chooses (the simulator's menu picker decides), then
/// did-close and end-tracking; finally the picked item's action is sent with a mouse-up as the
/// current event. One session at a time; a nested request is refused. Main thread only.
class MenuTracking {
public:
    /// Tracks `menu`; true when an item was picked (and its action sent).
    static bool track(const std::shared_ptr<Menu>& menu);
    static bool isTracking();
    /// The menu being tracked; null outside a session.
    static Menu* trackedMenu();
};

} // namespace platform::ui

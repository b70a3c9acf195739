#pragma once

#include "platform/desktop/NSScreen.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "snapping/RoriDeru.hpp"

#include <optional>
#include <vector>

namespace tilmora {

/// Which screen a window command, the status menu or a layout change acts on, read from the
/// pointer, the frontmost window, the snap grid's scope and the switches. Main thread.
class ScreenChoice {
public:
    ScreenChoice(RoriDeru& grid, const platform::UserDefaults& defaults)
        : grid_(grid)
        , defaults_(defaults) {}

    /// The screen a window command acts on: the one under the pointer when
    /// `settings::useCursorDisplay` is a stored true and one holds it, else the frontmost
    /// window's, else the main, else the first.
    std::optional<platform::NSScreen> forSnapping() const;
    /// `forSnapping` with the frontmost window already read (commands that need the window anyway
    /// read it once).
    std::optional<platform::NSScreen> forSnapping(const std::optional<RoriDeru::KeyAndRect>& front) const;
    /// The screen the status menu describes: `preferredScreen`, else the one under the pointer,
    /// else `forSnapping()`, else the main, else the first.
    std::optional<platform::NSScreen> menuContext(const std::optional<platform::NSScreen>& preferredScreen) const;
    /// The screens a layout change applies to: all in all-displays scope, else one.
    std::vector<platform::NSScreen> layoutTargets(const std::optional<platform::NSScreen>& preferredScreen) const;

    /// The first screen whose frame holds the pointer; none when no screen does.
    static std::optional<platform::NSScreen> underPointer();
    /// The main screen, else the first; none without screens.
    static std::optional<platform::NSScreen> mainOrFirst();

private:
    RoriDeru& grid_;
    const platform::UserDefaults& defaults_;
};

} // namespace tilmora

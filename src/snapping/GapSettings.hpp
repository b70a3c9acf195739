#pragma once

#include "model/Rect.hpp"

namespace platform {
class UserDefaults;
}

namespace tilmora {

/// The gap settings of the snap placements as read at one moment: the horizontal and vertical gaps
/// (points, never negative or NaN), the four screen-edge switches (a side on the visible frame's
/// edge takes half a gap only when its switch is on) and whether the whole-frame kinds take gaps.
struct GapSettings {
    double horizontal = 0;
    double vertical = 0;
    bool left = false;
    bool right = false;
    bool top = false;
    bool bottom = false;
    bool applyToMaximize = false;

    friend bool operator==(const GapSettings&, const GapSettings&) = default;

    /// Reads the settings from the standard user defaults (or `defaults`), anew on every call; the
    /// one reader of the gap settings:
    /// - `settings::gapSize`: a stored number (a value of any other kind, a Boolean included,
    ///   counts as absent; absent 0);
    /// - `settings::gapHorizontal`, `settings::gapVertical`: a stored number, else the value of
    ///   `settings::gapSize`; an explicit 0 overrides a non-zero `settings::gapSize` for that
    ///   direction;
    /// - `settings::gapsIncludeScreenEdges` turns on all four edge switches; `settings::gapsEdgesLeft`,
    ///   `settings::gapsEdgesRight`, `settings::gapsEdgesTop` and `settings::gapsEdgesBottom` turn on one
    ///   each;
    /// - `settings::applyGapsToMaximize`.
    /// A negative or NaN gap reads as 0. The switches count only when stored (or registered) as
    /// Booleans: any other kind of value, the text "YES" or a number 1 included, reads as absent
    /// (off). Registered defaults count as stored. Any thread (the user defaults are thread-safe);
    /// logs nothing.
    static GapSettings current();
    static GapSettings current(const platform::UserDefaults& defaults);

    /// The largest gap a placement in the frame `visible` takes: a quarter of the frame's smaller
    /// side (0 for an empty or non-finite frame), so that every tile, down to a quarter column,
    /// keeps a positive size whatever number the settings hold.
    static double largestGap(const Rect& visible);
    /// These settings with each gap lowered to `largestGap(visible)`; ordinary gaps (the
    /// preferences' 0 to 24 points on any screen) come back unchanged.
    GapSettings limitedTo(const Rect& visible) const;
};

} // namespace tilmora

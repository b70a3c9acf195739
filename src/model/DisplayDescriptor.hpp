#pragma once

#include "model/DisplayId.hpp"
#include "model/Rect.hpp"

#include <string>

namespace tilmora {

/// Describes one connected screen.
/// JSON: {"id": DisplayId, "name": string, "bounds": Rect, "scaleFactor": number}.
struct DisplayDescriptor {
    /// The display key.
    DisplayId id;
    /// The screen's localized name.
    std::string name;
    /// The screen's visible frame in the global desktop space: points, origin at the bottom left of
    /// the primary screen, y upwards.
    Rect bounds;
    /// The screen's backing scale factor (pixels per point).
    double scaleFactor;

    bool operator==(const DisplayDescriptor&) const = default;
};

platform::Json toJson(const DisplayDescriptor& display);
DisplayDescriptor fromJson(const platform::Json& json, std::type_identity<DisplayDescriptor>);

} // namespace tilmora

#pragma once

#include "model/DisplayId.hpp"
#include "model/Rect.hpp"

#include <optional>
#include <string>

namespace tilmora {

/// One saved window of a snapshot definition. Not validated.
/// JSON: {"bundleIdentifier": string, "windowTitlePattern": string, "displayId": DisplayId,
/// "normalizedFrame": Rect}, each optional key left out when absent (null reads as absent).
struct SnapshotWindowMapping {
    /// Bundle identifier of the window's application; empty when the application has none.
    std::string bundleIdentifier;
    /// The saved window title; absent when the window had no title.
    std::optional<std::string> windowTitlePattern;
    /// The display the window was on (its decimal display number); absent when none was recorded.
    std::optional<DisplayId> displayId;
    /// The window's frame as fractions of its display, as the snapshot subsystem computes them;
    /// absent when no frame was recorded.
    std::optional<Rect> normalizedFrame;

    bool operator==(const SnapshotWindowMapping&) const = default;
};

platform::Json toJson(const SnapshotWindowMapping& mapping);
SnapshotWindowMapping fromJson(const platform::Json& json, std::type_identity<SnapshotWindowMapping>);

} // namespace tilmora

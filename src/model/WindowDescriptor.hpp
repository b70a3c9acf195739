#pragma once

#include "model/DisplayId.hpp"
#include "model/Rect.hpp"
#include "model/WindowId.hpp"

#include <optional>
#include <string>

namespace tilmora {

/// Describes one window of another application, as its producer (the snapshot subsystem) captured it.
/// JSON: {"id": WindowId, "bundleIdentifier": string, "windowTitle": string,
/// "currentDisplayId": DisplayId (left out when absent; null reads as absent), "currentFrame": Rect,
/// "isMinimized": bool, "isFullscreen": bool}.
struct WindowDescriptor {
    WindowId id;
    /// Bundle identifier of the owning application.
    std::string bundleIdentifier;
    std::string windowTitle;
    /// The display the window is on; absent when none is known.
    std::optional<DisplayId> currentDisplayId;
    /// The window's frame as its producer captured it.
    Rect currentFrame;
    bool isMinimized;
    bool isFullscreen;

    bool operator==(const WindowDescriptor&) const = default;
};

platform::Json toJson(const WindowDescriptor& window);
WindowDescriptor fromJson(const platform::Json& json, std::type_identity<WindowDescriptor>);

} // namespace tilmora

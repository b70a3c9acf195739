#pragma once

#include "model/Rect.hpp"
#include "model/ScreenInfo.hpp"

#include "platform/foundation/JsonCoding.hpp"

#include <cstdint>
#include <optional>
#include <string>

namespace tilmora {

/// One connected screen as it survives restarts: its display number and its size in pixels.
///
/// Equality and hashing cover all three fields. JSON: {"displayID": N, "width": N, "height": N},
/// "displayID" left out when the screen has no number.
struct DisplaySignature {
    /// The screen's display number; none when the screen has none.
    std::optional<std::uint32_t> displayID;
    /// Width of the screen's frame in pixels.
    std::int64_t width = 0;
    /// Height of the screen's frame in pixels.
    std::int64_t height = 0;

    /// The signature of a screen; none when its frame has a width or height that is not greater
    /// than 0 (or not finite).
    static std::optional<DisplaySignature> fromScreen(const ScreenInfo& screen);

    /// Pixel size of one side of a screen: `points` times the larger of `scale` and 1, rounded
    /// half away from zero.
    static std::int64_t pixels(double points, double scale);

    /// The display number in decimal (or "unknown"), "-", the width, "x" and the height, as in
    /// "1-2880x1800" or "unknown-1920x1080".
    std::string persistenceKeySegment() const;

    friend bool operator==(const DisplaySignature&, const DisplaySignature&) = default;
};

platform::Json toJson(const DisplaySignature& signature);
/// Throws `platform::Error` when "width" or "height" is missing or not an integer, or when
/// "displayID" is present but not an unsigned 32-bit integer.
DisplaySignature fromJson(const platform::Json& json, std::type_identity<DisplaySignature>);

} // namespace tilmora

template <>
struct std::hash<tilmora::DisplaySignature> {
    std::size_t operator()(const tilmora::DisplaySignature& signature) const noexcept;
};

#pragma once

#include <optional>
#include <string_view>

namespace tilmora::WindowManager {

/// Why a saved window was sent to a display during a restore.
enum class MatchReason {
    /// A present screen carries the saved display number.
    id,
    /// A present screen's visible frame equals the saved visible frame within 2.0 points.
    boundsExact,
    /// Neither of the above: the screen nearest in size.
    closestSize,
    /// The screen remap sends the saved display to this screen.
    remap,
};

/// The raw value of a reason: "ID", "BoundsExact", "ClosestSize" or "Remap".
std::string_view rawValue(MatchReason reason);

/// The reason whose raw value is exactly `text` (case matters); none for any other text.
std::optional<MatchReason> matchReasonFromRawValue(std::string_view text);

} // namespace tilmora::WindowManager

#pragma once

#include "platform/foundation/Date.hpp"

#include <optional>
#include <string>
#include <string_view>

namespace platform {

/// Dates as ISO 8601 text with the default options: UTC, whole seconds, "2025-01-02T03:04:05Z".
/// Any thread.
class ISO8601DateFormatter {
public:
    /// A date that is not finite or lies beyond any calendar reads as "1970-01-01T00:00:00Z".
    static std::string string(Date date);
    /// The date of such a text; none for any other text.
    static std::optional<Date> date(std::string_view text);
};

} // namespace platform

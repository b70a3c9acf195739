#include "shell/GridPresetLogText.hpp"

#include "platform/foundation/Text.hpp"

#include <cmath>
#include <cstdint>

namespace tilmora::GridPresetLogText {

std::string wholeNumber(double value) {
    // 2^63 is exactly representable; every double below it in magnitude truncates into range.
    constexpr double limit = 9223372036854775808.0;
    if (std::isfinite(value) && value >= -limit && value < limit) {
        return std::to_string(static_cast<std::int64_t>(value));
    }
    return platform::Text::doubleDescription(value);
}

} // namespace tilmora::GridPresetLogText

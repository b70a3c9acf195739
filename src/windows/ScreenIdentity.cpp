#include "windows/ScreenIdentity.hpp"

#include "model/SystemScreenSource.hpp"
#include "platform/foundation/Text.hpp"

#include <cmath>
#include <limits>
#include <type_traits>
#include <variant>

namespace tilmora {

namespace {

/// The "NSScreenNumber" entry of a screen's device description, if any.
std::optional<platform::CFValue> screenNumberEntry(const platform::NSScreen& screen) {
    const auto& description = screen.deviceDescription();
    const auto it = description.find("NSScreenNumber");
    if (it == description.end()) return std::nullopt;
    return it->second;
}

/// The entry as an exact integer, with whether it is exact; none when it is no number.
struct NumberReading {
    /// The value truncated toward zero into the signed or unsigned 64-bit range.
    std::optional<std::int64_t> signedValue;
    std::optional<std::uint64_t> unsignedValue;
    bool integral = false;
};

std::optional<NumberReading> readNumber(const platform::CFValue& value) {
    return std::visit(
        [](const auto& held) -> std::optional<NumberReading> {
            using T = std::decay_t<decltype(held)>;
            NumberReading reading;
            if constexpr (std::is_same_v<T, std::int32_t> || std::is_same_v<T, std::int64_t>) {
                reading.signedValue = static_cast<std::int64_t>(held);
                reading.integral = true;
                return reading;
            } else if constexpr (std::is_same_v<T, std::uint64_t>) {
                reading.unsignedValue = held;
                reading.integral = true;
                return reading;
            } else if constexpr (std::is_same_v<T, platform::CFValue::PlatformInt>) {
                reading.signedValue = held.value;
                reading.integral = true;
                return reading;
            } else if constexpr (std::is_same_v<T, double> || std::is_same_v<T, platform::CFValue::Number>) {
                double v = 0;
                if constexpr (std::is_same_v<T, double>) {
                    v = held;
                } else {
                    v = held.value;
                }
                if (!std::isfinite(v)) return std::nullopt;
                const double truncated = std::trunc(v);
                // 2^63 is exactly representable; values at or beyond it do not fit.
                if (truncated >= 9223372036854775808.0 || truncated < -9223372036854775808.0)
                    return std::nullopt;
                reading.signedValue = static_cast<std::int64_t>(truncated);
                reading.integral = truncated == v;
                return reading;
            } else {
                return std::nullopt;
            }
        },
        value.storage());
}

} // namespace

std::optional<std::uint32_t> tlm_displayID(const platform::NSScreen& screen) {
    const auto entry = screenNumberEntry(screen);
    if (!entry) return std::nullopt;
    const auto reading = readNumber(*entry);
    if (!reading || !reading->integral) return std::nullopt;
    constexpr auto max = std::numeric_limits<std::uint32_t>::max();
    if (reading->unsignedValue) {
        if (*reading->unsignedValue > max) return std::nullopt;
        return static_cast<std::uint32_t>(*reading->unsignedValue);
    }
    if (*reading->signedValue < 0 || *reading->signedValue > static_cast<std::int64_t>(max))
        return std::nullopt;
    return static_cast<std::uint32_t>(*reading->signedValue);
}

std::optional<std::uint32_t> screenNumberValue(const platform::NSScreen& screen) {
    return SystemScreenSource::displayIdentifierValue(screen);
}

std::string tlm_identifierString(const platform::NSScreen& screen) {
    if (const auto number = screenNumberValue(screen)) return std::to_string(*number);
    const auto origin = screen.frame().origin;
    return screen.localizedName() + "-" + platform::Text::doubleDescription(origin.x) + "-" +
           platform::Text::doubleDescription(origin.y);
}

} // namespace tilmora

#include "snapping/SnapDefaults.hpp"

#include "platform/foundation/UserDefaults.hpp"

namespace tilmora::SnapDefaults {

std::optional<bool> storedBoolean(const std::string& key) {
    const auto value = platform::UserDefaults::standard().objectForKey(key);
    const bool* stored = value ? value->asBool() : nullptr;
    if (!stored) return std::nullopt;
    return *stored;
}

bool flag(const std::string& key, bool fallback) {
    return storedBoolean(key).value_or(fallback);
}

bool layoutAppliesToAllScreens() {
    return flag("WMGridAllDisplays", false);
}

bool verboseLogging() {
    return flag("WMVerboseLogging", false);
}

bool overlayDebug() {
    return flag("WMOverlayDebug", false);
}

} // namespace tilmora::SnapDefaults

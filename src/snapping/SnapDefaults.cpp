#include "snapping/SnapDefaults.hpp"

#include "model/Settings.hpp"

#include "platform/foundation/UserDefaults.hpp"

namespace tilmora::SnapDefaults {

bool flag(const std::string& key, bool fallback) {
    return settings::storedBool(key).value_or(fallback);
}

bool layoutAppliesToAllScreens() {
    return flag(settings::gridAllDisplays.key, false);
}

bool verboseLogging() {
    return flag(settings::verboseLogging.key, false);
}

bool overlayDebug() {
    return flag(settings::overlayDebug.key, false);
}

} // namespace tilmora::SnapDefaults

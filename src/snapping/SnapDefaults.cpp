#include "snapping/SnapDefaults.hpp"

#include "model/Settings.hpp"

namespace tilmora::SnapDefaults {

bool layoutAppliesToAllScreens() {
    return settings::read(settings::gridAllDisplays);
}

bool verboseLogging() {
    return settings::read(settings::verboseLogging);
}

bool overlayDebug() {
    return settings::read(settings::overlayDebug);
}

} // namespace tilmora::SnapDefaults

#include "windows/StageIntegration.hpp"

#include "platform/foundation/UserDefaults.hpp"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string>

namespace tilmora::StageIntegration {

namespace {

/// Window-list options: on-screen windows only, desktop elements excluded.
constexpr unsigned windowListOptions = 1u | 16u;

std::string lowercased(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

bool isStageManagerActive() {
    auto& defaults = platform::UserDefaults::standard();
    if (defaults.boolForKey("WMMockStageManagerActive")) return true;
    if (!defaults.boolForKey("WMAutoDetectStageManager")) return false;
    platform::UserDefaults suite("com.apple.WindowManager");
    if (suite.objectForKey("GloballyEnabled")) return suite.boolForKey("GloballyEnabled");
    if (suite.objectForKey("EnableStageManager")) return suite.boolForKey("EnableStageManager");
    return false;
}

bool isMissionControlLikelyActive() {
    if (platform::UserDefaults::standard().boolForKey("WMMockMissionControlActive")) return true;
    // WINDOW LIST: filled in when the desktop lands.
    (void)windowListOptions;
    (void)lowercased;
    return false;
}

Rect effectiveVisibleFrame(const Rect& original, bool isPrimary) {
    auto& defaults = platform::UserDefaults::standard();
    if (!defaults.boolForKey("WMIntegrateStageManager") || !isPrimary || !isStageManagerActive())
        return original;
    const auto stored = defaults.objectForKey("WMStageReserveLeftWidth");
    const auto reserve = stored ? stored->numberValue() : std::nullopt;
    if (!reserve || !std::isfinite(*reserve) || !(*reserve > 0)) return original;
    Rect frame = original;
    frame.x = original.x + *reserve;
    frame.width = std::max(original.width - *reserve, 1.0);
    return frame;
}

} // namespace tilmora::StageIntegration

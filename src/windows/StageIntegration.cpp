#include "windows/StageIntegration.hpp"

#include "model/Settings.hpp"

#include "platform/desktop/WindowList.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/input/ProcessInfo.hpp"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string>

namespace tilmora::StageIntegration {

namespace {

std::string lowercased(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

bool isStageManagerActive() {
    auto& defaults = platform::UserDefaults::standard();
    if (defaults.boolForKey(settings::mockStageManagerActive.key)) return true;
    // Stage Manager first shipped with macOS 13; older systems never report it.
    if (!platform::ProcessInfo::processInfo().isOperatingSystemAtLeast({13, 0, 0})) return false;
    if (!defaults.boolForKey(settings::autoDetectStageManager.key)) return false;
    platform::UserDefaults suite("com.apple.WindowManager");
    if (suite.objectForKey("GloballyEnabled")) return suite.boolForKey("GloballyEnabled");
    if (suite.objectForKey("EnableStageManager")) return suite.boolForKey("EnableStageManager");
    return false;
}

bool isMissionControlLikelyActive() {
    if (platform::UserDefaults::standard().boolForKey(settings::mockMissionControlActive.key)) return true;
    const auto windows = platform::CGWindowListCopyWindowInfo(
        platform::kCGWindowListOptionOnScreenOnly | platform::kCGWindowListExcludeDesktopElements,
        platform::kCGNullWindowID);
    if (!windows) return false;
    for (const auto& entry : *windows) {
        const auto* info = entry.asDictionary();
        if (!info) continue;
        const auto owner = info->find(platform::kCGWindowOwnerName);
        const auto name = info->find(platform::kCGWindowName);
        if (owner == info->end() || name == info->end()) continue;
        const auto* ownerText = owner->second.asString();
        const auto* nameText = name->second.asString();
        if (ownerText && nameText && *ownerText == "Dock" &&
            lowercased(*nameText).find("mission control") != std::string::npos) {
            return true;
        }
    }
    return false;
}

Rect effectiveVisibleFrame(const Rect& original, bool isPrimary) {
    auto& defaults = platform::UserDefaults::standard();
    if (!defaults.boolForKey(settings::integrateStageManager.key) || !isPrimary || !isStageManagerActive())
        return original;
    const double reserve = settings::read(defaults, settings::stageReserveLeftWidth);
    // NaN and anything not above 0 count as no reserve; a reserve as wide as the frame or wider
    // (+infinity included) keeps one point, so that the frame's left edge stays inside it.
    if (!(reserve > 0)) return original;
    const double used = std::min(reserve, original.width - 1.0);
    if (!(used > 0)) return original;
    Rect frame = original;
    frame.x = original.x + used;
    frame.width = std::max(original.width - used, 1.0);
    return frame;
}

} // namespace tilmora::StageIntegration

#include "shell/commands/WindowRectMemory.hpp"

#include "model/Log.hpp"
#include "platform/desktop/NSGeometry.hpp"
#include "windows/GeometryBridge.hpp"

namespace tilmora {

void WindowRectMemory::captureBaselineIfNeeded(const std::string& key, const Rect& currentRect) {
    if (baseline_.count(key) != 0) return;
    baseline_[key] = currentRect;
    print("[UI] Stored baseline rect for key=" + key + ": " + platform::NSStringFromRect(toCGRect(currentRect)));
}

void WindowRectMemory::record(const std::string& key, const Rect& currentRect) {
    captureBaselineIfNeeded(key, currentRect);
    last_[key] = currentRect;
}

} // namespace tilmora

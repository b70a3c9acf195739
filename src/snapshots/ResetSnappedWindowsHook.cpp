#include "snapshots/ResetSnappedWindowsHook.hpp"

#include "model/HookRegistry.hpp"

namespace tilmora {

namespace {

const HookRegistry::Registration resetHook("ResetSnappedWindowsHook", [] {
    return ResetSnappedWindowsHook::isInstalled();
});

} // namespace

bool ResetSnappedWindowsHook::run() {
    auto reset = shared().reset_;
    if (!reset) {
        HookRegistry::notePlaceholderUse("ResetSnappedWindowsHook", "snapped windows are not reset");
        return false;
    }
    reset();
    return true;
}

} // namespace tilmora

#include "platform/input/CarbonHotKeys.hpp"

#include "platform/internal/InputState.hpp"

#include <algorithm>

namespace platform {

OSStatus RegisterEventHotKey(UInt32 keyCode, UInt32 modifiers, EventHotKeyID hotKeyID, EventTargetRef target,
                             OptionBits /*options*/, EventHotKeyRef* outRef) {
    if (!target || target != GetEventDispatcherTarget() || !outRef) return paramErr;
    auto& s = input_detail::state();
    const std::uint32_t bits = modifiers & input_detail::kChordBits;
    for (const auto& held : s.heldByOthers) {
        if (held.keyCode == keyCode && held.modifiers == bits) {
            *outRef = EventHotKeyRef{};
            return held.status;
        }
    }
    input_detail::HotKeyEntry entry;
    entry.ref = s.nextHotKeyRef++;
    entry.keyCode = keyCode;
    entry.modifiers = modifiers;
    entry.id = hotKeyID;
    s.hotKeys.push_back(entry);
    *outRef = EventHotKeyRef{entry.ref};
    return noErr;
}

OSStatus UnregisterEventHotKey(EventHotKeyRef hotKey) {
    if (!hotKey) return eventHotKeyInvalidErr;
    auto& s = input_detail::state();
    auto it = std::find_if(s.hotKeys.begin(), s.hotKeys.end(),
                           [&](const input_detail::HotKeyEntry& e) { return e.ref == hotKey.value; });
    if (it == s.hotKeys.end()) return eventHotKeyInvalidErr;
    s.hotKeys.erase(it);
    return noErr;
}

std::string carbonStatusDescription(OSStatus status) {
    switch (status) {
    case noErr:
        return "no error";
    case eventHotKeyExistsErr:
        return "already held by another application";
    case eventHotKeyInvalidErr:
        return "invalid hot key";
    case eventNotHandledErr:
        return "event not handled";
    case eventParameterNotFoundErr:
        return "parameter not found";
    case paramErr:
        return "parameter error";
    default:
        return "error " + std::to_string(status);
    }
}

} // namespace platform

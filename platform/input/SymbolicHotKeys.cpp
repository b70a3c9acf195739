#include "platform/input/SymbolicHotKeys.hpp"

#include "platform/internal/InputState.hpp"

namespace platform {

OSStatus CopySymbolicHotKeys(PropertyValue* outArray) {
    if (!outArray) return paramErr;
    const auto& s = input_detail::state();
    if (s.symbolicStatus != noErr) return s.symbolicStatus;
    if (s.symbolicAnswer) {
        *outArray = *s.symbolicAnswer;
        return noErr;
    }
    PropertyArray list;
    for (const auto& k : s.symbolic) {
        PropertyDictionary d;
        d[kHISymbolicHotKeyEnabled] = PropertyValue(k.enabled);
        d[kHISymbolicHotKeyCode] = PropertyValue(k.keyCode);
        d[kHISymbolicHotKeyModifiers] = PropertyValue(k.modifiers);
        list.emplace_back(std::move(d));
    }
    *outArray = PropertyValue(std::move(list));
    return noErr;
}

} // namespace platform

#include "platform/input/SpecialKey.hpp"

namespace platform {

std::optional<SpecialKey> specialKeyForCharacter(std::uint32_t c) {
    switch (c) {
    case 0x03:
    case 0x08:
    case 0x09:
    case 0x0A:
    case 0x0C:
    case 0x0D:
    case 0x19:
    case 0x7F:
    case 0x2028:
    case 0x2029:
        return static_cast<SpecialKey>(c);
    default:
        break;
    }
    if (c >= 0xF700 && c <= 0xF747) return static_cast<SpecialKey>(c);
    return std::nullopt;
}

const std::set<SpecialKey>& functionSpecialKeys() {
    static const std::set<SpecialKey> keys = [] {
        std::set<SpecialKey> s;
        for (std::uint32_t c = static_cast<std::uint32_t>(SpecialKey::f1);
             c <= static_cast<std::uint32_t>(SpecialKey::f35); ++c) {
            s.insert(static_cast<SpecialKey>(c));
        }
        return s;
    }();
    return keys;
}

} // namespace platform

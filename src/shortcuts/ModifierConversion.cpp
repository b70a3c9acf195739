#include "shortcuts/ModifierConversion.hpp"

namespace tilmora::GlobalShortcuts {

namespace {

using platform::ModifierFlags;

struct Pair {
    ModifierFlags flag;
    std::int64_t carbonBit;
};

constexpr Pair pairs[] = {
    {ModifierFlags::control, 0x1000}, {ModifierFlags::option, 0x800},     {ModifierFlags::shift, 0x200},
    {ModifierFlags::command, 0x100},  {ModifierFlags::function, 0x20000},
};

} // namespace

std::int64_t carbon(ModifierFlags flags) {
    std::int64_t result = 0;
    for (const auto& p : pairs)
        if (flags.contains(p.flag)) result |= p.carbonBit;
    return result;
}

ModifierFlags modifierFlags(std::int64_t carbon) {
    ModifierFlags result;
    for (const auto& p : pairs)
        if ((carbon & p.carbonBit) != 0) result |= p.flag;
    return result;
}

std::int64_t normalizedCarbonModifiers(std::int64_t carbonMask) {
    return carbon(modifierFlags(carbonMask));
}

std::string ks_symbolicRepresentation(ModifierFlags flags) {
    std::string text;
    if (flags.contains(ModifierFlags::control)) text += "\u2303";
    if (flags.contains(ModifierFlags::option)) text += "\u2325";
    if (flags.contains(ModifierFlags::shift)) text += "\u21E7";
    if (flags.contains(ModifierFlags::command)) text += "\u2318";
    if (flags.contains(ModifierFlags::function)) text += "\U0001F310\uFE0E";
    return text;
}

} // namespace tilmora::GlobalShortcuts

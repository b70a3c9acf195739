#include "shortcuts/Name.hpp"

#include "shortcuts/Registry.hpp"

namespace tilmora::GlobalShortcuts {

Name::Name(std::string raw, std::optional<Shortcut> defaultChord)
    : rawValue(std::move(raw))
    , defaultShortcut(defaultChord) {
    auto& registry = Registry::shared();
    if (defaultShortcut && !registry.userDefaultsContains(*this))
        registry.setShortcut(defaultShortcut, *this);
    registry.initialize();
}

std::optional<Shortcut> Name::shortcut() const {
    return getShortcut(*this);
}

void Name::setShortcut(const std::optional<Shortcut>& shortcut) const {
    GlobalShortcuts::setShortcut(shortcut, *this);
}

} // namespace tilmora::GlobalShortcuts

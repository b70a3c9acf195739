#include "shortcuts/Shortcut.hpp"

#include "platform/foundation/Text.hpp"
#include "platform/input/KeyboardLayout.hpp"
#include "platform/input/NSEvent.hpp"
#include "platform/ui/Menu.hpp"
#include "shortcuts/ModifierConversion.hpp"
#include "shortcuts/Registry.hpp"
#include "shortcuts/SpecialKey.hpp"

#include <vector>

namespace tilmora::GlobalShortcuts {

namespace {

using platform::ModifierFlags;

std::vector<char32_t> codePoints(const char16_t* units, std::size_t count) {
    std::vector<char32_t> result;
    for (std::size_t i = 0; i < count; ++i) {
        char32_t c = units[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < count && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD; // a lone surrogate
        }
        result.push_back(c);
    }
    return result;
}

// Marks that join the character before them (combining marks and variation selectors).
bool extendsCharacter(char32_t c) {
    return (c >= 0x0300 && c <= 0x036F) || (c >= 0x1AB0 && c <= 0x1AFF) || (c >= 0x1DC0 && c <= 0x1DFF) ||
           (c >= 0x20D0 && c <= 0x20FF) || (c >= 0xFE00 && c <= 0xFE0F) || (c >= 0xFE20 && c <= 0xFE2F);
}

} // namespace

Shortcut::Shortcut(Key key, ModifierFlags modifiers)
    : carbonKeyCode(key.rawValue)
    , carbonModifiers(normalizedCarbonModifiers(carbon(modifiers))) {}

Shortcut::Shortcut(std::int64_t code, std::int64_t mask)
    : carbonKeyCode(code)
    , carbonModifiers(normalizedCarbonModifiers(mask)) {}

std::optional<Shortcut> Shortcut::fromEvent(const platform::NSEvent& event) {
    if (event.type != platform::EventType::keyDown && event.type != platform::EventType::keyUp)
        return std::nullopt;
    return Shortcut(static_cast<std::int64_t>(event.keyCode),
                    carbon(event.modifierFlags.subtracting(ModifierFlags::function)));
}

std::optional<Shortcut> Shortcut::fromName(const Name& name) {
    return getShortcut(name);
}

ModifierFlags Shortcut::modifiers() const {
    return modifierFlags(carbonModifiers);
}

bool Shortcut::isRecordable() const {
    if (!(modifiers() & (ModifierFlags::control | ModifierFlags::option | ModifierFlags::command)).isEmpty())
        return true;
    const auto special = specialKey(Key(carbonKeyCode));
    return special && static_cast<int>(*special) >= static_cast<int>(SpecialKey::f1) &&
           static_cast<int>(*special) <= static_cast<int>(SpecialKey::f20);
}

std::string Shortcut::presentableDescription() const {
    std::string text = ks_symbolicRepresentation(modifiers());
    if (auto special = specialKey(Key(carbonKeyCode)))
        return text + GlobalShortcuts::presentableDescription(*special);
    return text + platform::Text::capitalized(keyToCharacter().value_or("\uFFFD"));
}

std::optional<std::string> Shortcut::nsMenuItemKeyEquivalent() const {
    if (auto special = specialKey(Key(carbonKeyCode))) return appKitMenuItemKeyEquivalent(*special);
    return keyToCharacter();
}

std::shared_ptr<platform::ui::MenuItem>
Shortcut::menuItemWithMatchingShortcut(const platform::ui::Menu& menu) const {
    const ModifierFlags wanted = modifiers();
    const std::optional<std::string> ownKey = nsMenuItemKeyEquivalent();
    for (const auto& item : menu.items()) {
        std::string keyEquivalent = item->keyEquivalent;
        ModifierFlags mask = item->keyEquivalentModifierMask;
        if (wanted.contains(ModifierFlags::shift)) {
            std::string lower = platform::Text::lowercased(keyEquivalent);
            if (lower != keyEquivalent) {
                keyEquivalent = std::move(lower);
                mask |= ModifierFlags::shift;
            }
        }
        if (ownKey && keyEquivalent == *ownKey && mask == wanted) return item;
        if (item->submenu()) {
            if (auto found = menuItemWithMatchingShortcut(*item->submenu())) return found;
        }
    }
    return nullptr;
}

std::optional<std::string> Shortcut::keyToCharacter() const {
    const auto source = platform::TISCopyCurrentASCIICapableKeyboardLayoutInputSource();
    if (!source) return std::nullopt;
    const auto layout =
        platform::TISGetInputSourceProperty(source, platform::kTISPropertyUnicodeKeyLayoutData);
    if (!layout) return std::nullopt;
    if (specialKey(Key(carbonKeyCode))) return std::nullopt;
    // The layout takes a 16-bit key code; a larger one (only a corrupt stored chord has one) is
    // not narrowed.
    if (carbonKeyCode < 0 || carbonKeyCode > 0xFFFF) return std::nullopt;

    std::uint32_t deadKeyState = 0;
    char16_t buffer[4] = {};
    std::size_t length = 0;
    const platform::OSStatus status = platform::UCKeyTranslate(
        layout.get(), static_cast<std::uint16_t>(carbonKeyCode), platform::kUCKeyActionDisplay, 0,
        platform::LMGetKbdType(), 0, &deadKeyState, std::size(buffer), &length, buffer);
    if (status != platform::noErr) return std::nullopt;

    const auto scalars = codePoints(buffer, length);
    if (scalars.empty()) return std::nullopt;
    for (std::size_t i = 1; i < scalars.size(); ++i)
        if (!extendsCharacter(scalars[i])) return std::nullopt;
    std::string text;
    for (char32_t c : scalars)
        platform::Text::appendUtf8(text, c);
    return text;
}

platform::Json toJson(const Shortcut& shortcut) {
    return platform::JsonWriter()
        .set("carbonKeyCode", shortcut.carbonKeyCode)
        .set("carbonModifiers", shortcut.carbonModifiers)
        .take();
}

Shortcut fromJson(const platform::Json& json, std::type_identity<Shortcut>) {
    platform::JsonReader reader(json, "Shortcut");
    return Shortcut(reader.required<std::int64_t>("carbonKeyCode"),
                    reader.required<std::int64_t>("carbonModifiers"));
}

} // namespace tilmora::GlobalShortcuts

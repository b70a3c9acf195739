#pragma once

#include "platform/foundation/JsonCoding.hpp"
#include "platform/input/ModifierFlags.hpp"
#include "shortcuts/Key.hpp"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace platform {
struct NSEvent;
namespace ui {
class Menu;
class MenuItem;
} // namespace ui
} // namespace platform

namespace tilmora::GlobalShortcuts {

struct Name;

/// A key chord: a virtual key code and a Carbon modifier mask. Every constructor normalizes the
/// mask (`normalizedCarbonModifiers`), so it holds only the control, option, shift, command and
/// function bits. Equal when both fields are equal.
///
/// JSON form: {"carbonKeyCode":123,"carbonModifiers":6144}, both keys required and integral;
/// decoding normalizes the mask like every constructor. Value; the platform look-ups
/// (`keyToCharacter`, `presentableDescription`, `nsMenuItemKeyEquivalent`) read the current keyboard
/// layout and may run on any thread, `menuItemWithMatchingShortcut` on the main thread.
struct Shortcut {
    std::int64_t carbonKeyCode = 0;
    std::int64_t carbonModifiers = 0;

    Shortcut() = default;
    /// The key with the event flags `modifiers` (only control, option, shift, command and function
    /// count).
    Shortcut(Key key, platform::ModifierFlags modifiers);
    /// The code as given, the mask normalized.
    Shortcut(std::int64_t carbonKeyCode, std::int64_t carbonModifiers);

    /// The chord of a key-down or key-up event: its key code with its flags less the function
    /// flag (so a chord taken from an event never carries function); none for any other event.
    static std::optional<Shortcut> fromEvent(const platform::NSEvent& event);
    /// The chord stored for `name` now; none when none is stored.
    static std::optional<Shortcut> fromName(const Name& name);

    bool operator==(const Shortcut&) const = default;

    /// The key of `carbonKeyCode` (always present).
    std::optional<Key> key() const { return Key(carbonKeyCode); }
    /// The event flags of `carbonModifiers`.
    platform::ModifierFlags modifiers() const;

    /// Whether the recorder would take the chord: it holds Control, Option or Command (Shift or
    /// Function alone count as none), or its key is a function key F1 ... F20 (the ones with key
    /// codes). A chord without this passes for a typed letter or arrow in every application.
    bool isRecordable() const;

    /// The chord as people read it: the modifier symbols (⌃⌥⇧⌘🌐︎) followed by the special key's
    /// glyph, or the key's character on the current layout capitalized ("⇧⌘K"), or "�" when the
    /// layout gives none.
    std::string presentableDescription() const;
    /// The same as `presentableDescription`.
    std::string description() const { return presentableDescription(); }

    /// The key equivalent a menu item shows for the chord: a special key's menu equivalent (none
    /// for the keypad keys), else the key's character on the current layout; none when there is none.
    std::optional<std::string> nsMenuItemKeyEquivalent() const;

    /// The first item of `menu`, depth first through submenus, whose key equivalent and modifier
    /// mask are this chord (an upper-case key equivalent counts as shift plus the lower-case key).
    std::shared_ptr<platform::ui::MenuItem>
    menuItemWithMatchingShortcut(const platform::ui::Menu& menu) const;

    /// The character the key types without modifiers on the current ASCII-capable layout, as UTF-8
    /// text; none for a special key, a code outside 0 ... 65535, no layout or layout data, a failing
    /// translation or a result that is not exactly one character.
    std::optional<std::string> keyToCharacter() const;
};

platform::Json toJson(const Shortcut& shortcut);
Shortcut fromJson(const platform::Json& json, std::type_identity<Shortcut>);

} // namespace tilmora::GlobalShortcuts

template <>
struct std::hash<tilmora::GlobalShortcuts::Shortcut> {
    std::size_t operator()(const tilmora::GlobalShortcuts::Shortcut& s) const noexcept {
        const std::size_t h = std::hash<std::int64_t>()(s.carbonKeyCode);
        return h ^
               (std::hash<std::int64_t>()(s.carbonModifiers) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2));
    }
};

#pragma once

namespace platform::ui::declarative {

/// The modifier keys of a declarative keyboard shortcut: caps lock 1, shift 2, control 4, option 8,
/// command 16, numeric pad 32 (64 is the function key, which the declarative side only knows by
/// value). Pure value; any thread.
struct EventModifiers {
    int rawValue = 0;

    constexpr EventModifiers() = default;
    constexpr explicit EventModifiers(int raw)
        : rawValue(raw) {}

    static const EventModifiers capsLock, shift, control, option, command, numericPad, all;

    constexpr bool contains(EventModifiers other) const {
        return (rawValue & other.rawValue) == other.rawValue;
    }
    constexpr bool isEmpty() const { return rawValue == 0; }
    constexpr EventModifiers operator|(EventModifiers o) const {
        return EventModifiers(rawValue | o.rawValue);
    }
    constexpr EventModifiers& operator|=(EventModifiers o) {
        rawValue |= o.rawValue;
        return *this;
    }
    constexpr bool operator==(const EventModifiers&) const = default;
};

inline constexpr EventModifiers EventModifiers::capsLock{1};
inline constexpr EventModifiers EventModifiers::shift{2};
inline constexpr EventModifiers EventModifiers::control{4};
inline constexpr EventModifiers EventModifiers::option{8};
inline constexpr EventModifiers EventModifiers::command{16};
inline constexpr EventModifiers EventModifiers::numericPad{32};
inline constexpr EventModifiers EventModifiers::all{63};

} // namespace platform::ui::declarative

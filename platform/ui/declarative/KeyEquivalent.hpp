#pragma once

namespace platform::ui::declarative {

/// The key of a declarative keyboard shortcut: one character, either typed text ("k") or one of
/// the named keys below, which use the platform's function-key characters. Pure value; any thread.
struct KeyEquivalent {
    char32_t character = 0;

    constexpr KeyEquivalent() = default;
    constexpr explicit KeyEquivalent(char32_t c)
        : character(c) {}

    static const KeyEquivalent upArrow, downArrow, leftArrow, rightArrow, escape, delete_, deleteForward,
        home, end, pageUp, pageDown, clear, tab, space, return_;

    constexpr bool operator==(const KeyEquivalent&) const = default;
};

inline constexpr KeyEquivalent KeyEquivalent::upArrow{U'\xF700'};
inline constexpr KeyEquivalent KeyEquivalent::downArrow{U'\xF701'};
inline constexpr KeyEquivalent KeyEquivalent::leftArrow{U'\xF702'};
inline constexpr KeyEquivalent KeyEquivalent::rightArrow{U'\xF703'};
inline constexpr KeyEquivalent KeyEquivalent::escape{U'\x1B'};
inline constexpr KeyEquivalent KeyEquivalent::delete_{U'\x08'};
inline constexpr KeyEquivalent KeyEquivalent::deleteForward{U'\xF728'};
inline constexpr KeyEquivalent KeyEquivalent::home{U'\xF729'};
inline constexpr KeyEquivalent KeyEquivalent::end{U'\xF72B'};
inline constexpr KeyEquivalent KeyEquivalent::pageUp{U'\xF72C'};
inline constexpr KeyEquivalent KeyEquivalent::pageDown{U'\xF72D'};
inline constexpr KeyEquivalent KeyEquivalent::clear{U'\xF739'};
inline constexpr KeyEquivalent KeyEquivalent::tab{U'\x09'};
inline constexpr KeyEquivalent KeyEquivalent::space{U' '};
inline constexpr KeyEquivalent KeyEquivalent::return_{U'\x0D'};

} // namespace platform::ui::declarative

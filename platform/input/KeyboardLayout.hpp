#pragma once

#include "platform/input/CarbonEvent.hpp"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace platform {

/// The character data of one keyboard layout (opaque to callers; read it with `UCKeyTranslate`).
struct UCKeyboardLayout;

/// One keyboard input source of the system.
struct TISInputSource {
    std::string inputSourceID;
    std::string localizedName;
    bool asciiCapable = true;
    /// None: the source has no Unicode layout data.
    std::shared_ptr<const UCKeyboardLayout> layoutData;
};
using TISInputSourceRef = std::shared_ptr<const TISInputSource>;

/// Property keys of `TISGetInputSourceProperty`.
struct TISLayoutDataProperty {};
struct TISTextProperty {
    int which = 0;
};
inline constexpr TISLayoutDataProperty kTISPropertyUnicodeKeyLayoutData{};
inline constexpr TISTextProperty kTISPropertyInputSourceID{0};
inline constexpr TISTextProperty kTISPropertyLocalizedName{1};

/// The current keyboard layout that can type ASCII: "com.apple.keylayout.US" ("U.S.") unless the
/// simulator says otherwise; null when the simulator has no layout. Any thread.
TISInputSourceRef TISCopyCurrentASCIICapableKeyboardLayoutInputSource();
/// The current keyboard layout (the same source on the simulated platform).
TISInputSourceRef TISCopyCurrentKeyboardLayoutInputSource();
/// The source's Unicode layout data; null for no source or no data.
std::shared_ptr<const UCKeyboardLayout> TISGetInputSourceProperty(const TISInputSourceRef& source,
                                                                  TISLayoutDataProperty key);
/// The source's identifier or localized name; none for no source.
std::optional<std::string> TISGetInputSourceProperty(const TISInputSourceRef& source, TISTextProperty key);

/// The keyboard type of the keyboard last used (40, an ANSI keyboard, unless the simulator says
/// otherwise).
std::uint32_t LMGetKbdType();

/// Key actions of `UCKeyTranslate`.
inline constexpr std::uint16_t kUCKeyActionDown = 0;
inline constexpr std::uint16_t kUCKeyActionUp = 1;
inline constexpr std::uint16_t kUCKeyActionAutoKey = 2;
inline constexpr std::uint16_t kUCKeyActionDisplay = 3;
/// Option bit of `UCKeyTranslate`: dead keys produce their own character instead of a state.
inline constexpr std::uint32_t kUCKeyTranslateNoDeadKeysMask = 1;
inline constexpr OSStatus kUCOutputBufferTooSmall = -25340;

/// Translates `keyCode` pressed with `modifierKeyState` (the Carbon modifier mask shifted right by
/// 8: command 0x01, shift 0x02, caps lock 0x04, option 0x08, control 0x10) to UTF-16 text.
///
/// Dead keys (on the U.S. layout Option with E, U, I, N and the backtick) with action down or
/// auto-key and without `kUCKeyTranslateNoDeadKeysMask` produce no text and set `*deadKeyState`;
/// the next key is then combined with it ("é"), or, when it cannot be, follows the accent. With
/// action display or up, or with the option bit, a dead key produces its accent character.
/// A key code the layout does not map produces no text (`noErr`, length 0).
///
/// Statuses: `paramErr` for a null layout, state, length or buffer, or an unknown action;
/// `kUCOutputBufferTooSmall` when the text does not fit `maxStringLength` units; `noErr`
/// otherwise. Pure; any thread.
OSStatus UCKeyTranslate(const UCKeyboardLayout* layout, std::uint16_t keyCode, std::uint16_t keyAction,
                        std::uint32_t modifierKeyState, std::uint32_t keyboardType,
                        std::uint32_t keyTranslateOptions, std::uint32_t* deadKeyState,
                        std::size_t maxStringLength, std::size_t* actualStringLength,
                        char16_t* unicodeString);

/// The complete U.S. layout (every key of a U.S. keyboard, with Shift, Option, Option-Shift, Caps
/// Lock and Control).
std::shared_ptr<const UCKeyboardLayout> usKeyboardLayout();

} // namespace platform

#pragma once

#include <cstdint>
#include <optional>
#include <set>

namespace platform {

/// Keys that produce no printable text, named by the character a key event carries for them
/// (the function-key characters U+F700 ... and a few control characters). Pure value; any thread.
enum class SpecialKey : std::uint32_t {
    enter = 0x03,
    backspace = 0x08,
    tab = 0x09,
    newline = 0x0A,
    formFeed = 0x0C,
    carriageReturn = 0x0D,
    backTab = 0x19,
    deleteKey = 0x7F, ///< the Delete (backspace) key of the keyboard
    lineSeparator = 0x2028,
    paragraphSeparator = 0x2029,
    upArrow = 0xF700,
    downArrow = 0xF701,
    leftArrow = 0xF702,
    rightArrow = 0xF703,
    f1 = 0xF704, ///< f1 ... f35 are 0xF704 ... 0xF726
    f35 = 0xF726,
    insert = 0xF727,
    deleteForward = 0xF728,
    home = 0xF729,
    begin = 0xF72A,
    end = 0xF72B,
    pageUp = 0xF72C,
    pageDown = 0xF72D,
    printScreen = 0xF72E,
    scrollLock = 0xF72F,
    pause = 0xF730,
    clearLine = 0xF739,
    clearDisplay = 0xF73A,
    help = 0xF746,
    modeSwitch = 0xF747,
};

/// The special key named by the Unicode scalar `c`, if any (every value in 0xF700 ... 0xF747 and the
/// listed control characters).
std::optional<SpecialKey> specialKeyForCharacter(std::uint32_t c);

/// The function keys F1 ... F35 (35 members).
const std::set<SpecialKey>& functionSpecialKeys();

} // namespace platform

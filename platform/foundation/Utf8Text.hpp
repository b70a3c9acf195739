#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform::Text {

/// True when `text` is well-formed UTF-8: no stray continuation bytes, no truncated sequences, no
/// overlong forms, no surrogates (U+D800...U+DFFF) and nothing past U+10FFFF. Pure; any thread.
bool isValidUtf8(std::string_view text);

/// The length in bytes (1 to 4) of the well-formed UTF-8 sequence that starts at `text[at]`, or 0
/// when the byte there starts none (a stray continuation byte, a truncated or overlong sequence, a
/// surrogate, a value past U+10FFFF). `at` must be inside `text`. Pure; any thread.
std::size_t utf8SequenceLength(std::string_view text, std::size_t at);

/// `text` itself when it is well-formed UTF-8. Otherwise a well-formed text from which the bytes can
/// be recovered exactly: every backslash is doubled and every byte that is not part of a well-formed
/// sequence is written as "\xNN" (upper-case hex). Pure; any thread.
std::string escapingInvalidUtf8(std::string_view text);

/// `text` itself when it is well-formed UTF-8. Otherwise the same text with every byte that is not
/// part of a well-formed sequence replaced by U+FFFD (one replacement character per byte, so
/// nothing typed disappears). Pure; any thread.
std::string replacingInvalidUtf8(std::string_view text);

} // namespace platform::Text

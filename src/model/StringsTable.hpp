#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace tilmora {

/// One string table read from a ".strings" file: the platform's property-list dictionary of
/// quoted keys and values, `"key" = "value";`, with `/* */` and `//` comments and the escapes
/// `\"`, `\\`, `\n`, `\t`, `\r`, `\U` followed by four hexadecimal digits, and octal `\NNN`.
///
/// Values that are arrays or dictionaries are kept out of `strings`; a lookup of their key finds
/// nothing. The file may be UTF-8 (with or without a byte-order mark) or UTF-16 with a byte-order
/// mark. Pure; any thread.
struct StringsTable {
    /// Key to text; a key given twice keeps its last value.
    std::map<std::string, std::string, std::less<>> strings;

    /// Parses a whole file's bytes; none when they are not a valid strings table.
    static std::optional<StringsTable> parse(std::string_view bytes);

    /// Reads and parses the file at `path` (through the platform's file access); none when it
    /// cannot be read or parsed.
    static std::optional<StringsTable> read(const std::string& path);
};

} // namespace tilmora

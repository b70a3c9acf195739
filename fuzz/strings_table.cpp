// Parses fuzzed bytes as a ".strings" table and fills each of its texts, and the bytes themselves,
// as a format with a fixed mix of text, integer and double arguments (as the program does with
// the texts it looks up). Only crashes and sanitizer reports count; every input is valid to try.
#include "model/StringsTable.hpp"
#include "platform/foundation/Text.hpp"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace {

const std::vector<platform::FormatArgument>& arguments() {
    static const std::vector<platform::FormatArgument> args{
        std::string("Text"),
        std::int64_t{-42},
        0.5,
        std::string("\xC3\xA9t\xC3\xA9 \xF0\x9F\x98\x80"),
        std::numeric_limits<std::int64_t>::min(),
        std::numeric_limits<double>::max(),
        std::numeric_limits<double>::quiet_NaN(),
        std::string(),
    };
    return args;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (auto table = tilmora::StringsTable::parse(bytes)) {
        for (const auto& [key, value] : table->strings) {
            (void)platform::Text::format(value, arguments());
            (void)platform::Text::format(key, {});
        }
    }
    (void)platform::Text::format(bytes, arguments());
    return 0;
}

#include "snapping/GridPresetStorage.hpp"

#include "model/Settings.hpp"

#include "platform/foundation/Text.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "snapping/OnceLog.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

namespace tilmora::GridPresetStorage {

namespace {

/// One part of a stored text read as a decimal number that fills the whole part; hexadecimal
/// forms such as "0x10" are not decimal and count as no number.
std::optional<double> decimalNumber(std::string_view part) {
    if (part.find_first_of("xX") != std::string_view::npos) return std::nullopt;
    return platform::Text::parseDouble(part);
}

} // namespace

std::string key(std::uint32_t displayID) {
    return settings::presetPrefix + std::to_string(displayID);
}

std::string text(const GridPreset& preset) {
    return std::to_string(preset.rows) + "," + std::to_string(preset.cols) + "," +
           platform::Text::doubleDescription(preset.gutter) + "," +
           platform::Text::doubleDescription(preset.padding);
}

std::optional<GridPreset> parse(std::string_view text) {
    std::vector<double> numbers;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = text.find(',', start);
        const std::size_t end = comma == std::string_view::npos ? text.size() : comma;
        if (const auto number = decimalNumber(text.substr(start, end - start))) numbers.push_back(*number);
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    if (numbers.size() != 4) return std::nullopt;
    // Rows and cols are truncated toward zero before the cap applies ("64.5" is 64 rows).
    const double maxCount = static_cast<double>(GridPreset::maxCount);
    const bool countsOk = std::isfinite(numbers[0]) && std::isfinite(numbers[1]) &&
                          std::trunc(numbers[0]) <= maxCount && std::trunc(numbers[1]) <= maxCount;
    // NaN passes here and becomes 0 in the preset; only an infinite gutter or padding is absurd.
    const bool spacingOk = !std::isinf(numbers[2]) && !std::isinf(numbers[3]);
    if (!countsOk || !spacingOk) {
        OnceLog::shared().printOnce(
            "preset " + std::string(text),
            "[RoriDeru] Ignoring grid preset \"" + std::string(text) +
                "\": rows and columns must be finite and at most 64, gutter and padding not infinite; "
                "using 2x2");
        return std::nullopt;
    }
    // Values below 1 (including large negative ones) become 1 in the preset; convert only in range.
    const auto toCount = [](double v) { return v < 1 ? std::int64_t{0} : static_cast<std::int64_t>(v); };
    return GridPreset(toCount(numbers[0]), toCount(numbers[1]), numbers[2], numbers[3]);
}

void save(const GridPreset& preset, std::optional<std::uint32_t> displayID) {
    if (!displayID) return;
    platform::UserDefaults::standard().set(text(preset), key(*displayID));
}

GridPreset load(std::optional<std::uint32_t> displayID) {
    if (!displayID) return GridPreset::fallback();
    const auto stored = platform::UserDefaults::standard().stringForKey(key(*displayID));
    if (!stored) return GridPreset::fallback();
    return parse(*stored).value_or(GridPreset::fallback());
}

} // namespace tilmora::GridPresetStorage

#include "snapping/GridPreset.hpp"

#include "model/PresetNormalization.hpp"

namespace tilmora {

GridPreset::GridPreset(std::int64_t rows, std::int64_t cols, double gutter, double padding)
    : rows(PresetNormalization::count(rows))
    , cols(PresetNormalization::count(cols))
    , gutter(PresetNormalization::spacing(gutter))
    , padding(PresetNormalization::spacing(padding)) {}

} // namespace tilmora

std::size_t std::hash<tilmora::GridPreset>::operator()(const tilmora::GridPreset& preset) const noexcept {
    const auto normalized = [](double v) { return v == 0 ? 0.0 : v; };
    std::size_t seed = 0;
    const auto combine = [&seed](std::size_t value) {
        seed ^= value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
    };
    combine(std::hash<std::int64_t>{}(preset.rows));
    combine(std::hash<std::int64_t>{}(preset.cols));
    combine(std::hash<double>{}(normalized(preset.gutter)));
    combine(std::hash<double>{}(normalized(preset.padding)));
    return seed;
}

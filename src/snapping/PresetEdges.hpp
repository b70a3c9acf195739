#pragma once

#include <vector>

namespace tilmora {

/// Cell boundaries of a display as fractions of its visible frame, measured from the left and the
/// bottom edges (0 is the left or bottom edge, 1 the right or top edge). They replace the even grid
/// of a preset with rows r and cols c when `xs` has c + 1 and `ys` r + 1 values. Any thread.
struct PresetEdges {
    std::vector<double> xs;
    std::vector<double> ys;
    friend bool operator==(const PresetEdges&, const PresetEdges&) = default;
};

} // namespace tilmora

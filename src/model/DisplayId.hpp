#pragma once

#include "model/TextIdentifier.hpp"

namespace tilmora {

/// Identifies a display by its display key: the display number in decimal ("1"), or, for a screen
/// without one, its localized name, "-", the x and "-", the y of its frame origin ("Panel-0.0-0.0").
/// The same text keys every per-display setting.
struct DisplayId : TextIdentifier<DisplayId> {
    static constexpr const char* typeName = "DisplayId";
    using TextIdentifier::TextIdentifier;
};

} // namespace tilmora

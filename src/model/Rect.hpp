#pragma once

#include "platform/foundation/JsonCoding.hpp"

namespace tilmora {

/// A rectangle: origin (`x`, `y`) and size (`width`, `height`). The type fixes no unit, space or
/// orientation; every field that holds a `Rect` says which it uses (points in the global desktop
/// space with y up, or fractions of a display). Any double is accepted unchanged, NaN and negative
/// sizes included. Equality compares the four doubles as IEEE numbers (NaN is unequal to itself).
/// JSON: {"x": number, "y": number, "width": number, "height": number}; a NaN or infinite field
/// cannot be encoded.
struct Rect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    bool operator==(const Rect&) const = default;
};

platform::Json toJson(const Rect& rect);
Rect fromJson(const platform::Json& json, std::type_identity<Rect>);

} // namespace tilmora

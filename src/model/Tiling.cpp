#include "model/Layout.hpp"
#include "model/Tile.hpp"
#include "platform/foundation/JsonObjectCoding.hpp"

#include <algorithm>

namespace tilmora {

using platform::Json;
using platform::JsonField;
using platform::JsonObjectCoding;

Rect absoluteRect(const Rect& normalizedFrame, const Rect& bounds) {
    const Rect& b = bounds;
    const Rect& f = normalizedFrame;
    const double width = std::min(b.width, b.width * f.width);
    const double height = std::min(b.height, b.height * f.height);
    const double x0 = b.x + b.width * f.x;
    const double y0 = b.y + b.height - b.height * f.y - b.height * f.height;
    const double x = std::max(b.x, std::min(b.x + b.width - width, x0));
    const double y = std::max(b.y, std::min(b.y + b.height - height, y0));
    return Rect{x, y, width, height};
}

namespace {

const JsonObjectCoding tileCoding("Tile", JsonField("id", &Tile::id),
                                  JsonField("displayId", &Tile::displayId),
                                  JsonField("normalizedFrame", &Tile::normalizedFrame),
                                  JsonField("label", &Tile::label));

const JsonObjectCoding layoutCoding("Layout", JsonField("id", &Layout::id), JsonField("name", &Layout::name),
                                    JsonField("displayId", &Layout::displayId),
                                    JsonField("tiles", &Layout::tiles));

} // namespace

Json toJson(const Tile& tile) {
    return tileCoding.encode(tile);
}

Tile fromJson(const Json& json, std::type_identity<Tile>) {
    return tileCoding.decode(json);
}

Json toJson(const Layout& layout) {
    return layoutCoding.encode(layout);
}

Layout fromJson(const Json& json, std::type_identity<Layout>) {
    return layoutCoding.decode(json);
}

} // namespace tilmora

#include "model/Layout.hpp"
#include "model/Tile.hpp"

#include <algorithm>

namespace tilmora {

using platform::Json;
using platform::JsonReader;
using platform::JsonWriter;

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

Json toJson(const Tile& tile) {
    return JsonWriter()
        .set("id", tile.id)
        .set("displayId", tile.displayId)
        .set("normalizedFrame", tile.normalizedFrame)
        .setOptional("label", tile.label)
        .take();
}

Tile fromJson(const Json& json, std::type_identity<Tile>) {
    JsonReader reader(json, "Tile");
    return Tile{reader.required<TileId>("id"), reader.required<DisplayId>("displayId"),
                reader.required<Rect>("normalizedFrame"), reader.optional<std::string>("label")};
}

Json toJson(const Layout& layout) {
    return JsonWriter()
        .set("id", layout.id)
        .set("name", layout.name)
        .set("displayId", layout.displayId)
        .set("tiles", layout.tiles)
        .take();
}

Layout fromJson(const Json& json, std::type_identity<Layout>) {
    JsonReader reader(json, "Layout");
    return Layout{reader.required<LayoutId>("id"), reader.required<std::string>("name"),
                  reader.required<DisplayId>("displayId"), reader.required<std::vector<Tile>>("tiles")};
}

} // namespace tilmora

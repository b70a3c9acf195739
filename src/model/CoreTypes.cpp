#include "model/DisplayDescriptor.hpp"
#include "model/Rect.hpp"
#include "model/WindowDescriptor.hpp"

namespace tilmora {

using platform::Json;
using platform::JsonReader;
using platform::JsonWriter;

Json toJson(const Rect& rect) {
    return JsonWriter()
        .set("x", rect.x)
        .set("y", rect.y)
        .set("width", rect.width)
        .set("height", rect.height)
        .take();
}

Rect fromJson(const Json& json, std::type_identity<Rect>) {
    JsonReader reader(json, "Rect");
    return Rect{reader.required<double>("x"), reader.required<double>("y"), reader.required<double>("width"),
                reader.required<double>("height")};
}

Json toJson(const DisplayDescriptor& display) {
    return JsonWriter()
        .set("id", display.id)
        .set("name", display.name)
        .set("bounds", display.bounds)
        .set("scaleFactor", display.scaleFactor)
        .take();
}

DisplayDescriptor fromJson(const Json& json, std::type_identity<DisplayDescriptor>) {
    JsonReader reader(json, "DisplayDescriptor");
    return DisplayDescriptor{reader.required<DisplayId>("id"), reader.required<std::string>("name"),
                             reader.required<Rect>("bounds"), reader.required<double>("scaleFactor")};
}

Json toJson(const WindowDescriptor& window) {
    return JsonWriter()
        .set("id", window.id)
        .set("bundleIdentifier", window.bundleIdentifier)
        .set("windowTitle", window.windowTitle)
        .setOptional("currentDisplayId", window.currentDisplayId)
        .set("currentFrame", window.currentFrame)
        .set("isMinimized", window.isMinimized)
        .set("isFullscreen", window.isFullscreen)
        .take();
}

WindowDescriptor fromJson(const Json& json, std::type_identity<WindowDescriptor>) {
    JsonReader reader(json, "WindowDescriptor");
    return WindowDescriptor{reader.required<WindowId>("id"),
                            reader.required<std::string>("bundleIdentifier"),
                            reader.required<std::string>("windowTitle"),
                            reader.optional<DisplayId>("currentDisplayId"),
                            reader.required<Rect>("currentFrame"),
                            reader.required<bool>("isMinimized"),
                            reader.required<bool>("isFullscreen")};
}

} // namespace tilmora

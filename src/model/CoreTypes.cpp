#include "model/DisplayDescriptor.hpp"
#include "model/Rect.hpp"
#include "model/WindowDescriptor.hpp"
#include "platform/foundation/JsonObjectCoding.hpp"

namespace tilmora {

using platform::Json;
using platform::JsonField;
using platform::JsonObjectCoding;

namespace {

const JsonObjectCoding rectCoding("Rect", JsonField("x", &Rect::x), JsonField("y", &Rect::y),
                                  JsonField("width", &Rect::width), JsonField("height", &Rect::height));

const JsonObjectCoding displayDescriptorCoding("DisplayDescriptor", JsonField("id", &DisplayDescriptor::id),
                                               JsonField("name", &DisplayDescriptor::name),
                                               JsonField("bounds", &DisplayDescriptor::bounds),
                                               JsonField("scaleFactor", &DisplayDescriptor::scaleFactor));

const JsonObjectCoding
    windowDescriptorCoding("WindowDescriptor", JsonField("id", &WindowDescriptor::id),
                           JsonField("bundleIdentifier", &WindowDescriptor::bundleIdentifier),
                           JsonField("windowTitle", &WindowDescriptor::windowTitle),
                           JsonField("currentDisplayId", &WindowDescriptor::currentDisplayId),
                           JsonField("currentFrame", &WindowDescriptor::currentFrame),
                           JsonField("isMinimized", &WindowDescriptor::isMinimized),
                           JsonField("isFullscreen", &WindowDescriptor::isFullscreen));

} // namespace

Json toJson(const Rect& rect) {
    return rectCoding.encode(rect);
}

Rect fromJson(const Json& json, std::type_identity<Rect>) {
    return rectCoding.decode(json);
}

Json toJson(const DisplayDescriptor& display) {
    return displayDescriptorCoding.encode(display);
}

DisplayDescriptor fromJson(const Json& json, std::type_identity<DisplayDescriptor>) {
    return displayDescriptorCoding.decode(json);
}

Json toJson(const WindowDescriptor& window) {
    return windowDescriptorCoding.encode(window);
}

WindowDescriptor fromJson(const Json& json, std::type_identity<WindowDescriptor>) {
    return windowDescriptorCoding.decode(json);
}

} // namespace tilmora

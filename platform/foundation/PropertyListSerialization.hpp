#pragma once

#include "platform/foundation/PropertyValue.hpp"

#include <string>
#include <string_view>

namespace platform {

/// The XML property-list format ("<?xml ...?><!DOCTYPE plist ...><plist version="1.0">...").
/// Values map to elements: Boolean <true/> <false/>, <integer>, <real>, <string>, <data>
/// (base64), <date> (ISO 8601, UTC, whole seconds), <array>, <dict> (keys in sorted order).
/// Any thread; logs nothing.
class PropertyListSerialization {
public:
    /// The XML text of `value`, one element per line, indented with tabs.
    static std::string dataFromPropertyList(const PropertyValue& value);
    /// Reads an XML property list. Throws `platform::Error` ("not a property list: ...") for text
    /// that is not one.
    static PropertyValue propertyListFromData(std::string_view data);
};

} // namespace platform

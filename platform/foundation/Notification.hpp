#pragma once

#include "platform/foundation/PropertyValue.hpp"

#include <optional>
#include <string>

namespace platform {

/// One posted notification: its name, the identity of the object it is about (or null), its user
/// info, and optionally an object that is a value rather than a component.
///
/// `object` is only an identity (the address of the posting component, for example the snap grid
/// or a user-defaults object); observers' object filters compare it, and observers may cast it back
/// when they know its type. `objectValue` carries an object that is a plain value (for example the
/// new language code as text, or none when the choice was cleared); object filters never look at
/// it. Post such a notification with `post(Notification{name, nullptr, {}, PropertyValue("de")})`.
struct Notification {
    std::string name;
    const void* object = nullptr;
    PropertyDictionary userInfo{};
    std::optional<PropertyValue> objectValue{};
};

} // namespace platform

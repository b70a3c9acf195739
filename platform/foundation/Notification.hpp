#pragma once

#include "platform/foundation/PropertyValue.hpp"

#include <string>

namespace platform {

/// One posted notification: its name, the identity of the object it is about (or null), and its
/// user info. The object is only an identity (the address of the posting component, for example
/// the snap grid or a user-defaults object); observers compare it and may cast it back when they
/// know its type.
struct Notification {
    std::string name;
    const void* object = nullptr;
    PropertyDictionary userInfo;
};

} // namespace platform

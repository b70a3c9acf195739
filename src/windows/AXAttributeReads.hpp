#pragma once

#include "platform/desktop/Accessibility.hpp"

#include <optional>
#include <string>

namespace tilmora {

/// The two Accessibility reads every reader of other applications' windows makes: an attribute's
/// value and whether an attribute can be written. Both answer "no" for any failure of the call.
/// Any thread that may make Accessibility calls; logs nothing.
namespace AXAttributeReads {

/// The value of `attribute` of `element`; none when the read fails.
inline std::optional<platform::CFValue> copyAttribute(const platform::AXUIElement& element,
                                                      const std::string& attribute) {
    platform::CFValue value;
    if (platform::AXUIElementCopyAttributeValue(element, attribute, value) != platform::kAXErrorSuccess)
        return std::nullopt;
    return value;
}

/// Whether `attribute` of `element` can be written; false when the question fails.
inline bool isSettable(const platform::AXUIElement& element, const std::string& attribute) {
    bool settable = false;
    return platform::AXUIElementIsAttributeSettable(element, attribute, settable) == platform::kAXErrorSuccess &&
           settable;
}

} // namespace AXAttributeReads

} // namespace tilmora

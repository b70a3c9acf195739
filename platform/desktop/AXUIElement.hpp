#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <sys/types.h>

namespace platform {

/// A reference to one Accessibility object of another application: the application itself, one of
/// its windows, a window's zoom button or one of a window's tabs. It is a plain identity (process,
/// kind, window record), so two references to the same object compare equal and hash alike and can
/// be kept in a hash set. A reference outlives its object: calls on it then answer
/// `kAXErrorInvalidUIElement`.
struct AXUIElement {
    enum class Kind : std::uint8_t { application, window, zoomButton, tab, systemWide };
    pid_t pid = 0;
    Kind kind = Kind::application;
    /// The window record the element belongs to (0 for an application).
    std::uint64_t window = 0;
    /// The tab's index for `tab`, else 0.
    std::uint32_t index = 0;

    bool operator==(const AXUIElement&) const = default;
};

} // namespace platform

template <>
struct std::hash<platform::AXUIElement> {
    std::size_t operator()(const platform::AXUIElement& e) const noexcept {
        std::size_t h = std::hash<std::uint64_t>()(e.window);
        h = h * 31 + std::hash<int>()(e.pid);
        h = h * 31 + static_cast<std::size_t>(e.kind);
        return h * 31 + e.index;
    }
};

#pragma once

#include "platform/input/EventType.hpp"

#include <cstdint>

namespace platform {

/// A set of event types: bit `1 << type` for each member (left mouse up is 4, left mouse dragged
/// 64, key down 1024, key down plus key up 3072). Pure value; any thread.
struct EventTypeMask {
    std::uint64_t rawValue = 0;

    constexpr EventTypeMask() = default;
    constexpr explicit EventTypeMask(std::uint64_t raw)
        : rawValue(raw) {}
    /// The mask with the one bit of `type`.
    static constexpr EventTypeMask of(EventType type) {
        return EventTypeMask(std::uint64_t{1} << static_cast<std::uint32_t>(type));
    }

    static const EventTypeMask leftMouseDown, leftMouseUp, rightMouseDown, rightMouseUp, mouseMoved,
        leftMouseDragged, rightMouseDragged, keyDown, keyUp, flagsChanged, systemDefined, scrollWheel,
        otherMouseDown, otherMouseUp, otherMouseDragged, any;

    constexpr bool contains(EventType type) const { return (rawValue & of(type).rawValue) != 0; }
    constexpr bool isEmpty() const { return rawValue == 0; }
    constexpr EventTypeMask operator|(EventTypeMask o) const { return EventTypeMask(rawValue | o.rawValue); }
    constexpr EventTypeMask operator&(EventTypeMask o) const { return EventTypeMask(rawValue & o.rawValue); }
    constexpr bool operator==(const EventTypeMask&) const = default;
};

inline constexpr EventTypeMask EventTypeMask::leftMouseDown = of(EventType::leftMouseDown);
inline constexpr EventTypeMask EventTypeMask::leftMouseUp = of(EventType::leftMouseUp);
inline constexpr EventTypeMask EventTypeMask::rightMouseDown = of(EventType::rightMouseDown);
inline constexpr EventTypeMask EventTypeMask::rightMouseUp = of(EventType::rightMouseUp);
inline constexpr EventTypeMask EventTypeMask::mouseMoved = of(EventType::mouseMoved);
inline constexpr EventTypeMask EventTypeMask::leftMouseDragged = of(EventType::leftMouseDragged);
inline constexpr EventTypeMask EventTypeMask::rightMouseDragged = of(EventType::rightMouseDragged);
inline constexpr EventTypeMask EventTypeMask::keyDown = of(EventType::keyDown);
inline constexpr EventTypeMask EventTypeMask::keyUp = of(EventType::keyUp);
inline constexpr EventTypeMask EventTypeMask::flagsChanged = of(EventType::flagsChanged);
inline constexpr EventTypeMask EventTypeMask::systemDefined = of(EventType::systemDefined);
inline constexpr EventTypeMask EventTypeMask::scrollWheel = of(EventType::scrollWheel);
inline constexpr EventTypeMask EventTypeMask::otherMouseDown = of(EventType::otherMouseDown);
inline constexpr EventTypeMask EventTypeMask::otherMouseUp = of(EventType::otherMouseUp);
inline constexpr EventTypeMask EventTypeMask::otherMouseDragged = of(EventType::otherMouseDragged);
inline constexpr EventTypeMask EventTypeMask::any = EventTypeMask(~std::uint64_t{0});

} // namespace platform

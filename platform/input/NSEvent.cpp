#include "platform/input/NSEvent.hpp"

#include "platform/internal/InputState.hpp"

namespace platform {

namespace {

/// The single Unicode scalar of UTF-8 `text`, or none when it is empty, longer or malformed.
std::optional<std::uint32_t> singleScalar(const std::string& text) {
    if (text.empty()) return std::nullopt;
    const auto* b = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t len = b[0] < 0x80           ? 1
                      : (b[0] >> 5) == 0x6  ? 2
                      : (b[0] >> 4) == 0xE  ? 3
                      : (b[0] >> 3) == 0x1E ? 4
                                            : 0;
    if (len == 0 || len != text.size()) return std::nullopt;
    std::uint32_t c = len == 1 ? b[0] : len == 2 ? (b[0] & 0x1F) : len == 3 ? (b[0] & 0x0F) : (b[0] & 0x07);
    for (std::size_t i = 1; i < len; ++i) {
        if ((b[i] & 0xC0) != 0x80) return std::nullopt;
        c = (c << 6) | (b[i] & 0x3F);
    }
    return c;
}

} // namespace

std::optional<SpecialKey> NSEvent::specialKey() const {
    if (type != EventType::keyDown && type != EventType::keyUp) return std::nullopt;
    auto c = singleScalar(characters);
    if (!c) return std::nullopt;
    return specialKeyForCharacter(*c);
}

namespace {

/// An event with the fields that key and mouse events share.
NSEvent baseEvent(EventType type, CGPoint location, ModifierFlags flags, double timestamp,
                  long windowNumber) {
    NSEvent e;
    e.type = type;
    e.locationInWindow = location;
    e.modifierFlags = flags;
    e.timestamp = timestamp;
    e.windowNumber = windowNumber;
    return e;
}

} // namespace

NSEvent NSEvent::keyEvent(EventType type, CGPoint location, ModifierFlags flags, double timestamp,
                          long windowNumber, std::string characters, std::string charactersIgnoringModifiers,
                          bool isARepeat, std::uint16_t keyCode) {
    NSEvent e = baseEvent(type, location, flags, timestamp, windowNumber);
    e.characters = std::move(characters);
    e.charactersIgnoringModifiers = std::move(charactersIgnoringModifiers);
    e.isARepeat = isARepeat;
    e.keyCode = keyCode;
    return e;
}

NSEvent NSEvent::textInputEvent(CGPoint location, double timestamp, std::string text) {
    NSEvent e = baseEvent(EventType::appKitDefined, location, {}, timestamp, 0);
    e.subtype = textInputSubtype;
    e.characters = std::move(text);
    return e;
}

NSEvent NSEvent::mouseEvent(EventType type, CGPoint location, ModifierFlags flags, double timestamp,
                            long windowNumber, long clickCount) {
    NSEvent e = baseEvent(type, location, flags, timestamp, windowNumber);
    e.clickCount = clickCount;
    switch (type) {
    case EventType::rightMouseDown:
    case EventType::rightMouseUp:
    case EventType::rightMouseDragged:
        e.buttonNumber = 1;
        break;
    case EventType::otherMouseDown:
    case EventType::otherMouseUp:
    case EventType::otherMouseDragged:
        e.buttonNumber = 2;
        break;
    default:
        break;
    }
    return e;
}

CGPoint NSEvent::mouseLocation() {
    return input_detail::state().pointer;
}

std::uint32_t NSEvent::pressedMouseButtons() {
    return input_detail::state().buttons;
}

ModifierFlags NSEvent::currentModifierFlags() {
    return input_detail::state().held;
}

std::shared_ptr<EventMonitor> input_detail::MonitorAccess::install(EventTypeMask mask,
                                                                   NSEvent::GlobalHandler global,
                                                                   NSEvent::LocalHandler local) {
    auto m = std::shared_ptr<EventMonitor>(new EventMonitor());
    m->local_ = static_cast<bool>(local);
    m->mask_ = mask;
    m->global_ = std::move(global);
    m->localHandler_ = std::move(local);
    input_detail::state().monitors.push_back(m);
    return m;
}

std::shared_ptr<EventMonitor> NSEvent::addGlobalMonitorForEvents(EventTypeMask mask, GlobalHandler handler) {
    if (!handler) return nullptr;
    return input_detail::MonitorAccess::install(mask, std::move(handler), nullptr);
}

std::shared_ptr<EventMonitor> NSEvent::addLocalMonitorForEvents(EventTypeMask mask, LocalHandler handler) {
    if (!handler) return nullptr;
    return input_detail::MonitorAccess::install(mask, nullptr, std::move(handler));
}

void NSEvent::removeMonitor(const std::shared_ptr<EventMonitor>& monitor) {
    if (!monitor) return;
    monitor->active_ = false;
    std::erase(input_detail::state().monitors, monitor);
}

} // namespace platform

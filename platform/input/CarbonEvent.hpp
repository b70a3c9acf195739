#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace platform {

// The Carbon Event Manager's basic vocabulary, as the simulated platform offers it: status codes,
// four-character codes, event classes and kinds, parameter names and types, and the modifier bits
// of the keyboard events.

using OSStatus = std::int32_t;
using OSType = std::uint32_t;
using UInt32 = std::uint32_t;
using EventParamName = OSType;
using EventParamType = OSType;

/// The four-character code of `text` (exactly four ASCII characters): "keyb" is 0x6B657962.
constexpr OSType fourCharCode(const char (&text)[5]) {
    return (static_cast<OSType>(static_cast<unsigned char>(text[0])) << 24) |
           (static_cast<OSType>(static_cast<unsigned char>(text[1])) << 16) |
           (static_cast<OSType>(static_cast<unsigned char>(text[2])) << 8) |
           static_cast<OSType>(static_cast<unsigned char>(text[3]));
}

inline constexpr OSStatus noErr = 0;
inline constexpr OSStatus paramErr = -50;
inline constexpr OSStatus eventParameterNotFoundErr = -9870;
inline constexpr OSStatus eventInternalErr = -9868;
inline constexpr OSStatus eventNotHandledErr = -9874;
/// The chord is already held by another application (or registered exclusively elsewhere).
inline constexpr OSStatus eventHotKeyExistsErr = -9878;
/// The hot-key reference is null or no longer registered.
inline constexpr OSStatus eventHotKeyInvalidErr = -9879;

inline constexpr OSType kEventClassKeyboard = fourCharCode("keyb");
inline constexpr UInt32 kEventRawKeyDown = 1;
inline constexpr UInt32 kEventRawKeyRepeat = 2;
inline constexpr UInt32 kEventRawKeyUp = 3;
inline constexpr UInt32 kEventRawKeyModifiersChanged = 4;
inline constexpr UInt32 kEventHotKeyPressed = 5;
inline constexpr UInt32 kEventHotKeyReleased = 6;

inline constexpr EventParamName kEventParamDirectObject = fourCharCode("----");
inline constexpr EventParamName kEventParamKeyCode = fourCharCode("kcod");
inline constexpr EventParamName kEventParamKeyModifiers = fourCharCode("kmod");
inline constexpr EventParamName kEventParamKeyMacCharCodes = fourCharCode("kchr");
inline constexpr EventParamType typeEventHotKeyID = fourCharCode("hkid");
inline constexpr EventParamType typeUInt32 = fourCharCode("magn");
inline constexpr EventParamType typeChar = fourCharCode("TEXT");

/// Carbon modifier bits (keyboard events and hot keys).
inline constexpr UInt32 cmdKey = 0x100;
inline constexpr UInt32 shiftKey = 0x200;
inline constexpr UInt32 alphaLock = 0x400;
inline constexpr UInt32 optionKey = 0x800;
inline constexpr UInt32 controlKey = 0x1000;
inline constexpr UInt32 kEventKeyModifierNumLockMask = 0x10000;
inline constexpr UInt32 kEventKeyModifierFnMask = 0x20000;

/// One event class and kind a handler listens to.
struct EventTypeSpec {
    OSType eventClass = 0;
    UInt32 eventKind = 0;
    bool operator==(const EventTypeSpec&) const = default;
};

/// A hot key's identity: a four-character signature chosen by the registering program and a number.
struct EventHotKeyID {
    OSType signature = 0;
    UInt32 id = 0;
};

/// A Carbon event: class, kind and typed parameters (each a type code and raw bytes).
class CarbonEvent {
public:
    CarbonEvent(OSType eventClass, UInt32 kind)
        : class_(eventClass)
        , kind_(kind) {}

    OSType eventClass() const { return class_; }
    UInt32 kind() const { return kind_; }

    /// Stores a parameter (replacing one of the same name).
    void setParameter(EventParamName name, EventParamType type, const void* data, std::size_t size);

    struct Parameter {
        EventParamType type = 0;
        std::vector<std::uint8_t> bytes;
    };
    const Parameter* parameter(EventParamName name) const;

private:
    OSType class_;
    UInt32 kind_;
    std::map<EventParamName, Parameter> parameters_;
};

/// An event as handlers receive it; null is "no event".
using EventRef = std::shared_ptr<const CarbonEvent>;

/// A new event with no parameters.
std::shared_ptr<CarbonEvent> CreateEvent(OSType eventClass, UInt32 kind);
/// The event's class; 0 for no event.
OSType GetEventClass(const EventRef& event);
/// The event's kind; 0 for no event.
UInt32 GetEventKind(const EventRef& event);

/// Copies the parameter `name` into `outData` (at most `bufferSize` bytes). The stored type must
/// equal `desiredType` and the stored size must fit the buffer. Results: `paramErr` for no event or
/// a null buffer, `eventParameterNotFoundErr` when the event has no such parameter or it has
/// another type, `paramErr` when the buffer is too small; `noErr` otherwise. `outActualType` and
/// `outActualSize` may be null. Any thread.
OSStatus GetEventParameter(const EventRef& event, EventParamName name, EventParamType desiredType,
                           EventParamType* outActualType, std::size_t bufferSize, std::size_t* outActualSize,
                           void* outData);

} // namespace platform

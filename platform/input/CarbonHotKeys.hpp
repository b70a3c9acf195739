#pragma once

#include "platform/input/CarbonEventHandlers.hpp"

#include <cstdint>
#include <string>

namespace platform {

/// A registered hot key; 0 is none.
struct EventHotKeyRef {
    std::uint64_t value = 0;
    explicit operator bool() const { return value != 0; }
    bool operator==(const EventHotKeyRef&) const = default;
};

using OptionBits = std::uint32_t;

/// Registers a system-wide hot key: `keyCode` (virtual key code) with the Carbon modifier mask
/// `modifiers` (control 0x1000, option 0x800, shift 0x200, command 0x100, function 0x20000; other
/// bits are ignored for matching). While registered, pressing the chord sends `target` a
/// hot-key-pressed event (class "keyb", kind 5) and on release of its key a hot-key-released event
/// (kind 6), each with the direct-object parameter (type "hkid") holding `hotKeyID`; the key press
/// itself reaches no application. Statuses: `noErr` with `*outRef` set; `eventHotKeyExistsErr`
/// when another application holds the chord (the simulator decides which chords, `SimInput`), or
/// the simulator's own refusal; `paramErr` for a null target or a null `outRef`. One program may
/// register one chord several times; a press then fires the oldest live registration. Main thread;
/// logs nothing.
OSStatus RegisterEventHotKey(UInt32 keyCode, UInt32 modifiers, EventHotKeyID hotKeyID, EventTargetRef target,
                             OptionBits options, EventHotKeyRef* outRef);

/// Unregisters a hot key. `eventHotKeyInvalidErr` for a null or already unregistered reference (no
/// harm done). Main thread.
OSStatus UnregisterEventHotKey(EventHotKeyRef hotKey);

/// A readable text for a status of the hot-key and event-handler calls: "no error", "already held
/// by another application", "invalid hot key", "event not handled", "parameter not found",
/// "parameter error", else "error " + the number.
std::string carbonStatusDescription(OSStatus status);

} // namespace platform

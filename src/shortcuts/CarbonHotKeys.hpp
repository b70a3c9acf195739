#pragma once

#include "platform/foundation/SharedInstance.hpp"
#include "platform/input/CarbonEventHandlers.hpp"
#include "platform/input/CarbonHotKeys.hpp"
#include "shortcuts/RunLoopLocalEventMonitor.hpp"
#include "shortcuts/Shortcut.hpp"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace tilmora::GlobalShortcuts {

/// The hot-key engine: turns chords into system-wide hot keys (signature "QVHK", ids counting up
/// from 1, never reused, a failed registration using one up too) and calls the chord's actions
/// when one is pressed or released. One Carbon handler for the process, installed at the first
/// successful registration.
///
/// Two ways of seeing chords, chosen by `updateEventHandler` from the registry's switches:
/// - enabled, no menu open: the hot keys are registered and the handler takes hot-key events;
/// - enabled, a menu tracking: the hot keys are released from the system (records kept) and the
///   handler matches raw key events (below system 14) or a run-loop monitor in the event-tracking
///   mode matches the application's queued key events (from 14 on);
/// - disabled: hot keys released, nothing matched.
///
/// A chord the system refuses writes "Error registering hotkey <chord>: <status>" to standard
/// output alone (never to the log file) and keeps no record; a key code outside 0 ... 4294967295
/// is refused the same way with status -50.
/// Reset with the other shared instances. Main thread only.
class CarbonHotKeys {
public:
    using Handler = std::function<void(const Shortcut&)>;

    static constexpr platform::OSType signature = platform::fourCharCode("QVHK");

    static CarbonHotKeys& shared() {
        return platform::SharedInstance<CarbonHotKeys>::get();
    }
    ~CarbonHotKeys();

    /// Registers a new hot key for `shortcut` with the next id. Failures are only logged.
    void registerShortcut(const Shortcut& shortcut, Handler onKeyDown, Handler onKeyUp);
    /// Unregisters and forgets every record whose chord equals `shortcut`.
    void unregister(const Shortcut& shortcut);
    /// Brings hot keys and the handler's event types in line with the registry's `isEnabled` and
    /// `isMenuOpen` and the system version; nothing while no handler is installed.
    void updateEventHandler();

    /// The chords the operating system reserves, enabled ones only; empty when the list cannot be
    /// read. Entries whose enabled flag, code or mask have the wrong kind are skipped.
    static std::vector<Shortcut> system();

    /// The Carbon handler: hot-key pressed/released (kinds 5, 6) and raw key down/up (1, 3).
    static platform::OSStatus carbonHotKeysEventHandler(platform::EventHandlerCallRef callRef,
                                                                  platform::EventRef event, void* userData);

    /// One live record, for diagnostics and tests.
    struct Record {
        Shortcut shortcut;
        std::uint32_t carbonHotKeyId = 0;
        bool isRegistered = false; ///< false while soft-unregistered
    };
    /// The live records in id order.
    std::vector<Record> records() const;
    bool hasEventHandler() const { return static_cast<bool>(eventHandler_); }

private:
    friend class platform::SharedInstance<CarbonHotKeys>;
    CarbonHotKeys() = default;

    struct HotKey {
        Shortcut shortcut;
        std::uint32_t carbonHotKeyId = 0;
        platform::EventHotKeyRef carbonHotKey; ///< null while soft-unregistered
        Handler onKeyDown;
        Handler onKeyUp;
    };

    /// Registers `shortcut` with the system under `id`; logs and answers the status on failure.
    static platform::OSStatus registerWithSystem(const Shortcut& shortcut, std::int64_t id,
                                                 platform::EventHotKeyRef* outRef);
    void softRegisterAll();
    void softUnregisterAll();
    RunLoopLocalEventMonitor& keyEventMonitor();
    void addMonitorObserver();
    void removeMonitorObserver();
    /// Starts (`on`) or stops taking raw key events, through the run-loop monitor when
    /// `runLoopMonitor`, else through the event handler.
    void listenForRawKeys(bool on, bool runLoopMonitor);

    platform::OSStatus handleHotKeyEvent(const platform::EventRef& event);
    platform::OSStatus handleRawKeyEvent(const platform::EventRef& event);

    std::map<std::uint32_t, HotKey> hotKeys_;
    std::int64_t hotKeyId_ = 0;
    platform::EventHandlerRef eventHandler_;
    std::unique_ptr<RunLoopLocalEventMonitor> keyEventMonitor_;
};

} // namespace tilmora::GlobalShortcuts

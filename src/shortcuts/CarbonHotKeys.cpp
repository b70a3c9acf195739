#include "shortcuts/CarbonHotKeys.hpp"

#include "platform/foundation/StandardOutput.hpp"
#include "platform/dispatch/RunLoop.hpp"
#include "platform/input/ProcessInfo.hpp"
#include "platform/input/SymbolicHotKeys.hpp"
#include "shortcuts/Registry.hpp"

#include <limits>

namespace tilmora::GlobalShortcuts {

namespace {

using platform::EventTypeSpec;
using platform::kEventClassKeyboard;
using platform::OSStatus;

const std::vector<EventTypeSpec> hotKeyEventTypes{{kEventClassKeyboard, platform::kEventHotKeyPressed},
                                                  {kEventClassKeyboard, platform::kEventHotKeyReleased}};
const std::vector<EventTypeSpec> rawKeyEventTypes{{kEventClassKeyboard, platform::kEventRawKeyDown},
                                                  {kEventClassKeyboard, platform::kEventRawKeyUp}};

constexpr std::int64_t maxUInt32 = std::numeric_limits<std::uint32_t>::max();

bool inUInt32(std::int64_t value) {
    return value >= 0 && value <= maxUInt32;
}

bool monitorsMenusWithRunLoop() {
    return platform::ProcessInfo::processInfo().isOperatingSystemAtLeast({14, 0, 0});
}

} // namespace

CarbonHotKeys::~CarbonHotKeys() {
    for (auto& [id, hotKey] : hotKeys_)
        if (hotKey.carbonHotKey) platform::UnregisterEventHotKey(hotKey.carbonHotKey);
    if (eventHandler_) platform::RemoveEventHandler(eventHandler_);
}

OSStatus CarbonHotKeys::registerWithSystem(const Shortcut& shortcut, std::int64_t id,
                                                     platform::EventHotKeyRef* outRef) {
    OSStatus status = platform::paramErr;
    // Carbon takes 32-bit values; a code, mask or id outside them is refused, never narrowed.
    if (inUInt32(shortcut.carbonKeyCode) && inUInt32(shortcut.carbonModifiers) && inUInt32(id)) {
        status = platform::RegisterEventHotKey(static_cast<platform::UInt32>(shortcut.carbonKeyCode),
                                               static_cast<platform::UInt32>(shortcut.carbonModifiers),
                                               {signature, static_cast<platform::UInt32>(id)},
                                               platform::GetEventDispatcherTarget(), 0, outRef);
    }
    if (status != platform::noErr || !*outRef) {
        if (status == platform::noErr) status = platform::eventInternalErr;
        // A line for standard output alone: the log file never gets it.
        platform::StandardOutput::write("Error registering hotkey " + shortcut.presentableDescription() + ": " +
                                        std::to_string(status) + "\n");
    }
    return status;
}

void CarbonHotKeys::registerShortcut(const Shortcut& shortcut, Handler onKeyDown, Handler onKeyUp) {
    ++hotKeyId_;
    platform::EventHotKeyRef ref;
    if (registerWithSystem(shortcut, hotKeyId_, &ref) != platform::noErr) return;
    const auto id = static_cast<std::uint32_t>(hotKeyId_);
    hotKeys_.insert_or_assign(id, HotKey{shortcut, id, ref, std::move(onKeyDown), std::move(onKeyUp)});

    if (eventHandler_) return;
    const auto target = platform::GetEventDispatcherTarget();
    if (!target) return;
    platform::EventHandlerRef handler;
    if (platform::InstallEventHandler(target, &carbonHotKeysEventHandler, {}, nullptr, &handler) ==
            platform::noErr &&
        handler) {
        eventHandler_ = handler;
        updateEventHandler();
    }
}

void CarbonHotKeys::unregister(const Shortcut& shortcut) {
    for (auto it = hotKeys_.begin(); it != hotKeys_.end();) {
        if (it->second.shortcut == shortcut) {
            platform::UnregisterEventHotKey(it->second.carbonHotKey);
            it = hotKeys_.erase(it);
        } else {
            ++it;
        }
    }
}

void CarbonHotKeys::softRegisterAll() {
    for (auto it = hotKeys_.begin(); it != hotKeys_.end();) {
        HotKey& hotKey = it->second;
        if (hotKey.carbonHotKey) {
            ++it;
            continue;
        }
        platform::EventHotKeyRef ref;
        if (registerWithSystem(hotKey.shortcut, hotKey.carbonHotKeyId, &ref) == platform::noErr) {
            hotKey.carbonHotKey = ref;
            ++it;
        } else {
            it = hotKeys_.erase(it);
        }
    }
}

void CarbonHotKeys::softUnregisterAll() {
    for (auto& [id, hotKey] : hotKeys_) {
        if (hotKey.carbonHotKey) platform::UnregisterEventHotKey(hotKey.carbonHotKey);
        hotKey.carbonHotKey = {};
    }
}

RunLoopLocalEventMonitor& CarbonHotKeys::keyEventMonitor() {
    if (!keyEventMonitor_) {
        keyEventMonitor_ = std::make_unique<RunLoopLocalEventMonitor>(
            platform::EventTypeMask::keyDown | platform::EventTypeMask::keyUp,
            platform::RunLoopMode::eventTracking,
            [](const platform::NSEvent& event) -> std::optional<platform::NSEvent> {
                if (event.eventRef && shared().handleRawKeyEvent(event.eventRef) == platform::noErr)
                    return std::nullopt;
                return event;
            });
    }
    return *keyEventMonitor_;
}

void CarbonHotKeys::addMonitorObserver() {
    auto& monitor = keyEventMonitor();
    auto& runLoop = platform::RunLoop::current();
    if (!runLoop.containsObserver(monitor.observer, monitor.runLoopMode))
        runLoop.addObserver(monitor.observer, monitor.runLoopMode);
}

void CarbonHotKeys::removeMonitorObserver() {
    auto& monitor = keyEventMonitor();
    platform::RunLoop::current().removeObserver(monitor.observer, monitor.runLoopMode);
}

void CarbonHotKeys::updateEventHandler() {
    if (!eventHandler_) return;
    const auto& registry = Registry::shared();
    const bool runLoopMonitor = monitorsMenusWithRunLoop();
    if (registry.isEnabled() && !registry.isMenuOpen()) {
        softRegisterAll();
        listenForRawKeys(false, runLoopMonitor);
        platform::AddEventTypesToHandler(eventHandler_, hotKeyEventTypes);
    } else {
        // Off, or a menu is open: raw key events stand in for the hot keys while the switch is on.
        softUnregisterAll();
        platform::RemoveEventTypesFromHandler(eventHandler_, hotKeyEventTypes);
        listenForRawKeys(registry.isEnabled(), runLoopMonitor);
    }
}

void CarbonHotKeys::listenForRawKeys(bool on, bool runLoopMonitor) {
    if (runLoopMonitor) {
        if (on)
            addMonitorObserver();
        else
            removeMonitorObserver();
    } else if (on) {
        platform::AddEventTypesToHandler(eventHandler_, rawKeyEventTypes);
    } else {
        platform::RemoveEventTypesFromHandler(eventHandler_, rawKeyEventTypes);
    }
}

OSStatus CarbonHotKeys::carbonHotKeysEventHandler(platform::EventHandlerCallRef,
                                                                      platform::EventRef event, void*) {
    if (!event) return platform::eventNotHandledErr;
    switch (platform::GetEventKind(event)) {
    case platform::kEventHotKeyPressed:
    case platform::kEventHotKeyReleased:
        return shared().handleHotKeyEvent(event);
    case platform::kEventRawKeyDown:
    case platform::kEventRawKeyUp:
        return shared().handleRawKeyEvent(event);
    default:
        return platform::eventNotHandledErr;
    }
}

OSStatus CarbonHotKeys::handleHotKeyEvent(const platform::EventRef& event) {
    platform::EventHotKeyID hotKeyId;
    const OSStatus status =
        platform::GetEventParameter(event, platform::kEventParamDirectObject, platform::typeEventHotKeyID,
                                    nullptr, sizeof hotKeyId, nullptr, &hotKeyId);
    if (status != platform::noErr) return status;
    if (hotKeyId.signature != signature) return platform::eventNotHandledErr;
    const auto it = hotKeys_.find(hotKeyId.id);
    if (it == hotKeys_.end()) return platform::eventNotHandledErr;
    // Copies: an action may unregister the record.
    const Shortcut shortcut = it->second.shortcut;
    const Handler action = platform::GetEventKind(event) == platform::kEventHotKeyPressed
                               ? it->second.onKeyDown
                               : it->second.onKeyUp;
    if (action) action(shortcut);
    return platform::noErr;
}

OSStatus CarbonHotKeys::handleRawKeyEvent(const platform::EventRef& event) {
    platform::UInt32 keyCode = 0;
    platform::UInt32 modifiers = 0;
    OSStatus status = platform::GetEventParameter(event, platform::kEventParamKeyCode, platform::typeUInt32,
                                                  nullptr, sizeof keyCode, nullptr, &keyCode);
    if (status != platform::noErr) return status;
    status = platform::GetEventParameter(event, platform::kEventParamKeyModifiers, platform::typeUInt32,
                                         nullptr, sizeof modifiers, nullptr, &modifiers);
    if (status != platform::noErr) return status;
    const Shortcut pressed(static_cast<std::int64_t>(keyCode), static_cast<std::int64_t>(modifiers));
    for (const auto& [id, hotKey] : hotKeys_) {
        if (hotKey.shortcut != pressed) continue;
        const auto kind = platform::GetEventKind(event);
        if (kind != platform::kEventRawKeyDown && kind != platform::kEventRawKeyUp)
            return platform::eventNotHandledErr;
        const Shortcut shortcut = hotKey.shortcut;
        const Handler action = kind == platform::kEventRawKeyDown ? hotKey.onKeyDown : hotKey.onKeyUp;
        if (action) action(shortcut);
        return platform::noErr;
    }
    return platform::eventNotHandledErr;
}

std::vector<Shortcut> CarbonHotKeys::system() {
    platform::PropertyValue list;
    if (platform::CopySymbolicHotKeys(&list) != platform::noErr) return {};
    const auto* entries = list.asArray();
    if (entries == nullptr) return {};
    std::vector<Shortcut> result;
    for (const auto& entry : *entries) {
        const auto* dict = entry.asDictionary();
        if (dict == nullptr) continue;
        const auto find = [dict](const char* key) -> const platform::PropertyValue* {
            auto it = dict->find(key);
            return it == dict->end() ? nullptr : &it->second;
        };
        const auto* enabled = find(platform::kHISymbolicHotKeyEnabled);
        const auto* code = find(platform::kHISymbolicHotKeyCode);
        const auto* mods = find(platform::kHISymbolicHotKeyModifiers);
        if (!enabled || !enabled->asBool() || !*enabled->asBool()) continue;
        if (!code || !code->asInteger() || !mods || !mods->asInteger()) continue;
        result.emplace_back(*code->asInteger(), *mods->asInteger());
    }
    return result;
}

std::vector<CarbonHotKeys::Record> CarbonHotKeys::records() const {
    std::vector<Record> result;
    for (const auto& [id, hotKey] : hotKeys_)
        result.push_back({hotKey.shortcut, id, static_cast<bool>(hotKey.carbonHotKey)});
    return result;
}

} // namespace tilmora::GlobalShortcuts

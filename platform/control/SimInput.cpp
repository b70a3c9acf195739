#include "platform/control/SimInput.hpp"

#include "platform/control/SimDesktop.hpp"
#include "platform/control/SimScheduler.hpp"
#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/foundation/Text.hpp"
#include "platform/input/CarbonHotKeys.hpp"
#include "platform/input/EventQueue.hpp"
#include "platform/input/KeyboardLayout.hpp"
#include "platform/internal/InputState.hpp"
#include "platform/ui/StatusItem.hpp"

#include <algorithm>

namespace platform {

namespace {

using input_detail::state;

constexpr std::uint16_t kFunctionKeyCodes[] = {122, 120, 99,  118, 96,  97,  98, 100, 101, 109,
                                               103, 111, 105, 107, 113, 106, 64, 79,  80,  90};

bool isKeypad(std::uint16_t code) {
    switch (code) {
    case 65:
    case 67:
    case 69:
    case 71:
    case 75:
    case 76:
    case 78:
    case 81:
    case 82:
    case 83:
    case 84:
    case 85:
    case 86:
    case 87:
    case 88:
    case 89:
    case 91:
    case 92:
        return true;
    default:
        return false;
    }
}

/// The function-key character a key event carries instead of the layout's text; 0 for none.
std::uint32_t eventCharacterOverride(std::uint16_t code) {
    for (std::size_t i = 0; i < std::size(kFunctionKeyCodes); ++i) {
        if (kFunctionKeyCodes[i] == code)
            return static_cast<std::uint32_t>(SpecialKey::f1) + static_cast<std::uint32_t>(i);
    }
    switch (code) {
    case 126:
        return static_cast<std::uint32_t>(SpecialKey::upArrow);
    case 125:
        return static_cast<std::uint32_t>(SpecialKey::downArrow);
    case 123:
        return static_cast<std::uint32_t>(SpecialKey::leftArrow);
    case 124:
        return static_cast<std::uint32_t>(SpecialKey::rightArrow);
    case 115:
        return static_cast<std::uint32_t>(SpecialKey::home);
    case 119:
        return static_cast<std::uint32_t>(SpecialKey::end);
    case 116:
        return static_cast<std::uint32_t>(SpecialKey::pageUp);
    case 121:
        return static_cast<std::uint32_t>(SpecialKey::pageDown);
    case 117:
        return static_cast<std::uint32_t>(SpecialKey::deleteForward);
    case 114:
        return static_cast<std::uint32_t>(SpecialKey::help);
    case 71:
        return static_cast<std::uint32_t>(SpecialKey::clearLine);
    case 51:
        return static_cast<std::uint32_t>(SpecialKey::deleteKey);
    default:
        return 0;
    }
}

std::string utf8FromUtf16(const char16_t* units, std::size_t count) {
    std::string out;
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t c = units[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < count && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        }
        Text::appendUtf8(out, static_cast<char32_t>(c)); // a lone surrogate becomes U+FFFD
    }
    return out;
}

void callGlobalMonitors(const NSEvent& event) {
    auto monitors = state().monitors; // monitors may be added or removed by a handler
    for (const auto& m : monitors) {
        if (m->isLocal() || !m->isActive() || !m->mask().contains(event.type)) continue;
        input_detail::MonitorAccess::callGlobal(*m, event);
    }
}

/// Queues an event for the application; the main run loop dispatches the queue on its next turn
/// (after its before-sources observers, in every common mode).
void deliverToProgram(const NSEvent& event) {
    EventQueue::shared().postEvent(event);
    auto& s = state();
    if (s.dispatchScheduled) return;
    s.dispatchScheduled = true;
    DispatchQueue::main().async([generation = input_detail::stateGeneration()] {
        // After a reset the new state schedules its own dispatch.
        if (generation != input_detail::stateGeneration()) return;
        state().dispatchScheduled = false;
        EventQueue::shared().dispatchPending();
    });
}

void deliverToOthers(const NSEvent& event) {
    callGlobalMonitors(event);
    auto receiver = state().otherApplicationReceiver;
    if (receiver) receiver(event);
}

bool keysGoToProgram() {
    auto& p = state().keysGoToProgram;
    return p && p();
}

bool pointerGoesToProgram(CGPoint at) {
    auto& p = state().pointerGoesToProgram;
    return p && p(at);
}

ModifierFlags heldOnly(ModifierFlags flags) {
    return flags & (ModifierFlags::control | ModifierFlags::option | ModifierFlags::shift |
                    ModifierFlags::command | ModifierFlags::function | ModifierFlags::capsLock);
}

void sendHotKeyEvent(const input_detail::HotKeyEntry& hk, UInt32 kind, std::uint16_t keyCode,
                     ModifierFlags flags) {
    auto event = CreateEvent(kEventClassKeyboard, kind);
    event->setParameter(kEventParamDirectObject, typeEventHotKeyID, &hk.id, sizeof(EventHotKeyID));
    NSEvent current = NSEvent::keyEvent(EventType::systemDefined, state().pointer, flags,
                                        input_detail::eventClock(), 0, "", "", false, keyCode);
    current.subtype = 6;
    current.eventRef = event;
    EventQueue::CurrentEventScope scope(current);
    SendEventToEventTarget(event, GetEventDispatcherTarget());
}

void deliverKey(EventType type, std::uint16_t keyCode, ModifierFlags held, bool repeat) {
    const ModifierFlags flags = held | SimInput::impliedFlags(keyCode);
    NSEvent e = NSEvent::keyEvent(
        type, state().pointer, flags, input_detail::eventClock(), 0, SimInput::charactersFor(keyCode, held),
        SimInput::charactersFor(keyCode, held & ModifierFlags::shift), repeat, keyCode);
    auto raw = CreateEvent(kEventClassKeyboard, type == EventType::keyUp ? kEventRawKeyUp
                                                : repeat                 ? kEventRawKeyRepeat
                                                                         : kEventRawKeyDown);
    const UInt32 code = keyCode;
    const UInt32 mods = input_detail::carbonModifiers(held);
    raw->setParameter(kEventParamKeyCode, typeUInt32, &code, sizeof code);
    raw->setParameter(kEventParamKeyModifiers, typeUInt32, &mods, sizeof mods);
    e.eventRef = raw;
    if (keysGoToProgram()) {
        if (SendEventToEventTarget(raw, GetEventDispatcherTarget()) != eventNotHandledErr) return;
        deliverToProgram(e);
    } else {
        deliverToOthers(e);
    }
}

} // namespace

SimInput& SimInput::shared() {
    static SimInput input;
    return input;
}

void SimInput::setKeysGoToProgram(std::function<bool()> predicate) {
    state().keysGoToProgram = std::move(predicate);
}

void SimInput::setPointerGoesToProgram(std::function<bool(CGPoint)> predicate) {
    state().pointerGoesToProgram = std::move(predicate);
}

void SimInput::setOtherApplicationReceiver(std::function<void(const NSEvent&)> receiver) {
    state().otherApplicationReceiver = std::move(receiver);
}

void SimInput::keyDown(std::uint16_t keyCode, ModifierFlags held) {
    auto& s = state();
    held = heldOnly(held);
    s.held = held;
    const bool repeat = !s.keysDown.insert(keyCode).second;
    const std::uint32_t pressed = input_detail::carbonModifiers(held) & input_detail::kChordBits;
    if (repeat && (s.firedHotKeys.contains(keyCode) || s.keysToOtherHotKeys.contains(keyCode))) return;
    if (!repeat) {
        for (const auto& other : s.heldByOthers) {
            if (other.keyCode == keyCode && other.modifiers == pressed) {
                s.keysToOtherHotKeys.insert(keyCode);
                return;
            }
        }
        for (const auto& hk : s.hotKeys) {
            if (hk.keyCode == keyCode && input_detail::hotKeyMatches(hk.modifiers, pressed)) {
                auto fired = hk; // the handler may unregister it
                s.firedHotKeys[keyCode] = fired;
                sendHotKeyEvent(fired, kEventHotKeyPressed, keyCode, held | impliedFlags(keyCode));
                return;
            }
        }
    }
    deliverKey(EventType::keyDown, keyCode, held, repeat);
}

void SimInput::keyUp(std::uint16_t keyCode, ModifierFlags held) {
    auto& s = state();
    held = heldOnly(held);
    s.held = held;
    s.keysDown.erase(keyCode);
    if (auto it = s.firedHotKeys.find(keyCode); it != s.firedHotKeys.end()) {
        auto fired = it->second;
        s.firedHotKeys.erase(it);
        const bool live = std::any_of(s.hotKeys.begin(), s.hotKeys.end(),
                                      [&](const input_detail::HotKeyEntry& e) { return e.ref == fired.ref; });
        if (live) sendHotKeyEvent(fired, kEventHotKeyReleased, keyCode, held | impliedFlags(keyCode));
        return;
    }
    if (s.keysToOtherHotKeys.erase(keyCode) > 0) return;
    deliverKey(EventType::keyUp, keyCode, held, false);
}

void SimInput::setModifierFlags(ModifierFlags held) {
    auto& s = state();
    held = heldOnly(held);
    if (held == s.held) return;
    s.held = held;
    NSEvent e = NSEvent::keyEvent(EventType::flagsChanged, s.pointer, held, input_detail::eventClock(), 0, "",
                                  "", false, 0);
    if (keysGoToProgram()) {
        deliverToProgram(e);
    } else {
        deliverToOthers(e);
    }
}

void SimInput::insertText(const std::string& text) {
    if (text.empty()) return;
    const NSEvent e = NSEvent::textInputEvent(state().pointer, input_detail::eventClock(), text);
    if (keysGoToProgram()) {
        deliverToProgram(e);
    } else {
        deliverToOthers(e);
    }
}

void SimInput::press(const KeyChord& chord) {
    const ModifierFlags before = state().held;
    if (!chord.modifiers.isEmpty()) setModifierFlags(chord.modifiers);
    keyDown(chord.keyCode, chord.modifiers);
    keyUp(chord.keyCode, chord.modifiers);
    setModifierFlags(before);
}

namespace {

EventType draggedType(std::uint32_t buttons) {
    if (buttons & 1U) return EventType::leftMouseDragged;
    if (buttons & 2U) return EventType::rightMouseDragged;
    return EventType::otherMouseDragged;
}

/// Height of the title bar by which a window is dragged (points, at the top of its frame).
constexpr double kTitleBarHeight = 28;

/// What the window server does with a left-button event that goes to other applications, before
/// the global monitors see it: a mouse-down on a window brings it and its application to the
/// front, one on the bare desktop takes the front from the program, and one within the top 28 points of a (not full-screen) window's frame starts moving
/// that window; each dragged event then moves it by the pointer's travel since the previous event,
/// keeping its current size, and the mouse-up ends the move. The program's own windows are the UI toolkit's: a click that lands
/// on one (when the routing hook did not give it to the program) neither activates the program
/// nor moves the window, and it does not reach the windows below.
void windowServerHandles(const NSEvent& event) {
    auto& s = state();
    auto& desktop = SimDesktop::shared();
    switch (event.type) {
    case EventType::leftMouseDown: {
        s.titleBarDragWindow.reset();
        const CGPoint p = event.locationInWindow;
        auto hit = desktop.windowAt(p);
        if (!hit) {
            desktop.clickDesktop(p);
            return;
        }
        if (hit->pid == desktop.programPid()) return;
        desktop.clickWindow(hit->number);
        if (!hit->fullScreen && p.y >= hit->frame.maxY() - kTitleBarHeight) {
            s.titleBarDragWindow = hit->number;
            s.titleBarDragAnchor = p;
        }
        return;
    }
    case EventType::leftMouseDragged:
        if (s.titleBarDragWindow) {
            // Moves by the travel since the previous event and keeps the window's current size,
            // so a resize made during the drag (through Accessibility) is not undone.
            desktop.dragWindowByTitleBar(*s.titleBarDragWindow, event.locationInWindow.x - s.titleBarDragAnchor.x,
                event.locationInWindow.y - s.titleBarDragAnchor.y);
            s.titleBarDragAnchor = event.locationInWindow;
        }
        return;
    case EventType::leftMouseUp:
        s.titleBarDragWindow.reset();
        return;
    default:
        return;
    }
}

void deliverMouse(EventType type, bool toProgram, long clickCount) {
    auto& s = state();
    NSEvent e = NSEvent::mouseEvent(type, s.pointer, s.held, input_detail::eventClock(), 0, clickCount);
    if (toProgram) {
        deliverToProgram(e);
    } else {
        windowServerHandles(e);
        deliverToOthers(e);
    }
}

} // namespace

void SimInput::moveMouse(CGPoint location) {
    auto& s = state();
    // The window server keeps the pointer on the displays.
    location = input_detail::keepOnDisplays(location);
    s.pointer = location;
    if (s.buttons != 0) {
        deliverMouse(draggedType(s.buttons), s.mouseCapturedByProgram, 0);
    } else {
        deliverMouse(EventType::mouseMoved, pointerGoesToProgram(location), 0);
    }
}

void SimInput::mouseDown(long button) {
    auto& s = state();
    const std::uint32_t bit = 1U << std::clamp<long>(button, 0, 31);
    if (s.buttons == 0) {
        // Every display's menu bar shows the status items: a press on one brings their buttons there.
        ui::StatusBar::system().pressOnMenuBar(s.pointer);
        s.mouseCapturedByProgram = pointerGoesToProgram(s.pointer);
    }
    s.buttons |= bit;
    const EventType type = button == 0   ? EventType::leftMouseDown
                           : button == 1 ? EventType::rightMouseDown
                                         : EventType::otherMouseDown;
    deliverMouse(type, s.mouseCapturedByProgram, 1);
}

void SimInput::mouseUp(long button) {
    auto& s = state();
    const std::uint32_t bit = 1U << std::clamp<long>(button, 0, 31);
    if ((s.buttons & bit) == 0) return;
    s.buttons &= ~bit;
    const EventType type = button == 0   ? EventType::leftMouseUp
                           : button == 1 ? EventType::rightMouseUp
                                         : EventType::otherMouseUp;
    deliverMouse(type, s.mouseCapturedByProgram, 1);
}

void SimInput::scrollWheel(double delta) {
    auto& s = state();
    NSEvent e =
        NSEvent::mouseEvent(EventType::scrollWheel, s.pointer, s.held, input_detail::eventClock(), 0, 0);
    e.scrollingDeltaY = -delta;
    if (pointerGoesToProgram(s.pointer))
        deliverToProgram(e);
    else
        deliverToOthers(e);
}

void SimInput::drag(CGPoint from, CGPoint to, double duration, int steps, ModifierFlags held) {
    steps = std::max(steps, 1);
    duration = std::max(duration, 0.0);
    auto& sim = SimScheduler::shared();
    const double start = sim.now();
    const auto generation = input_detail::stateGeneration();
    const auto stopped = state().dragsStopped;
    auto step = [generation, stopped](std::function<void()> fn) {
        return [generation, stopped, fn = std::move(fn)] {
            if (generation == input_detail::stateGeneration() && stopped == state().dragsStopped) fn();
        };
    };
    sim.schedule(start, step([this, from, held] {
                     setModifierFlags(held);
                     moveMouse(from);
                     mouseDown(0);
                 }),
                 "drag start");
    for (int i = 1; i <= steps; ++i) {
        const double f = static_cast<double>(i) / steps;
        const CGPoint at{from.x + (to.x - from.x) * f, from.y + (to.y - from.y) * f};
        sim.schedule(start + duration * f, step([this, at] { moveMouse(at); }), "drag step");
    }
    sim.schedule(start + duration, step([this] {
                     mouseUp(0);
                     setModifierFlags({});
                 }),
                 "drag end");
}

void SimInput::stopDrags() {
    auto& s = state();
    ++s.dragsStopped;
    if ((s.buttons & 1U) == 0) return;
    mouseUp(0);
    setModifierFlags({});
}

void SimInput::holdHotKeyByOtherApplication(std::uint32_t keyCode, std::uint32_t carbonModifiers,
                                            OSStatus status) {
    auto& s = state();
    releaseHotKeyOfOtherApplication(keyCode, carbonModifiers);
    s.heldByOthers.push_back({keyCode, carbonModifiers & input_detail::kChordBits, status});
}

void SimInput::releaseHotKeyOfOtherApplication(std::uint32_t keyCode, std::uint32_t carbonModifiers) {
    const std::uint32_t bits = carbonModifiers & input_detail::kChordBits;
    std::erase_if(state().heldByOthers, [&](const input_detail::HeldChord& h) {
        return h.keyCode == keyCode && h.modifiers == bits;
    });
}

std::vector<SimInput::HotKeyRegistration> SimInput::registeredHotKeys() const {
    std::vector<HotKeyRegistration> out;
    for (const auto& hk : state().hotKeys)
        out.push_back({hk.keyCode, hk.modifiers, hk.id.signature, hk.id.id});
    return out;
}

void SimInput::setSymbolicHotKeys(const std::vector<SymbolicHotKey>& keys) {
    state().symbolic = keys;
}

void SimInput::setSymbolicHotKeysAnswer(PropertyValue raw, OSStatus status) {
    state().symbolicAnswer = std::move(raw);
    state().symbolicStatus = status;
}

void SimInput::resetSymbolicHotKeys() {
    auto& s = state();
    s.symbolic = input_detail::defaultSymbolicHotKeys();
    s.symbolicAnswer.reset();
    s.symbolicStatus = noErr;
}

void SimInput::setKeyboardLayoutAvailable(bool available) {
    state().layoutAvailable = available;
}

void SimInput::setKeyboardLayoutDataAvailable(bool available) {
    state().layoutDataAvailable = available;
}

void SimInput::setKeyboardType(std::uint32_t type) {
    state().keyboardType = type;
}

void SimInput::setOperatingSystemVersion(OperatingSystemVersion version) {
    state().osVersion = version;
}

std::string SimInput::charactersFor(std::uint16_t keyCode, ModifierFlags held) {
    if (std::uint32_t special = eventCharacterOverride(keyCode)) {
        std::string out;
        Text::appendUtf8(out, static_cast<char32_t>(special));
        return out;
    }
    auto layout = TISGetInputSourceProperty(TISCopyCurrentASCIICapableKeyboardLayoutInputSource(),
                                            kTISPropertyUnicodeKeyLayoutData);
    if (!layout) return {};
    const std::uint32_t state =
        (input_detail::carbonModifiers(held.subtracting(ModifierFlags::command)) >> 8) & 0xFF;
    std::uint32_t dead = 0;
    char16_t buffer[8];
    std::size_t length = 0;
    if (UCKeyTranslate(layout.get(), keyCode, kUCKeyActionDisplay, state, LMGetKbdType(), 0, &dead,
                       std::size(buffer), &length, buffer) != noErr)
        return {};
    return utf8FromUtf16(buffer, length);
}

std::optional<KeyChord> SimInput::chordTyping(const std::string& character) {
    constexpr std::uint16_t kReturn = 36;
    constexpr std::uint16_t kTab = 48;
    if (character == "\n" || character == "\r") return KeyChord{kReturn, {}};
    if (character == "\t") return KeyChord{kTab, {}};
    // Control characters and the function-key characters are no text a key types.
    if (character.empty() || static_cast<unsigned char>(character[0]) < 0x20 || character == "\x7F") return std::nullopt;
    for (const ModifierFlags held : {ModifierFlags{}, ModifierFlags::shift})
        for (std::uint16_t code = 0; code < 128; ++code)
            if (!isKeypad(code) && eventCharacterOverride(code) == 0 && charactersFor(code, held) == character)
                return KeyChord{code, held};
    return std::nullopt;
}

ModifierFlags SimInput::impliedFlags(std::uint16_t keyCode) {
    if (keyCode >= 123 && keyCode <= 126) return ModifierFlags::function | ModifierFlags::numericPad;
    if (std::find(std::begin(kFunctionKeyCodes), std::end(kFunctionKeyCodes), keyCode) !=
        std::end(kFunctionKeyCodes))
        return ModifierFlags::function;
    if (keyCode >= 114 && keyCode <= 121) return ModifierFlags::function;
    if (isKeypad(keyCode)) return ModifierFlags::numericPad;
    return {};
}

} // namespace platform

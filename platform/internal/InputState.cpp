#include "platform/internal/InputState.hpp"

#include "platform/dispatch/MediaTime.hpp"
#include "platform/foundation/SharedInstance.hpp"
#include "platform/internal/DesktopModel.hpp"
#include "platform/internal/DesktopState.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

#include <atomic>

namespace platform::input_detail {

namespace {
std::atomic<std::uint64_t> generation{0};
} // namespace

State::State()
    : symbolic(defaultSymbolicHotKeys()) {
    ++generation;
}

// A reset destroys the state at once but makes the next one lazily: work scheduled before the
// reset must see it stale even when nothing has touched the input since.
State::~State() {
    ++generation;
}

State& state() {
    return SharedInstance<State>::get();
}

std::uint64_t stateGeneration() {
    // The state made lazily by the work itself must not read as a reset that came in between.
    state();
    return generation.load();
}

void endProgram() {
    auto& s = state();
    s.hotKeys.clear();
    s.firedHotKeys.clear();
    for (auto& handler : s.handlers) {
        handler.removed = true;
        handler.proc = nullptr;
    }
    for (auto& monitor : std::vector(s.monitors)) NSEvent::removeMonitor(monitor);
    s.mouseCapturedByProgram = false;
}

CGPoint keepOnDisplays(CGPoint location) {
    if (std::isnan(location.x)) location.x = 0;
    if (std::isnan(location.y)) location.y = 0;
    auto holder = desktop_detail::currentModel();
    desktop_detail::DesktopModel::Txn txn(*holder);
    if (holder->displays.empty()) return location;
    // First into the box around every display, so that the distances below stay small and exact.
    double minX = holder->displays.front().spec.frame.minX(), maxX = holder->displays.front().spec.frame.maxX();
    double minY = holder->displays.front().spec.frame.minY(), maxY = holder->displays.front().spec.frame.maxY();
    for (const auto& display : holder->displays) {
        minX = std::min(minX, display.spec.frame.minX());
        maxX = std::max(maxX, display.spec.frame.maxX());
        minY = std::min(minY, display.spec.frame.minY());
        maxY = std::max(maxY, display.spec.frame.maxY());
    }
    location = {std::clamp(location.x, minX, maxX), std::clamp(location.y, minY, maxY)};
    std::optional<CGPoint> best;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (const auto& display : holder->displays) {
        const CGRect& f = display.spec.frame;
        const CGPoint p{std::clamp(location.x, f.minX(), f.maxX()), std::clamp(location.y, f.minY(), f.maxY())};
        const double distance = std::hypot(p.x - location.x, p.y - location.y);
        if (!best || distance < bestDistance) {
            best = p;
            bestDistance = distance;
        }
    }
    return best.value_or(location);
}

std::vector<SimInput::SymbolicHotKey> defaultSymbolicHotKeys() {
    return {
        {true, 49, 0x100},   // Spotlight: Command-Space
        {true, 49, 0x900},   // Finder search: Option-Command-Space
        {true, 126, 0x1000}, // Mission Control: Control-Up
        {true, 125, 0x1000}, // Application windows: Control-Down
        {true, 123, 0x1000}, // Move left a Space: Control-Left
        {true, 124, 0x1000}, // Move right a Space: Control-Right
        {true, 20, 0x300},   // Screenshot: Shift-Command-3
        {true, 21, 0x300},   // Screenshot of a selection: Shift-Command-4
        {true, 23, 0x300},   // Screenshot options: Shift-Command-5
        {true, 49, 0x1000},  // Previous input source: Control-Space
        {true, 49, 0x1800},  // Next input source: Control-Option-Space
        {true, 103, 0},      // Show Desktop: F11
        {false, 18, 0x1000}, // Switch to Desktop 1: Control-1 (off)
    };
}

double eventClock() {
    return mediaTime();
}

OSStatus dispatchCarbonEvent(const EventRef& event, std::size_t below) {
    if (!event) return paramErr;
    auto& s = state();
    for (std::size_t i = std::min(below, s.handlers.size()); i-- > 0;) {
        // Copy what is needed: a handler may install or remove handlers.
        if (s.handlers[i].removed) continue;
        bool listens = false;
        for (const auto& t : s.handlers[i].types) {
            if (t.eventClass == event->eventClass() && t.eventKind == event->kind()) listens = true;
        }
        if (!listens) continue;
        auto proc = s.handlers[i].proc;
        void* user = s.handlers[i].userData;
        OSStatus status = proc(EventHandlerCallRef{1, i}, event, user);
        if (status != eventNotHandledErr) return status;
    }
    return eventNotHandledErr;
}

bool hotKeyMatches(std::uint32_t registered, std::uint32_t pressed) {
    const std::uint32_t core = cmdKey | shiftKey | optionKey | controlKey;
    if ((registered & core) != (pressed & core)) return false;
    return (registered & kEventKeyModifierFnMask) == 0 || (pressed & kEventKeyModifierFnMask) != 0;
}

std::uint32_t carbonModifiers(ModifierFlags flags) {
    std::uint32_t m = 0;
    if (flags.contains(ModifierFlags::command)) m |= cmdKey;
    if (flags.contains(ModifierFlags::shift)) m |= shiftKey;
    if (flags.contains(ModifierFlags::capsLock)) m |= alphaLock;
    if (flags.contains(ModifierFlags::option)) m |= optionKey;
    if (flags.contains(ModifierFlags::control)) m |= controlKey;
    if (flags.contains(ModifierFlags::function)) m |= kEventKeyModifierFnMask;
    return m;
}

} // namespace platform::input_detail

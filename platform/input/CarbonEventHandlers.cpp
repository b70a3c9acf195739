#include "platform/input/CarbonEventHandlers.hpp"

#include "platform/internal/InputState.hpp"

#include <algorithm>

namespace platform {

namespace {
constexpr std::uint64_t kDispatcherTarget = 1;

input_detail::HandlerEntry* findHandler(EventHandlerRef ref) {
    for (auto& h : input_detail::state().handlers) {
        if (h.id == ref.value && !h.removed) return &h;
    }
    return nullptr;
}
} // namespace

EventTargetRef GetEventDispatcherTarget() {
    return EventTargetRef{kDispatcherTarget};
}

EventTargetRef GetApplicationEventTarget() {
    return EventTargetRef{kDispatcherTarget};
}

OSStatus InstallEventHandler(EventTargetRef target, EventHandlerProcPtr handler,
                             const std::vector<EventTypeSpec>& types, void* userData,
                             EventHandlerRef* outRef) {
    if (target.value != kDispatcherTarget || !handler) return paramErr;
    auto& s = input_detail::state();
    input_detail::HandlerEntry entry;
    entry.id = s.nextHandlerId++;
    entry.proc = std::move(handler);
    entry.userData = userData;
    for (const auto& t : types) {
        if (std::find(entry.types.begin(), entry.types.end(), t) == entry.types.end())
            entry.types.push_back(t);
    }
    if (outRef) *outRef = EventHandlerRef{entry.id};
    s.handlers.push_back(std::move(entry));
    return noErr;
}

OSStatus RemoveEventHandler(EventHandlerRef handler) {
    auto* h = findHandler(handler);
    if (!h) return paramErr;
    h->removed = true;
    h->proc = nullptr;
    return noErr;
}

OSStatus AddEventTypesToHandler(EventHandlerRef handler, const std::vector<EventTypeSpec>& types) {
    auto* h = findHandler(handler);
    if (!h) return paramErr;
    for (const auto& t : types) {
        if (std::find(h->types.begin(), h->types.end(), t) == h->types.end()) h->types.push_back(t);
    }
    return noErr;
}

OSStatus RemoveEventTypesFromHandler(EventHandlerRef handler, const std::vector<EventTypeSpec>& types) {
    auto* h = findHandler(handler);
    if (!h) return paramErr;
    std::erase_if(h->types, [&](const EventTypeSpec& t) {
        return std::find(types.begin(), types.end(), t) != types.end();
    });
    return noErr;
}

OSStatus CallNextEventHandler(EventHandlerCallRef callRef, const EventRef& event) {
    if (callRef.target != kDispatcherTarget) return paramErr;
    return input_detail::dispatchCarbonEvent(event, callRef.position);
}

OSStatus SendEventToEventTarget(const EventRef& event, EventTargetRef target) {
    if (target.value != kDispatcherTarget) return paramErr;
    return input_detail::dispatchCarbonEvent(event, input_detail::state().handlers.size());
}

} // namespace platform

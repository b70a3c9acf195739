#include "platform/input/EventQueue.hpp"

#include "platform/foundation/SharedInstance.hpp"
#include "platform/internal/InputState.hpp"

#include <memory>

namespace platform {

EventQueue& EventQueue::shared() {
    return SharedInstance<EventQueue>::get();
}

std::optional<NSEvent> EventQueue::nextEvent(EventTypeMask mask, bool dequeue) {
    for (auto it = queue_.begin(); it != queue_.end(); ++it) {
        if (!mask.contains(it->type)) continue;
        NSEvent e = *it;
        if (dequeue) queue_.erase(it);
        return e;
    }
    return std::nullopt;
}

void EventQueue::postEvent(const NSEvent& event, bool atStart) {
    if (atStart) {
        queue_.push_front(event);
    } else {
        queue_.push_back(event);
    }
}

EventQueue::CurrentEventScope::CurrentEventScope(const NSEvent& event) {
    auto& q = EventQueue::shared();
    previous_ = q.current_;
    q.current_ = event;
}

EventQueue::CurrentEventScope::~CurrentEventScope() {
    EventQueue::shared().current_ = previous_;
}

std::optional<NSEvent> EventQueue::applyLocalMonitors(const NSEvent& event) {
    // A snapshot: monitors added meanwhile wait for the next event, removed ones are skipped.
    auto monitors = input_detail::state().monitors;
    std::optional<NSEvent> current = event;
    for (const auto& m : monitors) {
        if (!m->isLocal() || !m->isActive() || !m->mask().contains(current->type)) continue;
        current = input_detail::MonitorAccess::callLocal(*m, *current);
        if (!current) return std::nullopt;
    }
    return current;
}

std::size_t EventQueue::dispatchPending() {
    std::size_t taken = 0;
    while (!queue_.empty()) {
        NSEvent e = queue_.front();
        queue_.pop_front();
        ++taken;
        auto survivor = applyLocalMonitors(e);
        if (!survivor) continue;
        CurrentEventScope scope(*survivor);
        if (handler_) handler_(*survivor);
    }
    return taken;
}

} // namespace platform

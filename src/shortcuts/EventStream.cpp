#include "shortcuts/EventStream.hpp"

#include "platform/dispatch/DispatchQueue.hpp"
#include "shortcuts/Registry.hpp"

namespace tilmora::GlobalShortcuts {

void EventStream::State::deliver(EventType type) {
    if (cancelled || (filter && *filter != type)) return;
    buffer.push_back(type);
    if (onEvent) {
        auto call = onEvent; // the consumer may replace itself
        call(type);
    }
}

EventStream::EventStream(Name name, std::uint64_t id, std::shared_ptr<State> state)
    : name_(std::move(name))
    , id_(id)
    , state_(std::move(state)) {}

EventStream& EventStream::operator=(EventStream&& other) noexcept {
    if (this != &other) {
        cancel();
        name_ = std::move(other.name_);
        id_ = other.id_;
        state_ = std::move(other.state_);
    }
    return *this;
}

EventStream::~EventStream() {
    cancel();
}

std::optional<EventType> EventStream::next() {
    if (!state_ || state_->buffer.empty()) return std::nullopt;
    const EventType type = state_->buffer.front();
    state_->buffer.pop_front();
    return type;
}

std::size_t EventStream::pendingCount() const {
    return state_ ? state_->buffer.size() : 0;
}

void EventStream::setOnEvent(std::function<void(EventType)> onEvent) {
    if (state_) state_->onEvent = std::move(onEvent);
}

bool EventStream::isCancelled() const {
    return !state_ || state_->cancelled;
}

void EventStream::cancel() {
    if (!state_ || state_->cancelled) return;
    state_->cancelled = true;
    platform::DispatchQueue::main().async(
        [name = name_, id = id_] { Registry::shared().removeStream(name, id); });
}

EventStream makeEventStream(const Name& name, std::optional<EventType> filter) {
    auto state = std::make_shared<EventStream::State>();
    state->filter = filter;
    const std::uint64_t id = Registry::shared().nextStreamId();
    platform::DispatchQueue::main().async([name, id, weak = std::weak_ptr<EventStream::State>(state)] {
        auto s = weak.lock();
        if (!s || s->cancelled) return; // ended before it joined
        Registry::shared().addStream(name, id, s);
    });
    return EventStream(name, id, std::move(state));
}

} // namespace tilmora::GlobalShortcuts

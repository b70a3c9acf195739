#pragma once

#include "shortcuts/EventType.hpp"
#include "shortcuts/Name.hpp"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

namespace tilmora::GlobalShortcuts {

/// A subscription to the presses and releases of one name's chord (`events(name)`), buffering
/// without bound what the consumer has not taken yet.
///
/// The subscription joins the registry through the main queue after it was made, and leaves it
/// through the main queue when it is cancelled or destroyed; a press before it joined is not seen.
/// Move-only. Main thread.
class EventStream {
public:
    EventStream(EventStream&&) noexcept = default;
    EventStream& operator=(EventStream&& other) noexcept;
    EventStream(const EventStream&) = delete;
    EventStream& operator=(const EventStream&) = delete;
    /// Cancels the subscription.
    ~EventStream();

    /// The oldest event not taken yet; none when the buffer is empty.
    std::optional<EventType> next();
    /// How many events wait in the buffer.
    std::size_t pendingCount() const;
    /// Called with each event as it arrives (after it was buffered); null: none.
    void setOnEvent(std::function<void(EventType)> onEvent);

    /// Ends the subscription: no more events arrive; the registry forgets it on the main queue and
    /// releases the chord's hot key when nothing else uses it. Cancelling twice does nothing.
    void cancel();
    bool isCancelled() const;

    const Name& name() const { return name_; }

    /// The buffer the registry's actions fill; shared with them.
    struct State {
        std::deque<EventType> buffer;
        std::optional<EventType> filter;
        std::function<void(EventType)> onEvent;
        bool cancelled = false;
        void deliver(EventType type);
    };

private:
    friend EventStream makeEventStream(const Name& name, std::optional<EventType> filter);
    EventStream(Name name, std::uint64_t id, std::shared_ptr<State> state);

    Name name_;
    std::uint64_t id_ = 0;
    std::shared_ptr<State> state_;
};

/// A subscription to `name`'s events, of one type only when `filter` is given (registry use).
EventStream makeEventStream(const Name& name, std::optional<EventType> filter);

} // namespace tilmora::GlobalShortcuts

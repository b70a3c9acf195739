#pragma once

#include <functional>
#include <memory>

#include "platform/foundation/DeliveryQueue.hpp"

namespace platform {

/// The main queue as a notification delivery queue (an observer registered "on the main queue").
/// A post made on the main thread is delivered synchronously, inside `post`; a post from any
/// other thread is enqueued on the main queue and delivered when the main run loop services it.
class MainQueueDelivery : public DeliveryQueue {
public:
    /// The one instance to register observers with.
    static std::shared_ptr<DeliveryQueue> shared();

    void deliver(std::function<void()> work) override;
};

} // namespace platform

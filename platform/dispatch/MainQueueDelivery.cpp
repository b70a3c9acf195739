#include "platform/dispatch/MainQueueDelivery.hpp"

#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/dispatch/Thread.hpp"

namespace platform {

std::shared_ptr<DeliveryQueue> MainQueueDelivery::shared() {
    static const std::shared_ptr<DeliveryQueue> queue = std::make_shared<MainQueueDelivery>();
    return queue;
}

void MainQueueDelivery::deliver(std::function<void()> work) {
    if (Thread::isMainThread())
        work();
    else
        DispatchQueue::main().async(std::move(work));
}

} // namespace platform

#include "platform/dispatch/DispatchWorkItem.hpp"

#include <utility>

namespace platform {

DispatchWorkItem::DispatchWorkItem(std::function<void()> block)
    : block_(std::move(block)) {}

void DispatchWorkItem::perform() {
    if (cancelled_.load(std::memory_order_acquire) || !block_) return;
    block_();
}

void DispatchWorkItem::cancel() {
    cancelled_.store(true, std::memory_order_release);
}

bool DispatchWorkItem::isCancelled() const {
    return cancelled_.load(std::memory_order_acquire);
}

} // namespace platform

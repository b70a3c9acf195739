#pragma once

#include <atomic>
#include <functional>
#include <memory>

namespace platform {

/// A block that can be cancelled until it starts: submit it with `DispatchQueue::async` or
/// `asyncAfter` (held by `std::shared_ptr`, so the queue and the submitter share it) and call
/// `cancel()` to stop it. Cancelling before the item runs means it never runs; cancelling while it
/// runs or after it ran changes nothing but `isCancelled()`. Any thread.
class DispatchWorkItem {
public:
    explicit DispatchWorkItem(std::function<void()> block);

    DispatchWorkItem(const DispatchWorkItem&) = delete;
    DispatchWorkItem& operator=(const DispatchWorkItem&) = delete;

    /// Runs the block on the calling thread, unless the item is cancelled. Each call runs it again.
    void perform();
    /// Marks the item cancelled: a later `perform` (including the queue's) does nothing.
    void cancel();
    bool isCancelled() const;

private:
    std::function<void()> block_;
    std::atomic<bool> cancelled_{false};
};

} // namespace platform

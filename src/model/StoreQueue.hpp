#pragma once

#include <mutex>
#include <string>
#include <utility>

namespace tilmora {

/// The serial queue on which a JSON store runs each of its calls, synchronously: the caller blocks
/// until its work is done, and the work of two callers never interleaves. Any thread. The work
/// must not call back into the same store.
class StoreQueue {
public:
    explicit StoreQueue(std::string label)
        : label_(std::move(label)) {}

    const std::string& label() const { return label_; }

    /// Runs `work` on the queue and returns its result (or rethrows its error).
    template <class Work>
    auto sync(Work&& work) -> decltype(work()) {
        std::lock_guard<std::mutex> hold(mutex_);
        return work();
    }

private:
    std::string label_;
    std::mutex mutex_;
};

} // namespace tilmora

#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

#include "platform/dispatch/DispatchQoS.hpp"
#include "platform/dispatch/DispatchTime.hpp"

namespace platform {

class DispatchGroup;
class DispatchWorkItem;

/// A dispatch queue: the main queue (blocks run on the main thread when its run loop runs, in the
/// common modes, one batch per turn, never inside another main-queue block), a global concurrent
/// queue (each block on a worker of the shared pool, in parallel), or a serial queue (one block at
/// a time, in submission order, on pool workers). A cheap handle; copies are the same queue.
///
/// Any thread may submit. A block that throws on a worker fails the simulation (simulated mode;
/// the test's main thread sees a `platform::Error`) or terminates the program (real mode).
class DispatchQueue {
public:
    using Block = std::function<void()>;

    static DispatchQueue main();
    static DispatchQueue global(DispatchQoS qos = DispatchQoS::defaultQoS);
    /// A new serial queue.
    explicit DispatchQueue(std::string label);

    const std::string& label() const;

    void async(Block block) const;
    /// Enters `group` now and leaves it when `block` has run.
    void async(const DispatchGroup& group, Block block) const;
    /// Submits `block` at `deadline`.
    void asyncAfter(DispatchTime deadline, Block block) const;
    /// Submits `item`; it runs unless it is cancelled before the queue starts it. The queue keeps
    /// the item alive until then. A null item is ignored.
    void async(std::shared_ptr<DispatchWorkItem> item) const;
    /// Submits `item` at `deadline`; a cancel before the queue starts it (also before the deadline)
    /// means it never runs. A null item is ignored.
    void asyncAfter(DispatchTime deadline, std::shared_ptr<DispatchWorkItem> item) const;
    /// Runs `block` on the queue and waits for it: on the main thread for the main queue; for a
    /// serial queue on the calling thread once every block submitted before has run, with the
    /// queue held until it returns; at once on the calling thread for a global queue. An exception
    /// of the block is rethrown here. Throws `platform::Error` instead of deadlocking when called
    /// on the main thread for the main queue or from a serial queue's own block.
    void sync(const Block& block) const;
    /// `sync` that returns the block's value.
    template <class F>
    requires(!std::is_void_v<std::invoke_result_t<F&>>) std::invoke_result_t<F&> sync(F&& f)
    const {
        std::optional<std::invoke_result_t<F&>> result;
        sync(Block([&] { result.emplace(f()); }));
        return std::move(*result);
    }

    bool operator==(const DispatchQueue& other) const { return impl_ == other.impl_; }

    struct Impl;

private:
    friend class DispatchGroup;
    explicit DispatchQueue(std::shared_ptr<Impl> impl)
        : impl_(std::move(impl)) {}
    /// Submits under the kernel lock (used by groups and delayed dispatch).
    void enqueueLocked(std::unique_lock<std::mutex>& g, Block block) const;
    void syncOnMain(const Block& block) const;

    std::shared_ptr<Impl> impl_;
};

} // namespace platform

#include "platform/dispatch/DispatchQueue.hpp"

#include <deque>
#include <exception>

#include "platform/dispatch/DispatchGroup.hpp"
#include "platform/dispatch/Kernel.hpp"
#include "platform/foundation/Error.hpp"

namespace platform {

using detail::Kernel;

struct DispatchQueue::Impl {
    enum class Kind { main, global, serial };
    Kind kind = Kind::serial;
    std::string label;
    std::deque<Block> jobs;
    bool draining = false;
    std::uint64_t generation = 0;
};

namespace {

thread_local const DispatchQueue::Impl* tlsCurrentQueue = nullptr;

/// What a waiting `sync` caller and the block share.
struct SyncState {
    bool done = false;
    std::exception_ptr error;
    detail::WaitChannel channel;
};

void drainSerial(const std::shared_ptr<DispatchQueue::Impl>& q) {
    auto& k = Kernel::get();
    auto g = k.lock();
    const std::uint64_t gen = k.generation();
    while (q->generation == gen && !q->jobs.empty()) {
        DispatchQueue::Block job = std::move(q->jobs.front());
        q->jobs.pop_front();
        g.unlock();
        const DispatchQueue::Impl* previous = tlsCurrentQueue;
        tlsCurrentQueue = q.get();
        struct Restore {
            const DispatchQueue::Impl* p;
            ~Restore() { tlsCurrentQueue = p; }
        } restore{previous};
        k.runJob(job);
        job = nullptr;
        g.lock();
    }
    if (q->generation == gen) q->draining = false;
}

void enqueue(Kernel::Guard& g, const std::shared_ptr<DispatchQueue::Impl>& q, DispatchQueue::Block block) {
    auto& k = Kernel::get();
    switch (q->kind) {
    case DispatchQueue::Impl::Kind::main:
        k.submitMain(g, std::move(block));
        return;
    case DispatchQueue::Impl::Kind::global:
        k.submitGlobal(g, std::move(block));
        return;
    case DispatchQueue::Impl::Kind::serial:
        if (q->generation != k.generation()) {
            q->jobs.clear();
            q->draining = false;
            q->generation = k.generation();
        }
        q->jobs.push_back(std::move(block));
        if (!q->draining) {
            q->draining = true;
            k.submitGlobal(g, [q] { drainSerial(q); });
        }
        return;
    }
}

std::shared_ptr<DispatchQueue::Impl> makeImpl(DispatchQueue::Impl::Kind kind, std::string label) {
    auto impl = std::make_shared<DispatchQueue::Impl>();
    impl->kind = kind;
    impl->label = std::move(label);
    return impl;
}

} // namespace

DispatchQueue DispatchQueue::main() {
    static const auto impl = makeImpl(Impl::Kind::main, "com.apple.main-thread");
    return DispatchQueue(impl);
}

DispatchQueue DispatchQueue::global(DispatchQoS qos) {
    static const std::shared_ptr<Impl> impls[] = {
        makeImpl(Impl::Kind::global, "global.background"),
        makeImpl(Impl::Kind::global, "global.utility"),
        makeImpl(Impl::Kind::global, "global.default"),
        makeImpl(Impl::Kind::global, "global.user-initiated"),
        makeImpl(Impl::Kind::global, "global.user-interactive"),
    };
    return DispatchQueue(impls[static_cast<int>(qos)]);
}

DispatchQueue::DispatchQueue(std::string label)
    : impl_(makeImpl(Impl::Kind::serial, std::move(label))) {}

const std::string& DispatchQueue::label() const {
    return impl_->label;
}

void DispatchQueue::enqueueLocked(std::unique_lock<std::mutex>& g, Block block) const {
    enqueue(g, impl_, std::move(block));
}

void DispatchQueue::async(Block block) const {
    auto g = Kernel::get().lock();
    enqueue(g, impl_, std::move(block));
}

void DispatchQueue::async(const DispatchGroup& group, Block block) const {
    DispatchGroup grp = group;
    grp.enter();
    async([grp, block = std::move(block)]() mutable {
        struct Leave {
            DispatchGroup& grp;
            ~Leave() {
                if (std::uncaught_exceptions() == 0) grp.leave();
            }
        } leave{grp};
        block();
    });
}

void DispatchQueue::asyncAfter(DispatchTime deadline, Block block) const {
    auto& k = Kernel::get();
    auto g = k.lock();
    k.submitAt(g, deadline.uptimeNanoseconds, [impl = impl_, block = std::move(block)](Kernel::Guard& inner) {
        enqueue(inner, impl, block);
    });
}

void DispatchQueue::sync(const Block& block) const {
    auto& k = Kernel::get();
    if (impl_->kind == Impl::Kind::global) {
        block();
        return;
    }
    if (impl_->kind == Impl::Kind::main && k.isMainThread())
        throw Error("DispatchQueue::main().sync called on the main thread would deadlock");
    if (impl_->kind == Impl::Kind::serial && tlsCurrentQueue == impl_.get())
        throw Error("sync onto the serial queue '" + impl_->label + "' from its own block would deadlock");
    auto state = std::make_shared<SyncState>();
    auto g = k.lock();
    enqueue(g, impl_, [state, block] {
        try {
            block();
        } catch (const detail::ThreadCancelled&) {
            throw;
        } catch (...) {
            state->error = std::current_exception();
        }
        auto& kk = Kernel::get();
        auto inner = kk.lock();
        state->done = true;
        kk.notifyAll(inner, state->channel);
    });
    const detail::WaitReason reason{"waiting for sync on the queue", &impl_->label, false};
    if (!k.wait(g, &state->channel, detail::kNever, reason, [&] { return state->done; })) return;
    g.unlock();
    if (state->error) std::rethrow_exception(state->error);
}

} // namespace platform

#include "platform/dispatch/DispatchQueue.hpp"

#include <algorithm>
#include <deque>
#include <exception>
#include <vector>

#include "platform/dispatch/DispatchGroup.hpp"
#include "platform/dispatch/DispatchWorkItem.hpp"
#include "platform/internal/Kernel.hpp"
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

/// The serial queues whose blocks the calling thread runs now, innermost last.
thread_local std::vector<const DispatchQueue::Impl*> tlsQueues;

/// What a serial-queue `sync` caller and the queue's worker share while the caller has its turn.
struct TurnState {
    bool turn = false;
    bool finished = false;
    detail::WaitChannel channel;
};

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
        tlsQueues.push_back(q.get());
        struct Restore {
            ~Restore() { tlsQueues.pop_back(); }
        } restore;
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

void DispatchQueue::async(std::shared_ptr<DispatchWorkItem> item) const {
    if (!item) return;
    async(Block([item = std::move(item)] { item->perform(); }));
}

void DispatchQueue::asyncAfter(DispatchTime deadline, std::shared_ptr<DispatchWorkItem> item) const {
    if (!item) return;
    asyncAfter(deadline, Block([item = std::move(item)] { item->perform(); }));
}

void DispatchQueue::sync(const Block& block) const {
    auto& k = Kernel::get();
    if (impl_->kind == Impl::Kind::global) {
        block();
        return;
    }
    if (impl_->kind == Impl::Kind::main) {
        if (k.isMainThread())
            throw Error("DispatchQueue::main().sync called on the main thread would deadlock");
        syncOnMain(block);
        return;
    }
    if (std::find(tlsQueues.begin(), tlsQueues.end(), impl_.get()) != tlsQueues.end())
        throw Error("sync onto the serial queue '" + impl_->label + "' from its own block would deadlock");
    // As on the original platform the block runs on the calling thread, once every block submitted
    // before it has run; the queue's worker holds the queue until the block is done.
    auto state = std::make_shared<TurnState>();
    auto g = k.lock();
    enqueue(g, impl_, [state, label = &impl_->label] {
        auto& kk = Kernel::get();
        auto inner = kk.lock();
        state->turn = true;
        kk.notifyAll(inner, state->channel);
        const detail::WaitReason lent{"lending the serial queue to a sync caller", label, false};
        kk.wait(inner, &state->channel, detail::kNever, lent, [&] { return state->finished; });
    });
    const detail::WaitReason reason{"waiting for sync on the queue", &impl_->label, false};
    if (!k.wait(g, &state->channel, detail::kNever, reason, [&] { return state->turn; })) return;
    g.unlock();
    struct Finish {
        std::shared_ptr<TurnState> state;
        ~Finish() {
            tlsQueues.pop_back();
            auto& kk = Kernel::get();
            auto inner = kk.lock();
            state->finished = true;
            kk.notifyAll(inner, state->channel);
        }
    };
    tlsQueues.push_back(impl_.get());
    Finish finish{state};
    block();
}

void DispatchQueue::syncOnMain(const Block& block) const {
    auto& k = Kernel::get();
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

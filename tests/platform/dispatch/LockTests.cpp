#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/dispatch/Lock.hpp"
#include "platform/dispatch/RecursiveLock.hpp"
#include "platform/foundation/Error.hpp"
#include "support/PlatformTest.hpp"

#include <stdexcept>
#include <string>
#include <utility>

using namespace platform;

namespace {

class LockKinds : public PlatformTest {
protected:
    /// What a worker's tryLock answers right now.
    template <class L>
    bool otherThreadGets(L& lock) {
        bool got = false;
        DispatchQueue::global(DispatchQoS::userInitiated).async([&] {
            got = lock.tryLock();
            if (got) lock.unlock();
        });
        sim().runFor(0.1);
        return got;
    }

    struct Observed {
        bool relockThrows = false;
        bool holderTryLock = false;
        bool otherWhileHeld = true;
        bool otherAfterRelease = false;
        bool otherAfterThrowInside = false;
        std::string name;
    };

    template <class L>
    Observed observe() {
        Observed o;
        L lock("first");
        lock.lock();
        try {
            lock.lock();
            lock.unlock();
        } catch (const Error&) {
            o.relockThrows = true;
        }
        o.holderTryLock = lock.tryLock();
        if (o.holderTryLock) lock.unlock();
        o.otherWhileHeld = otherThreadGets(lock);
        lock.unlock();
        o.otherAfterRelease = otherThreadGets(lock);
        try {
            lock.withLock([]() -> int { throw std::runtime_error("inside"); });
        } catch (const std::runtime_error&) {
        }
        o.otherAfterThrowInside = otherThreadGets(lock);
        lock.setName("renamed");
        o.name = lock.name();
        return o;
    }
};

TEST_F(LockKinds, PlainAndRecursiveDifferOnlyInRelockingByTheHolder) {
    const std::pair<bool, Observed> kinds[] = {{false, observe<Lock>()}, {true, observe<RecursiveLock>()}};
    for (const auto& [recursive, observed] : kinds) {
        SCOPED_TRACE(recursive ? "RecursiveLock" : "Lock");
        // Only the recursive lock lets its holder lock it again.
        EXPECT_EQ(observed.relockThrows, !recursive);
        EXPECT_EQ(observed.holderTryLock, recursive);
        EXPECT_FALSE(observed.otherWhileHeld);
        EXPECT_TRUE(observed.otherAfterRelease);
        EXPECT_TRUE(observed.otherAfterThrowInside) << "withLock unlocks when its block throws";
        EXPECT_EQ(observed.name, "renamed");
    }
}

} // namespace

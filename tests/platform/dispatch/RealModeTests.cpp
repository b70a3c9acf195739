#include <atomic>
#include <optional>
#include <vector>

#include "platform/control/SimScheduler.hpp"
#include "platform/dispatch/DispatchGroup.hpp"
#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/dispatch/DispatchSemaphore.hpp"
#include "platform/dispatch/Lock.hpp"
#include "platform/dispatch/RecursiveLock.hpp"
#include "platform/dispatch/RunLoop.hpp"
#include "platform/dispatch/Runtime.hpp"
#include "platform/dispatch/Thread.hpp"
#include "platform/dispatch/Timer.hpp"
#include "support/PlatformTest.hpp"

#include <unistd.h>

using namespace platform;

namespace {

// Smoke test of the real mode (also run under ThreadSanitizer by `make tsan`): real threads, real
// clock, short waits.
class RealMode : public RealPlatformTest {};

TEST_F(RealMode, FanOutLocksMainSyncSemaphoreAndTimerWork) {
    ASSERT_EQ(Runtime::mode(), Runtime::Mode::real);
    RecursiveLock automation("ui automation");
    Lock listLock("list");
    std::vector<int> finished;
    std::atomic<int> mainSyncs{0};
    DispatchGroup group;
    bool notified = false;
    for (int i = 0; i < 6; ++i) {
        DispatchQueue::global(DispatchQoS::userInitiated).async(group, [&, i] {
            automation.withLock([&] { automation.withLock([&] { platform::usleep(500); }); });
            const bool onMain = DispatchQueue::main().sync([] { return Thread::isMainThread(); });
            if (onMain) ++mainSyncs;
            listLock.withLock([&] { finished.push_back(i); });
        });
    }
    group.notify(DispatchQueue::main(), [&] { notified = Thread::isMainThread(); });

    DispatchSemaphore never(0);
    DispatchSemaphore signalled(0);
    DispatchQueue("serial").async([&] { signalled.signal(); });
    int ticks = 0;
    auto timer = Timer::scheduledTimer(0.002, true, [&](Timer&) { ++ticks; });

    EXPECT_TRUE(sim().runUntil([&] { return notified && ticks >= 3; }, 10.0));
    timer->invalidate();
    EXPECT_EQ(signalled.wait(DispatchTime::now() + 5.0), DispatchTimeoutResult::success);
    EXPECT_EQ(never.wait(DispatchTime::now() + 0.01), DispatchTimeoutResult::timedOut);
    EXPECT_EQ(mainSyncs.load(), 6);
    EXPECT_EQ(listLock.withLock([&] { return finished.size(); }), 6U);
    EXPECT_TRUE(notified);
}

// A drag schedules its last step and its release for one instant, from one start time; a run of
// the main loop that reaches that instant runs both, in the order they were scheduled, as the
// virtual clock does.
TEST_F(RealMode, EventsDueAtOneInstantRunInScheduleOrderWithinTheRun) {
    auto& scheduler = SimScheduler::shared();
    std::vector<int> order;
    const double start = scheduler.now();
    for (int i = 0; i < 40; ++i)
        scheduler.schedule(start + 0.01 * ((i % 2) + 1) * 0.5, [&order, i] { order.push_back(i); }, "step");
    RunLoop::main().runFor(0.01);
    std::vector<int> expected;
    for (int i = 0; i < 40; i += 2)
        expected.push_back(i);
    for (int i = 1; i < 40; i += 2)
        expected.push_back(i);
    EXPECT_EQ(order, expected);
}

// Waiting for a descriptor keeps the main run loop serving: a timer ticks, and work a worker puts on
// the main queue runs at once and may make the descriptor readable, which ends the wait.
TEST_F(RealMode, WaitForADescriptorServesTheMainLoopUntilItIsReadable) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    int ticks = 0;
    auto timer = Timer::scheduledTimer(0.002, true, [&](Timer&) { ++ticks; });
    EXPECT_EQ(RunLoop::main().runUntilReadable({-1, ends[0]}, 0.05), std::nullopt);
    EXPECT_GE(ticks, 1);
    DispatchQueue::global(DispatchQoS::userInitiated).async([&] {
        platform::usleep(2000);
        DispatchQueue::main().async([&] {
            const char byte = 'x';
            EXPECT_EQ(::write(ends[1], &byte, 1), 1);
        });
    });
    // The descriptor ends the wait (a timeout would give none).
    EXPECT_EQ(RunLoop::main().runUntilReadable({-1, ends[0]}, 10.0), std::optional<std::size_t>(1));
    timer->invalidate();
    ::close(ends[0]);
    ::close(ends[1]);
}

} // namespace

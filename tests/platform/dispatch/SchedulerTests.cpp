#include <algorithm>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/dispatch/DispatchGroup.hpp"
#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/dispatch/DispatchSemaphore.hpp"
#include "platform/dispatch/Lock.hpp"
#include "platform/dispatch/MediaTime.hpp"
#include "platform/dispatch/RecursiveLock.hpp"
#include "platform/dispatch/RunLoop.hpp"
#include "platform/dispatch/Thread.hpp"
#include "platform/foundation/Error.hpp"
#include "support/PlatformTest.hpp"

using namespace platform;

namespace {

class Scheduler : public PlatformTest {};

DispatchQueue worker() {
    return DispatchQueue::global(DispatchQoS::userInitiated);
}

TEST_F(Scheduler, WorkerPollSeesFlagOfScheduledEventOnNextPoll) {
    bool flag = false;
    std::optional<double> seenAt;
    worker().async([&] {
        const double start = mediaTime();
        while (mediaTime() - start < 6.0) {
            if (flag) {
                seenAt = sim().now();
                return;
            }
            platform::usleep(100000);
        }
    });
    sim().schedule(
        1.25, [&] { flag = true; }, "flag set");
    ASSERT_TRUE(sim().runUntil([&] { return seenAt.has_value(); }, 10.0));
    EXPECT_DOUBLE_EQ(*seenAt, 1.3);
    EXPECT_DOUBLE_EQ(sim().now(), 1.3);
}

TEST_F(Scheduler, GroupFanOutFinishesInTheSameOrderEveryRun) {
    struct Task {
        std::string app;
        double seconds;
    };
    const std::vector<Task> tasks = {
        {"Safari", 0.8}, {"Mail", 0.3}, {"Notes", 1.2}, {"Xcode", 0.5}, {"Music", 0.3}};
    std::vector<std::string> firstOrder;
    for (int run = 0; run < 4; ++run) {
        sim().reset();
        Lock listLock("failure list");
        std::vector<std::string> finished;
        DispatchGroup group;
        int notified = 0;
        double notifiedAt = -1;
        bool notifiedOnMain = false;
        for (const auto& task : tasks) {
            group.enter();
            worker().async([&, task] {
                platform::sleep(task.seconds);
                listLock.withLock([&] { finished.push_back(task.app); });
                group.leave();
            });
        }
        group.notify(DispatchQueue::main(), [&] {
            ++notified;
            notifiedAt = sim().now();
            notifiedOnMain = Thread::isMainThread();
        });
        sim().runFor(3.0);
        EXPECT_EQ(notified, 1);
        EXPECT_DOUBLE_EQ(notifiedAt, 1.2);
        EXPECT_TRUE(notifiedOnMain);
        ASSERT_EQ(finished.size(), tasks.size());
        if (run == 0)
            firstOrder = finished;
        else
            EXPECT_EQ(finished, firstOrder) << "run " << run;
    }
    EXPECT_EQ(firstOrder, (std::vector<std::string>{"Mail", "Music", "Xcode", "Safari", "Notes"}));
}

TEST_F(Scheduler, RecursiveLockHeldAcrossSleepBlocksSecondWorkerUntilReleased) {
    RecursiveLock lock("ui automation");
    std::vector<std::string> log;
    double secondGotItAt = -1;
    worker().async([&] {
        lock.lock();
        lock.lock(); // a nested automation step takes it again
        log.push_back("first holds");
        platform::sleep(0.5);
        lock.unlock();
        log.push_back("first still holds");
        lock.unlock();
        log.push_back("first released");
    });
    worker().async([&] {
        platform::sleep(0.1);
        lock.lock();
        secondGotItAt = sim().now();
        log.push_back("second holds");
        lock.unlock();
    });
    sim().runFor(1.0);
    EXPECT_EQ(log, (std::vector<std::string>{"first holds", "first still holds", "first released",
                                             "second holds"}));
    EXPECT_DOUBLE_EQ(secondGotItAt, 0.5);
}

TEST_F(Scheduler, MainSyncFromWorkerRunsOnMainThreadAndReturnsValue) {
    std::optional<int> result;
    bool ranOnMain = false;
    double returnedAt = -1;
    worker().async([&] {
        platform::sleep(0.2);
        result = DispatchQueue::main().sync([&] {
            ranOnMain = Thread::isMainThread();
            return 42;
        });
        returnedAt = sim().now();
    });
    RunLoop::main().runUntilMediaTime(mediaTime() + 1.0);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(*result, 42);
    EXPECT_TRUE(ranOnMain);
    EXPECT_DOUBLE_EQ(returnedAt, 0.2);
}

TEST_F(Scheduler, NestedRunLoopInsideMainQueueBlockFiresTimersButNotOtherMainBlocks) {
    // The restore worker waits on the main queue while a main-thread block turns the run loop in
    // 0.05 s steps: timers keep firing there, other main-queue blocks wait for the outer turn.
    std::vector<std::string> log;
    auto timer = Timer::make(0.04, false, [&](Timer&) { log.push_back("timer"); });
    RunLoop::main().add(timer, RunLoopMode::common);
    worker().async([&] {
        DispatchQueue::main().async([&] { log.push_back("async block"); });
        DispatchQueue::main().sync([&] {
            for (int i = 0; i < 3; ++i)
                RunLoop::current().runFor(0.05);
            log.push_back("sync block done");
        });
    });
    sim().runFor(1.0);
    EXPECT_EQ(log, (std::vector<std::string>{"async block", "timer", "sync block done"}));
}

struct SemaphoreCase {
    const char* name;
    std::optional<double> signalAt;
    DispatchTimeoutResult result;
    double returnsAt;
};

void PrintTo(const SemaphoreCase& c, std::ostream* os) {
    *os << c.name;
}

class SemaphoreWait : public PlatformTest, public ::testing::WithParamInterface<SemaphoreCase> {};

TEST_P(SemaphoreWait, ReturnsAtSignalOrExactlyAtTimeout) {
    const auto& c = GetParam();
    DispatchSemaphore semaphore(0);
    std::optional<DispatchTimeoutResult> result;
    double returnedAt = -1;
    worker().async([&] {
        result = semaphore.wait(DispatchTime::now() + 1.0);
        returnedAt = sim().now();
    });
    if (c.signalAt)
        DispatchQueue::main().asyncAfter(DispatchTime::now() + *c.signalAt, [&] { semaphore.signal(); });
    sim().runFor(2.0);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(*result, c.result);
    EXPECT_DOUBLE_EQ(returnedAt, c.returnsAt);
}

INSTANTIATE_TEST_SUITE_P(
    Scheduler, SemaphoreWait,
    ::testing::Values(SemaphoreCase{"signalled", 0.3, DispatchTimeoutResult::success, 0.3},
                      SemaphoreCase{"unsignalled", std::nullopt, DispatchTimeoutResult::timedOut, 1.0}),
    [](const auto& info) { return std::string(info.param.name); });

struct TimerModeCase {
    const char* name;
    RunLoopMode timerMode;
    RunLoopMode runMode;
    int fires;
};

void PrintTo(const TimerModeCase& c, std::ostream* os) {
    *os << c.name;
}

class TimerModes : public PlatformTest, public ::testing::WithParamInterface<TimerModeCase> {};

TEST_P(TimerModes, RepeatingTickFiresOnlyInMatchingModes) {
    const auto& c = GetParam();
    int fires = 0;
    auto timer = Timer::make(1.0 / 90.0, true, [&](Timer&) { ++fires; });
    RunLoop::main().add(timer, c.timerMode);
    RunLoop::main().runFor(c.runMode, 1.0);
    EXPECT_EQ(fires, c.fires);
    timer->invalidate();
    RunLoop::main().runFor(c.runMode, 0.5);
    EXPECT_EQ(fires, c.fires);
}

INSTANTIATE_TEST_SUITE_P(
    Scheduler, TimerModes,
    ::testing::Values(
        TimerModeCase{"commonInDefault", RunLoopMode::common, RunLoopMode::defaultMode, 90},
        TimerModeCase{"commonInTracking", RunLoopMode::common, RunLoopMode::eventTracking, 90},
        TimerModeCase{"commonInModal", RunLoopMode::common, RunLoopMode::modalPanel, 90},
        TimerModeCase{"defaultInDefault", RunLoopMode::defaultMode, RunLoopMode::defaultMode, 90},
        TimerModeCase{"defaultInTracking", RunLoopMode::defaultMode, RunLoopMode::eventTracking, 0},
        TimerModeCase{"trackingInDefault", RunLoopMode::eventTracking, RunLoopMode::defaultMode, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Scheduler, OneShotTimerFiresOnceAndRepeatingTimerSkipsMissedTicks) {
    int once = 0;
    int ticks = 0;
    auto oneShot = Timer::scheduledTimer(3.0, false, [&](Timer&) { ++once; });
    auto tick = Timer::make(0.1, true, [&](Timer&) { ++ticks; });
    RunLoop::main().add(tick, RunLoopMode::defaultMode);
    // The main thread is busy (not in its run loop) for 0.55 s: the missed ticks collapse into one.
    DispatchSemaphore never(0);
    EXPECT_EQ(never.wait(DispatchTime::now() + 0.55), DispatchTimeoutResult::timedOut);
    sim().runFor(0.1);
    EXPECT_EQ(ticks, 2); // the late one at 0.55 and the one at 0.6
    sim().runFor(3.0);
    EXPECT_EQ(once, 1);
    EXPECT_FALSE(oneShot->isValid());
}

TEST_F(Scheduler, BeforeSourcesObserverRunsOnlyInItsMode) {
    int calls = 0;
    auto observer = RunLoopObserver::make(RunLoopObserver::beforeSources, true, 0,
                                          [&](RunLoopObserver&, unsigned activity) {
                                              EXPECT_EQ(activity, RunLoopObserver::beforeSources);
                                              ++calls;
                                          });
    RunLoop::main().addObserver(observer, RunLoopMode::eventTracking);
    DispatchQueue::main().async([] {});
    RunLoop::main().runFor(RunLoopMode::defaultMode, 0.1);
    EXPECT_EQ(calls, 0);
    DispatchQueue::main().async([] {});
    RunLoop::main().runFor(RunLoopMode::eventTracking, 0.1);
    EXPECT_GT(calls, 0);
    RunLoop::main().removeObserver(observer, RunLoopMode::eventTracking);
    EXPECT_FALSE(RunLoop::main().containsObserver(observer, RunLoopMode::eventTracking));
    const int before = calls;
    RunLoop::main().runFor(RunLoopMode::eventTracking, 0.1);
    EXPECT_EQ(calls, before);
}

TEST_F(Scheduler, EventRunsOnMainThreadBeforeWorkerDueAtSameInstant) {
    std::vector<std::string> log;
    bool eventOnMain = false;
    worker().async([&] {
        platform::sleep(0.5);
        log.push_back("worker");
    });
    sim().schedule(0.5, [&] {
        eventOnMain = Thread::isMainThread();
        log.push_back("event");
    });
    sim().runFor(1.0);
    EXPECT_EQ(log, (std::vector<std::string>{"event", "worker"}));
    EXPECT_TRUE(eventOnMain);
}

TEST_F(Scheduler, EventRunsWhileMainThreadWaitsOnSemaphore) {
    DispatchSemaphore done(0);
    sim().schedule(0.7, [&] { done.signal(); });
    EXPECT_EQ(done.wait(DispatchTime::now() + 5.0), DispatchTimeoutResult::success);
    EXPECT_DOUBLE_EQ(sim().now(), 0.7);
}

TEST_F(Scheduler, SerialQueueRunsBlocksInOrderAndSyncReturnsValue) {
    DispatchQueue store("layout store");
    std::vector<int> order;
    for (int i = 0; i < 5; ++i)
        store.async([&, i] {
            platform::sleep(0.01 * (5 - i));
            order.push_back(i);
        });
    std::optional<std::size_t> seen;
    std::string nestedError;
    bool syncRanOnMain = false;
    std::optional<double> syncReturnedAt;
    // From the main thread the block runs on the main thread, after the blocks before it.
    syncReturnedAt = store.sync([&] {
        syncRanOnMain = Thread::isMainThread();
        return sim().now();
    });
    EXPECT_TRUE(syncRanOnMain);
    EXPECT_EQ(order.size(), 5U);
    EXPECT_DOUBLE_EQ(*syncReturnedAt, 0.15);
    worker().async([&] {
        seen = store.sync([&] { return order.size(); });
        store.sync([&] {
            try {
                store.sync([] {});
            } catch (const Error& e) {
                nestedError = e.what();
            }
        });
    });
    sim().runFor(1.0);
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(seen, std::optional<std::size_t>(5));
    EXPECT_NE(nestedError.find("would deadlock"), std::string::npos);
}

TEST_F(Scheduler, MainSyncOnMainThreadThrowsInsteadOfHanging) {
    EXPECT_THROW(DispatchQueue::main().sync([] {}), Error);
}

TEST_F(Scheduler, GroupWaitTimesOutThenSucceeds) {
    DispatchGroup group;
    worker().async(group, [] { platform::sleep(2.0); });
    std::vector<DispatchTimeoutResult> results;
    std::vector<double> at;
    worker().async([&] {
        results.push_back(group.wait(DispatchTime::now() + 0.5));
        at.push_back(sim().now());
        group.wait();
        results.push_back(DispatchTimeoutResult::success);
        at.push_back(sim().now());
    });
    sim().runFor(3.0);
    EXPECT_EQ(results, (std::vector<DispatchTimeoutResult>{DispatchTimeoutResult::timedOut,
                                                           DispatchTimeoutResult::success}));
    EXPECT_EQ(at, (std::vector<double>{0.5, 2.0}));
    EXPECT_THROW(group.leave(), Error);
}

TEST_F(Scheduler, DrainMainQueueRunsWorkWithoutAdvancingClock) {
    std::vector<std::string> log;
    worker().async([&] { DispatchQueue::main().async([&] { log.push_back("from worker"); }); });
    DispatchQueue::main().async([&] { log.push_back("direct"); });
    DispatchQueue::main().asyncAfter(DispatchTime::now(), [&] { log.push_back("due now"); });
    DispatchQueue::main().asyncAfter(DispatchTime::now() + 0.1, [&] { log.push_back("later"); });
    sim().drainMainQueue();
    EXPECT_EQ(log, (std::vector<std::string>{"direct", "from worker", "due now"}));
    EXPECT_DOUBLE_EQ(sim().now(), 0.0);
}

TEST_F(Scheduler, ExceptionOnWorkerFailsTheMainThread) {
    // Whichever way the main thread lets the worker run, the worker's exception surfaces there.
    struct Case {
        const char* name;
        std::function<void()> run;
    };
    const std::vector<Case> cases = {
        {"runFor", [this] { sim().runFor(1.0); }},
        {"runUntil", [this] { sim().runUntil([] { return false; }, 1.0); }},
        {"drainMainQueue", [this] { sim().drainMainQueue(); }},
        {"semaphore wait", [] { DispatchSemaphore(0).wait(DispatchTime::now() + 1.0); }},
    };
    for (const auto& c : cases) {
        sim().reset();
        worker().async([] { throw std::runtime_error("broken row"); });
        try {
            c.run();
            ADD_FAILURE() << c.name << ": expected the worker's exception to be reported";
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find("broken row"), std::string::npos)
                << c.name << ": " << e.what();
        }
    }
}

TEST_F(Scheduler, ResetStopsAndJoinsEveryWorker) {
    Lock lock("held forever");
    for (int i = 0; i < 4; ++i)
        worker().async([&] {
            lock.lock();
            platform::sleep(100.0);
        });
    sim().runFor(0.1);
    EXPECT_GE(sim().threadCount(), 5U);
    sim().reset();
    EXPECT_EQ(sim().threadCount(), 1U);
    EXPECT_DOUBLE_EQ(sim().now(), 0.0);
    // The lock is usable again in the new run.
    EXPECT_TRUE(lock.tryLock());
    lock.unlock();
}

TEST_F(Scheduler, RunUntilGivesUpExactlyAtTimeout) {
    EXPECT_FALSE(sim().runUntil([] { return false; }, 0.75));
    EXPECT_DOUBLE_EQ(sim().now(), 0.75);
    EXPECT_TRUE(sim().runUntil([] { return true; }, 5.0));
    EXPECT_DOUBLE_EQ(sim().now(), 0.75);
}

TEST_F(Scheduler, RunForAndRunUntilIncludeWorkDueAtTheEnd) {
    // Work due exactly at the end has run on return, whether or not an unrelated timer made the
    // main thread begin its last wait after the worker.
    struct Case {
        const char* name;
        bool tickingTimer;
        bool runUntil;
    };
    const std::vector<Case> cases = {{"runFor", false, false},
                                     {"runFor with a timer", true, false},
                                     {"runUntil", false, true},
                                     {"runUntil with a timer", true, true}};
    for (const auto& c : cases) {
        sim().reset();
        std::shared_ptr<Timer> tick;
        if (c.tickingTimer) {
            tick = Timer::make(0.1, true, [](Timer&) {});
            RunLoop::main().add(tick, RunLoopMode::common);
        }
        std::vector<std::string> log;
        worker().async([&] {
            platform::sleep(1.0);
            log.push_back("worker");
        });
        DispatchQueue::main().asyncAfter(DispatchTime::now() + 1.0, [&] { log.push_back("main block"); });
        if (c.runUntil)
            EXPECT_TRUE(sim().runUntil([&] { return log.size() == 2; }, 1.0)) << c.name;
        else
            sim().runFor(1.0);
        EXPECT_DOUBLE_EQ(sim().now(), 1.0) << c.name;
        std::sort(log.begin(), log.end());
        EXPECT_EQ(log, (std::vector<std::string>{"main block", "worker"})) << c.name;
    }
}

TEST_F(Scheduler, NestedRunLoopInsideTimerCallbackServicesMainQueue) {
    std::vector<std::string> log;
    auto timer = Timer::scheduledTimer(0.1, false, [&](Timer&) {
        DispatchQueue::main().async([&] { log.push_back("main block"); });
        RunLoop::current().runFor(0.05);
        log.push_back("timer done");
    });
    sim().runFor(0.5);
    EXPECT_EQ(log, (std::vector<std::string>{"main block", "timer done"}));
}

TEST_F(Scheduler, WorkerLookupOnBlockedMainThreadTimesOut) {
    // A worker asks the main thread for an answer and waits at most 1.0 s; the main thread is
    // itself blocked (waiting for the worker's group), so the answer comes only afterwards.
    DispatchGroup group;
    DispatchSemaphore answered(0);
    std::optional<DispatchTimeoutResult> result;
    double gaveUpAt = -1;
    bool lookupRan = false;
    worker().async(group, [&] {
        DispatchQueue::main().async([&] {
            lookupRan = true;
            answered.signal();
        });
        result = answered.wait(DispatchTime::now() + 1.0);
        gaveUpAt = sim().now();
    });
    EXPECT_EQ(group.wait(DispatchTime::now() + 5.0), DispatchTimeoutResult::success);
    EXPECT_EQ(result, DispatchTimeoutResult::timedOut);
    EXPECT_DOUBLE_EQ(gaveUpAt, 1.0);
    EXPECT_FALSE(lookupRan);
    sim().drainMainQueue();
    EXPECT_TRUE(lookupRan);
}

// ---- deadlocks ----

TEST_F(Scheduler, ThreadsWaitingOnEachOtherAreReportedWithBothReasons) {
    {
        Lock store("store lock");
        DispatchSemaphore answered(0);
        worker().async([&] {
            store.lock();
            answered.wait(); // the main thread would signal after taking the lock
            store.unlock();
        });
        sim().runFor(0.1);
        try {
            store.lock();
            FAIL() << "expected a deadlock report";
        } catch (const Error& e) {
            const std::string report = e.what();
            EXPECT_NE(report.find("deadlock"), std::string::npos) << report;
            EXPECT_NE(report.find("main: waiting for the lock 'store lock' held by worker"),
                      std::string::npos)
                << report;
            EXPECT_NE(report.find("waiting for a semaphore"), std::string::npos) << report;
        }
    }
    // The lock is gone; a later report describes the main thread's new wait, not the old lock.
    try {
        DispatchSemaphore(0).wait();
        FAIL() << "expected a deadlock report";
    } catch (const Error& e) {
        const std::string report = e.what();
        EXPECT_NE(report.find("main: waiting for a semaphore"), std::string::npos) << report;
        EXPECT_EQ(report.find("held by"), std::string::npos) << report;
    }
}

TEST_F(Scheduler, LockCycleBetweenWorkersIsReportedWhileMainRunsWithDeadline) {
    Lock a("lock A");
    Lock b("lock B");
    worker().async([&] {
        a.lock();
        platform::sleep(0.1);
        b.lock();
    });
    worker().async([&] {
        b.lock();
        platform::sleep(0.1);
        a.lock();
    });
    try {
        sim().runFor(10.0);
        FAIL() << "expected a deadlock report";
    } catch (const Error& e) {
        const std::string report = e.what();
        EXPECT_NE(report.find("'lock A'"), std::string::npos) << report;
        EXPECT_NE(report.find("'lock B'"), std::string::npos) << report;
        EXPECT_DOUBLE_EQ(sim().now(), 0.1);
    }
}

TEST_F(Scheduler, ResetFromWorkerIsRefused) {
    std::string error;
    worker().async([&] {
        try {
            sim().reset();
        } catch (const Error& e) {
            error = e.what();
        }
    });
    sim().runFor(0.1);
    EXPECT_NE(error.find("main thread"), std::string::npos);
}

TEST_F(Scheduler, RelockingNonRecursiveLockThrows) {
    Lock lock("plain");
    lock.lock();
    EXPECT_THROW(lock.lock(), Error);
    lock.unlock();
}

} // namespace

#include <atomic>
#include <memory>
#include <optional>

#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/dispatch/DispatchWorkItem.hpp"
#include "support/PlatformTest.hpp"

using namespace platform;

namespace {

class WorkItem : public PlatformTest {};

enum class QueueKind { main, serial, global };

DispatchQueue queueOf(QueueKind kind) {
    switch (kind) {
    case QueueKind::main:
        return DispatchQueue::main();
    case QueueKind::serial:
        return DispatchQueue("work-item-test");
    case QueueKind::global:
        break;
    }
    return DispatchQueue::global();
}

// When the test cancels the item, in virtual seconds after submitting it; none: never.
struct CancelCase {
    const char* name;
    QueueKind queue;
    std::optional<double> delay; // asyncAfter by this many seconds; none: async
    std::optional<double> cancelAt;
    int expectedRuns;
};

TEST_F(WorkItem, CancelBeforeItRunsMeansItNeverRunsAndAfterChangesNothing) {
    const CancelCase cases[] = {
        {"main, never cancelled", QueueKind::main, std::nullopt, std::nullopt, 1},
        {"main, cancelled at once", QueueKind::main, std::nullopt, 0.0, 0},
        {"serial, cancelled at once", QueueKind::serial, std::nullopt, 0.0, 0},
        {"global, cancelled at once", QueueKind::global, std::nullopt, 0.0, 0},
        {"global, cancelled after it ran", QueueKind::global, std::nullopt, 0.5, 1},
        {"after 1 s, never cancelled", QueueKind::main, 1.0, std::nullopt, 1},
        {"after 1 s, cancelled at 0.5 s", QueueKind::main, 1.0, 0.5, 0},
        {"after 1 s on a worker, cancelled at 0.999 s", QueueKind::global, 1.0, 0.999, 0},
        {"after 1 s, cancelled at 1.5 s", QueueKind::main, 1.0, 1.5, 1},
        {"after 1 s on a serial queue, cancelled at 2 s", QueueKind::serial, 1.0, 2.0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::atomic<int> runs{0};
        auto item = std::make_shared<DispatchWorkItem>([&] { ++runs; });
        const DispatchQueue queue = queueOf(c.queue);
        if (c.delay)
            queue.asyncAfter(DispatchTime::now() + *c.delay, item);
        else
            queue.async(item);
        if (c.cancelAt) {
            if (*c.cancelAt > 0) sim().runFor(*c.cancelAt);
            item->cancel();
        }
        sim().runFor(3.0); // well past every deadline
        EXPECT_EQ(runs.load(), c.expectedRuns);
        EXPECT_EQ(item->isCancelled(), c.cancelAt.has_value());
    }
}

TEST_F(WorkItem, CancelledAsyncAfterNeverRunsEvenWhenItsTimePasses) {
    int runs = 0;
    auto item = std::make_shared<DispatchWorkItem>([&] { ++runs; });
    DispatchQueue::main().asyncAfter(DispatchTime::now() + 0.25, item);
    item->cancel();
    EXPECT_TRUE(item->isCancelled());
    sim().runFor(10.0);
    EXPECT_EQ(runs, 0);
    // The queue let go of the item once its time passed.
    EXPECT_EQ(item.use_count(), 1);
}

TEST_F(WorkItem, PerformRunsOnTheCallingThreadUntilCancelled) {
    int runs = 0;
    DispatchWorkItem item([&] { ++runs; });
    item.perform();
    item.perform();
    item.cancel();
    item.perform();
    EXPECT_EQ(runs, 2);
}

TEST_F(WorkItem, ItemCancellingItselfWhileRunningFinishesThatRun) {
    int runs = 0;
    std::shared_ptr<DispatchWorkItem> item;
    item = std::make_shared<DispatchWorkItem>([&] {
        ++runs;
        item->cancel();
    });
    DispatchQueue::main().async(item);
    DispatchQueue::main().async(item); // submitted twice; the second turn sees the cancel
    sim().runFor(1.0);
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(item->isCancelled());
    item.reset();
}

} // namespace

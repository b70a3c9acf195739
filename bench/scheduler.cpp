#include <benchmark/benchmark.h>

#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/dispatch/DispatchSemaphore.hpp"
#include "platform/dispatch/RunLoop.hpp"
#include "platform/dispatch/Runtime.hpp"
#include "platform/control/SimScheduler.hpp"
#include "platform/dispatch/Timer.hpp"

using namespace platform;

/// Runs `pass` `state`'s iterations, each timed on a fresh simulated runtime, and counts `items` a
/// pass; leaves a fresh simulated runtime behind.
template <class Pass>
void timeOnFreshRuntimes(benchmark::State& state, int items, Pass pass) {
    for (auto _ : state) {
        Runtime::start(Runtime::Mode::simulated);
        pass();
    }
    state.SetItemsProcessed(state.iterations() * items);
    Runtime::start(Runtime::Mode::simulated);
}

// 10 000 firings of the 1/90 s drag-sampling timer on the simulated main run loop.
static void BM_SimulatedTimerFirings(benchmark::State& state) {
    constexpr int kFirings = 10000;
    timeOnFreshRuntimes(state, kFirings, [&] {
        int fires = 0;
        auto timer = Timer::make(1.0 / 90.0, true, [&](Timer& t) {
            if (++fires == kFirings) t.invalidate();
        });
        RunLoop::main().add(timer, RunLoopMode::common);
        SimScheduler::shared().runUntil([&] { return fires == kFirings; }, 200.0);
        if (fires != kFirings) state.SkipWithError("timer did not fire 10 000 times");
    });
}
BENCHMARK(BM_SimulatedTimerFirings)->Unit(benchmark::kMillisecond);

// 10 000 hand-offs of the baton between the main thread and a worker (5 000 semaphore round trips).
static void BM_SimulatedCrossThreadHandOffs(benchmark::State& state) {
    constexpr int kRoundTrips = 5000;
    timeOnFreshRuntimes(state, kRoundTrips * 2, [&] {
        DispatchSemaphore ping(0);
        DispatchSemaphore pong(0);
        DispatchQueue::global().async([&] {
            for (int i = 0; i < kRoundTrips; ++i) {
                ping.wait();
                pong.signal();
            }
        });
        for (int i = 0; i < kRoundTrips; ++i) {
            ping.signal();
            pong.wait();
        }
    });
}
BENCHMARK(BM_SimulatedCrossThreadHandOffs)->Unit(benchmark::kMillisecond);

// 10 000 main.sync calls from a worker while the main thread turns its run loop.
static void BM_SimulatedMainSync(benchmark::State& state) {
    constexpr int kCalls = 10000;
    timeOnFreshRuntimes(state, kCalls, [&] {
        int done = 0;
        DispatchQueue::global().async([&] {
            for (int i = 0; i < kCalls; ++i)
                DispatchQueue::main().sync([&] { ++done; });
        });
        SimScheduler::shared().runUntil([&] { return done == kCalls; }, 1.0);
        if (done != kCalls) state.SkipWithError("main.sync did not finish");
    });
}
BENCHMARK(BM_SimulatedMainSync)->Unit(benchmark::kMillisecond);

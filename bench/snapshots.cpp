#include <benchmark/benchmark.h>

#include "BenchSandbox.hpp"

#include "snapshots/PersistenceController.hpp"
#include "snapshots/SavedDisplayIdentity.hpp"

#include "platform/control/FoldersControl.hpp"
#include "platform/dispatch/Runtime.hpp"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

using benchsupport::sandbox;

// One snapshot with 300 window rows inserted and saved in one transaction, into the store on disk
// with its rollback journal and full synchronous writes. Target: at most 30 ms per save.
void BM_SaveSnapshotOf300Windows(benchmark::State& state) {
    sandbox();
    tilmora::PersistenceController store(false);
    auto& context = store.viewContext();
    for (auto _ : state) {
        state.PauseTiming();
        auto snapshot = context.insertSnapshot();
        snapshot->name = "Bench";
        for (int i = 0; i < 300; ++i) {
            auto window = context.insertWindow();
            window->appName = "App " + std::to_string(i % 20);
            window->bundleIdentifier = "com.example.app" + std::to_string(i % 20);
            window->windowTitle = "Window " + std::to_string(i);
            window->processID = 1000 + i % 20;
            window->xPosition = i;
            window->yPosition = i / 2.0;
            window->width = 800;
            window->height = 600;
            window->screenUUID = tilmora::WindowManager::packScreenUUID(1, 0xD1BADF2Au);
            window->originalScreenWidth = 1440;
            window->originalScreenHeight = 875;
            window->windowID = tilmora::WindowManager::packWindowID(0, 25);
            snapshot->addWindowsObject(window);
        }
        state.ResumeTiming();

        context.save();

        state.PauseTiming();
        context.deleteObject(snapshot);
        context.save();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SaveSnapshotOf300Windows)->Unit(benchmark::kMillisecond);

} // namespace

#include <benchmark/benchmark.h>

#include "BenchSandbox.hpp"

#include "console/DesktopFile.hpp"
#include "snapshots/PersistenceController.hpp"
#include "snapshots/SnapshotManagerAdapter.hpp"
#include "snapshots/SnapshotManagerView.hpp"

#include "platform/control/BundleControl.hpp"
#include "platform/control/LocaleControl.hpp"
#include "platform/control/SharedInstances.hpp"
#include "platform/control/SimScheduler.hpp"
#include "platform/control/UISimulator.hpp"
#include "platform/control/ViewDriver.hpp"
#include "platform/ui/declarative/HostingView.hpp"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace decl = platform::ui::declarative;

/// The manager view with the store's context and its service in the environment.
class ManagerRoot : public decl::Component<ManagerRoot> {
public:
    ManagerRoot(tilmora::SnapshotContext* context, std::shared_ptr<tilmora::SnapshotManaging> service)
        : context(context)
        , service(std::move(service)) {}
    decl::Element body() override {
        decl::Element e = decl::view<tilmora::SnapshotManagerView>();
        e.environment(tilmora::SnapshotManaging::snapshotManagerKey, service);
        e.environment(tilmora::SnapshotManaging::managedObjectContextKey, context);
        return e;
    }
    tilmora::SnapshotContext* context;
    std::shared_ptr<tilmora::SnapshotManaging> service;
};

/// `count` snapshots of three windows each in a store in memory, saved in one transaction, on the
/// simulated runtime with the program's English string tables.
struct Store {
    explicit Store(int count) {
        benchsupport::simulatedSandbox("tilmora-bench-snapshot-manager");
        useResources();
        // The console's default desktop: TextEdit runs with a window, so a save has one to keep.
        tilmora::DesktopFile::load(tilmora::DesktopFile::defaultDesktop());
        platform::SimScheduler::shared().runFor(1);
        store = std::make_unique<tilmora::PersistenceController>(true);
        auto& context = store->viewContext();
        for (int i = 0; i < count; ++i)
            plant(context, "Snapshot " + std::to_string(i + 1));
        context.save();
        service = std::make_shared<tilmora::SnapshotManagerAdapter>(context);
    }
    static void useResources() {
        platform::BundleControl::setResourceDirectory(std::filesystem::path(__FILE__).parent_path().parent_path() /
                                                      "resources");
        platform::LocaleControl::setPreferredLanguages(std::vector<std::string>{"en"});
    }
    static std::shared_ptr<tilmora::Snapshot> plant(tilmora::SnapshotContext& context, const std::string& name) {
        auto snapshot = context.insertSnapshot();
        snapshot->name = name;
        for (int w = 0; w < 3; ++w) {
            auto window = context.insertWindow();
            window->appName = "App " + std::to_string(w);
            window->bundleIdentifier = "com.example.app" + std::to_string(w);
            window->windowTitle = "Window " + std::to_string(w);
            window->width = 800;
            window->height = 600;
            snapshot->addWindowsObject(window);
        }
        return snapshot;
    }
    /// Shows the manager in a new host and builds it (the rows in view, every snapshot's handlers).
    std::unique_ptr<decl::ViewDriver> open() {
        host = std::make_shared<decl::HostingView>(std::make_shared<ManagerRoot>(&store->viewContext(), service),
                                                   platform::ui::Rect{0, 0, 1000, 600});
        return std::make_unique<decl::ViewDriver>(*host);
    }
    std::string topId() { return store->viewContext().fetchSnapshots().front()->idText().value_or("new"); }
    /// Lets the delayed refreshes run.
    void settle() {
        platform::SimScheduler::shared().runFor(0.2);
        host->rebuildIfNeeded();
    }

    std::unique_ptr<tilmora::PersistenceController> store;
    std::shared_ptr<tilmora::SnapshotManaging> service;
    std::shared_ptr<decl::HostingView> host;
};

// The manager shown for the first time: the list fetched, the rows in view made and every
// snapshot's two chord handlers added. Targets: 1,000 snapshots 50 ms, 5,000 250 ms; linear.
void BM_SnapshotManagerOpen(benchmark::State& state) {
    Store store(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto driver = store.open();
        benchmark::DoNotOptimize(driver->listRowCount());
        state.PauseTiming();
        driver.reset();
        store.host.reset();
        // The next opening adds every handler again, as the first one in a process does.
        platform::SharedInstances::resetAll();
        Store::useResources();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SnapshotManagerOpen)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

// One keystroke in the name field with 5,000 snapshots listed. Target: 2 ms.
void BM_SnapshotManagerKeystroke(benchmark::State& state) {
    Store store(5000);
    auto driver = store.open();
    std::string typed;
    for (auto _ : state) {
        typed = typed.size() < 12 ? typed + "a" : "";
        driver->type("snapshot.nameField", typed);
    }
}
BENCHMARK(BM_SnapshotManagerKeystroke)->Unit(benchmark::kMillisecond);

// A snapshot saved from the name field with 5,000 listed, until the list shows it. Target: 20 ms.
void BM_SnapshotManagerSave(benchmark::State& state) {
    Store store(5000);
    auto driver = store.open();
    for (auto _ : state) {
        state.PauseTiming();
        driver->type("snapshot.nameField", "New");
        state.ResumeTiming();
        driver->click("snapshot.save");
        store.settle();
        state.PauseTiming();
        auto& context = store.store->viewContext();
        context.deleteObject(context.fetchSnapshots().front());
        context.save();
        store.settle();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SnapshotManagerSave)->Unit(benchmark::kMillisecond);

// The top snapshot renamed from its row (the dialog answered) with 5,000 listed. Target: 20 ms.
void BM_SnapshotManagerRename(benchmark::State& state) {
    Store store(5000);
    auto driver = store.open();
    const std::string id = store.topId();
    int round = 0;
    for (auto _ : state) {
        platform::ui::UISimulator::scriptAlertResponse(
            platform::ui::AlertResponse::press(0, "Renamed " + std::to_string(++round)));
        driver->click("snapshot.rename." + id);
        store.settle();
    }
}
BENCHMARK(BM_SnapshotManagerRename)->Unit(benchmark::kMillisecond);

// The top snapshot deleted from its row with 5,000 listed. Target: 20 ms.
void BM_SnapshotManagerDelete(benchmark::State& state) {
    Store store(5000);
    auto driver = store.open();
    for (auto _ : state) {
        state.PauseTiming();
        auto& context = store.store->viewContext();
        Store::plant(context, "Doomed");
        context.save();
        store.settle();
        const std::string id = store.topId();
        state.ResumeTiming();
        driver->click("snapshot.delete." + id);
        store.settle();
    }
}
BENCHMARK(BM_SnapshotManagerDelete)->Unit(benchmark::kMillisecond);

} // namespace

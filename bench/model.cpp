// Speed of the model's stores and lookups on the real platform: the layout store listing and
// saving with 200 layouts, the profile choice among 50 profiles, and a string lookup (which reads
// its table again every time).
#include <benchmark/benchmark.h>

#include "BenchSandbox.hpp"

#include "model/DefaultLayoutStore.hpp"
#include "model/DefaultProfileStore.hpp"
#include "model/DisplayProvider.hpp"
#include "model/LocalizationManager.hpp"
#include "model/ProfileController.hpp"

#include "platform/control/BundleControl.hpp"
#include "platform/control/FoldersControl.hpp"
#include "platform/control/SharedInstances.hpp"
#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/dispatch/Runtime.hpp"
#include "platform/foundation/Bundle.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/Folders.hpp"

#include <filesystem>
#include <string>

using namespace tilmora;

namespace {

using benchsupport::sandbox;

Layout makeLayout(int index) {
    const DisplayId display(std::to_string(index % 3 + 1));
    Layout layout{LayoutId(platform::UUID()), "Layout " + std::to_string(index), display, {}};
    for (int t = 0; t < 4; ++t)
        layout.tiles.push_back(Tile{TileId(platform::UUID()), display, {t * 0.25, 0, 0.25, 1}, "Tile"});
    return layout;
}

std::filesystem::path freshFile(const std::string& name) {
    auto path = sandbox() / name;
    std::filesystem::remove(path);
    return path;
}

void BM_LayoutStoreListing200(benchmark::State& state) {
    DefaultLayoutStore store(freshFile("layouts-list.json"));
    for (int i = 0; i < 200; ++i)
        store.save(makeLayout(i));
    for (auto _ : state)
        benchmark::DoNotOptimize(store.allLayouts());
}
BENCHMARK(BM_LayoutStoreListing200)->Unit(benchmark::kMicrosecond);

void BM_LayoutStoreSave200(benchmark::State& state) {
    DefaultLayoutStore store(freshFile("layouts-save.json"));
    for (int i = 0; i < 200; ++i)
        store.save(makeLayout(i));
    const Layout changed = makeLayout(7);
    for (auto _ : state)
        store.save(changed);
}
BENCHMARK(BM_LayoutStoreSave200)->Unit(benchmark::kMicrosecond);

class TwoDisplays : public DisplayProvider {
public:
    std::vector<DisplayDescriptor> currentDisplays() override {
        return {DisplayDescriptor{"2", "External", {1440, 0, 1920, 1055}, 1},
                DisplayDescriptor{"1", "Built-in", {0, 0, 1440, 875}, 2}};
    }
};

void BM_ProfileChoice50(benchmark::State& state) {
    auto store = std::make_shared<DefaultProfileStore>(freshFile("profiles.json"));
    for (int i = 0; i < 50; ++i) {
        // The matching profile comes last.
        std::vector<DisplayId> ids = i == 49 ? std::vector<DisplayId>{"1", "2"}
                                             : std::vector<DisplayId>{DisplayId(std::to_string(i + 10))};
        std::map<DisplayId, LayoutId> layouts;
        for (const auto& id : ids)
            layouts.insert_or_assign(id, LayoutId(platform::UUID()));
        store->save(LayoutProfile{ProfileId(platform::UUID()), "Profile " + std::to_string(i),
                                  MonitorConfigurationSignature(ids), layouts});
    }
    ProfileController controller(std::make_shared<TwoDisplays>(), store);
    for (auto _ : state)
        benchmark::DoNotOptimize(controller.activeProfile());
}
BENCHMARK(BM_ProfileChoice50)->Unit(benchmark::kMicrosecond);

void BM_StringLookup(benchmark::State& state) {
    sandbox();
    // A reset also puts the bundle's resource folder back, so it comes before the folder is set.
    platform::SharedInstances::resetAll();
    // The shipped tables when the bench runs from the build folder, else a small one.
    auto shipped = std::filesystem::path(TILMORA_SOURCE_DIR) / "resources";
    if (platform::FileSystem::fileExists(shipped / "Locales.bundle")) {
        platform::BundleControl::setResourceDirectory(shipped);
    } else {
        auto folder = sandbox() / "Resources" / "Locales.bundle" / "en.lproj";
        platform::FileSystem::createDirectories(folder);
        platform::FileSystem::writeFile(folder / "Localizable.strings", "\"menu.quit\" = \"Quit\";\n");
        platform::BundleControl::setResourceDirectory(sandbox() / "Resources");
    }
    auto& manager = LocalizationManager::shared();
    // A key the table has, and (argument 1) one it lacks, which falls back to the key itself.
    const std::string key = state.range(0) == 0 ? "menu.quitApp" : "menu.noSuchKey";
    if (state.range(0) == 0 && manager.localizedString(key) == key) state.SkipWithError("no string table found");
    for (auto _ : state)
        benchmark::DoNotOptimize(manager.localizedString(key));
}
BENCHMARK(BM_StringLookup)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace

namespace {

// The hand-off to a store's serial queue alone, for comparison with the store calls above.
void BM_SerialQueueSyncHandOff(benchmark::State& state) {
    sandbox();
    platform::DispatchQueue queue("com.tilmora.bench");
    int value = 0;
    for (auto _ : state)
        queue.sync(platform::DispatchQueue::Block([&] { ++value; }));
    benchmark::DoNotOptimize(value);
}
BENCHMARK(BM_SerialQueueSyncHandOff)->Unit(benchmark::kMicrosecond);

} // namespace

#include <benchmark/benchmark.h>

#include "BenchSandbox.hpp"

#include "snapshots/PersistenceController.hpp"
#include "snapshots/SnapshotSave.hpp"

#include "model/NotificationManager.hpp"
#include "platform/control/FoldersControl.hpp"
#include "platform/control/SimDesktop.hpp"
#include "platform/dispatch/Runtime.hpp"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

// Toasts cost nothing here: no panel is made.
class NoToastHost : public tilmora::ToastHost {
public:
    std::shared_ptr<tilmora::ToastPanel> makePanel(const tilmora::ToastPanelSpec&) override {
        return nullptr;
    }
    std::optional<MainWindow> mainWindow() const override { return std::nullopt; }
};

// Real threads and clocks, user folders in a fresh temporary folder, and a laptop desktop with 30
// regular applications of 10 windows each.
void prepare() {
    static const bool ready = [] {
        benchsupport::sandbox();
        tilmora::NotificationManager::installHost(std::make_shared<NoToastHost>());
        auto& desk = platform::SimDesktop::shared();
        desk.useLaptop();
        for (int a = 0; a < 30; ++a) {
            platform::AppSpec app;
            app.bundleIdentifier = "com.example.app" + std::to_string(a);
            app.localizedName = "App " + std::to_string(a);
            std::vector<platform::WindowSpec> windows;
            for (int w = 0; w < 10; ++w) {
                platform::WindowSpec spec;
                spec.title = "Window " + std::to_string(w);
                spec.frame = {20.0 * w + a, 40.0 + 15 * w, 600, 400};
                windows.push_back(spec);
            }
            desk.run(app, windows);
        }
        return true;
    }();
    (void)ready;
}

// `saveSnapshot` of 300 windows: capture through Accessibility and the window list, the rows, and
// the one-transaction commit into the store on disk. Target: at most 30 ms per save.
void BM_SaveSnapshotOf300CapturedWindows(benchmark::State& state) {
    prepare();
    tilmora::PersistenceController store(false);
    auto& context = store.viewContext();
    for (auto _ : state) {
        bool saved = false;
        tilmora::WindowManager::saveSnapshot("Bench", context,
                                             [&](bool ok, const std::string&) { saved = ok; });
        if (!saved) state.SkipWithError("the save failed");

        state.PauseTiming();
        state.counters["windows"] =
            static_cast<double>(context.fetchSnapshots().front()->windowsSet().size());
        context.deleteObject(context.fetchSnapshots().front());
        context.save();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SaveSnapshotOf300CapturedWindows)->Unit(benchmark::kMillisecond);

} // namespace

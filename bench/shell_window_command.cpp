#include <benchmark/benchmark.h>

#include "BenchSandbox.hpp"

#include "platform/control/BundleControl.hpp"
#include "platform/control/FoldersControl.hpp"
#include "platform/control/SharedInstances.hpp"
#include "platform/control/SimDesktop.hpp"
#include "platform/control/SimScheduler.hpp"
#include "platform/dispatch/Runtime.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/ui/Application.hpp"
#include "shell/AppDelegate.hpp"

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

/// A window mover that notes when it was called and moves nothing.
class StampingMover : public tilmora::WindowMoving {
public:
    void moveFrontmostWindow(const tilmora::Rect&) override {
        calledAt = Clock::now();
        ++calls;
    }
    Clock::time_point calledAt;
    long calls = 0;
};

/// The laptop and the external display, 20 windows of five applications with TextEdit's "Notes"
/// frontmost on the laptop, the log on (verbose logging and the log file), and a shell whose mover
/// stamps the time. Simulated runtime, fresh folders.
std::shared_ptr<tilmora::AppDelegate> setUpShell(const std::shared_ptr<StampingMover>& mover) {
    benchsupport::simulatedSandbox("tilmora-bench-shell-window-command");
    platform::BundleControl::setBundleIdentifier("com.quorvane.Tilmora");
    auto& desktop = platform::SimDesktop::shared();
    desktop.useLaptopWithExternal();
    const char* bundles[] = {"com.example.mail", "com.example.notes", "com.example.music", "com.example.photos"};
    for (int app = 0; app < 4; ++app) {
        platform::AppSpec spec;
        spec.bundleIdentifier = bundles[app];
        spec.localizedName = "App " + std::to_string(app);
        std::vector<platform::WindowSpec> windows;
        for (int i = 0; i < 4; ++i) {
            platform::WindowSpec window;
            window.title = "Window " + std::to_string(i);
            window.frame = {1500.0 + 60 * i, 100.0 + 40 * app, 500, 400};
            windows.push_back(window);
        }
        desktop.run(spec, windows);
    }
    platform::AppSpec textEdit;
    textEdit.bundleIdentifier = "com.apple.TextEdit";
    textEdit.localizedName = "TextEdit";
    std::vector<platform::WindowSpec> windows;
    for (int i = 0; i < 4; ++i) {
        platform::WindowSpec window;
        window.title = i == 0 ? "Notes" : "Draft " + std::to_string(i);
        window.frame = {100.0 + 30 * i, 100.0 + 20 * i, 400, 300};
        windows.push_back(window);
    }
    desktop.setFrontmost(desktop.run(textEdit, windows));
    platform::UserDefaults::standard().set(true, "WMVerboseLogging");

    auto shell = std::make_shared<tilmora::AppDelegate>();
    shell->useWindowMover(mover);
    return shell;
}

// Sending `snapLeftHalf` to the shell until its window mover is called: the screen choice, the
// preset-grid clearing, the selection lookup, the log lines, the record of the window and the
// kind's rectangle. The time after the mover (selection, menu) is not counted.
void BM_SnapLeftHalfToMover(benchmark::State& state) {
    auto mover = std::make_shared<StampingMover>();
    auto shell = setUpShell(mover);
    auto& application = platform::ui::Application::shared();
    for (auto _ : state) {
        const auto sentAt = Clock::now();
        application.sendAction("snapLeftHalf", shell.get(), nullptr);
        state.SetIterationTime(std::chrono::duration<double>(mover->calledAt - sentAt).count());
    }
    if (mover->calls != state.iterations()) state.SkipWithError("the mover was not called once per send");
    shell.reset();
    platform::SimScheduler::shared().drainMainQueue();
    platform::SharedInstances::resetAll();
}
BENCHMARK(BM_SnapLeftHalfToMover)->UseManualTime()->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

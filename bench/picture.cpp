#include <benchmark/benchmark.h>

#include "platform/control/ScreenCapture.hpp"
#include "platform/control/SharedInstances.hpp"
#include "platform/control/SimDesktop.hpp"
#include "platform/control/SimInput.hpp"
#include "platform/dispatch/Runtime.hpp"
#include "platform/ui/Button.hpp"
#include "platform/ui/Panel.hpp"
#include "platform/ui/ShapeLayer.hpp"
#include "platform/ui/TextLayer.hpp"

#include <memory>
#include <string>
#include <vector>

using namespace platform;

namespace {

/// The laptop with its external display, eight windows of three applications spread over both, and
/// two of the program's own: a titled window with controls and an overlay panel with a shape layer
/// and a text layer.
struct TenWindowDesktop {
    std::vector<std::shared_ptr<ui::Window>> own;

    TenWindowDesktop() {
        Runtime::start(Runtime::Mode::simulated);
        SharedInstances::resetAll();
        auto& desk = SimDesktop::shared();
        desk.useLaptopWithExternal();
        const char* apps[] = {"com.apple.TextEdit", "com.apple.Safari", "com.apple.Notes"};
        std::vector<pid_t> pids;
        for (const char* bundle : apps) {
            AppSpec app;
            app.bundleIdentifier = bundle;
            pids.push_back(desk.run(app));
        }
        for (int i = 0; i < 8; ++i) {
            WindowSpec w;
            w.title = "Window " + std::to_string(i + 1);
            w.frame = {60.0 + 380 * i, 80.0 + 40 * (i % 4), 700, 500};
            desk.openWindow(pids[std::size_t(i) % pids.size()], w);
        }
        desk.setFrontmost(pids[0]);

        auto settings = std::make_shared<ui::Window>(CGRect{300, 200, 500, 300}, ui::StyleMask::titled);
        settings->title = "Settings";
        auto content = std::make_shared<ui::View>(CGRect{0, 0, 500, 300});
        for (int i = 0; i < 6; ++i) {
            auto button = ui::Button::withTitle("Button " + std::to_string(i), nullptr, {});
            button->setFrame({20, 20.0 + 40 * i, 140, 30});
            content->addSubview(button);
        }
        settings->setContentView(content);
        settings->orderFrontRegardless();
        own.push_back(settings);

        auto overlay = std::make_shared<ui::Panel>(CGRect{1440, 0, 1920, 1055}, ui::StyleMask::borderless);
        overlay->backgroundColor = ui::Color::clearColor();
        auto view = std::make_shared<ui::View>(CGRect{0, 0, 1920, 1055});
        view->setWantsLayer(true);
        auto grid = std::make_shared<ui::ShapeLayer>();
        grid->frame = {0, 0, 1920, 1055};
        ui::Path path;
        for (int x = 0; x <= 1920; x += 480)
            path.addLine({double(x), 0}, {double(x), 1055});
        path.addRect({480, 527, 480, 528});
        grid->path = path;
        grid->fillColor = ui::Color::systemBlue().withAlphaComponent(0.3);
        grid->strokeColor = ui::Color::whiteColor();
        grid->lineWidth = 2;
        auto label = std::make_shared<ui::TextLayer>();
        label->frame = {20, 1000, 400, 40};
        label->string = "2 x 2 grid";
        label->fontSize = 24;
        view->layer()->addSublayer(grid);
        view->layer()->addSublayer(label);
        overlay->setContentView(view);
        overlay->setLevel(ui::WindowLevel::statusBar);
        overlay->orderFrontRegardless();
        own.push_back(overlay);
        SimInput::shared().moveMouse({700, 400});
    }
    ~TenWindowDesktop() {
        own.clear();
        SharedInstances::resetAll();
    }
};

} // namespace

// Drawing the two-display desktop with ten windows at scale 1 (3360 x 1080 pixels).
static void BM_PictureOfTwoDisplaysWithTenWindows(benchmark::State& state) {
    TenWindowDesktop desktop;
    for (auto _ : state) {
        auto picture = ui::ScreenCapture::capture();
        benchmark::DoNotOptimize(picture.data());
    }
}
BENCHMARK(BM_PictureOfTwoDisplaysWithTenWindows)->Unit(benchmark::kMillisecond);

// The same picture encoded as PNG, as `show picture` writes it.
static void BM_PictureOfTwoDisplaysWithTenWindowsAsPNG(benchmark::State& state) {
    TenWindowDesktop desktop;
    for (auto _ : state) {
        auto bytes = ui::ScreenCapture::capture().pngData();
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(BM_PictureOfTwoDisplaysWithTenWindowsAsPNG)->Unit(benchmark::kMillisecond);

#pragma once

#include "model/DisplayLayoutMemory.hpp"
#include "model/LocalizationManager.hpp"
#include "model/ScreenSource.hpp"
#include "model/SnapAreasStore.hpp"

#include "platform/control/SharedInstances.hpp"
#include "platform/control/SystemLogControl.hpp"
#include "platform/foundation/Bundle.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/Folders.hpp"
#include "platform/foundation/SystemLog.hpp"

#include "support/PlatformTest.hpp"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace modeltest {

/// Screens a test sets up; the first is the main screen unless `main` says otherwise.
class FakeScreens : public tilmora::ScreenSource {
public:
    std::vector<tilmora::ScreenInfo> list;
    std::optional<tilmora::ScreenInfo> main;
    bool mainIsFirst = true;

    std::vector<tilmora::ScreenInfo> screens() const override { return list; }
    std::optional<tilmora::ScreenInfo> mainScreen() const override {
        if (main) return main;
        if (mainIsFirst && !list.empty()) return list.front();
        return std::nullopt;
    }
};

/// A screen of `width` x `height` points at (x, 0) with the given number and scale.
inline tilmora::ScreenInfo screen(std::optional<std::uint32_t> number, double x, double width, double height,
                                  double scale = 1.0, std::string name = "") {
    if (name.empty()) name = number ? "Display " + std::to_string(*number) : "Unnumbered";
    return tilmora::ScreenInfo{number, name, {x, 0, width, height}, {x, 0, width, height - 25}, scale};
}

/// The platform fixture (own folders, the simulated scheduler, every shared instance reset: the
/// defaults, the system log, the bundle's settings, the model's own shared instances) with the
/// system log's echo off. `screens` is installed as the screen source.
class ModelFixture : public PlatformTest {
protected:
    void restoreFixture() override {
        PlatformTest::restoreFixture();
        platform::SystemLogControl::setEchoToStandardError(false);
        tilmora::ScreenSource::install(screens);
    }

    /// The program's folder in Application Support, which holds its store files.
    static std::filesystem::path storeFolder() {
        return *platform::Folders::applicationSupport() / "Tilmora";
    }

    /// Writes `text` to the file at `path`, making its folder first.
    static void writeFile(const std::filesystem::path& path, const std::string& text) {
        platform::FileSystem::createDirectories(path.parent_path());
        platform::FileSystem::writeFile(path, text);
    }

    /// True when a system-log line equals `line`.
    static bool systemLogged(const std::string& line) {
        auto lines = platform::SystemLogControl::recordedLines();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    std::shared_ptr<FakeScreens> screens = std::make_shared<FakeScreens>();
};

} // namespace modeltest

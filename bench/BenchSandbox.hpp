#pragma once

#include "platform/control/DesktopSpecs.hpp"
#include "platform/control/FoldersControl.hpp"
#include "platform/control/SharedInstances.hpp"
#include "platform/control/SimDesktop.hpp"
#include "platform/dispatch/Runtime.hpp"
#include "platform/foundation/Uuid.hpp"
#include "model/SnapAreasStore.hpp"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace benchsupport {

/// Starts the platform in the real mode (real threads and clocks) and moves the user's folders
/// under a fresh temporary folder, once per program; the folder is removed when the program ends.
/// Returns that folder.
inline const std::filesystem::path& sandbox() {
    struct RemoveOnExit {
        std::filesystem::path path;
        ~RemoveOnExit() {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    };
    static const RemoveOnExit root{[] {
        platform::Runtime::start(platform::Runtime::Mode::real);
        std::string pattern = (std::filesystem::temp_directory_path() / "tilmora-bench-XXXXXX").string();
        std::filesystem::path made = ::mkdtemp(pattern.data());
        platform::FoldersControl::useRoot(made);
        return made;
    }()};
    return root.path;
}

/// Starts the platform in the simulated mode (one thread at a time on the virtual clock) with the
/// user's folders under a fresh "<temporary folder>/<name>" and every shared instance reset. Call
/// again before each scene: a benchmark that runs after another starts from nothing.
inline void simulatedSandbox(const std::string& name) {
    const auto root = std::filesystem::temp_directory_path() / name;
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
    platform::Runtime::start(platform::Runtime::Mode::simulated);
    platform::FoldersControl::useRoot(root);
    platform::SharedInstances::resetAll();
}

/// Adds display `id` named `name` with `frame` and `visibleFrame` (global points) to the simulated
/// desktop.
inline void addDisplay(std::uint32_t id, const std::string& name, const platform::CGRect& frame,
                       const platform::CGRect& visibleFrame) {
    platform::DisplaySpec display;
    display.displayID = id;
    display.name = name;
    display.frame = frame;
    display.visibleFrame = visibleFrame;
    platform::SimDesktop::shared().addDisplay(display);
}

/// Stores `count` snap areas "Area 1", "Area 2", … of `size` (a fraction of the display, both
/// ways) in the shared snap-area store.
inline void storeSnapAreas(int count, double size) {
    auto& areas = tilmora::SnapAreasStore::shared();
    for (int i = 0; i < count; ++i) {
        tilmora::SnapArea area;
        area.id = platform::UUID();
        area.name = "Area " + std::to_string(i + 1);
        area.width = size;
        area.height = size;
        areas.areas.push_back(area);
    }
    areas.save();
}

} // namespace benchsupport

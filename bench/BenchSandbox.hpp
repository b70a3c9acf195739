#pragma once

#include "platform/control/FoldersControl.hpp"
#include "platform/dispatch/Runtime.hpp"

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

} // namespace benchsupport

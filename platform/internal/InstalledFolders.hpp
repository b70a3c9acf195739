#pragma once

#include "platform/foundation/Folders.hpp"

#include <cstdint>
#include <mutex>
#include <optional>

namespace platform::folders_detail {

/// The folder layout installed by `FoldersControl`; none while the system layout applies. Not a
/// shared instance: a reset of the shared instances keeps the folders a test or the console chose
/// (so a reset in the middle of a test never points the program at the user's real folders).
/// Any thread.
struct InstalledFolders {
    std::mutex mutex;
    std::optional<Folders::Layout> layout;
    /// Counts the installs, so that each installed layout has its own number (see
    /// `Folders::generation`).
    std::uint64_t installs = 0;
};

inline InstalledFolders& installedLayout() {
    static InstalledFolders* installed = new InstalledFolders();
    return *installed;
}

} // namespace platform::folders_detail

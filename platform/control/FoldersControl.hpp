#pragma once

#include "platform/foundation/Folders.hpp"

#include <filesystem>
#include <optional>

namespace platform {

/// The simulator's control of the user's folders (`Folders`). An installed layout holds until the
/// next `install` or `useRoot`; `SharedInstances::resetAll` leaves it alone. Tests and the desktop
/// console only. Any thread.
class FoldersControl {
public:
    /// Replaces the layout (none: back to the system layout).
    static void install(std::optional<Folders::Layout> layout);
    /// The layout of a sandboxed user under `root`: home = root, documents = root/Documents,
    /// application support = root/Library/Application Support, preferences =
    /// root/Library/Preferences. Nothing is created.
    static Folders::Layout layoutUnder(const std::filesystem::path& root);
    /// Installs `layoutUnder(root)` and creates its folders (best effort).
    static void useRoot(const std::filesystem::path& root);
};

} // namespace platform

#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

namespace platform {

/// The user's well-known folders: Documents, Application Support, the home folder and the
/// configuration folder where the user defaults keep one file per domain.
///
/// App-facing: `documents()`, `applicationSupport()`, `home()`, `preferences()`, `generation()`. A
/// folder that the platform cannot name is reported as none (the log then writes nothing).
///
/// Tests and the desktop console replace the folders with `FoldersControl` (platform/control).
///
/// The system layout on this host follows the XDG conventions:
/// - documents: $XDG_DOCUMENTS_DIR, else $HOME/Documents; none without either;
/// - application support: $XDG_DATA_HOME, else $HOME/.local/share; none without either;
/// - preferences: $XDG_CONFIG_HOME/tilmora, else $HOME/.config/tilmora, else a "tilmora-defaults"
///   folder in the temporary directory;
/// - home: $HOME; none when unset.
/// Relative XDG values are ignored, as the XDG rules ask. Nothing is created by the lookup.
/// All functions are thread-safe.
class Folders {
public:
    struct Layout {
        std::optional<std::filesystem::path> home;
        std::optional<std::filesystem::path> documents;
        std::optional<std::filesystem::path> applicationSupport;
        std::filesystem::path preferences;
    };

    /// The user's Documents folder, or none when there is none.
    static std::optional<std::filesystem::path> documents();
    /// The user's Application Support folder, or none when there is none.
    static std::optional<std::filesystem::path> applicationSupport();
    /// The user's home folder, or none when there is none.
    static std::optional<std::filesystem::path> home();
    /// The folder that holds the user-defaults files (one per domain). Always named.
    static std::filesystem::path preferences();
    /// All four folders at once.
    static Layout current();
    /// A number naming the folders in effect, for a caller that keeps a path built from them
    /// (the log keeps its file's path): each layout installed by `FoldersControl` has its own
    /// number, never 0, so a changed number means the folders may have moved. 0 while the system
    /// layout applies: that one is read from the environment at every lookup and may change
    /// without notice, so nothing built from it may be kept.
    static std::uint64_t generation();

    /// The system layout from the current environment.
    static Layout systemLayout();
};

} // namespace platform

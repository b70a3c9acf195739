#pragma once

#include "platform/foundation/FolderLock.hpp"

#include <filesystem>
#include <optional>
#include <string>

namespace tilmora {

/// The private user folder a console session (interactive or a script) runs the program and the
/// desktop's applications under: home, "Documents", "Library/Preferences" and "Library/Application
/// Support" all lie inside it (`FoldersControl::layoutUnder`), so that nothing the program stores
/// reaches the user's own folders, whatever HOME and XDG_* say. Either a fresh folder in the
/// temporary folder (`TMPDIR`), removed at the end, or a folder the user names (`--home DIR`),
/// created when missing and kept, so that a later session finds what this one stored. A named
/// folder is one process's at a time: the session holds its `platform::FolderLock` from `make` to
/// the end, so that two sessions never write over each other's settings, layouts and snapshots.
/// Main thread; one per process.
class SessionHome {
public:
    SessionHome() = default;
    /// Removes a fresh folder with everything in it; a named folder stays.
    ~SessionHome();
    SessionHome(const SessionHome&) = delete;
    SessionHome& operator=(const SessionHome&) = delete;

    /// Makes the folder (a fresh "tilmora-<purpose>-XXXXXX" in the temporary folder when `named`
    /// is none, else `named`, made absolute), takes the lock of a named one, makes its user
    /// folders and points the platform's folders at it. False, with `reason` set and nothing
    /// installed, when no folder can be made, `named` is not a folder, or its lock cannot be
    /// taken. When another process holds that lock, nothing in the folder is changed, `reason`
    /// is the whole line to print, "the folder DIR is in use by another session (process N)"
    /// (without the parenthesis when the system cannot name the process), and `inUseBy()` is set.
    bool make(const std::optional<std::filesystem::path>& named, const std::string& purpose, std::string& reason);

    /// After a `make` refused because another session holds the named folder: that session's
    /// process id (0 when the system could not name it). None otherwise.
    std::optional<long> inUseBy() const { return inUseBy_; }

    /// The folder in use (empty before `make`).
    const std::filesystem::path& path() const { return path_; }
    /// Whether the folder stays at the end (it was named).
    bool kept() const { return kept_; }
    /// The line an interactive session prints at start: "Private folder: <path> (removed at the
    /// end)", or "... (kept)" for a named folder.
    std::string description() const;
    /// Removes a fresh folder now (at the end, or when the session is stopped); does nothing for a
    /// named folder or a second time.
    void removeFresh();

private:
    std::filesystem::path path_;
    platform::FolderLock lock_;
    std::optional<long> inUseBy_;
    bool kept_ = false;
    bool removed_ = false;
};

} // namespace tilmora

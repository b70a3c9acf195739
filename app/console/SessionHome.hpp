#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace tilmora {

/// The private user folder a console session (interactive or a script) runs the program and the
/// desktop's applications under: home, "Documents", "Library/Preferences" and "Library/Application
/// Support" all lie inside it (`FoldersControl::layoutUnder`), so that nothing the program stores
/// reaches the user's own folders, whatever HOME and XDG_* say. Either a fresh folder in the
/// temporary folder (`TMPDIR`), removed at the end, or a folder the user names (`--home DIR`),
/// created when missing and kept, so that a later session finds what this one stored. Main
/// thread; one per process.
class SessionHome {
public:
    SessionHome() = default;
    /// Removes a fresh folder with everything in it; a named folder stays.
    ~SessionHome();
    SessionHome(const SessionHome&) = delete;
    SessionHome& operator=(const SessionHome&) = delete;

    /// Makes the folder (a fresh "tilmora-<purpose>-XXXXXX" in the temporary folder when `named`
    /// is none, else `named`, made absolute) and its user folders, and points the platform's
    /// folders at it. False, with `reason` set and nothing installed, when no folder can be made
    /// or `named` is not a folder.
    bool make(const std::optional<std::filesystem::path>& named, const std::string& purpose, std::string& reason);

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
    bool kept_ = false;
    bool removed_ = false;
};

} // namespace tilmora

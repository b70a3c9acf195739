#include "platform/control/FoldersControl.hpp"

#include "platform/internal/InstalledFolders.hpp"

#include <system_error>

namespace platform {

namespace fs = std::filesystem;

void FoldersControl::install(std::optional<Folders::Layout> layout) {
    auto& installed = folders_detail::installedLayout();
    std::lock_guard lock(installed.mutex);
    installed.layout = std::move(layout);
    ++installed.installs;
}

Folders::Layout FoldersControl::layoutUnder(const fs::path& root) {
    Folders::Layout layout;
    layout.home = root;
    layout.documents = root / "Documents";
    layout.applicationSupport = root / "Library" / "Application Support";
    layout.preferences = root / "Library" / "Preferences";
    return layout;
}

void FoldersControl::useRoot(const fs::path& root) {
    Folders::Layout layout = layoutUnder(root);
    std::error_code ec;
    fs::create_directories(*layout.documents, ec);
    fs::create_directories(*layout.applicationSupport, ec);
    fs::create_directories(layout.preferences, ec);
    install(std::move(layout));
}

} // namespace platform

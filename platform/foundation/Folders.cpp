#include "platform/foundation/Folders.hpp"

#include "platform/internal/InstalledFolders.hpp"

#include <cstdlib>
#include <system_error>

namespace platform {

namespace fs = std::filesystem;

namespace {

std::optional<fs::path> absoluteEnv(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') return std::nullopt;
    fs::path p(value);
    if (!p.is_absolute()) return std::nullopt;
    return p;
}

} // namespace

Folders::Layout Folders::systemLayout() {
    Layout layout;
    layout.home = absoluteEnv("HOME");
    if (auto docs = absoluteEnv("XDG_DOCUMENTS_DIR")) {
        layout.documents = docs;
    } else if (layout.home) {
        layout.documents = *layout.home / "Documents";
    }
    if (auto data = absoluteEnv("XDG_DATA_HOME")) {
        layout.applicationSupport = data;
    } else if (layout.home) {
        layout.applicationSupport = *layout.home / ".local" / "share";
    }
    if (auto config = absoluteEnv("XDG_CONFIG_HOME")) {
        layout.preferences = *config / "tilmora";
    } else if (layout.home) {
        layout.preferences = *layout.home / ".config" / "tilmora";
    } else {
        std::error_code ec;
        fs::path tmp = fs::temp_directory_path(ec);
        layout.preferences = (ec ? fs::path("/tmp") : tmp) / "tilmora-defaults";
    }
    return layout;
}

Folders::Layout Folders::current() {
    {
        auto& installed = folders_detail::installedLayout();
        std::lock_guard lock(installed.mutex);
        if (installed.layout) return *installed.layout;
    }
    return systemLayout();
}

std::uint64_t Folders::generation() {
    auto& installed = folders_detail::installedLayout();
    std::lock_guard lock(installed.mutex);
    return installed.layout ? installed.installs : 0;
}

std::optional<fs::path> Folders::documents() {
    return current().documents;
}
std::optional<fs::path> Folders::applicationSupport() {
    return current().applicationSupport;
}
std::optional<fs::path> Folders::home() {
    return current().home;
}
fs::path Folders::preferences() {
    return current().preferences;
}

} // namespace platform

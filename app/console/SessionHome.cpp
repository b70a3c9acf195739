#include "console/SessionHome.hpp"

#include "platform/control/FoldersControl.hpp"
#include "platform/foundation/Error.hpp"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>

namespace tilmora {

namespace fs = std::filesystem;

namespace {

// Creates `folder` and its parents; false with the host's reason when it is not a folder after.
bool makeFolder(const fs::path& folder, std::string& reason) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!ec && fs::is_directory(folder, ec)) return true;
    reason = folder.string() + ": " + (ec ? ec.message() : std::string("not a folder"));
    return false;
}

} // namespace

SessionHome::~SessionHome() {
    removeFresh();
}

bool SessionHome::make(const std::optional<fs::path>& named, const std::string& purpose, std::string& reason) {
    std::error_code ec;
    fs::path root;
    if (named) {
        if (named->empty()) {
            reason = "the folder's name is empty";
            return false;
        }
        root = fs::absolute(*named, ec);
        if (ec) {
            reason = named->string() + ": " + ec.message();
            return false;
        }
        if (!makeFolder(root, reason)) return false;
        // The lock comes before anything is made inside the folder: a session refused here leaves
        // the folder as the one using it has it.
        try {
            lock_ = platform::FolderLock::tryLock(root);
        } catch (const platform::Error& e) {
            reason = e.what();
            return false;
        }
        if (!lock_.held()) {
            inUseBy_ = lock_.holder().value_or(0);
            reason = "the folder " + root.string() + " is in use by another session";
            if (*inUseBy_ > 0) reason += " (process " + std::to_string(*inUseBy_) + ")";
            return false;
        }
        kept_ = true;
    } else {
        const auto temporary = fs::temp_directory_path(ec);
        if (ec) {
            reason = ec.message();
            return false;
        }
        std::string pattern = (temporary / ("tilmora-" + purpose + "-XXXXXX")).string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            reason = std::strerror(errno);
            return false;
        }
        root = pattern;
    }
    path_ = root;
    const auto layout = platform::FoldersControl::layoutUnder(root);
    for (const auto& folder : {*layout.documents, *layout.applicationSupport, layout.preferences}) {
        if (!makeFolder(folder, reason)) {
            removeFresh();
            lock_.release();
            path_.clear();
            return false;
        }
    }
    platform::FoldersControl::install(layout);
    return true;
}

std::string SessionHome::description() const {
    return "Private folder: " + path_.string() + (kept_ ? " (kept)" : " (removed at the end)");
}

void SessionHome::removeFresh() {
    if (path_.empty() || kept_ || removed_) return;
    removed_ = true;
    // The platform's folders stay pointed at the removed folder: nothing written after the end
    // can reach the user's own folders.
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

} // namespace tilmora

#include "platform/foundation/DirectoryListing.hpp"

#include "platform/foundation/Error.hpp"
#include "platform/internal/HostKnobs.hpp"

#include <algorithm>
#include <sys/stat.h>
#include <system_error>

namespace platform {

namespace fs = std::filesystem;
using desktop_detail::HostKnobs;

std::vector<DirectoryEntry> DirectoryListing::contents(const fs::path& folder, bool skipHidden) {
    auto& knobs = HostKnobs::shared();
    std::map<fs::path, HostKnobs::Dates> dates;
    {
        std::lock_guard hold(knobs.mutex);
        auto failing = knobs.listingErrors.find(folder);
        if (failing != knobs.listingErrors.end()) throw Error(failing->second);
        dates = knobs.dates;
    }
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) throw Error("could not list \"" + folder.string() + "\": " + ec.message());
    std::vector<DirectoryEntry> entries;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) throw Error("could not list \"" + folder.string() + "\": " + ec.message());
        DirectoryEntry entry;
        entry.url = it->path();
        entry.name = it->path().filename().string();
        if (skipHidden && !entry.name.empty() && entry.name.front() == '.') continue;
        auto set = dates.find(entry.url);
        if (set != dates.end()) {
            entry.contentModificationDate = set->second.modification;
            entry.creationDate = set->second.creation;
        } else {
            struct stat st {};
            if (::stat(entry.url.c_str(), &st) == 0) {
                entry.contentModificationDate = Date{static_cast<double>(st.st_mtim.tv_sec) +
                                                     static_cast<double>(st.st_mtim.tv_nsec) / 1e9};
            }
        }
        entries.push_back(std::move(entry));
    }
    std::sort(entries.begin(), entries.end(),
              [](const DirectoryEntry& a, const DirectoryEntry& b) { return a.name < b.name; });
    return entries;
}

} // namespace platform

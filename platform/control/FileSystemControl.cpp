#include "platform/control/FileSystemControl.hpp"

#include "platform/internal/HostKnobs.hpp"

namespace platform {

using desktop_detail::HostKnobs;

void FileSystemControl::setDates(const std::filesystem::path& path, std::optional<Date> modification,
                                 std::optional<Date> creation) {
    auto& knobs = HostKnobs::shared();
    std::lock_guard hold(knobs.mutex);
    knobs.dates[path] = {modification, creation};
}

namespace {

/// Records `error` for `path` in the knobs' table `errors`, or forgets the path's error when none.
void setError(std::map<std::filesystem::path, std::string> HostKnobs::*errors,
              const std::filesystem::path& path, std::optional<std::string> error) {
    auto& knobs = HostKnobs::shared();
    std::lock_guard hold(knobs.mutex);
    if (error) {
        (knobs.*errors)[path] = *error;
    } else {
        (knobs.*errors).erase(path);
    }
}

} // namespace

void FileSystemControl::setListingError(const std::filesystem::path& folder,
                                        std::optional<std::string> error) {
    setError(&HostKnobs::listingErrors, folder, std::move(error));
}

void FileSystemControl::setRemovalError(const std::filesystem::path& path, std::optional<std::string> error) {
    setError(&HostKnobs::removalErrors, path, std::move(error));
}

void FileSystemControl::setWriteDenied(const std::filesystem::path& path, bool denied) {
    auto& knobs = HostKnobs::shared();
    std::lock_guard hold(knobs.mutex);
    if (denied) {
        knobs.writeDenied.insert(path);
    } else {
        knobs.writeDenied.erase(path);
    }
}

} // namespace platform

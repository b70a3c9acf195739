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

void FileSystemControl::setListingError(const std::filesystem::path& folder, std::optional<std::string> error) {
    auto& knobs = HostKnobs::shared();
    std::lock_guard hold(knobs.mutex);
    if (error) {
        knobs.listingErrors[folder] = *error;
    } else {
        knobs.listingErrors.erase(folder);
    }
}

void FileSystemControl::setRemovalError(const std::filesystem::path& path, std::optional<std::string> error) {
    auto& knobs = HostKnobs::shared();
    std::lock_guard hold(knobs.mutex);
    if (error) {
        knobs.removalErrors[path] = *error;
    } else {
        knobs.removalErrors.erase(path);
    }
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

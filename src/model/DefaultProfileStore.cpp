#include "model/DefaultProfileStore.hpp"

#include <algorithm>

namespace tilmora {

DefaultProfileStore::DefaultProfileStore(std::optional<std::filesystem::path> storageURL)
    : file_(std::move(storageURL), "profiles.json", "[ProfileStore]", "profiles")
    , queue_("com.tilmora.profiles") {}

std::vector<LayoutProfile> DefaultProfileStore::allProfiles() {
    return queue_.sync([&] { return file_.read(); });
}

void DefaultProfileStore::save(const LayoutProfile& profile) {
    queue_.sync(platform::DispatchQueue::Block([&] {
        auto read = file_.readToRewrite();
        auto& profiles = read.elements;
        auto existing = std::find_if(profiles.begin(), profiles.end(),
                                     [&](const LayoutProfile& stored) { return stored.id == profile.id; });
        if (existing != profiles.end()) {
            *existing = profile;
        } else {
            profiles.push_back(profile);
        }
        file_.write(profiles, read.unusable);
    }));
}

} // namespace tilmora

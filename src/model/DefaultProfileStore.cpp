#include "model/DefaultProfileStore.hpp"

#include "model/StoreFile.hpp"

#include <algorithm>

namespace tilmora {

namespace {

constexpr const char* kTag = "[ProfileStore]";

} // namespace

DefaultProfileStore::DefaultProfileStore(std::optional<std::filesystem::path> storageURL)
    : url_(StoreFile::location(std::move(storageURL), "profiles.json"))
    , queue_("com.tilmora.profiles") {}

std::vector<LayoutProfile> DefaultProfileStore::readStrict() const {
    return StoreFile::readArray<LayoutProfile>(url_, kTag);
}

void DefaultProfileStore::persist(const std::vector<LayoutProfile>& profiles, bool setAsideFirst) const {
    StoreFile::requireLocation(url_, "profiles");
    StoreFile::writeArray(url_, profiles, setAsideFirst, kTag);
}

std::vector<LayoutProfile> DefaultProfileStore::allProfiles() {
    return queue_.sync([&] { return readStrict(); });
}

void DefaultProfileStore::save(const LayoutProfile& profile) {
    queue_.sync(platform::DispatchQueue::Block([&] {
        auto read = StoreFile::readArrayToRewrite<LayoutProfile>(url_, kTag);
        auto& profiles = read.elements;
        auto existing = std::find_if(profiles.begin(), profiles.end(),
                                     [&](const LayoutProfile& stored) { return stored.id == profile.id; });
        if (existing != profiles.end()) {
            *existing = profile;
        } else {
            profiles.push_back(profile);
        }
        persist(profiles, read.unusable);
    }));
}

} // namespace tilmora

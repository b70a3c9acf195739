#include "model/DefaultProfileStore.hpp"

#include "model/Log.hpp"
#include "model/StoreFile.hpp"

#include "platform/foundation/Error.hpp"

#include <algorithm>

namespace tilmora {

namespace {

constexpr const char* kTag = "[ProfileStore]";

} // namespace

DefaultProfileStore::DefaultProfileStore(std::optional<std::filesystem::path> storageURL)
    : url_(storageURL ? std::move(*storageURL) : StoreFile::defaultLocation("profiles.json").value_or(""))
    , queue_("com.tilmora.profiles") {}

std::vector<LayoutProfile> DefaultProfileStore::readStrict() const {
    return StoreFile::readArray<LayoutProfile>(url_, kTag);
}

void DefaultProfileStore::persist(const std::vector<LayoutProfile>& profiles, bool setAsideFirst) const {
    if (url_.empty()) throw platform::Error("no Application Support folder to store the profiles in");
    StoreFile::writeArray(url_, profiles, setAsideFirst, kTag);
}

std::vector<LayoutProfile> DefaultProfileStore::allProfiles() {
    return queue_.sync([&] { return readStrict(); });
}

void DefaultProfileStore::save(const LayoutProfile& profile) {
    queue_.sync(platform::DispatchQueue::Block([&] {
        auto [profiles, unusable, decodingError] = StoreFile::readArrayLenient<LayoutProfile>(url_, kTag);
        if (decodingError) print(std::string(kTag) + " " + url_.string() + " does not decode: " + *decodingError);
        auto existing = std::find_if(profiles.begin(), profiles.end(),
                                     [&](const LayoutProfile& stored) { return stored.id == profile.id; });
        if (existing != profiles.end()) {
            *existing = profile;
        } else {
            profiles.push_back(profile);
        }
        persist(profiles, unusable);
    }));
}

} // namespace tilmora

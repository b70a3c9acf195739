#include "model/DefaultProfileStore.hpp"

#include "model/Log.hpp"
#include "model/StoreFile.hpp"

#include "platform/foundation/Error.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/JsonCoding.hpp"

#include <algorithm>

namespace tilmora {

namespace {

constexpr const char* kTag = "[ProfileStore]";

} // namespace

DefaultProfileStore::DefaultProfileStore(std::optional<std::filesystem::path> storageURL)
    : url_(storageURL ? std::move(*storageURL) : StoreFile::defaultLocation("profiles.json").value_or(""))
    , queue_("com.tilmora.profiles") {}

std::vector<LayoutProfile> DefaultProfileStore::readStrict() const {
    if (url_.empty()) return {};
    auto data = StoreFile::read(url_);
    if (!data) return {};
    return platform::decodeJsonText<std::vector<LayoutProfile>>(*data);
}

void DefaultProfileStore::persist(const std::vector<LayoutProfile>& profiles, bool setAsideFirst) const {
    if (url_.empty()) throw platform::Error("no Application Support folder to store the profiles in");
    std::string text = platform::encodeJsonText(profiles);
    if (setAsideFirst) StoreFile::setAside(url_, kTag);
    StoreFile::write(url_, text);
}

std::vector<LayoutProfile> DefaultProfileStore::allProfiles() {
    return queue_.sync([&] { return readStrict(); });
}

void DefaultProfileStore::save(const LayoutProfile& profile) {
    queue_.sync(platform::DispatchQueue::Block([&] {
        std::vector<LayoutProfile> profiles;
        bool unusable = false;
        if (!url_.empty()) {
            if (auto data = StoreFile::read(url_)) {
                try {
                    profiles = platform::decodeJsonText<std::vector<LayoutProfile>>(*data);
                } catch (const platform::Error& error) {
                    print(std::string(kTag) + " " + url_.string() + " does not decode: " + error.what());
                    unusable = true;
                }
            } else {
                unusable = platform::FileSystem::fileExists(url_);
            }
        }
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

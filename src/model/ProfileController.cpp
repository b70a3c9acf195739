#include "model/ProfileController.hpp"

#include <utility>
#include <vector>

namespace tilmora {

ProfileController::ProfileController(std::shared_ptr<DisplayProvider> displayProvider,
                                     std::shared_ptr<ProfileStore> profileStore)
    : displayProvider_(std::move(displayProvider))
    , profileStore_(std::move(profileStore)) {}

std::optional<LayoutProfile> ProfileController::activeProfile() const {
    std::vector<DisplayId> ids;
    for (const DisplayDescriptor& display : displayProvider_->currentDisplays())
        ids.push_back(display.id);
    const MonitorConfigurationSignature current(std::move(ids));

    std::vector<LayoutProfile> profiles;
    try {
        profiles = profileStore_->allProfiles();
    } catch (const std::exception&) {
        profiles.clear();
    }

    auto sameDisplays = [&](const LayoutProfile& profile) {
        return profile.configuration.displayIds == current.displayIds;
    };
    if (overrideProfileId) {
        for (const LayoutProfile& profile : profiles) {
            if (profile.id == *overrideProfileId) {
                if (sameDisplays(profile)) return profile;
                break;
            }
        }
    }
    for (const LayoutProfile& profile : profiles) {
        if (sameDisplays(profile)) return profile;
    }
    for (const LayoutProfile& profile : profiles) {
        if (profile.configuration.displayIds.size() == current.displayIds.size()) return profile;
    }
    return std::nullopt;
}

} // namespace tilmora

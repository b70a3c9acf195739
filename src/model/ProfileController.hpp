#pragma once

#include "model/DisplayProvider.hpp"
#include "model/LayoutProfile.hpp"
#include "model/ProfileStore.hpp"

#include <memory>
#include <optional>

namespace tilmora {

/// Decides which layout profile is in force: the one whose monitor configuration is the set of
/// displays connected now. It caches nothing; every call reads the displays and the profiles again.
/// Main thread (the display provider reads the screens).
class ProfileController {
public:
    ProfileController(std::shared_ptr<DisplayProvider> displayProvider,
                      std::shared_ptr<ProfileStore> profileStore);

    /// The profile in force, or none:
    /// 1. the override, when it names a stored profile for exactly the connected displays;
    /// 2. else the first stored profile whose display ids equal the connected ones (sorted as text);
    /// 3. else the first stored profile with as many displays as are connected.
    /// A profile store that fails reads as no profiles. Never throws; logs nothing.
    std::optional<LayoutProfile> activeProfile() const;

    /// A profile the user picked in the layout editor; none after construction. It only applies
    /// while the connected displays match its configuration.
    std::optional<ProfileId> overrideProfileId;

private:
    std::shared_ptr<DisplayProvider> displayProvider_;
    std::shared_ptr<ProfileStore> profileStore_;
};

} // namespace tilmora

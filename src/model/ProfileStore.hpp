#pragma once

#include "model/LayoutProfile.hpp"

#include <vector>

namespace tilmora {

/// Keeps the layout profiles. Every operation is synchronous and may be called from any thread; each
/// implementation serializes its own work.
class ProfileStore {
public:
    virtual ~ProfileStore() = default;

    /// Every stored profile. Throws `platform::Error` when the stored profiles cannot be decoded.
    virtual std::vector<LayoutProfile> allProfiles() = 0;

    /// Afterwards the store holds `profile`: in the place of the one with the same id, or after all
    /// others when there was none. Throws `platform::Error` when the profiles cannot be encoded or
    /// written (an unreadable or undecodable store counts as empty here).
    virtual void save(const LayoutProfile& profile) = 0;
};

} // namespace tilmora

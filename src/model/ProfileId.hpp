#pragma once

#include "model/UuidIdentifier.hpp"

namespace tilmora {

/// Identifies a layout profile; the profile store replaces by it.
struct ProfileId : UuidIdentifier<ProfileId> {
    static constexpr const char* typeName = "ProfileId";
    using UuidIdentifier::UuidIdentifier;
};

} // namespace tilmora

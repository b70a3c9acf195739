#pragma once

#include "model/UuidIdentifier.hpp"

namespace tilmora {

/// Identifies a snapshot definition.
struct SnapshotId : UuidIdentifier<SnapshotId> {
    static constexpr const char* typeName = "SnapshotId";
    using UuidIdentifier::UuidIdentifier;
};

} // namespace tilmora

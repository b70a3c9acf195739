#pragma once

#include "model/ProfileId.hpp"
#include "model/SnapshotId.hpp"
#include "model/SnapshotWindowMapping.hpp"
#include "platform/foundation/Date.hpp"

#include <optional>
#include <string>
#include <vector>

namespace tilmora {

/// The model's view of one saved desktop snapshot, which the snapshot subsystem builds from a
/// stored snapshot when it plans a restore. Not validated (an empty mapping list, `updatedAt`
/// before `createdAt` and several mappings of one application are kept).
/// JSON: {"id": SnapshotId, "name": string, "createdAt": date, "updatedAt": date,
/// "windowMappings": [SnapshotWindowMapping, ...], "linkedProfileId": ProfileId (left out when
/// absent), "globalShortcut": string (left out when absent)}; a date is its number of seconds since
/// 1970.
struct SnapshotDefinition {
    SnapshotId id;
    std::string name;
    /// When the snapshot was taken (wall-clock instant).
    platform::Date createdAt;
    /// When the definition was last built or changed.
    platform::Date updatedAt;
    /// One entry per saved window; equality compares them in order.
    std::vector<SnapshotWindowMapping> windowMappings;
    /// A layout profile tied to the snapshot; absent when none.
    std::optional<ProfileId> linkedProfileId;
    /// A shortcut tied to the snapshot; absent when none.
    std::optional<std::string> globalShortcut;

    bool operator==(const SnapshotDefinition&) const = default;
};

platform::Json toJson(const SnapshotDefinition& definition);
SnapshotDefinition fromJson(const platform::Json& json, std::type_identity<SnapshotDefinition>);

} // namespace tilmora

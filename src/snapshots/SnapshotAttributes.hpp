#pragma once

#include "platform/foundation/Date.hpp"

#include <cstdint>
#include <optional>
#include <string>

namespace tilmora {

/// The stored attributes of one snapshot: its user-visible `name` as typed (none when it has
/// none), the wall-clock moment of saving, and `scope`, the raw value of `Snapshot::Scope`
/// (0 the Space that was current, 1 all Spaces; other raw values are kept as they are but form no
/// scope).
struct SnapshotAttributes {
    std::optional<std::string> name;
    std::optional<platform::Date> timestamp;
    std::int16_t scope = 0;

    bool operator==(const SnapshotAttributes&) const = default;
};

} // namespace tilmora

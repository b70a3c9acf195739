#pragma once

#include "snapshots/SnapshotAttributes.hpp"
#include "snapshots/WindowValue.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tilmora {

/// A copy of one snapshot with its windows, safe to hand to any thread (restore and quit work on
/// these, never on the store's objects).
struct SnapshotValue : SnapshotAttributes {
    /// "p" + the row id once saved (the text per-snapshot shortcut names are built from); none
    /// before.
    std::optional<std::string> id;
    std::optional<std::int64_t> rowID;
    /// The windows in row-id order; unsaved windows after the saved ones, in the order added.
    std::vector<WindowValue> windows;

    bool operator==(const SnapshotValue&) const = default;
};

} // namespace tilmora

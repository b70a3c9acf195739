#pragma once

#include "model/DisplayId.hpp"

#include <cstddef>
#include <functional>
#include <vector>

namespace tilmora {

/// The display keys of one set of connected screens. The profile controller compares the signature
/// of the screens now connected with each profile's to pick the active profile.
/// JSON: {"displayIds": [DisplayId, ...]} in list order.
struct MonitorConfigurationSignature {
    /// Marks a list that keeps the order it was stored in.
    struct StoredOrder {};

    /// The display keys; ascending by `rawValue` when built from screens, in stored order when read.
    std::vector<DisplayId> displayIds;

    /// Keeps `displayIds` sorted ascending as UTF-8 text ("1", "10", "2"; decimal keys before keys
    /// that begin with a letter), with a stable sort. Repeated keys stay, next to each other.
    explicit MonitorConfigurationSignature(std::vector<DisplayId> displayIds);

    /// Keeps `displayIds` in the given order, as read from a file. A stored list out of ascending
    /// order therefore never equals a signature built from screens.
    MonitorConfigurationSignature(std::vector<DisplayId> displayIds, StoredOrder)
        : displayIds(std::move(displayIds)) {}

    /// Compares the two lists element by element, in order.
    bool operator==(const MonitorConfigurationSignature&) const = default;
};

platform::Json toJson(const MonitorConfigurationSignature& signature);
MonitorConfigurationSignature fromJson(const platform::Json& json,
                                       std::type_identity<MonitorConfigurationSignature>);

} // namespace tilmora

/// Feeds the number of ids and then each `rawValue`, in list order; agrees with equality.
template <>
struct std::hash<tilmora::MonitorConfigurationSignature> {
    std::size_t operator()(const tilmora::MonitorConfigurationSignature& signature) const noexcept;
};

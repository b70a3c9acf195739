#pragma once

#include "model/DisplayId.hpp"
#include "model/LayoutId.hpp"
#include "model/MonitorConfigurationSignature.hpp"
#include "model/ProfileId.hpp"

#include <map>
#include <string>

namespace tilmora {

/// Which layout each display should use while one set of displays is connected. Not validated:
/// `layouts` may name displays outside `configuration`, leave some out, or point to layout ids that
/// no store holds; each reader handles that.
///
/// JSON: {"id": ProfileId, "name": string, "configuration": MonitorConfigurationSignature,
/// "layouts": [DisplayId, LayoutId, DisplayId, LayoutId, ...]}. The map is one flat array that
/// alternates key and value (its keys are objects, not text). Reading it: an odd number of elements
/// fails, an element of the wrong shape fails, a display key that occurs twice takes its later
/// layout id, an empty array is an empty map.
struct LayoutProfile {
    /// Identity; the profile store replaces by it.
    ProfileId id;
    std::string name;
    /// The set of displays the profile is for.
    MonitorConfigurationSignature configuration;
    /// For each display of the set, the layout to use on it. Equality ignores entry order.
    std::map<DisplayId, LayoutId> layouts;

    bool operator==(const LayoutProfile&) const = default;
};

platform::Json toJson(const LayoutProfile& profile);
LayoutProfile fromJson(const platform::Json& json, std::type_identity<LayoutProfile>);

} // namespace tilmora

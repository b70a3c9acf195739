#pragma once

#include "platform/desktop/Geometry.hpp"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace tilmora::SnapshotBaselinePlanner {

/// Regroups rectangles keyed "group|item" (a window key: bundle identifier, "|", title) into
/// lists of (item, rectangle) per group. A key is split at its first "|"; a key without a bar, or
/// with nothing before or after the first bar, is left out ("a|b|c" gives item "b|c" under "a").
/// Within a group the items follow the keys' order. Pure; any thread.
std::map<std::string, std::vector<std::pair<std::string, platform::CGRect>>>
groupedTargets(const std::map<std::string, platform::CGRect>& targets);

} // namespace tilmora::SnapshotBaselinePlanner

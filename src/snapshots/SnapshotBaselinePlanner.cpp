#include "snapshots/SnapshotBaselinePlanner.hpp"

namespace tilmora::SnapshotBaselinePlanner {

std::map<std::string, std::vector<std::pair<std::string, platform::CGRect>>>
groupedTargets(const std::map<std::string, platform::CGRect>& targets) {
    std::map<std::string, std::vector<std::pair<std::string, platform::CGRect>>> groups;
    for (const auto& [key, rect] : targets) {
        const auto bar = key.find('|');
        if (bar == std::string::npos || bar == 0 || bar + 1 == key.size()) continue;
        groups[key.substr(0, bar)].emplace_back(key.substr(bar + 1), rect);
    }
    return groups;
}

} // namespace tilmora::SnapshotBaselinePlanner

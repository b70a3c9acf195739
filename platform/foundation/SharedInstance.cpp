#include "platform/foundation/SharedInstance.hpp"

#include <mutex>
#include <vector>

namespace platform::detail {

namespace {

std::mutex& registryMutex() {
    static std::mutex m;
    return m;
}

std::vector<std::function<void()>>& registry() {
    static std::vector<std::function<void()>> r;
    return r;
}

} // namespace

void registerSharedReset(std::function<void()> reset) {
    std::lock_guard lock(registryMutex());
    registry().push_back(std::move(reset));
}

void resetAllShared() {
    std::vector<std::function<void()>> resets;
    {
        std::lock_guard lock(registryMutex());
        resets = registry();
    }
    for (auto it = resets.rbegin(); it != resets.rend(); ++it)
        (*it)();
}

} // namespace platform::detail

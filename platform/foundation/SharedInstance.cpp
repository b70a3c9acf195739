#include "platform/foundation/SharedInstance.hpp"

#include <mutex>
#include <optional>
#include <vector>

namespace platform::detail {

namespace {

std::mutex& registryMutex() {
    static std::mutex m;
    return m;
}

struct Resetter {
    std::function<void()> reset;
    SharedScope scope;
};

std::vector<Resetter>& registry() {
    static std::vector<Resetter> r;
    return r;
}

// Runs the resetters of `scope` (every one when none), newest first.
void resetShared(std::optional<SharedScope> scope) {
    std::vector<Resetter> resets;
    {
        std::lock_guard lock(registryMutex());
        resets = registry();
    }
    for (auto it = resets.rbegin(); it != resets.rend(); ++it)
        if (!scope || it->scope == *scope) it->reset();
}

} // namespace

void registerSharedReset(std::function<void()> reset, SharedScope scope) {
    std::lock_guard lock(registryMutex());
    registry().push_back({std::move(reset), scope});
}

void resetAllShared() {
    resetShared(std::nullopt);
}

void resetProgramShared() {
    resetShared(SharedScope::program);
}

} // namespace platform::detail

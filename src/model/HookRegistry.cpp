#include "model/HookRegistry.hpp"

#include "platform/dispatch/Lock.hpp"
#include "platform/foundation/SharedInstance.hpp"
#include "platform/foundation/SystemLog.hpp"

#include <mutex>
#include <set>
#include <utility>

namespace tilmora {

namespace {

// Filled before `main` by the registrations; never reset (the hooks are the program's structure).
std::vector<HookRegistry::Hook>& registered() {
    static std::vector<HookRegistry::Hook> hooks;
    return hooks;
}

// The placeholders already reported in this run; reset with the other shared instances.
struct ReportedUses {
    platform::Lock lock{"HookRegistry.reported"};
    std::set<std::string> names;
};

} // namespace

HookRegistry::Registration::Registration(std::string name, std::function<bool()> isReal) {
    registered().push_back(Hook{std::move(name), std::move(isReal)});
}

const std::vector<HookRegistry::Hook>& HookRegistry::hooks() { return registered(); }

std::vector<std::string> HookRegistry::notReal() {
    std::vector<std::string> names;
    for (const Hook& hook : registered())
        if (!hook.isReal()) names.push_back(hook.name);
    return names;
}

void HookRegistry::notePlaceholderUse(const std::string& name, const std::string& consequence) {
    auto& reported = platform::SharedInstance<ReportedUses>::get();
    {
        std::lock_guard<platform::Lock> hold(reported.lock);
        if (!reported.names.insert(name).second) return;
    }
    platform::systemLog("[Hooks] Nothing installed for " + name + ": " + consequence);
}

} // namespace tilmora

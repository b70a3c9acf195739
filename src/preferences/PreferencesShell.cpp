#include "preferences/PreferencesShell.hpp"

#include "model/HookRegistry.hpp"

#include "platform/foundation/SharedInstance.hpp"

namespace tilmora {

namespace {

struct InstalledShell {
    std::shared_ptr<PreferencesShell> shell;
};

const HookRegistry::Registration shellHook("PreferencesShell", [] { return PreferencesShell::installed() != nullptr; });

} // namespace

void PreferencesShell::install(std::shared_ptr<PreferencesShell> shell) {
    platform::SharedInstance<InstalledShell>::get().shell = std::move(shell);
}

std::shared_ptr<PreferencesShell> PreferencesShell::installed() {
    return platform::SharedInstance<InstalledShell>::get().shell;
}

} // namespace tilmora

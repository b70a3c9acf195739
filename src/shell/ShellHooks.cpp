#include "shell/ShellHooks.hpp"

namespace tilmora {

namespace {
ShellHooks& storage() {
    static ShellHooks hooks;
    return hooks;
}
} // namespace

ShellHooks& ShellHooks::current() { return storage(); }

void ShellHooks::install(ShellHooks hooks) { storage() = std::move(hooks); }

void ShellHooks::reset() { storage() = ShellHooks{}; }

} // namespace tilmora

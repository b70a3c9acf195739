#include "platform/control/ProcessInfoControl.hpp"

#include "platform/internal/ProcessEnvironment.hpp"

namespace platform::ProcessInfoControl {

void setEnvironmentValue(const std::string& name, const std::optional<std::string>& value) {
    auto& env = process_detail::environment();
    std::lock_guard lock(env.mutex);
    if (value)
        env.variables[name] = *value;
    else
        env.variables.erase(name);
}

} // namespace platform::ProcessInfoControl

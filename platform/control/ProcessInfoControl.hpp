#pragma once

#include <optional>
#include <string>

/// The simulator's control of the process facts `ProcessInfo` reports besides the OS version
/// (which `SimInput::setOperatingSystemVersion` sets): the process environment. Changes last until
/// `SharedInstances::resetAll`, which goes back to the host process's variables. Tests and the
/// desktop console only. Any thread.
namespace platform::ProcessInfoControl {

/// Sets the variable `name` to `value`, or removes it when `value` is none.
void setEnvironmentValue(const std::string& name, const std::optional<std::string>& value);

} // namespace platform::ProcessInfoControl

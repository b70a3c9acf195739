#pragma once

#include <optional>
#include <string>
#include <vector>

/// The simulator's control of the user's language settings (`Locale`). Both return to the
/// environment's answers with `SharedInstances::resetAll`. Tests and the desktop console only.
/// Any thread.
namespace platform::LocaleControl {

/// Replaces the preferred languages (none: back to the environment).
void setPreferredLanguages(std::optional<std::vector<std::string>> languages);
/// Replaces the current language code (an empty optional inside means "none").
void setCurrentLanguageCode(std::optional<std::optional<std::string>> code);

} // namespace platform::LocaleControl

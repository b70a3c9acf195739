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
/// Gives the language `code` the name `name` written in the language `inLanguage` (none: the
/// language has no name there, also where the built-in table has one).
void setLanguageName(const std::string& code, const std::string& inLanguage, std::optional<std::string> name);
/// Drops every name set with `setLanguageName`: the built-in table answers again.
void resetLanguageNames();

} // namespace platform::LocaleControl

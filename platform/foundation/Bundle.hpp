#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

/// The program's main bundle: where its resources are found at run time, and the languages it
/// prefers. Resources are looked up next to the executable (the build copies `resources/` there),
/// then in the installed data folder "<executable folder>/../share/tilmora".
///
/// Control API (tests and the desktop console): `setResourceDirectory`,
/// `setPreferredLocalizations`, `resetForTesting`. Any thread.
class Bundle {
public:
    /// The path of resource `name` with extension `ext` ("Locales" and "bundle" for
    /// "Locales.bundle"), or none when no such file or folder exists.
    static std::optional<std::filesystem::path> pathForResource(std::string_view name, std::string_view ext);

    /// The folders searched for resources, in order.
    static std::vector<std::filesystem::path> resourceDirectories();

    /// The localizations of the main bundle in the order it prefers them; the program's own
    /// development language, "en", unless set otherwise.
    static std::vector<std::string> preferredLocalizations();

    /// The folder holding the running executable; none when it cannot be found.
    static std::optional<std::filesystem::path> executableDirectory();

    /// Control API: resources come only from `dir` (none: back to the default folders).
    static void setResourceDirectory(std::optional<std::filesystem::path> dir);
    /// Control API: replaces the preferred localizations (none: back to "en").
    static void setPreferredLocalizations(std::optional<std::vector<std::string>> localizations);
    /// Control API: both back to their defaults.
    static void resetForTesting();
};

/// The user's language settings.
///
/// Control API: `setPreferredLanguages`, `setCurrentLanguageCode`, `resetForTesting`. Any thread.
namespace Locale {

/// The user's preferred languages in order, as language tags ("de-DE", "en"): from $LANGUAGE
/// (colon-separated), else from $LC_ALL, $LC_MESSAGES or $LANG ("de_DE.UTF-8" gives "de-DE");
/// empty for the "C" and "POSIX" locales.
std::vector<std::string> preferredLanguages();

/// The current locale's language code ("de" for "de_DE.UTF-8"); none for "C" or "POSIX".
std::optional<std::string> currentLanguageCode();

/// Control API: replaces the preferred languages (none: back to the environment).
void setPreferredLanguages(std::optional<std::vector<std::string>> languages);
/// Control API: replaces the current language code (an empty optional inside means "none").
void setCurrentLanguageCode(std::optional<std::optional<std::string>> code);
/// Control API: both back to the environment.
void resetForTesting();

} // namespace Locale

/// Lists folders.
namespace Directory {

/// The names of the entries of the folder `path` (not their paths), in no particular order;
/// names starting with "." are left out when `skipHidden`. Throws `platform::Error` when the
/// folder cannot be listed.
std::vector<std::string> contents(const std::filesystem::path& path, bool skipHidden);

} // namespace Directory

} // namespace platform

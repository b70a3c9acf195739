#pragma once

#include "platform/foundation/PropertyValue.hpp"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

/// The program's main bundle: its identity (`main()`: identifier, path, info dictionary), where its
/// resources are found at run time, and the languages it prefers. Resources are looked up next to
/// the executable (the build copies `resources/` there), then in the installed data folder
/// "<executable folder>/../share/tilmora". Every resource lookup of the platform (strings tables,
/// images) goes through `pathForResource`.
///
/// The simulator sets the identity, the resource folder and the localizations through
/// `BundleControl` (platform/control). Any thread.
class Bundle {
public:
    /// The main bundle. Its values are read when asked, so a handle kept across a change of the
    /// control API sees the new values.
    static Bundle main();

    /// The bundle identifier ("CFBundleIdentifier"); none when the program has none.
    std::optional<std::string> bundleIdentifier() const;
    /// The bundle's folder; by default the folder of the executable (empty when it cannot be found).
    std::filesystem::path bundlePath() const;
    /// The bundle's info dictionary; none when there is none.
    std::optional<PropertyDictionary> infoDictionary() const;
    /// The info dictionary's value for `key`, of whatever type it has; none when absent.
    std::optional<PropertyValue> objectForInfoDictionaryKey(const std::string& key) const;
    /// "CFBundleName" when it is present and a text; none when it is absent or of another type.
    std::optional<std::string> bundleName() const;

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
};

/// The user's language settings (the simulator replaces them through `LocaleControl`). Any thread.
namespace Locale {

/// The user's preferred languages in order, as language tags ("de-DE", "en"): from $LANGUAGE
/// (colon-separated), else from $LC_ALL, $LC_MESSAGES or $LANG ("de_DE.UTF-8" gives "de-DE");
/// empty for the "C" and "POSIX" locales.
std::vector<std::string> preferredLanguages();

/// The current locale's language code ("de" for "de_DE.UTF-8"); none for "C" or "POSIX".
std::optional<std::string> currentLanguageCode();

/// The name of the language `code` ("de", "zh-Hans") written in the language `inLanguage`, from
/// the platform's table of the languages en, de, es, fr, it, ja and zh-Hans named in each other
/// ("Deutsch", "français", "日本語"), with the names `LocaleControl` added or removed; a region
/// after "-" or "_" in `inLanguage` is ignored when the full tag is not in the table. None when
/// the table has no such name.
std::optional<std::string> localizedLanguageName(const std::string& code, const std::string& inLanguage);

/// The same in the current locale's language: `currentLanguageCode()`, else the first preferred
/// language, else "en".
std::optional<std::string> localizedLanguageName(const std::string& code);

} // namespace Locale

/// Lists folders.
namespace Directory {

/// The names of the entries of the folder `path` (not their paths), in no particular order;
/// names starting with "." are left out when `skipHidden`. Throws `platform::Error` when the
/// folder cannot be listed.
std::vector<std::string> contents(const std::filesystem::path& path, bool skipHidden);

} // namespace Directory

} // namespace platform

#pragma once

#include "model/StringsTable.hpp"
#include "platform/dispatch/Lock.hpp"
#include "platform/foundation/FileStamp.hpp"

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tilmora {

/// Every text the user sees is looked up here by a dotted key. The texts live in
/// "Locales.bundle" among the program's resources (found at run time next to the executable or in
/// the installed data folder), one "<code>.lproj" folder per language holding "<table>.strings"
/// tables and localized resources such as "help.html". The user may pick the language under the
/// user-defaults key "AppLanguage"; otherwise the program's and the system's preferences decide.
/// When nothing is found, the key itself is the text.
///
/// Every lookup reads the choice again, so a new choice takes effect at the very next lookup. The
/// list of languages and each parsed table (or its absence) are kept and reused while their folder
/// or file is unchanged on disk (same size, modification time and file identity,
/// `platform::FileStamp`); the disk is looked at no more than once per turn of the main run loop
/// (`platform::RunLoop::mainTurns`) for each, so a build of a menu of many texts costs no system
/// call per text. An item modified within a second of the last look is read again at the next
/// turn's first lookup, since file times are coarse. So a changed table or a new language folder
/// takes effect at the first lookup of the next turn (the next opening of a menu, the next
/// event). Main thread (the caches are locked, so a lookup elsewhere is safe). Logs nothing.
class LocalizationManager {
public:
    /// The one instance, created on first use.
    static LocalizationManager& shared();

    /// The user-defaults key of the chosen language.
    const std::string key = "AppLanguage";

    /// The name of the notification posted when the choice changes.
    static constexpr const char* languageDidChange = "AppLanguageDidChange";

    /// The text of `key` in table `table` ("Localizable" when none) in the language in force;
    /// `key` itself when there is none.
    std::string localizedString(std::string_view key, const std::optional<std::string>& table = std::nullopt);

    /// The stored "AppLanguage", or none. A stored value that is not a language code (see
    /// `isLanguageCode`, for example "../x") reads as none, so no lookup leaves the locales folder.
    std::optional<std::string> selectedLanguageCode() const;

    /// True for a non-empty text of ASCII letters, digits, "-" and "_" only ("en", "pt-BR",
    /// "zh_Hant"); false for anything holding "/", "." or any other character.
    static bool isLanguageCode(std::string_view code);

    /// Stores (or, for none or "", removes) the choice and posts "AppLanguageDidChange" on the
    /// calling thread; the notification's `objectValue` is the new code as text, or none when the
    /// choice was cleared (its `object` identity is null). Setting the stored value again does
    /// nothing.
    void setSelectedLanguageCode(std::optional<std::string> code);

    /// The codes of the ".lproj" folders present, sorted; hidden entries and other extensions (also
    /// ".LPROJ") do not count.
    std::vector<std::string> availableLanguages();

    /// The localized resource `name`.`ext` in the best language: the stored choice (even without a
    /// folder), then the system's preferred languages cut before "-", then "en", then the other
    /// languages present. A candidate that is not a language code is skipped. None when no
    /// candidate has it.
    std::optional<std::filesystem::path> urlForLocalizedResource(std::string_view name, std::string_view ext);

    /// The language used for string lookups now (`availableLanguages()` must be non-empty for it
    /// to name a folder that exists).
    std::string languageForStrings();

    /// The root folder holding the ".lproj" folders, found on first use and kept; none without
    /// "Locales.bundle".
    const std::optional<std::filesystem::path>& localesRootURL();

private:
    /// The string table "<language>.lproj/<tableName>.strings" under the locales root (which must
    /// exist): the kept parse (or absence) when the file was looked at in this turn of the main
    /// run loop or is unchanged since (see above), else read now (and parsed again only when its
    /// bytes differ from those parsed last time). None when it cannot be read or parsed.
    std::shared_ptr<const StringsTable> stringsTable(std::string_view language, std::string_view tableName);

    /// `availableLanguages()` without a copy: the kept list, shared.
    std::shared_ptr<const std::vector<std::string>> languageList();
    /// `languageForStrings()` given the languages present (reads the stored choice).
    std::string languageAmong(const std::vector<std::string>& available) const;

    /// The table the last lookup used, for the lookups after it in the same turn of the main run
    /// loop (the kept table answers for a whole turn once looked at, so this is the same answer
    /// `stringsTable` gives, found under one lock).
    struct LastTable {
        std::optional<std::uint64_t> turn;
        std::string language;
        std::string tableName;
        std::shared_ptr<const StringsTable> table;
    };

    /// A kept table's language and table name; ordered so that a lookup needs no copy of either.
    using TableKey = std::pair<std::string_view, std::string_view>;
    struct TableKeyLess {
        using is_transparent = void;
        bool operator()(TableKey a, TableKey b) const { return a < b; }
    };

    struct ParsedTable {
        /// None while there was no file to read.
        std::optional<platform::FileStamp> stamp;
        std::string bytes;
        std::shared_ptr<const StringsTable> table;
        /// `platform::RunLoop::mainTurns()` when the file was last looked at.
        std::uint64_t lookedAtTurn = 0;
    };

    std::optional<std::optional<std::filesystem::path>> localesRoot_;
    platform::Lock tablesLock_{"LocalizationManager.tables"};
    std::map<std::pair<std::string, std::string>, ParsedTable, TableKeyLess> tables_;
    std::optional<platform::FileStamp> languagesStamp_;
    std::shared_ptr<const std::vector<std::string>> languages_ = std::make_shared<const std::vector<std::string>>();
    /// The turn of the main run loop in which the locales folder was last listed; none before.
    std::optional<std::uint64_t> languagesTurn_;
    LastTable lastTable_;
};

/// The shared manager's text of `key` in the "Localizable" table, in the language in force.
inline std::string localized(std::string_view key) {
    return LocalizationManager::shared().localizedString(key);
}

} // namespace tilmora

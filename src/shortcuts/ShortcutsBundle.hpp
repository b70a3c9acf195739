#pragma once

#include "model/StringsTable.hpp"
#include "platform/foundation/SharedInstance.hpp"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tilmora::GlobalShortcuts {

/// The keyboard-shortcut module's own resources: the folder "GlobalShortcuts.bundle"
/// in the first of the program's resource folders (`platform::Bundle::resourceDirectories()`) that
/// holds one, with one "<language>.lproj/Localizable.strings" table per language.
///
/// Found on first use (`module()`); the language is the first of the main bundle's preferred
/// localizations the module has, else English. When no module bundle is found, or its table cannot
/// be read, one line is logged and the module's built-in English texts answer instead. Reset with
/// the other shared instances. Any thread after creation (reads only).
class ShortcutsBundle {
public:
    static constexpr std::string_view bundleName = "GlobalShortcuts";

    static ShortcutsBundle& module() { return platform::SharedInstance<ShortcutsBundle>::get(); }

    /// The folder of the module bundle; none when it was not found.
    const std::optional<std::filesystem::path>& bundlePath() const { return path_; }

    /// The text of `key` in the module's table; a key the table lacks gives the key itself.
    std::string localizedString(std::string_view key) const;

    /// The module's English texts used when its bundle is missing.
    static const StringsTable& builtInEnglishTexts();

private:
    friend class platform::SharedInstance<ShortcutsBundle>;
    ShortcutsBundle();

    std::optional<std::filesystem::path> path_;
    StringsTable table_;
};

} // namespace tilmora::GlobalShortcuts

#include "shortcuts/ShortcutsBundle.hpp"

#include "model/Log.hpp"
#include "platform/foundation/Bundle.hpp"
#include "platform/foundation/FileSystem.hpp"

#include <string>
#include <system_error>

namespace tilmora::GlobalShortcuts {

namespace {

std::optional<std::filesystem::path> findBundle() {
    const std::string folder = std::string(ShortcutsBundle::bundleName) + ".bundle";
    for (const auto& dir : platform::Bundle::resourceDirectories()) {
        std::error_code error;
        const auto candidate = dir / folder;
        if (std::filesystem::is_directory(candidate, error)) return candidate;
    }
    return std::nullopt;
}

std::string tableLanguage(const std::filesystem::path& bundle) {
    for (const auto& language : platform::Bundle::preferredLocalizations()) {
        std::error_code error;
        if (std::filesystem::is_directory(bundle / (language + ".lproj"), error)) return language;
    }
    return "en";
}

} // namespace

ShortcutsBundle::ShortcutsBundle() {
    path_ = findBundle();
    if (!path_) {
        print("GlobalShortcuts: unable to find bundle named " + std::string(bundleName) +
              "; using the built-in English texts");
        table_ = builtInEnglishTexts();
        return;
    }
    const auto file = *path_ / (tableLanguage(*path_) + ".lproj") / "Localizable.strings";
    if (auto table = StringsTable::read(file.string())) {
        table_ = std::move(*table);
    } else {
        print("GlobalShortcuts: cannot read " + file.string() + "; using the built-in English texts");
        table_ = builtInEnglishTexts();
    }
}

std::string ShortcutsBundle::localizedString(std::string_view key) const {
    if (auto it = table_.strings.find(key); it != table_.strings.end()) return it->second;
    return std::string(key);
}

const StringsTable& ShortcutsBundle::builtInEnglishTexts() {
    static const StringsTable texts{{
        {"space_key", "space"},
        {"record_shortcut", "Record Shortcut"},
        {"press_shortcut", "Press Shortcut"},
        {"keyboard_shortcut_used_by_menu_item",
         "The menu item \u201C%@\u201D already uses this keyboard shortcut."},
        {"keyboard_shortcut_disallowed",
         "On this version of the system a sandboxed program cannot use a shortcut whose only modifier is "
         "Option (with or without Shift)."},
        {"keyboard_shortcut_used_by_system", "The system already uses this keyboard shortcut."},
        {"keyboard_shortcuts_can_be_changed",
         "Most of the system's shortcuts can be changed in the Keyboard Shortcuts section of the Keyboard "
         "settings."},
        {"ok", "OK"},
        {"force_use_shortcut", "Use It Anyway"},
    }};
    return texts;
}

} // namespace tilmora::GlobalShortcuts

#include "platform/foundation/Bundle.hpp"

#include "platform/foundation/Error.hpp"
#include "platform/internal/BundleState.hpp"

#include <cstdlib>
#include <mutex>
#include <system_error>

namespace platform {

namespace {

// The locale name that governs messages: $LC_ALL, else $LC_MESSAGES, else $LANG.
std::optional<std::string> messagesLocale() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return std::string(value);
    }
    return std::nullopt;
}

// "de_DE.UTF-8@euro" -> "de-DE"; none for "C" and "POSIX".
std::optional<std::string> languageTag(std::string locale) {
    locale = locale.substr(0, locale.find_first_of(".@"));
    if (locale.empty() || locale == "C" || locale == "POSIX") return std::nullopt;
    for (char& c : locale) {
        if (c == '_') c = '-';
    }
    return locale;
}

} // namespace

std::optional<std::filesystem::path> Bundle::executableDirectory() {
    std::error_code error;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || exe.empty()) return std::nullopt;
    return exe.parent_path();
}

std::vector<std::filesystem::path> Bundle::resourceDirectories() {
    {
        auto& o = bundle_detail::state();
        std::lock_guard<std::mutex> hold(o.mutex);
        if (o.resourceDirectory) return {*o.resourceDirectory};
    }
    std::vector<std::filesystem::path> dirs;
    if (auto exe = executableDirectory()) {
        dirs.push_back(*exe);
        dirs.push_back(exe->parent_path() / "share" / "tilmora");
    }
    return dirs;
}

std::optional<std::filesystem::path> Bundle::pathForResource(std::string_view name, std::string_view ext) {
    std::string file(name);
    if (!ext.empty()) {
        file.push_back('.');
        file.append(ext);
    }
    for (const auto& dir : resourceDirectories()) {
        std::error_code error;
        std::filesystem::path candidate = dir / file;
        if (std::filesystem::exists(candidate, error)) return candidate;
    }
    return std::nullopt;
}

Bundle Bundle::main() {
    return Bundle();
}

std::optional<std::string> Bundle::bundleIdentifier() const {
    auto& o = bundle_detail::state();
    std::lock_guard<std::mutex> hold(o.mutex);
    return o.bundleIdentifier;
}

std::filesystem::path Bundle::bundlePath() const {
    {
        auto& o = bundle_detail::state();
        std::lock_guard<std::mutex> hold(o.mutex);
        if (o.bundlePath) return *o.bundlePath;
    }
    return executableDirectory().value_or(std::filesystem::path());
}

std::optional<PropertyDictionary> Bundle::infoDictionary() const {
    auto& o = bundle_detail::state();
    std::lock_guard<std::mutex> hold(o.mutex);
    return o.infoDictionary;
}

std::optional<PropertyValue> Bundle::objectForInfoDictionaryKey(const std::string& key) const {
    auto info = infoDictionary();
    if (!info) return std::nullopt;
    auto it = info->find(key);
    if (it == info->end()) return std::nullopt;
    return it->second;
}

std::optional<std::string> Bundle::bundleName() const {
    auto value = objectForInfoDictionaryKey("CFBundleName");
    if (!value) return std::nullopt;
    if (const auto* text = value->asString()) return *text;
    return std::nullopt;
}

std::vector<std::string> Bundle::preferredLocalizations() {
    auto& o = bundle_detail::state();
    std::lock_guard<std::mutex> hold(o.mutex);
    return o.preferredLocalizations.value_or(std::vector<std::string>{"en"});
}

namespace Locale {

std::vector<std::string> preferredLanguages() {
    {
        auto& o = bundle_detail::state();
        std::lock_guard<std::mutex> hold(o.mutex);
        if (o.preferredLanguages) return *o.preferredLanguages;
    }
    std::vector<std::string> languages;
    const char* list = std::getenv("LANGUAGE");
    if (list != nullptr && *list != '\0' && messagesLocale() != std::optional<std::string>("C")) {
        std::string text(list);
        std::size_t start = 0;
        while (start <= text.size()) {
            std::size_t end = text.find(':', start);
            if (end == std::string::npos) end = text.size();
            if (auto tag = languageTag(text.substr(start, end - start))) languages.push_back(*tag);
            start = end + 1;
        }
        if (!languages.empty()) return languages;
    }
    if (auto locale = messagesLocale()) {
        if (auto tag = languageTag(*locale)) languages.push_back(*tag);
    }
    return languages;
}

std::optional<std::string> currentLanguageCode() {
    {
        auto& o = bundle_detail::state();
        std::lock_guard<std::mutex> hold(o.mutex);
        if (o.currentLanguageCode) return *o.currentLanguageCode;
    }
    auto locale = messagesLocale();
    if (!locale) return std::nullopt;
    auto tag = languageTag(*locale);
    if (!tag) return std::nullopt;
    return tag->substr(0, tag->find('-'));
}

} // namespace Locale

namespace Directory {

std::vector<std::string> contents(const std::filesystem::path& path, bool skipHidden) {
    std::error_code error;
    std::filesystem::directory_iterator it(path, error);
    if (error) throw Error("could not list \"" + path.string() + "\": " + error.message());
    std::vector<std::string> names;
    for (; it != std::filesystem::directory_iterator(); it.increment(error)) {
        if (error) throw Error("could not list \"" + path.string() + "\": " + error.message());
        std::string name = it->path().filename().string();
        if (skipHidden && !name.empty() && name.front() == '.') continue;
        names.push_back(std::move(name));
    }
    if (error) throw Error("could not list \"" + path.string() + "\": " + error.message());
    return names;
}

} // namespace Directory

} // namespace platform

#include "model/LocalizationManager.hpp"

#include "model/StringsTable.hpp"

#include "platform/dispatch/RunLoop.hpp"
#include "platform/foundation/Bundle.hpp"
#include "platform/foundation/Error.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/foundation/SharedInstance.hpp"
#include "platform/foundation/UserDefaults.hpp"

#include <algorithm>
#include <memory>

namespace tilmora {

namespace {

bool contains(const std::vector<std::string>& list, const std::string& value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

} // namespace

LocalizationManager& LocalizationManager::shared() {
    return platform::SharedInstance<LocalizationManager>::get();
}

const std::optional<std::filesystem::path>& LocalizationManager::localesRootURL() {
    if (!localesRoot_) {
        std::optional<std::filesystem::path> root;
        if (auto bundle = platform::Bundle::pathForResource("Locales", "bundle")) {
            std::filesystem::path resources = *bundle / "Contents" / "Resources";
            root = platform::FileSystem::fileExists(resources) ? resources : *bundle;
        }
        localesRoot_ = root;
    }
    return *localesRoot_;
}

std::vector<std::string> LocalizationManager::availableLanguages() {
    return *languageList();
}

std::shared_ptr<const std::vector<std::string>> LocalizationManager::languageList() {
    static const auto none = std::make_shared<const std::vector<std::string>>();
    const auto& root = localesRootURL();
    if (!root) return none;
    const std::uint64_t turn = platform::RunLoop::mainTurns();
    {
        std::lock_guard guard(tablesLock_);
        if (languagesTurn_ == turn) return languages_;
    }
    const auto stamp = platform::FileStamp::of(*root);
    {
        std::lock_guard guard(tablesLock_);
        if (stamp && languagesStamp_ && languagesStamp_->settled && languagesStamp_->sameAs(*stamp)) {
            languagesTurn_ = turn;
            return languages_;
        }
    }
    std::vector<std::string> languages;
    try {
        for (const std::string& name : platform::Directory::contents(*root, true)) {
            const std::string suffix = ".lproj";
            if (name.size() > suffix.size() &&
                name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
                languages.push_back(name.substr(0, name.size() - suffix.size()));
        }
    } catch (const platform::Error&) {
        std::lock_guard guard(tablesLock_);
        languagesStamp_.reset();
        languages_ = none;
        languagesTurn_ = turn;
        return none;
    }
    std::sort(languages.begin(), languages.end());
    auto list = std::make_shared<const std::vector<std::string>>(std::move(languages));
    std::lock_guard guard(tablesLock_);
    languagesStamp_ = stamp;
    languages_ = list;
    languagesTurn_ = turn;
    return list;
}

std::optional<std::string> LocalizationManager::selectedLanguageCode() const {
    auto stored = platform::UserDefaults::standard().stringForKey(key);
    if (stored && !isLanguageCode(*stored)) return std::nullopt;
    return stored;
}

bool LocalizationManager::isLanguageCode(std::string_view code) {
    if (code.empty()) return false;
    return std::all_of(code.begin(), code.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
    });
}

void LocalizationManager::setSelectedLanguageCode(std::optional<std::string> code) {
    if (code && code->empty()) code.reset();
    auto& defaults = platform::UserDefaults::standard();
    std::optional<std::string> stored = defaults.stringForKey(key);
    if (stored == code) return;
    platform::Notification changed{languageDidChange};
    if (code) {
        defaults.set(*code, key);
        changed.objectValue = platform::PropertyValue(*code);
    } else {
        defaults.removeObjectForKey(key);
    }
    platform::NotificationCenter::defaultCenter().post(changed);
}

std::string LocalizationManager::languageForStrings() {
    return languageAmong(*languageList());
}

std::string LocalizationManager::languageAmong(const std::vector<std::string>& available) const {
    if (auto chosen = selectedLanguageCode(); chosen && !chosen->empty() && contains(available, *chosen))
        return *chosen;
    const auto preferred = platform::Bundle::preferredLocalizations();
    if (!preferred.empty() && contains(available, preferred.front())) return preferred.front();
    if (auto code = platform::Locale::currentLanguageCode(); code && contains(available, *code)) return *code;
    if (contains(available, "en") || available.empty()) return "en";
    return available.front();
}

std::string LocalizationManager::localizedString(std::string_view key,
                                                 const std::optional<std::string>& table) {
    // The main bundle carries no string tables of its own, so its lookup gives the key.
    if (!localesRootURL()) return std::string(key);
    const std::string_view tableName = table ? std::string_view(*table) : std::string_view("Localizable");
    // What this turn already found, taken under one lock: the language list and the last table.
    const std::uint64_t turn = platform::RunLoop::mainTurns();
    std::shared_ptr<const std::vector<std::string>> languages;
    LastTable last;
    {
        std::lock_guard guard(tablesLock_);
        if (languagesTurn_ == turn) languages = languages_;
        if (lastTable_.turn == turn) last = lastTable_;
    }
    if (!languages) languages = languageList();
    // The choice is read again here, at every lookup.
    const std::string language = languageAmong(*languages);
    std::shared_ptr<const StringsTable> parsed;
    if (last.turn == turn && last.language == language && last.tableName == tableName) {
        parsed = std::move(last.table);
    } else {
        parsed = stringsTable(language, tableName);
        std::lock_guard guard(tablesLock_);
        lastTable_ = LastTable{turn, language, std::string(tableName), parsed};
    }
    if (parsed) {
        auto found = parsed->strings.find(key);
        if (found != parsed->strings.end()) return found->second;
    }
    return std::string(key);
}

std::shared_ptr<const StringsTable> LocalizationManager::stringsTable(std::string_view language,
                                                                      std::string_view tableName) {
    const TableKey name{language, tableName};
    const std::uint64_t turn = platform::RunLoop::mainTurns();
    {
        std::lock_guard guard(tablesLock_);
        if (auto kept = tables_.find(name); kept != tables_.end() && kept->second.lookedAtTurn == turn)
            return kept->second.table;
    }
    const std::pair<std::string, std::string> ownName{language, tableName};
    // No table there (or none readable) counts as looked at for this turn as well.
    const auto nothing = [&] {
        std::lock_guard guard(tablesLock_);
        tables_[ownName] = ParsedTable{std::nullopt, {}, nullptr, turn};
        return nullptr;
    };
    const std::filesystem::path file =
        *localesRootURL() / (ownName.first + ".lproj") / (ownName.second + ".strings");
    // The stamp is taken before the read: a change during the read shows as a new stamp next time.
    const auto stamp = platform::FileStamp::of(file);
    if (!stamp) return nothing();
    {
        std::lock_guard guard(tablesLock_);
        if (auto kept = tables_.find(name); kept != tables_.end() && kept->second.stamp &&
                                            kept->second.stamp->settled && kept->second.stamp->sameAs(*stamp)) {
            kept->second.lookedAtTurn = turn;
            return kept->second.table;
        }
    }
    std::string bytes;
    try {
        bytes = platform::FileSystem::readRegularFile(file, platform::FileSystem::maxWholeFileBytes);
    } catch (const platform::Error&) {
        return nothing();
    }
    {
        std::lock_guard guard(tablesLock_);
        if (auto kept = tables_.find(name);
            kept != tables_.end() && kept->second.stamp && kept->second.bytes == bytes) {
            kept->second.stamp = *stamp;
            kept->second.lookedAtTurn = turn;
            return kept->second.table;
        }
    }
    auto parsed = StringsTable::parse(bytes);
    std::shared_ptr<const StringsTable> table =
        parsed ? std::make_shared<const StringsTable>(std::move(*parsed)) : nullptr;
    std::lock_guard guard(tablesLock_);
    tables_[ownName] = ParsedTable{*stamp, std::move(bytes), table, turn};
    return table;
}

std::optional<std::filesystem::path> LocalizationManager::urlForLocalizedResource(std::string_view name,
                                                                                  std::string_view ext) {
    const auto& root = localesRootURL();
    if (!root) return std::nullopt;
    std::vector<std::string> candidates;
    if (auto chosen = selectedLanguageCode(); chosen && !chosen->empty()) candidates.push_back(*chosen);
    for (const std::string& language : platform::Locale::preferredLanguages()) {
        std::string cut = language.substr(0, language.find('-'));
        if (isLanguageCode(cut)) candidates.push_back(std::move(cut));
    }
    if (!contains(candidates, "en")) candidates.push_back("en");
    for (const std::string& language : availableLanguages()) {
        if (!contains(candidates, language)) candidates.push_back(language);
    }
    const std::string file = std::string(name) + "." + std::string(ext);
    for (const std::string& language : candidates) {
        std::filesystem::path candidate = *root / (language + ".lproj") / file;
        if (platform::FileSystem::fileExists(candidate)) return candidate;
    }
    return std::nullopt;
}

} // namespace tilmora

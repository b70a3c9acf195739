#include "platform/foundation/Bundle.hpp"
#include "platform/internal/BundleState.hpp"

#include <array>
#include <string_view>

namespace platform::Locale {

namespace {

constexpr std::array<std::string_view, 7> tableLanguages = {"en", "de", "es", "fr", "it", "ja", "zh-Hans"};

// names[written in][language], both in the order of `tableLanguages`, written as the platform
// writes them (lower case where the language writes its names so).
constexpr std::array<std::array<std::string_view, 7>, 7> names = {{
    {"English", "German", "Spanish", "French", "Italian", "Japanese", "Chinese, Simplified"},
    {"Englisch", "Deutsch", "Spanisch", "Französisch", "Italienisch", "Japanisch",
     "Chinesisch (vereinfacht)"},
    {"inglés", "alemán", "español", "francés", "italiano", "japonés", "chino simplificado"},
    {"anglais", "allemand", "espagnol", "français", "italien", "japonais", "chinois simplifié"},
    {"inglese", "tedesco", "spagnolo", "francese", "italiano", "giapponese", "cinese semplificato"},
    {"英語", "ドイツ語", "スペイン語", "フランス語", "イタリア語", "日本語", "簡体中国語"},
    {"英语", "德语", "西班牙语", "法语", "意大利语", "日语", "简体中文"},
}};

std::optional<size_t> tableIndex(std::string_view code) {
    for (size_t i = 0; i < tableLanguages.size(); ++i)
        if (tableLanguages[i] == code) return i;
    return std::nullopt;
}

std::optional<std::string> lookup(const std::string& code, const std::string& inLanguage) {
    {
        auto& state = bundle_detail::state();
        std::lock_guard<std::mutex> hold(state.mutex);
        auto it = state.languageNames.find({code, inLanguage});
        if (it != state.languageNames.end()) return it->second;
    }
    auto language = tableIndex(code);
    auto writtenIn = tableIndex(inLanguage);
    if (!language || !writtenIn) return std::nullopt;
    return std::string(names[*writtenIn][*language]);
}

} // namespace

std::optional<std::string> localizedLanguageName(const std::string& code, const std::string& inLanguage) {
    if (auto name = lookup(code, inLanguage)) return name;
    // "de-DE" and "de_CH" write as "de" does.
    auto cut = inLanguage.find_first_of("-_");
    if (cut == std::string::npos || cut == 0) return std::nullopt;
    return lookup(code, inLanguage.substr(0, cut));
}

std::optional<std::string> localizedLanguageName(const std::string& code) {
    std::string language = "en";
    if (auto current = currentLanguageCode(); current && !current->empty()) {
        language = *current;
    } else if (auto preferred = preferredLanguages(); !preferred.empty()) {
        language = preferred.front();
    }
    return localizedLanguageName(code, language);
}

} // namespace platform::Locale

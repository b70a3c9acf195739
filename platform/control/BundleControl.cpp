#include "platform/control/BundleControl.hpp"

#include "platform/control/LocaleControl.hpp"
#include "platform/internal/BundleState.hpp"

namespace platform {

namespace {

template <class Field, class Value>
void assign(Field bundle_detail::BundleState::*field, Value value) {
    auto& state = bundle_detail::state();
    std::lock_guard<std::mutex> hold(state.mutex);
    state.*field = std::move(value);
}

} // namespace

void BundleControl::setResourceDirectory(std::optional<std::filesystem::path> dir) {
    assign(&bundle_detail::BundleState::resourceDirectory, std::move(dir));
}

void BundleControl::setPreferredLocalizations(std::optional<std::vector<std::string>> localizations) {
    assign(&bundle_detail::BundleState::preferredLocalizations, std::move(localizations));
}

void BundleControl::setBundleIdentifier(std::optional<std::string> identifier) {
    assign(&bundle_detail::BundleState::bundleIdentifier, std::move(identifier));
}

void BundleControl::setBundlePath(std::optional<std::filesystem::path> path) {
    assign(&bundle_detail::BundleState::bundlePath, std::move(path));
}

void BundleControl::setInfoDictionary(std::optional<PropertyDictionary> info) {
    assign(&bundle_detail::BundleState::infoDictionary, std::move(info));
}

void LocaleControl::setPreferredLanguages(std::optional<std::vector<std::string>> languages) {
    assign(&bundle_detail::BundleState::preferredLanguages, std::move(languages));
}

void LocaleControl::setCurrentLanguageCode(std::optional<std::optional<std::string>> code) {
    assign(&bundle_detail::BundleState::currentLanguageCode, std::move(code));
}

void LocaleControl::setLanguageName(const std::string& code, const std::string& inLanguage,
                                    std::optional<std::string> name) {
    auto& state = bundle_detail::state();
    std::lock_guard<std::mutex> hold(state.mutex);
    state.languageNames[{code, inLanguage}] = std::move(name);
}

void LocaleControl::resetLanguageNames() {
    auto& state = bundle_detail::state();
    std::lock_guard<std::mutex> hold(state.mutex);
    state.languageNames.clear();
}

} // namespace platform

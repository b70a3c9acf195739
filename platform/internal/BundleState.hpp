#pragma once

#include "platform/foundation/PropertyValue.hpp"
#include "platform/foundation/SharedInstance.hpp"

#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace platform::bundle_detail {

/// What the control API (`BundleControl`, `LocaleControl`) set on the main bundle and the user's
/// language settings; an empty optional means "the default". A shared instance, so
/// `SharedInstances::resetAll` returns everything to the defaults. Any thread (under `mutex`).
struct BundleState {
    static constexpr SharedScope sharedScope = SharedScope::desktop;
    std::mutex mutex;
    std::optional<std::filesystem::path> resourceDirectory;
    std::optional<std::vector<std::string>> preferredLocalizations;
    std::optional<std::vector<std::string>> preferredLanguages;
    std::optional<std::optional<std::string>> currentLanguageCode;
    std::optional<std::string> bundleIdentifier;
    std::optional<std::filesystem::path> bundlePath;
    std::optional<PropertyDictionary> infoDictionary;
    /// Language names set through `LocaleControl`, by (code, written in): a name replaces the
    /// table's, none removes it.
    std::map<std::pair<std::string, std::string>, std::optional<std::string>> languageNames;
};

inline BundleState& state() {
    return SharedInstance<BundleState>::get();
}

} // namespace platform::bundle_detail

#pragma once

#include "platform/foundation/PropertyValue.hpp"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace platform {

/// The simulator's control of the main bundle (`Bundle`). Every setting returns to its default
/// with `SharedInstances::resetAll`. Tests and the desktop console only. Any thread.
class BundleControl {
public:
    /// Resources come only from `dir` (none: back to the executable's folder, then
    /// "<executable folder>/../share/tilmora").
    static void setResourceDirectory(std::optional<std::filesystem::path> dir);
    /// Replaces the preferred localizations (none: back to "en").
    static void setPreferredLocalizations(std::optional<std::vector<std::string>> localizations);
    /// The main bundle's identifier (none: the program has none, the default).
    static void setBundleIdentifier(std::optional<std::string> identifier);
    /// The main bundle's folder (none: back to the executable's folder).
    static void setBundlePath(std::optional<std::filesystem::path> path);
    /// The main bundle's info dictionary (none: it has none, the default). Values may be of any
    /// type; readers check.
    static void setInfoDictionary(std::optional<PropertyDictionary> info);
};

} // namespace platform

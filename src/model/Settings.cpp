#include "model/Settings.hpp"

#include "platform/foundation/UserDefaults.hpp"

namespace tilmora::settings {

platform::PropertyDictionary registeredDefaults() {
    platform::PropertyDictionary values;
    for (const Setting& setting : catalog) {
        if (const bool* flag = std::get_if<bool>(&setting.registered)) {
            values[setting.key] = platform::PropertyValue(*flag);
        } else if (const double* number = std::get_if<double>(&setting.registered)) {
            values[setting.key] = platform::PropertyValue(*number);
        }
    }
    return values;
}

std::optional<bool> storedBool(const platform::UserDefaults& defaults, const std::string& key) {
    const auto value = defaults.objectForKey(key);
    const bool* stored = value ? value->asBool() : nullptr;
    if (!stored) return std::nullopt;
    return *stored;
}

std::optional<bool> storedBool(const std::string& key) {
    return storedBool(platform::UserDefaults::standard(), key);
}

} // namespace tilmora::settings

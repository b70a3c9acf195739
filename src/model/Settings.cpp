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

std::optional<double> storedNumber(const platform::UserDefaults& defaults, const std::string& key,
                                   BooleanAsNumber boolean) {
    const auto value = defaults.objectForKey(key);
    if (!value) return std::nullopt;
    if (const double* number = value->asDouble()) return *number;
    if (const std::int64_t* integer = value->asInteger()) return static_cast<double>(*integer);
    if (const bool* flag = value->asBool(); flag && boolean == BooleanAsNumber::oneOrZero) return *flag ? 1.0 : 0.0;
    return std::nullopt;
}

bool read(const platform::UserDefaults& defaults, const BoolSetting& setting) {
    return storedBool(defaults, setting.key).value_or(setting.fallback);
}

double read(const platform::UserDefaults& defaults, const NumberSetting& setting) {
    return storedNumber(defaults, setting.key, setting.boolean).value_or(setting.fallback);
}

std::string read(const platform::UserDefaults& defaults, const TextSetting& setting) {
    return defaults.stringForKey(setting.key).value_or(setting.fallback);
}

bool read(const BoolSetting& setting) {
    return read(platform::UserDefaults::standard(), setting);
}

double read(const NumberSetting& setting) {
    return read(platform::UserDefaults::standard(), setting);
}

std::string read(const TextSetting& setting) {
    return read(platform::UserDefaults::standard(), setting);
}

} // namespace tilmora::settings

#include "preferences/PreferenceRow.hpp"

#include "model/Settings.hpp"
#include "platform/foundation/UserDefaults.hpp"

#include <optional>
#include <type_traits>

namespace tilmora {

using platform::PropertyValue;

namespace {

// The stored object under `key` when it has the kind of `like`: a Boolean for a Boolean, a
// number that is not a Boolean (as a Double) for a Double, a text for a text.
std::optional<PropertyValue> storedObject(const char* key, const PropertyValue& like) {
    if (like.isBool()) {
        const auto flag = settings::storedBool(key);
        return flag ? std::optional(PropertyValue(*flag)) : std::nullopt;
    }
    auto value = platform::UserDefaults::standard().objectForKey(key);
    if (!value) return std::nullopt;
    if (like.isString()) return value->asString() ? value : std::nullopt;
    if (auto* d = value->asDouble()) return PropertyValue(*d);
    if (auto* i = value->asInteger()) return PropertyValue(static_cast<double>(*i));
    return std::nullopt;
}

} // namespace

PropertyValue PreferenceRow::stored() const {
    auto& defaults = platform::UserDefaults::standard();
    switch (read) {
    case Read::boolean:
        return PropertyValue(defaults.boolForKey(key));
    case Read::text:
        return PropertyValue(defaults.stringForKey(key).value_or(*fallback.asString()));
    case Read::object:
        break;
    }
    if (auto own = storedObject(key, fallback)) return *own;
    if (fallbackKey != nullptr)
        if (auto standIn = storedObject(fallbackKey, fallback)) return *standIn;
    return fallback;
}

template <class T>
void PreferenceRow::apply(const T& value, const Context& context) const {
    using Own = void (*)(std::conditional_t<std::is_same_v<T, std::string>, const T&, T>, const Context&);
    if (Own own = std::get<Own>(action)) {
        own(value, context);
        return;
    }
    platform::UserDefaults::standard().set(PropertyValue(value), key);
}

template void PreferenceRow::apply<bool>(const bool&, const Context&) const;
template void PreferenceRow::apply<double>(const double&, const Context&) const;
template void PreferenceRow::apply<std::string>(const std::string&, const Context&) const;

} // namespace tilmora

#include "preferences/PreferenceRow.hpp"

#include "platform/foundation/UserDefaults.hpp"

#include <type_traits>

namespace tilmora {

using platform::PropertyValue;

PropertyValue PreferenceRow::stored() const {
    if (read == Read::boolean) return PropertyValue(platform::UserDefaults::standard().boolForKey(key));
    return reader();
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

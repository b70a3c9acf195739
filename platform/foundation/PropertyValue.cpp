#include "platform/foundation/PropertyValue.hpp"

namespace platform {

std::optional<double> PropertyValue::numberValue() const {
    if (const bool* b = asBool()) return *b ? 1.0 : 0.0;
    if (const std::int64_t* i = asInteger()) return static_cast<double>(*i);
    if (const double* d = asDouble()) return *d;
    return std::nullopt;
}

} // namespace platform

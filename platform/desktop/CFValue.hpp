#pragma once

#include "platform/desktop/AXUIElement.hpp"
#include "platform/desktop/AXValue.hpp"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace platform {

class CFValue;
/// An ordered list of values (a CFArray).
using CFArray = std::vector<CFValue>;
/// Values by text key (a CFDictionary).
using CFDictionary = std::map<std::string, CFValue>;

/// One value as the window server, Accessibility and the script engine hand it out: nothing, a
/// Boolean, a number in one of several numeric types (signed 32-bit, signed 64-bit, unsigned
/// 64-bit, a platform integer, a double), text, a list, a dictionary, an Accessibility element or
/// an Accessibility point/size value. The numeric type is kept so that callers can be tested against
/// every form a real answer may take; `integerValue` and friends read any of them.
class CFValue {
public:
    /// A number object whose storage type is not stated (read it with the number accessors).
    struct Number {
        double value = 0;
        bool operator==(const Number&) const = default;
    };
    /// A platform-sized integer (`Int` on the original system).
    struct PlatformInt {
        std::int64_t value = 0;
        bool operator==(const PlatformInt&) const = default;
    };
    using Storage = std::variant<std::monostate, bool, std::int32_t, std::int64_t, std::uint64_t, PlatformInt,
                                 Number, double, std::string, CFArray, CFDictionary, AXUIElement, AXValue>;

    CFValue() = default;
    CFValue(bool v)
        : storage_(v) {}
    CFValue(std::int32_t v)
        : storage_(v) {}
    CFValue(std::int64_t v)
        : storage_(v) {}
    CFValue(std::uint64_t v)
        : storage_(v) {}
    CFValue(PlatformInt v)
        : storage_(v) {}
    CFValue(Number v)
        : storage_(v) {}
    CFValue(double v)
        : storage_(v) {}
    CFValue(const char* v)
        : storage_(std::string(v)) {}
    CFValue(std::string v)
        : storage_(std::move(v)) {}
    CFValue(CFArray v)
        : storage_(std::move(v)) {}
    CFValue(CFDictionary v)
        : storage_(std::move(v)) {}
    CFValue(AXUIElement v)
        : storage_(v) {}
    CFValue(AXValue v)
        : storage_(v) {}

    const Storage& storage() const { return storage_; }
    bool isNull() const { return std::holds_alternative<std::monostate>(storage_); }
    /// True for the numeric kinds (not for Booleans).
    bool isNumber() const;

    template <class T>
    const T* get() const {
        return std::get_if<T>(&storage_);
    }
    const bool* asBool() const { return get<bool>(); }
    const std::string* asString() const { return get<std::string>(); }
    const CFArray* asArray() const { return get<CFArray>(); }
    const CFDictionary* asDictionary() const { return get<CFDictionary>(); }
    const AXUIElement* asElement() const { return get<AXUIElement>(); }
    const AXValue* asAXValue() const { return get<AXValue>(); }

    /// Any numeric kind as a signed 64-bit integer (doubles truncated toward zero; none when not
    /// finite or out of range; an unsigned value above the signed range gives none).
    std::optional<std::int64_t> integerValue() const;
    /// Any numeric kind as a double.
    std::optional<double> doubleValue() const;

    /// A text form in the style of a Foundation description: dictionaries as
    /// `{\n    key = value;\n}`, lists as `(\n    a,\n    b\n)`, text quoted when it holds anything
    /// but letters, digits and `_.`.
    std::string description() const;

    bool operator==(const CFValue& o) const { return storage_ == o.storage_; }

private:
    Storage storage_;
};

/// Looks a key up; null when absent.
const CFValue* lookup(const CFDictionary& dictionary, const std::string& key);

} // namespace platform

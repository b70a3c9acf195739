#include "platform/desktop/CFValue.hpp"

#include <cmath>
#include <limits>
#include <sstream>

namespace platform {

namespace {

template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

std::string formatDouble(double v) {
    std::ostringstream out;
    out.precision(17);
    out << v;
    std::string text = out.str();
    // Shortest form that reads back the same value.
    for (int p = 1; p <= 17; ++p) {
        std::ostringstream o;
        o.precision(p);
        o << v;
        if (std::stod(o.str()) == v) return o.str();
    }
    return text;
}

std::string quoted(const std::string& s) {
    bool plain = !s.empty();
    for (char c : s) {
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.')) plain = false;
    }
    if (plain) return s;
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string indentLines(const std::string& text) {
    std::string out;
    std::istringstream in(text);
    std::string line;
    bool first = true;
    while (std::getline(in, line)) {
        if (!first) out += "\n    ";
        out += line;
        first = false;
    }
    return out;
}

} // namespace

bool CFValue::isNumber() const {
    return std::visit(Overloaded{[](std::int32_t) { return true; }, [](std::int64_t) { return true; },
                                 [](std::uint64_t) { return true; }, [](PlatformInt) { return true; },
                                 [](Number) { return true; }, [](double) { return true; },
                                 [](const auto&) { return false; }},
                      storage_);
}

std::optional<double> CFValue::doubleValue() const {
    return std::visit(Overloaded{[](std::int32_t v) -> std::optional<double> { return double(v); },
                                 [](std::int64_t v) -> std::optional<double> { return double(v); },
                                 [](std::uint64_t v) -> std::optional<double> { return double(v); },
                                 [](PlatformInt v) -> std::optional<double> { return double(v.value); },
                                 [](Number v) -> std::optional<double> { return v.value; },
                                 [](double v) -> std::optional<double> { return v; },
                                 [](const auto&) -> std::optional<double> { return std::nullopt; }},
                      storage_);
}

std::optional<std::int64_t> CFValue::integerValue() const {
    auto fromDouble = [](double d) -> std::optional<std::int64_t> {
        if (!std::isfinite(d)) return std::nullopt;
        double t = std::trunc(d);
        if (t < -9223372036854775808.0 || t >= 9223372036854775808.0) return std::nullopt;
        return static_cast<std::int64_t>(t);
    };
    return std::visit(Overloaded{[](std::int32_t v) -> std::optional<std::int64_t> { return v; },
                                 [](std::int64_t v) -> std::optional<std::int64_t> { return v; },
                                 [](std::uint64_t v) -> std::optional<std::int64_t> {
                                     if (v >
                                         static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
                                         return std::nullopt;
                                     return static_cast<std::int64_t>(v);
                                 },
                                 [](PlatformInt v) -> std::optional<std::int64_t> { return v.value; },
                                 [&](Number v) -> std::optional<std::int64_t> { return fromDouble(v.value); },
                                 [&](double v) -> std::optional<std::int64_t> { return fromDouble(v); },
                                 [](const auto&) -> std::optional<std::int64_t> { return std::nullopt; }},
                      storage_);
}

std::string CFValue::description() const {
    return std::visit(Overloaded{[](std::monostate) -> std::string { return "<null>"; },
                                 [](bool v) -> std::string { return v ? "1" : "0"; },
                                 [](std::int32_t v) -> std::string { return std::to_string(v); },
                                 [](std::int64_t v) -> std::string { return std::to_string(v); },
                                 [](std::uint64_t v) -> std::string { return std::to_string(v); },
                                 [](PlatformInt v) -> std::string { return std::to_string(v.value); },
                                 [](Number v) -> std::string { return formatDouble(v.value); },
                                 [](double v) -> std::string { return formatDouble(v); },
                                 [](const std::string& v) -> std::string { return quoted(v); },
                                 [](const CFArray& v) -> std::string {
                                     if (v.empty()) return "(\n)";
                                     std::string out = "(";
                                     for (std::size_t i = 0; i < v.size(); ++i) {
                                         out += "\n    " + indentLines(v[i].description());
                                         if (i + 1 < v.size()) out += ",";
                                     }
                                     return out + "\n)";
                                 },
                                 [](const CFDictionary& v) -> std::string {
                                     std::string out = "{";
                                     for (const auto& [k, value] : v)
                                         out += "\n    " + quoted(k) + " = " +
                                                indentLines(value.description()) + ";";
                                     return out + "\n}";
                                 },
                                 [](const AXUIElement& e) -> std::string {
                                     return "<AXUIElement pid=" + std::to_string(e.pid) +
                                            " window=" + std::to_string(e.window) + ">";
                                 },
                                 [](const AXValue& v) -> std::string {
                                     if (v.type == AXValueType::cgPoint)
                                         return "<AXValue point x:" + formatDouble(v.point.x) +
                                                " y:" + formatDouble(v.point.y) + ">";
                                     if (v.type == AXValueType::cgSize)
                                         return "<AXValue size w:" + formatDouble(v.size.width) +
                                                " h:" + formatDouble(v.size.height) + ">";
                                     return "<AXValue>";
                                 }},
                      storage_);
}

const CFValue* lookup(const CFDictionary& dictionary, const std::string& key) {
    auto it = dictionary.find(key);
    return it == dictionary.end() ? nullptr : &it->second;
}

} // namespace platform

#include "console/ConsoleText.hpp"

#include "platform/foundation/Text.hpp"

namespace tilmora {

std::string ConsoleText::number(double v) {
    return platform::Text::doubleDescription(v);
}

std::string ConsoleText::quote(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string ConsoleText::frame(const platform::CGRect& r) {
    return number(r.origin.x) + " " + number(r.origin.y) + " " + number(r.size.width) + " " +
           number(r.size.height);
}

} // namespace tilmora

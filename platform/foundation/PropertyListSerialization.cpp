#include "platform/foundation/PropertyListSerialization.hpp"

#include "platform/foundation/Error.hpp"
#include "platform/foundation/ISO8601DateFormatter.hpp"
#include "platform/foundation/Text.hpp"

#include <cstdint>
#include <limits>

namespace platform {

namespace {

constexpr std::string_view base64Alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string escaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string base64(const Bytes& bytes) {
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        std::uint32_t chunk = static_cast<std::uint32_t>(bytes[i]) << 16;
        if (i + 1 < bytes.size()) chunk |= static_cast<std::uint32_t>(bytes[i + 1]) << 8;
        if (i + 2 < bytes.size()) chunk |= bytes[i + 2];
        out += base64Alphabet[(chunk >> 18) & 63];
        out += base64Alphabet[(chunk >> 12) & 63];
        out += i + 1 < bytes.size() ? base64Alphabet[(chunk >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? base64Alphabet[chunk & 63] : '=';
    }
    return out;
}

[[noreturn]] void refuse(const std::string& why) { throw Error("not a property list: " + why); }

Bytes unbase64(std::string_view text) {
    Bytes out;
    std::uint32_t chunk = 0;
    int bits = 0;
    for (char c : text) {
        if (c == '=' || c == ' ' || c == '\n' || c == '\t' || c == '\r') continue;
        auto at = base64Alphabet.find(c);
        if (at == std::string_view::npos) refuse("bad data");
        chunk = (chunk << 6) | static_cast<std::uint32_t>(at);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out.push_back(static_cast<std::uint8_t>((chunk >> bits) & 0xff));
        }
    }
    return out;
}

void write(const PropertyValue& value, int depth, std::string& out) {
    std::string indent(static_cast<std::size_t>(depth), '\t');
    switch (value.kind()) {
    case PropertyValue::Kind::boolean: out += indent + (*value.asBool() ? "<true/>\n" : "<false/>\n"); break;
    case PropertyValue::Kind::integer: out += indent + "<integer>" + std::to_string(*value.asInteger()) + "</integer>\n"; break;
    case PropertyValue::Kind::real: out += indent + "<real>" + Text::doubleDescription(*value.asDouble()) + "</real>\n"; break;
    case PropertyValue::Kind::string: out += indent + "<string>" + escaped(*value.asString()) + "</string>\n"; break;
    case PropertyValue::Kind::data: out += indent + "<data>" + base64(*value.asData()) + "</data>\n"; break;
    case PropertyValue::Kind::date:
        out += indent + "<date>" + ISO8601DateFormatter::string(*value.asDate()) + "</date>\n";
        break;
    case PropertyValue::Kind::array:
        out += indent + "<array>\n";
        for (const auto& item : *value.asArray()) write(item, depth + 1, out);
        out += indent + "</array>\n";
        break;
    case PropertyValue::Kind::dictionary:
        out += indent + "<dict>\n";
        for (const auto& [key, item] : *value.asDictionary()) {
            out += indent + "\t<key>" + escaped(key) + "</key>\n";
            write(item, depth + 1, out);
        }
        out += indent + "</dict>\n";
        break;
    }
}

// A reader of the subset of XML the format uses: elements, text, the five entities and numeric
// character references, comments, the declaration and the document type.
class Reader {
public:
    explicit Reader(std::string_view text)
        : text_(text) {}

    PropertyValue document() {
        skipMisc();
        std::string tag = openTag();
        if (tag != "plist") refuse("no plist element");
        skipMisc();
        PropertyValue value = element(0);
        skipMisc();
        closeTag("plist");
        skipMisc();
        if (at_ != text_.size()) refuse("text after the plist element");
        return value;
    }

private:
    void skipSpace() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\n' || text_[at_] == '\t' || text_[at_] == '\r'))
            ++at_;
    }
    void skipMisc() {
        for (;;) {
            skipSpace();
            if (text_.substr(at_, 2) == "<?") {
                skipPast("?>");
            } else if (text_.substr(at_, 4) == "<!--") {
                skipPast("-->");
            } else if (text_.substr(at_, 2) == "<!") {
                skipPast(">");
            } else {
                return;
            }
        }
    }
    void skipPast(std::string_view end) {
        auto found = text_.find(end, at_);
        if (found == std::string_view::npos) refuse("unterminated markup");
        at_ = found + end.size();
    }
    // Reads "<name ...>" or "<name/>"; `selfClosing_` tells which.
    std::string openTag() {
        if (at_ >= text_.size() || text_[at_] != '<') refuse("element expected");
        auto end = text_.find('>', at_);
        if (end == std::string_view::npos) refuse("unterminated tag");
        std::string_view inside = text_.substr(at_ + 1, end - at_ - 1);
        at_ = end + 1;
        selfClosing_ = !inside.empty() && inside.back() == '/';
        if (selfClosing_) inside.remove_suffix(1);
        auto space = inside.find_first_of(" \t\n\r");
        std::string name(inside.substr(0, space));
        if (name.empty() || name.front() == '/') refuse("element expected");
        return name;
    }
    void closeTag(const std::string& name) {
        skipSpace();
        std::string expected = "</" + name + ">";
        if (text_.substr(at_, expected.size()) != expected) refuse("missing " + expected);
        at_ += expected.size();
    }
    std::string textUntil(const std::string& name) {
        auto end = text_.find("</" + name + ">", at_);
        if (end == std::string_view::npos) refuse("missing </" + name + ">");
        std::string raw(text_.substr(at_, end - at_));
        at_ = end;
        closeTag(name);
        return unescape(raw);
    }
    static std::string unescape(const std::string& raw) {
        std::string out;
        for (std::size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] == '<') refuse("markup inside text");
            if (raw[i] != '&') {
                out += raw[i];
                continue;
            }
            auto semi = raw.find(';', i);
            if (semi == std::string::npos) refuse("bad entity");
            std::string name = raw.substr(i + 1, semi - i - 1);
            if (name == "amp") out += '&';
            else if (name == "lt") out += '<';
            else if (name == "gt") out += '>';
            else if (name == "quot") out += '"';
            else if (name == "apos") out += '\'';
            else if (name.size() > 1 && name[0] == '#') {
                std::uint32_t code = 0;
                bool hex = name[1] == 'x';
                for (std::size_t k = hex ? 2 : 1; k < name.size(); ++k) {
                    char c = name[k];
                    int digit = c >= '0' && c <= '9' ? c - '0'
                              : hex && c >= 'a' && c <= 'f' ? c - 'a' + 10
                              : hex && c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
                    if (digit < 0 || code > 0x10FFFF) refuse("bad character reference");
                    code = code * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
                }
                if (code == 0 || code > 0x10FFFF) refuse("bad character reference");
                Text::appendUtf8(out, static_cast<char32_t>(code));
            } else {
                refuse("unknown entity &" + name + ";");
            }
            i = semi;
        }
        return out;
    }
    PropertyValue element(int depth) {
        if (depth > 512) refuse("nested too deeply");
        std::string tag = openTag();
        if (tag == "true" || tag == "false") {
            if (!selfClosing_) closeTag(tag);
            return PropertyValue(tag == "true");
        }
        if (selfClosing_) {
            if (tag == "string") return PropertyValue(std::string());
            if (tag == "array") return PropertyValue(PropertyArray{});
            if (tag == "dict") return PropertyValue(PropertyDictionary{});
            if (tag == "data") return PropertyValue(Bytes{});
            refuse("empty <" + tag + "/>");
        }
        if (tag == "string") return PropertyValue(textUntil(tag));
        if (tag == "integer") {
            std::string text = textUntil(tag);
            try {
                std::size_t used = 0;
                long long v = std::stoll(text, &used);
                if (used != text.size()) refuse("bad integer");
                return PropertyValue(static_cast<std::int64_t>(v));
            } catch (const std::logic_error&) {
                refuse("bad integer");
            }
        }
        if (tag == "real") {
            auto v = Text::parseDouble(textUntil(tag));
            if (!v) refuse("bad real");
            return PropertyValue(*v);
        }
        if (tag == "date") {
            auto d = ISO8601DateFormatter::date(textUntil(tag));
            if (!d) refuse("bad date");
            return PropertyValue(*d);
        }
        if (tag == "data") return PropertyValue(unbase64(textUntil(tag)));
        if (tag == "array") {
            PropertyArray items;
            for (;;) {
                skipMisc();
                if (text_.substr(at_, 2) == "</") break;
                items.push_back(element(depth + 1));
            }
            closeTag(tag);
            return PropertyValue(std::move(items));
        }
        if (tag == "dict") {
            PropertyDictionary items;
            for (;;) {
                skipMisc();
                if (text_.substr(at_, 2) == "</") break;
                if (openTag() != "key" || selfClosing_) refuse("<key> expected in <dict>");
                std::string key = textUntil("key");
                skipMisc();
                items[key] = element(depth + 1);
            }
            closeTag(tag);
            return PropertyValue(std::move(items));
        }
        refuse("unknown element <" + tag + ">");
    }

    std::string_view text_;
    std::size_t at_ = 0;
    bool selfClosing_ = false;
};

} // namespace

std::string PropertyListSerialization::dataFromPropertyList(const PropertyValue& value) {
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                      "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
                      "<plist version=\"1.0\">\n";
    write(value, 0, out);
    out += "</plist>\n";
    return out;
}

PropertyValue PropertyListSerialization::propertyListFromData(std::string_view data) {
    return Reader(data).document();
}

} // namespace platform

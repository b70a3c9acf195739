#include "platform/input/KeyChord.hpp"

#include <algorithm>
#include <cctype>
#include <map>
#include <vector>

namespace platform {

namespace {

std::string lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

struct KeyName {
    const char* name;
    std::uint16_t code;
};

// The first name of each key code is the one `description` writes.
constexpr KeyName kKeyNames[] = {
    {"a", 0},
    {"b", 11},
    {"c", 8},
    {"d", 2},
    {"e", 14},
    {"f", 3},
    {"g", 5},
    {"h", 4},
    {"i", 34},
    {"j", 38},
    {"k", 40},
    {"l", 37},
    {"m", 46},
    {"n", 45},
    {"o", 31},
    {"p", 35},
    {"q", 12},
    {"r", 15},
    {"s", 1},
    {"t", 17},
    {"u", 32},
    {"v", 9},
    {"w", 13},
    {"x", 7},
    {"y", 16},
    {"z", 6},
    {"0", 29},
    {"1", 18},
    {"2", 19},
    {"3", 20},
    {"4", 21},
    {"5", 23},
    {"6", 22},
    {"7", 26},
    {"8", 28},
    {"9", 25},
    {"zero", 29},
    {"one", 18},
    {"two", 19},
    {"three", 20},
    {"four", 21},
    {"five", 23},
    {"six", 22},
    {"seven", 26},
    {"eight", 28},
    {"nine", 25},
    {"capslock", 57},
    {"shiftkey", 56},
    {"functionkey", 63},
    {"controlkey", 59},
    {"optionkey", 58},
    {"commandkey", 55},
    {"rightcommand", 54},
    {"rightoption", 61},
    {"rightcontrol", 62},
    {"rightshift", 60},
    {"return", 36},
    {"enter", 36},
    {"backslash", 42},
    {"\\", 42},
    {"backtick", 50},
    {"`", 50},
    {"comma", 43},
    {",", 43},
    {"equal", 24},
    {"=", 24},
    {"minus", 27},
    {"-", 27},
    {"period", 47},
    {".", 47},
    {"quote", 39},
    {"'", 39},
    {"semicolon", 41},
    {";", 41},
    {"slash", 44},
    {"/", 44},
    {"space", 49},
    {"tab", 48},
    {"leftbracket", 33},
    {"[", 33},
    {"rightbracket", 30},
    {"]", 30},
    {"pageup", 116},
    {"pagedown", 121},
    {"home", 115},
    {"end", 119},
    {"up", 126},
    {"uparrow", 126},
    {"right", 124},
    {"rightarrow", 124},
    {"down", 125},
    {"downarrow", 125},
    {"left", 123},
    {"leftarrow", 123},
    {"escape", 53},
    {"esc", 53},
    {"delete", 51},
    {"backspace", 51},
    {"forwarddelete", 117},
    {"deleteforward", 117},
    {"help", 114},
    {"mute", 74},
    {"volumeup", 72},
    {"volumedown", 73},
    {"f1", 122},
    {"f2", 120},
    {"f3", 99},
    {"f4", 118},
    {"f5", 96},
    {"f6", 97},
    {"f7", 98},
    {"f8", 100},
    {"f9", 101},
    {"f10", 109},
    {"f11", 103},
    {"f12", 111},
    {"f13", 105},
    {"f14", 107},
    {"f15", 113},
    {"f16", 106},
    {"f17", 64},
    {"f18", 79},
    {"f19", 80},
    {"f20", 90},
    {"keypad0", 82},
    {"keypad1", 83},
    {"keypad2", 84},
    {"keypad3", 85},
    {"keypad4", 86},
    {"keypad5", 87},
    {"keypad6", 88},
    {"keypad7", 89},
    {"keypad8", 91},
    {"keypad9", 92},
    {"keypadclear", 71},
    {"keypaddecimal", 65},
    {"keypaddivide", 75},
    {"keypadenter", 76},
    {"keypadequals", 81},
    {"keypadminus", 78},
    {"keypadmultiply", 67},
    {"keypadplus", 69},
};

struct ModifierName {
    const char* name;
    ModifierFlags flag;
};

constexpr ModifierName kModifierNames[] = {
    {"ctrl", ModifierFlags::control},  {"control", ModifierFlags::control},
    {"opt", ModifierFlags::option},    {"option", ModifierFlags::option},
    {"alt", ModifierFlags::option},    {"shift", ModifierFlags::shift},
    {"cmd", ModifierFlags::command},   {"command", ModifierFlags::command},
    {"fn", ModifierFlags::function},   {"function", ModifierFlags::function},
    {"caps", ModifierFlags::capsLock}, {"capslock", ModifierFlags::capsLock},
};

std::optional<ModifierFlags> modifierForName(const std::string& name) {
    for (const auto& m : kModifierNames) {
        if (name == m.name) return m.flag;
    }
    return std::nullopt;
}

} // namespace

std::optional<std::uint16_t> KeyChord::keyCodeForName(std::string_view name) {
    const std::string n = lower(name);
    for (const auto& k : kKeyNames) {
        if (n == k.name) return k.code;
    }
    constexpr std::string_view prefix = "keycode:";
    if (n.size() > prefix.size() && n.starts_with(prefix)) {
        std::string digits = n.substr(prefix.size());
        if (digits.size() > 5 ||
            !std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c); }))
            return std::nullopt;
        unsigned long v = std::stoul(digits);
        if (v > 0xFFFF) return std::nullopt;
        return static_cast<std::uint16_t>(v);
    }
    return std::nullopt;
}

std::vector<std::string_view> KeyChord::keyNames() {
    std::vector<std::string_view> names;
    for (const auto& k : kKeyNames)
        names.emplace_back(k.name);
    return names;
}

std::vector<std::string_view> KeyChord::modifierNames() {
    std::vector<std::string_view> names;
    for (const auto& m : kModifierNames)
        names.emplace_back(m.name);
    return names;
}

std::optional<KeyChord> KeyChord::parse(std::string_view text) {
    // Split on "+", but a "+" that is the whole last part is the key itself ("cmd++" is not
    // supported; the plus key is "keypadplus" or "equal" with shift).
    std::vector<std::string> parts;
    std::string current;
    for (char c : text) {
        if (c == '+') {
            parts.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    parts.push_back(current);

    KeyChord chord;
    std::optional<std::uint16_t> key;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::string part = lower(parts[i]);
        if (part.empty()) return std::nullopt;
        const bool last = i + 1 == parts.size();
        if (!last) {
            auto m = modifierForName(part);
            if (!m) return std::nullopt;
            chord.modifiers |= *m;
            continue;
        }
        key = keyCodeForName(part);
        if (!key) return std::nullopt;
    }
    if (!key) return std::nullopt;
    chord.keyCode = *key;
    return chord;
}

std::string KeyChord::description() const {
    std::string out;
    const std::pair<ModifierFlags, const char*> order[] = {
        {ModifierFlags::control, "ctrl"}, {ModifierFlags::option, "opt"},  {ModifierFlags::shift, "shift"},
        {ModifierFlags::command, "cmd"},  {ModifierFlags::function, "fn"}, {ModifierFlags::capsLock, "caps"},
    };
    for (const auto& [flag, name] : order) {
        if (modifiers.contains(flag)) out += std::string(name) + "+";
    }
    for (const auto& k : kKeyNames) {
        if (k.code == keyCode) return out + k.name;
    }
    return out + "keycode:" + std::to_string(keyCode);
}

} // namespace platform

#include "platform/input/KeyboardLayout.hpp"

#include "platform/internal/InputState.hpp"

#include <array>
#include <map>

namespace platform {

namespace {

enum Accent : std::uint32_t { noAccent = 0, grave = 1, acute = 2, umlaut = 3, circumflex = 4, tilde = 5 };

struct KeyEntry {
    std::u16string plain;
    std::u16string shift;
    std::u16string option;
    std::u16string optionShift;
    Accent deadWithOption = noAccent;
    bool letter = false;
};

} // namespace

struct UCKeyboardLayout {
    std::map<std::uint16_t, KeyEntry> keys;
};

namespace {

struct Row {
    std::uint16_t code;
    const char16_t* plain;
    const char16_t* shift;
    const char16_t* option;
    const char16_t* optionShift;
    Accent dead;
};

// The U.S. layout: every key of a U.S. keyboard with its four character layers.
constexpr Row kUsRows[] = {
    {0, u"a", u"A", u"å", u"Å", noAccent},
    {1, u"s", u"S", u"ß", u"Í", noAccent},
    {2, u"d", u"D", u"∂", u"Î", noAccent},
    {3, u"f", u"F", u"ƒ", u"Ï", noAccent},
    {4, u"h", u"H", u"˙", u"Ó", noAccent},
    {5, u"g", u"G", u"©", u"˝", noAccent},
    {6, u"z", u"Z", u"Ω", u"¸", noAccent},
    {7, u"x", u"X", u"≈", u"˛", noAccent},
    {8, u"c", u"C", u"ç", u"Ç", noAccent},
    {9, u"v", u"V", u"√", u"◊", noAccent},
    {10, u"§", u"±", u"§", u"±", noAccent},
    {11, u"b", u"B", u"∫", u"ı", noAccent},
    {12, u"q", u"Q", u"œ", u"Œ", noAccent},
    {13, u"w", u"W", u"∑", u"„", noAccent},
    {14, u"e", u"E", u"´", u"´", acute},
    {15, u"r", u"R", u"®", u"‰", noAccent},
    {16, u"y", u"Y", u"¥", u"Á", noAccent},
    {17, u"t", u"T", u"†", u"ˇ", noAccent},
    {18, u"1", u"!", u"¡", u"⁄", noAccent},
    {19, u"2", u"@", u"™", u"€", noAccent},
    {20, u"3", u"#", u"£", u"‹", noAccent},
    {21, u"4", u"$", u"¢", u"›", noAccent},
    {22, u"6", u"^", u"§", u"ﬂ", noAccent},
    {23, u"5", u"%", u"∞", u"ﬁ", noAccent},
    {24, u"=", u"+", u"≠", u"±", noAccent},
    {25, u"9", u"(", u"ª", u"·", noAccent},
    {26, u"7", u"&", u"¶", u"‡", noAccent},
    {27, u"-", u"_", u"–", u"—", noAccent},
    {28, u"8", u"*", u"•", u"°", noAccent},
    {29, u"0", u")", u"º", u"‚", noAccent},
    {30, u"]", u"}", u"‘", u"’", noAccent},
    {31, u"o", u"O", u"ø", u"Ø", noAccent},
    {32, u"u", u"U", u"¨", u"¨", umlaut},
    {33, u"[", u"{", u"“", u"”", noAccent},
    {34, u"i", u"I", u"ˆ", u"ˆ", circumflex},
    {35, u"p", u"P", u"π", u"∏", noAccent},
    {36, u"\r", u"\r", u"\r", u"\r", noAccent},
    {37, u"l", u"L", u"¬", u"Ò", noAccent},
    {38, u"j", u"J", u"∆", u"Ô", noAccent},
    {39, u"'", u"\"", u"æ", u"Æ", noAccent},
    {40, u"k", u"K", u"˚", u"\uF8FF", noAccent},
    {41, u";", u":", u"…", u"Ú", noAccent},
    {42, u"\\", u"|", u"«", u"»", noAccent},
    {43, u",", u"<", u"≤", u"¯", noAccent},
    {44, u"/", u"?", u"÷", u"¿", noAccent},
    {45, u"n", u"N", u"˜", u"˜", tilde},
    {46, u"m", u"M", u"µ", u"Â", noAccent},
    {47, u".", u">", u"≥", u"˘", noAccent},
    {48, u"\t", u"\t", u"\t", u"\t", noAccent},
    {49, u" ", u" ", u"\u00A0", u"\u00A0", noAccent},
    {50, u"`", u"~", u"`", u"`", grave},
    {51, u"\b", u"\b", u"\b", u"\b", noAccent},
    {52, u"\x03", u"\x03", u"\x03", u"\x03", noAccent},
    {53, u"\x1B", u"\x1B", u"\x1B", u"\x1B", noAccent},
    // Keypad.
    {65, u".", u".", u".", u".", noAccent},
    {67, u"*", u"*", u"*", u"*", noAccent},
    {69, u"+", u"+", u"+", u"+", noAccent},
    {71, u"\x1B", u"\x1B", u"\x1B", u"\x1B", noAccent},
    {75, u"/", u"/", u"/", u"/", noAccent},
    {76, u"\x03", u"\x03", u"\x03", u"\x03", noAccent},
    {78, u"-", u"-", u"-", u"-", noAccent},
    {81, u"=", u"=", u"=", u"=", noAccent},
    {82, u"0", u"0", u"0", u"0", noAccent},
    {83, u"1", u"1", u"1", u"1", noAccent},
    {84, u"2", u"2", u"2", u"2", noAccent},
    {85, u"3", u"3", u"3", u"3", noAccent},
    {86, u"4", u"4", u"4", u"4", noAccent},
    {87, u"5", u"5", u"5", u"5", noAccent},
    {88, u"6", u"6", u"6", u"6", noAccent},
    {89, u"7", u"7", u"7", u"7", noAccent},
    {91, u"8", u"8", u"8", u"8", noAccent},
    {92, u"9", u"9", u"9", u"9", noAccent},
    // Function keys (F1 ... F20) give the function-key control character.
    {122, u"\x10", u"\x10", u"\x10", u"\x10", noAccent},
    {120, u"\x10", u"\x10", u"\x10", u"\x10", noAccent},
    {99, u"\x10", u"\x10", u"\x10", u"\x10", noAccent},
    {118, u"\x10", u"\x10", u"\x10", u"\x10", noAccent},
    {96, u"\x10", u"\x10", u"\x10", u"\x10", noAccent},
    {97, u"\x10", u"\x10", u"\x10", u"\x10", noAccent},
    {98, u"\x10", u"\x10", u"\x10", u"\x10", noAccent},
    {100, u"\x10", u"\x10", u"\x10", u"\x10", noAccent},
    {101, u"\x10", u"\x10", u"\x10", u"\x10", noAccent},
    {109, u"\x10", u"\x10", u"\x10", u"\x10", noAccent},
    {103, u"\x10", u"\x10", u"\x10", u"\x10", noAccent},
    {111, u"\x10", u"\x10", u"\x10", u"\x10", noAccent},
    {105, u"\x10", u"\x10", u"\x10", u"\x10", noAccent},
    {107, u"\x10", u"\x10", u"\x10", u"\x10", noAccent},
    {113, u"\x10", u"\x10", u"\x10", u"\x10", noAccent},
    {106, u"\x10", u"\x10", u"\x10", u"\x10", noAccent},
    {64, u"\x10", u"\x10", u"\x10", u"\x10", noAccent},
    {79, u"\x10", u"\x10", u"\x10", u"\x10", noAccent},
    {80, u"\x10", u"\x10", u"\x10", u"\x10", noAccent},
    {90, u"\x10", u"\x10", u"\x10", u"\x10", noAccent},
    // Navigation and editing.
    {114, u"\x05", u"\x05", u"\x05", u"\x05", noAccent},
    {115, u"\x01", u"\x01", u"\x01", u"\x01", noAccent},
    {116, u"\x0B", u"\x0B", u"\x0B", u"\x0B", noAccent},
    {117, u"\x7F", u"\x7F", u"\x7F", u"\x7F", noAccent},
    {119, u"\x04", u"\x04", u"\x04", u"\x04", noAccent},
    {121, u"\x0C", u"\x0C", u"\x0C", u"\x0C", noAccent},
    {123, u"\x1C", u"\x1C", u"\x1C", u"\x1C", noAccent},
    {124, u"\x1D", u"\x1D", u"\x1D", u"\x1D", noAccent},
    {125, u"\x1F", u"\x1F", u"\x1F", u"\x1F", noAccent},
    {126, u"\x1E", u"\x1E", u"\x1E", u"\x1E", noAccent},
};

struct Composition {
    Accent accent;
    const char16_t* bases;
    const char16_t* composed;
};

constexpr Composition kCompositions[] = {
    {grave, u"aeiouAEIOU", u"àèìòùÀÈÌÒÙ"},
    {acute, u"aeiouyAEIOUY", u"áéíóúýÁÉÍÓÚÝ"},
    {umlaut, u"aeiouyAEIOUY", u"äëïöüÿÄËÏÖÜŸ"},
    {circumflex, u"aeiouAEIOU", u"âêîôûÂÊÎÔÛ"},
    {tilde, u"anoANO", u"ãñõÃÑÕ"},
};

std::u16string accentCharacter(Accent accent) {
    switch (accent) {
    case grave:
        return u"`";
    case acute:
        return u"´";
    case umlaut:
        return u"¨";
    case circumflex:
        return u"ˆ";
    case tilde:
        return u"˜";
    case noAccent:
        break;
    }
    return {};
}

std::u16string combine(Accent accent, const std::u16string& next) {
    if (next == u" ") return accentCharacter(accent);
    if (next.size() == 1) {
        for (const auto& c : kCompositions) {
            if (c.accent != accent) continue;
            std::u16string_view bases(c.bases);
            auto at = bases.find(next[0]);
            if (at != std::u16string_view::npos) return std::u16string(1, c.composed[at]);
        }
    }
    return accentCharacter(accent) + next;
}

std::shared_ptr<const UCKeyboardLayout> buildUs() {
    auto layout = std::make_shared<UCKeyboardLayout>();
    for (const auto& row : kUsRows) {
        KeyEntry e{row.plain, row.shift, row.option, row.optionShift, row.dead, false};
        e.letter = e.plain.size() == 1 && e.plain[0] >= u'a' && e.plain[0] <= u'z';
        layout->keys.emplace(row.code, std::move(e));
    }
    return layout;
}

} // namespace

std::shared_ptr<const UCKeyboardLayout> usKeyboardLayout() {
    static const std::shared_ptr<const UCKeyboardLayout> layout = buildUs();
    return layout;
}

TISInputSourceRef TISCopyCurrentASCIICapableKeyboardLayoutInputSource() {
    const auto& s = input_detail::state();
    if (!s.layoutAvailable) return nullptr;
    auto source = std::make_shared<TISInputSource>();
    source->inputSourceID = "com.apple.keylayout.US";
    source->localizedName = "U.S.";
    source->asciiCapable = true;
    if (s.layoutDataAvailable) source->layoutData = usKeyboardLayout();
    return source;
}

TISInputSourceRef TISCopyCurrentKeyboardLayoutInputSource() {
    return TISCopyCurrentASCIICapableKeyboardLayoutInputSource();
}

std::shared_ptr<const UCKeyboardLayout> TISGetInputSourceProperty(const TISInputSourceRef& source,
                                                                  TISLayoutDataProperty) {
    return source ? source->layoutData : nullptr;
}

std::optional<std::string> TISGetInputSourceProperty(const TISInputSourceRef& source, TISTextProperty key) {
    if (!source) return std::nullopt;
    return key.which == kTISPropertyInputSourceID.which ? source->inputSourceID : source->localizedName;
}

std::uint32_t LMGetKbdType() {
    return input_detail::state().keyboardType;
}

OSStatus UCKeyTranslate(const UCKeyboardLayout* layout, std::uint16_t keyCode, std::uint16_t keyAction,
                        std::uint32_t modifierKeyState, std::uint32_t /*keyboardType*/,
                        std::uint32_t keyTranslateOptions, std::uint32_t* deadKeyState,
                        std::size_t maxStringLength, std::size_t* actualStringLength,
                        char16_t* unicodeString) {
    if (!layout || !deadKeyState || !actualStringLength || (!unicodeString && maxStringLength > 0))
        return paramErr;
    if (keyAction > kUCKeyActionDisplay) return paramErr;
    *actualStringLength = 0;

    std::u16string out;
    auto it = layout->keys.find(keyCode);
    if (it != layout->keys.end()) {
        const KeyEntry& key = it->second;
        const bool shift = (modifierKeyState & 0x02) != 0;
        const bool caps = (modifierKeyState & 0x04) != 0;
        const bool option = (modifierKeyState & 0x08) != 0;
        const bool control = (modifierKeyState & 0x10) != 0;
        const bool processesDeadKeys = (keyAction == kUCKeyActionDown || keyAction == kUCKeyActionAutoKey) &&
                                       (keyTranslateOptions & kUCKeyTranslateNoDeadKeysMask) == 0;

        if (control && key.letter) {
            out = std::u16string(1, static_cast<char16_t>(key.plain[0] - u'a' + 1));
        } else if (control && (keyCode == 33 || keyCode == 42 || keyCode == 30)) {
            out = std::u16string(1, keyCode == 33 ? u'\x1B' : keyCode == 42 ? u'\x1C' : u'\x1D');
        } else if (option && !shift && key.deadWithOption != noAccent) {
            if (processesDeadKeys && *deadKeyState == noAccent) {
                *deadKeyState = key.deadWithOption;
                return noErr;
            }
            out = accentCharacter(key.deadWithOption);
        } else if (option) {
            out = shift ? key.optionShift : key.option;
        } else {
            out = (shift || (caps && key.letter)) ? key.shift : key.plain;
        }
        if (processesDeadKeys && *deadKeyState != noAccent) {
            out = combine(static_cast<Accent>(*deadKeyState), out);
            *deadKeyState = noAccent;
        }
    }
    if (out.size() > maxStringLength) return kUCOutputBufferTooSmall;
    std::copy(out.begin(), out.end(), unicodeString);
    *actualStringLength = out.size();
    return noErr;
}

} // namespace platform

#include "platform/ui/TextEditingCommand.hpp"

namespace platform::ui {

namespace {

constexpr std::uint16_t kReturnKey = 36;
constexpr std::uint16_t kTabKey = 48;
constexpr std::uint16_t kDeleteKey = 51;
constexpr std::uint16_t kEscapeKey = 53;
constexpr std::uint16_t kEnterKey = 76;

/// The field whose whole text is selected (`selectWholeText`); none when `owner` is null.
struct WholeTextSelection {
    const void* owner = nullptr;
    std::string field;
};

WholeTextSelection& wholeTextSelection() {
    static WholeTextSelection selection;
    return selection;
}

/// Whether the text is something to insert: no control characters, no Delete, no function-key
/// characters (U+F700 ... U+F8FF).
bool isTypedText(const std::string& text) {
    if (text.empty()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F) return false;
        // U+F700 ... U+F8FF is EF 9C 80 ... EF A3 BF in UTF-8.
        if (c == 0xEF && i + 1 < text.size()) {
            const auto next = static_cast<unsigned char>(text[i + 1]);
            if (next >= 0x9C && next <= 0xA3) return false;
        }
    }
    return true;
}

} // namespace

TextEditingCommand TextEditingCommand::forKeyDown(const NSEvent& event) {
    if (event.type != EventType::keyDown) return {};
    const ModifierFlags held = event.modifierFlags & (ModifierFlags::control | ModifierFlags::option |
                                                      ModifierFlags::shift | ModifierFlags::command);
    const bool commandOrControl =
        held.contains(ModifierFlags::command) || held.contains(ModifierFlags::control);
    switch (event.keyCode) {
    case kReturnKey:
    case kEnterKey:
        return commandOrControl ? TextEditingCommand{} : TextEditingCommand{Kind::insertNewline, {}};
    case kTabKey:
        if (commandOrControl || held.contains(ModifierFlags::option)) return {};
        return {held.contains(ModifierFlags::shift) ? Kind::insertBacktab : Kind::insertTab, {}};
    case kDeleteKey:
        return commandOrControl ? TextEditingCommand{} : TextEditingCommand{Kind::deleteBackward, {}};
    case kEscapeKey:
        return {Kind::cancelOperation, {}};
    default:
        break;
    }
    if (held.contains(ModifierFlags::command) && !held.contains(ModifierFlags::control) &&
        !held.contains(ModifierFlags::option) && !held.contains(ModifierFlags::shift) &&
        event.charactersIgnoringModifiers == "a")
        return {Kind::selectAll, {}};
    if (commandOrControl || !isTypedText(event.characters)) return {};
    return {Kind::insertText, event.characters};
}

void TextEditingCommand::selectWholeText(const void* owner, const std::string& field) {
    wholeTextSelection() = {owner, field};
}

bool TextEditingCommand::takeWholeTextSelection(const void* owner, const std::string& field) {
    auto& selection = wholeTextSelection();
    const bool selected = owner != nullptr && selection.owner == owner && selection.field == field;
    selection = {};
    return selected;
}

} // namespace platform::ui

#include "platform/ui/TextEditing.hpp"

#include "platform/foundation/Text.hpp"

namespace platform::ui {

std::string TextEditing::withoutLastCharacter(const std::string& text) {
    const auto characters = Text::characters(text);
    if (characters.empty()) return text;
    return text.substr(0, text.size() - characters.back().size());
}

bool TextEditing::perform(const NSEvent& event, TextEditingTarget& target) {
    const auto command = TextEditingCommand::forKeyDown(event);
    using Kind = TextEditingCommand::Kind;
    switch (command.kind) {
    case Kind::insertText:
        target.insertEditedText(command.text);
        return true;
    case Kind::deleteBackward: {
        if (!target.canChangeText()) return true;
        const std::string text = target.editedText();
        if (Text::characters(text).empty()) return true;
        target.replaceEditedText(withoutLastCharacter(text));
        return true;
    }
    case Kind::insertNewline:
        target.commitEditing();
        return true;
    case Kind::insertTab:
    case Kind::insertBacktab:
        target.moveKeyFocus(command.kind == Kind::insertTab);
        return true;
    case Kind::cancelOperation:
        return true;
    case Kind::none:
        return false;
    }
    return false;
}

} // namespace platform::ui

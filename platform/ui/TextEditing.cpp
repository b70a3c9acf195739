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
    const bool wholeSelected =
        TextEditingCommand::takeWholeTextSelection(target.editingOwner(), target.editedField());
    switch (command.kind) {
    case Kind::selectAll:
        TextEditingCommand::selectWholeText(target.editingOwner(), target.editedField());
        return true;
    case Kind::insertText:
        if (wholeSelected && target.canChangeText()) {
            target.replaceEditedText(command.text);
            return true;
        }
        target.insertEditedText(command.text);
        return true;
    case Kind::deleteBackward: {
        if (!target.canChangeText()) return true;
        if (wholeSelected) {
            target.replaceEditedText({});
            return true;
        }
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

#pragma once

#include "platform/ui/TextEditingCommand.hpp"

#include <string>

namespace platform::ui {

/// What a text being edited offers the one editing step (`TextEditing::perform`): a text field
/// and a declarative host's focused field each implement it over their own text. Main thread.
class TextEditingTarget {
public:
    virtual ~TextEditingTarget() = default;
    /// The text being edited (UTF-8).
    virtual std::string editedText() const = 0;
    /// Whether typing and Delete may change the text.
    virtual bool canChangeText() const { return true; }
    /// Adds typed or committed text at the end (the target checks whether it may).
    virtual void insertEditedText(const std::string& text) = 0;
    /// Replaces the text with `text` after a deletion.
    virtual void replaceEditedText(const std::string& text) = 0;
    /// Return or Enter: ends the line (a field's commit).
    virtual void commitEditing() = 0;
    /// Tab (`forward`) or Shift-Tab: the keys go to the next or previous key view.
    virtual void moveKeyFocus(bool forward) = 0;
    /// The view that edits the text and, in a view that edits several, the field's key: whose
    /// whole-text selection Command-A leaves (`TextEditingCommand::selectWholeText`).
    virtual const void* editingOwner() const = 0;
    virtual std::string editedField() const { return {}; }
};

/// The one editing step of a key press: reads the key as the standard key bindings do
/// (`TextEditingCommand`) and applies it to the target: typed text goes at the end, Delete removes
/// the last character (a whole grapheme's bytes as `Text::characters` splits them), Return
/// commits, Tab and Shift-Tab move the keys, Escape leaves the text, Command-A selects the whole
/// text, so that the next typed text replaces it and Delete clears it. Main thread.
namespace TextEditing {

/// Applies the command of `event` to `target`; false when the key asks nothing of a text (it goes
/// on to the next responder), true when the step took it (whether or not the text changed).
bool perform(const NSEvent& event, TextEditingTarget& target);

/// `text` without its last character (empty stays empty).
std::string withoutLastCharacter(const std::string& text);

} // namespace TextEditing

} // namespace platform::ui

#pragma once

#include "platform/ui/Control.hpp"
#include "platform/ui/FieldEditor.hpp"

namespace platform::ui {

class TextField;

/// Told of the user's editing of a text field (main thread). A change made by the program
/// (`setStringValue`) tells nothing.
class TextFieldDelegate {
public:
    virtual ~TextFieldDelegate() = default;
    virtual void controlTextDidBeginEditing(TextField&) {}
    virtual void controlTextDidChange(TextField&) {}
    virtual void controlTextDidEndEditing(TextField&) {}
};

/// How the editing ended (the field editor's text movement).
enum class TextMovement { other = 0, returnKey = 0x10, tab = 0x11, backtab = 0x12, cancel = 0x17 };

/// A text field or label: string value, placeholder, editable and selectable flags, bezel and
/// background, wrapping, colour, and a delegate (held as a plain pointer; the owner keeps it alive).
/// While the field is its window's first responder it edits through a field editor
/// (`currentEditor`). The user's typing is driven through `UISimulator`. Main thread only.
class TextField : public Control {
public:
    using Control::Control;

    /// A non-editable, non-selectable, borderless label.
    static std::shared_ptr<TextField> labelWithString(const std::string& s);
    /// A label that wraps its text onto several lines.
    static std::shared_ptr<TextField> wrappingLabelWithString(const std::string& s);
    /// An editable, bezeled text field.
    static std::shared_ptr<TextField> textFieldWithString(const std::string& s);

    std::string placeholderString;
    bool isEditable = true;
    bool isSelectable = true;
    bool isBordered = false;
    bool isBezeled = true;
    std::string bezelStyle = "square"; // or "rounded"
    bool drawsBackground = true;
    std::optional<Color> backgroundColor;
    Color textColor = Color::controlTextColor();
    bool wraps = false;
    long maximumNumberOfLines = 0; // 0: no limit
    double preferredMaxLayoutWidth = 0;
    TextFieldDelegate* delegate = nullptr;

    /// The field editor while the field is being edited; null otherwise.
    FieldEditor* currentEditor() const { return editor_.get(); }
    bool isEditing() const { return editor_ != nullptr; }
    /// The movement that ended the last editing session.
    TextMovement lastTextMovement() const { return lastMovement_; }

    bool acceptsFirstResponder() const override { return isEnabled && (isEditable || isSelectable); }
    /// A pointer click on an editable or selectable field makes it its window's first responder
    /// (editing begins) unless it already is. Main thread.
    void mouseDown(const NSEvent& event) override;
    /// Starts editing: the field editor appears. A subclass may refuse by returning false.
    bool becomeFirstResponder() override;
    /// Ends editing: the field editor goes and the delegate is told of the end.
    bool resignFirstResponder() override;
    /// While the field edits, a key press works as the field editor's key bindings read it
    /// (`TextEditingCommand`): typed text is added at the end (an editable field only, one change
    /// message), Delete removes the last character, Return and Enter end editing and send the
    /// action (`userPressReturn`), Tab and Shift-Tab end editing and give the keys to the next or
    /// previous key view (the field keeps them, editing anew, when there is none), Escape leaves
    /// the text as it is, Command-A selects the whole text, which the next typed text replaces
    /// (Delete clears it). Other keys, and every key while the field does not edit, go on to the
    /// next responder. Main thread.
    void keyDown(const NSEvent& event) override;
    /// Committed text is added at the end while an editable field edits; otherwise it goes on.
    void insertText(const std::string& text) override;

    Size intrinsicContentSize() const override;

protected:
    friend class UISimulator;
    friend class UiScript;
    /// The user typed `text` at the end of the field (one change message).
    virtual void userInsertText(const std::string& text);
    /// The user replaced the whole text (select all, then type).
    virtual void userReplaceText(const std::string& text);
    /// The user pressed Return: editing ends with the return movement, then the action is sent.
    virtual void userPressReturn();
    void notifyChange();
    void endEditing(TextMovement movement);
    /// Makes the field the first responder of its window (or, outside a window, starts its
    /// editor) before the user's keystrokes; false when the field refuses.
    bool beginUserEditing();

private:
    std::shared_ptr<FieldEditor> editor_;
    TextMovement lastMovement_ = TextMovement::other;
    /// How the editing ends when the field resigns now (Tab while the keys move on).
    TextMovement resigningMovement_ = TextMovement::other;
};

} // namespace platform::ui

#include "platform/ui/TextField.hpp"

#include "platform/foundation/Text.hpp"
#include "platform/ui/TextEditing.hpp"
#include "platform/ui/TextMetrics.hpp"

#include "platform/ui/Window.hpp"

namespace platform::ui {

std::shared_ptr<TextField> TextField::labelWithString(const std::string& s) {
    auto f = std::make_shared<TextField>();
    f->setStringValue(s);
    f->isEditable = false;
    f->isSelectable = false;
    f->isBezeled = false;
    f->drawsBackground = false;
    f->setFrameSize(f->intrinsicContentSize());
    return f;
}

std::shared_ptr<TextField> TextField::wrappingLabelWithString(const std::string& s) {
    auto f = labelWithString(s);
    f->wraps = true;
    f->isSelectable = true;
    return f;
}

std::shared_ptr<TextField> TextField::textFieldWithString(const std::string& s) {
    auto f = std::make_shared<TextField>();
    f->setStringValue(s);
    f->setFrameSize({96, 22});
    return f;
}

void TextField::mouseDown(const NSEvent&) {
    Window* w = window();
    if (!w || !acceptsFirstResponder() || w->firstResponder() == this) return;
    w->makeFirstResponder(this);
}

bool TextField::becomeFirstResponder() {
    if (!editor_) {
        editor_ = std::make_shared<FieldEditor>();
        if (delegate) delegate->controlTextDidBeginEditing(*this);
    }
    return true;
}

bool TextField::resignFirstResponder() {
    endEditing(resigningMovement_);
    return true;
}

void TextField::keyDown(const NSEvent& event) {
    if (!isEditing() || !isEnabled) return Control::keyDown(event);
    // The field's side of the one editing step.
    class Editing : public TextEditingTarget {
    public:
        explicit Editing(TextField& field)
            : field_(field) {}
        std::string editedText() const override { return field_.stringValue(); }
        bool canChangeText() const override { return field_.isEditable; }
        const void* editingOwner() const override { return &field_; }
        void insertEditedText(const std::string& text) override { field_.insertText(text); }
        void replaceEditedText(const std::string& text) override {
            field_.setStringValue(text);
            field_.notifyChange();
        }
        void commitEditing() override { field_.userPressReturn(); }
        void moveKeyFocus(bool forward) override {
            Window* w = field_.window();
            if (!w) return;
            const auto keep = field_.shared_from_this();
            field_.resigningMovement_ = forward ? TextMovement::tab : TextMovement::backtab;
            if (forward) {
                w->selectKeyViewFollowingView(field_);
            } else {
                w->selectKeyViewPrecedingView(field_);
            }
            field_.resigningMovement_ = TextMovement::other;
        }

    private:
        TextField& field_;
    };
    Editing editing(*this);
    if (!TextEditing::perform(event, editing)) Control::keyDown(event);
}

void TextField::insertText(const std::string& text) {
    if (!isEditing() || !isEnabled || !isEditable) return Control::insertText(text);
    userInsertText(text);
}

void TextField::endEditing(TextMovement movement) {
    if (!editor_) return;
    editor_.reset();
    lastMovement_ = movement;
    if (delegate) delegate->controlTextDidEndEditing(*this);
}

void TextField::notifyChange() {
    if (delegate) delegate->controlTextDidChange(*this);
    if (isContinuous) sendAction();
}

bool TextField::beginUserEditing() {
    if (editor_) return true;
    // A field that refuses to become first responder gets no keystrokes.
    bool accepted = true;
    if (auto* w = window()) accepted = w->makeFirstResponder(this);
    if (accepted && !editor_) accepted = becomeFirstResponder();
    return accepted;
}

void TextField::userInsertText(const std::string& text) {
    if (!isEnabled || !isEditable) return;
    if (!beginUserEditing()) return;
    setStringValue(stringValue() + text);
    notifyChange();
}

void TextField::userReplaceText(const std::string& text) {
    if (!isEnabled || !isEditable) return;
    if (!beginUserEditing()) return;
    setStringValue(text);
    notifyChange();
}

void TextField::userPressReturn() {
    if (!isEnabled) return;
    if (auto* w = window(); w && w->firstResponder() == this) {
        lastMovement_ = TextMovement::returnKey;
        endEditing(TextMovement::returnKey);
        w->makeFirstResponder(nullptr);
    } else {
        endEditing(TextMovement::returnKey);
    }
    sendAction();
}

Size TextField::intrinsicContentSize() const {
    double scale = font.pointSize / 13.0;
    auto text = stringValue().empty() ? placeholderString : stringValue();
    double w = TextMetrics::width(text, font) + (isBezeled || isBordered ? 8 : 4);
    if (wraps && preferredMaxLayoutWidth > 0 && w > preferredMaxLayoutWidth) {
        double lines = std::ceil(w / preferredMaxLayoutWidth);
        return {preferredMaxLayoutWidth, 16 * scale * lines};
    }
    return {w, isBezeled ? 22 * scale : 16 * scale};
}

} // namespace platform::ui

#pragma once

#include "platform/input/NSEvent.hpp"

#include <string>

namespace platform::ui {

/// What a key press asks of the text being edited, as the standard key bindings read it: a key
/// that types text inserts it (Shift and Option give their characters; with Control or Command
/// held nothing is typed), Delete (Backspace) deletes the character before the insertion point,
/// Return and Enter end the line, Tab and Shift-Tab move to the next or previous key view, Escape
/// cancels. Other keys (arrows, function keys) ask nothing. Pure value; any thread.
struct TextEditingCommand {
    enum class Kind {
        none,
        insertText,
        deleteBackward,
        insertNewline,
        insertTab,
        insertBacktab,
        cancelOperation
    };

    Kind kind = Kind::none;
    /// The text to insert (`insertText`), UTF-8.
    std::string text;

    /// The command of a key-down event.
    static TextEditingCommand forKeyDown(const NSEvent& event);
};

} // namespace platform::ui

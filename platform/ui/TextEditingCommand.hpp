#pragma once

#include "platform/input/NSEvent.hpp"

#include <string>

namespace platform::ui {

/// What a key press asks of the text being edited, as the standard key bindings read it: a key
/// that types text inserts it (Shift and Option give their characters; with Control or Command
/// held nothing is typed), Delete (Backspace) deletes the character before the insertion point,
/// Return and Enter end the line, Tab and Shift-Tab move to the next or previous key view, Escape
/// cancels, Command-A selects the whole text. Other keys (arrows, function keys) ask nothing.
/// Pure value; any thread, but for the whole-text selection (main thread).
struct TextEditingCommand {
    enum class Kind {
        none,
        insertText,
        deleteBackward,
        insertNewline,
        insertTab,
        insertBacktab,
        cancelOperation,
        selectAll
    };

    Kind kind = Kind::none;
    /// The text to insert (`insertText`), UTF-8.
    std::string text;

    /// The command of a key-down event.
    static TextEditingCommand forKeyDown(const NSEvent& event);

    /// The whole-text selection that `selectAll` leaves, held as the window's shared field editor
    /// holds it, for one field at a time: `owner` (the view that edits) and `field` (the field's
    /// key in a view that edits several, else empty). Main thread.
    static void selectWholeText(const void* owner, const std::string& field = {});
    /// Whether the whole text of that field is selected; the selection goes either way, so that
    /// every key press after `selectAll` takes it once: typed text then replaces the text and
    /// Delete clears it, any other key leaves it unselected.
    static bool takeWholeTextSelection(const void* owner, const std::string& field = {});
};

} // namespace platform::ui

#pragma once

#include "platform/ui/declarative/HostingView.hpp"

namespace platform::ui::declarative {

/// Drives a hosted declarative tree as a user would (control API: tests and the console). Elements
/// are found by their `id`, by their text (a text element, a button's label, or the title of a
/// representable button) or by their tooltip. A click makes its mouse-up the current event. Every
/// action rebuilds the host at once when it asked for it. Before it works an element that a scroll
/// view hides wholly or in part, it scrolls it into view (`HostingView::scrollIntoView`), as a UI
/// test driver does. Points are in the element's own space (y down from its top-left).
class ViewDriver {
public:
    explicit ViewDriver(HostingView& host)
        : host_(host) {
        host_.rebuildIfNeeded();
    }

    /// Every text in document order: text elements and the titles of representable buttons.
    std::vector<std::string> texts() const;
    bool hasText(const std::string& text) const;
    /// The element with this id (or the representable whose control has this identifier and the
    /// element none), else the first whose text is `text`, else the first whose whole tooltip
    /// (`help`) is it; null when none.
    Node* find(const std::string& idOrText) const;
    bool exists(const std::string& idOrText) const { return find(idOrText) != nullptr; }
    /// Whether the element (or the representable control) can be worked.
    bool isEnabled(const std::string& idOrText) const;
    /// The native control of a representable element found by id or by title.
    View* nativeView(const std::string& idOrText) const;
    /// The keyboard shortcut in force for the element: that of the nearest element, from the
    /// element itself up through its ancestors, that was given one with `keyboardShortcut` (none
    /// when that one removed it, or when no element was given one).
    std::optional<KeyboardShortcut> keyboardShortcut(const std::string& idOrText) const;

    /// Clicks a button (declarative or representable), a wrapped text field (it becomes first
    /// responder, `UISimulator::clickView`), a text field element (it takes the keys,
    /// `HostingView::focusField`) or a tappable element; false when there is none, it is disabled
    /// or takes no click.
    bool click(const std::string& idOrText);
    /// Types into a text field (replacing its text), without committing.
    bool type(const std::string& idOrText, const std::string& text);
    /// Presses Return in a text field.
    bool commit(const std::string& idOrText);
    /// Steps a stepper up (+1) or down (-1) once, as a click on its arrow does
    /// (`HostingView::stepElement`); false at its bound.
    bool step(const std::string& idOrText, int direction);
    /// Chooses the option with this title in a picker or a representable pop-up.
    bool pick(const std::string& idOrText, const std::string& optionTitle);
    /// Drags a representable slider's knob through the values.
    bool slide(const std::string& idOrText, const std::vector<double>& values);
    /// Taps at a point of the element: the topmost tappable element under it receives the tap.
    bool tap(const std::string& idOrText, Point at);
    /// Drags from `from` to `to` through `steps` intermediate moves on the element's drag gesture.
    /// Changes come once the pointer has travelled the gesture's minimum distance; with a minimum
    /// distance of 0 the first change is at the press point (translation zero). The end is at
    /// `to`. A press and release at one point gives, with minimum distance 0, one change and the
    /// end there; otherwise nothing. The host's gesture path is the pointer's (`HostingView::beginDrag`,
    /// `continueDrag`, `endDrag`).
    bool drag(const std::string& idOrText, Point from, Point to, int steps = 4);
    /// Opens the element's context menu and chooses an item.
    bool contextMenuItem(const std::string& idOrText, const std::string& itemTitle);
    /// The number of rows of a list (`List`): the list with this id, or the first list of the tree
    /// when `listId` is empty; 0 when there is none.
    std::size_t listRowCount(const std::string& listId = "") const;
    /// Selects the rows at `offsets` of a list (found as by `listRowCount`) and gives the delete
    /// command: its `onDelete` gets the offsets in ascending order without repeats. False (nothing
    /// called) when there is no such list, it has no `onDelete`, an offset is out of range or none
    /// is given.
    bool deleteRows(const std::vector<std::size_t>& offsets, const std::string& listId = "");
    /// Scrolls a list whose rows are made on demand so that row `firstRow` is the first shown
    /// (`HostingView::scrollList`). False when there is no such list.
    bool scrollList(std::size_t firstRow, const std::string& listId = "");
    /// Moves the pointer into (true) or out of (false) an element: its `onHover` runs with that
    /// value. False when the element has no `onHover`.
    bool hover(const std::string& idOrText, bool inside);
    /// Scrolls the scroll views that hold the element until it shows whole; false when it did
    /// already, or there is none.
    bool scrollIntoView(const std::string& idOrText);

private:
    /// The element, scrolled into view first when a scroll view hides it.
    Node* reveal(const std::string& idOrText);
    void settle() { host_.rebuildIfNeeded(); }
    HostingView& host_;
};

} // namespace platform::ui::declarative

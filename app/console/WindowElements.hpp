#pragma once

#include "platform/ui/Window.hpp"
#include "platform/ui/declarative/HostingView.hpp"

#include <optional>
#include <string>
#include <vector>

namespace tilmora {

/// The views of a program window and the elements of the declarative trees it hosts, as the
/// console's `ui` commands print and work them. Main thread.
class WindowElements {
public:
    /// One element named by id or text: a view of the window (`view`), or an element of a hosted
    /// tree (`host`, found again there by `key` with `ViewDriver`).
    struct Element {
        platform::ui::View* view = nullptr;
        platform::ui::declarative::HostingView* host = nullptr;
        std::string key;
    };

    /// The lines of `ui show`: one per view or element with an id, a text, a value or a tooltip,
    /// two spaces per level of such elements above it: `KIND id=ID "TEXT" value=V disabled
    /// tooltip="TIP"` (each part when present), then "frame X Y W H", the element's frame in
    /// global points (y up), and "scrolled-out" when it lies wholly or partly outside the visible
    /// part of a scroll view that holds it. A web view's page follows the web view as heading, paragraph,
    /// item and link lines, without frames. Hidden views are left out with what they hold. The window's views
    /// are laid out first. Each line ends in "\n".
    static std::string describe(platform::ui::Window& window);

    /// The ids of the elements `describe` prints, in its order (a repeated id as often as it
    /// shows).
    static std::vector<std::string> ids(platform::ui::Window& window);

    /// The element whose id is `key`, else the first whose text (a button's title, a hosted
    /// element's text, a link's text on a web view's page) it is, else the first whose whole
    /// tooltip it is, in the order of `describe`. Throws `CommandError` "no element "KEY" in
    /// "WINDOW"" with the nearest ids and "`ui show "WINDOW"`" as where they are listed, or, when
    /// none is near, the window's ids, once each (`NameSuggestions::unknown`).
    static Element find(platform::ui::Window& window, const std::string& key);

    /// What a script can expect of one element (`expect ui`).
    struct State {
        /// The element's line as `ui show` prints it, without indentation and line end.
        std::string line;
        /// Its value as `ui show` prints it, unquoted ("10.0", "1", the text of a field).
        std::optional<std::string> value;
        /// A numeric value (a slider's, a box's state, a stepper's count) as the control holds it,
        /// before `value` rounds it.
        std::optional<double> number;
        /// Its text as `ui show` prints it in quotes, unquoted: a label's or a button's text, a
        /// recorder's chord, a field's placeholder; none when it shows none.
        std::optional<std::string> text;
        bool disabled = false;
        bool recording = false;
        /// Shown with the highlight of a selected item (the snap bar's icon of the selected kind).
        bool selected = false;
        /// Whether a person sees it: its window is shown and no view holding it is hidden.
        bool shown = true;

        /// Whether the value is `want`: the same text, or for a numeric value a number within
        /// `ConsoleText::numberTolerance` of the unrounded value.
        bool valueIs(const std::string& want) const;
    };

    /// The state of the element `find` finds by `key`, read from the very line `describe` prints
    /// for it (the window laid out first; a web view's line with its URL, a page link's own line);
    /// when `find` finds none, of the first line whose text `key` is (a heading or paragraph of a
    /// web view's page, a label), else of a hidden view whose id it is (not shown). Throws
    /// `find`'s `CommandError` when there is none.
    static State state(platform::ui::Window& window, const std::string& key);

    /// When `view` is a web view showing a link whose text is `text`: the link's target.
    static std::optional<std::string> linkTarget(const platform::ui::View& view, const std::string& text);
};

} // namespace tilmora

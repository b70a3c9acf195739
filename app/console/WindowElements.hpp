#pragma once

#include "platform/ui/Window.hpp"
#include "platform/ui/declarative/HostingView.hpp"

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

    /// The lines of `ui show`: one per view or element with an id, a text or a value, two spaces
    /// per level of such elements above it: `KIND id=ID "TEXT" value=V` (each part when present)
    /// and " disabled". Hidden views are left out with what they hold. Each line ends in "\n".
    static std::string describe(platform::ui::Window& window);

    /// The ids of the elements `describe` prints, in its order (a repeated id as often as it
    /// shows).
    static std::vector<std::string> ids(platform::ui::Window& window);

    /// The element whose id is `idOrText`, else the first whose text (a button's title, a
    /// hosted element's text) it is, in the order of `describe`. Throws `CommandError`
    /// "no element "KEY" in "WINDOW" (ids: ...; `ui show` lists every element)".
    static Element find(platform::ui::Window& window, const std::string& idOrText);
};

} // namespace tilmora
